#pragma once
// The controller searches one of its three 1-Wire buses and hands over the
// registration numbers it found, one at a time; each is checked with the
// 1-Wire CRC-8 before it is kept.
#include <array>
#include <cstdint>
#include <string>

#include "document/onewire_records.h"
#include "document/rom_code.h"
#include "link/device_session.h"

namespace wk {

// The devices of one bus, contiguous from entry 0; the rest are empty.
using SerialList = std::array<RomCode, onewire::kSlotCount>;

namespace onewire {
// Bus 0 and 1 carry sensors, bus 2 the iButton key reader.
inline constexpr int kBusCount = 3;
inline constexpr int kKeyBus = 2;
inline constexpr std::uint8_t kNextDevice = 'n';
// The bus as the user knows it ("1Wire channel 1", ...), untranslated.
std::string_view busName(int bus);
}  // namespace onewire

// Asks the controller for the devices on bus (0..2). Returns how many entries
// of list were filled (0..16), or -1 when the exchange failed: then the user
// was told, and the entries read and checked before the failure stay in the
// list. A bus with more than 16 devices gives its first 16 and a message.
// The port is closed and the progress window gone when this returns.
int ReadChannelSerials(const link::DeviceLink& link, int bus, SerialList& list);

}  // namespace wk
