#pragma once

#include "framework/views/DetailsTreeView.h"
#include "framework/views/FolderListModel.h"
#include "framework/views/KeptTextDelegate.h"
#include "framework/views/KeyboardCurrent.h"
#include "framework/views/ThumbnailDelegate.h"
#include "framework/views/ThumbnailLoader.h"

#include <QListView>
#include <QStackedLayout>
#include <QTreeView>
#include <QWidget>

#include <array>

// The file list of one folder: its files (never its sub-folders, nor hidden
// files, sockets, pipes, devices or broken links) in one of four layouts. The
// folder is read in the background and followed on disk, so a large folder
// never blocks the window and changes show up by themselves. Files whose names
// are not valid UTF-8 are listed too, and reached by their bytes.
//
// Items are addressed by their row in the list as currently sorted; columns
// are those of the Details layout (0 name, 1 size, 2 type, 3 date modified).
// Double-click or Enter opens the item in the desktop's default application.
// Assistive technology knows the list as "Files in <folder name>" ("Files"
// before any folder), and search results as "Search results in <folder name>".
class ShellFileList : public QWidget {
    Q_OBJECT
public:
    // The values are the list-view style bits the window code switches.
    enum class ViewMode { LargeIcons = 0, Details = 1, SmallIcons = 2, List = 3 };
    Q_ENUM(ViewMode)

    explicit ShellFileList(QWidget* parent = nullptr);
    ~ShellFileList() override;

    // Shows the folder at the absolute `path`. False, with the list left as
    // it was, when the path is empty, relative, not a folder or not readable.
    bool DisplayFolder(const QString& path);
    // Shows the results of a search of the absolute `path` and every folder
    // below it, handed over by AddResults as they are found: a flat list with
    // a Folder column (each file's folder relative to `path`). The folder
    // stays the current one; DisplayFolder ends the results. False, with the
    // list left as it was, for a path DisplayFolder would refuse.
    bool ShowResults(const QString& path);
    void AddResults(std::vector<FolderEntry> found) { m_model.AddResults(std::move(found)); }
    bool ShowsResults() const { return m_model.ShowsResults(); }

    // The folder shown (or searched); false before any folder was shown.
    bool GetCurrentFolder(QString& path) const;
    // Its name as the user sees it ("/" for the root); false before any.
    bool GetCurrentFolderName(QString& name) const;

    int GetItemCount() const;
    // Text of a cell; empty for an item or column out of range.
    QString GetItemText(int item, int column) const;
    // Full path of an item; false (and `path` emptied) when out of range or
    // when its name is not valid UTF-8, so no text stands for it.
    bool GetItemPath(int item, QString& path) const;
    // The item's full path as the bytes the file system knows it by; empty
    // when out of range. Open files by these, never by re-encoding text.
    QByteArray GetItemPathBytes(int item) const;
    // Asks the desktop to open the item with its default application.
    bool OpenItem(int item);

    ViewMode GetViewMode() const { return m_mode; }
    void SetViewMode(ViewMode mode);

    // The view of the current layout, and the model behind both views.
    QAbstractItemView* CurrentView() const;
    QListView* IconView() { return &m_iconView; }
    QTreeView* DetailsView() { return &m_detailsView; }
    const QAbstractItemModel& Model() const { return m_model; }
    FolderListModel& ListModel() { return m_model; }
    // Columns the application adds to Details, read in the background.
    void SetColumnProvider(std::shared_ptr<const FileColumnProvider> provider);
    // The Details columns' widths, order, visibility and sorting, to keep
    // between runs; false when `state` does not fit the columns.
    QByteArray SaveColumnState() const;
    bool RestoreColumnState(const QByteArray& state);
    // Reads the folder again, keeping selection and scrolling.
    void Refresh() { m_model.Refresh(); }
    // The pictures of the icon layouts.
    ThumbnailLoader& Thumbnails() { return m_thumbnails; }
    QModelIndex ItemIndex(int item, int column = 0) const;

signals:
    // Another folder is shown (also when the same folder is displayed again).
    void folderChanged(const QString& path);
    // The background reading of the shown folder has delivered its items.
    void folderLoaded(const QString& path);
    // A mouse click on a cell; item and column are -1 on blank space.
    void itemClicked(int item, int column, const QString& text);
    // Double-click or Enter on an item, after it was handed to the desktop.
    void itemActivated(int item);
    // The keyboard made the item current (see KeyboardCurrent).
    void itemChosenByKeyboard(int item);
    // A right-click at `globalPos`, on the item or on blank space (-1).
    void contextMenuRequested(const QPoint& globalPos, int item);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetUpView(QAbstractItemView& view);
    void UpdateAccessibleName();
    bool AcceptsFolder(const QString& path, QString& folder, QByteArray& bytes) const;
    void ActivateItem(const QModelIndex& index);
    // Details columns: each folder's first load sizes them to their contents,
    // except the columns the user gave a width, which keep it.
    void FitColumns();
    void SizeProvidedColumns(bool unsizedOnly);
    void OnSectionResized(int column, int width);

    FolderListModel m_model;
    ThumbnailLoader m_thumbnails;
    // Before the view that paints with it, so that it outlives the view.
    KeptTextDelegate m_detailsDelegate;
    QListView m_iconView;
    DetailsTreeView m_detailsView;
    QStackedLayout* m_stack;
    KeyboardCurrent m_keyboardCurrent;
    ThumbnailDelegate* m_thumbnailDelegate;
    QString m_currentFolder;
    QByteArray m_currentFolderBytes;
    ViewMode m_mode = ViewMode::Details;
    std::array<int, FolderListModel::ColumnCount> m_userWidths{}; // 0: none set
    bool m_fittingColumns = false;
    // The folder's sorting, put back when search results end.
    int m_folderSortColumn = FolderListModel::NameColumn;
    Qt::SortOrder m_folderSortOrder = Qt::AscendingOrder;
};
