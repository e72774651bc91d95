#pragma once

class CommandRouter;
class QMenu;
class QWidget;
class ShellFileList;

// The menu of a right-click on blank space in the file list: View, with the
// four layouts as the commands' shared actions (their radio marks come from
// the view's update handlers), Sort By, with the Details columns (the sorted
// one marked; choosing it again turns the order round), and Refresh. The
// caller owns the menu; it must not outlive the list.
QMenu* CreateListContextMenu(ShellFileList& list, CommandRouter& router, QWidget* parent);
