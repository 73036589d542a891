// The reports as fields: the rows, periods and numbers in the page's words,
// and the bits no page shows carried whole.
#include <gtest/gtest.h>

#include <tuple>

#include "document/config_diff.h"
#include "document/config_fields.h"
#include "document/defaults.h"
#include "document/config_field_helpers.h"
#include "support/hex.h"

namespace wk::config {
namespace {

using test::hex;
using field_test::newImage;
using field_test::field;
using field_test::bytesAt;
using field_test::writeOk;
using field_test::refusal;

constexpr std::size_t kReports = 62752;  // CommonSettings + 156

TEST(ConfigReports, ItemsPeriodAndNumbersAreStoredWhereThePageStoresThem) {
  ConfigImage image = newImage();
  writeOk("reports[?3].items", image, Value::ofFlags({"Status", "Thermo sensor T2.16"}));
  EXPECT_EQ(bytesAt(image, kReports + 30, 10), hex("01 00 00 00 00 00 00 80 00 00"));
  writeOk("reports[?0].period", image, Value::ofText("Every 24h"));
  writeOk("reports[?0].myNumbers", image, Value::ofFlags({"My Number 1", "My Number 8"}));
  EXPECT_EQ(bytesAt(image, kReports + 8, 2), hex("0B 04"));
  writeOk("reports[?9].items", image, Value::ofFlags({"Get Balance", "Output # 6", "Input # 1", "Input # 24",
                                                      "Thermo sensor T1.01"}));
  EXPECT_EQ(bytesAt(image, kReports + 90, 8), hex("82 01 00 80 01 00 00 00"));
  Reader r(image);
  EXPECT_EQ(r.read(field("reports[?9].items")), Value::ofFlags({"Get Balance", "Output # 6", "Input # 1",
                                                               "Input # 24", "Thermo sensor T1.01"}));
  EXPECT_EQ(r.read(field("reports[?1].period")), Value::ofText("Not active"));
  EXPECT_EQ(r.read(field("reports[?0].reservedBits")), Value::ofInteger(0));
  EXPECT_EQ(refusal("reports[?2].items", Value::ofFlags({"Output # 7"})), "\"Output # 7\" is no item of its list");
  EXPECT_EQ(refusal("reports[?2].period", Value::ofText("Every 48h")), "\"Every 48h\" is no item of its list");
}

TEST(ConfigReports, TheReservedBitsTravelSoARecordComesBackWhole) {
  ConfigImage image = newImage();
  image.at(kReports + 10 * 4 + 9) = 0xC0;  // bits 14 and 15 of the word of ?4
  Reader r(image);
  EXPECT_EQ(r.read(field("reports[?4].reservedBits")), Value::ofInteger(24));
  ConfigImage onNew = newImage();
  writeOk("reports[?4].reservedBits", onNew, Value::ofInteger(24));
  EXPECT_EQ(bytesAt(onNew, kReports + 40, 10), bytesAt(image, kReports + 40, 10));
  // The numbers leave them alone.
  writeOk("reports[?4].myNumbers", onNew, Value::ofFlags({"My Number 5"}));
  EXPECT_EQ(bytesAt(onNew, kReports + 48, 2), hex("80 C0"));
  EXPECT_EQ(refusal("reports[?4].reservedBits", Value::ofInteger(32)), "32 is out of range 0..31");
}

TEST(ConfigDiff, OneBitOfAReportShows) {
  const ConfigImage a = newImage();
  const std::vector<std::tuple<std::size_t, std::uint8_t, std::string>> bits = {
      {kReports, 0x01, "reports[?0].items: - -> Status"},
      {kReports + 95, 0x01, "reports[?9].items: - -> Thermo sensor T1.09"},
      {kReports + 8, 0x01, "reports[?0].period: Not active -> Every 2h"},
      {kReports + 19, 0x01, "reports[?1].myNumbers: - -> My Number 6"},
      {kReports + 59, 0x08, "reports[?5].reservedBits: 0 -> 1"},
      {kReports + 99, 0x80, "reports[?9].reservedBits: 0 -> 16"},
  };
  for (const auto& [offset, mask, line] : bits)
    EXPECT_EQ(field_test::diffWithBitFlipped(a, offset, mask), std::vector<std::string>{line});
}

}  // namespace
}  // namespace wk::config
