#pragma once
// The drop-down lists of the section editors as data: each item's stored code,
// its English text (translated when shown) and, for the lists that colour a
// row, the row's background. The pages fill their lists from these tables and
// the command line decodes and encodes configurations with the same ones.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace wk {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend constexpr bool operator==(Rgb, Rgb) = default;
};

// The background of a row whose stored code no item of its list carries (a
// value read from a file or a controller that the editor never writes).
inline constexpr Rgb kOddCodeColour{255, 255, 192};

struct ListItem {
  std::uint8_t code;
  const char* text;  // English, as stored
  Rgb colour{};      // row background, for the lists that have one
};

class ListTable {
 public:
  constexpr explicit ListTable(std::span<const ListItem> items) : items_(items) {}

  // The items in list order (which may differ from code order).
  constexpr std::span<const ListItem> items() const { return items_; }
  constexpr std::size_t size() const { return items_.size(); }
  // The first items only, in list order.
  constexpr ListTable first(std::size_t count) const { return ListTable(items_.first(count)); }

  // The item that carries code; nullptr when none does.
  const ListItem* find(std::uint8_t code) const;
  // The translated text of code; nothing for a code no item carries.
  std::optional<std::u16string> textOf(std::uint8_t code) const;
  // The translated text of code, or "(code)" for a code no item carries: a
  // text that matches no item, so that storing it back leaves the code alone.
  std::u16string shownText(std::uint8_t code) const;
  // The code of the first item, in list order, whose translated text equals
  // text exactly; nothing when none does.
  std::optional<std::uint8_t> codeOf(std::u16string_view text) const;
  // The translated texts in list order, for a drop-down list.
  std::vector<std::u16string> texts() const;
  // The row colour of code, or kOddCodeColour for a code no item carries.
  Rgb colourOf(std::uint8_t code) const;

 private:
  std::span<const ListItem> items_;
};

}  // namespace wk
