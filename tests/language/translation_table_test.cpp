// The lookup rules of the translation table, and the program-wide functions
// that every caption and message goes through.
#include "language/translation_table.h"

#include <gtest/gtest.h>

#include <memory>

#include "language/translate.h"
#include "support/hex.h"
#include "support/lng_file.h"
#include "support/temp_dir.h"
#include "util/utf.h"

namespace wk {
namespace {

TranslationTable tableOf(std::vector<TranslationPair> pairs) {
  TranslationTable table;
  table.assign(std::move(pairs));
  return table;
}

TEST(TranslationTable, OnlyTheExactWholeTextIsTranslated) {
  const auto table = tableOf({{u"Read compleeted", u"Чтение завершено"}, {u"Save", u"Сохранить"}});
  EXPECT_EQ(table.translate(u"Read compleeted"), u"Чтение завершено");
  EXPECT_EQ(table.translate(u"Read compleeted "), u"Read compleeted ");
  EXPECT_EQ(table.translate(u"read compleeted"), u"read compleeted");
  EXPECT_EQ(table.translate(u"Read completed"), u"Read completed");
  EXPECT_EQ(table.translate(u"Save file"), u"Save file");
  EXPECT_EQ(table.translate(u"Other"), u"Other");
}

TEST(TranslationTable, FirstPairWins) {
  const auto table = tableOf({{u"OK", u"first"}, {u"OK", u"second"}});
  EXPECT_EQ(table.translate(u"OK"), u"first");
}

TEST(TranslationTable, CyrillicLookAlikesMustMatchExactly) {
  const std::u16string cyrillic = u"While sending config-file save \"GSM managed\" \u043Eutput values";
  const std::u16string latin = u"While sending config-file save \"GSM managed\" output values";
  EXPECT_EQ(tableOf({{latin, u"latin"}}).translate(cyrillic), cyrillic);
  EXPECT_EQ(tableOf({{cyrillic, u"Сохранять"}}).translate(cyrillic), u"Сохранять");
}

TEST(TranslationTable, SearchLimitIsLastNonEmptyOriginalPlusFive) {
  std::vector<TranslationPair> pairs;
  for (int i = 0; i <= 10; ++i) pairs.push_back({u"text" + std::u16string(1, static_cast<char16_t>(u'a' + i)), u"t"});
  for (int i = 11; i < 30; ++i) pairs.push_back({u"", u"empty" + std::u16string(1, static_cast<char16_t>(u'a' + i))});
  const auto table = tableOf(pairs);
  EXPECT_EQ(table.count(), 30);
  EXPECT_EQ(table.searchLimit(), 15u);
  // An empty text is looked up like any other: the first empty original.
  EXPECT_EQ(table.translate(u""), u"emptyl");

  EXPECT_EQ(tableOf({{u"", u"x"}, {u"", u"y"}}).searchLimit(), 0u);
  EXPECT_EQ(tableOf({{u"", u"x"}, {u"", u"y"}}).translate(u""), u"");
  EXPECT_EQ(tableOf({{u"", u"empty"}, {u"A", u"a"}}).translate(u""), u"empty");
  // The limit may lie past the last pair: the lookup stops at the last one.
  const auto shortTable = tableOf({{u"A", u"a"}, {u"B", u"b"}});
  EXPECT_EQ(shortTable.searchLimit(), 6u);
  EXPECT_EQ(shortTable.translate(u"B"), u"b");
}

TEST(TranslationTable, HoldsTheFirst2000Pairs) {
  std::vector<TranslationPair> pairs;
  for (int i = 0; i < 2001; ++i) pairs.push_back({u"t" + utf8ToUtf16(std::to_string(i)), u"x"});
  const auto table = tableOf(pairs);
  EXPECT_EQ(table.count(), 2000);
  EXPECT_EQ(table.translate(u"t1999"), u"x");
  EXPECT_EQ(table.translate(u"t2000"), u"t2000");
}

TEST(TranslationTable, ALoadedFileCountsUpTo2000PairsExactly) {
  test::TempDir dir;
  test::TranslationPairs pairs;
  for (int i = 1; i <= 2001; ++i) pairs.push_back({"t" + std::to_string(i), "x" + std::to_string(i)});
  test::writeLanguageFile(dir.file("big.lng"), pairs);
  TranslationTable table;
  EXPECT_EQ(table.loadFile(dir.file("big.lng")), lng::ParseError::None);
  EXPECT_EQ(table.count(), 2000);
  // The last pair inside the limit is found, the first beyond it is not.
  EXPECT_EQ(table.translate(u"t2000"), u"x2000");
  EXPECT_EQ(table.translate(u"t2001"), u"t2001");
}

TEST(TranslationTable, ACopyOrAMoveTranslatesOnItsOwn) {
  auto original = std::make_unique<TranslationTable>();
  original->assign({{u"File", u"Файл"}, {u"A text too long to fit in a string object", u"Длинный текст"}});
  const TranslationTable copied(*original);
  TranslationTable assigned;
  assigned.assign({{u"Other", u"Другое"}});
  assigned = *original;
  TranslationTable moved(tableOf({{u"Edit", u"Правка"}}));
  TranslationTable moveAssigned;
  moveAssigned = std::move(moved);
  // Nothing of the original is left for the copies to look at.
  original.reset();
  for (const TranslationTable* table : {&copied, static_cast<const TranslationTable*>(&assigned)}) {
    EXPECT_EQ(table->translate(u"File"), u"Файл");
    EXPECT_EQ(table->translate(u"A text too long to fit in a string object"), u"Длинный текст");
    EXPECT_EQ(table->translate(u"Other"), u"Other");
    EXPECT_EQ(table->count(), 2);
    EXPECT_EQ(table->searchLimit(), 6u);
  }
  EXPECT_EQ(moveAssigned.translate(u"Edit"), u"Правка");
  // What was moved from is an empty table.
  EXPECT_EQ(moved.count(), 0);  // NOLINT(bugprone-use-after-move)
  EXPECT_EQ(moved.searchLimit(), 0u);
  EXPECT_EQ(moved.translate(u"Edit"), u"Edit");
}

TEST(TranslationTable, LoadFileKeepsWhatWasReadBeforeDamage) {
  test::TempDir dir;
  TranslationTable table;
  // Two complete pairs, then a third whose translation is cut short.
  test::writeBytes(dir.file("cut.lng"), test::hex("03 00  01 41 01 61  01 42 01 62  01 43 05 63"));
  EXPECT_EQ(table.loadFile(dir.file("cut.lng")), lng::ParseError::PastEnd);
  EXPECT_EQ(table.count(), 2);
  EXPECT_EQ(table.translate(u"B"), u"b");
  EXPECT_EQ(table.translate(u"C"), u"C");

  EXPECT_EQ(table.loadFile(dir.file("missing.lng")), lng::ParseError::None);
  EXPECT_EQ(table.count(), 0);
  EXPECT_EQ(table.translate(u"B"), u"B");
}

TEST(Translate, ProgramTableThroughTheFourFunctions) {
  test::TempDir dir;
  test::writeBytes(dir.file("ru.lng"),
                   lng::serialize(std::vector<TranslationPair>{{u"Language Setup", u"Настройка языка"}}));
  LoadTranslations(dir.file("ru.lng"));
  EXPECT_EQ(translate(u"Language Setup"), u"Настройка языка");
  EXPECT_EQ(tr("Language Setup"), "Настройка языка");
  EXPECT_EQ(tr("Cancel"), "Cancel");

  LoadTranslations(dir.file("missing.lng"));  // empties the table first
  EXPECT_EQ(tr("Language Setup"), "Language Setup");

  LoadTranslations(dir.file("ru.lng"));
  ClearTranslations();
  EXPECT_EQ(tr("Language Setup"), "Language Setup");
}

}  // namespace
}  // namespace wk
