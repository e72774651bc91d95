#pragma once

#include "framework/views/Places.h"
#include "framework/views/UserFolders.h"

#include <QFileIconProvider>
#include <QPointer>
#include <QTreeView>

#include <memory>

class PlacesTreeModel;
class QFileSystemModel;
class TreeLinesStyle;
class ShellFileList;
class VolumeSource;

// The folder tree: the places a user's files live in at the top (Home, the
// user folders, the mounted volumes, then the whole file system as
// "Computer"), each with its folders below, read in the background and
// followed on disk, with the home folder selected at start. Volumes come and
// go in the tree as they are mounted and taken out; a folder shown from one
// that goes away gives way to the place that held it. Choosing a folder (by
// mouse or keyboard) makes the related file list, if there is one, show it.
// It has one column, the names, and is named "Folders" for assistive
// technology.
class ShellFolderTree : public QTreeView {
    Q_OBJECT
public:
    // The session's home and user folders and the system's mounted volumes.
    explicit ShellFolderTree(QWidget* parent = nullptr);
    // These folders, and the volumes `volumes` tells of (it becomes a child).
    ShellFolderTree(DesktopFolders desktop, std::unique_ptr<VolumeSource> volumes,
                    QWidget* parent = nullptr);
    ~ShellFolderTree() override;

    // From now on choosing a folder shows it in `list`; null unties the tree.
    // A list that shows no folder yet is shown the folder selected now.
    void SetRelatedList(ShellFileList* list);
    ShellFileList* RelatedList() const;

    // Selects the folder at `path`, under the place that holds it most
    // closely, and scrolls to it; false when the tree has no such folder.
    bool SelectFolder(const QString& path);
    // The selected folder's path; empty when none is selected.
    QString SelectedFolder() const;
    // The tree's index of the folder at `path`; invalid when it has none.
    QModelIndex IndexOf(const QString& path) const;

    // The places at the top, in their order.
    QList<Place> Places() const;
    const QFileSystemModel& Model() const { return *m_model; }

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    void UpdatePlaces();
    void OnDirectoryLoaded(const QString& path);
    QString PathOf(const QModelIndex& index) const;

    // The folders' icons; Qt's file system model alone has none.
    QFileIconProvider m_icons;
    QFileSystemModel* m_model;
    PlacesTreeModel* m_places;
    TreeLinesStyle* m_linesStyle; // a child of the tree
    DesktopFolders m_desktop;
    VolumeSource* m_volumes; // a child of the tree
    QPointer<ShellFileList> m_relatedList;
    // The folder to keep scrolled into view while its parent is still loading.
    QString m_scrollTarget;
};
