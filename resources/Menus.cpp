#include "resources/Menus.h"

#include "resources/ApplicationIds.h"

namespace {

using namespace CommandId;

constexpr MenuEntry Popup(std::u16string_view label) {
    return {MenuEntryKind::Popup, label};
}
constexpr MenuEntry Item(std::u16string_view label, unsigned id) {
    return {MenuEntryKind::Item, label, id};
}
constexpr MenuEntry GreyedItem(std::u16string_view label, unsigned id) {
    return {MenuEntryKind::Item, label, id, true};
}
constexpr MenuEntry Separator() {
    return {MenuEntryKind::Separator, {}};
}
constexpr MenuEntry End() {
    return {MenuEntryKind::EndPopup, {}};
}

// The tables are indented like the menus they describe.
// clang-format off

// The frame's classic menu. "Recent File" stands where recently used files
// would be listed; the program keeps none.
constexpr MenuEntry kMainFrame[] = {
    Popup(u"&File"),
        Item(u"&New\tCtrl+N", FileNew),
        Item(u"&Open...\tCtrl+O", FileOpen),
        Item(u"&Save\tCtrl+S", FileSave),
        Item(u"Save &As...", FileSaveAs),
        Separator(),
        GreyedItem(u"Recent File", RecentFileFirst),
        Separator(),
        Item(u"E&xit", AppExit),
    End(),
    Popup(u"&Edit"),
        Item(u"&Undo\tCtrl+Z", EditUndo),
        Separator(),
        Item(u"Cu&t\tCtrl+X", EditCut),
        Item(u"&Copy\tCtrl+C", EditCopy),
        Item(u"&Paste\tCtrl+V", EditPaste),
    End(),
    Popup(u"&View"),
        Item(u"&Status Bar", ViewStatusBar),
        Popup(u"&Application Look"),
            Item(u"Windows &2000", AppLookWindows2000),
            Item(u"Office &XP", AppLookOfficeXP),
            Item(u"&Windows XP", AppLookWindowsXP),
            Item(u"Office 200&3", AppLookOffice2003),
            Item(u"Visual Studio.NET 200&5", AppLookVisualStudio2005),
            Popup(u"Office 200&7"),
                Item(u"&Blue Style", AppLookOffice2007Blue),
                Item(u"B&lack Style", AppLookOffice2007Black),
                Item(u"&Silver Style", AppLookOffice2007Silver),
                Item(u"&Aqua Style", AppLookOffice2007Aqua),
            End(),
        End(),
    End(),
    Popup(u"&Help"),
        Item(u"&About Velmora...", AppAbout),
    End(),
};

// The context menu registered under the name "Edit".
constexpr MenuEntry kEditPopup[] = {
    Popup(u"Edit"),
        Item(u"Cu&t\tCtrl+X", EditCut),
        Item(u"&Copy\tCtrl+C", EditCopy),
        Item(u"&Paste\tCtrl+V", EditPaste),
    End(),
};

// The ribbon's "Style" drop-down; only its items are ever shown.
constexpr MenuEntry kStyle[] = {
    Popup(u""),
        Item(u"Office 2007 (&Blue Style)", AppLookOffice2007Blue),
        Item(u"Office 2007 (B&lack Style)", AppLookOffice2007Black),
        Item(u"Office 2007 (&Silver Style)", AppLookOffice2007Silver),
        Item(u"Office 2007 (&Aqua Style)", AppLookOffice2007Aqua),
    End(),
};
// clang-format on

} // namespace

std::span<const MenuEntry> MenuResource(unsigned menuId) {
    switch (menuId) {
    case ResourceId::MainFrame:
        return kMainFrame;
    case ResourceId::EditPopupMenu:
        return kEditPopup;
    case ResourceId::StyleMenu:
        return kStyle;
    default:
        return {};
    }
}
