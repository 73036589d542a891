#include "stderr_prompter.h"

#include <cstdio>

namespace wk::cli {
namespace {
void printLine(const std::string& text) {
  // A message of several lines stays one message: its line breaks become blanks.
  std::string line;
  line.reserve(text.size());
  for (char c : text) line += (c == '\n' || c == '\r') ? ' ' : c;
  std::fprintf(stderr, "%s\n", line.c_str());
}
}  // namespace

Answer StderrPrompter::message(const std::string& text, MessageIcon, MessageButtons buttons) {
  printLine(text);
  switch (buttons) {
    case MessageButtons::Ok: return Answer::Ok;
    case MessageButtons::YesNo: return Answer::No;
    case MessageButtons::YesNoCancel: return Answer::Cancel;
  }
  return Answer::Cancel;
}

void StderrPrompter::note(const std::string& text) {
  if (!text.empty()) printLine(text);
}

}  // namespace wk::cli
