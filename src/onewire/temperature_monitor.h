#pragma once
// The live temperature of one sensor: "T" and the sensor's registration
// number ask the controller to measure it; the 2-byte reading (hundredths of
// a degree Celsius, signed, low byte first) is collected one period later,
// and the next request goes out at once. A window timer drives it: start,
// then tick every kPeriod, then stop. The monitor holds its device session
// (and so the open port) from start to stop; any failure ends it.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "document/rom_code.h"
#include "link/device_session.h"

namespace wk {

class TemperatureMonitor {
 public:
  static constexpr std::uint8_t kRequest = 'T';
  static constexpr std::chrono::milliseconds kPeriod{800};
  // Before the port is opened again, and between the echo and the code.
  static constexpr std::chrono::milliseconds kRestartPause{500};
  static constexpr std::chrono::milliseconds kEchoPause{10};
  static constexpr std::chrono::milliseconds kBytePause{1};

  explicit TemperatureMonitor(const link::DeviceLink& link);
  ~TemperatureMonitor();  // stops
  TemperatureMonitor(const TemperatureMonitor&) = delete;
  TemperatureMonitor& operator=(const TemperatureMonitor&) = delete;

  // Ends a running monitor, pauses, opens the port and sends the first
  // request. False when the port did not open or the controller did not
  // echo (the user was told), or another device operation runs; the monitor
  // is then stopped and the port closed.
  bool start(const RomCode& sensor);
  // One period: the reading goes to show, then the next request goes out.
  // False when either exchange failed: the user was told and the monitor has
  // stopped (show is not called when the reading did not come).
  bool tick(const std::function<void(std::int16_t centidegrees)>& show);
  // The two halves of a tick, for callers that want no further request.
  std::optional<std::int16_t> readReading();
  bool requestReading();
  // Closes the port and gives the device operation back. Harmless when idle.
  void stop();

  bool running() const { return session_ != nullptr; }
  const RomCode& sensor() const { return sensor_; }

 private:
  bool fail(const char* message);

  link::DeviceLink link_;
  std::unique_ptr<link::DeviceSession> session_;
  RomCode sensor_;
};

// Degrees Celsius of a reading.
inline double celsiusOf(std::int16_t centidegrees) { return centidegrees / 100.0; }
// The reading with two decimals ("-2.00", "21.37"), exactly.
std::string centidegreesText(std::int16_t centidegrees);

}  // namespace wk
