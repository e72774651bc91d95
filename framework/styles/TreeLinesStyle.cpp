#include "framework/styles/TreeLinesStyle.h"

#include "framework/styles/ThemeColours.h"

#include "framework/styles/StyleRoles.h"

#include <QApplication>
#include <QPainter>
#include <QStyleOption>

namespace {

// The room kept clear around an expand arrow, so lines never cross it.
constexpr int kArrowClearance = 9;

QColor LineColour(const QPalette& palette) {
    const QColor text = palette.color(QPalette::Text);
    const QColor base = palette.color(QPalette::Base);
    return Mix(text, base);
}

void DrawLines(const QStyleOption& option, QPainter& painter) {
    const QRect& r = option.rect;
    const int midX = r.x() + r.width() / 2;
    const int midY = r.y() + r.height() / 2;
    const bool rightToLeft = option.direction == Qt::RightToLeft;

    painter.save();
    QPen pen(LineColour(option.palette), 0, Qt::CustomDashLine);
    pen.setDashPattern({1, 1});
    painter.setPen(pen);
    if (option.state & QStyle::State_Children) {
        QRect arrow(0, 0, kArrowClearance, kArrowClearance);
        arrow.moveCenter(QPoint(midX, midY));
        painter.setClipRegion(QRegion(r).subtracted(arrow));
    }
    // This item's own column: down from above to its middle, then across to it.
    if (option.state & QStyle::State_Item) {
        painter.drawLine(midX, r.top(), midX, midY);
        painter.drawLine(midX, midY, rightToLeft ? r.left() : r.right(), midY);
    }
    // A sibling further down: the line goes on through the whole row.
    if (option.state & QStyle::State_Sibling)
        painter.drawLine(midX, r.top(), midX, r.bottom());
    painter.restore();
}

} // namespace

TreeLinesStyle::TreeLinesStyle() = default;

bool TreeLinesStyle::LinesWanted(const QWidget* widget) {
    const QCoreApplication* app = QCoreApplication::instance();
    return widget && app && widget->property(StyleRole::kTreeLines).toBool() &&
           app->property(StyleRole::kTreeLines).toBool();
}

void TreeLinesStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                   QPainter* painter, const QWidget* widget) const {
    if (element == PE_IndicatorBranch && option && painter && LinesWanted(widget))
        DrawLines(*option, *painter);
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}
