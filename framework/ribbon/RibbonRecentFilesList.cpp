#include "framework/ribbon/RibbonRecentFilesList.h"

#include "framework/commands/CommandIds.h"
#include "framework/commands/CommandRouter.h"
#include "framework/ribbon/RibbonBar.h"
#include "framework/ribbon/RibbonPaint.h"

#include <QAction>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr int kEntryHeight = 22;
constexpr int kPad = 8;

} // namespace

RibbonRecentFilesList::RibbonRecentFilesList(const QString& label, int width)
    : RibbonElement(kNoCommand, label), m_width(width) {
    setMouseTracking(true);
}

void RibbonRecentFilesList::SetFiles(const QStringList& paths) {
    m_files = paths;
    m_hot = -1;
    updateGeometry();
    update();
}

int RibbonRecentFilesList::HeadingHeight() const {
    return fontMetrics().height() + 12;
}

QSize RibbonRecentFilesList::sizeHint() const {
    return QSize(m_width, HeadingHeight() + int(m_files.size()) * kEntryHeight);
}

int RibbonRecentFilesList::EntryAt(const QPoint& pos) const {
    if (pos.y() < HeadingHeight())
        return -1;
    const int index = (pos.y() - HeadingHeight()) / kEntryHeight;
    return index < m_files.size() ? index : -1;
}

void RibbonRecentFilesList::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const ThemeColours& colours = Colours();
    const QColor text = RibbonPaint::TextColour(colours, RibbonPaint::Surface::Menu, true);
    QFont bold = font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.setPen(text);
    const QRect heading(kPad, 0, width() - 2 * kPad, HeadingHeight() - 2);
    painter.drawText(heading, Qt::AlignLeft | Qt::AlignVCenter, DisplayText());
    painter.setPen(Mix(QColor(colours.border), QColor(colours.base), 0.3));
    painter.drawLine(kPad, heading.bottom(), width() - kPad, heading.bottom());

    painter.setFont(font());
    for (int i = 0; i < m_files.size(); ++i) {
        const QRect entry(2, HeadingHeight() + i * kEntryHeight, width() - 4, kEntryHeight);
        if (i == m_hot)
            RibbonPaint::DrawHighlight(painter, entry, colours, false);
        painter.setPen(text);
        const QString name =
            QStringLiteral("%1  %2").arg(i + 1).arg(QFileInfo(m_files[i]).fileName());
        painter.drawText(entry.adjusted(kPad, 0, -kPad, 0), Qt::AlignLeft | Qt::AlignVCenter,
                         fontMetrics().elidedText(name, Qt::ElideMiddle, entry.width() - 2 * kPad));
    }
}

void RibbonRecentFilesList::mouseMoveEvent(QMouseEvent* event) {
    const int hot = EntryAt(event->position().toPoint());
    if (hot != m_hot) {
        m_hot = hot;
        update();
    }
}

void RibbonRecentFilesList::leaveEvent(QEvent* event) {
    m_hot = -1;
    update();
    RibbonElement::leaveEvent(event);
}

void RibbonRecentFilesList::mouseReleaseEvent(QMouseEvent* event) {
    const int index = EntryAt(event->position().toPoint());
    const unsigned id = CommandId::RecentFileFirst + unsigned(index);
    if (index < 0 || id > CommandId::RecentFileLast)
        return;
    emit commandIssued();
    if (Bar() && Bar()->Router())
        Bar()->Router()->Action(id)->trigger();
}
