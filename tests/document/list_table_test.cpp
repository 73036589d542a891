#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/main_channel_record.h"
#include "document/output_record.h"
#include "document/user_event_record.h"
#include "language/translate.h"
#include "support/lng_file.h"
#include "support/temp_dir.h"
#include "util/utf.h"

namespace wk {
namespace {

struct Expected {
  int code;
  std::string text;
};

// Every item in list order, as the lists are documented.
void expectItems(const ListTable& table, const std::vector<Expected>& want) {
  ASSERT_EQ(table.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(table.items()[i].code, want[i].code) << "item " << i;
    EXPECT_EQ(table.items()[i].text, want[i].text) << "item " << i;
  }
}

TEST(ListTables, ItemsCodesAndListOrder) {
  expectItems(WorkmodeTable, {{0, "Channel off"},
                              {1, "24hr guard line"},
                              {2, "Guard line"},
                              {4, "Perimeter mode line"},
                              {6, "Guard & Perimeter mode"}});
  expectItems(AlarmConditionTable,
              {{0, "R-change"},         {1, "0 set"},           {2, "1 set"},
               {3, "0 set | 1 set"},    {4, "0 lost"},          {5, "1 lost"},
               {6, "ATZ1 2.2k ALARM"},  {7, "ATZ1 1k ALARM"},   {8, "ATZ1 Line Error"},
               {9, "ATZ2 2.2k ALARM"},  {10, "ATZ2 1k ALARM"},  {11, "ATZ2 Line Error"},
               {12, "ATZ3 1.5k ALARM"}, {13, "ATZ3 0.82k ALARM"}, {14, "ATZ3 Line Error"},
               {15, "ATZ4 1.5k ALARM"}, {16, "ATZ4 0.82k ALARM"}, {17, "ATZ4 Line Error"}});
  expectItems(MultiactionTable, {{0, "Multi-zone"}, {1, "Single-zone"}, {2, "15 sec freeze"}, {3, "30 sec freeze"}});
  expectItems(UserEventMultiactionTable, {{0, "Multi-zone"}, {1, "Single-zone"}});
  expectItems(ThresholdConditionTable, {{1, "Higher then \"Hi\""}, {0, "Lower then \"Lo\""}});
  expectItems(OutputUseTable, {{0, "Not in use"},
                               {2, "GSM"},
                               {1, "Thermostat"},
                               {3, "Sirena"},
                               {4, "Lock"},
                               {5, "Power Sensors"},
                               {6, "External Beeper"}});
  expectItems(OutputTypeTable, {{0, "Heater"}, {1, "Cooler"}});
}

TEST(ListTables, RowColours) {
  EXPECT_EQ(WorkmodeTable.colourOf(0), (Rgb{224, 224, 224}));
  EXPECT_EQ(WorkmodeTable.colourOf(1), (Rgb{255, 240, 240}));
  EXPECT_EQ(WorkmodeTable.colourOf(2), (Rgb{240, 255, 240}));
  EXPECT_EQ(WorkmodeTable.colourOf(4), (Rgb{240, 240, 255}));
  EXPECT_EQ(WorkmodeTable.colourOf(6), (Rgb{255, 255, 255}));
  for (std::uint8_t odd : {3, 5, 7}) EXPECT_EQ(WorkmodeTable.colourOf(odd), kOddCodeColour);

  // One rule for the outputs: the colour follows the stored use, refreshed or picked.
  EXPECT_EQ(OutputUseTable.colourOf(0), (Rgb{160, 160, 160}));
  EXPECT_EQ(OutputUseTable.colourOf(1), (Rgb{255, 255, 255}));
  for (std::uint8_t use : {2, 3, 4, 5, 6}) EXPECT_EQ(OutputUseTable.colourOf(use), (Rgb{224, 224, 224}));
  EXPECT_EQ(OutputUseTable.colourOf(7), kOddCodeColour);
  // The odd-code colour is none of the colours a list gives.
  for (const ListItem& item : WorkmodeTable.items()) EXPECT_NE(item.colour, kOddCodeColour);
  for (const ListItem& item : OutputUseTable.items()) EXPECT_NE(item.colour, kOddCodeColour);
}

TEST(ListTables, TextOfACode) {
  EXPECT_EQ(OutputUseTable.textOf(1), u"Thermostat");
  EXPECT_EQ(OutputUseTable.textOf(2), u"GSM");
  EXPECT_EQ(WorkmodeTable.textOf(3), std::nullopt);
  EXPECT_EQ(AlarmConditionTable.textOf(18), std::nullopt);
  EXPECT_EQ(UserEventMultiactionTable.textOf(2), std::nullopt);
  EXPECT_EQ(OutputTypeTable.textOf(15), std::nullopt);
}

TEST(ListTables, AnOddCodeIsShownAsATextThatMatchesNoItem) {
  EXPECT_EQ(WorkmodeTable.shownText(5), u"(5)");
  EXPECT_EQ(AlarmConditionTable.shownText(31), u"(31)");
  EXPECT_EQ(UserEventMultiactionTable.shownText(3), u"(3)");
  EXPECT_EQ(OutputUseTable.shownText(7), u"(7)");
  EXPECT_EQ(OutputTypeTable.shownText(9), u"(9)");
  for (const ListTable* table : {&WorkmodeTable, &AlarmConditionTable, &UserEventMultiactionTable, &OutputUseTable,
                                 &OutputTypeTable})
    for (int code = 0; code < 32; ++code) {
      const auto c = static_cast<std::uint8_t>(code);
      if (!table->find(c)) {
        EXPECT_EQ(table->codeOf(table->shownText(c)), std::nullopt) << code;
      }
    }
  EXPECT_EQ(WorkmodeTable.shownText(4), u"Perimeter mode line");
}

TEST(ListTables, CodeOfATextIsExact) {
  EXPECT_EQ(OutputUseTable.codeOf(u"Thermostat"), 1);
  EXPECT_EQ(OutputUseTable.codeOf(u"GSM"), 2);
  EXPECT_EQ(ThresholdConditionTable.codeOf(u"Higher then \"Hi\""), 1);
  EXPECT_EQ(ThresholdConditionTable.codeOf(u"Lower then \"Lo\""), 0);
  EXPECT_EQ(WorkmodeTable.codeOf(u"guard line"), std::nullopt);   // letter case counts
  EXPECT_EQ(WorkmodeTable.codeOf(u"Guard line "), std::nullopt);  // so do blanks
  EXPECT_EQ(WorkmodeTable.codeOf(u""), std::nullopt);
  EXPECT_EQ(UserEventMultiactionTable.codeOf(u"15 sec freeze"), std::nullopt);  // not offered there
  EXPECT_EQ(MultiactionTable.codeOf(u"15 sec freeze"), 2);
}

class TranslatedLists : public ::testing::Test {
 protected:
  void load(const test::TranslationPairs& pairs) {
    test::writeLanguageFile(dir_.file("t.lng"), pairs);
    LoadTranslations(dir_.file("t.lng"));
  }
  void TearDown() override { ClearTranslations(); }
  test::TempDir dir_;
};

TEST_F(TranslatedLists, TextsAreComparedTranslatedNeverInEnglish) {
  load({{"Guard line", "Охрана"}, {"Heater", "Нагреватель"}});
  EXPECT_EQ(WorkmodeTable.textOf(2), u"Охрана");
  EXPECT_EQ(WorkmodeTable.codeOf(u"Охрана"), 2);
  EXPECT_EQ(WorkmodeTable.codeOf(u"Guard line"), std::nullopt);
  EXPECT_EQ(OutputTypeTable.texts(), (std::vector<std::u16string>{u"Нагреватель", u"Cooler"}));
}

TEST_F(TranslatedLists, TwoItemsTranslatedAlikeGiveTheFirstInListOrder) {
  // In OutputUseTable "GSM" (code 2) comes before "Thermostat" (code 1).
  load({{"Thermostat", "Same"}, {"GSM", "Same"}, {"24hr guard line", "Same"}, {"Perimeter mode line", "Same"}});
  EXPECT_EQ(OutputUseTable.codeOf(u"Same"), 2);
  EXPECT_EQ(WorkmodeTable.codeOf(u"Same"), 1);
}

}  // namespace
}  // namespace wk
