#include "language/translation_table.h"

#include <algorithm>

namespace wk {

TranslationTable::TranslationTable(const TranslationTable& other) { assign(other.pairs_); }

TranslationTable& TranslationTable::operator=(const TranslationTable& other) {
  if (this != &other) assign(other.pairs_);
  return *this;
}

TranslationTable::TranslationTable(TranslationTable&& other) noexcept
    : pairs_(std::move(other.pairs_)), searchLimit_(other.searchLimit_), index_(std::move(other.index_)) {
  other.clear();
}

TranslationTable& TranslationTable::operator=(TranslationTable&& other) noexcept {
  if (this != &other) {
    pairs_ = std::move(other.pairs_);
    searchLimit_ = other.searchLimit_;
    index_ = std::move(other.index_);
    other.clear();
  }
  return *this;
}

void TranslationTable::clear() {
  index_.clear();
  pairs_.clear();
  searchLimit_ = 0;
}

void TranslationTable::assign(std::vector<TranslationPair> pairs) {
  clear();
  if (pairs.size() > kCapacity) pairs.resize(kCapacity);
  pairs_ = std::move(pairs);
  for (std::size_t i = 0; i < pairs_.size(); ++i)
    if (!pairs_[i].original.empty()) searchLimit_ = i + 5;
  // The index views the pairs' own strings, which stay put from here on.
  const std::size_t searched = std::min(searchLimit_, pairs_.size());
  index_.reserve(searched);
  for (std::size_t i = 0; i < searched; ++i) index_.emplace(pairs_[i].original, i);  // first pair wins
}

lng::ParseError TranslationTable::loadFile(const std::string& path) {
  clear();
  auto file = lng::readFile(path, kCapacity);
  if (!file.opened) return lng::ParseError::None;
  assign(std::move(file.content.pairs));
  return file.content.error;
}

std::u16string TranslationTable::translate(std::u16string_view text) const {
  const auto it = index_.find(text);
  return it == index_.end() ? std::u16string(text) : pairs_[it->second].translation;
}

}  // namespace wk
