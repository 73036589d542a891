#pragma once
// How the core talks to the user: message boxes, questions, file choices and
// status notes. The GUI shows them with Qt, the command-line tool writes them
// to standard error, tests script them.
#include <optional>
#include <string>

namespace wk {

enum class MessageIcon { None, Information, Warning, Error, Question };
enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class Answer { Ok, Yes, No, Cancel };

struct FileDialogRequest {
  std::string title;
  // In the "Description|pattern|Description|pattern|" form of the program's
  // filter strings, e.g. "4410 Files (*.vld)|*.vld|".
  std::string filter;
  std::string defaultExtension;  // without the dot, e.g. "lng"
  std::string initialPath;
};

class Prompter {
 public:
  virtual ~Prompter() = default;

  // Shows text (already translated where the program translates it) and
  // returns the button that closed the box.
  virtual Answer message(const std::string& text, MessageIcon icon,
                         MessageButtons buttons = MessageButtons::Ok) = 0;

  // File choices; nothing when the user cancels. A save dialog asks before
  // overwriting an existing file.
  virtual std::optional<std::string> chooseFileToOpen(const FileDialogRequest&) { return std::nullopt; }
  virtual std::optional<std::string> chooseFileToSave(const FileDialogRequest&) { return std::nullopt; }

  // A passing remark that is no message box (the GUI's status bar).
  virtual void note(const std::string&) {}
};

}  // namespace wk
