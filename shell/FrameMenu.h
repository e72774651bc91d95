#pragma once

class CommandRouter;
class QMenu;
class QWidget;

// The frame's right-click menu: the popups of the classic menu 128 ("File",
// "Edit", "View", "Help"), then the "Folders", "Properties", "Metadata" and
// "Preview" panes, which nothing else can bring back once closed. Every item
// issues its command through `router` and shows the state of the command's
// shared action. The caller owns the menu.
QMenu* CreateFrameContextMenu(CommandRouter& router, QWidget* parent);
