#include "onewire/temperature_monitor.h"

#include <array>
#include <cstdlib>

#include "link/port.h"
#include "link/protocol.h"
#include "seams/clock.h"
#include "seams/prompter.h"
#include "util/bytes.h"
#include "util/strformat.h"

namespace wk {

TemperatureMonitor::TemperatureMonitor(const link::DeviceLink& link) : link_(link) {}

TemperatureMonitor::~TemperatureMonitor() { stop(); }

void TemperatureMonitor::stop() { session_.reset(); }

bool TemperatureMonitor::fail(const char* message) {
  session_->prompter().message(message, MessageIcon::Information);
  stop();
  return false;
}

bool TemperatureMonitor::start(const RomCode& sensor) {
  stop();
  link_.clock.sleepFor(kRestartPause);
  sensor_ = sensor;
  session_ = std::make_unique<link::DeviceSession>(link_);
  if (!session_->open()) {
    stop();
    return false;
  }
  return requestReading();
}

bool TemperatureMonitor::requestReading() {
  if (!session_) return false;
  link::Port& port = session_->port();
  if (link::SendCommand(port, kRequest) != kRequest) return fail("ERROR 1");
  link_.clock.sleepFor(kEchoPause);
  for (const std::uint8_t byte : sensor_.bytes) {
    port.writeByte(byte);
    link_.clock.sleepFor(kBytePause);
  }
  return true;
}

std::optional<std::int16_t> TemperatureMonitor::readReading() {
  if (!session_) return std::nullopt;
  std::array<std::uint8_t, 2> reply{};
  // Half a reading is no temperature.
  if (session_->port().read(reply) < reply.size()) {
    fail("ERROR 2");
    return std::nullopt;
  }
  return static_cast<std::int16_t>(readLe16(reply, 0));
}

bool TemperatureMonitor::tick(const std::function<void(std::int16_t)>& show) {
  const std::optional<std::int16_t> reading = readReading();
  if (!reading) return false;
  if (show) show(*reading);
  return requestReading();
}

std::string centidegreesText(std::int16_t centidegrees) {
  const int value = centidegrees;
  const int magnitude = std::abs(value);
  return strprintf("%s%d.%.2d", value < 0 ? "-" : "", magnitude / 100, magnitude % 100);
}

}  // namespace wk
