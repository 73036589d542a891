#include "support/quiet_seams.h"

namespace wk::fuzz {

Answer QuietPrompter::message(const std::string& text, MessageIcon, MessageButtons buttons) {
  ++messages;
  last = text;
  return buttons == MessageButtons::Ok ? Answer::Ok : answer_;
}

}  // namespace wk::fuzz
