#include "framework/ribbon/RibbonLabel.h"

#include "framework/ribbon/RibbonMetrics.h"
#include "framework/ribbon/RibbonPaint.h"

#include <QPainter>

namespace {

constexpr int kPad = 6;

} // namespace

RibbonLabel::RibbonLabel(const QString& text, bool multiLine)
    : RibbonElement(kNoCommand, text), m_multiLine(multiLine) {}

bool RibbonLabel::IsHeading() const {
    return Look() == RibbonLook::Menu || Look() == RibbonLook::Described;
}

QSize RibbonLabel::sizeHint() const {
    QFont bold = font();
    bold.setBold(IsHeading());
    const QFontMetrics fm(bold);
    const int width = fm.horizontalAdvance(DisplayText()) + 2 * kPad;
    if (IsHeading())
        return QSize(width, fm.height() + 10);
    return QSize(width, RibbonMetrics::kSmallHeight);
}

QSize RibbonLabel::minimumSizeHint() const {
    return m_multiLine ? QSize(2 * kPad, sizeHint().height()) : sizeHint();
}

int RibbonLabel::heightForWidth(int width) const {
    if (!m_multiLine)
        return sizeHint().height();
    const QRect text = fontMetrics().boundingRect(QRect(0, 0, qMax(1, width - 2 * kPad), 10000),
                                                  Qt::TextWordWrap, DisplayText());
    return qMax(sizeHint().height(), text.height() + 8);
}

void RibbonLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const ThemeColours& colours = Colours();
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | (m_multiLine ? Qt::TextWordWrap : 0);
    if (!IsHeading()) {
        painter.setPen(RibbonPaint::TextColour(colours, RibbonPaint::Surface::Ribbon, true));
        painter.drawText(rect().adjusted(kPad / 2, 0, 0, 0), flags, DisplayText());
        return;
    }
    const QColor band = Mix(QColor(colours.base), QColor(colours.ribbonBottom), 0.25);
    painter.fillRect(rect(), band);
    painter.setPen(Mix(band, QColor(colours.border), 0.6));
    painter.drawLine(rect().bottomLeft(), rect().bottomRight());
    QFont bold = font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.setPen(RibbonPaint::TextColour(colours, RibbonPaint::Surface::Menu, true));
    painter.drawText(rect().adjusted(kPad, 0, -kPad, 0), flags, DisplayText());
}
