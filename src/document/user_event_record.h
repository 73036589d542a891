#pragma once
// The user events (UserEventRecords): alarms raised by a temperature instead of
// an input line, and the lists their fields are chosen from.
#include <cstdint>

#include "document/centidegrees.h"
#include "document/config_image.h"
#include "document/list_table.h"
#include "document/main_channel_record.h"
#include "document/record_view.h"
#include "document/sensor_ref.h"
#include "util/bytes.h"

namespace wk {

// A user event (6 bytes).
//   byte 0            sensor (SensorRef)
//   byte 1 bit 0      condition (ThresholdConditionTable)
//          bits 1..3  workmode (WorkmodeTable)
//          bits 4..5  multiaction (UserEventMultiactionTable)
//          bits 6..7  kept
//   bytes 2..3        Hi threshold, bytes 4..5 Lo threshold (Centidegrees)
class UserEventRecord : public RecordView<image::kUserEventRecordSize> {
 public:
  using RecordView::RecordView;
  static UserEventRecord at(ConfigImage& image, std::size_t k) {
    return UserEventRecord(image.record(image::UserEventRecords, kSize, k));
  }

  SensorRef sensor() const { return SensorRef::fromByte(b_[0]); }
  void setSensor(const SensorRef& sensor) { sensor.storeInto(b_[0]); }
  // 1 = higher than Hi, 0 = lower than Lo.
  std::uint8_t condition() const { return getBits(b_[1], 0, 1); }
  void setCondition(std::uint8_t code) { setBits(b_[1], 0, 1, code); }
  std::uint8_t workmode() const { return getBits(b_[1], 1, 3); }
  void setWorkmode(std::uint8_t code) { setBits(b_[1], 1, 3, code); }
  std::uint8_t multiaction() const { return getBits(b_[1], 4, 2); }
  void setMultiaction(std::uint8_t code) { setBits(b_[1], 4, 2, code); }
  std::int16_t hi() const { return Centidegrees::read(b_, 2); }
  void setHi(std::int16_t value) { Centidegrees::write(b_, 2, value); }
  std::int16_t lo() const { return Centidegrees::read(b_, 4); }
  void setLo(std::int16_t value) { Centidegrees::write(b_, 4, value); }
};

// "Generate Alarm if..." of a user event, in list order: the Higher item then
// the Lower item.
inline constexpr ListItem kThresholdConditionItems[] = {
    {1, "Higher then \"Hi\""},
    {0, "Lower then \"Lo\""},
};
inline constexpr ListTable ThresholdConditionTable{kThresholdConditionItems};

// A user event offers the first two multiactions only.
inline constexpr ListTable UserEventMultiactionTable = MultiactionTable.first(2);

}  // namespace wk
