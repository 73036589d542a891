#pragma once
// Conversions between the UTF-8 strings of the core's messages and the UTF-16
// code units that translation, aliases and language files work on.
#include <cstdint>
#include <string>
#include <string_view>

namespace wk {

// Invalid UTF-8 becomes U+FFFD.
std::u16string utf8ToUtf16(std::string_view text);
// A lone surrogate becomes U+FFFD.
std::string utf16ToUtf8(std::u16string_view text);
// The byte taken as the character with the same code (U+0000..U+00FF), in UTF-8.
std::string byteAsCharacter(std::uint8_t byte);
// Whether the text holds a C0 or C1 control character or DEL (U+0000..U+001F,
// U+007F..U+009F): what no text field of the program stores.
bool holdsControlCharacter(std::u16string_view text);

}  // namespace wk
