#pragma once

// The standard command ids. They keep the numbers the document/view and frame
// conventions give them, so an application's string table holds their prompts
// under the same ids. An application adds its own ids to these namespaces.
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

} // namespace CommandId

// Ids of the standard strings the framework itself shows.
namespace StringId {

inline constexpr unsigned AppTitle = 57344;
inline constexpr unsigned Idle = 57345; // "Ready"

// Status indicators
inline constexpr unsigned IndicatorExt = 59136;
inline constexpr unsigned IndicatorCaps = 59137;
inline constexpr unsigned IndicatorNum = 59138;
inline constexpr unsigned IndicatorScroll = 59139;
inline constexpr unsigned IndicatorOverwrite = 59140;
inline constexpr unsigned IndicatorRecord = 59141;

// Prompts of the window's system commands
inline constexpr unsigned SysSize = 61184;
inline constexpr unsigned SysMove = 61185;
inline constexpr unsigned SysMinimize = 61186;
inline constexpr unsigned SysMaximize = 61187;
inline constexpr unsigned SysNextWindow = 61188;
inline constexpr unsigned SysPrevWindow = 61189;
inline constexpr unsigned SysClose = 61190;
inline constexpr unsigned SysRestore = 61202;
inline constexpr unsigned SysTaskList = 61203;

} // namespace StringId
