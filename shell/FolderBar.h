#pragma once

#include "framework/docking/DockablePane.h"
#include "framework/views/ShellFolderTree.h"

// The "Folders" pane: the folder tree, filling the pane. It knows nothing of
// the file list; the view ties the tree to its list when it is activated.
class CFolderBar : public DockablePane {
    Q_OBJECT
public:
    static constexpr int kShellTreeId = 1;

    explicit CFolderBar(QWidget* parent = nullptr);
    ~CFolderBar() override;

    ShellFolderTree& ShellTree() { return m_shellTree; }

protected:
    void AdjustLayout() override;

private:
    ShellFolderTree m_shellTree;
};
