#include "app/commands.h"

#include <array>

#include "app/command_ids.h"

namespace wk {
namespace {

constexpr std::array kCommands = {
    CommandText{cmd::ConnectionSetup, "Connection Setup", "Serial Port Setup\nSerial Port Select"},
    CommandText{cmd::ReadAllData, "Read All Data", "Read All Data Memory\nRead All Data Memory"},
    CommandText{cmd::WriteAllData, "Write All Data", "Write All Data Memory\nWrite All Data Memory"},
    CommandText{cmd::WriteChangedData, "Write Changed Data",
                "Write only what differs from the controller, and check it\nWrite Changed Data"},
    CommandText{cmd::HealthStatus, "Health Status", ""},
    CommandText{cmd::UpdateFirmware, "Update FW", ""},
    CommandText{cmd::LanguageSetup, "Language Setup", ""},
    CommandText{cmd::Options, "&Options", ""},
    CommandText{cmd::FileNew, "&New\tCtrl+N", "Create a new document\nNew"},
    CommandText{cmd::FileOpen, "&Open...\tCtrl+O", "Open an existing document\nOpen"},
    CommandText{cmd::FileClose, "&Close", "Close the active document\nClose"},
    CommandText{cmd::FileSave, "&Save\tCtrl+S", "Save the active document\nSave"},
    CommandText{cmd::FileSaveAs, "Save &As...", "Save the active document with a new name\nSave As"},
    CommandText{cmd::FilePrint, "&Print...\tCtrl+P", "Print the active document\nPrint"},
    CommandText{cmd::FilePrintPreview, "Print Pre&view", "Display full pages\nPrint Preview"},
    CommandText{cmd::FilePrintSetup, "P&rint Setup...", "Change the printer and printing options\nPrint Setup"},
    CommandText{cmd::FileMruFirst, "Recent File", "Open this document"},
    CommandText{cmd::AppExit, "E&xit", "Quit the application; prompts to save documents\nExit"},
    CommandText{cmd::EditUndo, "&Undo\tCtrl+Z", "Undo the last action\nUndo"},
    CommandText{cmd::EditCut, "Cu&t\tCtrl+X", "Cut the selection and put it on the Clipboard\nCut"},
    CommandText{cmd::EditCopy, "&Copy\tCtrl+C", "Copy the selection and put it on the Clipboard\nCopy"},
    CommandText{cmd::EditPaste, "&Paste\tCtrl+V", "Insert Clipboard contents\nPaste"},
    CommandText{cmd::ViewToolbar, "&Toolbar", "Show or hide the toolbar\nToggle ToolBar"},
    CommandText{cmd::ViewStatusBar, "&Status Bar", "Show or hide the status bar\nToggle StatusBar"},
    CommandText{cmd::WindowCascade, "&Cascade", "Arrange windows so they overlap\nCascade Windows"},
    CommandText{cmd::WindowTile, "&Tile", "Arrange windows as non-overlapping tiles\nTile Windows"},
    CommandText{cmd::WindowArrange, "&Arrange Icons", "Arrange icons at the bottom of the window\nArrange Icons"},
    CommandText{cmd::AppAbout, "&About 4410...", "Display program information, version number and copyright\nAbout"},
    CommandText{cmd::NextPane, "", "Switch to the next window pane\nNext Pane"},
    CommandText{cmd::PrevPane, "", "Switch back to the previous window pane\nPrevious Pane"},
};

constexpr int S = cmd::Separator;

// Menu 128: no document open.
constexpr int kMainFile[] = {cmd::FileNew, cmd::FileOpen, S, cmd::FilePrintSetup, S, cmd::FileMruFirst, S,
                             cmd::AppExit};
constexpr int kView[] = {cmd::ViewToolbar, cmd::ViewStatusBar};
constexpr int kMainDevice[] = {cmd::ConnectionSetup, cmd::UpdateFirmware};
constexpr int kSettings[] = {cmd::LanguageSetup, cmd::Options};
constexpr int kHelp[] = {cmd::AppAbout};
constexpr std::array kMainMenuLayout = {
    MenuLayout{"&File", kMainFile}, MenuLayout{"&View", kView}, MenuLayout{"&GZ4410", kMainDevice},
    MenuLayout{"&Settings", kSettings}, MenuLayout{"&Help", kHelp},
};

// Menu 129: a document open.
constexpr int kDocFile[] = {cmd::FileNew,   cmd::FileOpen,         cmd::FileClose,      cmd::FileSave,
                            cmd::FileSaveAs, S,                    cmd::FilePrint,      cmd::FilePrintPreview,
                            cmd::FilePrintSetup, S,                cmd::FileMruFirst,   S,
                            cmd::AppExit};
constexpr int kEdit[] = {cmd::EditUndo, S, cmd::EditCut, cmd::EditCopy, cmd::EditPaste};
constexpr int kDocDevice[] = {cmd::ConnectionSetup, S, cmd::ReadAllData, cmd::WriteAllData, cmd::WriteChangedData,
                              S,                    cmd::HealthStatus, cmd::UpdateFirmware};
constexpr int kWindow[] = {cmd::WindowCascade, cmd::WindowTile, cmd::WindowArrange};
constexpr std::array kDocumentMenuLayout = {
    MenuLayout{"&File", kDocFile},         MenuLayout{"&Edit", kEdit},     MenuLayout{"&View", kView},
    MenuLayout{"&Settings", kSettings},    MenuLayout{"&GZ4410", kDocDevice}, MenuLayout{"&Window", kWindow},
    MenuLayout{"&Help", kHelp},
};

constexpr int kToolbar[] = {cmd::FileNew,         cmd::FileOpen,    cmd::FileSave,     S,
                            cmd::EditCut,         cmd::EditCopy,    cmd::EditPaste,    S,
                            cmd::ConnectionSetup, cmd::ReadAllData, cmd::WriteAllData, S,
                            cmd::FilePrint,       cmd::AppAbout,    S,                 cmd::Options,
                            cmd::HealthStatus};

constexpr std::array kAccelerators = {
    Accelerator{"Ctrl+N", cmd::FileNew},       Accelerator{"Ctrl+O", cmd::FileOpen},
    Accelerator{"Ctrl+S", cmd::FileSave},      Accelerator{"Ctrl+P", cmd::FilePrint},
    Accelerator{"Ctrl+Z", cmd::EditUndo},      Accelerator{"Ctrl+X", cmd::EditCut},
    Accelerator{"Ctrl+C", cmd::EditCopy},      Accelerator{"Ctrl+V", cmd::EditPaste},
    Accelerator{"Alt+Backspace", cmd::EditUndo}, Accelerator{"Shift+Del", cmd::EditCut},
    Accelerator{"Ctrl+Ins", cmd::EditCopy},    Accelerator{"Shift+Ins", cmd::EditPaste},
    Accelerator{"F6", cmd::NextPane},          Accelerator{"Shift+F6", cmd::PrevPane},
};

}  // namespace

const CommandText* commandText(int id) {
  for (const CommandText& c : kCommands)
    if (c.id == id) return &c;
  return nullptr;
}

std::string_view promptStatus(std::string_view prompt) { return prompt.substr(0, prompt.find('\n')); }

std::string_view promptTooltip(std::string_view prompt) {
  const auto newline = prompt.find('\n');
  return newline == std::string_view::npos ? std::string_view{} : prompt.substr(newline + 1);
}

std::span<const MenuLayout> menuLayout(int resource) {
  if (resource == cmd::kDocumentMenu) return kDocumentMenuLayout;
  return kMainMenuLayout;
}

std::span<const int> toolbarLayout() { return kToolbar; }

std::span<const Accelerator> accelerators() { return kAccelerators; }

}  // namespace wk
