#pragma once
// The 1-Wire records of the image: the sensor slots of the two thermosensor
// channels with their aliases, the iButton key slots with their comments, and
// the lists the pages show for their codes. Each view reads and writes its
// fields in place; a field no page owns is never touched.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "document/alias_record.h"
#include "document/config_image.h"
#include "document/rom_code.h"

namespace wk {

namespace onewire {
inline constexpr std::size_t kSlotCount = 16;      // slots per sensor channel and for keys
inline constexpr std::size_t kSlotRecordSize = 10;  // ThermoSensorRecord and IButtonKeyRecord
inline constexpr std::size_t kKeyCommentSize = 64;
inline constexpr int kSensorChannelCount = 2;  // thermosensor channels 0 and 1
static_assert(image::SensorSlots1.size == kSlotCount * kSlotRecordSize);
static_assert(image::KeySlots.size == kSlotCount * kSlotRecordSize);
static_assert(image::SensorAliases1.size == kSlotCount * image::kAliasRecordSize);
static_assert(image::KeyComments.size == kSlotCount * kKeyCommentSize);
}  // namespace onewire

// A sensor slot of a thermosensor channel (SensorSlots1/2, 10 bytes):
// RomCode, the slot's own number, and the error reaction (bit 0 react, bits
// 1..6 the number of thermo-requests, bit 7 not ours).
class ThermoSensorRecord {
 public:
  static constexpr std::size_t kSize = onewire::kSlotRecordSize;
  static constexpr std::uint8_t kMaxRequests = 63;

  explicit ThermoSensorRecord(std::span<std::uint8_t> bytes);
  // channel 0 or 1, slot 0..15; anything else throws std::out_of_range.
  static ThermoSensorRecord at(ConfigImage& image, int channel, std::size_t slot);

  RomCode romCode() const { return RomCode::from(b_.first<RomCode::kSize>()); }
  void setRomCode(const RomCode& code);
  std::uint8_t slotNumber() const { return b_[8]; }
  void setSlotNumber(std::uint8_t slot) { b_[8] = slot; }

  bool reacts() const;
  void setReacts(bool on);
  std::uint8_t requestCount() const;
  // The low six bits of count.
  void setRequestCount(unsigned count);

  // Empties the slot: RomCode and slot number become 0; the error reaction
  // stays.
  void clearSensor();

 private:
  std::span<std::uint8_t> b_;
};

// The alias of sensor slot 0..15 of channel 0 or 1 (SensorAliases1/2).
AliasRecord SensorAlias(ConfigImage& image, int channel, std::size_t slot);

// An iButton key slot (KeySlots, 10 bytes): RomCode and key type; byte 9
// travels with the image untouched.
class IButtonKeyRecord {
 public:
  static constexpr std::size_t kSize = onewire::kSlotRecordSize;

  explicit IButtonKeyRecord(std::span<std::uint8_t> bytes);
  static IButtonKeyRecord at(ConfigImage& image, std::size_t slot);

  RomCode romCode() const { return RomCode::from(b_.first<RomCode::kSize>()); }
  void setRomCode(const RomCode& code);
  // A code of the KeyTypeTable (0..7), or whatever the image holds.
  std::uint8_t keyType() const { return b_[8]; }
  void setKeyType(std::uint8_t code) { b_[8] = code; }

  // Empties the slot: only the RomCode becomes 0; the type stays.
  void clearKey();

 private:
  std::span<std::uint8_t> b_;
};

// A key's comment (KeyComments, 64 bytes): length L in characters, byte 1 not
// ours, then up to 31 UTF-16 little-endian code units stored as typed.
class IButtonCommentRecord {
 public:
  static constexpr std::size_t kSize = onewire::kKeyCommentSize;
  static constexpr std::size_t kMaxLength = 31;

  explicit IButtonCommentRecord(std::span<std::uint8_t> bytes);
  static IButtonCommentRecord at(ConfigImage& image, std::size_t slot);

  // A length byte above 31 is read as 31.
  std::size_t length() const;
  std::u16string text() const;
  // The characters up to the first NUL, the end or 31 characters.
  void store(std::u16string_view text);

 private:
  std::span<std::uint8_t> b_;
};

// What touching a key makes the controller do, in the order of the page's list.
struct KeyType {
  std::uint8_t code;
  std::string_view name;
};
inline constexpr std::array<KeyType, 8> KeyTypeTable = {{
    {0, "Common Key"},
    {1, "Perimeter Key"},
    {2, "Common Key Plus"},
    {3, "Perimeter Key Plus"},
    {4, "Common Key ARM"},
    {5, "Perimeter Key ARM"},
    {6, "Common Key DISARM"},
    {7, "Perimeter Key DISARM"},
}};

// The "Errors Sensitivity" list of a sensor slot: the first item means "do
// not react", item n + 1 means n thermo-requests ("%d " and the word).
namespace error_sensitivity {
inline constexpr std::string_view kDoNotReact = "Do not react";
inline constexpr std::string_view kThermoRequests = "thermo-requests";
inline constexpr std::size_t kItemCount = 1 + ThermoSensorRecord::kMaxRequests + 1;
}  // namespace error_sensitivity

}  // namespace wk
