#pragma once
// A 1-Wire registration number as the controller hands it over and as the
// sensor and key slots store it: family code, 48-bit serial number, CRC byte,
// in this order and never reordered. Eight zero bytes mean an empty slot.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace wk {

struct RomCode {
  static constexpr std::size_t kSize = 8;
  std::array<std::uint8_t, kSize> bytes{};

  static RomCode from(std::span<const std::uint8_t> eight);
  // Sixteen hexadecimal digits (either case, nothing else); nothing otherwise.
  static std::optional<RomCode> parse(std::string_view text);

  bool isEmpty() const;
  std::uint8_t family() const { return bytes[0]; }
  // The 8 bytes in stored order, each as two upper-case hex digits.
  std::string text() const;

  friend bool operator==(const RomCode&, const RomCode&) = default;
};

}  // namespace wk
