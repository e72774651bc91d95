#pragma once

#include "framework/commands/CommandTarget.h"
#include "framework/views/ShellFileList.h"
#include "presentation/window/PhotoSearch.h"

#include <QByteArray>
#include <QHash>
#include <QWidget>

#include <memory>

class CommandRouter;
class PictureDecoder;
class QMenu;

// The view in the centre of the main frame: the file list of one folder. It
// switches the list's layout by the four view-mode commands and tells the
// frame what happened through its signals: that it became the active view
// (the frame ties its folder tree to the list), which folder the list shows
// (for the address box) and which file was chosen (for the tag list). Its
// list shows the photographs' columns and pictures (PhotoColumns,
// PhotoPictures).
//
// It also searches the list's folder and every folder below it (Search):
// the list then shows the matches as they are found, the address box says
// "Search results in <folder>", and the progress goes to the status bar.
// Each folder's query is kept for the session: showing the folder again
// (after looking at another) brings its search back, until EndSearch.
class CExplorerView : public QWidget, public CommandTarget {
    Q_OBJECT
public:
    static constexpr int kShellListId = 1;
    // Written into the address box for a folder with neither path nor name.
    static constexpr char kUnknownFolder[] = "????";

    // `router` issues the commands of the view's context menu.
    explicit CExplorerView(CommandRouter& router, QWidget* parent = nullptr);
    ~CExplorerView() override;

    ShellFileList& FileList() { return m_shellList; }
    // The decoder of the view's pictures (its worker processes), for every
    // other picture the window shows as well.
    const std::shared_ptr<PictureDecoder>& Decoder() const { return m_decoder; }

    // Run when the view is first shown and again whenever its document is
    // renewed: the address box shows the list's folder.
    virtual void OnInitialUpdate();
    // Run by the frame whenever the view is activated: makes the list the
    // related list of the frame's folder tree.
    virtual void OnActivateView(bool activate, CExplorerView* activated,
                                CExplorerView* deactivated);

    // A mouse click on a cell of the list (item and column -1 on blank space).
    void OnClick(int item, int column);
    // Tells the list's folder for the frame's address box (addressChanged).
    void UpdateAddressBox();
    // Shows the tags of `path` as a click on its item would (fileChosen).
    void ChooseFile(const QByteArray& path);
    // A right-click in the list: blank space opens the view's menu.
    void OnContextMenu(const QPoint& globalPos, int item);

    // Searches the shown folder and those below it for `query` (a blank
    // query lists every photo). False, with the list left as it was, when
    // the query cannot be compiled (`error` says why) or no folder is shown.
    bool Search(const QString& query, QueryError& error);
    // Stops the search, forgets the folder's query and shows the folder.
    void EndSearch();
    PhotoSearch& Searching() { return m_search; }
    // The query kept for `folder` this session; null when none.
    QString KeptQuery(const QString& folder) const { return m_kept.value(folder); }

signals:
    // The view became the active one: its list is the one the folder tree drives.
    void activated(ShellFileList* list);
    // The text for the address box: the list's folder, or kUnknownFolder.
    void addressChanged(const QString& text);
    // A file was chosen: its name's bytes exactly as the file system has them.
    void fileChosen(const QByteArray& path);
    // The list's context menu was opened (deleted when it closes).
    void contextMenuShown(QMenu* menu);
    // The folder a search would look in, by its shown name, and its kept query.
    void searchFolderChanged(const QString& folderName, const QString& query);
    // A search's progress for the status bar, and whether it is still
    // reading; an empty text when no search is shown.
    void searchStatus(const QString& text, bool busy);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void AddViewModeCommand(unsigned id, ShellFileList::ViewMode mode);
    void OnFolderChanged();

    CommandRouter& m_router;
    std::shared_ptr<PictureDecoder> m_decoder;
    ShellFileList m_shellList;
    PhotoSearch m_search;
    QHash<QString, QString> m_kept;
};
