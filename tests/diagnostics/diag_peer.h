#pragma once
// A controller that answers the diagnostics commands from its state, however
// often it is asked: one-byte EE-Data reads and writes of the health counters
// and the input readings. For the dialogs, whose timers ask as often as they
// like; the exact exchanges are tested with the scripted peer.
#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "link/transport.h"

namespace wk::test {

class DiagPeer : public link::Transport {
 public:
  std::array<std::uint8_t, 8> counters{};
  std::array<std::uint8_t, 8> readings{};
  bool silent = false;        // answers nothing at all
  char echoForInputs = 'a';   // what 'a' is echoed with
  std::size_t readingCount = 8;

  int inputPolls = 0;          // 'a' commands received
  std::vector<std::string> log;  // "open", "close", "e 974", "E 974 0", "a"

  link::OpenStatus openResult{link::OpenStatus::Kind::Opened, {}};

  link::OpenStatus open(const std::string& device, int baud) override;
  void close() override;
  bool isOpen() const override { return open_; }
  bool setBaudRate(int) override { return true; }
  std::size_t write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds timeout) override;
  std::size_t read(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout) override;
  void discardInput() override { incoming_.clear(); }
  void drainOutput() override {}

 private:
  void take(std::uint8_t byte);
  bool open_ = false;
  std::vector<std::uint8_t> command_;
  std::deque<std::uint8_t> incoming_;
};

}  // namespace wk::test
