#pragma once
// The command tables of the main window: what each command says in its menu
// item, status bar and tooltip; the layout of the two menus and the toolbar;
// the accelerator keys. Texts are stored untranslated and translated when
// they are shown.
#include <span>
#include <string_view>

namespace wk {

struct CommandText {
  int id;
  std::string_view menuText;  // "&New\tCtrl+N": the part after the tab is the key shown
  std::string_view prompt;    // "status-bar prompt\ntooltip", or empty
};

// The texts of a command; nullptr for an unknown id.
const CommandText* commandText(int id);

// The status-bar prompt and the tooltip halves of a command's prompt.
std::string_view promptStatus(std::string_view prompt);
std::string_view promptTooltip(std::string_view prompt);

struct MenuLayout {
  std::string_view title;      // "&File"
  std::span<const int> items;  // command ids; cmd::Separator for a separator
};

// The pop-up menus of menu resource 128 or 129 (cmd::kMainMenu, cmd::kDocumentMenu).
std::span<const MenuLayout> menuLayout(int resource);

// The toolbar's buttons, left to right; cmd::Separator between groups.
std::span<const int> toolbarLayout();

struct Accelerator {
  std::string_view key;  // in QKeySequence's portable form
  int id;
};
std::span<const Accelerator> accelerators();

// The message pane's text while nothing else is shown.
inline constexpr std::string_view kIdleMessage = "Ready";

}  // namespace wk
