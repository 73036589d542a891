#include "support/scripted_prompter.h"

#include <gtest/gtest.h>

namespace wk::test {

Answer ScriptedPrompter::message(const std::string& text, MessageIcon icon, MessageButtons buttons) {
  messages.push_back({text, icon, buttons});
  if (buttons == MessageButtons::Ok) return Answer::Ok;
  if (answers_.empty()) {
    ADD_FAILURE() << "unexpected question: " << text;
    return buttons == MessageButtons::YesNo ? Answer::No : Answer::Cancel;
  }
  const Answer a = answers_.front();
  answers_.pop_front();
  return a;
}

std::optional<std::string> ScriptedPrompter::chooseFileToOpen(const FileDialogRequest& request) {
  fileRequests.push_back(request);
  if (openChoices_.empty()) {
    ADD_FAILURE() << "unexpected open-file dialog";
    return std::nullopt;
  }
  auto choice = openChoices_.front();
  openChoices_.pop_front();
  return choice;
}

std::optional<std::string> ScriptedPrompter::chooseFileToSave(const FileDialogRequest& request) {
  fileRequests.push_back(request);
  if (saveChoices_.empty()) {
    ADD_FAILURE() << "unexpected save-file dialog";
    return std::nullopt;
  }
  auto choice = saveChoices_.front();
  saveChoices_.pop_front();
  return choice;
}

std::vector<std::string> ScriptedPrompter::texts() const {
  std::vector<std::string> out;
  for (const auto& m : messages) out.push_back(m.text);
  return out;
}

}  // namespace wk::test
