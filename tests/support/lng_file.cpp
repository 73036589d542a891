#include "support/lng_file.h"

#include <cstdint>

#include "support/temp_dir.h"
#include "util/utf.h"

namespace wk::test {
namespace {

void putText(std::vector<std::uint8_t>& out, const std::string& utf8) {
  const std::u16string text = utf8ToUtf16(utf8);
  out.insert(out.end(), {0xFF, 0xFE, 0xFF});
  if (text.size() <= 254) {
    out.push_back(static_cast<std::uint8_t>(text.size()));
  } else {
    out.push_back(0xFF);
    out.push_back(static_cast<std::uint8_t>(text.size() & 0xFF));
    out.push_back(static_cast<std::uint8_t>(text.size() >> 8));
  }
  for (char16_t unit : text) {
    out.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    out.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
}

}  // namespace

void writeLanguageFile(const std::string& path, const TranslationPairs& pairs) {
  std::vector<std::uint8_t> bytes = {static_cast<std::uint8_t>(pairs.size() & 0xFF),
                                     static_cast<std::uint8_t>(pairs.size() >> 8)};
  for (const auto& [original, translation] : pairs) {
    putText(bytes, original);
    putText(bytes, translation);
  }
  writeBytes(path, bytes);
}

}  // namespace wk::test
