#include "onewire/crc8.h"

namespace wk {

std::uint8_t OneWireCrc8(std::span<const std::uint8_t> bytes) {
  std::uint8_t crc = 0;
  for (std::uint8_t byte : bytes) {
    for (int bit = 0; bit < 8; ++bit) {
      const bool mix = ((crc ^ byte) & 1) != 0;
      crc = static_cast<std::uint8_t>(crc >> 1);
      if (mix) crc ^= 0x8C;
      byte = static_cast<std::uint8_t>(byte >> 1);
    }
  }
  return crc;
}

}  // namespace wk
