#include "framework/views/ShellFolderTree.h"

#include "framework/styles/StyleRoles.h"
#include "framework/styles/TreeLinesStyle.h"
#include "framework/views/ShellFileList.h"

#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>

ShellFolderTree::ShellFolderTree(QWidget* parent)
    : QTreeView(parent), m_model(new QFileSystemModel(this)), m_linesStyle(new TreeLinesStyle) {
    m_model->setReadOnly(true);
    m_model->setFilter(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_model->setRootPath(QDir::rootPath());
    setModel(m_model);
    // Only the name column: size, type and date say nothing about folders.
    for (int column = 1; column < m_model->columnCount(); ++column)
        hideColumn(column);
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

bool ShellFolderTree::SelectFolder(const QString& path) {
    const QModelIndex index = m_model->index(QDir::cleanPath(path));
    if (!index.isValid())
        return false;
    for (QModelIndex parent = index.parent(); parent.isValid(); parent = parent.parent())
        expand(parent);
    setCurrentIndex(index);
    scrollTo(index, QAbstractItemView::PositionAtCenter);
    // Its parent's other folders are still arriving and will push it about.
    m_scrollTarget = m_model->filePath(index);
    return true;
}

QString ShellFolderTree::SelectedFolder() const {
    const QModelIndex index = currentIndex();
    return index.isValid() ? m_model->filePath(index) : QString();
}

void ShellFolderTree::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTreeView::currentChanged(current, previous);
    if (!current.isValid())
        return;
    const QString path = m_model->filePath(current);
    if (path != m_scrollTarget)
        m_scrollTarget.clear();
    if (m_relatedList)
        m_relatedList->DisplayFolder(path);
}

void ShellFolderTree::OnDirectoryLoaded(const QString& path) {
    if (m_scrollTarget.isEmpty())
        return;
    const QModelIndex target = m_model->index(m_scrollTarget);
    if (!target.isValid() || m_model->filePath(target.parent()) != QDir::cleanPath(path))
        return;
    scrollTo(target, QAbstractItemView::PositionAtCenter);
    m_scrollTarget.clear();
}
