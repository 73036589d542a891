#include "document/sms_text.h"

#include <algorithm>

namespace wk {
namespace {

bool isHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool isLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

}  // namespace

std::size_t PackSeptets(std::u16string_view units, std::span<std::uint8_t> out) {
  const std::size_t count = std::min(units.size(), SeptetsIn(out.size()));
  std::uint32_t acc = 0;
  unsigned bits = 0;
  std::size_t p = 0;
  for (std::size_t i = 0; i < count; ++i) {
    acc |= static_cast<std::uint32_t>(units[i] & 0x7F) << bits;
    bits += 7;
    out[p] = static_cast<std::uint8_t>(acc & 0xFF);
    if (bits >= 8) {
      acc >>= 8;
      bits -= 8;
      ++p;
      if (bits > 0) out[p] = static_cast<std::uint8_t>(acc & 0xFF);
    }
  }
  return bits > 0 ? p + 1 : p;
}

std::u16string UnpackSeptets(std::span<const std::uint8_t> in, std::size_t count) {
  count = std::min(count, SeptetsIn(in.size()));
  std::u16string out;
  out.reserve(count);
  std::uint32_t acc = 0;
  unsigned bits = 0;
  std::size_t q = 0;
  while (out.size() < count) {
    if (bits >= 7) {
      out += static_cast<char16_t>(acc & 0x7F);
      acc >>= 7;
      bits -= 7;
    } else {
      acc |= static_cast<std::uint32_t>(in[q++]) << bits;
      bits += 8;
    }
  }
  return out;
}

std::size_t EncodeUcs2Be(std::u16string_view units, std::span<std::uint8_t> out) {
  const std::size_t count = std::min(units.size(), out.size() / 2);
  for (std::size_t i = 0; i < count; ++i) {
    out[2 * i] = static_cast<std::uint8_t>(units[i] >> 8);
    out[2 * i + 1] = static_cast<std::uint8_t>(units[i] & 0xFF);
  }
  return count;
}

std::u16string DecodeUcs2Be(std::span<const std::uint8_t> in, std::size_t count) {
  count = std::min(count, in.size() / 2);
  std::u16string out(count, u'\0');
  for (std::size_t i = 0; i < count; ++i) out[i] = static_cast<char16_t>(in[2 * i] << 8 | in[2 * i + 1]);
  return out;
}

std::size_t CutLength(std::u16string_view text, std::size_t limit) {
  if (text.size() <= limit) return text.size();
  if (limit > 0 && isHighSurrogate(text[limit - 1]) && isLowSurrogate(text[limit])) return limit - 1;
  return limit;
}

}  // namespace wk
