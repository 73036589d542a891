#include "document/main_channel_row.h"

#include "document/main_channel_record.h"
#include "util/utf.h"

namespace wk {

MainChannelRow LoadMainChannelRow(ConfigImage& image, std::size_t channel) {
  const auto record = MainChannelRecord::at(image, channel);
  const ChannelAliasTable aliases(image);
  MainChannelRow row;
  row.workmode = WorkmodeTable.shownText(record.workmode());
  row.input = utf8ToUtf16(inputText(record.inputIndex()));
  row.alarmOnTimeout = utf8ToUtf16(timeoutText(record.alarmOnTimeout()));
  row.alarmOffTimeout = utf8ToUtf16(timeoutText(record.alarmOffTimeout()));
  row.alarmCondition = AlarmConditionTable.shownText(record.alarmCondition());
  row.multiaction = MultiactionTable.shownText(record.multiaction());
  row.aliasIfAlarm = aliases.ifAlarm(channel).text();
  row.aliasIfOk = aliases.ifOk(channel).text();
  row.follow = FollowMask::of(image).follows(channel);
  return row;
}

Rgb MainChannelRowColour(ConfigImage& image, std::size_t channel) {
  return WorkmodeTable.colourOf(MainChannelRecord::at(image, channel).workmode());
}

void StoreMainChannelRow(MainChannelRow& row, ConfigImage& image, std::size_t channel) {
  auto record = MainChannelRecord::at(image, channel);
  if (const auto code = WorkmodeTable.codeOf(row.workmode)) record.setWorkmode(*code);
  record.setInputIndex(inputIndexFromText(row.input));
  record.setAlarmOnTimeout(timeoutFromText(row.alarmOnTimeout));
  record.setAlarmOffTimeout(timeoutFromText(row.alarmOffTimeout));
  if (const auto code = AlarmConditionTable.codeOf(row.alarmCondition)) record.setAlarmCondition(*code);
  if (const auto code = MultiactionTable.codeOf(row.multiaction)) record.setMultiaction(*code);
  const ChannelAliasTable aliases(image);
  row.aliasIfAlarm = aliases.ifAlarm(channel).store(row.aliasIfAlarm);
  row.aliasIfOk = aliases.ifOk(channel).store(row.aliasIfOk);
}

}  // namespace wk
