#pragma once
// The counted one-byte-per-character alias texts that the controller puts into
// its SMS messages (channel, output and sensor aliases), and the mapping of the
// Cyrillic letters an installer may type onto the controller's Latin bytes.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "document/config_image.h"

namespace wk {

// U+0410..U+044F become their Latin look-alike in the low byte (high byte
// kept); every other code unit is returned unchanged.
char16_t TransliterateCyrillic(char16_t unit);

// 32 bytes: length L (0..31), then L one-byte characters.
class AliasRecord {
 public:
  static constexpr std::size_t kSize = image::kAliasRecordSize;
  static constexpr std::size_t kMaxLength = kSize - 1;

  explicit AliasRecord(std::span<std::uint8_t> bytes);

  std::size_t length() const;
  // The stored bytes widened to characters; a length byte above 31 is read as 31.
  std::u16string text() const;
  // Stores the characters up to the first NUL, the end or 31 characters, each
  // as the low byte of its transliteration. Bytes after the text are kept.
  // Returns text() afterwards: what the cell shows back, as the controller
  // will send it.
  std::u16string store(std::u16string_view text);

 private:
  std::span<std::uint8_t> b_;
};

}  // namespace wk
