#pragma once
// Diagnostics: the health counters and the raw readings of the eight inputs.
//
//   a          echo, then the raw reading (0..255) of inputs 1 to 8
//
// The eight one-byte health counters are EE-Data at 974..981: the
// configuration handler reads and writes them with e and E like any other
// EE-Data byte, and keeps them in its section of the state file. --health
// sets them at start, over what the state file holds.
//
// Each input reads a fixed value, or sweeps slowly through a range: one step
// per 'a', up to the top and back down. The generic fault "short" sends five
// readings instead of eight; "no-echo" and "wrong-echo" send no readings.
#include <array>

#include "handler.h"

namespace gzsim {

class ConfigHandler;

class DiagnosticsHandler : public Handler {
 public:
  static constexpr std::size_t kHealthAddress = 974;
  static constexpr std::size_t kCounters = 8;
  static constexpr std::size_t kInputs = 8;
  static constexpr std::size_t kShortReadings = 5;

  explicit DiagnosticsHandler(ConfigHandler& config);

  std::string name() const override { return "diagnostics"; }
  void handle(Exchange& x) override;
  std::vector<Option> options() const override;
  bool setOption(const std::string& name, const std::string& value, std::string& why) override;
  void ready() override;

 private:
  // One input's reading: low == high for a fixed value.
  struct Input {
    int low = 128;
    int high = 128;
    int now = 128;
    int step = 1;
    int next();  // the reading of this poll; moves a sweep on
  };
  static bool parseInput(const std::string& spec, Input& input, std::string& why);

  ConfigHandler& config_;
  std::array<Input, kInputs> inputs_{};
  std::array<int, kCounters> health_{};  // -1: as the state file has it
};

}  // namespace gzsim
