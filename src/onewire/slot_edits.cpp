#include "onewire/slot_edits.h"

#include <cctype>

#include "language/translate.h"
#include "onewire/family_table.h"
#include "util/strformat.h"

namespace wk::onewire {
namespace {

std::string thermoRequests(int count) {
  return strprintf("%d ", count) + tr(error_sensitivity::kThermoRequests);
}

// The leading decimal number of text as "%d" reads it, modulo 64: blanks,
// a sign, digits. Only the low six bits are kept, so no text can overflow.
unsigned leadingNumberLow6(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  unsigned value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    value = (value * 10 + static_cast<unsigned>(text[i] - '0')) & 63u;
  return negative ? (64u - value) & 63u : value;
}

}  // namespace

DeviceTexts deviceTexts(const RomCode& rom) {
  const FamilyText family = FamilyTexts(rom.family());
  return {rom.text(), rom.isEmpty(), std::string(family.partNames),
          family.description.empty() ? std::string() : tr(family.description)};
}

void StoreFoundSensors(ConfigImage& image, int channel, const SerialList& found) {
  for (std::size_t i = 0; i < found.size(); ++i) ReplaceSensor(image, channel, i, found[i]);
}

void ReplaceSensor(ConfigImage& image, int channel, std::size_t slot, const RomCode& sensor) {
  ThermoSensorRecord record = ThermoSensorRecord::at(image, channel, slot);
  record.setRomCode(sensor);
  record.setSlotNumber(static_cast<std::uint8_t>(slot));
}

std::optional<std::size_t> AddSensor(ConfigImage& image, int channel, const RomCode& sensor) {
  for (std::size_t slot = 0; slot < kSlotCount; ++slot) {
    if (!ThermoSensorRecord::at(image, channel, slot).romCode().isEmpty()) continue;
    ReplaceSensor(image, channel, slot, sensor);
    return slot;
  }
  return std::nullopt;
}

void RemoveSensors(ConfigImage& image, int channel, std::size_t first, std::size_t last) {
  for (std::size_t slot = first; slot <= last && slot < kSlotCount; ++slot)
    ThermoSensorRecord::at(image, channel, slot).clearSensor();
}

std::vector<std::string> ErrorSensitivityItems() {
  std::vector<std::string> items{tr(error_sensitivity::kDoNotReact)};
  for (int n = 0; n <= ThermoSensorRecord::kMaxRequests; ++n) items.push_back(thermoRequests(n));
  return items;
}

std::string ErrorSensitivityText(const ThermoSensorRecord& record) {
  return record.reacts() ? thermoRequests(record.requestCount()) : tr(error_sensitivity::kDoNotReact);
}

void StoreErrorSensitivity(ThermoSensorRecord record, std::string_view cellText) {
  if (cellText == tr(error_sensitivity::kDoNotReact)) {
    record.setReacts(false);
    return;
  }
  record.setReacts(true);
  record.setRequestCount(leadingNumberLow6(cellText));
}

std::u16string StoreSensorAlias(ConfigImage& image, int channel, std::size_t slot, std::u16string_view text) {
  AliasRecord alias = SensorAlias(image, channel, slot);
  alias.store(text);
  return alias.text();
}

void ReplaceKey(ConfigImage& image, std::size_t slot, const RomCode& key) {
  IButtonKeyRecord::at(image, slot).setRomCode(key);
}

std::optional<std::size_t> AddKey(ConfigImage& image, const RomCode& key) {
  for (std::size_t slot = 0; slot < kSlotCount; ++slot) {
    if (!IButtonKeyRecord::at(image, slot).romCode().isEmpty()) continue;
    ReplaceKey(image, slot, key);
    return slot;
  }
  return std::nullopt;
}

void RemoveKeys(ConfigImage& image, std::size_t first, std::size_t last) {
  for (std::size_t slot = first; slot <= last && slot < kSlotCount; ++slot) IButtonKeyRecord::at(image, slot).clearKey();
}

std::vector<std::string> KeyTypeItems() {
  std::vector<std::string> items;
  for (const KeyType& type : KeyTypeTable) items.push_back(tr(type.name));
  return items;
}

std::optional<std::string> KeyTypeText(const IButtonKeyRecord& record) {
  for (const KeyType& type : KeyTypeTable)
    if (type.code == record.keyType()) return tr(type.name);
  return std::nullopt;
}

void StoreKeyType(IButtonKeyRecord record, std::string_view cellText) {
  for (const KeyType& type : KeyTypeTable) {
    if (tr(type.name) == cellText) {
      record.setKeyType(type.code);
      return;
    }
  }
}

}  // namespace wk::onewire
