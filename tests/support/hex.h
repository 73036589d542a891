#pragma once
// Byte strings written as hex ("76 69 00"), the way the layouts and exchanges are documented.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace wk::test {

inline std::vector<std::uint8_t> hex(std::string_view text) {
  std::vector<std::uint8_t> out;
  int high = -1;
  for (const char c : text) {
    int v = -1;
    if (c >= '0' && c <= '9') v = c - '0';
    else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
    if (v < 0) continue;
    if (high < 0) {
      high = v;
    } else {
      out.push_back(static_cast<std::uint8_t>(high * 16 + v));
      high = -1;
    }
  }
  return out;
}

// The bytes as "76 69 00".
inline std::string hexOf(const std::vector<std::uint8_t>& bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (const std::uint8_t b : bytes) {
    if (!out.empty()) out += ' ';
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
  }
  return out;
}

inline std::vector<std::uint8_t> join(std::vector<std::uint8_t> a, const std::vector<std::uint8_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace wk::test
