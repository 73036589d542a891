#include "document/alias_record.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace wk {
namespace {

// Indexed by code point minus 0x410: А..Я, then а..я.
constexpr std::array<char, 64> kCyrillicToLatin = {
    'A', 'B', 'V', 'G', 'D', 'E', 'Z', '3', 'I', 'Y', 'K', 'L', 'M', 'H', 'O', 'P',
    'R', 'S', 'T', 'U', 'F', 'X', 'C', '4', 's', 's', '\'', 'Y', '\'', 'E', 'U', 'A',
    'a', 'b', 'v', 'g', 'd', 'e', 'z', '3', 'i', 'y', 'k', 'l', 'm', 'n', 'o', 'p',
    'r', 's', 't', 'u', 'f', 'x', 'c', '4', 's', 's', '\'', 'y', '\'', 'e', 'u', 'a',
};

}  // namespace

char16_t TransliterateCyrillic(char16_t unit) {
  if (unit < 0x0410 || unit > 0x044F) return unit;
  return static_cast<char16_t>((unit & 0xFF00) | static_cast<unsigned char>(kCyrillicToLatin[unit - 0x0410]));
}

AliasRecord::AliasRecord(std::span<std::uint8_t> bytes) : b_(bytes) {
  if (bytes.size() != kSize) throw std::out_of_range("alias record of the wrong size");
}

std::size_t AliasRecord::length() const { return std::min<std::size_t>(b_[0], kMaxLength); }

std::u16string AliasRecord::text() const {
  std::u16string out;
  const std::size_t n = length();
  out.reserve(n);
  for (std::size_t i = 0; i < n; ++i) out += static_cast<char16_t>(b_[1 + i]);
  return out;
}

std::u16string AliasRecord::store(std::u16string_view text) {
  b_[0] = 0;
  for (std::size_t i = 0; i < text.size() && i < kMaxLength && text[i] != u'\0'; ++i) {
    b_[1 + i] = static_cast<std::uint8_t>(TransliterateCyrillic(text[i]) & 0xFF);
    b_[0] = static_cast<std::uint8_t>(i + 1);
  }
  return this->text();
}

}  // namespace wk
