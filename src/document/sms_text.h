#pragma once
// The text forms of an SMS message: 7-bit values packed eight into seven
// bytes, least significant bit first (the packing of 3GPP TS 23.038), and
// UCS-2 with the high byte first. The packed values are the characters' own
// codes; they are not mapped onto the GSM default alphabet.
//
// Every function works inside the span it is given: a count larger than the
// span holds gives as many characters as it holds.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace wk {

// How many characters n bytes hold packed (8 per 7 bytes), and the other way.
constexpr std::size_t SeptetsIn(std::size_t bytes) { return bytes * 8 / 7; }
constexpr std::size_t BytesForSeptets(std::size_t count) { return (count * 7 + 7) / 8; }

// Packs the low 7 bits of each unit into out, as many units as fit, and
// returns the number of bytes written. The unused high bits of the last byte
// are 0.
std::size_t PackSeptets(std::u16string_view units, std::span<std::uint8_t> out);
// The first count 7-bit values of in.
std::u16string UnpackSeptets(std::span<const std::uint8_t> in, std::size_t count);

// Two bytes per unit, high byte first; as many units as fit. Returns the
// number of units written.
std::size_t EncodeUcs2Be(std::u16string_view units, std::span<std::uint8_t> out);
std::u16string DecodeUcs2Be(std::span<const std::uint8_t> in, std::size_t count);

// The number of leading units of text to keep when at most limit fit: limit,
// or one less where the cut would part a surrogate pair.
std::size_t CutLength(std::u16string_view text, std::size_t limit);

}  // namespace wk
