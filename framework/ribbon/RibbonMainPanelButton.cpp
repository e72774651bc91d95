#include "framework/ribbon/RibbonMainPanelButton.h"

#include "framework/ribbon/RibbonMetrics.h"
#include "framework/ribbon/RibbonPaint.h"

#include <QPainter>

namespace {

constexpr int kPad = 6;

} // namespace

RibbonMainPanelButton::RibbonMainPanelButton(unsigned id, const QString& text, int smallImage)
    : RibbonButton(id, text, smallImage, -1) {}

QSize RibbonMainPanelButton::sizeHint() const {
    const int image = SmallImage().isNull() ? 0 : RibbonMetrics::kSmallImage + 4;
    return QSize(kPad + image + fontMetrics().horizontalAdvance(DisplayText()) + kPad + 2, 24);
}

void RibbonMainPanelButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const ThemeColours& colours = Colours();
    const bool enabled = isEnabled();
    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (IsLit()) {
        RibbonPaint::DrawHighlight(painter, rect(), colours, false);
    } else {
        painter.setRenderHint(QPainter::Antialiasing);
        QLinearGradient fill(frame.topLeft(), frame.bottomLeft());
        fill.setColorAt(0, Mix(QColor(colours.ribbonTop), Qt::white, 0.7));
        fill.setColorAt(1, Mix(QColor(colours.ribbonBottom), Qt::white, 0.4));
        painter.setPen(QColor(colours.border));
        painter.setBrush(fill);
        painter.drawRoundedRect(frame, 2.5, 2.5);
        painter.setRenderHint(QPainter::Antialiasing, false);
    }
    int x = kPad;
    const QPixmap image = SmallImage();
    if (!image.isNull()) {
        RibbonPaint::DrawImage(
            painter, QPoint(x, (height() - qRound(image.deviceIndependentSize().height())) / 2),
            image, enabled);
        x += RibbonMetrics::kSmallImage + 4;
    }
    // The frame is light in every style, so the text keeps the menu's colour.
    painter.setPen(RibbonPaint::TextColour(colours, RibbonPaint::Surface::Menu, enabled));
    painter.drawText(QRect(x, 0, width() - x, height()), Qt::AlignLeft | Qt::AlignVCenter,
                     DisplayText());
}
