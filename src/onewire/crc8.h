#pragma once
// The 1-Wire CRC-8 of Maxim/Dallas (X^8 + X^5 + X^4 + 1, least significant
// bit first, initial value 0, no final XOR). Run over a whole registration
// number, CRC byte included, it gives 0 for a valid one.
#include <cstdint>
#include <span>

#include "document/rom_code.h"

namespace wk {

std::uint8_t OneWireCrc8(std::span<const std::uint8_t> bytes);
inline std::uint8_t OneWireCrc8(const RomCode& code) { return OneWireCrc8(code.bytes); }

}  // namespace wk
