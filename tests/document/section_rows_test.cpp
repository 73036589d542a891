// The rows of the main channel, user event and output grids: what a record
// shows, and what storing a row's texts does to the bytes.
#include <gtest/gtest.h>

#include <vector>

#include "document/config_image.h"
#include "document/defaults.h"
#include "document/main_channel_row.h"
#include "document/output_row.h"
#include "document/user_event_row.h"
#include "language/translate.h"
#include "support/hex.h"
#include "support/lng_file.h"
#include "support/temp_dir.h"

namespace wk {
namespace {

using test::hex;
using test::hexOf;

// Image offsets as the controller's memory map gives them.
constexpr std::size_t kChannelRecords = 61888;
constexpr std::size_t kChannelAliases = 56832;
constexpr std::size_t kUserEventRecords = 61984;
constexpr std::size_t kOutputRecords = 62080;
constexpr std::size_t kOutputAliases = 59392;
constexpr std::size_t kFollowMask = 62858;

std::string bytesAt(const ConfigImage& image, std::size_t offset, std::size_t size) {
  const auto s = image.slice(offset, size);
  return hexOf({s.begin(), s.end()});
}

void put(ConfigImage& image, std::size_t offset, std::string_view bytes) {
  const auto b = hex(bytes);
  std::copy(b.begin(), b.end(), image.slice(offset, b.size()).begin());
}

// ------------------------------------------------------------ main channels

TEST(MainChannelRow, ANewDocumentShowsChannelOffOnInputsOneToEight) {
  ConfigImage image;
  applyNewDocumentDefaults(image);
  for (std::size_t k = 0; k < 24; ++k) {
    const MainChannelRow row = LoadMainChannelRow(image, k);
    EXPECT_EQ(row.workmode, u"Channel off");
    EXPECT_EQ(row.input, std::u16string(1, static_cast<char16_t>(u'1' + k % 8)));
    EXPECT_EQ(row.alarmOnTimeout, u"0");
    EXPECT_EQ(row.alarmOffTimeout, u"0");
    EXPECT_EQ(row.alarmCondition, u"R-change");
    EXPECT_EQ(row.multiaction, u"Multi-zone");
    EXPECT_EQ(row.aliasIfAlarm, u"");
    EXPECT_EQ(row.aliasIfOk, u"");
    EXPECT_FALSE(row.follow);
    EXPECT_EQ(MainChannelRowColour(image, k), (Rgb{224, 224, 224}));
  }
}

TEST(MainChannelRow, LoadsEveryField) {
  ConfigImage image;
  put(image, kChannelRecords + 4 * 5, "A7 A2 1E FF");  // condition 7, bits 5..7 = 101; input 3, workmode 4, multi 2
  put(image, kChannelAliases + 32 * 5, "04 44 6F 6F 72 58");
  put(image, kChannelAliases + 32 * 29, "02 E9 AC");
  put(image, kFollowMask, "20 00 00 00");
  const MainChannelRow row = LoadMainChannelRow(image, 5);
  EXPECT_EQ(row.workmode, u"Perimeter mode line");
  EXPECT_EQ(row.input, u"3");
  EXPECT_EQ(row.alarmOnTimeout, u"30");
  EXPECT_EQ(row.alarmOffTimeout, u"255");
  EXPECT_EQ(row.alarmCondition, u"ATZ1 1k ALARM");
  EXPECT_EQ(row.multiaction, u"15 sec freeze");
  EXPECT_EQ(row.aliasIfAlarm, u"Door");
  EXPECT_EQ(row.aliasIfOk, u"\u00E9\u00AC");
  EXPECT_TRUE(row.follow);
  EXPECT_EQ(MainChannelRowColour(image, 5), (Rgb{240, 240, 255}));
}

TEST(MainChannelRow, EveryFieldIsStoredFromItsText) {
  ConfigImage image;
  applyNewDocumentDefaults(image);
  put(image, kChannelRecords + 4 * 2, "E0 02 00 00");  // bits 5..7 of byte 0 belong to no editor
  MainChannelRow row = LoadMainChannelRow(image, 2);
  row.workmode = u"Guard & Perimeter mode";
  row.input = u"8";
  row.alarmOnTimeout = u"300";
  row.alarmOffTimeout = u"12";
  row.alarmCondition = u"ATZ4 Line Error";
  row.multiaction = u"Single-zone";
  row.aliasIfAlarm = u"Привет";
  row.aliasIfOk = u"\u00E9\u20AC";
  StoreMainChannelRow(row, image, 2);
  // condition 17 | E0; input 7 | workmode 6 << 3 | multiaction 1 << 6; 255; 12
  EXPECT_EQ(bytesAt(image, kChannelRecords + 8, 4), "F1 77 FF 0C");
  EXPECT_EQ(bytesAt(image, kChannelAliases + 32 * 2, 7), "06 50 72 69 76 65 74");
  EXPECT_EQ(bytesAt(image, kChannelAliases + 32 * 26, 3), "02 E9 AC");
  // The aliases come back as stored; the timeout text stays as typed.
  EXPECT_EQ(row.aliasIfAlarm, u"Privet");
  EXPECT_EQ(row.aliasIfOk, u"\u00E9\u00AC");
  EXPECT_EQ(row.alarmOnTimeout, u"300");
  EXPECT_EQ(MainChannelRowColour(image, 2), (Rgb{255, 255, 255}));
  // Neighbours and the follow mask are untouched.
  EXPECT_EQ(bytesAt(image, kChannelRecords + 4, 4), "00 01 00 00");
  EXPECT_EQ(bytesAt(image, kChannelRecords + 12, 4), "00 03 00 00");
  EXPECT_EQ(bytesAt(image, kFollowMask, 4), "00 00 00 00");
}

TEST(MainChannelRow, TheFollowFlagIsNotStoredWithTheRow) {
  ConfigImage image;
  MainChannelRow row = LoadMainChannelRow(image, 0);
  row.follow = true;
  StoreMainChannelRow(row, image, 0);
  EXPECT_EQ(bytesAt(image, kFollowMask, 4), "00 00 00 00");
}

TEST(MainChannelRow, UnreadableNumbersStoreZeroAndUnknownTextsKeepTheirBits) {
  ConfigImage image;
  put(image, kChannelRecords, "05 E3 11 22");
  MainChannelRow row = LoadMainChannelRow(image, 0);
  row.workmode = u"nothing";
  row.input = u"";
  row.alarmOnTimeout = u"x";
  row.alarmOffTimeout = u"";
  row.alarmCondition = u"r-change";
  row.multiaction = u"";
  StoreMainChannelRow(row, image, 0);
  EXPECT_EQ(bytesAt(image, kChannelRecords, 4), "05 E0 00 00");
}

TEST(MainChannelRow, OddCodesSurviveAStoreOfTheirOwnRow) {
  ConfigImage image;
  // workmode 3, 5, 7 and alarm conditions 18, 31 with every other bit set.
  put(image, kChannelRecords, "F2 DF 05 06 FF FF 07 08 F2 EF 09 0A");
  for (std::size_t k = 0; k < 3; ++k) {
    MainChannelRow row = LoadMainChannelRow(image, k);
    EXPECT_EQ(MainChannelRowColour(image, k), kOddCodeColour);
    StoreMainChannelRow(row, image, k);
  }
  EXPECT_EQ(LoadMainChannelRow(image, 0).workmode, u"(3)");
  EXPECT_EQ(LoadMainChannelRow(image, 0).alarmCondition, u"(18)");
  EXPECT_EQ(LoadMainChannelRow(image, 1).workmode, u"(7)");
  EXPECT_EQ(LoadMainChannelRow(image, 1).alarmCondition, u"(31)");
  EXPECT_EQ(LoadMainChannelRow(image, 2).workmode, u"(5)");
  EXPECT_EQ(bytesAt(image, kChannelRecords, 12), "F2 DF 05 06 FF FF 07 08 F2 EF 09 0A");
}

TEST(MainChannelRow, AnAliasLongerThanTheRecordShowsItsFirst31Bytes) {
  ConfigImage image;
  put(image, kChannelAliases, "FF");
  for (std::size_t i = 1; i < 64; ++i) image.at(kChannelAliases + i) = static_cast<std::uint8_t>('A' + i % 26);
  MainChannelRow row = LoadMainChannelRow(image, 0);
  ASSERT_EQ(row.aliasIfAlarm.size(), 31u);
  EXPECT_EQ(row.aliasIfAlarm.substr(0, 3), u"BCD");
  StoreMainChannelRow(row, image, 0);
  EXPECT_EQ(image.at(kChannelAliases), 31);  // stored again as the controller can take it
  EXPECT_EQ(image.at(kChannelAliases + 32), 'G');  // the next record is untouched
}

// --------------------------------------------------------------- user events

TEST(UserEventRow, ANewDocumentShowsChannelOffT101AndTheLowerItem) {
  ConfigImage image;
  applyNewDocumentDefaults(image);
  for (std::size_t k = 0; k < 16; ++k) {
    const UserEventRow row = LoadUserEventRow(image, k);
    EXPECT_EQ(row, (UserEventRow{u"Channel off", u"T1.01", u"0.00", u"0.00", u"Lower then \"Lo\"", u"Multi-zone"}));
    EXPECT_EQ(UserEventRowColour(image, k), (Rgb{224, 224, 224}));
  }
}

TEST(UserEventRow, LoadsEveryField) {
  ConfigImage image;
  put(image, kUserEventRecords + 6 * 3, "FF 13 F6 09 E6 FB");  // T2.16 (bits 5..7 set); higher, workmode 1, single
  const UserEventRow row = LoadUserEventRow(image, 3);
  EXPECT_EQ(row, (UserEventRow{u"24hr guard line", u"T2.16", u"-10.50", u"25.50", u"Higher then \"Hi\"",
                               u"Single-zone"}));
  EXPECT_EQ(UserEventRowColour(image, 3), (Rgb{255, 240, 240}));
}

TEST(UserEventRow, MinusFiveInLoStoresMinus500) {
  ConfigImage image;
  UserEventRow row = LoadUserEventRow(image, 0);
  row.lo = u"-5";
  EXPECT_EQ(StoreUserEventRow(row, image, 0), 0);
  EXPECT_EQ(bytesAt(image, kUserEventRecords, 6), "00 00 00 00 0C FE");
  EXPECT_EQ(row.lo, u"-5.00");
  EXPECT_EQ(row.hi, u"0.00");
}

TEST(UserEventRow, AnUnreadableThresholdKeepsItsValueAndIsCounted) {
  ConfigImage image;
  put(image, kUserEventRecords, "00 00 F6 09 00 00");
  UserEventRow row = LoadUserEventRow(image, 0);
  row.hi = u"warm";
  row.lo = u"1.5";
  EXPECT_EQ(StoreUserEventRow(row, image, 0), 1);
  EXPECT_EQ(bytesAt(image, kUserEventRecords, 6), "00 00 F6 09 96 00");
  EXPECT_EQ(row.hi, u"25.50");  // the cell shows the value kept
  row.hi = u"";
  row.lo = u"?";
  EXPECT_EQ(StoreUserEventRow(row, image, 0), 2);
  EXPECT_EQ(row.lo, u"1.50");
}

TEST(UserEventRow, ThresholdsRoundAndClamp) {
  ConfigImage image;
  UserEventRow row = LoadUserEventRow(image, 0);
  row.lo = u"0.69";
  row.hi = u"1000";
  StoreUserEventRow(row, image, 0);
  EXPECT_EQ(bytesAt(image, kUserEventRecords, 6), "00 00 FF 7F 45 00");
  EXPECT_EQ(row.lo, u"0.69");
  EXPECT_EQ(row.hi, u"327.67");
}

TEST(UserEventRow, SensorT216KeepsBits5To7) {
  ConfigImage image;
  put(image, kUserEventRecords + 6, "A0 00 00 00 00 00");
  UserEventRow row = LoadUserEventRow(image, 1);
  row.sensor = u"T2.16";
  StoreUserEventRow(row, image, 1);
  EXPECT_EQ(bytesAt(image, kUserEventRecords + 6, 1), "BF");
  row.sensor = u"T2";  // does not read: the sensor stays
  StoreUserEventRow(row, image, 1);
  EXPECT_EQ(bytesAt(image, kUserEventRecords + 6, 1), "BF");
}

TEST(UserEventRow, EveryFieldIsStoredFromItsText) {
  ConfigImage image;
  put(image, kUserEventRecords, "00 C0 00 00 00 00");  // bits 6..7 of byte 1 belong to no editor
  UserEventRow row{u"Guard line", u"T1.03", u"-1", u"2", u"Higher then \"Hi\"", u"Single-zone"};
  StoreUserEventRow(row, image, 0);
  // sensor slot 3; higher | workmode 2 << 1 | single << 4 | C0; Hi 200; Lo -100
  EXPECT_EQ(bytesAt(image, kUserEventRecords, 6), "04 D5 C8 00 9C FF");
  row.condition = u"Lower then \"Lo\"";
  row.multiaction = u"15 sec freeze";  // not offered for a user event
  StoreUserEventRow(row, image, 0);
  EXPECT_EQ(bytesAt(image, kUserEventRecords, 2), "04 D4");
}

TEST(UserEventRow, OddCodesSurviveAStoreOfTheirOwnRow) {
  ConfigImage image;
  put(image, kUserEventRecords, "E5 E6 01 02 03 04 1A 3B 05 06 07 08");  // workmode 3 / multiaction 2; workmode 5 / 3
  for (std::size_t k = 0; k < 2; ++k) {
    UserEventRow row = LoadUserEventRow(image, k);
    EXPECT_EQ(UserEventRowColour(image, k), kOddCodeColour);
    EXPECT_EQ(StoreUserEventRow(row, image, k), 0);
  }
  EXPECT_EQ(LoadUserEventRow(image, 0).workmode, u"(3)");
  EXPECT_EQ(LoadUserEventRow(image, 0).multiaction, u"(2)");
  EXPECT_EQ(LoadUserEventRow(image, 1).multiaction, u"(3)");
  EXPECT_EQ(bytesAt(image, kUserEventRecords, 12), "E5 E6 01 02 03 04 1A 3B 05 06 07 08");
}

// ------------------------------------------------------------------- outputs

TEST(OutputRow, ANewDocumentShowsSixOutputsNotInUse) {
  ConfigImage image;
  applyNewDocumentDefaults(image);
  for (std::size_t k = 0; k < 6; ++k) {
    EXPECT_EQ(LoadOutputRow(image, k),
              (OutputRow{u"Not in use", u"T1.01", u"0.00", u"0.00", u"Heater", false, u"", u""}));
    EXPECT_EQ(OutputRowColour(image, k), (Rgb{160, 160, 160}));
  }
}

TEST(OutputRow, LoadsEveryField) {
  ConfigImage image;
  put(image, kOutputRecords + 6 * 4, "03 13 96 00 E6 FB");  // T2.02; inverse, thermostat, cooler
  put(image, kOutputAliases + 32 * 4, "03 4F 66 66");
  put(image, kOutputAliases + 32 * 10, "02 4F 6E");
  EXPECT_EQ(LoadOutputRow(image, 4),
            (OutputRow{u"Thermostat", u"T2.02", u"-10.50", u"1.50", u"Cooler", true, u"Off", u"On"}));
  EXPECT_EQ(OutputRowColour(image, 4), (Rgb{255, 255, 255}));  // a thermostat is white when refreshed too
}

TEST(OutputRow, StoringARowLeavesUseAndInverseAlone) {
  ConfigImage image;
  put(image, kOutputRecords, "E0 0D 00 00 00 00");  // inverse, use 6, heater
  OutputRow row = LoadOutputRow(image, 0);
  row.use = u"GSM";
  row.inverse = false;
  row.sensor = u"T1.05";
  row.hysteresisHigh = u"1.5";
  row.hysteresisLow = u"-0.5";
  row.type = u"Cooler";
  row.aliasIfOff = u"Склад";
  row.aliasIfOn = std::u16string(40, u'z');
  EXPECT_EQ(StoreOutputRow(row, image, 0), 0);
  EXPECT_EQ(bytesAt(image, kOutputRecords, 6), "E8 1D 96 00 CE FF");
  EXPECT_EQ(bytesAt(image, kOutputAliases, 6), "05 53 6B 6C 61 64");
  EXPECT_EQ(image.at(kOutputAliases + 32 * 6), 31);
  EXPECT_EQ(row.aliasIfOff, u"Sklad");
  EXPECT_EQ(row.aliasIfOn, std::u16string(31, u'z'));
  EXPECT_EQ(row.hysteresisHigh, u"1.50");
  EXPECT_EQ(row.hysteresisLow, u"-0.50");
}

TEST(OutputRow, UnreadableHysteresisIsCountedLowAndHigh) {
  ConfigImage image;
  put(image, kOutputRecords, "00 00 32 00 F6 FF");
  OutputRow row = LoadOutputRow(image, 0);
  row.hysteresisLow = u"-";
  row.hysteresisHigh = u"x1";
  EXPECT_EQ(StoreOutputRow(row, image, 0), 2);
  EXPECT_EQ(bytesAt(image, kOutputRecords, 6), "00 00 32 00 F6 FF");
  EXPECT_EQ(row.hysteresisLow, u"-0.10");
  EXPECT_EQ(row.hysteresisHigh, u"0.50");
}

TEST(OutputRow, PickingAUseStoresItsCode) {
  ConfigImage image;
  put(image, kOutputRecords + 6, "00 F1 00 00 00 00");
  StoreOutputUseText(u"Thermostat", image, 1);  // third in the list, code 1
  EXPECT_EQ(bytesAt(image, kOutputRecords + 6, 2), "00 F3");
  EXPECT_EQ(OutputRowColour(image, 1), (Rgb{255, 255, 255}));
  StoreOutputUseText(u"GSM", image, 1);
  EXPECT_EQ(bytesAt(image, kOutputRecords + 6, 2), "00 F5");
  EXPECT_EQ(OutputRowColour(image, 1), (Rgb{224, 224, 224}));
  StoreOutputUseText(u"External Beeper", image, 1);
  EXPECT_EQ(bytesAt(image, kOutputRecords + 6, 2), "00 FD");
  StoreOutputUseText(u"(7)", image, 1);
  EXPECT_EQ(bytesAt(image, kOutputRecords + 6, 2), "00 FD");
  StoreOutputUseText(u"Not in use", image, 1);
  EXPECT_EQ(bytesAt(image, kOutputRecords + 6, 2), "00 F1");
  EXPECT_EQ(OutputRowColour(image, 1), (Rgb{160, 160, 160}));
  StoreOutputInverse(false, image, 1);
  EXPECT_EQ(bytesAt(image, kOutputRecords + 6, 2), "00 F0");
}

TEST(OutputRow, OddCodesSurviveAStore) {
  ConfigImage image;
  put(image, kOutputRecords, "00 5E 00 00 00 00 00 FF 00 00 00 00");  // use 7 type 5; use 7 type 15
  for (std::size_t k = 0; k < 2; ++k) {
    OutputRow row = LoadOutputRow(image, k);
    EXPECT_EQ(OutputRowColour(image, k), kOddCodeColour);
    StoreOutputRow(row, image, k);
  }
  EXPECT_EQ(LoadOutputRow(image, 0).use, u"(7)");
  EXPECT_EQ(LoadOutputRow(image, 0).type, u"(5)");
  EXPECT_EQ(LoadOutputRow(image, 1).type, u"(15)");
  EXPECT_EQ(bytesAt(image, kOutputRecords, 12), "00 5E 00 00 00 00 00 FF 00 00 00 00");
}

// -------------------------------------------------------------- translated

class TranslatedRows : public ::testing::Test {
 protected:
  void load(const test::TranslationPairs& pairs) {
    test::writeLanguageFile(dir_.file("t.lng"), pairs);
    LoadTranslations(dir_.file("t.lng"));
  }
  void TearDown() override { ClearTranslations(); }
  test::TempDir dir_;
};

TEST_F(TranslatedRows, RowsShowAndStoreTranslatedTexts) {
  load({{"Guard line", "Охрана"}, {"Higher then \"Hi\"", "Выше \"Hi\""}, {"Cooler", "Охладитель"}});
  ConfigImage image;
  MainChannelRow channel = LoadMainChannelRow(image, 0);
  channel.workmode = u"Guard line";  // the English text is not what the user sees
  StoreMainChannelRow(channel, image, 0);
  EXPECT_EQ(bytesAt(image, kChannelRecords + 1, 1), "00");
  channel.workmode = u"Охрана";
  StoreMainChannelRow(channel, image, 0);
  EXPECT_EQ(bytesAt(image, kChannelRecords + 1, 1), "10");
  EXPECT_EQ(LoadMainChannelRow(image, 0).workmode, u"Охрана");

  UserEventRow event = LoadUserEventRow(image, 0);
  event.condition = u"Выше \"Hi\"";
  StoreUserEventRow(event, image, 0);
  EXPECT_EQ(bytesAt(image, kUserEventRecords + 1, 1), "01");

  OutputRow output = LoadOutputRow(image, 0);
  output.type = u"Охладитель";
  StoreOutputRow(output, image, 0);
  EXPECT_EQ(bytesAt(image, kOutputRecords + 1, 1), "10");
}

TEST_F(TranslatedRows, TwoItemsTranslatedAlikeStoreTheFirst) {
  load({{"0 lost", "Потеря"}, {"0 set", "Потеря"}, {"Sirena", "Звук"}, {"GSM", "Звук"}});
  ConfigImage image;
  MainChannelRow channel = LoadMainChannelRow(image, 0);
  channel.alarmCondition = u"Потеря";
  StoreMainChannelRow(channel, image, 0);
  EXPECT_EQ(bytesAt(image, kChannelRecords, 1), "01");  // "0 set" comes first
  StoreOutputUseText(u"Звук", image, 0);
  EXPECT_EQ(bytesAt(image, kOutputRecords + 1, 1), "04");  // "GSM" (code 2) comes before "Sirena"
}

}  // namespace
}  // namespace wk
