#pragma once
#include "seams/prompter.h"

namespace wk::cli {

// Messages go to standard error, one per line. Nobody is there to answer a
// question, so questions are answered with No (or Cancel): a command never
// goes ahead with something it was asked to confirm.
class StderrPrompter : public Prompter {
 public:
  Answer message(const std::string& text, MessageIcon icon, MessageButtons buttons) override;
  void note(const std::string& text) override;
};

}  // namespace wk::cli
