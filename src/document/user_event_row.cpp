#include "document/user_event_row.h"

#include "document/user_event_record.h"
#include "util/utf.h"

namespace wk {

UserEventRow LoadUserEventRow(ConfigImage& image, std::size_t event) {
  const auto record = UserEventRecord::at(image, event);
  UserEventRow row;
  row.workmode = WorkmodeTable.shownText(record.workmode());
  row.sensor = utf8ToUtf16(record.sensor().text());
  row.lo = utf8ToUtf16(Centidegrees::text(record.lo()));
  row.hi = utf8ToUtf16(Centidegrees::text(record.hi()));
  row.condition = ThresholdConditionTable.shownText(record.condition());
  row.multiaction = UserEventMultiactionTable.shownText(record.multiaction());
  return row;
}

Rgb UserEventRowColour(ConfigImage& image, std::size_t event) {
  return WorkmodeTable.colourOf(UserEventRecord::at(image, event).workmode());
}

int StoreUserEventRow(UserEventRow& row, ConfigImage& image, std::size_t event) {
  auto record = UserEventRecord::at(image, event);
  if (const auto code = WorkmodeTable.codeOf(row.workmode)) record.setWorkmode(*code);
  if (const auto sensor = SensorRef::parse(row.sensor)) record.setSensor(*sensor);
  int unreadable = 0;
  if (const auto lo = Centidegrees::parse(row.lo)) record.setLo(*lo); else ++unreadable;
  row.lo = utf8ToUtf16(Centidegrees::text(record.lo()));
  if (const auto hi = Centidegrees::parse(row.hi)) record.setHi(*hi); else ++unreadable;
  row.hi = utf8ToUtf16(Centidegrees::text(record.hi()));
  if (const auto code = ThresholdConditionTable.codeOf(row.condition)) record.setCondition(*code);
  if (const auto code = UserEventMultiactionTable.codeOf(row.multiaction)) record.setMultiaction(*code);
  return unreadable;
}

}  // namespace wk
