// The .lng format: written bytes against the documented layout, every step of
// the length ladder in both string forms, Windows-1251 strings, damaged files.
#include "language/lng_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "support/hex.h"
#include "support/temp_dir.h"

namespace wk {
namespace {

using test::hex;
using test::join;

std::vector<TranslationPair> pairsOf(std::initializer_list<TranslationPair> list) { return list; }

TEST(LngWrite, OnePairOfEmptyStringsIsTheTenByteFile) {
  EXPECT_EQ(lng::serialize(pairsOf({{u"", u""}})), hex("01 00  FF FE FF 00  FF FE FF 00"));
}

TEST(LngWrite, TextsAreUtf16LittleEndianAfterTheMarker) {
  EXPECT_EQ(lng::serialize(pairsOf({{u"Ab", u"Бв"}, {u"", u"x"}})),
            hex("02 00  FF FE FF 02 41 00 62 00  FF FE FF 02 11 04 32 04"
                "       FF FE FF 00              FF FE FF 01 78 00"));
  EXPECT_EQ(lng::serialize({}), hex("00 00"));
}

TEST(LngWrite, LengthLadder) {
  const auto lengthBytes = [](std::size_t n) {
    const auto file = lng::serialize(pairsOf({{std::u16string(n, u'a'), u""}}));
    // count, marker, then the length field up to the first character.
    return std::vector<std::uint8_t>(file.begin() + 5, file.end() - static_cast<long>(2 * n) - 4);
  };
  EXPECT_EQ(lengthBytes(254), hex("FE"));
  EXPECT_EQ(lengthBytes(255), hex("FF FF 00"));
  EXPECT_EQ(lengthBytes(0xFFFD), hex("FF FD FF"));
  EXPECT_EQ(lengthBytes(0xFFFE), hex("FF FF FF FE FF 00 00"));
  EXPECT_EQ(lengthBytes(70000), hex("FF FF FF 70 11 01 00"));
}

TEST(LngRead, TheTenByteFileIsOnePairOfEmptyStrings) {
  const auto result = lng::parse(hex("01 00 FF FE FF 00 FF FE FF 00"));
  EXPECT_EQ(result.error, lng::ParseError::None);
  EXPECT_EQ(result.pairs, pairsOf({{u"", u""}}));
}

// One pair whose original is the given string and whose translation is "x".
lng::ParseResult parseOriginal(const std::vector<std::uint8_t>& string) {
  return lng::parse(join(join(hex("01 00"), string), hex("01 78")));
}

TEST(LngRead, SingleByteStringsAtEveryLadderStep) {
  for (const char* field : {"03", "FF 03 00", "FF FF FF 03 00 00 00", "FF FF FF FF FF FF FF 03 00 00 00 00 00 00 00"}) {
    const auto result = parseOriginal(join(hex(field), hex("61 62 63")));
    EXPECT_EQ(result.error, lng::ParseError::None) << field;
    EXPECT_EQ(result.pairs, pairsOf({{u"abc", u"x"}})) << field;
  }
}

TEST(LngRead, Utf16StringsAtEveryLadderStep) {
  for (const char* field :
       {"FF FE FF 02", "FF FE FF FF 02 00", "FF FE FF FF FF FF 02 00 00 00",
        "FF FE FF FF FF FF FF FF FF FF 02 00 00 00 00 00 00 00"}) {
    const auto result = parseOriginal(join(hex(field), hex("1F 04 3E 04")));
    EXPECT_EQ(result.error, lng::ParseError::None) << field;
    EXPECT_EQ(result.pairs, pairsOf({{u"По", u"x"}})) << field;
  }
}

TEST(LngRead, AfterTheMarkerFffeIsALength) {
  std::vector<std::uint8_t> string = hex("FF FE FF FF FE FF");
  string.resize(string.size() + 2 * 0xFFFE, 0x00);
  const auto result = parseOriginal(string);
  EXPECT_EQ(result.error, lng::ParseError::None);
  ASSERT_EQ(result.pairs.size(), 1u);
  EXPECT_EQ(result.pairs[0].original, std::u16string(0xFFFE, u'\0'));
}

TEST(LngRead, SingleByteStringsAreWindows1251) {
  const auto result = parseOriginal(hex("0A C0 E1 FF 88 A8 B8 B9 98 41 7F"));
  ASSERT_EQ(result.pairs.size(), 1u);
  EXPECT_EQ(result.pairs[0].original, u"Аб\u044F€Ёё№\u0098A\u007F");
}

TEST(LngRead, WhatItWritesItReadsBack) {
  const auto pairs = pairsOf({{u"Alarm \u041Eff Timeout", u"Тайм-аут"},
                              {std::u16string(300, u'z'), u""},
                              {u"", std::u16string(70000, u'\u20AC')},
                              {u"Save file before exit?\nChanges", u"Сохранить?\r\n"}});
  const auto result = lng::parse(lng::serialize(pairs));
  EXPECT_EQ(result.error, lng::ParseError::None);
  EXPECT_EQ(result.pairs, pairs);
}

TEST(LngRead, DamagedFilesStopWithTheirErrorAndKeepCompletePairs) {
  struct Case {
    const char* what;
    const char* bytes;
    lng::ParseError error;
    std::size_t pairs;
  };
  const Case cases[] = {
      {"empty file", "", lng::ParseError::PastEnd, 0},
      {"half a count", "01", lng::ParseError::PastEnd, 0},
      {"count larger than the pairs present", "03 00 01 61 01 62", lng::ParseError::PastEnd, 1},
      {"count 65535, no pairs", "FF FF", lng::ParseError::PastEnd, 0},
      {"translation missing", "02 00 01 61 01 62 01 63", lng::ParseError::PastEnd, 1},
      {"string shorter than its length", "01 00 64 61 62 63", lng::ParseError::PastEnd, 0},
      {"odd UTF-16 bytes", "01 00 FF FE FF 02 41 00 42", lng::ParseError::PastEnd, 0},
      {"cut inside the marker", "01 00 FF FE", lng::ParseError::PastEnd, 0},
      {"cut inside a 32-bit length", "01 00 FF FE FF FF FF FF 10 00", lng::ParseError::PastEnd, 0},
      {"31-bit length past the end", "01 00 FF FE FF FF FF FF FF FF FF 7F 41 00", lng::ParseError::PastEnd, 0},
      {"32-bit length beyond 31 bits", "01 00 FF FF FF 00 00 00 80 41", lng::ParseError::BadLength, 0},
      {"64-bit length beyond 31 bits", "01 00 FF FF FF FF FF FF FF 00 00 00 80 00 00 00 00 41",
       lng::ParseError::BadLength, 0},
      {"64-bit length with the top bit", "01 00 FF FE FF FF FF FF FF FF FF FF 00 00 00 00 00 00 00 80",
       lng::ParseError::BadLength, 0},
  };
  for (const Case& c : cases) {
    const auto result = lng::parse(hex(c.bytes));
    EXPECT_EQ(result.error, c.error) << c.what;
    EXPECT_EQ(result.pairs.size(), c.pairs) << c.what;
  }
}

TEST(LngRead, ReadsNoMoreThanAskedAndIgnoresWhatFollows) {
  std::vector<TranslationPair> pairs;
  for (int i = 0; i < 2005; ++i) pairs.push_back({std::u16string(1, static_cast<char16_t>(u'A' + i % 26)), u"t"});
  auto file = lng::serialize(pairs);
  file.resize(file.size() - 3);  // damage the last pair, beyond what is read
  const auto result = lng::parse(file, 2000);
  EXPECT_EQ(result.error, lng::ParseError::None);
  ASSERT_EQ(result.pairs.size(), 2000u);
  EXPECT_EQ(result.pairs[1999], pairs[1999]);
}

TEST(LngFile, MissingTooLargeAndNormalFiles) {
  test::TempDir dir;
  std::string reason;
  EXPECT_FALSE(lng::readFile(dir.file("missing.lng"), lng::kMaxPairs, &reason).opened);
  EXPECT_NE(reason.find("missing.lng"), std::string::npos);

  test::writeBytes(dir.file("ok.lng"), hex("01 00 01 61 FF FE FF 01 3E 04"));
  const auto ok = lng::readFile(dir.file("ok.lng"));
  EXPECT_TRUE(ok.opened);
  EXPECT_EQ(ok.content.error, lng::ParseError::None);
  EXPECT_EQ(ok.content.pairs, pairsOf({{u"a", u"о"}}));

  // A sparse file just over the bound: refused without reading it.
  const std::string huge = dir.file("huge.lng");
  test::writeBytes(huge, hex("01 00"));
  ASSERT_EQ(::truncate(huge.c_str(), static_cast<off_t>(lng::kMaxFileBytes + 1)), 0);
  const auto big = lng::readFile(huge);
  EXPECT_TRUE(big.opened);
  EXPECT_EQ(big.content.error, lng::ParseError::TooLarge);
  EXPECT_TRUE(big.content.pairs.empty());
}

}  // namespace
}  // namespace wk
