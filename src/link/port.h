#pragma once
// The serial port of the device operations: opened at the start of each
// operation with the controller's line parameters, closed at its end. Reads
// and writes are plain blocking transfers with the port's time-outs.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>

namespace wk {
class Clock;
class Prompter;
class Settings;
}  // namespace wk

namespace wk::link {

class Transport;

inline constexpr int kOpeningBaud = 460800;
// A read of n bytes gives up after kReadBase + n * kReadPerByte.
inline constexpr std::chrono::milliseconds kReadBase{1000};
inline constexpr std::chrono::milliseconds kReadPerByte{2};
inline constexpr std::chrono::milliseconds kWriteTimeout{1000};
// The controller is given this long after the port opens before the first byte.
inline constexpr std::chrono::milliseconds kOpenSettle{2000};
// And this long after a speed change.
inline constexpr std::chrono::milliseconds kSpeedSettle{10};

class Port {
 public:
  Port(Transport& transport, Settings& settings, Prompter& prompter, Clock& clock);
  ~Port();  // closes the port if this object opened it
  Port(const Port&) = delete;
  Port& operator=(const Port&) = delete;

  // Closes the open port, opens the one the "Port" setting names, waits
  // kOpenSettle. On failure shows "Port busy or not exist!" (and says why on
  // the status line) and leaves no port open.
  bool OpenPort();
  // Harmless when no port is open.
  void ClosePort();
  bool isOpen() const;
  // Switches the PC side to baud and waits kSpeedSettle.
  bool SetPortSpeed(int baud);

  std::size_t write(std::span<const std::uint8_t> bytes);
  bool writeByte(std::uint8_t byte);
  // Returns how many bytes arrived within kReadBase + n * kReadPerByte.
  std::size_t read(std::span<std::uint8_t> buffer);
  bool readByte(std::uint8_t& byte);
  void discardInput();
  void drainOutput();
  // The line hung up (the adapter was unplugged) since the port opened. The
  // first read or write that finds it so tells the user with a note.
  bool lineLost() const;

  Settings& settings() { return settings_; }
  Prompter& prompter() { return prompter_; }
  Clock& clock() { return clock_; }

 private:
  Transport& transport_;
  Settings& settings_;
  Prompter& prompter_;
  Clock& clock_;
  bool opened_ = false;
  bool lossNoted_ = false;

  void noteLostLine();
};

}  // namespace wk::link
