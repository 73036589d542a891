#pragma once
// Messages, questions and file choices as Qt message boxes and file dialogs,
// owned by the application's active window.
#include <QString>

#include "seams/prompter.h"

class QWidget;

namespace wk {

class QtPrompter : public Prompter {
 public:
  // Boxes are owned by owner, or by the active window when owner is null.
  explicit QtPrompter(QWidget* owner = nullptr) : owner_(owner) {}

  Answer message(const std::string& text, MessageIcon icon, MessageButtons buttons) override;
  std::optional<std::string> chooseFileToOpen(const FileDialogRequest& request) override;
  std::optional<std::string> chooseFileToSave(const FileDialogRequest& request) override;
  void note(const std::string& text) override;

  // "4410 Files (*.vld)|*.vld|All files (*.*)|*.*|" as a Qt name filter list.
  static QString qtFilter(const std::string& filter);

 private:
  QWidget* owner() const;
  QWidget* owner_;
};

// The title of the program's message boxes.
QString messageBoxTitle();

}  // namespace wk
