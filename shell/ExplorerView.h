#pragma once

#include "framework/commands/CommandTarget.h"
#include "framework/views/ShellFileList.h"

#include <QByteArray>
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

signals:
    // The view became the active one: its list is the one the folder tree drives.
    void activated(ShellFileList* list);
    // The text for the address box: the list's folder, or kUnknownFolder.
    void addressChanged(const QString& text);
    // A file was chosen: its name's bytes exactly as the file system has them.
    void fileChosen(const QByteArray& path);
    // The list's context menu was opened (deleted when it closes).
    void contextMenuShown(QMenu* menu);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void AddViewModeCommand(unsigned id, ShellFileList::ViewMode mode);

    CommandRouter& m_router;
    std::shared_ptr<PictureDecoder> m_decoder;
    ShellFileList m_shellList;
};
