#pragma once
// A Prompter that records every message and answers questions from a script.
#include <deque>
#include <string>
#include <vector>

#include "seams/prompter.h"

namespace wk::test {

struct RecordedMessage {
  std::string text;
  MessageIcon icon;
  MessageButtons buttons;
  bool operator==(const RecordedMessage&) const = default;
};

class ScriptedPrompter : public Prompter {
 public:
  // Answers for the coming questions, in order. A question with no scripted
  // answer fails the test and gets Cancel (or No).
  void answer(Answer a) { answers_.push_back(a); }
  void chooseOpen(std::optional<std::string> path) { openChoices_.push_back(std::move(path)); }
  void chooseSave(std::optional<std::string> path) { saveChoices_.push_back(std::move(path)); }

  Answer message(const std::string& text, MessageIcon icon, MessageButtons buttons) override;
  std::optional<std::string> chooseFileToOpen(const FileDialogRequest& request) override;
  std::optional<std::string> chooseFileToSave(const FileDialogRequest& request) override;
  void note(const std::string& text) override { notes.push_back(text); }

  std::vector<std::string> texts() const;

  std::vector<RecordedMessage> messages;
  std::vector<FileDialogRequest> fileRequests;
  std::vector<std::string> notes;

 private:
  std::deque<Answer> answers_;
  std::deque<std::optional<std::string>> openChoices_;
  std::deque<std::optional<std::string>> saveChoices_;
};

}  // namespace wk::test
