#pragma once
// Command identifiers of the menus, the toolbar and the accelerators. The
// program's own commands keep their resource numbers; the standard ones keep
// the numbers of the document framework they come from, so that a menu built
// here lists the same ids as the controller tools installers already know.

namespace wk::cmd {

// The program's own commands.
inline constexpr int ConnectionSetup = 32774;
inline constexpr int ReadAllData = 32775;
inline constexpr int WriteAllData = 32779;
inline constexpr int WriteChangedData = 32780;
inline constexpr int UpdateFirmware = 32789;
inline constexpr int LanguageSetup = 32793;
inline constexpr int Options = 32795;
inline constexpr int HealthStatus = 32796;

// The framework's standard commands.
inline constexpr int FileNew = 0xE100;
inline constexpr int FileOpen = 0xE101;
inline constexpr int FileClose = 0xE102;
inline constexpr int FileSave = 0xE103;
inline constexpr int FileSaveAs = 0xE104;
inline constexpr int FilePrintSetup = 0xE106;
inline constexpr int FilePrint = 0xE107;
inline constexpr int FilePrintPreview = 0xE109;
inline constexpr int FileMruFirst = 0xE110;  // "Recent File", then one id per entry
inline constexpr int kMruEntries = 4;
inline constexpr int EditCopy = 0xE122;
inline constexpr int EditCut = 0xE123;
inline constexpr int EditPaste = 0xE125;
inline constexpr int EditUndo = 0xE12B;
inline constexpr int WindowArrange = 0xE131;
inline constexpr int WindowCascade = 0xE132;
inline constexpr int WindowTile = 0xE133;
inline constexpr int AppAbout = 0xE140;
inline constexpr int AppExit = 0xE141;
inline constexpr int NextPane = 0xE150;
inline constexpr int PrevPane = 0xE151;
inline constexpr int ViewToolbar = 0xE800;
inline constexpr int ViewStatusBar = 0xE801;

// Status-bar indicator panes.
inline constexpr int IndicatorCaps = 0xE701;
inline constexpr int IndicatorNum = 0xE702;
inline constexpr int IndicatorScroll = 0xE703;

// A separator in a menu or toolbar layout.
inline constexpr int Separator = 0;

// The two menu resources: without a document and with one.
inline constexpr int kMainMenu = 128;
inline constexpr int kDocumentMenu = 129;

}  // namespace wk::cmd
