#pragma once
// The main channels: their records (ChannelRecords), their alias texts
// (ChannelAliases), their follow flags (the last four bytes of CommonSettings)
// and the lists their fields are chosen from.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "document/alias_record.h"
#include "document/config_image.h"
#include "document/list_table.h"
#include "document/record_view.h"
#include "util/bytes.h"

namespace wk {

// A main channel (4 bytes).
//   byte 0 bits 0..4  alarm condition (AlarmConditionTable); bits 5..7 kept
//   byte 1 bits 0..2  input number minus one
//          bits 3..5  workmode (WorkmodeTable)
//          bits 6..7  multiaction (MultiactionTable)
//   byte 2            alarm on timeout, byte 3 alarm off timeout (0..255)
class MainChannelRecord : public RecordView<image::kChannelRecordSize> {
 public:
  static constexpr int kInputCount = 8;

  using RecordView::RecordView;
  static MainChannelRecord at(ConfigImage& image, std::size_t k) {
    return MainChannelRecord(image.record(image::ChannelRecords, kSize, k));
  }

  std::uint8_t alarmCondition() const { return getBits(b_[0], 0, 5); }
  void setAlarmCondition(std::uint8_t code) { setBits(b_[0], 0, 5, code); }
  // Input number minus one (0..7).
  std::uint8_t inputIndex() const { return getBits(b_[1], 0, 3); }
  void setInputIndex(std::uint8_t index) { setBits(b_[1], 0, 3, index); }
  std::uint8_t workmode() const { return getBits(b_[1], 3, 3); }
  void setWorkmode(std::uint8_t code) { setBits(b_[1], 3, 3, code); }
  std::uint8_t multiaction() const { return getBits(b_[1], 6, 2); }
  void setMultiaction(std::uint8_t code) { setBits(b_[1], 6, 2, code); }
  std::uint8_t alarmOnTimeout() const { return b_[2]; }
  void setAlarmOnTimeout(std::uint8_t value) { b_[2] = value; }
  std::uint8_t alarmOffTimeout() const { return b_[3]; }
  void setAlarmOffTimeout(std::uint8_t value) { b_[3] = value; }
};

// The input cell: "%d" of the input number (1..8).
std::string inputText(std::uint8_t inputIndex);
// The input index of a cell's text read as "%d": the number minus one, in the
// field's three bits; 0 when no number can be read.
std::uint8_t inputIndexFromText(std::u16string_view text);

// A timeout cell: "%d" of the stored value.
std::string timeoutText(std::uint8_t seconds);
// A timeout cell's text read as "%d": above 255 stores 255, below 0 stores 0,
// no number stores 0.
std::uint8_t timeoutFromText(std::u16string_view text);

// The 48 alias records of ChannelAliases: "Alias if ALARM" of channels 1..24,
// then "Alias if OK" of channels 1..24.
class ChannelAliasTable {
 public:
  explicit ChannelAliasTable(ConfigImage& image) : image_(image) {}
  AliasRecord ifAlarm(std::size_t channel) const { return record(channel); }
  AliasRecord ifOk(std::size_t channel) const { return record(image::kChannelCount + channel); }
  AliasRecord record(std::size_t index) const {
    return AliasRecord(image_.record(image::ChannelAliases, AliasRecord::kSize, index));
  }

 private:
  ConfigImage& image_;
};

// The follow flags: CommonSettings bytes 262..265, 32-bit little-endian; bit
// k is channel k + 1. Bits 24..31 belong to no channel and are never changed.
class FollowMask {
 public:
  explicit FollowMask(ConfigImage& image);
  static FollowMask of(ConfigImage& image) { return FollowMask(image); }

  std::uint32_t value() const { return readLe32(b_, 0); }
  bool follows(std::size_t channel) const;
  // channel is 0..23; any other index is ignored.
  void setFollows(std::size_t channel, bool on);

 private:
  std::span<std::uint8_t> b_;
};

// Workmodes, in list order, with their row colours. Codes 3, 5 and 7 are not offered.
inline constexpr ListItem kWorkmodeItems[] = {
    {0, "Channel off", {224, 224, 224}},
    {1, "24hr guard line", {255, 240, 240}},
    {2, "Guard line", {240, 255, 240}},
    {4, "Perimeter mode line", {240, 240, 255}},
    {6, "Guard & Perimeter mode", {255, 255, 255}},
};
inline constexpr ListTable WorkmodeTable{kWorkmodeItems};

// "Generate Alarm if..." of a main channel, codes 0..17 in list order.
inline constexpr ListItem kAlarmConditionItems[] = {
    {0, "R-change"},         {1, "0 set"},           {2, "1 set"},           {3, "0 set | 1 set"},
    {4, "0 lost"},           {5, "1 lost"},          {6, "ATZ1 2.2k ALARM"}, {7, "ATZ1 1k ALARM"},
    {8, "ATZ1 Line Error"},  {9, "ATZ2 2.2k ALARM"}, {10, "ATZ2 1k ALARM"},  {11, "ATZ2 Line Error"},
    {12, "ATZ3 1.5k ALARM"}, {13, "ATZ3 0.82k ALARM"}, {14, "ATZ3 Line Error"}, {15, "ATZ4 1.5k ALARM"},
    {16, "ATZ4 0.82k ALARM"}, {17, "ATZ4 Line Error"},
};
inline constexpr ListTable AlarmConditionTable{kAlarmConditionItems};

// Multiaction, codes 0..3 in list order. User events offer the first two.
inline constexpr ListItem kMultiactionItems[] = {
    {0, "Multi-zone"}, {1, "Single-zone"}, {2, "15 sec freeze"}, {3, "30 sec freeze"},
};
inline constexpr ListTable MultiactionTable{kMultiactionItems};

}  // namespace wk
