#pragma once

#include <string_view>

enum class MenuEntryKind { Popup, Item, Separator, EndPopup };

// One line of a menu table. A Popup opens a submenu that runs up to its
// EndPopup; a menu table is a list of top-level popups. Labels keep their
// access letter ("&") and, after a tab, the shortcut text menus show.
struct MenuEntry {
    MenuEntryKind kind;
    std::u16string_view label;
    unsigned commandId = 0;
    bool greyed = false; // shown disabled until the command's state says otherwise
};
