#pragma once
// The system information and the bootloader: the model text, the serial
// number, and the firmware update in 252 blocks of 128 bytes. The version
// ('v') is the configuration handler's.
//
//   M            echo, length L, L bytes of model text
//   N            echo, serial number (32 bits, low byte first)
//   U            echo; the bootloader takes over
//   W            echo; then the PC sends the 128-byte header and 252 blocks,
//                each 128 code bytes and their checksum (the sum of the 128
//                bytes modulo 256); each block is answered with its checksum,
//                or 'B' when the checksum does not match
//
// Faults: no-length@M (nothing after the echo), short@M (half the text),
// short@N (two of the four bytes); silent@U and no-echo@W for a bootloader
// that does not answer; --bad-block K and --silent-from-block K for blocks.
//
// The header and code image last received, and how each block went, are kept
// in the state file (section "bootloader"), so that a test can compare them
// with the file it flashed.
#include <array>

#include "handler.h"

namespace gzsim {

class BootloaderHandler : public Handler {
 public:
  static constexpr std::size_t kHeaderSize = 128;
  static constexpr std::size_t kBlockSize = 128;
  static constexpr int kBlockCount = 252;
  static constexpr std::uint8_t kBadBlock = 'B';

  // How each block of the last update went, as kept in the state.
  enum BlockStatus : std::uint8_t {
    NotReceived = 0,
    Taken = 1,    // checksum right, answered with it
    BadSum = 2,   // checksum wrong, answered 'B'
    Refused = 3,  // --bad-block: answered 'B' whatever its checksum
    Unanswered = 4,  // --silent-from-block: received, not answered
  };

  std::string name() const override { return "bootloader"; }
  void handle(Exchange& x) override;
  std::vector<Option> options() const override;
  bool setOption(const std::string& name, const std::string& value, std::string& why) override;
  std::vector<FaultKind> faultKinds() const override;
  // Version 1: a version byte, the header, the code image (252 * 128 bytes),
  // then one BlockStatus per block. Nothing until a first update began.
  std::optional<Bytes> saveState() const override;
  bool loadState(std::span<const std::uint8_t> section, std::string& why) override;

 private:
  void model(Exchange& x);
  void serialNumber(Exchange& x);
  void enterUpdate(Exchange& x);
  void write(Exchange& x);

  std::string model_ = "GZ4410";
  std::uint32_t serial_ = 0x00012AF0;
  std::vector<int> badBlocks_;
  int silentFrom_ = -1;
  bool inBootloader_ = false;
  bool updated_ = false;  // an update began here or in the state loaded

  Bytes header_ = Bytes(kHeaderSize, 0);
  Bytes code_ = Bytes(kBlockSize * kBlockCount, 0);
  std::array<std::uint8_t, kBlockCount> blocks_{};
};

}  // namespace gzsim
