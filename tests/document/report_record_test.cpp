// The report records of the ten SMS requests, byte for byte as the
// controller's memory map gives them, and the column steps of the grid.
#include "document/report_record.h"

#include <gtest/gtest.h>

#include "document/defaults.h"
#include "language/translate.h"
#include "support/hex.h"
#include "support/lng_file.h"
#include "support/temp_dir.h"

namespace wk {
namespace {

using test::hex;
using test::hexOf;

constexpr std::size_t kReports = 62752;  // record c at 62752 + 10c

std::string bytesAt(const ConfigImage& image, std::size_t offset, std::size_t size) {
  const auto s = image.slice(offset, size);
  return hexOf({s.begin(), s.end()});
}

void put(ConfigImage& image, std::size_t offset, std::string_view bytes) {
  const auto b = hex(bytes);
  std::copy(b.begin(), b.end(), image.slice(offset, b.size()).begin());
}

TEST(ReportRecord, TheTenRecordsLieAtTheirImageOffsets) {
  ConfigImage image;
  for (std::size_t c = 0; c < 10; ++c) {
    const auto record = ReportRecord::at(image, c);
    EXPECT_EQ(record.bytes().data(), image.all().data() + kReports + 10 * c) << c;
  }
  EXPECT_THROW(ReportRecord::at(image, 10), std::out_of_range);
  // The last record ends where the GSM managed outputs begin.
  EXPECT_EQ(ReportRecord::at(image, 9).bytes().data() + 10, image.all().data() + 62852);
}

TEST(ReportRecord, StatusAndT216OfRequestThreeSetTheirBitsOnly) {
  ConfigImage image;
  auto record = ReportRecord::at(image, 3);
  record.setIncludes(0, true);   // Status
  record.setIncludes(63, true);  // Thermo sensor T2.16
  EXPECT_EQ(image.at(62782), 0x01);
  EXPECT_EQ(image.at(62789), 0x80);
  ConfigImage expected;
  expected.at(62782) = 0x01;
  expected.at(62789) = 0x80;
  EXPECT_TRUE(image == expected);
  EXPECT_TRUE(record.includes(0));
  EXPECT_FALSE(record.includes(1));
  record.setIncludes(0, false);
  EXPECT_EQ(image.at(62782), 0x00);
  EXPECT_EQ(image.at(62789), 0x80);
  EXPECT_THROW(record.setIncludes(64, true), std::out_of_range);
}

TEST(ReportRecord, FlagPositionsByRow) {
  // Row r (1..64) is bit (r - 1) % 8 of byte (r - 1) / 8.
  EXPECT_EQ(ReportRecord::itemBit(1), (RecordBit{0, 0x02}));   // Get Balance
  EXPECT_EQ(ReportRecord::itemBit(7), (RecordBit{0, 0x80}));   // Output # 6
  EXPECT_EQ(ReportRecord::itemBit(8), (RecordBit{1, 0x01}));   // Input # 1
  EXPECT_EQ(ReportRecord::itemBit(31), (RecordBit{3, 0x80}));  // Input # 24
  EXPECT_EQ(ReportRecord::itemBit(32), (RecordBit{4, 0x01}));  // T1.01
  EXPECT_EQ(ReportRecord::itemBit(48), (RecordBit{6, 0x01}));  // T2.01
  EXPECT_EQ(ReportRecord::numberBit(1), (RecordBit{8, 0x08}));
  EXPECT_EQ(ReportRecord::numberBit(5), (RecordBit{8, 0x80}));
  EXPECT_EQ(ReportRecord::numberBit(6), (RecordBit{9, 0x01}));
  EXPECT_EQ(ReportRecord::numberBit(8), (RecordBit{9, 0x04}));
  EXPECT_THROW(ReportRecord::numberBit(0), std::out_of_range);
  EXPECT_THROW(ReportRecord::numberBit(9), std::out_of_range);
}

TEST(ReportRecord, TheReservedBitsOfTheWordAsOneNumber) {
  ConfigImage image;
  put(image, kReports + 18, "FF 87");
  auto record = ReportRecord::at(image, 1);
  EXPECT_EQ(record.reservedBits(), 16);  // bit 15 alone
  record.setReservedBits(0x2A);          // the low five bits: 01010
  EXPECT_EQ(bytesAt(image, kReports + 18, 2), "FF 57");
  EXPECT_EQ(record.reservedBits(), 10);
  EXPECT_EQ(record.period(), 7);
  EXPECT_EQ(record.numbers(), 0xFF);
}

TEST(ReportRecord, PeriodAndNumbersShareTheWord) {
  ConfigImage image;
  put(image, kReports + 8, "FF FF");
  auto record = ReportRecord::at(image, 0);
  EXPECT_EQ(record.period(), 7);
  EXPECT_EQ(record.numbers(), 0xFF);
  record.setPeriod(3);
  EXPECT_EQ(bytesAt(image, kReports + 8, 2), "FB FF");
  record.setPeriod(0x0A);  // only three bits fit
  EXPECT_EQ(record.period(), 2);
  // Bits 3..14 cleared, bit 15 and the period kept.
  record.storeNumbers(0x81);
  EXPECT_EQ(bytesAt(image, kReports + 8, 2), "0A 84");
  EXPECT_TRUE(record.sendsTo(1));
  EXPECT_FALSE(record.sendsTo(2));
  EXPECT_TRUE(record.sendsTo(8));
  EXPECT_EQ(record.word(), 0x840A);
  EXPECT_EQ(bytesAt(image, kReports, 8), "00 00 00 00 00 00 00 00");
  EXPECT_EQ(bytesAt(image, kReports + 10, 2), "00 00");
}

TEST(ReportItems, RowOrderNamesAndLabels) {
  const auto& items = ReportItems();
  EXPECT_EQ(items[0].name(), "Status");
  EXPECT_EQ(items[1].name(), "Get Balance");
  EXPECT_EQ(items[2].name(), "Output # 1");
  EXPECT_EQ(items[7].name(), "Output # 6");
  EXPECT_EQ(items[8].name(), "Input # 1");
  EXPECT_EQ(items[31].name(), "Input # 24");
  EXPECT_EQ(items[32].name(), "Thermo sensor T1.01");
  EXPECT_EQ(items[47].name(), "Thermo sensor T1.16");
  EXPECT_EQ(items[48].name(), "Thermo sensor T2.01");
  EXPECT_EQ(items[63].name(), "Thermo sensor T2.16");
  EXPECT_EQ(ReportNumberName(8), "My Number 8");

  test::TempDir dir;
  test::writeLanguageFile(dir.file("t.lng"), {{"Input #", "Вход №"}, {"My Number", "Мой номер"}, {"Status", "Статус"}});
  LoadTranslations(dir.file("t.lng"));
  EXPECT_EQ(items[0].label(), u"Статус");
  EXPECT_EQ(items[9].label(), u"Вход № 2");
  EXPECT_EQ(items[40].label(), u"Thermo sensor T1.09");
  EXPECT_EQ(ReportNumberLabel(3), u"Мой номер 3");
  EXPECT_EQ(items[9].name(), "Input # 2");  // names stay English
  ClearTranslations();
}

TEST(ReportPeriodList, CodesInListOrder) {
  const char* texts[] = {"Not active", "Every 2h",  "Every 8h",  "Every 24h",
                         "Every 5d",   "Every 10d", "Every 15d", "Every 30d"};
  ASSERT_EQ(ReportPeriodList.size(), 8u);
  for (std::size_t i = 0; i < 8; ++i) {
    EXPECT_EQ(ReportPeriodList.items()[i].code, i);
    EXPECT_STREQ(ReportPeriodList.items()[i].text, texts[i]);
  }
}

TEST(ReportPeriodList, TheFirstTextFoundWithinTheCellGivesTheCode) {
  EXPECT_EQ(ReportPeriodCodeIn(u"Every 24h"), 3);
  EXPECT_EQ(ReportPeriodCodeIn(u"(Every 30d)"), 7);
  EXPECT_EQ(ReportPeriodCodeIn(u"Every 2h and Every 8h"), 1);  // list order decides
  EXPECT_EQ(ReportPeriodCodeIn(u""), std::nullopt);
  EXPECT_EQ(ReportPeriodCodeIn(u"every 24h"), std::nullopt);

  // Compared as shown, first in list order: with "Every 2h" shown as
  // "Every", a cell showing the ten-day period holds it too.
  test::TempDir dir;
  test::writeLanguageFile(dir.file("t.lng"), {{"Every 2h", "Every"}, {"Every 24h", "Каждые 24ч"}});
  LoadTranslations(dir.file("t.lng"));
  EXPECT_EQ(ReportPeriodCodeIn(u"Every 10d"), 1);
  EXPECT_EQ(ReportPeriodCodeIn(u"Каждые 24ч"), 3);
  EXPECT_EQ(ReportPeriodCodeIn(u"Not active"), 0);
  ClearTranslations();
}

TEST(ReportColumn, ANewDocumentLoadsEmptyColumnsAndStoresThemBackAsZeros) {
  ConfigImage image;
  applyNewDocumentDefaults(image);
  const ConfigImage before = image;
  for (std::size_t c = 0; c < 10; ++c) {
    const ReportColumn column = LoadReportColumn(image, c);
    EXPECT_EQ(column.period, u"Not active");
    for (const bool on : column.items) EXPECT_FALSE(on);
    for (const bool on : column.numbers) EXPECT_FALSE(on);
    StoreReportColumn(column, image, c);
  }
  EXPECT_TRUE(image == before);
  EXPECT_EQ(bytesAt(image, kReports, 100), hexOf(std::vector<std::uint8_t>(100, 0)));
}

TEST(ReportColumn, Every24hWithMyNumbersOneAndEightStores0B04) {
  ConfigImage image;
  ReportColumn column = LoadReportColumn(image, 0);
  column.period = u"Every 24h";
  column.numbers[0] = true;
  column.numbers[7] = true;
  StoreReportColumn(column, image, 0);
  EXPECT_EQ(bytesAt(image, kReports, 10), "00 00 00 00 00 00 00 00 0B 04");
  EXPECT_EQ(LoadReportColumn(image, 0), column);
}

TEST(ReportColumn, TheStoreReplacesTheFlagsClearsBits11To14AndKeepsBit15) {
  ConfigImage image;
  put(image, kReports + 50, "FF FF FF FF FF FF FF FF 85 F8");  // record 5: period 5, number 5, bits 11..15
  put(image, kReports + 60, "00 00 00 00 00 00 00 00 00 80");
  ReportColumn column = LoadReportColumn(image, 5);
  EXPECT_EQ(column.period, u"Every 10d");
  EXPECT_TRUE(column.numbers[4]);
  EXPECT_FALSE(column.numbers[0]);
  column.items.fill(false);
  column.items[2] = true;  // Output # 1
  column.numbers[4] = false;
  column.numbers[5] = true;
  StoreReportColumn(column, image, 5);
  EXPECT_EQ(bytesAt(image, kReports + 50, 10), "04 00 00 00 00 00 00 00 05 81");
  // A period text that names no period keeps the bits.
  column.period = u"(5)";
  StoreReportColumn(column, image, 6);
  EXPECT_EQ(bytesAt(image, kReports + 60, 10), "04 00 00 00 00 00 00 00 00 81");
}

TEST(ReportColumn, ClearingTheReservedBitsOfEveryRecordLeavesAllElse) {
  ConfigImage image;
  for (std::size_t c = 0; c < 10; ++c) put(image, kReports + 10 * c, "FF FF FF FF FF FF FF FF FF FF");
  image.at(kReports - 1) = 0xFF;
  image.at(kReports + 100) = 0xFF;
  ClearReportReservedBits(image);
  for (std::size_t c = 0; c < 10; ++c)
    EXPECT_EQ(bytesAt(image, kReports + 10 * c, 10), "FF FF FF FF FF FF FF FF FF 87") << c;
  EXPECT_EQ(image.at(kReports - 1), 0xFF);
  EXPECT_EQ(image.at(kReports + 100), 0xFF);
}

}  // namespace
}  // namespace wk
