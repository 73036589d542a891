#pragma once
// A phone number as the controller keeps it (the address layout of 3GPP
// TS 23.040), in any 10 bytes of the image: the notification rules hold one
// each, the miscellaneous settings eight ("My numbers").
//
//   byte 0     number of digits, 0..16
//   byte 1     type of address: 0x91 international, 0x81 otherwise
//   bytes 2-9  the digits as semi-octets, the first of each pair in the low
//              nibble; an odd count fills the last high nibble with 0xF
//
// The text form is what the user types: digits only, and a leading "00" for
// an international number (type 0x91; the two zeros are not stored).
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace wk {

class PhoneNumberField {
 public:
  static constexpr std::size_t kSize = 10;
  static constexpr std::size_t kMaxDigits = 16;
  static constexpr std::uint8_t kInternational = 0x91;
  static constexpr std::uint8_t kUnknownType = 0x81;
  static constexpr std::u16string_view kInternationalPrefix = u"00";

  // Throws std::out_of_range unless bytes holds exactly 10 bytes.
  explicit PhoneNumberField(std::span<std::uint8_t> bytes);

  std::uint8_t digitCount() const { return b_[0]; }
  std::uint8_t typeOfAddress() const { return b_[1]; }

  // "00" for type 0x91, then the digits, each nibble v as the character
  // 0x30 + v (so 0xA..0xE show as ':' to '>'); a high nibble 0xF is filler and
  // not shown. A count above 16 shows the 16 digits the field holds.
  std::u16string text() const;

  // Encodes the text form: at most 16 digits are stored, each character c as
  // the nibble (c - 0x30) & 0xF. Digit bytes after the last one written are
  // left as they were.
  void setText(std::u16string_view text);

  // All 10 bytes zero, then setText (how "My numbers" are stored).
  void assign(std::u16string_view text);

 private:
  std::span<std::uint8_t> b_;
};

}  // namespace wk
