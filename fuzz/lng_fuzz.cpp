// The .lng reader, fed any bytes as a file, and the translation table built
// from what it read.
#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "language/lng_file.h"
#include "language/translation_table.h"
#include "support/quiet_seams.h"

using namespace wk;

namespace {

// The table's answer, the slow way: the first pair within the search limit.
std::u16string expectedTranslation(const std::vector<TranslationPair>& pairs, std::u16string_view text) {
  std::size_t limit = 0;
  for (std::size_t i = 0; i < pairs.size(); ++i)
    if (!pairs[i].original.empty()) limit = i + 5;
  for (std::size_t i = 0; i < pairs.size() && i < limit; ++i)
    if (pairs[i].original == text) return pairs[i].translation;
  return std::u16string(text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> file(data, size);
  const lng::ParseResult all = lng::parse(file);
  const lng::ParseResult capped = lng::parse(file, TranslationTable::kCapacity);
  // The cap only stops the reading early: what follows it is not looked at.
  WK_FUZZ_CHECK(capped.pairs.size() == std::min(all.pairs.size(), TranslationTable::kCapacity));
  WK_FUZZ_CHECK(std::equal(capped.pairs.begin(), capped.pairs.end(), all.pairs.begin()));
  if (all.pairs.size() < TranslationTable::kCapacity) WK_FUZZ_CHECK(capped.error == all.error);
  else WK_FUZZ_CHECK(capped.error == lng::ParseError::None);

  // What was read writes out and reads back the same, without an error.
  const std::vector<std::uint8_t> written = lng::serialize(all.pairs);
  const lng::ParseResult reread = lng::parse(written);
  WK_FUZZ_CHECK(reread.error == lng::ParseError::None);
  WK_FUZZ_CHECK(reread.pairs == all.pairs);

  // The table translates as the first pair within its limit says, copies
  // included.
  TranslationTable table;
  table.assign(capped.pairs);
  const TranslationTable copy = table;
  for (const TranslationPair& pair : capped.pairs) {
    const std::u16string expected = expectedTranslation(capped.pairs, pair.original);
    WK_FUZZ_CHECK(table.translate(pair.original) == expected);
    WK_FUZZ_CHECK(copy.translate(pair.original) == expected);
  }
  return 0;
}
