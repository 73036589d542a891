#pragma once
// The switched outputs: their records (OutputRecords), their alias texts
// (OutputAliases) and the lists their fields are chosen from.
#include <cstdint>

#include "document/alias_record.h"
#include "document/centidegrees.h"
#include "document/config_image.h"
#include "document/list_table.h"
#include "document/record_view.h"
#include "document/sensor_ref.h"
#include "util/bytes.h"

namespace wk {

// An output (6 bytes).
//   byte 0            sensor (SensorRef)
//   byte 1 bit 0      inverse channel
//          bits 1..3  use (OutputUseTable)
//          bits 4..7  type (OutputTypeTable)
//   bytes 2..3        hysteresis high, bytes 4..5 hysteresis low (Centidegrees)
class OutputRecord : public RecordView<image::kOutputRecordSize> {
 public:
  using RecordView::RecordView;
  static OutputRecord at(ConfigImage& image, std::size_t k) {
    return OutputRecord(image.record(image::OutputRecords, kSize, k));
  }

  SensorRef sensor() const { return SensorRef::fromByte(b_[0]); }
  void setSensor(const SensorRef& sensor) { sensor.storeInto(b_[0]); }
  bool inverse() const { return getBits(b_[1], 0, 1) != 0; }
  void setInverse(bool on) { setBits(b_[1], 0, 1, on ? 1 : 0); }
  std::uint8_t use() const { return getBits(b_[1], 1, 3); }
  void setUse(std::uint8_t code) { setBits(b_[1], 1, 3, code); }
  std::uint8_t type() const { return getBits(b_[1], 4, 4); }
  void setType(std::uint8_t code) { setBits(b_[1], 4, 4, code); }
  std::int16_t hysteresisHigh() const { return Centidegrees::read(b_, 2); }
  void setHysteresisHigh(std::int16_t value) { Centidegrees::write(b_, 2, value); }
  std::int16_t hysteresisLow() const { return Centidegrees::read(b_, 4); }
  void setHysteresisLow(std::int16_t value) { Centidegrees::write(b_, 4, value); }
};

// The 12 alias records of OutputAliases: "Alias if off" of outputs 1..6, then
// "Alias if on" of outputs 1..6.
class OutputAliasTable {
 public:
  explicit OutputAliasTable(ConfigImage& image) : image_(image) {}
  AliasRecord ifOff(std::size_t output) const { return record(output); }
  AliasRecord ifOn(std::size_t output) const { return record(image::kOutputCount + output); }
  AliasRecord record(std::size_t index) const {
    return AliasRecord(image_.record(image::OutputAliases, AliasRecord::kSize, index));
  }

 private:
  ConfigImage& image_;
};

// "In use by...", in list order, which differs from code order; code 7 is not
// offered. The row colour depends on the stored use alone, the same whether
// the grid is refreshed or the item is picked: a thermostat's row is white.
inline constexpr ListItem kOutputUseItems[] = {
    {0, "Not in use", {160, 160, 160}},
    {2, "GSM", {224, 224, 224}},
    {1, "Thermostat", {255, 255, 255}},
    {3, "Sirena", {224, 224, 224}},
    {4, "Lock", {224, 224, 224}},
    {5, "Power Sensors", {224, 224, 224}},
    {6, "External Beeper", {224, 224, 224}},
};
inline constexpr ListTable OutputUseTable{kOutputUseItems};

// "Type" of a thermostat output.
inline constexpr ListItem kOutputTypeItems[] = {
    {0, "Heater"},
    {1, "Cooler"},
};
inline constexpr ListTable OutputTypeTable{kOutputTypeItems};

}  // namespace wk
