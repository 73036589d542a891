#include "util/number_text.h"

#include <charconv>
#include <climits>
#include <clocale>
#include <cstdlib>
#include <locale.h>

namespace wk {
namespace {

// The "C" locale, for strtof and strtol: the program's locale (which Qt takes
// from the environment) must not turn the decimal point into a comma.
locale_t cLocale() {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return c;
}

}  // namespace

std::optional<int> scanInt(std::string_view text, std::size_t* used) {
  const std::string z(text.substr(0, text.find('\0')));
  char* end = nullptr;
  const long long value = strtoll_l(z.c_str(), &end, 10, cLocale());
  if (end == z.c_str()) return std::nullopt;
  if (used) *used = static_cast<std::size_t>(end - z.c_str());
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

std::optional<float> scanFloat(std::string_view text) {
  const std::string z(text.substr(0, text.find('\0')));
  char* end = nullptr;
  const float value = strtof_l(z.c_str(), &end, cLocale());
  if (end == z.c_str()) return std::nullopt;
  return value;
}

std::string scannableText(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char16_t unit : text) {
    if (unit == u'\0') break;
    out += unit < 0x80 ? static_cast<char>(unit) : '\x01';
  }
  return out;
}

std::optional<int> scanInt(std::u16string_view text) { return scanInt(scannableText(text)); }
std::optional<float> scanFloat(std::u16string_view text) { return scanFloat(scannableText(text)); }

std::string fixedText(double value, int decimals) {
  char buffer[400];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  if (result.ec != std::errc()) return {};
  return std::string(buffer, result.ptr);
}

}  // namespace wk
