#pragma once

#include "framework/commands/CommandIds.h"

// Velmora's own ids, beside the framework's standard ones: its commands, its
// resources (strings, menus, bitmaps) and the child windows of its frame.
namespace CommandId {

inline constexpr unsigned ViewFolders = 32822;  // shows or hides the "Folders" pane
inline constexpr unsigned ViewProperties = 157; // the "Properties" pane's id
inline constexpr unsigned ViewMetadata = 159;   // the "Metadata" pane's id
inline constexpr unsigned ViewPreview = 161;    // the "Preview" pane's id
inline constexpr unsigned ViewOverview = 163;   // the "Overview" pane's id
inline constexpr unsigned AddressEntered = 1;   // confirmation of the typed address

// Visual styles ("Application Look")
inline constexpr unsigned AppLookWindows2000 = 210;
inline constexpr unsigned AppLookOfficeXP = 211;
inline constexpr unsigned AppLookWindowsXP = 212;
inline constexpr unsigned AppLookOffice2003 = 213;
inline constexpr unsigned AppLookVisualStudio2005 = 214;
inline constexpr unsigned AppLookOffice2007Blue = 215;
inline constexpr unsigned AppLookOffice2007Black = 216;
inline constexpr unsigned AppLookOffice2007Silver = 217;
inline constexpr unsigned AppLookOffice2007Aqua = 218;
inline constexpr unsigned AppLookFirst = AppLookWindows2000;
inline constexpr unsigned AppLookLast = AppLookOffice2007Aqua;

// Status bar panes
inline constexpr unsigned StatusPane1 = 120;
inline constexpr unsigned StatusPane2 = 121;

} // namespace CommandId

namespace ResourceId {

// Shared by the template string, the frame's menu, its shortcuts and the icon.
inline constexpr unsigned MainFrame = 128;
inline constexpr unsigned AboutDialog = 100;
inline constexpr unsigned EditPopupMenu = 119;
inline constexpr unsigned StyleMenu = 200;

// Ribbon bitmaps
inline constexpr unsigned HomeSmallImages = 110;
inline constexpr unsigned HomeLargeImages = 111;
inline constexpr unsigned AppButtonImage = 112;
inline constexpr unsigned PanelImages = 113;
inline constexpr unsigned FileLargeImages = 114;
inline constexpr unsigned FileSmallImages = 115;

// Child windows of the main frame
inline constexpr unsigned RibbonBar = 59398;
inline constexpr unsigned StatusBar = 59393;
inline constexpr unsigned AddressBox = 59393;
inline constexpr unsigned AddressRebar = 59396;
inline constexpr unsigned FoldersPane = 32822;
inline constexpr unsigned PropertiesPane = 157;
inline constexpr unsigned MetadataPane = 159;
inline constexpr unsigned PreviewPane = 161;
inline constexpr unsigned OverviewPane = 163;

} // namespace ResourceId

// Ids of the application's strings that are not command prompts.
namespace StringId {

inline constexpr unsigned OleInitFailed = 100;
inline constexpr unsigned SocketsInitFailed = 104;
inline constexpr unsigned StatusPane1 = 122;
inline constexpr unsigned StatusPane2 = 123;
inline constexpr unsigned MainFrame = 128; // the template's seven line-feed separated fields
inline constexpr unsigned PropertiesCaption = 158;
inline constexpr unsigned MetadataCaption = 160;
inline constexpr unsigned PreviewCaption = 162;
inline constexpr unsigned OverviewCaption = 164;

// Ribbon labels
inline constexpr unsigned RibbonFile = 260;
inline constexpr unsigned RibbonNew = 262;
inline constexpr unsigned RibbonOpen = 263;
inline constexpr unsigned RibbonSave = 264;
inline constexpr unsigned RibbonSaveAs = 265;
inline constexpr unsigned RibbonPrint = 266;
inline constexpr unsigned RibbonPrintLabel = 267;
inline constexpr unsigned RibbonQuickPrint = 268;
inline constexpr unsigned RibbonPrintPreview = 269;
inline constexpr unsigned RibbonPrintSetup = 270;
inline constexpr unsigned RibbonClose = 271;
inline constexpr unsigned RibbonRecentDocuments = 272;
inline constexpr unsigned RibbonExit = 273;
inline constexpr unsigned RibbonHome = 274;
inline constexpr unsigned RibbonClipboard = 275;
inline constexpr unsigned RibbonPaste = 276;
inline constexpr unsigned RibbonCut = 277;
inline constexpr unsigned RibbonCopy = 278;
inline constexpr unsigned RibbonSelectAll = 279;
inline constexpr unsigned RibbonStyle = 286;
inline constexpr unsigned RibbonStyleTooltip = 287;
inline constexpr unsigned RibbonStyleDescription = 288;
inline constexpr unsigned RibbonStatusBar = 289;
inline constexpr unsigned RibbonView = 290;

inline constexpr unsigned EditMenuName = 306;

} // namespace StringId
