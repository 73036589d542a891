#include <gtest/gtest.h>

#include <vector>

#include "document/centidegrees.h"
#include "document/config_image.h"
#include "document/output_record.h"
#include "document/sensor_ref.h"
#include "document/user_event_record.h"
#include "support/hex.h"
#include "util/utf.h"

namespace wk {
namespace {

using test::hexOf;

// Image offsets as the controller's memory map gives them.
constexpr std::size_t kUserEventRecords = 61984;
constexpr std::size_t kOutputRecords = 62080;
constexpr std::size_t kOutputAliases = 59392;

std::vector<std::uint8_t> bytesAt(const ConfigImage& image, std::size_t offset, std::size_t size) {
  const auto s = image.slice(offset, size);
  return {s.begin(), s.end()};
}

TEST(SensorRef, TextFormAndByte) {
  EXPECT_EQ(SensorRef::fromByte(0).text(), "T1.01");
  EXPECT_EQ(SensorRef::fromByte(31).text(), "T2.16");
  EXPECT_EQ(SensorRef::fromByte(0x02).text(), "T1.02");
  EXPECT_EQ(SensorRef::fromByte(0x01).text(), "T2.01");
  EXPECT_EQ(SensorRef::fromByte(0xE0).text(), "T1.01");  // bits 5..7 are no part of it
  const auto items = SensorRef::listTexts();
  ASSERT_EQ(items.size(), 32u);
  EXPECT_EQ(items[0], "T1.01");
  EXPECT_EQ(items[15], "T1.16");
  EXPECT_EQ(items[16], "T2.01");
  EXPECT_EQ(items[31], "T2.16");
}

TEST(SensorRef, StoringKeepsBits5To7) {
  std::uint8_t byte = 0xA0;
  SensorRef{2, 16}.storeInto(byte);
  EXPECT_EQ(byte, 0xBF);  // 31 in bits 0..4
  SensorRef{1, 1}.storeInto(byte);
  EXPECT_EQ(byte, 0xA0);
  // Numbers out of range are brought into the fields by their low bits.
  SensorRef{3, 17}.storeInto(byte);
  EXPECT_EQ(byte, 0xA0);
  SensorRef{0, 0}.storeInto(byte);
  EXPECT_EQ(byte, 0xBF);
}

TEST(SensorRef, ReadBackAsTPercentDDotPercentD) {
  EXPECT_EQ(SensorRef::parse(u"T2.16"), (SensorRef{2, 16}));
  EXPECT_EQ(SensorRef::parse(u"T1.01"), (SensorRef{1, 1}));
  EXPECT_EQ(SensorRef::parse(u"T2.5"), (SensorRef{2, 5}));
  EXPECT_EQ(SensorRef::parse(u"T 1. 7xyz"), (SensorRef{1, 7}));  // blanks before numbers are skipped
  EXPECT_EQ(SensorRef::parse(u"T3.40"), (SensorRef{3, 40}));
  EXPECT_EQ(SensorRef::parse(u""), std::nullopt);
  EXPECT_EQ(SensorRef::parse(u"t1.01"), std::nullopt);
  EXPECT_EQ(SensorRef::parse(u" T1.01"), std::nullopt);
  EXPECT_EQ(SensorRef::parse(u"T1"), std::nullopt);
  EXPECT_EQ(SensorRef::parse(u"T1."), std::nullopt);
  EXPECT_EQ(SensorRef::parse(u"T1 .2"), std::nullopt);
  EXPECT_EQ(SensorRef::parse(u"Т1.01"), std::nullopt);  // a Cyrillic Т
}

TEST(Centidegrees, TextOfTheStoredValue) {
  EXPECT_EQ(Centidegrees::text(2550), "25.50");
  EXPECT_EQ(Centidegrees::text(-1050), "-10.50");
  EXPECT_EQ(Centidegrees::text(0), "0.00");
  EXPECT_EQ(Centidegrees::text(-500), "-5.00");
  EXPECT_EQ(Centidegrees::text(69), "0.69");
  EXPECT_EQ(Centidegrees::text(-1), "-0.01");
  EXPECT_EQ(Centidegrees::text(32767), "327.67");
  EXPECT_EQ(Centidegrees::text(-32768), "-327.68");
}

TEST(Centidegrees, CellTextToTheNearestHundredth) {
  EXPECT_EQ(Centidegrees::parse(u"25.5"), 2550);
  EXPECT_EQ(Centidegrees::parse(u"-5"), -500);
  EXPECT_EQ(Centidegrees::parse(u"1.5"), 150);
  EXPECT_EQ(Centidegrees::parse(u"0.69"), 69);  // a float 0.69 is 68.99999... hundredths
  EXPECT_EQ(Centidegrees::parse(u"0.125"), 13);  // halves away from zero
  EXPECT_EQ(Centidegrees::parse(u"-0.125"), -13);
  EXPECT_EQ(Centidegrees::parse(u"0.004"), 0);
  EXPECT_EQ(Centidegrees::parse(u" 3abc"), 300);
  EXPECT_EQ(Centidegrees::parse(u"abc"), std::nullopt);
  EXPECT_EQ(Centidegrees::parse(u""), std::nullopt);
  EXPECT_EQ(Centidegrees::parse(u"nan"), std::nullopt);  // a number no field can hold
}

TEST(Centidegrees, OutOfRangeIsClampedNeverWrapped) {
  EXPECT_EQ(Centidegrees::parse(u"327.67"), 32767);
  EXPECT_EQ(Centidegrees::parse(u"327.675"), 32767);
  EXPECT_EQ(Centidegrees::parse(u"400"), 32767);
  EXPECT_EQ(Centidegrees::parse(u"1e30"), 32767);
  EXPECT_EQ(Centidegrees::parse(u"inf"), 32767);
  EXPECT_EQ(Centidegrees::parse(u"-327.68"), -32768);
  EXPECT_EQ(Centidegrees::parse(u"-327.69"), -32768);
  EXPECT_EQ(Centidegrees::parse(u"-1e30"), -32768);
  EXPECT_EQ(Centidegrees::parse(u"-inf"), -32768);
}

// The grid reads every threshold cell again at each end of edit: whatever it
// shows must store the value it came from.
TEST(Centidegrees, EveryShownValueReadsBackAsItself) {
  for (int v = -32768; v <= 32767; ++v) {
    const auto value = static_cast<std::int16_t>(v);
    ASSERT_EQ(Centidegrees::parse(utf8ToUtf16(Centidegrees::text(value))), value) << v;
  }
}

TEST(Centidegrees, SignedLittleEndianField) {
  std::uint8_t raw[2] = {};
  Centidegrees::write(raw, 0, -500);
  EXPECT_EQ(hexOf({raw[0], raw[1]}), "0C FE");
  EXPECT_EQ(Centidegrees::read(raw, 0), -500);
  Centidegrees::write(raw, 0, 2550);
  EXPECT_EQ(hexOf({raw[0], raw[1]}), "F6 09");
}

TEST(UserEventRecord, FieldsLandInTheirBits) {
  ConfigImage image;
  auto r = UserEventRecord::at(image, 1);
  r.setSensor({2, 16});
  r.setCondition(1);
  r.setWorkmode(6);
  r.setMultiaction(1);
  r.setHi(2550);
  r.setLo(-500);
  EXPECT_EQ(hexOf(bytesAt(image, kUserEventRecords + 6, 6)), "1F 1D F6 09 0C FE");
  EXPECT_EQ(hexOf(bytesAt(image, kUserEventRecords, 6)), "00 00 00 00 00 00");
  EXPECT_EQ(hexOf(bytesAt(image, kUserEventRecords + 12, 6)), "00 00 00 00 00 00");
  EXPECT_EQ(r.sensor(), (SensorRef{2, 16}));
  EXPECT_EQ(r.condition(), 1);
  EXPECT_EQ(r.workmode(), 6);
  EXPECT_EQ(r.multiaction(), 1);
  EXPECT_EQ(r.hi(), 2550);
  EXPECT_EQ(r.lo(), -500);
  EXPECT_THROW(UserEventRecord::at(image, 16), std::out_of_range);
}

TEST(UserEventRecord, EachFieldKeepsTheOtherBits) {
  ConfigImage image;
  auto r = UserEventRecord::at(image, 15);
  const std::size_t at = kUserEventRecords + 90;
  image.at(at) = 0xFF;
  image.at(at + 1) = 0xFF;
  r.setSensor({1, 1});
  EXPECT_EQ(image.at(at), 0xE0);
  r.setCondition(0);
  EXPECT_EQ(image.at(at + 1), 0xFE);
  r.setWorkmode(0);
  EXPECT_EQ(image.at(at + 1), 0xF0);
  r.setMultiaction(0);
  EXPECT_EQ(image.at(at + 1), 0xC0);  // bits 6..7 belong to no editor
}

TEST(OutputRecord, FieldsLandInTheirBits) {
  ConfigImage image;
  auto r = OutputRecord::at(image, 5);
  r.setSensor({1, 3});
  r.setInverse(true);
  r.setUse(1);
  r.setType(1);
  r.setHysteresisHigh(150);
  r.setHysteresisLow(-1050);
  EXPECT_EQ(hexOf(bytesAt(image, kOutputRecords + 30, 6)), "04 13 96 00 E6 FB");
  EXPECT_EQ(hexOf(bytesAt(image, kOutputRecords + 24, 6)), "00 00 00 00 00 00");
  EXPECT_TRUE(r.inverse());
  EXPECT_EQ(r.use(), 1);
  EXPECT_EQ(r.type(), 1);
  EXPECT_EQ(r.hysteresisHigh(), 150);
  EXPECT_EQ(r.hysteresisLow(), -1050);
  EXPECT_THROW(OutputRecord::at(image, 6), std::out_of_range);
}

TEST(OutputRecord, EachFieldKeepsTheOtherBits) {
  ConfigImage image;
  auto r = OutputRecord::at(image, 0);
  image.at(kOutputRecords + 1) = 0xFF;
  r.setType(0);  // "Heater" clears bits 4..7
  EXPECT_EQ(image.at(kOutputRecords + 1), 0x0F);
  r.setType(1);  // "Cooler" sets them to 0001
  EXPECT_EQ(image.at(kOutputRecords + 1), 0x1F);
  r.setUse(2);
  EXPECT_EQ(image.at(kOutputRecords + 1), 0x15);
  r.setInverse(false);
  EXPECT_EQ(image.at(kOutputRecords + 1), 0x14);
  image.at(kOutputRecords) = 0xE0;
  r.setSensor({2, 16});
  EXPECT_EQ(image.at(kOutputRecords), 0xFF);
}

TEST(OutputAliasTable, OffThenOnRecords) {
  ConfigImage image;
  OutputAliasTable aliases(image);
  EXPECT_EQ(aliases.ifOff(0).store(u"Off1"), u"Off1");
  EXPECT_EQ(aliases.ifOn(0).store(u"On1"), u"On1");
  EXPECT_EQ(aliases.ifOn(5).store(u"Склад"), u"Sklad");
  EXPECT_EQ(hexOf(bytesAt(image, kOutputAliases, 5)), "04 4F 66 66 31");
  EXPECT_EQ(hexOf(bytesAt(image, kOutputAliases + 6 * 32, 4)), "03 4F 6E 31");
  EXPECT_EQ(hexOf(bytesAt(image, kOutputAliases + 11 * 32, 6)), "05 53 6B 6C 61 64");
  EXPECT_THROW(aliases.record(12), std::out_of_range);
}

}  // namespace
}  // namespace wk
