#pragma once

#include "framework/views/Places.h"

#include <QAbstractItemModel>
#include <QIcon>
#include <QPersistentModelIndex>

#include <memory>
#include <unordered_map>
#include <vector>

class QFileSystemModel;

// The folder tree's model: the places at the top level, each with the
// folders inside it below, as one file system model reads and follows them.
// A folder can show under several places (Pictures under Home and under
// Computer); each showing is an item of its own. One column, the names.
//
// The file system model's changes reach the views as they happened when they
// touch one place's items, and as a layout change when they touch several at
// once (an item can be told of one insertion only).
class PlacesTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit PlacesTreeModel(QFileSystemModel& folders, QObject* parent = nullptr);
    ~PlacesTreeModel() override;

    // Shows `places` at the top level: places no longer in it go away with
    // their folders, new ones come in where `places` has them, and the rest
    // keep their items (expanded, selected) and take new names and icons.
    void SetPlaces(const QList<Place>& places);
    QList<Place> Places() const;

    // The item of the folder at `path`, under the place that holds it most
    // closely; invalid when no place holds it or the folder is not shown.
    QModelIndex IndexOf(const QString& path) const;
    // The folder `index` shows; empty for an invalid index.
    QString PathOf(const QModelIndex& index) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    // The folders are sorted under each place; the places keep their order.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    struct Entry;
    // An item: a place's own (the entry's `top`) or a folder under it.
    struct Node {
        Entry* entry = nullptr;
        QPersistentModelIndex source; // a folder's; unused for a place's own
    };
    struct Entry {
        Place place;
        QIcon icon;
        QPersistentModelIndex root; // the place's folder in the file system model
        Node top;
        // Keyed by the file system model's own item (its internal pointer).
        std::unordered_map<const void*, std::unique_ptr<Node>> nodes;
    };
    enum class Pending { None, Insert, Remove, Layout };

    std::unique_ptr<Entry> MakeEntry(const Place& place) const;
    QIcon IconOf(const Place& place) const;
    static Node* NodeOf(const QModelIndex& index);
    int RowOf(const Entry* entry) const;
    QModelIndex TopIndex(const Entry* entry) const;
    // The source item `index` shows; invalid for the top level.
    QModelIndex SourceOf(const QModelIndex& index) const;
    QModelIndex MapFromSource(Entry* entry, const QModelIndex& source) const;
    // This entry's item for `source` if it has made one, else invalid.
    QModelIndex ExistingItem(Entry* entry, const QModelIndex& source) const;

    void BeginSourceChange(const QModelIndex& parent, int first, int last, Pending kind);
    void EndSourceChange();
    void BeginLayout();
    void EndLayout();
    void OnSourceDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                             const QList<int>& roles);

    QFileSystemModel& m_folders;
    std::vector<std::unique_ptr<Entry>> m_entries;
    // Entries of places gone: items a view may still hold point into them.
    std::vector<std::unique_ptr<Entry>> m_retired;
    Pending m_pending = Pending::None;
    int m_layoutDepth = 0;
};
