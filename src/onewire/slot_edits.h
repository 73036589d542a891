#pragma once
// What the thermosensor and key pages do to the image, apart from what their
// cells show: the same steps serve the pages, the command line and the tests.
// Sensor channels are 0 and 1; slots and rows are 0..15.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/config_image.h"
#include "document/onewire_records.h"
#include "onewire/read_serials.h"

namespace wk::onewire {

// The texts of a device's row: RomCode text, part names, translated description.
struct DeviceTexts {
  std::string romText;
  bool empty = true;
  std::string partNames;
  std::string description;
};
DeviceTexts deviceTexts(const RomCode& rom);

// --- Thermosensor channels ---

// "Find All": the slots become exactly the list, slot numbers 0..15 included;
// the error reactions stay.
void StoreFoundSensors(ConfigImage& image, int channel, const SerialList& found);
// "Add Device": the first empty slot takes the sensor and its own number.
// Nothing when every slot is in use.
std::optional<std::size_t> AddSensor(ConfigImage& image, int channel, const RomCode& sensor);
// The replace command: the slot takes the sensor and its own number.
void ReplaceSensor(ConfigImage& image, int channel, std::size_t slot, const RomCode& sensor);
// "Remove Device" of slots first..last: empty, error reaction and alias kept.
void RemoveSensors(ConfigImage& image, int channel, std::size_t first, std::size_t last);

// The "Errors Sensitivity" list, translated: "Do not react", then "0 thermo-requests" .. "63 thermo-requests".
std::vector<std::string> ErrorSensitivityItems();
// The item a slot shows.
std::string ErrorSensitivityText(const ThermoSensorRecord& record);
// A cell's text into the slot: "Do not react" clears the react bit and keeps
// the number; anything else sets it and stores its leading number (0 when it
// has none) modulo 64. Bit 7 stays.
void StoreErrorSensitivity(ThermoSensorRecord record, std::string_view cellText);

// Stores the alias of a slot from a cell's text; returns the text as stored,
// which the cell then shows.
std::u16string StoreSensorAlias(ConfigImage& image, int channel, std::size_t slot, std::u16string_view text);

// --- iButton keys ---

// "Add Device": the first empty slot takes the key; its type stays.
std::optional<std::size_t> AddKey(ConfigImage& image, const RomCode& key);
void ReplaceKey(ConfigImage& image, std::size_t slot, const RomCode& key);
// "Remove Device" of slots first..last: empty, type and comment kept.
void RemoveKeys(ConfigImage& image, std::size_t first, std::size_t last);

// The key types' translated names in code order.
std::vector<std::string> KeyTypeItems();
// The translated name of the slot's type; nothing for a code the table lacks.
std::optional<std::string> KeyTypeText(const IButtonKeyRecord& record);
// The first type whose translated name equals the text; unchanged otherwise.
void StoreKeyType(IButtonKeyRecord record, std::string_view cellText);

}  // namespace wk::onewire
