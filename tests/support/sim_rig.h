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

class SimRig {
 public:
  // The simulator runs --instant with a state file and a trace, plus extra.
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
  std::unique_ptr<sim::Simulator> sim;
  MemorySettings settings;
  ScriptedPrompter prompter;
  TestClock clock;
  link::TermiosTransport termios{clock};
  CountingTransport transport{termios};
  link::Port port{transport, settings, prompter, clock};
  std::vector<std::string> progressLog;
};

// The trace of a whole read-all or write-all, as the protocol lays it down.
std::vector<std::string> readAllTrace();
std::vector<std::string> writeAllTrace(bool skipGsmManaged);

}  // namespace wk::test
