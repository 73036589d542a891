#include <gtest/gtest.h>

#include "util/strformat.h"
#include "util/utf.h"

namespace wk {
namespace {

TEST(Utf, RoundTripsAndReplacesBrokenInput) {
  const std::u16string mixed = u"Alarm \u041E\u0444\u0444 \u20AC \U0001F600";
  EXPECT_EQ(utf8ToUtf16(utf16ToUtf8(mixed)), mixed);
  EXPECT_EQ(utf16ToUtf8(u"\u043E"), "\xD0\xBE");
  EXPECT_EQ(utf8ToUtf16("\xFF" "a"), u"\uFFFDa");
  EXPECT_EQ(utf8ToUtf16("\xC0\x80"), u"\uFFFD");        // overlong NUL
  EXPECT_EQ(utf8ToUtf16("\xE2\x82"), u"\uFFFD\uFFFD");   // cut short
  EXPECT_EQ(utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD");     // encoded surrogate
  EXPECT_EQ(utf16ToUtf8(std::u16string(1, u'\xD800')), "\xEF\xBF\xBD");
  EXPECT_EQ(byteAsCharacter('Z'), "Z");
  EXPECT_EQ(byteAsCharacter(0xE9), "\xC3\xA9");
}

TEST(StrPrintf, FormatsTheProgramsMessages) {
  EXPECT_EQ(strprintf("%s %d E=0x%.2X %c", "Connection error", 1, 0x5A, 'Z'), "Connection error 1 E=0x5A Z");
  EXPECT_EQ(strprintf("%s %i %c(%X)", "WRITE error", 128, 'x', 0x78), "WRITE error 128 x(78)");
  EXPECT_EQ(strprintf("%s", ""), "");
  EXPECT_EQ(strprintf("%s", std::string(5000, 'a').c_str()).size(), 5000u);
}

}  // namespace
}  // namespace wk
