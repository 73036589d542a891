#pragma once
// The controller's eight health counters: one byte each in its EE-Data memory
// just behind the configuration (974..981), read and reset one byte at a time
// with the EE-Data commands. They never enter the document.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "link/device_session.h"

namespace wk::link {
class Port;
}

namespace wk::diag {

inline constexpr std::uint16_t kHealthFirstAddress = 0x3CE;
inline constexpr int kHealthCounterCount = 8;

// The counter's name as stored, row 0..7 (translated when shown).
std::string_view healthCounterName(int row);

// The counters as far as they were received: a counter that did not arrive
// whole has no value, so that nothing old or made up is ever shown.
struct HealthCounters {
  std::array<std::optional<std::uint8_t>, kHealthCounterCount> values;

  // "%u", or empty when the counter was not received.
  std::string text(int row) const;
  bool complete() const;
};

// On an open port. Each stops at the first failure, which it has shown; true
// when every exchange went through.
bool ReadHealthCounters(link::Port& port, HealthCounters& counters);
bool ResetHealthCounters(link::Port& port);

struct HealthReport {
  bool opened = false;     // false: another operation ran, or the port did not open (the user was told)
  bool completed = false;  // every exchange went through
  HealthCounters counters;
};

// "Read Status": opens the port, reads the counters, closes the port.
HealthReport ReadStatus(const link::DeviceLink& link);
// "Reset Status": opens the port, writes 0 into each counter, closes the
// port, then reads the counters as "Read Status" does. completed only when
// both went through.
HealthReport ResetStatus(const link::DeviceLink& link);

}  // namespace wk::diag
