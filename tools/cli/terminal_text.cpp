#include "terminal_text.h"

#include <cstdint>
#include <cstdio>

namespace wk::cli {
namespace {

// The length of the well-formed UTF-8 character at text[at], or 0.
std::size_t characterLength(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
  const std::uint8_t lead = byte(at);
  std::size_t n = 0;
  std::uint32_t c = 0;
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    n = 2;
    c = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    n = 3;
    c = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    n = 4;
    c = lead & 0x07;
  } else {
    return 0;
  }
  if (at + n > text.size()) return 0;
  for (std::size_t i = 1; i < n; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
    c = (c << 6) | (byte(at + i) & 0x3F);
  }
  // Overlong forms, surrogates and values past U+10FFFF are no characters.
  if ((n == 3 && c < 0x800) || (n == 4 && (c < 0x10000 || c > 0x10FFFF)) || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  return n;
}

bool isC1(std::string_view text, std::size_t at, std::size_t length) {
  return length == 2 && static_cast<std::uint8_t>(text[at]) == 0xC2 && static_cast<std::uint8_t>(text[at + 1]) < 0xA0;
}

bool isControlByte(std::uint8_t b) { return b < 0x20 || b == 0x7F; }

}  // namespace

std::string escapeControls(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  char buffer[8];
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = characterLength(text, at);
    const auto b = static_cast<std::uint8_t>(text[at]);
    if (length == 0 || (length == 1 && isControlByte(b))) {
      std::snprintf(buffer, sizeof buffer, "\\x%02x", b);
      out += buffer;
      ++at;
    } else if (isC1(text, at, length)) {
      std::snprintf(buffer, sizeof buffer, "\\u%04x", static_cast<unsigned>(static_cast<std::uint8_t>(text[at + 1])));
      out += buffer;
      at += 2;
    } else {
      out.append(text.substr(at, length));
      at += length;
    }
  }
  return out;
}



std::string cutText(std::string_view text, std::size_t limit) {
  if (text.size() <= limit) return std::string(text);
  std::size_t end = limit;
  while (end > 0 && (static_cast<std::uint8_t>(text[end]) & 0xC0) == 0x80) --end;
  return std::string(text.substr(0, end)) + "...";
}

}  // namespace wk::cli
