#include "shell/FolderBar.h"

CFolderBar::CFolderBar(QWidget* parent) : DockablePane(parent), m_shellTree(ClientArea()) {
    m_shellTree.setObjectName(QStringLiteral("shellTree"));
    m_shellTree.setProperty("controlId", kShellTreeId);
    // Focus given to the pane reaches its client area, and from there the tree.
    ClientArea()->setFocusProxy(&m_shellTree);
    AdjustLayout();
}

CFolderBar::~CFolderBar() = default;

void CFolderBar::AdjustLayout() {
    m_shellTree.setGeometry(ClientRect());
}
