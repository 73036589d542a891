#pragma once
// A protocol trace for support: a transport that passes every call on to the
// real line and writes one line per event, time-stamped in seconds since the
// trace began:
//
//       0.000000 open /dev/ttyUSB0 460800: ok
//       2.000104 discard
//       2.000131 > 76                          bytes the PC sent
//       2.000502 < 76                          bytes it received
//       2.000533 < 69 (1 of 2, time-out 1004 ms)  a read that gave up
//       2.014771 baud 57600
//       5.912004 line lost
//       5.912010 close
//
// The device password never appears: the EE-Data bytes that hold it (its
// length byte and characters, EE-Data 732..749), whether written with 'E' or
// read with 'e', are shown as **. The trace follows the command framing to
// know which EE-Data address each data byte carries.
#include <memory>
#include <ostream>
#include <string>

#include "link/transport.h"

namespace wk {
class Clock;
}

namespace wk::link {

class TraceTransport : public Transport {
 public:
  TraceTransport(Transport& inner, Clock& clock, std::ostream& out);

  OpenStatus open(const std::string& device, int baud) override;
  void close() override;
  bool isOpen() const override { return inner_.isOpen(); }
  bool setBaudRate(int baud) override;
  std::size_t write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds timeout) override;
  std::size_t read(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout) override;
  void discardInput() override;
  void drainOutput() override;
  bool lineLost() const override { return inner_.lineLost(); }

 private:
  // Where the PC and the controller are in an EE-Data block command.
  enum class Stage { Idle, Echo, Parameters, Skip, WriteData, ReadData };
  struct Framing {
    Stage stage = Stage::Idle;
    std::uint8_t letter = 0;
    std::uint8_t parameters[4] = {};
    std::size_t got = 0;    // parameter bytes so far
    std::size_t count = 0;  // data bytes of the block, or bytes to skip
    std::size_t address = 0;
    std::size_t index = 0;  // data bytes so far
  };
  bool sentByte(std::uint8_t byte);      // true: show it as **
  bool receivedByte(std::uint8_t byte);  // true: show it as **
  void line(const std::string& text);
  void noteLoss();

  Transport& inner_;
  Clock& clock_;
  std::ostream& out_;
  std::chrono::steady_clock::time_point start_;
  Framing framing_;
  bool lossTraced_ = false;
};

// Opens the trace file for appending, creating it when need be: without
// waiting (a FIFO would wait for a reader), only a regular file, and made
// readable and writable by its owner alone, whatever its mode was. The
// descriptor, or -1 with the reason in why.
int openTraceFile(const std::string& path, std::string& why);

// The real port, traced to path when that is not empty. Nothing when the trace
// file cannot be opened; why says so.
std::unique_ptr<Transport> makeTracedPort(Clock& clock, const std::string& path, std::string& why);

// The environment variable that switches the program's trace on.
inline constexpr const char* kTraceVariable = "WATCHKEEP_TRACE";

// The serial line of the program: the termios port, traced to the file that
// WATCHKEEP_TRACE names, if any. When that file cannot be opened the port is
// not traced and why says so.
std::unique_ptr<Transport> makeProgramTransport(Clock& clock, std::string& why);

}  // namespace wk::link
