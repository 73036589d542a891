#pragma once
// The serial port of a Linux machine, on termios.
#include <optional>
#include <string>
#include <string_view>

#include "link/transport.h"

namespace wk {
class Clock;
}

namespace wk::link {

// The device a "Port" setting names: a value with a '/' is a path; "ComN"
// (any letter case, N from 1) is /dev/ttyS(N-1); any other name is taken
// from /dev, so "ttyUSB0" is /dev/ttyUSB0.
std::string devicePathForPort(std::string_view port);

class TermiosTransport : public Transport {
 public:
  // Time-outs are measured on clock, so that tests can run them fast.
  explicit TermiosTransport(Clock& clock) : clock_(clock) {}
  ~TermiosTransport() override;
  TermiosTransport(const TermiosTransport&) = delete;
  TermiosTransport& operator=(const TermiosTransport&) = delete;

  OpenStatus open(const std::string& device, int baud) override;
  void close() override;
  bool isOpen() const override { return fd_ >= 0; }
  bool setBaudRate(int baud) override;
  std::size_t write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds timeout) override;
  std::size_t read(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout) override;
  void discardInput() override;
  void drainOutput() override;
  bool lineLost() const override { return lost_; }

 private:
  // Waits until the line is ready for events or the deadline (on the clock)
  // has passed, looking once more at the deadline. A line that hangs up is
  // lost: true once more, so that what it still holds is taken.
  bool waitFor(short events, std::chrono::steady_clock::time_point deadline);
  template <typename Step>
  std::size_t transfer(std::size_t size, short events, std::chrono::milliseconds timeout, Step step);

  Clock& clock_;
  int fd_ = -1;
  bool lost_ = false;
  std::optional<int> savedSerialFlags_;  // the driver's flags before low latency was asked for
};

}  // namespace wk::link
