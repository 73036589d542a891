#include "document/centidegrees.h"

#include <cmath>

#include "util/bytes.h"
#include "util/number_text.h"

namespace wk {

std::int16_t Centidegrees::read(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::int16_t>(readLe16(bytes, at));
}

void Centidegrees::write(std::span<std::uint8_t> bytes, std::size_t at, std::int16_t value) {
  writeLe16(bytes, at, static_cast<std::uint16_t>(value));
}

std::string Centidegrees::text(std::int16_t value) { return fixedText(value / 100.0, 2); }

std::optional<std::int16_t> Centidegrees::fromDegrees(double degrees) {
  if (std::isnan(degrees)) return std::nullopt;
  // A single-precision 0.69 is slightly below 0.69: rounding, not cutting,
  // makes every shown value read back as itself.
  const double hundredths = std::round(degrees * 100.0);
  if (hundredths <= kMin) return kMin;
  if (hundredths >= kMax) return kMax;
  return static_cast<std::int16_t>(hundredths);
}

std::optional<std::int16_t> Centidegrees::parse(std::u16string_view text) {
  const auto degrees = scanFloat(text);
  if (!degrees) return std::nullopt;
  return fromDegrees(*degrees);
}

}  // namespace wk
