#pragma once
// The program's translation table: up to 2000 (original, translation) pairs in
// file order. A text is translated by the first pair, within the search limit,
// whose original equals it exactly (UTF-16 code units; case, blanks and
// punctuation count).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "language/lng_file.h"

namespace wk {

class TranslationTable {
 public:
  static constexpr std::size_t kCapacity = 2000;

  TranslationTable() = default;
  // The index views the pairs' own strings, so a copy builds its own index
  // over its own pairs; a move takes the pairs' storage along with it.
  TranslationTable(const TranslationTable& other);
  TranslationTable& operator=(const TranslationTable& other);
  TranslationTable(TranslationTable&& other) noexcept;
  TranslationTable& operator=(TranslationTable&& other) noexcept;

  // Empties the table, then takes the first kCapacity of pairs.
  void assign(std::vector<TranslationPair> pairs);
  void clear();

  // Empties the table, then loads the file. A file that cannot be opened
  // leaves the table empty; a damaged one leaves the pairs read completely
  // before the damage; of a longer file only the first kCapacity pairs count.
  // Returns what the reading found.
  lng::ParseError loadFile(const std::string& path);

  // The translation of the whole text, or the text itself.
  std::u16string translate(std::u16string_view text) const;

  std::uint16_t count() const { return static_cast<std::uint16_t>(pairs_.size()); }
  // 0 when no pair has a non-empty original, else the position of the last
  // pair with one, plus 5. Lookups see pairs below it and below count().
  std::size_t searchLimit() const { return searchLimit_; }

 private:
  std::vector<TranslationPair> pairs_;
  std::size_t searchLimit_ = 0;
  // Original -> position of its first pair inside the searched range.
  std::unordered_map<std::u16string_view, std::size_t> index_;
};

}  // namespace wk
