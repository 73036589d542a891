#pragma once
// The notification rules (SmsRecords, 256 records of 158 bytes) and their
// comments (SmsComments, 256 records of 64 bytes), as in-place views.
//
// NotificationRecord:
//   byte 0     bit 0 enabled, bits 1-2 kind (KindList), bits 3-5 sound
//              (SoundList), bits 6-7 reserved
//   byte 1     bits 0-5 channel flags CH1..CH6, bits 6-7 reserved (written 0)
//   bytes 2-3  sound length in seconds, little-endian
//   byte 4     bits 0-2 source category, bits 3-7 source index (see below)
//   byte 5     the system event code (category 0), or bits 0-1 the
//              condition (ConditionList) for the other categories
//   bytes 6-15 phone number (PhoneNumberField)
//   byte 16    text length in characters, byte 17 text encoding
//   bytes 18-157 text: 7-bit packed, 8-bit, or UCS-2 high byte first
//
// The source index in byte 4 by category:
//   1 main channel, 2 user event   bits 3-7 = number - 1
//   3 thermosensor error           bit 3 = bus - 1, bits 4-7 = slot - 1
//   4 iButton key                  bits 4-7 = key - 1 (bit 3 kept)
//   0 system event                 byte 5 (bits 3-7 of byte 4 kept)
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "document/config_image.h"
#include "document/phone_number_field.h"
#include "document/records.h"

namespace wk {

enum class SmsEncoding : std::uint8_t {
  Packed7 = 0,  // 160 characters of 7 bits in 140 bytes
  Bytes8 = 1,   // one byte per character; never written by the editor
  Ucs2 = 8,     // 70 UTF-16 units, high byte first
};

class NotificationRecord : public RecordView<image::kSmsRecordSize> {
 public:
  static constexpr std::size_t kTextAt = 18;
  static constexpr std::size_t kTextBytes = 140;
  static constexpr std::size_t kMaxPacked7 = 160;
  static constexpr std::size_t kMaxBytes8 = 140;
  static constexpr std::size_t kMaxUcs2 = 70;

  using RecordView::RecordView;
  static NotificationRecord at(ConfigImage& image, std::size_t k) {
    return NotificationRecord(image.record(image::SmsRecords, kSize, k));
  }

  bool enabled() const { return getBits(b_[0], 0, 1) != 0; }
  void setEnabled(bool on) { setBits(b_[0], 0, 1, on ? 1 : 0); }
  // KindList code, 0 for none.
  std::uint8_t kind() const { return getBits(b_[0], 1, 2); }
  void setKind(std::uint8_t code) { setBits(b_[0], 1, 2, code); }
  // SoundList code.
  std::uint8_t sound() const { return getBits(b_[0], 3, 3); }
  void setSound(std::uint8_t code) { setBits(b_[0], 3, 3, code); }

  static constexpr int kChannelFlags = 6;
  // Channel flag n = 1..6.
  bool channel(int n) const { return n >= 1 && n <= kChannelFlags && getBits(b_[1], static_cast<unsigned>(n - 1), 1); }
  // Byte 1 becomes the six flags, CH1 first; its reserved bits 0.
  void setChannels(const std::array<bool, kChannelFlags>& flags);

  // Seconds, 0..65535.
  std::uint16_t soundLength() const { return readLe16(b_, 2); }
  void setSoundLength(std::uint16_t seconds) { writeLe16(b_, 2, seconds); }

  // SourceCategoryList code 0..4; 5..7 have no meaning.
  std::uint8_t sourceCategory() const { return getBits(b_[4], 0, 3); }
  void setSourceCategory(std::uint8_t code) { setBits(b_[4], 0, 3, code); }
  // The source within the current category, counted from 0: the event code
  // for category 0, channel, user event or key number - 1, and for a
  // thermosensor (bus - 1) * 16 + slot - 1. None for categories 5..7.
  std::optional<unsigned> sourceIndex() const;
  // Stores index for the current category; the bits that category does not
  // use are kept. Beyond the field's width the index is cut to it.
  void setSourceIndex(unsigned index);

  // ConditionList code, 0 for none; only meant for categories 1..4.
  std::uint8_t condition() const { return getBits(b_[5], 0, 2); }
  void setCondition(std::uint8_t code) { setBits(b_[5], 0, 2, code); }

  PhoneNumberField phone() const { return PhoneNumberField(b_.subspan(6, PhoneNumberField::kSize)); }

  std::uint8_t textLength() const { return b_[16]; }
  std::uint8_t textEncoding() const { return b_[17]; }
  // The message as stored. A length above what the encoding holds gives as
  // many characters as the 140 bytes hold; 8-bit bytes are the characters of
  // the same code (U+0000..U+00FF); an unknown encoding gives an empty text.
  std::u16string text() const;
  // Stores a message: UCS-2 if any unit is above 0x7F (at most 70 units, a
  // surrogate pair kept whole), else 7-bit packed (at most 160). Text bytes
  // after the last one written are left as they were.
  void setText(std::u16string_view text);
};

class SmsCommentRecord : public RecordView<image::kSmsCommentSize> {
 public:
  static constexpr std::size_t kMaxLength = 31;

  using RecordView::RecordView;
  static SmsCommentRecord at(ConfigImage& image, std::size_t k) {
    return SmsCommentRecord(image.record(image::SmsComments, kSize, k));
  }

  std::uint8_t length() const { return b_[0]; }
  // The stored UTF-16 units (little-endian); a count above 31 gives 31.
  std::u16string text() const;
  // Copies units up to the first NUL or 31 units and sets the count. Byte 1
  // and the bytes after the copied units are left as they were.
  void setText(std::u16string_view text);
};

}  // namespace wk
