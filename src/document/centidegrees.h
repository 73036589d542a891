#pragma once
// A temperature in hundredths of a degree Celsius, as the user events'
// thresholds and the outputs' hysteresis hold it: a signed 16-bit
// little-endian field, -327.68 .. 327.67 degrees.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace wk {

struct Centidegrees {
  static constexpr std::int16_t kMin = INT16_MIN;
  static constexpr std::int16_t kMax = INT16_MAX;

  static std::int16_t read(std::span<const std::uint8_t> bytes, std::size_t at);
  static void write(std::span<std::uint8_t> bytes, std::size_t at, std::int16_t value);

  // "%.02f" of the degrees: 2550 gives 25.50, -1050 gives -10.50.
  static std::string text(std::int16_t value);
  // Degrees brought to the nearest hundredth (halves away from zero) and
  // clamped to the field's range; nothing for NaN.
  static std::optional<std::int16_t> fromDegrees(double degrees);
  // A cell's text read as "%f" (single precision), then fromDegrees(). Every
  // text() reads back as the value it shows. Nothing when no number is read.
  static std::optional<std::int16_t> parse(std::u16string_view text);
};

}  // namespace wk
