#pragma once
// The state of the Caps Lock, Num Lock and Scroll Lock keys, for the status
// bar's CAP, NUM and SCRL indicators. Qt has no portable query for it; on X11
// the keyboard extension answers, elsewhere the state is unknown.
#include <optional>

namespace wk {

struct LockKeys {
  bool caps = false;
  bool num = false;
  bool scroll = false;
};

std::optional<LockKeys> readLockKeys();

}  // namespace wk
