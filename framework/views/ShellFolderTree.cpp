#include "framework/views/ShellFolderTree.h"

#include "framework/styles/StyleRoles.h"
#include "framework/styles/TreeLinesStyle.h"
#include "framework/views/ShellFileList.h"

#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QSortFilterProxyModel>

// The folders as the tree shows them: the file system model's names only.
// Its size, type and date columns say nothing about folders; merely hidden,
// they would still be the columns assistive technology reads (so a reader
// would find a table "Name, Size, Type, Date Modified" that looks like the
// file list's and is not). Sorting is the file system model's own.
class ShellFolderTree::NameColumn : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    void sort(int column, Qt::SortOrder order) override { sourceModel()->sort(column, order); }

protected:
    bool filterAcceptsColumn(int column, const QModelIndex&) const override { return column == 0; }
};

ShellFolderTree::ShellFolderTree(QWidget* parent)
    : QTreeView(parent), m_model(new QFileSystemModel(this)), m_names(new NameColumn(this)),
      m_linesStyle(new TreeLinesStyle) {
    setAccessibleName(tr("Folders"));
    m_model->setReadOnly(true);
    m_model->setFilter(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_model->setRootPath(QDir::rootPath());
    m_names->setSourceModel(m_model);
    setModel(m_names);
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
    SelectFolder(QDir::homePath());
}

ShellFolderTree::~ShellFolderTree() = default;

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

QString ShellFolderTree::PathOf(const QModelIndex& index) const {
    return m_model->filePath(m_names->mapToSource(index));
}

QModelIndex ShellFolderTree::IndexOf(const QString& path) const {
    return m_names->mapFromSource(m_model->index(QDir::cleanPath(path)));
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
