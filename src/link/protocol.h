#pragma once
// The controller's command protocol: one command letter that the controller
// echoes, then the parameters (16-bit values low byte first) and the data.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace wk::link {

class Port;

namespace command {
inline constexpr std::uint8_t kVersion = 'v';
inline constexpr std::uint8_t kSetSpeed = 'R';
inline constexpr std::uint8_t kReadSee = 's';
inline constexpr std::uint8_t kWriteSee = 'S';
inline constexpr std::uint8_t kReadEe = 'e';
inline constexpr std::uint8_t kWriteEe = 'E';
}  // namespace command

// The configuration layout the program understands (the .vld version too).
inline constexpr std::uint16_t kLayoutVersion = 105;

// The only speed codes the program sends.
enum class SpeedCode : std::uint8_t { Baud460800 = 0, Baud57600 = 7 };
int baudRate(SpeedCode code);

// Sends the command letter and reads the echo. The byte received, if any.
std::optional<std::uint8_t> SendCommand(Port& port, std::uint8_t letter);

// The reply to 'v' after its echo: two bytes of version, low byte first,
// then one more byte whose value the configuration transfer does not examine.
struct VersionReply {
  std::array<std::uint8_t, 2> bytes{};  // a byte that does not come stays 0
  std::size_t received = 0;             // of the two version bytes
  std::optional<std::uint8_t> trailer;

  std::uint16_t value() const { return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8)); }
};
// Sends 'v' and reads the reply. Nothing when the echo is missing or wrong:
// then "Connection error 5" was shown and the port closed.
std::optional<VersionReply> RequestVersion(Port& port);

// The version, or 0 (also when the reply is incomplete). A missing or wrong
// echo shows "Connection error 5" and closes the port.
std::uint16_t QueryVersion(Port& port);
// True only for version 105; otherwise the port is closed and the reason shown.
bool CheckVersion(Port& port);
// Tells the controller the new speed and follows it. On failure the port is
// closed and "Set Speed Error" shown.
bool SetSpeed(Port& port, SpeedCode code);

// What came back for one block command, so that the caller can word its
// message: the echo and the closing byte as received (nothing when none
// arrived), and how many data bytes a read got.
struct BlockReply {
  std::uint8_t letter = 0;
  std::optional<std::uint8_t> echo;
  std::size_t dataBytes = 0;
  std::optional<std::uint8_t> endMark;

  bool echoed() const { return echo == letter; }
  // 's' has no closing byte; 'S', 'e' and 'E' close with their own letter.
  bool closed() const { return endMark == letter; }
};

// Each sends its letter and stops when the echo is missing or wrong.
// Reads: count is the buffer's size; data goes straight into the buffer.
BlockReply ReadSee(Port& port, std::uint16_t address, std::span<std::uint8_t> data);
BlockReply WriteSee(Port& port, std::uint16_t address, std::span<const std::uint8_t> data);
BlockReply ReadEe(Port& port, std::uint16_t address, std::span<std::uint8_t> data);
BlockReply WriteEe(Port& port, std::uint16_t address, std::span<const std::uint8_t> data);

}  // namespace wk::link
