#include <gtest/gtest.h>

#include <array>

#include "document/alias_record.h"

namespace wk {
namespace {

std::string storedBytes(std::u16string_view text) {
  std::array<std::uint8_t, 32> raw{};
  AliasRecord record(raw);
  record.store(text);
  return std::string(raw.begin() + 1, raw.begin() + 1 + raw[0]);
}

TEST(TransliterateCyrillic, WholeTable) {
  // U+0410..U+042F then U+0430..U+044F, as the controller's Latin bytes.
  const std::string upper = "ABVGDEZ3IYKLMHOPRSTUFXC4ss'Y'EUA";
  const std::string lower = "abvgdez3iyklmnoprstufxc4ss'y'eua";
  for (char16_t u = 0x0410; u <= 0x044F; ++u) {
    const char16_t got = TransliterateCyrillic(u);
    const char want = u < 0x0430 ? upper[u - 0x0410] : lower[u - 0x0430];
    EXPECT_EQ(got >> 8, 0x04) << std::hex << int(u);
    EXPECT_EQ(static_cast<char>(got & 0xFF), want) << std::hex << int(u);
  }
}

TEST(TransliterateCyrillic, OtherUnitsPassUnchanged) {
  for (char16_t u : {u'\0', u'A', u'z', u'\'', u'\x7F', u'\xE9', u'\u0401', u'\u0451', u'\u040F', u'\u0450',
                     u'\u20AC', u'\xFFFF'})
    EXPECT_EQ(TransliterateCyrillic(u), u);
}

TEST(AliasRecord, StoresWordsAsTheControllerSeesThem) {
  EXPECT_EQ(storedBytes(u"Дверь"), std::string("Dver\x27"));
  EXPECT_EQ(storedBytes(u"Щит"), "sit");
  EXPECT_EQ(storedBytes(u"Зона 1"), "3ona 1");
  EXPECT_EQ(storedBytes(u"Привет"), "Privet");
  EXPECT_EQ(storedBytes(u"ё"), "Q");  // U+0451 keeps its low byte 0x51
  EXPECT_EQ(storedBytes(u"Door 12"), "Door 12");
  EXPECT_EQ(storedBytes(u"\u00E9\u20AC"), "\xE9\xAC");
}

TEST(AliasRecord, LengthNulAndWidening) {
  std::array<std::uint8_t, 32> raw{};
  raw.fill(0xEE);
  AliasRecord record(raw);
  record.store(std::u16string(40, u'x'));
  EXPECT_EQ(raw[0], 31);
  EXPECT_EQ(record.text(), std::u16string(31, u'x'));

  record.store(std::u16string(u"ab\0cd", 5));
  EXPECT_EQ(raw[0], 2);
  EXPECT_EQ(raw[3], 'x');  // bytes after the text are left as they were

  record.store(u"");
  EXPECT_EQ(raw[0], 0);
  EXPECT_EQ(record.text(), u"");

  raw[0] = 2;
  raw[1] = 0xE9;
  raw[2] = 0xAC;
  EXPECT_EQ(record.text(), u"\u00E9\u00AC");  // bytes widen, no reverse mapping

  raw[0] = 200;  // never written by the program; read as 31 characters
  EXPECT_EQ(record.text().size(), 31u);
}

}  // namespace
}  // namespace wk
