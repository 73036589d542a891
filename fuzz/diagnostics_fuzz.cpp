// The controller's replies to the diagnostics: "Read Status", "Reset Status"
// and a run of input-reading ticks, each inside its own device session as the
// program runs them. The first input byte chooses which, the rest is the
// peer (see support/fuzzed_peer.h) and the target's choices of mode and input.
#include <cstdint>
#include <span>
#include <string>

#include "diagnostics/health.h"
#include "diagnostics/input_reader.h"
#include "link/device_operation.h"
#include "seams/settings.h"
#include "support/fuzzed_peer.h"
#include "support/quiet_seams.h"

using namespace wk;
using namespace wk::diag;

namespace {

constexpr int kMaxTicks = 64;

void checkHealth(const HealthReport& report, std::size_t messages) {
  // Received counters are a run from the first row: the loop stops at the
  // first failure and never fills a row after it.
  bool gap = false;
  for (int row = 0; row < kHealthCounterCount; ++row) {
    const auto& value = report.counters.values[static_cast<std::size_t>(row)];
    if (!value) gap = true;
    WK_FUZZ_CHECK(!(gap && value));
    const std::string text = report.counters.text(row);
    WK_FUZZ_CHECK(value ? text == std::to_string(*value) : text.empty());
  }
  if (report.completed) WK_FUZZ_CHECK(report.counters.complete() && messages == 0);
  // Every failure was told.
  if (!report.completed) WK_FUZZ_CHECK(messages > 0);
}

void checkText(const std::string& text) {
  std::size_t lines = 0;
  for (std::size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
  WK_FUZZ_CHECK(lines == kInputCount);
  WK_FUZZ_CHECK(text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0);
}

void readInputs(fuzz::FuzzedPeer& peer, const link::DeviceLink& link, fuzz::QuietPrompter& prompter) {
  InputReader reader(link);
  if (!reader.open()) {
    WK_FUZZ_CHECK(prompter.messages == 1 && !peer.isOpen());
    return;
  }
  for (int i = 0; i < kMaxTicks && reader.isOpen(); ++i) {
    const std::uint8_t choice = peer.takeByte();
    const auto mode = static_cast<InputMode>(choice % kModeCount);
    const int input = (choice >> 4) % kInputCount + 1;
    if (choice & 0x80) reader.forgetShown();
    const std::string before = reader.text();
    const TickResult t = reader.tick(mode, input);
    // The readings are shown unless they did not all come.
    WK_FUZZ_CHECK(t.readings.has_value() == (t.error != ReadError::ShortReply));
    if (t.readings) {
      WK_FUZZ_CHECK(reader.text() == formatReadings(*t.readings, mode));
      WK_FUZZ_CHECK(t.redraw == (reader.text() != before));
      checkText(reader.text());
    } else {
      WK_FUZZ_CHECK(!t.redraw && reader.text() == before);
    }
    if (const auto picture = reader.picture()) {
      bool known = false;
      for (int id : pictureIds()) known = known || id == *picture;
      WK_FUZZ_CHECK(known);
    }
    // An error closes the port before the message.
    if (t.error != ReadError::None) {
      WK_FUZZ_CHECK(!reader.isOpen() && !peer.isOpen() && prompter.messages == 0);
      reader.reportError(t.error);
      WK_FUZZ_CHECK(prompter.last == "READ ERROR " + std::to_string(static_cast<int>(t.error)));
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzedPeer peer(std::span(data, size));
  fuzz::QuietPrompter prompter;
  fuzz::FakeClock clock;
  MemorySettings settings;
  const link::DeviceLink link{peer, prompter, settings, clock, {}};

  const std::uint8_t what = peer.takeByte();
  peer.failOpen = (what & 0x80) != 0;
  switch (what % 3) {
    case 0: checkHealth(ReadStatus(link), prompter.messages); break;
    case 1: checkHealth(ResetStatus(link), prompter.messages); break;
    default: readInputs(peer, link, prompter); break;
  }
  // Every way out closes the port and gives the operation back.
  WK_FUZZ_CHECK(!peer.isOpen());
  WK_FUZZ_CHECK(!link::DeviceOperation::running());
  return 0;
}
