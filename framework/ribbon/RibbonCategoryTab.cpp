#include "framework/ribbon/RibbonCategoryTab.h"

#include "framework/ribbon/RibbonBar.h"
#include "framework/ribbon/RibbonCategory.h"
#include "framework/ribbon/RibbonMetrics.h"
#include "framework/ribbon/RibbonPaint.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int kTextPad = 12;

} // namespace

RibbonCategoryTab::RibbonCategoryTab(RibbonCategory* category)
    : RibbonElement(kNoCommand, category->Name()), m_category(category) {
    category->SetTab(this);
}

bool RibbonCategoryTab::IsActive() const {
    return Bar() && Bar()->ActiveCategory() == m_category;
}

void RibbonCategoryTab::Select() {
    if (Bar())
        Bar()->SetActiveCategory(m_category);
}

bool RibbonCategoryTab::ActivateKeyTip(bool) {
    Select();
    return true;
}

QList<RibbonElement*> RibbonCategoryTab::KeyTipChildren() const {
    return m_category->Elements();
}

QPoint RibbonCategoryTab::KeyTipAnchor(bool) const {
    return mapToGlobal(QPoint(width() / 2, height() - 2));
}

QSize RibbonCategoryTab::sizeHint() const {
    return QSize(fontMetrics().horizontalAdvance(DisplayText()) + 2 * kTextPad,
                 RibbonMetrics::kTabRowHeight);
}

void RibbonCategoryTab::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const ThemeColours& colours = Colours();
    const bool active = IsActive();
    const QRectF shape = QRectF(rect()).adjusted(0.5, 2.5, -0.5, 2);
    if (active || underMouse()) {
        QPainterPath path;
        path.addRoundedRect(shape, 3, 3);
        QLinearGradient fill(shape.topLeft(), shape.bottomLeft());
        const QColor top(colours.ribbonTop);
        if (active) {
            fill.setColorAt(0, Mix(top, Qt::white, 0.4));
            fill.setColorAt(1, top);
        } else {
            fill.setColorAt(0, Mix(QColor(colours.window), Qt::white, 0.5));
            fill.setColorAt(1, Mix(QColor(colours.window), Qt::white, 0.25));
        }
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QColor(colours.border));
        painter.setBrush(fill);
        painter.drawPath(path);
        painter.setRenderHint(QPainter::Antialiasing, false);
    }
    painter.setPen(active ? QColor(colours.ribbonText) : QColor(colours.windowText));
    painter.drawText(rect().adjusted(0, 2, 0, 0), Qt::AlignCenter, DisplayText());
}

void RibbonCategoryTab::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        Select();
    else
        RibbonElement::mousePressEvent(event);
}
