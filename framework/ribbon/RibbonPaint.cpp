#include "framework/ribbon/RibbonPaint.h"

#include <QIcon>
#include <QPainter>
#include <QPainterPath>

namespace RibbonPaint {

const ThemeColours& DefaultColours() {
    // The program's own default style: Office 2007, silver.
    return ColoursOf(DrawingTheme::Office2007, Office2007Style::Silver);
}

namespace {

// Dark styles take less white, or their light text would lose its ground.
qreal Lift(const ThemeColours& colours, bool hot) {
    const bool dark = QColor(colours.ribbonTop).lightness() < 128;
    return (dark ? 0.08 : 0.3) + (hot ? 0.1 : 0.0);
}

} // namespace

QColor PanelTop(const ThemeColours& colours, bool hot) {
    return Mix(QColor(colours.ribbonTop), Qt::white, Lift(colours, hot));
}

QColor PanelBottom(const ThemeColours& colours, bool hot) {
    return Mix(QColor(colours.ribbonBottom), Qt::white, Lift(colours, hot) / 2);
}

QColor TextColour(const ThemeColours& colours, Surface surface, bool enabled) {
    const QColor text(surface == Surface::Ribbon ? colours.ribbonText : colours.text);
    if (enabled)
        return text;
    const QColor ground = surface == Surface::Ribbon ? PanelTop(colours) : QColor(colours.base);
    return Mix(text, ground, 0.55);
}

QColor MenuBackground(const ThemeColours& colours) {
    return QColor(colours.base);
}

void DrawHighlight(QPainter& painter, const QRectF& rect, const ThemeColours& colours,
                   bool pressed) {
    const QColor highlight(colours.highlight);
    const QColor white(Qt::white);
    QLinearGradient fill(rect.topLeft(), rect.bottomLeft());
    if (pressed) {
        fill.setColorAt(0, Mix(highlight, white, 0.2));
        fill.setColorAt(1, highlight);
    } else {
        fill.setColorAt(0, Mix(highlight, white, 0.75));
        fill.setColorAt(1, Mix(highlight, white, 0.35));
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(highlight.darker(pressed ? 140 : 120), 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), 2.5, 2.5);
    painter.restore();
}

void DrawArrow(QPainter& painter, const QPointF& centre, const QColor& colour, bool down) {
    QPainterPath path;
    if (down) {
        path.moveTo(centre + QPointF(-3, -1.5));
        path.lineTo(centre + QPointF(3, -1.5));
        path.lineTo(centre + QPointF(0, 1.5));
    } else {
        path.moveTo(centre + QPointF(-1.5, -3));
        path.lineTo(centre + QPointF(1.5, 0));
        path.lineTo(centre + QPointF(-1.5, 3));
    }
    path.closeSubpath();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(path, colour);
    painter.restore();
}

void DrawImage(QPainter& painter, const QPoint& topLeft, const QPixmap& image, bool enabled) {
    if (image.isNull())
        return;
    if (enabled) {
        painter.drawPixmap(topLeft, image);
        return;
    }
    const QPixmap greyed = QIcon(image).pixmap(image.deviceIndependentSize().toSize(),
                                               image.devicePixelRatio(), QIcon::Disabled);
    painter.drawPixmap(topLeft, greyed);
}

} // namespace RibbonPaint
