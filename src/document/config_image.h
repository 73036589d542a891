#pragma once
// The configuration image: the controller's SEE-Data memory (addresses 0 to
// 61887) followed by its EE-Data memory (addresses 0 to 973), byte for byte.
// This file is the one place that knows where each region and block lies.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace wk {

struct ImageBlock {
  std::size_t offset;
  std::size_t size;
  constexpr std::size_t end() const { return offset + size; }
};

namespace image {

inline constexpr std::size_t kSize = 62862;
inline constexpr std::size_t kSeeMemorySize = 65536;  // the controller's whole SEE-Data memory
inline constexpr std::size_t kSeePartSize = 61888;    // SEE-Data 0x0000..0xF1BF held in the image
inline constexpr std::size_t kEePartSize = 974;       // EE-Data 0..973 held in the image

// Regions of the SEE part, in memory order, without gaps.
inline constexpr ImageBlock SmsRecords{0, 40448};
inline constexpr ImageBlock SmsComments{40448, 16384};
inline constexpr ImageBlock ChannelAliases{56832, 1536};
inline constexpr ImageBlock UserEventBlock{58368, 1024};
inline constexpr ImageBlock OutputAliases{59392, 384};
inline constexpr ImageBlock SensorAliases{59776, 1024};
inline constexpr ImageBlock SensorAliases1{59776, 512};
inline constexpr ImageBlock SensorAliases2{60288, 512};
inline constexpr ImageBlock KeyComments{60800, 1024};
inline constexpr ImageBlock ReservedA{61824, 32};
inline constexpr ImageBlock ReservedB{61856, 32};

// The EE part and its blocks.
inline constexpr ImageBlock SeePart{0, kSeePartSize};
inline constexpr ImageBlock EeBlock{kSeePartSize, kEePartSize};
inline constexpr ImageBlock ChannelRecords{61888, 96};
inline constexpr ImageBlock UserEventRecords{61984, 96};
inline constexpr ImageBlock OutputRecords{62080, 36};
inline constexpr ImageBlock SensorSlots1{62116, 160};
inline constexpr ImageBlock SensorSlots2{62276, 160};
inline constexpr ImageBlock KeySlots{62436, 160};
inline constexpr ImageBlock CommonSettings{62596, 266};

// Record sizes and counts of the regions that hold records.
inline constexpr std::size_t kSmsRecordCount = 256;
inline constexpr std::size_t kSmsRecordSize = 158;
inline constexpr std::size_t kSmsCommentSize = 64;
inline constexpr std::size_t kAliasRecordSize = 32;
inline constexpr std::size_t kChannelCount = 24;
inline constexpr std::size_t kChannelRecordSize = 4;
inline constexpr std::size_t kChannelAliasCount = 48;  // "if ALARM" of channels 1..24, then "if OK"
inline constexpr std::size_t kUserEventCount = 16;
inline constexpr std::size_t kUserEventRecordSize = 6;
inline constexpr std::size_t kOutputCount = 6;
inline constexpr std::size_t kOutputRecordSize = 6;
inline constexpr std::size_t kOutputAliasCount = 12;  // "if off" of outputs 1..6, then "if on"

// Cells of CommonSettings (offsets within the block).
namespace common {
// The miscellaneous settings (their fields: misc_settings.h).
inline constexpr ImageBlock MiscSettings{0, 156};
inline constexpr std::size_t kReadAllCleared = 2;         // set to 0 by read-all
// The device password: its length, a zero byte, 16 characters (EE-Data 732..749).
inline constexpr ImageBlock PasswordCells{24, 18};
inline constexpr ImageBlock ReportRecords{156, 100};       // ten records of 10 bytes, requests ?0..?9
inline constexpr ImageBlock GsmManagedOutputs{256, 6};     // EE-Data 964..969
inline constexpr ImageBlock FollowMask{262, 4};            // 32-bit little-endian
}  // namespace common

// EE-Data address of an image offset in the EE part, and back.
constexpr std::size_t eeAddress(std::size_t offset) { return offset - EeBlock.offset; }
constexpr std::size_t offsetOfEeAddress(std::size_t address) { return EeBlock.offset + address; }

static_assert(SmsRecords.size == kSmsRecordCount * kSmsRecordSize);
static_assert(SmsComments.size == kSmsRecordCount * kSmsCommentSize);
static_assert(ChannelRecords.size == kChannelCount * kChannelRecordSize);
static_assert(ChannelAliases.size == kChannelAliasCount * kAliasRecordSize);
static_assert(UserEventRecords.size == kUserEventCount * kUserEventRecordSize);
static_assert(OutputRecords.size == kOutputCount * kOutputRecordSize);
static_assert(OutputAliases.size == kOutputAliasCount * kAliasRecordSize);
static_assert(SmsRecords.end() == SmsComments.offset && SmsComments.end() == ChannelAliases.offset &&
              ChannelAliases.end() == UserEventBlock.offset && UserEventBlock.end() == OutputAliases.offset &&
              OutputAliases.end() == SensorAliases.offset && SensorAliases.end() == KeyComments.offset &&
              KeyComments.end() == ReservedA.offset && ReservedA.end() == ReservedB.offset &&
              ReservedB.end() == kSeePartSize);
static_assert(ChannelRecords.offset == EeBlock.offset && ChannelRecords.end() == UserEventRecords.offset &&
              UserEventRecords.end() == OutputRecords.offset && OutputRecords.end() == SensorSlots1.offset &&
              SensorSlots1.end() == SensorSlots2.offset && SensorSlots2.end() == KeySlots.offset &&
              KeySlots.end() == CommonSettings.offset && CommonSettings.end() == kSize);
static_assert(EeBlock.end() == kSize);

}  // namespace image

// The image itself. Every access is bounds-checked: a slice that does not lie
// wholly inside the image, or a record index past its region, throws
// std::out_of_range instead of touching a neighbour's bytes.
class ConfigImage {
 public:
  ConfigImage() : bytes_{} {}

  std::span<std::uint8_t> all() { return bytes_; }
  std::span<const std::uint8_t> all() const { return bytes_; }

  std::span<std::uint8_t> slice(ImageBlock block) { return slice(block.offset, block.size); }
  std::span<const std::uint8_t> slice(ImageBlock block) const { return slice(block.offset, block.size); }
  std::span<std::uint8_t> slice(std::size_t offset, std::size_t size);
  std::span<const std::uint8_t> slice(std::size_t offset, std::size_t size) const;

  // Record index of a region made of records of recordSize bytes.
  std::span<std::uint8_t> record(ImageBlock region, std::size_t recordSize, std::size_t index);
  std::span<const std::uint8_t> record(ImageBlock region, std::size_t recordSize, std::size_t index) const;

  std::uint8_t& at(std::size_t offset) { return slice(offset, 1)[0]; }
  std::uint8_t at(std::size_t offset) const { return slice(offset, 1)[0]; }

  void clear() { bytes_.fill(0); }

  friend bool operator==(const ConfigImage&, const ConfigImage&) = default;

 private:
  std::array<std::uint8_t, image::kSize> bytes_;
};

}  // namespace wk
