#include "document/phone_number_field.h"

#include <algorithm>
#include <stdexcept>

namespace wk {
namespace {

constexpr std::size_t kDigitsAt = 2;
constexpr std::uint8_t kFiller = 0xF;

std::uint8_t nibbleOf(char16_t c) { return static_cast<std::uint8_t>((c - u'0') & 0xF); }

}  // namespace

PhoneNumberField::PhoneNumberField(std::span<std::uint8_t> bytes) : b_(bytes) {
  if (bytes.size() != kSize) throw std::out_of_range("phone number field of the wrong size");
}

std::u16string PhoneNumberField::text() const {
  std::u16string out;
  if (typeOfAddress() == kInternational) out = kInternationalPrefix;
  const std::size_t count = std::min<std::size_t>(digitCount(), kMaxDigits);
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t pair = b_[kDigitsAt + i / 2];
    const bool high = i % 2 == 1;
    const std::uint8_t v = high ? pair >> 4 : pair & 0xF;
    if (high && v == kFiller) continue;
    out += static_cast<char16_t>(u'0' + v);
  }
  return out;
}

void PhoneNumberField::setText(std::u16string_view text) {
  const bool international = text.starts_with(kInternationalPrefix);
  if (international) text.remove_prefix(kInternationalPrefix.size());
  const std::size_t count = std::min(text.size(), kMaxDigits);
  b_[0] = static_cast<std::uint8_t>(count);
  b_[1] = international ? kInternational : kUnknownType;
  for (std::size_t i = 0; i < count; i += 2) {
    const std::uint8_t high = i + 1 < count ? nibbleOf(text[i + 1]) : kFiller;
    b_[kDigitsAt + i / 2] = static_cast<std::uint8_t>(high << 4 | nibbleOf(text[i]));
  }
}

void PhoneNumberField::assign(std::u16string_view text) {
  std::fill(b_.begin(), b_.end(), 0);
  setText(text);
}

}  // namespace wk
