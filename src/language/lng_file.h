#pragma once
// The .lng language file: a 16-bit pair count, then for each pair the original
// text and its translation as length-prefixed strings. All values little-endian.
//
// A string is written as FF FE FF (the UTF-16 marker), its length in UTF-16
// code units (one byte up to 254; else FF and 16 bits up to 0xFFFD; else
// FF FF FF and 32 bits), then the code units. Reading also accepts strings of
// one byte per character (no marker), taken as Windows-1251, and every step of
// the length ladder up to a 64-bit length that fits in 31 bits.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace wk {

struct TranslationPair {
  std::u16string original;
  std::u16string translation;
  bool operator==(const TranslationPair&) const = default;
};

namespace lng {

inline constexpr std::size_t kMaxPairs = 0xFFFF;  // the count is 16 bits wide
// Larger files are refused unread: a real one is a few hundred kilobytes.
inline constexpr std::size_t kMaxFileBytes = 64u << 20;

enum class ParseError {
  None,
  PastEnd,    // the count, a length or a string runs past the end of the data
  BadLength,  // a length that does not fit in 31 bits
  TooLarge,   // the file is larger than kMaxFileBytes
};

struct ParseResult {
  // Every pair read completely before an error, at most maxPairs of them.
  std::vector<TranslationPair> pairs;
  ParseError error = ParseError::None;
};

// Reads at most maxPairs pairs; what follows them is not looked at. Lengths
// are checked against the bytes left before anything is allocated.
ParseResult parse(std::span<const std::uint8_t> data, std::size_t maxPairs = kMaxPairs);

// At most kMaxPairs pairs are written (callers keep to it).
std::vector<std::uint8_t> serialize(std::span<const TranslationPair> pairs);

// Reads the file; nothing when it cannot be opened (then *reason says why).
struct FileResult {
  bool opened = false;
  ParseResult content;
};
FileResult readFile(const std::string& path, std::size_t maxPairs = kMaxPairs,
                    std::string* reason = nullptr);

}  // namespace lng
}  // namespace wk
