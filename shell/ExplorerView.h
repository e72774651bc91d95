#pragma once

#include "CommandTarget.h"
#include "ShellFileList.h"

#include <QWidget>

class CMainFrame;

// The view in the centre of the main frame: the file list of one folder. It
// ties the frame's folder tree to its list, keeps the address box showing the
// list's folder, switches the list's layout by the four view-mode commands,
// and hands a clicked file to the frame's ShowImageTags.
class CExplorerView : public QWidget, public CommandTarget {
    Q_OBJECT
public:
    static constexpr int kShellListId = 1;
    // Written into the address box for a folder with neither path nor name.
    static constexpr char kUnknownFolder[] = "????";

    explicit CExplorerView(QWidget* parent = nullptr);
    ~CExplorerView() override;

    ShellFileList& FileList() { return m_shellList; }

    // Run when the view is first shown and again whenever its document is
    // renewed: the address box shows the list's folder.
    virtual void OnInitialUpdate();
    // Run by the frame whenever the view is activated: makes the list the
    // related list of the frame's folder tree.
    virtual void OnActivateView(bool activate, CExplorerView* activated,
                                CExplorerView* deactivated);

    // A mouse click on a cell of the list (item and column -1 on blank space).
    void OnClick(int item, int column);
    // Writes the list's folder into the frame's address box.
    void UpdateAddressBox();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void AddViewModeCommand(unsigned id, ShellFileList::ViewMode mode);
    // The frame the view sits in; null while it has none.
    CMainFrame* Frame() const;

    ShellFileList m_shellList;
};
