#include "onewire/family_table.h"

#include <algorithm>

namespace wk {

FamilyText FamilyTexts(std::uint8_t family) {
  const auto row = std::ranges::find(OneWireFamilyTable, family, &FamilyRow::code);
  if (row == OneWireFamilyTable.end()) return {};
  return {row->partNames, row->description};
}

bool isThermometerFamily(std::uint8_t family) {
  return family == 0x10 || family == 0x22 || family == 0x25 || family == 0x28;
}

}  // namespace wk
