#include "language/lng_file.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <optional>

#include "language/cp1251.h"
#include "util/file_io.h"

namespace wk::lng {
namespace {

constexpr std::uint16_t kUnicodeMarker = 0xFFFE;
constexpr std::uint64_t kMaxLength = 0x7FFFFFFF;

// A cursor over the data that never reads past its end: every read says
// whether there was enough left.
class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> data) : data_(data) {}

  std::size_t left() const { return data_.size() - at_; }

  template <typename T>
  bool read(T& value) {
    if (left() < sizeof(T)) return fail(ParseError::PastEnd);
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i) v |= std::uint64_t{data_[at_ + i]} << (8 * i);
    at_ += sizeof(T);
    value = static_cast<T>(v);
    return true;
  }

  std::span<const std::uint8_t> take(std::size_t bytes) {
    const auto part = data_.subspan(at_, bytes);
    at_ += bytes;
    return part;
  }

  bool fail(ParseError e) {
    error_ = e;
    return false;
  }
  ParseError error() const { return error_; }

 private:
  std::span<const std::uint8_t> data_;
  std::size_t at_ = 0;
  ParseError error_ = ParseError::None;
};

// The length ladder after its first byte has been found to be 0xFF: a 16-bit
// value below 0xFFFF, else a 32-bit value below 0xFFFFFFFF, else 64 bits.
std::optional<std::uint64_t> readWideLength(Reader& in, std::uint16_t word) {
  if (word < 0xFFFF) return word;
  std::uint32_t dword = 0;
  if (!in.read(dword)) return std::nullopt;
  if (dword < 0xFFFFFFFF) return dword;
  std::uint64_t qword = 0;
  if (!in.read(qword)) return std::nullopt;
  return qword;
}

std::optional<std::u16string> readString(Reader& in) {
  std::size_t unitSize = 1;
  std::uint64_t length = 0;
  std::uint8_t byte = 0;
  if (!in.read(byte)) return std::nullopt;
  if (byte < 0xFF) {
    length = byte;
  } else {
    std::uint16_t word = 0;
    if (!in.read(word)) return std::nullopt;
    if (word == kUnicodeMarker) {
      unitSize = 2;
      if (!in.read(byte)) return std::nullopt;
      if (byte < 0xFF) {
        length = byte;
      } else if (!in.read(word)) {
        return std::nullopt;
      }
    }
    if (unitSize == 1 || byte == 0xFF) {
      const auto wide = readWideLength(in, word);
      if (!wide) return std::nullopt;
      length = *wide;
    }
  }
  if (length > kMaxLength) {
    in.fail(ParseError::BadLength);
    return std::nullopt;
  }
  // Checked before allocating: a hostile length cannot make us reserve memory.
  if (length > in.left() / unitSize) {
    in.fail(ParseError::PastEnd);
    return std::nullopt;
  }
  const auto bytes = in.take(static_cast<std::size_t>(length) * unitSize);
  if (unitSize == 1) return cp1251ToUtf16(bytes);
  std::u16string text(static_cast<std::size_t>(length), u'\0');
  for (std::size_t i = 0; i < text.size(); ++i)
    text[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  return text;
}

void appendLe(std::vector<std::uint8_t>& out, std::uint64_t value, std::size_t bytes) {
  for (std::size_t i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void appendString(std::vector<std::uint8_t>& out, std::u16string_view text) {
  out.insert(out.end(), {0xFF, 0xFE, 0xFF});
  const std::size_t n = text.size();
  if (n <= 254) {
    appendLe(out, n, 1);
  } else if (n <= 0xFFFD) {
    out.push_back(0xFF);
    appendLe(out, n, 2);
  } else {
    out.insert(out.end(), {0xFF, 0xFF, 0xFF});
    appendLe(out, n, 4);
  }
  for (const char16_t unit : text) appendLe(out, unit, 2);
}

}  // namespace

ParseResult parse(std::span<const std::uint8_t> data, std::size_t maxPairs) {
  ParseResult result;
  Reader in(data);
  std::uint16_t count = 0;
  if (!in.read(count)) {
    result.error = in.error();
    return result;
  }
  // Each pair takes at least two bytes, so a count beyond that is no reason to
  // reserve room for it.
  const std::size_t wanted = std::min<std::size_t>(count, maxPairs);
  result.pairs.reserve(std::min(wanted, in.left() / 2));
  for (std::size_t i = 0; i < wanted; ++i) {
    auto original = readString(in);
    if (!original) break;
    auto translation = readString(in);
    if (!translation) break;
    result.pairs.push_back({std::move(*original), std::move(*translation)});
  }
  result.error = in.error();
  return result;
}

std::vector<std::uint8_t> serialize(std::span<const TranslationPair> pairs) {
  std::vector<std::uint8_t> out;
  appendLe(out, std::min(pairs.size(), kMaxPairs), 2);
  for (std::size_t i = 0; i < pairs.size() && i < kMaxPairs; ++i) {
    appendString(out, pairs[i].original);
    appendString(out, pairs[i].translation);
  }
  return out;
}

FileResult readFile(const std::string& path, std::size_t maxPairs, std::string* reason) {
  FileResult result;
  // A file above the limit is refused unread.
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  const bool tooLarge = !ec && size > kMaxFileBytes;
  const std::size_t bound = tooLarge ? 0 : ec ? kMaxFileBytes : static_cast<std::size_t>(size);
  const auto data = readFileHead(path, bound + 1, reason);
  if (!data) return result;
  result.opened = true;
  if (tooLarge || data->size() > kMaxFileBytes) {
    result.content.error = ParseError::TooLarge;
    return result;
  }
  result.content = parse(*data, maxPairs);
  return result;
}

}  // namespace wk::lng
