#pragma once

#include <QTreeView>

// The file list's Details layout. Cells read in the background arrive in
// batches, most of them for rows out of sight; a tree view repaints its
// whole viewport for any change of more than one cell, and a click painted
// just after such a batch waited for that repaint. A change that touches no
// visible row repaints nothing here (assistive technology is still told).
class DetailsTreeView : public QTreeView {
    Q_OBJECT
public:
    using QTreeView::QTreeView;

protected:
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles = QList<int>()) override;
};
