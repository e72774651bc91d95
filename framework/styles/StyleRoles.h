#pragma once

// The hooks by which the visual styles reach widgets a plain type selector
// cannot tell apart. Window code sets the dynamic property
//
//     widget->setProperty(StyleRole::kProperty, StyleRole::kRibbon);
//
// before the widget is first shown. The style sheet paints the background of
// such widgets only when they draw a styled background: use a QFrame, or set
// Qt::WA_StyledBackground on a plain QWidget.
//
// Styled by type without a role: QMainWindow (background), its separators,
// the title of QDockWidget, and QStatusBar with its labels.
namespace StyleRole {

inline constexpr char kProperty[] = "velmoraRole";

inline constexpr char kRibbon[] = "ribbon";                         // the whole ribbon bar
inline constexpr char kRibbonPanel[] = "ribbonPanel";               // one panel of a category
inline constexpr char kRibbonPanelCaption[] = "ribbonPanelCaption"; // the label under a panel
inline constexpr char kPaneCaption[] = "paneCaption";               // a pane's own caption bar
inline constexpr char kAutoHideBar[] = "autoHideBar";               // strip of auto-hidden panes
inline constexpr char kAddressBar[] = "addressBar";                 // the bar with the address box

// A bool, on a tree view: the tree asks for lines between its items; on the
// application: the current theme draws them (see TreeLinesStyle).
inline constexpr char kTreeLines[] = "velmoraTreeLines";

} // namespace StyleRole
