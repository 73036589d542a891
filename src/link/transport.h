#pragma once
// The byte line to the controller, as a small table of operations: open,
// close, speed, and reads and writes bounded by a time-out. The program uses
// the termios port; tests put a scripted byte peer in its place.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace wk::link {

struct OpenStatus {
  enum class Kind { Opened, NotFound, PermissionDenied, Busy, NotASerialPort, Failed };
  Kind kind = Kind::Failed;
  std::string detail;  // the system's reason, for the status line; empty when opened
  bool ok() const { return kind == Kind::Opened; }
};

class Transport {
 public:
  virtual ~Transport() = default;

  // Opens the device for this process alone, as a raw 8N1 line at baud.
  virtual OpenStatus open(const std::string& device, int baud) = 0;
  // Harmless when nothing is open.
  virtual void close() = 0;
  virtual bool isOpen() const = 0;

  // Changes the speed once every byte already written has left.
  virtual bool setBaudRate(int baud) = 0;

  // Returns how many bytes were taken before the time-out ran out.
  virtual std::size_t write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds timeout) = 0;
  // Returns once buffer is full or the time-out, counted from the call, ran
  // out; the result says how many bytes arrived.
  virtual std::size_t read(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout) = 0;

  // Throws away whatever arrived and was not read yet.
  virtual void discardInput() = 0;
  // Waits until every written byte is on the wire.
  virtual void drainOutput() = 0;

  // The line hung up while open (the adapter was unplugged): reads and
  // writes end at once from then on, until the next open.
  virtual bool lineLost() const { return false; }
};

}  // namespace wk::link
