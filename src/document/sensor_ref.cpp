#include "document/sensor_ref.h"

#include "util/bytes.h"
#include "util/number_text.h"
#include "util/strformat.h"

namespace wk {

SensorRef SensorRef::fromByte(std::uint8_t byte) { return {getBits(byte, 0, 1) + 1, getBits(byte, 1, 4) + 1}; }

void SensorRef::storeInto(std::uint8_t& byte) const {
  // Unsigned, so that any number read from a text wraps instead of overflowing.
  setBits(byte, 0, 1, static_cast<unsigned>(bus) - 1u);
  setBits(byte, 1, 4, static_cast<unsigned>(slot) - 1u);
}

std::string SensorRef::text() const { return strprintf("T%d.%.2d", bus, slot); }

std::optional<SensorRef> SensorRef::parse(std::u16string_view text) {
  const std::string chars = scannableText(text);
  std::string_view rest(chars);
  // As the format reads it: 'T' exactly, a number, '.' exactly, a number.
  if (rest.empty() || rest.front() != 'T') return std::nullopt;
  rest.remove_prefix(1);
  std::size_t used = 0;
  const auto bus = scanInt(rest, &used);
  if (!bus) return std::nullopt;
  rest.remove_prefix(used);
  if (rest.empty() || rest.front() != '.') return std::nullopt;
  rest.remove_prefix(1);
  const auto slot = scanInt(rest);
  if (!slot) return std::nullopt;
  return SensorRef{*bus, *slot};
}

std::vector<std::string> SensorRef::listTexts() {
  std::vector<std::string> out;
  for (int bus = 1; bus <= kBusCount; ++bus)
    for (int slot = 1; slot <= kSlotsPerBus; ++slot) out.push_back(SensorRef{bus, slot}.text());
  return out;
}

}  // namespace wk
