#pragma once
// Language files for tests, written byte by byte in the .lng layout: a 16-bit
// pair count, then each text as FF FE FF, its length in UTF-16 code units
// (one byte up to 254, else FF and 16 bits) and its UTF-16LE code units.
#include <string>
#include <utility>
#include <vector>

namespace wk::test {

using TranslationPairs = std::vector<std::pair<std::string, std::string>>;  // UTF-8 original, translation

void writeLanguageFile(const std::string& path, const TranslationPairs& pairs);

}  // namespace wk::test
