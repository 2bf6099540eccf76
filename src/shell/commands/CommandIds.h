#pragma once
// The numeric ids of the commands the shell carries, as menus, tool bars and the ribbon send
// them.

namespace vornel::commands {

// --- the application
inline constexpr int kNew = 57600;
inline constexpr int kOpen = 57601;
inline constexpr int kPrintSetup = 57606;
inline constexpr int kAbout = 57664;
inline constexpr int kExit = 57665;
inline constexpr int kHelp = 57666;
inline constexpr int kRunAbcSoftware = 33175;
inline constexpr int kRunTabProgram = 33191;
inline constexpr int kViewXmlIndex = 33641;
inline constexpr int kWebSite = 33286;
inline constexpr int kSaveAll = 34101;
inline constexpr int kImportVornelXml = 34264;
inline constexpr int kMetronomeOn = 33989;
inline constexpr int kMetronomePatch = 34341;
// The recent files of the "File" menu: one id per entry.
inline constexpr int kFirstRecentFile = 57616;
inline constexpr int kLastRecentFile = kFirstRecentFile + 11;

// --- the document (the framework's)
inline constexpr int kClose = 57602;
inline constexpr int kSave = 57603;
inline constexpr int kSaveAs = 57604;
inline constexpr int kUndo = 57643;
inline constexpr int kRedo = 57644;

// --- the main frame
inline constexpr int kWindowsDialog = 134;
inline constexpr int kCustomize = 131;
inline constexpr int kFirstLookCommand = 210;
inline constexpr int kLastLookCommand = 219;
inline constexpr int kStatusBar = 59393;
inline constexpr int kEditMode = 33695;
inline constexpr int kPropertiesView = 32942;
inline constexpr int kOutputView = 32773;
inline constexpr int kFullScreen = 32945;
inline constexpr int kKeyboardConsole = 33244;
inline constexpr int kSearchFiles = 33070;
inline constexpr int kResetGroupTitle = 33072;
inline constexpr int kRemoveFromGroup = 33073;
inline constexpr int kAddToGroup = 33074;
inline constexpr int kExportGroupHtml = 33079;
inline constexpr int kDeleteGroup = 33080;
inline constexpr int kReindexGroup = 33071;
inline constexpr int kExportHtmlPage = 33165;
inline constexpr int kPreferences = 33296;
inline constexpr int kToggleRibbon = 33960;
inline constexpr int kToggleToolbars = 33959;
inline constexpr int kToolbarColumns = 33921;
inline constexpr int kFloatMidiToolbar = 33923;
inline constexpr int kMidiPlaylist = 32833;  // "Play list": the MIDI play list window
inline constexpr int kRunMetronome = 34303;
inline constexpr int kViewAllPanes = 33014;
inline constexpr int kSwitchPaletteTab = 34278;
inline constexpr int kPaletteMenu = 34279;
inline constexpr int kFirstHelpPage = 34355;
inline constexpr int kLastHelpPage = 34367;
// Sent to the view after the panes were laid out again.
inline constexpr int kFormatSystem = 32784;

}  // namespace vornel::commands
