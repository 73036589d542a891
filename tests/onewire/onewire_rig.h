#pragma once
// A scripted controller, user, settings and clock for the 1-Wire exchanges.
// The progress and the messages are written into the peer's event list, so
// that one list shows what happened in which order.
#include <memory>
#include <string>
#include <vector>

#include "link/device_session.h"
#include "seams/settings.h"
#include "support/link_doubles.h"
#include "support/scripted_prompter.h"

namespace wk::test {

// Records every message in the shared event list as well.
class LoggingPrompter : public ScriptedPrompter {
 public:
  explicit LoggingPrompter(std::vector<std::string>& log) : log_(log) {}
  Answer message(const std::string& text, MessageIcon icon, MessageButtons buttons) override {
    log_.push_back("message " + text);
    return ScriptedPrompter::message(text, icon, buttons);
  }

 private:
  std::vector<std::string>& log_;
};

struct OneWireRig {
  ScriptedPeer peer;
  LoggingPrompter prompter{peer.events};
  MemorySettings settings;
  TestClock clock;
  link::DeviceLink link() {
    return {peer, prompter, settings, clock, [this] { return std::make_unique<RecordingProgress>(peer.events); }};
  }
  // The events that are neither reads nor writes: open, close, progress, messages.
  std::vector<std::string> milestones() const {
    std::vector<std::string> out;
    for (const std::string& e : peer.events)
      if (e.rfind("read ", 0) != 0 && e.rfind("write ", 0) != 0 && e != "discard") out.push_back(e);
    return out;
  }
};

}  // namespace wk::test
