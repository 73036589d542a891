#pragma once
// Little-endian values and bit fields inside byte buffers.
#include <cstdint>
#include <span>

namespace wk {

inline std::uint16_t readLe16(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}
inline void writeLe16(std::span<std::uint8_t> b, std::size_t at, std::uint16_t v) {
  b[at] = static_cast<std::uint8_t>(v & 0xFF);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
inline std::uint32_t readLe32(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
         (static_cast<std::uint32_t>(b[at + 2]) << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
inline void writeLe32(std::span<std::uint8_t> b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

// The field of width bits starting at bit shift.
constexpr std::uint8_t getBits(std::uint8_t byte, unsigned shift, unsigned width) {
  return static_cast<std::uint8_t>((byte >> shift) & ((1u << width) - 1u));
}
// Replaces that field with the low width bits of value; other bits stay.
constexpr void setBits(std::uint8_t& byte, unsigned shift, unsigned width, unsigned value) {
  const unsigned mask = ((1u << width) - 1u) << shift;
  byte = static_cast<std::uint8_t>((byte & ~mask) | ((value << shift) & mask));
}

}  // namespace wk
