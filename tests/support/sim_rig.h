#pragma once
// The real termios port against gz4410-sim on a pseudo-terminal, with the
// doubles for the user, the settings and the clock.
#include <memory>
#include <string>
#include <vector>

#include "support/link_doubles.h"
#include "link/port.h"
#include "link/read_write_all.h"
#include "link/termios_transport.h"
#include "seams/settings.h"
#include "sim_launcher.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace wk::test {

// Every byte value, with runs of the bytes a line that is not raw would
// change or swallow (CR, LF, XON, XOFF, ^C, ^D, ^Z, ^\, ^U, ^V, DEL, 0xFF).
std::vector<std::uint8_t> hostileBytes(std::size_t size, unsigned seed);

// The counting transport that also tells the simulator when the PC writes.
class WatchedTransport : public CountingTransport {
 public:
  WatchedTransport(link::Transport& inner, sim::ActivityWatch& watch) : CountingTransport(inner), watch_(watch) {}
  std::size_t write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds timeout) override {
    watch_.writing(bytes.size());
    const std::size_t n = CountingTransport::write(bytes, timeout);
    watch_.wrote(n);
    return n;
  }

 private:
  sim::ActivityWatch& watch_;
};

class SimRig {
 public:
  // The simulator runs --instant with a state file, a trace and an activity
  // file, plus extra. The clock runs clockSpeedup times faster only while the
  // simulator has nothing to send: a slow reply on a busy machine never runs
  // into a time-out.
  explicit SimRig(const std::vector<std::string>& extra = {}, int clockSpeedup = 1,
                  const sim::Memories* initial = nullptr);

  link::ProgressFactory progress();
  // The rig's line, user, settings and clock, with the recording progress.
  link::DeviceLink link();
  // Stops the simulator, which first answers all it has received, and
  // returns its trace: one line a command.
  std::vector<std::string> trace();
  // Stops the simulator and returns the memories it saved.
  sim::Memories stopAndRead();

  TempDir dir;
  std::string statePath = dir.file("sim.state");
  std::string tracePath = dir.file("sim.trace");
  sim::ActivityWatch activity{dir.file("sim.activity")};
  std::unique_ptr<sim::Simulator> sim;
  MemorySettings settings;
  ScriptedPrompter prompter;
  TestClock clock;
  link::TermiosTransport termios{clock};
  WatchedTransport transport{termios, activity};
  link::Port port{transport, settings, prompter, clock};
  std::vector<std::string> progressLog;
};

// The trace of a whole read-all or write-all, as the protocol lays it down.
std::vector<std::string> readAllTrace();
std::vector<std::string> writeAllTrace(bool skipGsmManaged);

}  // namespace wk::test
