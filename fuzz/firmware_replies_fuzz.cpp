// "System Info" and "Flash it!" against a controller made of fuzz bytes (see
// support/fuzzed_peer.h). The first byte chooses the procedure, whether the
// port opens and the code file; the rest is the peer.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <span>
#include <string>

#include "firmware/code_filler.h"
#include "firmware/flasher.h"
#include "firmware/system_info.h"
#include "link/device_operation.h"
#include "seams/settings.h"
#include "support/fuzzed_peer.h"
#include "support/quiet_seams.h"

using namespace wk;
using namespace wk::firmware;

namespace {

// Counts the windows opened and closed.
struct Windows {
  int opened = 0;
  int closed = 0;
};

class CountingProgress : public fuzz::NullProgress {
 public:
  explicit CountingProgress(Windows& windows) : windows_(windows) { ++windows_.opened; }
  void close() override { ++windows_.closed; }

 private:
  Windows& windows_;
};

char gDir[] = "/tmp/wk-firmware-fuzz-XXXXXX";

void removeCodeFiles() {
  ::unlink((std::string(gDir) + "/header.cod").c_str());
  ::unlink((std::string(gDir) + "/code.cod").c_str());
  ::rmdir(gDir);
}

// Code files written once per run, removed at its end: a header only, and a
// header with 1000 code bytes.
std::string codeFile(bool withCode) {
  static const bool made = [] {
    if (!::mkdtemp(gDir)) std::abort();
    std::atexit(removeCodeFiles);
    std::ofstream(std::string(gDir) + "/header.cod", std::ios::binary) << std::string(128, '\x5A');
    std::ofstream(std::string(gDir) + "/code.cod", std::ios::binary)
        << std::string(128, '\x5A') << std::string(1000, '\x42');
    return true;
  }();
  (void)made;
  return std::string(gDir) + (withCode ? "/code.cod" : "/header.cod");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzedPeer peer(std::span(data, size));
  const std::uint8_t choice = peer.takeByte();
  peer.failOpen = (choice & 0x02) != 0;
  fuzz::QuietPrompter prompter;
  fuzz::FakeClock clock;
  MemorySettings settings;
  Windows windows;
  const link::DeviceLink link{peer, prompter, settings, clock,
                              [&windows] { return std::make_unique<CountingProgress>(windows); }};

  if ((choice & 0x01) == 0) {
    const SystemInfo info = QuerySystemInfo(link);
    WK_FUZZ_CHECK(info.outcome != Outcome::Busy);
    // Success is silent; a failure is told.
    WK_FUZZ_CHECK((info.outcome == Outcome::Completed) == (prompter.messages == 0));
    if (!info.line.empty()) WK_FUZZ_CHECK(info.line.rfind("Model = ", 0) == 0);
    WK_FUZZ_CHECK(windows.opened == 0);
  } else {
    CodeFiller filler;
    const Outcome outcome = FlashFirmware(link, codeFile((choice & 0x04) != 0), filler);
    WK_FUZZ_CHECK(outcome != Outcome::Busy);
    // One message on every way out, and success only when it says so.
    WK_FUZZ_CHECK(prompter.messages == 1);
    WK_FUZZ_CHECK((outcome == Outcome::Completed) == (prompter.last == "Data was sent successfully!"));
    // A window that went up came down.
    WK_FUZZ_CHECK(windows.opened <= 1);
    WK_FUZZ_CHECK(windows.closed == windows.opened);
    if (outcome == Outcome::Completed) WK_FUZZ_CHECK(peer.bytesWritten() == 2 + 128 + 252 * 129);
  }
  WK_FUZZ_CHECK(!peer.isOpen());
  WK_FUZZ_CHECK(!link::DeviceOperation::running());
  return 0;
}
