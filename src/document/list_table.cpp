#include "document/list_table.h"

#include "language/translate.h"
#include "util/utf.h"

namespace wk {
namespace {
std::u16string translated(const ListItem& item) { return translate(utf8ToUtf16(item.text)); }
}  // namespace

const ListItem* ListTable::find(std::uint8_t code) const {
  for (const ListItem& item : items_)
    if (item.code == code) return &item;
  return nullptr;
}

std::optional<std::u16string> ListTable::textOf(std::uint8_t code) const {
  const ListItem* item = find(code);
  if (!item) return std::nullopt;
  return translated(*item);
}

std::u16string ListTable::shownText(std::uint8_t code) const {
  if (auto text = textOf(code)) return *std::move(text);
  return u"(" + utf8ToUtf16(std::to_string(code)) + u")";
}

std::optional<std::uint8_t> ListTable::codeOf(std::u16string_view text) const {
  for (const ListItem& item : items_)
    if (translated(item) == text) return item.code;
  return std::nullopt;
}

std::vector<std::u16string> ListTable::texts() const {
  std::vector<std::u16string> out;
  out.reserve(items_.size());
  for (const ListItem& item : items_) out.push_back(translated(item));
  return out;
}

Rgb ListTable::colourOf(std::uint8_t code) const {
  const ListItem* item = find(code);
  return item ? item->colour : kOddCodeColour;
}

}  // namespace wk
