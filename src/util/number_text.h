#pragma once
// Numbers read from and written into cell texts the way the program's "%d",
// "%f" and "%.02f" formats do, whatever the user's locale: leading blanks are
// skipped, the number is taken from the start of the text and anything after
// it is ignored; the decimal point is always '.'.
#include <optional>
#include <string>
#include <string_view>

namespace wk {

// "%d": an optional sign and decimal digits. A number beyond the range of int
// gives the nearest end of that range. Nothing when the text does not start
// (after blanks) with a number. used, when given, gets the count of characters
// read (blanks included).
std::optional<int> scanInt(std::string_view text, std::size_t* used = nullptr);
// "%f" into a single-precision number: decimal or hexadecimal digits with an
// optional exponent, "inf" or "nan". A number too large for a float gives an
// infinity, one too small gives zero.
std::optional<float> scanFloat(std::string_view text);

// The same for UTF-16 cell texts; a code unit outside ASCII ends the number.
std::optional<int> scanInt(std::u16string_view text);
std::optional<float> scanFloat(std::u16string_view text);
// A UTF-16 text as the scanners above see it: up to its first NUL, each code
// unit outside ASCII replaced by a byte that no blank and no number holds.
std::string scannableText(std::u16string_view text);

// value with exactly decimals digits after the point, rounded to nearest ("%.2f").
std::string fixedText(double value, int decimals);

}  // namespace wk
