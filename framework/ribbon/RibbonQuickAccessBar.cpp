#include "framework/ribbon/RibbonQuickAccessBar.h"

#include "framework/ribbon/RibbonAccessible.h"
#include "framework/ribbon/RibbonBar.h"
#include "framework/ribbon/RibbonButton.h"
#include "framework/ribbon/RibbonMetrics.h"
#include "framework/ribbon/RibbonPaint.h"

#include <QPainter>

namespace {

constexpr int kPad = 4;

} // namespace

RibbonQuickAccessBar::RibbonQuickAccessBar(RibbonBar* bar) : QWidget(bar), m_bar(bar) {
    RibbonAccessible::Install();
    setAccessibleName(QStringLiteral("Quick Access Toolbar"));
}

void RibbonQuickAccessBar::SetCommands(const QList<unsigned>& ids) {
    qDeleteAll(m_buttons);
    m_buttons.clear();
    m_ids = ids;
    for (qsizetype i = 0; i < ids.size(); ++i) {
        const auto* source = qobject_cast<const RibbonButton*>(m_bar->FindById(ids[i]));
        const QPixmap image = source ? source->SmallImage() : QPixmap();
        auto* button = new RibbonButton(ids[i], QString(), image.isNull() ? QIcon() : QIcon(image));
        if (source)
            button->SetToolTipText(source->ToolTipText());
        button->SetKeys(QString::number(i + 1));
        button->setParent(this);
        button->Attach(m_bar, nullptr);
        button->show();
        m_buttons.append(button);
    }
    updateGeometry();
    Relayout();
}

QSize RibbonQuickAccessBar::sizeHint() const {
    int width = 2 * kPad;
    for (const RibbonButton* button : m_buttons)
        width += button->sizeHint().width();
    return QSize(m_buttons.isEmpty() ? 0 : width, RibbonMetrics::kSmallHeight);
}

void RibbonQuickAccessBar::Relayout() {
    int x = kPad;
    for (RibbonButton* button : m_buttons) {
        const QSize hint = button->sizeHint();
        button->setGeometry(x, 0, hint.width(), RibbonMetrics::kSmallHeight);
        x += hint.width();
    }
}

void RibbonQuickAccessBar::paintEvent(QPaintEvent*) {
    if (m_buttons.isEmpty())
        return;
    // A faint rounded ground ties the buttons together as one bar.
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const ThemeColours& colours = m_bar->Colours();
    const QColor window(colours.window);
    painter.setPen(Mix(window, QColor(colours.border), 0.5));
    painter.setBrush(Mix(window, Qt::white, 0.35));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
}
