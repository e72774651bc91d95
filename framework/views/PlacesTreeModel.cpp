#include "framework/views/PlacesTreeModel.h"

#include <QDir>
#include <QFileIconProvider>
#include <QFileSystemModel>

#include <algorithm>
#include <iterator>
#include <utility>

namespace {

bool SamePlace(const Place& a, const Place& b) {
    return a.kind == b.kind && a.path == b.path;
}

QString Description(const Place& place) {
    switch (place.kind) {
    case Place::Kind::Home:
        return PlacesTreeModel::tr("Home folder");
    case Place::Kind::UserFolder:
        return PlacesTreeModel::tr("Folder");
    case Place::Kind::Computer:
        return PlacesTreeModel::tr("The whole file system");
    case Place::Kind::Volume:
        break;
    }
    switch (place.volumeKind) {
    case MountedVolume::Kind::Network:
        return PlacesTreeModel::tr("Network share");
    case MountedVolume::Kind::Camera:
        return PlacesTreeModel::tr("Camera");
    case MountedVolume::Kind::Phone:
        return PlacesTreeModel::tr("Phone");
    case MountedVolume::Kind::Optical:
        return PlacesTreeModel::tr("Disc");
    case MountedVolume::Kind::Flash:
    case MountedVolume::Kind::Removable:
        break;
    }
    return PlacesTreeModel::tr("Removable volume");
}

} // namespace

PlacesTreeModel::PlacesTreeModel(QFileSystemModel& folders, QObject* parent)
    : QAbstractItemModel(parent), m_folders(folders) {
    using Model = QFileSystemModel;
    connect(&folders, &Model::rowsAboutToBeInserted, this,
            [this](const QModelIndex& parent, int first, int last) {
                BeginSourceChange(parent, first, last, Pending::Insert);
            });
    connect(&folders, &Model::rowsInserted, this, &PlacesTreeModel::EndSourceChange);
    connect(&folders, &Model::rowsAboutToBeRemoved, this,
            [this](const QModelIndex& parent, int first, int last) {
                BeginSourceChange(parent, first, last, Pending::Remove);
            });
    connect(&folders, &Model::rowsRemoved, this, &PlacesTreeModel::EndSourceChange);
    connect(&folders, &Model::rowsAboutToBeMoved, this, &PlacesTreeModel::BeginLayout);
    connect(&folders, &Model::rowsMoved, this, &PlacesTreeModel::EndLayout);
    connect(&folders, &Model::layoutAboutToBeChanged, this, &PlacesTreeModel::BeginLayout);
    connect(&folders, &Model::layoutChanged, this, &PlacesTreeModel::EndLayout);
    connect(&folders, &Model::dataChanged, this, &PlacesTreeModel::OnSourceDataChanged);
    connect(&folders, &Model::modelAboutToBeReset, this, [this] { beginResetModel(); });
    connect(&folders, &Model::modelReset, this, [this] {
        for (const std::unique_ptr<Entry>& entry : m_entries) {
            entry->nodes.clear();
            entry->root = m_folders.index(entry->place.path);
        }
        endResetModel();
    });
}

PlacesTreeModel::~PlacesTreeModel() = default;

QIcon PlacesTreeModel::IconOf(const Place& place) const {
    const QFileIconProvider provider;
    QFileIconProvider::IconType fallback = QFileIconProvider::Folder;
    if (place.kind == Place::Kind::Computer)
        fallback = QFileIconProvider::Computer;
    else if (place.kind == Place::Kind::Volume)
        fallback = place.volumeKind == MountedVolume::Kind::Network ? QFileIconProvider::Network
                                                                    : QFileIconProvider::Drive;
    return QIcon::fromTheme(place.iconName, provider.icon(fallback));
}

std::unique_ptr<PlacesTreeModel::Entry> PlacesTreeModel::MakeEntry(const Place& place) const {
    auto entry = std::make_unique<Entry>();
    entry->place = place;
    entry->icon = IconOf(place);
    entry->root = m_folders.index(place.path);
    entry->top.entry = entry.get();
    return entry;
}

void PlacesTreeModel::SetPlaces(const QList<Place>& places) {
    const auto wanted = [&places](const Place& place) {
        return std::any_of(places.begin(), places.end(),
                           [&place](const Place& other) { return SamePlace(place, other); });
    };
    for (int row = int(m_entries.size()) - 1; row >= 0; --row) {
        if (wanted(m_entries[size_t(row)]->place))
            continue;
        beginRemoveRows({}, row, row);
        m_retired.push_back(std::move(m_entries[size_t(row)]));
        m_entries.erase(m_entries.begin() + row);
        endRemoveRows();
    }
    // What is left keeps its order among the new places unless something
    // odd happened; then the whole model starts again.
    qsizetype next = 0;
    for (const std::unique_ptr<Entry>& entry : m_entries) {
        while (next < places.size() && !SamePlace(places[next], entry->place))
            ++next;
        if (next == places.size()) {
            std::vector<std::unique_ptr<Entry>> entries;
            for (const Place& place : places)
                entries.push_back(MakeEntry(place));
            beginResetModel();
            std::move(m_entries.begin(), m_entries.end(), std::back_inserter(m_retired));
            m_entries = std::move(entries);
            endResetModel();
            return;
        }
        ++next;
    }
    // A place's folder the file system model dropped (a volume taken out and
    // put back between two looks) is looked up again.
    // (Looking a folder up may insert it into the file system model, so it
    // is done before this model announces a change of its own.)
    std::vector<QModelIndex> roots;
    for (const std::unique_ptr<Entry>& entry : m_entries)
        roots.push_back(entry->root.isValid() ? QModelIndex(entry->root)
                                              : m_folders.index(entry->place.path));
    if (!std::equal(roots.begin(), roots.end(), m_entries.begin(),
                    [](const QModelIndex& root, const std::unique_ptr<Entry>& entry) {
                        return root == entry->root;
                    })) {
        BeginLayout();
        for (size_t row = 0; row < m_entries.size(); ++row)
            m_entries[row]->root = roots[row];
        EndLayout();
    }
    for (qsizetype i = 0; i < places.size(); ++i) {
        const int row = int(i);
        if (size_t(row) < m_entries.size() && SamePlace(m_entries[size_t(row)]->place, places[i])) {
            Entry& entry = *m_entries[size_t(row)];
            if (entry.place != places[i]) {
                entry.place = places[i];
                entry.icon = IconOf(places[i]);
                const QModelIndex changed = TopIndex(&entry);
                emit dataChanged(changed, changed);
            }
            continue;
        }
        std::unique_ptr<Entry> entry = MakeEntry(places[i]);
        beginInsertRows({}, row, row);
        m_entries.insert(m_entries.begin() + row, std::move(entry));
        endInsertRows();
    }
}

QList<Place> PlacesTreeModel::Places() const {
    QList<Place> places;
    for (const std::unique_ptr<Entry>& entry : m_entries)
        places.append(entry->place);
    return places;
}

PlacesTreeModel::Node* PlacesTreeModel::NodeOf(const QModelIndex& index) {
    return static_cast<Node*>(index.internalPointer());
}

int PlacesTreeModel::RowOf(const Entry* entry) const {
    for (size_t row = 0; row < m_entries.size(); ++row)
        if (m_entries[row].get() == entry)
            return int(row);
    return -1;
}

QModelIndex PlacesTreeModel::TopIndex(const Entry* entry) const {
    const int row = RowOf(entry);
    return row < 0 ? QModelIndex() : createIndex(row, 0, &m_entries[size_t(row)]->top);
}

QModelIndex PlacesTreeModel::SourceOf(const QModelIndex& index) const {
    if (!index.isValid())
        return {};
    const Node* node = NodeOf(index);
    return node == &node->entry->top ? QModelIndex(node->entry->root) : QModelIndex(node->source);
}

QModelIndex PlacesTreeModel::MapFromSource(Entry* entry, const QModelIndex& source) const {
    if (!source.isValid())
        return {};
    const QModelIndex name = source.siblingAtColumn(0);
    if (name == entry->root)
        return TopIndex(entry);
    std::unique_ptr<Node>& node = entry->nodes[name.internalPointer()];
    if (!node)
        node = std::make_unique<Node>(Node{entry, name});
    else if (node->source != name) // the file system model reused a freed item
        node->source = name;
    return createIndex(name.row(), 0, node.get());
}

QModelIndex PlacesTreeModel::ExistingItem(Entry* entry, const QModelIndex& source) const {
    if (!source.isValid())
        return {};
    if (source == entry->root)
        return TopIndex(entry);
    const auto found = entry->nodes.find(source.internalPointer());
    if (found == entry->nodes.end() || found->second->source != source)
        return {};
    return createIndex(source.row(), 0, found->second.get());
}

QModelIndex PlacesTreeModel::IndexOf(const QString& path) const {
    const qsizetype row = PlaceHolding(Places(), path);
    if (row < 0)
        return {};
    Entry* entry = m_entries[size_t(row)].get();
    const QString clean = QDir::cleanPath(path);
    if (clean == entry->place.path)
        return TopIndex(entry);
    const QModelIndex source = m_folders.index(clean);
    // Every item up to the place is made now, so the item is known as the
    // child of its parent whatever asks about it first.
    QModelIndex above = source;
    while (above.isValid() && above != entry->root) {
        MapFromSource(entry, above);
        above = above.parent();
    }
    return above.isValid() ? MapFromSource(entry, source) : QModelIndex();
}

QString PlacesTreeModel::PathOf(const QModelIndex& index) const {
    if (!index.isValid())
        return {};
    const Node* node = NodeOf(index);
    if (node == &node->entry->top)
        return node->entry->place.path;
    return m_folders.filePath(node->source);
}

QModelIndex PlacesTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (row < 0 || column != 0)
        return {};
    if (!parent.isValid())
        return size_t(row) < m_entries.size() ? TopIndex(m_entries[size_t(row)].get())
                                              : QModelIndex();
    const QModelIndex source = SourceOf(parent);
    if (!source.isValid())
        return {};
    return MapFromSource(NodeOf(parent)->entry, m_folders.index(row, 0, source));
}

QModelIndex PlacesTreeModel::parent(const QModelIndex& child) const {
    if (!child.isValid())
        return {};
    Node* node = NodeOf(child);
    if (node == &node->entry->top)
        return {};
    const QModelIndex above = node->source.parent();
    if (!above.isValid())
        return {};
    return above == node->entry->root ? TopIndex(node->entry) : MapFromSource(node->entry, above);
}

int PlacesTreeModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid())
        return int(m_entries.size());
    const QModelIndex source = SourceOf(parent);
    return source.isValid() ? m_folders.rowCount(source) : 0;
}

int PlacesTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

bool PlacesTreeModel::hasChildren(const QModelIndex& parent) const {
    if (!parent.isValid())
        return !m_entries.empty();
    const QModelIndex source = SourceOf(parent);
    return source.isValid() && m_folders.hasChildren(source);
}

QVariant PlacesTreeModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const Node* node = NodeOf(index);
    if (node != &node->entry->top)
        return m_folders.data(node->source, role);
    const Entry& entry = *node->entry;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::AccessibleTextRole:
        return entry.place.name;
    case Qt::DecorationRole:
        return entry.icon;
    case Qt::ToolTipRole:
        return QDir::toNativeSeparators(entry.place.path);
    case Qt::AccessibleDescriptionRole:
        return Description(entry.place);
    default:
        return {};
    }
}

Qt::ItemFlags PlacesTreeModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

bool PlacesTreeModel::canFetchMore(const QModelIndex& parent) const {
    const QModelIndex source = SourceOf(parent);
    return source.isValid() && m_folders.canFetchMore(source);
}

void PlacesTreeModel::fetchMore(const QModelIndex& parent) {
    const QModelIndex source = SourceOf(parent);
    if (source.isValid())
        m_folders.fetchMore(source);
}

void PlacesTreeModel::sort(int column, Qt::SortOrder order) {
    m_folders.sort(column, order);
}

void PlacesTreeModel::BeginSourceChange(const QModelIndex& parent, int first, int last,
                                        Pending kind) {
    // A place's own folder going away (a volume taken out) leaves the
    // place's items without their folders: a layout change drops them.
    const auto holdsPlace = [&](const QModelIndex& root) {
        for (QModelIndex at = root; at.isValid(); at = at.parent())
            if (at.parent() == parent && at.row() >= first && at.row() <= last)
                return true;
        return false;
    };
    if (kind == Pending::Remove &&
        std::any_of(m_entries.begin(), m_entries.end(),
                    [&](const std::unique_ptr<Entry>& entry) { return holdsPlace(entry->root); })) {
        m_pending = Pending::Layout;
        BeginLayout();
        return;
    }
    QModelIndex only;
    int shown = 0;
    for (const std::unique_ptr<Entry>& entry : m_entries) {
        const QModelIndex item = ExistingItem(entry.get(), parent);
        if (item.isValid()) {
            only = item;
            ++shown;
        }
    }
    // No place has shown the folder whose rows change: nothing anyone holds moves.
    if (shown == 0) {
        m_pending = Pending::None;
    } else if (shown == 1 && kind == Pending::Insert) {
        m_pending = kind;
        beginInsertRows(only, first, last);
    } else if (shown == 1) {
        m_pending = kind;
        beginRemoveRows(only, first, last);
    } else {
        m_pending = Pending::Layout;
        BeginLayout();
    }
}

void PlacesTreeModel::EndSourceChange() {
    const Pending pending = std::exchange(m_pending, Pending::None);
    if (pending == Pending::Insert)
        endInsertRows();
    else if (pending == Pending::Remove)
        endRemoveRows();
    else if (pending == Pending::Layout)
        EndLayout();
}

void PlacesTreeModel::BeginLayout() {
    if (m_layoutDepth++ == 0)
        emit layoutAboutToBeChanged();
}

void PlacesTreeModel::EndLayout() {
    if (m_layoutDepth == 0 || --m_layoutDepth > 0)
        return;
    // Each item follows its folder, which the file system model has moved
    // or dropped already.
    const QModelIndexList held = persistentIndexList();
    for (const QModelIndex& index : held) {
        const Node* node = NodeOf(index);
        if (node == &node->entry->top)
            continue;
        const QModelIndex source = node->source;
        changePersistentIndex(index, source.isValid() ? createIndex(source.row(), 0, node)
                                                      : QModelIndex());
    }
    emit layoutChanged();
}

void PlacesTreeModel::OnSourceDataChanged(const QModelIndex& topLeft,
                                          const QModelIndex& bottomRight, const QList<int>& roles) {
    const QModelIndex parent = topLeft.parent();
    // The file system model's top item ("/") is shown only as Computer's own.
    if (topLeft.column() != 0 || !parent.isValid())
        return;
    for (const std::unique_ptr<Entry>& entry : m_entries) {
        if (!ExistingItem(entry.get(), parent).isValid())
            continue;
        const QModelIndex first = MapFromSource(entry.get(), topLeft);
        const QModelIndex last = MapFromSource(entry.get(), bottomRight.siblingAtColumn(0));
        if (first.isValid() && last.isValid() && first.parent() == last.parent())
            emit dataChanged(first, last, roles);
    }
}
