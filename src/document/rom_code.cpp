#include "document/rom_code.h"

#include <algorithm>

namespace wk {
namespace {

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

RomCode RomCode::from(std::span<const std::uint8_t> eight) {
  RomCode code;
  std::copy_n(eight.begin(), std::min(eight.size(), kSize), code.bytes.begin());
  return code;
}

std::optional<RomCode> RomCode::parse(std::string_view text) {
  if (text.size() != 2 * kSize) return std::nullopt;
  RomCode code;
  for (std::size_t i = 0; i < kSize; ++i) {
    const int high = hexDigit(text[2 * i]);
    const int low = hexDigit(text[2 * i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    code.bytes[i] = static_cast<std::uint8_t>(high * 16 + low);
  }
  return code;
}

bool RomCode::isEmpty() const {
  return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; });
}

std::string RomCode::text() const {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(2 * kSize);
  for (const std::uint8_t b : bytes) {
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
  }
  return out;
}

}  // namespace wk
