#pragma once
// Starts gz4410-sim as a child process and stops it again, for tests and
// benchmarks; reads and writes its --state files.
#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "activity.h"
#include "state_file.h"

namespace wk::sim {

inline constexpr std::size_t kSeeSize = 65536;
inline constexpr std::size_t kEeSize = 1024;

// The two memories as a --state file holds them.
struct Memories {
  std::vector<std::uint8_t> see = std::vector<std::uint8_t>(kSeeSize, 0);
  std::vector<std::uint8_t> ee = std::vector<std::uint8_t>(kEeSize, 0);
};
// A state file with the memories alone.
bool writeState(const std::string& path, const Memories& memories);
// False (and the memories left alone) when the file is missing, no state
// file or without memories.
bool readState(const std::string& path, Memories& memories);

// A state file with the sections of any handlers (onewire, bootloader, ...):
// each section as that handler saves it.
using gzsim::StateSections;
bool writeStateSections(const std::string& path, const StateSections& sections);
// Empty when the file is missing or no state file.
StateSections readStateSections(const std::string& path);

// The PC's side of the simulator's --activity file (made here, so that it
// can be given before the simulator starts).
class ActivityWatch {
 public:
  explicit ActivityWatch(const std::string& path) : file_(path, true) {}

  // Around each write of the PC: before, with the bytes to go; after, with
  // the bytes taken. The simulator then times its reply from the write.
  void writing(std::size_t size);
  void wrote(std::size_t taken) { sent_ += taken; }

  // The simulator has taken every byte the PC sent and waits for more:
  // nothing can come from it before the PC sends again.
  bool quiet() const;
  // How much later than their time the simulator's replies left, in all.
  std::chrono::nanoseconds late() const;

 private:
  gzsim::ActivityFile file_;
  std::uint64_t sent_ = 0;
};

class Simulator {
 public:
  // Starts the simulator with args and waits (at most 10 s) for its device
  // path. device() is empty when that failed.
  explicit Simulator(const std::vector<std::string>& args, const std::string& program = WK_SIM_PATH);
  ~Simulator();  // stops it
  Simulator(const Simulator&) = delete;
  Simulator& operator=(const Simulator&) = delete;

  const std::string& device() const { return device_; }
  pid_t pid() const { return pid_; }
  // SIGTERM, then waits (at most 10 s) for it to save its state and end.
  // Returns its exit status, -1 when it did not end normally.
  int stop();

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  std::string device_;
};

}  // namespace wk::sim
