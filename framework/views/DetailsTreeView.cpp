#include "framework/views/DetailsTreeView.h"

#include <QAccessible>

void DetailsTreeView::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                                  const QList<int>& roles) {
    const bool flat = topLeft.isValid() && bottomRight.isValid() && !topLeft.parent().isValid() &&
                      topLeft.parent() == bottomRight.parent();
    if (!flat || topLeft == bottomRight || !isVisible() || state() == EditingState ||
        !uniformRowHeights()) {
        QTreeView::dataChanged(topLeft, bottomRight, roles);
        return;
    }
    const QModelIndex first = indexAt(QPoint(0, 0));
    const QModelIndex last = indexAt(QPoint(0, viewport()->height() - 1));
    const int firstShown = first.isValid() ? first.row() : 0;
    const int lastShown = last.isValid() ? last.row() : model()->rowCount() - 1;
    if (bottomRight.row() >= firstShown && topLeft.row() <= lastShown) {
        QTreeView::dataChanged(topLeft, bottomRight, roles);
        return;
    }
    if (QAccessible::isActive()) {
        QAccessibleTableModelChangeEvent event(this, QAccessibleTableModelChangeEvent::DataChanged);
        event.setFirstRow(topLeft.row());
        event.setFirstColumn(topLeft.column());
        event.setLastRow(bottomRight.row());
        event.setLastColumn(bottomRight.column());
        QAccessible::updateAccessibility(&event);
    }
}
