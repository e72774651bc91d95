#include "framework/ribbon/RibbonCheckBox.h"

#include "framework/ribbon/RibbonMetrics.h"
#include "framework/ribbon/RibbonPaint.h"

#include <QAction>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int kBox = 13;
constexpr int kPad = 4;

} // namespace

RibbonCheckBox::RibbonCheckBox(unsigned id, const QString& text) : RibbonElement(id, text) {}

bool RibbonCheckBox::IsChecked() const {
    return Action() && Action()->isChecked();
}

void RibbonCheckBox::Click() {
    if (isEnabled())
        Issue();
}

QSize RibbonCheckBox::sizeHint() const {
    return QSize(kPad + kBox + kPad + fontMetrics().horizontalAdvance(DisplayText()) + kPad,
                 RibbonMetrics::kSmallHeight);
}

void RibbonCheckBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const ThemeColours& colours = Colours();
    const bool enabled = isEnabled();
    // Centred on whole pixels, then moved half a pixel so the frame's lines are crisp.
    // NOLINTNEXTLINE(bugprone-integer-division): the whole pixels are meant
    const QRectF box(kPad + 0.5, (height() - kBox) / 2 + 0.5, kBox - 1, kBox - 1);

    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    const QColor base(colours.base);
    if (IsHot() || IsPressed()) {
        const QColor highlight(colours.highlight);
        fill.setColorAt(0, Mix(highlight, base, IsPressed() ? 0.3 : 0.7));
        fill.setColorAt(1, Mix(highlight, base, IsPressed() ? 0.1 : 0.45));
    } else {
        fill.setColorAt(0, Mix(QColor(colours.ribbonBottom), base, 0.5));
        fill.setColorAt(1, base);
    }
    painter.setPen(enabled ? QColor(colours.border).darker(115) : QColor(colours.border));
    painter.setBrush(fill);
    painter.drawRect(box);

    const QColor text = RibbonPaint::TextColour(colours, RibbonPaint::Surface::Ribbon, enabled);
    if (IsChecked()) {
        QPainterPath tick;
        tick.moveTo(box.left() + 2.5, box.center().y());
        tick.lineTo(box.left() + 5, box.bottom() - 3);
        tick.lineTo(box.right() - 2.5, box.top() + 3);
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(RibbonPaint::TextColour(colours, RibbonPaint::Surface::Menu, enabled),
                            1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(tick);
        painter.restore();
    }
    painter.setPen(text);
    painter.drawText(rect().adjusted(kPad + kBox + kPad, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                     DisplayText());
}

void RibbonCheckBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        RibbonElement::mousePressEvent(event);
        return;
    }
    Press();
}
