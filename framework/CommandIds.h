#pragma once

// Command ids. The standard commands keep the numbers the document/view and
// frame conventions give them, so prompts in the string table sit under the
// same ids; the program's own commands follow.
namespace CommandId {

// Document and application
inline constexpr unsigned FileNew = 57600;
inline constexpr unsigned FileOpen = 57601;
inline constexpr unsigned FileClose = 57602;
inline constexpr unsigned FileSave = 57603;
inline constexpr unsigned FileSaveAs = 57604;
inline constexpr unsigned FilePrintSetup = 57606;
inline constexpr unsigned FilePrint = 57607;
inline constexpr unsigned FilePrintDirect = 57608; // "Quick Print"
inline constexpr unsigned FilePrintPreview = 57609;
inline constexpr unsigned RecentFileFirst = 57616;
inline constexpr unsigned RecentFileLast = 57631;
inline constexpr unsigned AppAbout = 57664;
inline constexpr unsigned AppExit = 57665;

// Editing
inline constexpr unsigned EditClear = 57632;
inline constexpr unsigned EditClearAll = 57633;
inline constexpr unsigned EditCopy = 57634;
inline constexpr unsigned EditCut = 57635;
inline constexpr unsigned EditFind = 57636;
inline constexpr unsigned EditPaste = 57637;
inline constexpr unsigned EditRepeat = 57640;
inline constexpr unsigned EditReplace = 57641;
inline constexpr unsigned EditSelectAll = 57642;
inline constexpr unsigned EditUndo = 57643;
inline constexpr unsigned EditRedo = 57644;

// Windows and panes
inline constexpr unsigned WindowSplit = 57653;
inline constexpr unsigned NextPane = 57680;
inline constexpr unsigned PrevPane = 57681;
inline constexpr unsigned ViewToolbar = 59392;
inline constexpr unsigned ViewStatusBar = 59393;
inline constexpr unsigned ViewFolders = 32822;  // shows or hides the "Folders" pane
inline constexpr unsigned ViewProperties = 157; // the "Properties" pane's id
inline constexpr unsigned AddressEntered = 1;   // confirmation of the typed address

// File list view modes
inline constexpr unsigned ViewAutoArrange = 59397;
inline constexpr unsigned ViewSmallIcon = 59408;
inline constexpr unsigned ViewLargeIcon = 59409;
inline constexpr unsigned ViewList = 59410;
inline constexpr unsigned ViewDetails = 59411;
inline constexpr unsigned ViewLineUp = 59412;
inline constexpr unsigned ViewByName = 59413;
inline constexpr unsigned ViewModeFirst = ViewSmallIcon;
inline constexpr unsigned ViewModeLast = ViewByName;

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
