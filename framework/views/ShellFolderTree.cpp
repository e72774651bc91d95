#include "framework/views/ShellFolderTree.h"

#include "framework/styles/StyleRoles.h"
#include "framework/styles/TreeLinesStyle.h"
#include "framework/views/MountTable.h"
#include "framework/views/PlacesTreeModel.h"
#include "framework/views/ShellFileList.h"

#include <QDir>
#include <QFileSystemModel>

#include <algorithm>

ShellFolderTree::ShellFolderTree(QWidget* parent)
    : ShellFolderTree(DesktopFolders::Read(), std::make_unique<MountTable>(), parent) {}

ShellFolderTree::ShellFolderTree(DesktopFolders desktop, std::unique_ptr<VolumeSource> volumes,
                                 QWidget* parent)
    : QTreeView(parent), m_model(new QFileSystemModel(this)),
      m_places(new PlacesTreeModel(*m_model, this)), m_linesStyle(new TreeLinesStyle),
      m_desktop(std::move(desktop)), m_volumes(volumes.release()) {
    setAccessibleName(tr("Folders"));
    m_model->setIconProvider(&m_icons);
    m_model->setReadOnly(true);
    m_model->setFilter(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_model->setRootPath(QDir::rootPath());
    m_volumes->setParent(this);
    m_places->SetPlaces(OrderPlaces(m_desktop, m_volumes->Volumes()));
    connect(m_volumes, &VolumeSource::changed, this, &ShellFolderTree::UpdatePlaces);
    setModel(m_places);
    setHeaderHidden(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformRowHeights(true);
    setAnimated(false);
    // Lines between the folders, where the theme draws them.
    setProperty(StyleRole::kTreeLines, true);
    m_linesStyle->setParent(this);
    setStyle(m_linesStyle);
    sortByColumn(0, Qt::AscendingOrder);
    connect(m_model, &QFileSystemModel::directoryLoaded, this, &ShellFolderTree::OnDirectoryLoaded);
    SelectFolder(m_desktop.home);
}

// The models go before the icon provider the file system model reads from.
ShellFolderTree::~ShellFolderTree() {
    setModel(nullptr);
    delete m_places;
    delete m_model;
}

ShellFileList* ShellFolderTree::RelatedList() const {
    return m_relatedList;
}

void ShellFolderTree::SetRelatedList(ShellFileList* list) {
    m_relatedList = list;
    QString shown;
    if (list && !list->GetCurrentFolder(shown)) {
        const QString selected = SelectedFolder();
        if (!selected.isEmpty())
            list->DisplayFolder(selected);
    }
}

QList<Place> ShellFolderTree::Places() const {
    return m_places->Places();
}

void ShellFolderTree::UpdatePlaces() {
    const QList<Place> before = m_places->Places();
    const QList<Place> after = OrderPlaces(m_desktop, m_volumes->Volumes());
    // Whether `path` is on a volume that has just gone away.
    const auto isGone = [&](const QString& path) {
        const qsizetype held = PlaceHolding(before, path);
        if (held < 0 || before[held].kind != Place::Kind::Volume)
            return false;
        return std::none_of(after.begin(), after.end(),
                            [&](const Place& place) { return place.path == before[held].path; });
    };
    QString shown;
    if (m_relatedList)
        m_relatedList->GetCurrentFolder(shown);
    const QString selected = SelectedFolder();
    const QString lost = isGone(selected) ? selected : isGone(shown) ? shown : QString();
    // Moved away before the volume's items go, so the selection does not
    // slide onto whatever place comes next.
    if (!lost.isEmpty()) {
        const qsizetype holder = PlaceHolding(after, lost);
        const QString fallback = holder < 0 ? m_desktop.home : after[holder].path;
        SelectFolder(fallback);
        if (m_relatedList && m_relatedList->GetCurrentFolder(shown) && isGone(shown))
            m_relatedList->DisplayFolder(fallback);
    }
    m_places->SetPlaces(after);
}

QString ShellFolderTree::PathOf(const QModelIndex& index) const {
    return m_places->PathOf(index);
}

QModelIndex ShellFolderTree::IndexOf(const QString& path) const {
    return m_places->IndexOf(path);
}

bool ShellFolderTree::SelectFolder(const QString& path) {
    const QModelIndex index = IndexOf(path);
    if (!index.isValid())
        return false;
    for (QModelIndex parent = index.parent(); parent.isValid(); parent = parent.parent())
        expand(parent);
    setCurrentIndex(index);
    scrollTo(index, QAbstractItemView::PositionAtCenter);
    // Its parent's other folders are still arriving and will push it about.
    m_scrollTarget = PathOf(index);
    return true;
}

QString ShellFolderTree::SelectedFolder() const {
    const QModelIndex index = currentIndex();
    return index.isValid() ? PathOf(index) : QString();
}

void ShellFolderTree::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTreeView::currentChanged(current, previous);
    if (!current.isValid())
        return;
    const QString path = PathOf(current);
    if (path != m_scrollTarget)
        m_scrollTarget.clear();
    if (m_relatedList)
        m_relatedList->DisplayFolder(path);
}

void ShellFolderTree::OnDirectoryLoaded(const QString& path) {
    if (m_scrollTarget.isEmpty())
        return;
    const QModelIndex target = IndexOf(m_scrollTarget);
    if (!target.isValid() || PathOf(target.parent()) != QDir::cleanPath(path))
        return;
    scrollTo(target, QAbstractItemView::PositionAtCenter);
    m_scrollTarget.clear();
}
