#pragma once

#include "framework/commands/ActionLookup.h"
#include "framework/commands/MenuTable.h"

#include <span>

class QMenu;
class QMenuBar;
class QWidget;

// Qt menus built from a menu table. Each item is an action of the menu's
// own that carries the resource's label and its command id as data(), follows the state of the
// command's shared action (enabled, check or radio mark, status tip) and triggers it. `beforeShow`,
// when given, is called with the shared actions of a menu just before that menu shows. Both return
// nullptr for an empty table.

// A menu bar with one menu per top-level popup (the frame's menu 128).
QMenuBar* BuildMenuBar(std::span<const MenuEntry> entries, const ActionLookup& action,
                       QWidget* parent = nullptr, const ActionsUpdate& beforeShow = {});
// The first popup alone, as context menus and drop-down buttons use it.
QMenu* BuildMenu(std::span<const MenuEntry> entries, const ActionLookup& action,
                 QWidget* parent = nullptr, const ActionsUpdate& beforeShow = {});
