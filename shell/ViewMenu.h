#pragma once

class CommandRouter;
class QMenu;
class QWidget;

// The frame's "View" menu: the status bar, the two panes and the nine visual
// styles under "Application Look". Its items issue their commands through
// `router` and take their check and radio marks from the update handlers
// each time the menu opens. The caller owns the menu.
QMenu* CreateViewMenu(CommandRouter& router, QWidget* parent);
