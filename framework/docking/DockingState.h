#pragma once

#include <QByteArray>

class QMainWindow;

// Saving and restoring the arrangement of the frame's bars and panes.
// QMainWindow::saveState() records where every pane is docked, floated or
// tabbed; it does not know about auto-hide, so these wrap it and add which
// panes were collapsed, at what size and whether their tabs were shown. The
// panes are found by object name (see DockablePane::Create).
QByteArray SaveDockingState(const QMainWindow& frame, int version = 0);
// False, with the frame unchanged as far as Qt allows, when `state` is not a
// state saved by SaveDockingState with this version.
bool RestoreDockingState(QMainWindow& frame, const QByteArray& state, int version = 0);
