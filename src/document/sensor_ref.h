#pragma once
// A thermosensor slot named by a user event or an output: bus 1 or 2 (the two
// thermosensor channels) and slot 1..16 of that bus's sensor list, kept in one
// byte: bit 0 the bus minus 1, bits 1..4 the slot minus 1. Bits 5..7 belong to
// no editor and are kept on every write.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wk {

struct SensorRef {
  static constexpr int kBusCount = 2;
  static constexpr int kSlotsPerBus = 16;

  int bus = 1;
  int slot = 1;

  static SensorRef fromByte(std::uint8_t byte);
  // Bits 0..4 of byte become (bus - 1) & 1 and (slot - 1) & 15; bits 5..7 stay.
  void storeInto(std::uint8_t& byte) const;

  // "T%d.%.2d": T1.01 .. T2.16.
  std::string text() const;
  // The text read back as "T%d.%d" (so T2.5 names slot 5 as T2.05 does). The
  // numbers are kept as read, storeInto() brings them into the byte's fields;
  // nothing when the text does not give both.
  static std::optional<SensorRef> parse(std::u16string_view text);
  // The drop-down list: T1.01 .. T1.16, then T2.01 .. T2.16.
  static std::vector<std::string> listTexts();

  friend bool operator==(const SensorRef&, const SensorRef&) = default;
};

}  // namespace wk
