// The 1-Wire records in place: where each slot, alias and comment lies, which
// bits each field owns, and what the empty-slot operations leave alone.
#include <gtest/gtest.h>

#include <stdexcept>

#include "document/onewire_records.h"
#include "support/hex.h"

namespace wk {
namespace {

using test::hex;
using test::hexOf;

std::vector<std::uint8_t> bytesAt(const ConfigImage& image, std::size_t offset, std::size_t size) {
  const auto s = image.slice(offset, size);
  return {s.begin(), s.end()};
}

void put(ConfigImage& image, std::size_t offset, const std::string& hexBytes) {
  const auto b = hex(hexBytes);
  std::copy(b.begin(), b.end(), image.slice(offset, b.size()).begin());
}

TEST(RomCode, TextIsSixteenUpperCaseDigitsInStoredOrder) {
  const RomCode rom = RomCode::from(hex("28 1d 39 31 02 00 00 f0"));
  EXPECT_EQ(rom.text(), "281D3931020000F0");
  EXPECT_EQ(rom.family(), 0x28);
  EXPECT_FALSE(rom.isEmpty());
  EXPECT_EQ(RomCode{}.text(), "0000000000000000");
  EXPECT_TRUE(RomCode{}.isEmpty());
  EXPECT_TRUE(RomCode::from(hex("00 00 00 00 00 00 00 00")).isEmpty());
  EXPECT_FALSE(RomCode::from(hex("00 00 00 00 00 00 00 01")).isEmpty());
}

TEST(RomCode, ParsesItsTextAndNothingElse) {
  EXPECT_EQ(RomCode::parse("281D3931020000F0"), RomCode::from(hex("28 1D 39 31 02 00 00 F0")));
  EXPECT_EQ(RomCode::parse("281d3931020000f0"), RomCode::from(hex("28 1D 39 31 02 00 00 F0")));
  for (const char* bad : {"", "281D3931020000F", "281D3931020000F00", "281D3931020000G0", "28 1D3931020000F0",
                          "0x1D3931020000F0"})
    EXPECT_FALSE(RomCode::parse(bad).has_value()) << bad;
}

TEST(ThermoSensorRecord, SlotsOfBothChannelsLieInTheirTables) {
  ConfigImage image;
  ThermoSensorRecord::at(image, 0, 0).setRomCode(RomCode::from(hex("28 1D 39 31 02 00 00 F0")));
  ThermoSensorRecord::at(image, 0, 0).setSlotNumber(0x0F);
  ThermoSensorRecord::at(image, 1, 15).setSlotNumber(15);
  EXPECT_EQ(hexOf(bytesAt(image, 62116, 10)), "28 1D 39 31 02 00 00 F0 0F 00");
  EXPECT_EQ(image.at(62276 + 150 + 8), 15);
  EXPECT_THROW(ThermoSensorRecord::at(image, 2, 0), std::out_of_range);
  EXPECT_THROW(ThermoSensorRecord::at(image, -1, 0), std::out_of_range);
  EXPECT_THROW(ThermoSensorRecord::at(image, 0, 16), std::out_of_range);
}

TEST(ThermoSensorRecord, ErrorReactionOwnsBitsZeroToSix) {
  ConfigImage image;
  put(image, 62116 + 10, "00 00 00 00 00 00 00 00 01 80");
  ThermoSensorRecord r = ThermoSensorRecord::at(image, 0, 1);
  EXPECT_FALSE(r.reacts());
  EXPECT_EQ(r.requestCount(), 0);
  r.setReacts(true);
  r.setRequestCount(5);
  EXPECT_EQ(image.at(62116 + 19), 0x8B);
  r.setRequestCount(64 + 63);  // the low six bits
  EXPECT_EQ(image.at(62116 + 19), 0xFF);
  r.setReacts(false);
  EXPECT_EQ(image.at(62116 + 19), 0xFE);
  EXPECT_EQ(r.requestCount(), 63);
}

TEST(ThermoSensorRecord, ClearingEmptiesCodeAndNumberOnly) {
  ConfigImage image;
  put(image, 62276 + 30, "28 1D 39 31 02 00 00 F0 03 8B");
  ThermoSensorRecord::at(image, 1, 3).clearSensor();
  EXPECT_EQ(hexOf(bytesAt(image, 62276 + 30, 10)), "00 00 00 00 00 00 00 00 00 8B");
}

TEST(SensorAlias, EachChannelHasSixteenOfThirtyTwoBytes) {
  ConfigImage image;
  SensorAlias(image, 0, 0).store(u"Hall");
  SensorAlias(image, 1, 3).store(u"Склад");
  EXPECT_EQ(hexOf(bytesAt(image, 59776, 5)), "04 48 61 6C 6C");
  EXPECT_EQ(hexOf(bytesAt(image, 60288 + 96, 6)), "05 53 6B 6C 61 64");
  EXPECT_THROW(SensorAlias(image, 2, 0), std::out_of_range);
  EXPECT_THROW(SensorAlias(image, 1, 16), std::out_of_range);
}

TEST(IButtonKeyRecord, CodeTypeAndTheUntouchedLastByte) {
  ConfigImage image;
  put(image, 62436 + 20, "01 E1 5C 0F 12 00 00 6C 05 77");
  IButtonKeyRecord key = IButtonKeyRecord::at(image, 2);
  EXPECT_EQ(key.romCode().text(), "01E15C0F1200006C");
  EXPECT_EQ(key.keyType(), 5);
  key.clearKey();
  EXPECT_EQ(hexOf(bytesAt(image, 62436 + 20, 10)), "00 00 00 00 00 00 00 00 05 77");
  key.setRomCode(RomCode::from(hex("02 1C B8 01 00 00 00 A2")));
  key.setKeyType(7);
  EXPECT_EQ(hexOf(bytesAt(image, 62436 + 20, 10)), "02 1C B8 01 00 00 00 A2 07 77");
  EXPECT_THROW(IButtonKeyRecord::at(image, 16), std::out_of_range);
}

TEST(IButtonCommentRecord, LengthThenUtf16LittleEndianCodeUnits) {
  ConfigImage image;
  image.at(60800 + 64 + 1) = 0x5A;  // byte 1 is not ours
  IButtonCommentRecord::at(image, 1).store(u"Ab Я");
  EXPECT_EQ(hexOf(bytesAt(image, 60800 + 64, 10)), "04 5A 41 00 62 00 20 00 2F 04");
  EXPECT_EQ(IButtonCommentRecord::at(image, 1).text(), u"Ab Я");
}

TEST(IButtonCommentRecord, CutsAtThirtyOneAndAtNul) {
  ConfigImage image;
  IButtonCommentRecord c = IButtonCommentRecord::at(image, 15);
  c.store(u"0123456789012345678901234567890123456789");
  EXPECT_EQ(image.at(60800 + 15 * 64), 31);
  EXPECT_EQ(c.text(), u"0123456789012345678901234567890");
  // The 31st unit is the record's last two bytes.
  EXPECT_EQ(hexOf(bytesAt(image, 60800 + 16 * 64 - 2, 2)), "30 00");
  c.store(std::u16string(u"ab\0cd", 5));
  EXPECT_EQ(c.length(), 2u);
  c.store(u"");
  EXPECT_EQ(c.length(), 0u);
  EXPECT_EQ(c.text(), u"");
}

TEST(IButtonCommentRecord, ALengthAboveThirtyOneReadsThirtyOne) {
  ConfigImage image;
  image.at(60800) = 0xFF;
  EXPECT_EQ(IButtonCommentRecord::at(image, 0).length(), 31u);
  EXPECT_EQ(IButtonCommentRecord::at(image, 0).text().size(), 31u);
}

TEST(KeyTypeTable, CodesInListOrder) {
  ASSERT_EQ(KeyTypeTable.size(), 8u);
  const char* names[] = {"Common Key",     "Perimeter Key",     "Common Key Plus",   "Perimeter Key Plus",
                         "Common Key ARM", "Perimeter Key ARM", "Common Key DISARM", "Perimeter Key DISARM"};
  for (std::size_t i = 0; i < KeyTypeTable.size(); ++i) {
    EXPECT_EQ(KeyTypeTable[i].code, i);
    EXPECT_EQ(KeyTypeTable[i].name, names[i]);
  }
}

}  // namespace
}  // namespace wk
