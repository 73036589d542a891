#include "firmware/system_info.h"

#include <array>

#include "link/port.h"
#include "link/protocol.h"
#include "seams/prompter.h"
#include "util/bytes.h"
#include "util/strformat.h"
#include "util/utf.h"

namespace wk::firmware {
namespace {

// These messages are shown as they stand, untranslated.
bool refused(link::Port& port, const char* message) {
  port.prompter().message(message, MessageIcon::Error);
  port.ClosePort();
  return false;
}

bool queryModel(link::Port& port, std::string& line) {
  if (link::SendCommand(port, command::kModel) != command::kModel) return refused(port, "Connection error 2");
  std::uint8_t length = 0;
  if (!port.readByte(length)) return refused(port, "Connection error 3");
  line = "Model = ";
  // One byte, one character. A text that stops short ends at the first byte
  // that does not come, rather than waiting out a time-out for each missing one.
  for (int i = 0; i < length; ++i) {
    std::uint8_t c = 0;
    if (!port.readByte(c)) break;
    line += byteAsCharacter(c);
  }
  return true;
}

bool querySerialNumber(link::Port& port, std::string& line) {
  if (link::SendCommand(port, command::kSerialNumber) != command::kSerialNumber)
    return refused(port, "Connection error 4");
  std::array<std::uint8_t, 4> serial{};
  if (port.read(serial) == serial.size()) line += strprintf("    S/N = $%.8X   ", readLe32(serial, 0));
  return true;
}

bool queryVersion(link::Port& port, std::string& line) {
  const auto reply = link::RequestVersion(port);  // "Connection error 5" on a missing echo
  if (!reply) return false;
  const unsigned v = reply->value();
  if (reply->received == reply->bytes.size()) line += strprintf("FWver = %u.%.2u", v / 100, v % 100);
  if (reply->trailer) line += byteAsCharacter(*reply->trailer);
  return true;
}

}  // namespace

SystemInfo QuerySystemInfo(const link::DeviceLink& link, const std::function<void(const std::string&)>& show) {
  const auto display = [&](const std::string& line) {
    if (show) show(line);
  };
  SystemInfo info;
  link::DeviceSession session(link);
  if (!session.claim()) {
    info.outcome = Outcome::Busy;
    return info;
  }
  if (!session.open()) return info;
  // No line of an earlier controller stays up while this one is asked.
  display(info.line);
  link::Port& port = session.port();
  const bool modelRead = queryModel(port, info.line);
  if (modelRead) display(info.line);
  const bool complete = modelRead && querySerialNumber(port, info.line) && queryVersion(port, info.line);
  display(info.line);
  port.ClosePort();
  if (complete) info.outcome = Outcome::Completed;
  return info;
}

}  // namespace wk::firmware
