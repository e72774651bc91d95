#pragma once

#include <QPointer>
#include <QTreeView>

class QFileSystemModel;
class TreeLinesStyle;
class ShellFileList;

// The folder tree: every folder of the file system from "/" down, read in the
// background and followed on disk, with the user's home folder selected at
// start. Choosing a folder (by mouse or keyboard) makes the related file list,
// if there is one, show it. It has one column, the folders' names, and is
// named "Folders" for assistive technology.
class ShellFolderTree : public QTreeView {
    Q_OBJECT
public:
    explicit ShellFolderTree(QWidget* parent = nullptr);
    ~ShellFolderTree() override;

    // From now on choosing a folder shows it in `list`; null unties the tree.
    // A list that shows no folder yet is shown the folder selected now.
    void SetRelatedList(ShellFileList* list);
    ShellFileList* RelatedList() const;

    // Selects the folder at `path` and scrolls to it; false when the tree
    // has no such folder.
    bool SelectFolder(const QString& path);
    // The selected folder's path; empty when none is selected.
    QString SelectedFolder() const;
    // The tree's index of the folder at `path`; invalid when it has none.
    QModelIndex IndexOf(const QString& path) const;

    const QFileSystemModel& Model() const { return *m_model; }

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    class NameColumn;
    void OnDirectoryLoaded(const QString& path);
    QString PathOf(const QModelIndex& index) const;

    QFileSystemModel* m_model;
    NameColumn* m_names;
    TreeLinesStyle* m_linesStyle; // a child of the tree
    QPointer<ShellFileList> m_relatedList;
    // The folder to keep scrolled into view while its parent is still loading.
    QString m_scrollTarget;
};
