// The 1-Wire exchanges against a controller made of fuzz bytes (see
// support/fuzzed_peer.h): the serial-number search of one bus, and the
// temperature monitor started and ticked as its dialog does. The first byte
// chooses: bit 0 monitor, bits 1..2 the bus (modulo 3), bit 3 a port that does not open;
// a monitor then takes the number of ticks and the sensor's eight bytes.
#include <cstdint>
#include <memory>
#include <span>

#include "link/device_operation.h"
#include "onewire/crc8.h"
#include "onewire/read_serials.h"
#include "onewire/temperature_monitor.h"
#include "seams/settings.h"
#include "support/fuzzed_peer.h"
#include "support/quiet_seams.h"

using namespace wk;

namespace {

void search(fuzz::FuzzedPeer& peer, const link::DeviceLink& link, fuzz::QuietPrompter& prompter, int bus) {
  SerialList list;
  const int result = ReadChannelSerials(link, bus, list);
  WK_FUZZ_CHECK(result >= -1 && result <= static_cast<int>(list.size()));
  WK_FUZZ_CHECK(!peer.isOpen());
  WK_FUZZ_CHECK(!link::DeviceOperation::running());
  // Only checked codes are kept; past the count the list is empty.
  for (const RomCode& rom : list) WK_FUZZ_CHECK(OneWireCrc8(rom) == 0);
  for (int i = result < 0 ? static_cast<int>(list.size()) : result; i < static_cast<int>(list.size()); ++i)
    WK_FUZZ_CHECK(list[static_cast<std::size_t>(i)].isEmpty());
  if (result < 0) WK_FUZZ_CHECK(prompter.messages > 0);
}

void monitor(fuzz::FuzzedPeer& peer, const link::DeviceLink& link, fuzz::QuietPrompter& prompter) {
  const int ticks = peer.takeByte() % 16;
  RomCode sensor;
  for (auto& b : sensor.bytes) b = peer.takeByte();
  TemperatureMonitor m(link);
  bool running = m.start(sensor);
  WK_FUZZ_CHECK(running == m.running());
  WK_FUZZ_CHECK(running == peer.isOpen());
  if (!running) WK_FUZZ_CHECK(prompter.messages > 0);
  for (int i = 0; i < ticks && running; ++i) {
    const std::size_t before = prompter.messages;
    running = m.tick([](std::int16_t) {});
    // A monitor that stops has told the user why and closed the port.
    if (!running) WK_FUZZ_CHECK(prompter.messages > before && !peer.isOpen() && !m.running());
  }
  m.stop();
  WK_FUZZ_CHECK(!peer.isOpen());
  WK_FUZZ_CHECK(!link::DeviceOperation::running());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzedPeer peer(std::span(data, size));
  const std::uint8_t choice = peer.takeByte();
  peer.failOpen = (choice & 0x08) != 0;
  fuzz::QuietPrompter prompter;
  fuzz::FakeClock clock;
  MemorySettings settings;
  const link::DeviceLink link{peer, prompter, settings, clock, [] { return std::make_unique<fuzz::NullProgress>(); }};
  if (choice & 0x01)
    monitor(peer, link, prompter);
  else
    search(peer, link, prompter, ((choice >> 1) & 0x03) % onewire::kBusCount);
  return 0;
}
