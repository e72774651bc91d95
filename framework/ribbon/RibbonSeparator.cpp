#include "framework/ribbon/RibbonSeparator.h"

#include "framework/ribbon/RibbonMetrics.h"
#include "framework/ribbon/RibbonPaint.h"

#include <QPainter>

namespace {

constexpr int kThickness = 7;

} // namespace

RibbonSeparator::RibbonSeparator(bool horizontal)
    : RibbonElement(kNoCommand, QString()), m_horizontal(horizontal) {
    setAttribute(Qt::WA_Hover, false);
}

QSize RibbonSeparator::sizeHint() const {
    return m_horizontal ? QSize(kThickness, kThickness)
                        : QSize(kThickness, RibbonMetrics::kContentHeight);
}

void RibbonSeparator::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const ThemeColours& colours = Colours();
    const bool onMenu = Look() == RibbonLook::Menu || Look() == RibbonLook::Described;
    const QColor ground(onMenu ? colours.base : colours.ribbonBottom);
    painter.setPen(Mix(ground, QColor(colours.border), 0.7));
    if (m_horizontal) {
        const int y = height() / 2;
        painter.drawLine(onMenu ? RibbonMetrics::kMenuTextLeft : 2, y, width() - 3, y);
    } else {
        const int x = width() / 2;
        painter.drawLine(x, 2, x, height() - 3);
        painter.setPen(Mix(ground, Qt::white, 0.6));
        painter.drawLine(x + 1, 2, x + 1, height() - 3);
    }
}
