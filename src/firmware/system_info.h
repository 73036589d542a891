#pragma once
// "System Info": the running controller's model text, serial number and
// firmware version, as one line:
//   Model = GZ4410    S/N = $00012AF0   FWver = 1.05d
#include <functional>
#include <string>

#include "firmware/outcome.h"
#include "link/device_session.h"

namespace wk::firmware {

namespace command {
inline constexpr std::uint8_t kModel = 'M';
inline constexpr std::uint8_t kSerialNumber = 'N';
}  // namespace command

struct SystemInfo {
  Outcome outcome = Outcome::Failed;
  std::string line;  // what was gathered, also when a later query failed
};

// Runs the three queries in one device session. show is called with the line
// as it grows: empty once the port is open, after the model, and at the end.
// A missing or wrong echo ends the queries with "Connection error 2" (model),
// "3" (no model length), "4" (serial number) or "5" (version); a serial
// number or version that does not arrive whole is left out of the line.
SystemInfo QuerySystemInfo(const link::DeviceLink& link,
                           const std::function<void(const std::string&)>& show = {});

}  // namespace wk::firmware
