#pragma once
// Windows-1251, the ANSI code page of the Russian Windows desktops on which
// this controller's language files were made: their single-byte strings are
// read with it.
#include <cstdint>
#include <span>
#include <string>

namespace wk {

// The character of one Windows-1251 byte. 0x98, which the code page leaves
// unassigned, becomes U+0098 as on Windows.
char16_t cp1251ToUtf16(std::uint8_t byte);
std::u16string cp1251ToUtf16(std::span<const std::uint8_t> bytes);

}  // namespace wk
