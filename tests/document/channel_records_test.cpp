#include <gtest/gtest.h>

#include <vector>

#include "document/config_image.h"
#include "document/main_channel_record.h"
#include "support/hex.h"

namespace wk {
namespace {

using test::hex;
using test::hexOf;

// Image offsets as the controller's memory map gives them.
constexpr std::size_t kChannelRecords = 61888;
constexpr std::size_t kChannelAliases = 56832;
constexpr std::size_t kFollowMask = 62858;

std::vector<std::uint8_t> bytesAt(const ConfigImage& image, std::size_t offset, std::size_t size) {
  const auto s = image.slice(offset, size);
  return {s.begin(), s.end()};
}

TEST(MainChannelRecord, FieldsLandInTheirBits) {
  ConfigImage image;
  auto r = MainChannelRecord::at(image, 2);
  r.setAlarmCondition(17);  // byte 0 bits 0..4
  r.setInputIndex(5);       // byte 1 bits 0..2
  r.setWorkmode(4);         // byte 1 bits 3..5
  r.setMultiaction(3);      // byte 1 bits 6..7
  r.setAlarmOnTimeout(255);
  r.setAlarmOffTimeout(7);
  EXPECT_EQ(hexOf(bytesAt(image, kChannelRecords + 8, 4)), "11 E5 FF 07");
  EXPECT_EQ(hexOf(bytesAt(image, kChannelRecords + 4, 4)), "00 00 00 00");
  EXPECT_EQ(hexOf(bytesAt(image, kChannelRecords + 12, 4)), "00 00 00 00");
  EXPECT_EQ(r.alarmCondition(), 17);
  EXPECT_EQ(r.inputIndex(), 5);
  EXPECT_EQ(r.workmode(), 4);
  EXPECT_EQ(r.multiaction(), 3);
}

TEST(MainChannelRecord, EachFieldKeepsTheOtherBits) {
  ConfigImage image;
  auto r = MainChannelRecord::at(image, 23);
  image.at(kChannelRecords + 92) = 0xFF;
  image.at(kChannelRecords + 93) = 0xFF;
  r.setAlarmCondition(0);
  EXPECT_EQ(image.at(kChannelRecords + 92), 0xE0);  // bits 5..7 belong to no editor
  r.setInputIndex(0);
  EXPECT_EQ(image.at(kChannelRecords + 93), 0xF8);
  r.setWorkmode(0);
  EXPECT_EQ(image.at(kChannelRecords + 93), 0xC0);
  r.setMultiaction(1);
  EXPECT_EQ(image.at(kChannelRecords + 93), 0x40);
  EXPECT_THROW(MainChannelRecord::at(image, 24), std::out_of_range);
}

TEST(MainChannelCells, InputTextAndBack) {
  EXPECT_EQ(inputText(0), "1");
  EXPECT_EQ(inputText(7), "8");
  EXPECT_EQ(inputIndexFromText(u"1"), 0);
  EXPECT_EQ(inputIndexFromText(u"8"), 7);
  EXPECT_EQ(inputIndexFromText(u"9"), 0);  // (9 - 1) & 7
  EXPECT_EQ(inputIndexFromText(u""), 0);   // no number stores 0
  EXPECT_EQ(inputIndexFromText(u"x"), 0);
  EXPECT_EQ(inputIndexFromText(u"0"), 7);  // (0 - 1) & 7
  EXPECT_EQ(inputIndexFromText(u"-2147483648"), 7);
}

TEST(MainChannelCells, TimeoutsAreClampedTo255) {
  EXPECT_EQ(timeoutText(0), "0");
  EXPECT_EQ(timeoutText(255), "255");
  EXPECT_EQ(timeoutFromText(u"300"), 255);
  EXPECT_EQ(timeoutFromText(u"255"), 255);
  EXPECT_EQ(timeoutFromText(u"256"), 255);  // not 0, as the low 8 bits would give
  EXPECT_EQ(timeoutFromText(u"99999999999"), 255);
  EXPECT_EQ(timeoutFromText(u"17"), 17);
  EXPECT_EQ(timeoutFromText(u""), 0);
  EXPECT_EQ(timeoutFromText(u"abc"), 0);
  EXPECT_EQ(timeoutFromText(u"-5"), 0);  // never wraps round to 251
}

TEST(ChannelAliasTable, AlarmThenOkRecords) {
  ConfigImage image;
  ChannelAliasTable aliases(image);
  EXPECT_EQ(aliases.ifAlarm(0).store(u"Door"), u"Door");
  EXPECT_EQ(aliases.ifOk(0).store(u"Shut"), u"Shut");
  EXPECT_EQ(aliases.ifAlarm(23).store(u"Z"), u"Z");
  EXPECT_EQ(aliases.ifOk(23).store(u"Y"), u"Y");
  EXPECT_EQ(hexOf(bytesAt(image, kChannelAliases, 5)), "04 44 6F 6F 72");
  EXPECT_EQ(hexOf(bytesAt(image, kChannelAliases + 24 * 32, 5)), "04 53 68 75 74");
  EXPECT_EQ(hexOf(bytesAt(image, kChannelAliases + 23 * 32, 2)), "01 5A");
  EXPECT_EQ(hexOf(bytesAt(image, kChannelAliases + 47 * 32, 2)), "01 59");
  EXPECT_THROW(aliases.record(48), std::out_of_range);
}

TEST(ChannelAliasTable, StoreShowsWhatTheControllerGets) {
  ConfigImage image;
  auto alias = ChannelAliasTable(image).ifAlarm(4);
  EXPECT_EQ(alias.store(u"Привет"), u"Privet");
  EXPECT_EQ(hexOf(bytesAt(image, kChannelAliases + 4 * 32, 7)), "06 50 72 69 76 65 74");
  EXPECT_EQ(alias.store(u"\u00E9\u20AC"), u"\u00E9\u00AC");  // é stays é, € comes back as ¬
  EXPECT_EQ(hexOf(bytesAt(image, kChannelAliases + 4 * 32, 3)), "02 E9 AC");
  const std::u16string forty = u"0123456789012345678901234567890123456789";
  EXPECT_EQ(alias.store(forty), forty.substr(0, 31));
  EXPECT_EQ(image.at(kChannelAliases + 4 * 32), 31);
}

TEST(ChannelAliasTable, ALengthAbove31NeverReadsPastTheRecord) {
  ConfigImage image;
  auto bytes = image.slice(kChannelAliases + 32, 64);
  bytes[0] = 0xFF;
  for (std::size_t i = 1; i < 32; ++i) bytes[i] = 'a';
  for (std::size_t i = 32; i < 64; ++i) bytes[i] = 'b';  // the next record
  EXPECT_EQ(ChannelAliasTable(image).ifAlarm(1).text(), std::u16string(31, u'a'));
}

TEST(FollowMask, ChannelBitsOnlyAndLittleEndian) {
  ConfigImage image;
  auto mask = FollowMask::of(image);
  image.at(kFollowMask + 3) = 0xA5;  // bits 24..31 belong to no channel
  mask.setFollows(0, true);
  mask.setFollows(9, true);
  mask.setFollows(23, true);
  EXPECT_EQ(hexOf(bytesAt(image, kFollowMask, 4)), "01 02 80 A5");
  EXPECT_TRUE(mask.follows(9));
  EXPECT_FALSE(mask.follows(8));
  mask.setFollows(9, false);
  mask.setFollows(24, true);  // no such channel: nothing changes
  mask.setFollows(31, true);
  EXPECT_EQ(hexOf(bytesAt(image, kFollowMask, 4)), "01 00 80 A5");
  EXPECT_FALSE(mask.follows(24));
  EXPECT_EQ(mask.value(), 0xA5800001u);
  // The bytes before it in CommonSettings are left alone.
  EXPECT_EQ(image.at(kFollowMask - 1), 0);
}

}  // namespace
}  // namespace wk
