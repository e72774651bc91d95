#pragma once

#include "ActionLookup.h"

class QMenu;
class QMenuBar;
class QWidget;

// Qt menus built from a menu resource (Menus.h). Each item is an action of the menu's
// own that carries the resource's label and its command id as data(), follows the state of the
// command's shared action (enabled, check or radio mark, status tip) and triggers it. `beforeShow`,
// when given, is called with the shared actions of a menu just before that menu shows. Both return
// nullptr for an unknown menu id.

// A menu bar with one menu per top-level popup (the frame's menu 128).
QMenuBar* BuildMenuBar(unsigned menuId, const ActionLookup& action, QWidget* parent = nullptr,
                       const ActionsUpdate& beforeShow = {});
// The first popup alone, as context menus and drop-down buttons use it.
QMenu* BuildMenu(unsigned menuId, const ActionLookup& action, QWidget* parent = nullptr,
                 const ActionsUpdate& beforeShow = {});
