#include "link/protocol.h"

#include <array>
#include <vector>

#include "language/translate.h"
#include "link/port.h"
#include "seams/prompter.h"
#include "util/bytes.h"

namespace wk::link {
namespace {

// count and address, low bytes first, then the data of a write.
std::vector<std::uint8_t> blockHeader(std::size_t count, std::uint16_t address,
                                      std::span<const std::uint8_t> data = {}) {
  std::array<std::uint8_t, 4> header{};
  writeLe16(header, 0, static_cast<std::uint16_t>(count));
  writeLe16(header, 2, address);
  std::vector<std::uint8_t> out(header.begin(), header.end());
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

std::optional<std::uint8_t> readOptionalByte(Port& port) {
  std::uint8_t byte = 0;
  if (!port.readByte(byte)) return std::nullopt;
  return byte;
}

BlockReply blockRead(Port& port, std::uint8_t letter, std::uint16_t address, std::span<std::uint8_t> data,
                     bool closingByte) {
  BlockReply reply{letter, SendCommand(port, letter), 0, std::nullopt};
  if (!reply.echoed()) return reply;
  port.write(blockHeader(data.size(), address));
  reply.dataBytes = port.read(data);
  if (closingByte) reply.endMark = readOptionalByte(port);
  return reply;
}

BlockReply blockWrite(Port& port, std::uint8_t letter, std::uint16_t address, std::span<const std::uint8_t> data) {
  BlockReply reply{letter, SendCommand(port, letter), 0, std::nullopt};
  if (!reply.echoed()) return reply;
  port.write(blockHeader(data.size(), address, data));
  reply.endMark = readOptionalByte(port);
  return reply;
}

}  // namespace

int baudRate(SpeedCode code) { return code == SpeedCode::Baud57600 ? 57600 : 460800; }

std::optional<std::uint8_t> SendCommand(Port& port, std::uint8_t letter) {
  port.writeByte(letter);
  return readOptionalByte(port);
}

std::optional<VersionReply> RequestVersion(Port& port) {
  if (SendCommand(port, command::kVersion) != command::kVersion) {
    port.prompter().message("Connection error 5", MessageIcon::Error);
    port.ClosePort();
    return std::nullopt;
  }
  VersionReply reply;
  reply.received = port.read(reply.bytes);
  reply.trailer = readOptionalByte(port);
  return reply;
}

std::uint16_t QueryVersion(Port& port) {
  const auto reply = RequestVersion(port);
  return reply && reply->trailer ? reply->value() : 0;
}

bool CheckVersion(Port& port) {
  const std::uint16_t version = QueryVersion(port);
  if (version == kLayoutVersion) return true;
  const char* text = version == 0                ? "Read Version Error"
                     : version < kLayoutVersion ? "Wrong Version, update FIRMWARE"
                                                : "Wrong Version, update Configurator";
  port.prompter().message(tr(text), MessageIcon::Error);
  port.ClosePort();
  return false;
}

bool SetSpeed(Port& port, SpeedCode code) {
  bool switched = SendCommand(port, command::kSetSpeed) == command::kSetSpeed;
  if (switched) {
    port.writeByte(static_cast<std::uint8_t>(code));
    // A PC side that cannot follow has lost the controller just the same.
    switched = port.SetPortSpeed(baudRate(code));
  }
  if (!switched) {
    port.ClosePort();
    port.prompter().message(tr("Set Speed Error"), MessageIcon::Error);
  }
  return switched;
}

BlockReply ReadSee(Port& port, std::uint16_t address, std::span<std::uint8_t> data) {
  return blockRead(port, command::kReadSee, address, data, false);
}

BlockReply WriteSee(Port& port, std::uint16_t address, std::span<const std::uint8_t> data) {
  return blockWrite(port, command::kWriteSee, address, data);
}

BlockReply ReadEe(Port& port, std::uint16_t address, std::span<std::uint8_t> data) {
  return blockRead(port, command::kReadEe, address, data, true);
}

BlockReply WriteEe(Port& port, std::uint16_t address, std::span<const std::uint8_t> data) {
  return blockWrite(port, command::kWriteEe, address, data);
}

}  // namespace wk::link
