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

namespace {
// The next scripted file choice; an unscripted dialog fails the test.
std::optional<std::string> nextChoice(std::deque<std::optional<std::string>>& choices, const char* dialog) {
  if (choices.empty()) {
    ADD_FAILURE() << "unexpected " << dialog << " dialog";
    return std::nullopt;
  }
  auto choice = choices.front();
  choices.pop_front();
  return choice;
}
}  // namespace

std::optional<std::string> ScriptedPrompter::chooseFileToOpen(const FileDialogRequest& request) {
  fileRequests.push_back(request);
  return nextChoice(openChoices_, "open-file");
}

std::optional<std::string> ScriptedPrompter::chooseFileToSave(const FileDialogRequest& request) {
  fileRequests.push_back(request);
  return nextChoice(saveChoices_, "save-file");
}

std::vector<std::string> ScriptedPrompter::texts() const {
  std::vector<std::string> out;
  for (const auto& m : messages) out.push_back(m.text);
  return out;
}

}  // namespace wk::test
