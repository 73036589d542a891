#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <limits>

#include "support/temp_dir.h"
#include "util/number_text.h"

namespace wk {
namespace {

TEST(ScanInt, ReadsAsPercentD) {
  EXPECT_EQ(scanInt("300"), 300);
  EXPECT_EQ(scanInt("  42abc"), 42);
  EXPECT_EQ(scanInt("\t-7"), -7);
  EXPECT_EQ(scanInt("+5"), 5);
  EXPECT_EQ(scanInt("007"), 7);  // decimal, never octal
  EXPECT_EQ(scanInt("12.9"), 12);
  EXPECT_EQ(scanInt(""), std::nullopt);
  EXPECT_EQ(scanInt("abc"), std::nullopt);
  EXPECT_EQ(scanInt("-"), std::nullopt);
  EXPECT_EQ(scanInt("x12"), std::nullopt);
  EXPECT_EQ(scanInt(std::string_view("\0" "5", 2)), std::nullopt);  // a NUL ends the text
}

TEST(ScanInt, SaturatesBeyondIntAndCountsWhatItRead) {
  EXPECT_EQ(scanInt("99999999999999999999999"), std::numeric_limits<int>::max());
  EXPECT_EQ(scanInt("-99999999999999999999999"), std::numeric_limits<int>::min());
  std::size_t used = 0;
  EXPECT_EQ(scanInt(" 12.5", &used), 12);
  EXPECT_EQ(used, 3u);
}

TEST(ScanInt, Utf16TextsStopAtTheFirstNonAsciiUnit) {
  EXPECT_EQ(scanInt(u"15"), 15);
  EXPECT_EQ(scanInt(u"15\u0441"), 15);
  EXPECT_EQ(scanInt(u"\u00A05"), std::nullopt);  // a no-break space is not a blank here
  EXPECT_EQ(scanInt(u"\u0661"), std::nullopt);   // nor is an Arabic-Indic digit a digit
  EXPECT_EQ(scannableText(u"a\u0416b"), "a\x01" "b");
  EXPECT_EQ(scannableText(std::u16string(u"1\0" "2", 3)), "1");
}

TEST(ScanFloat, ReadsAsPercentFInSinglePrecision) {
  EXPECT_EQ(scanFloat("25.5"), 25.5f);
  EXPECT_EQ(scanFloat(" -5"), -5.0f);
  EXPECT_EQ(scanFloat("1e2"), 100.0f);
  EXPECT_EQ(scanFloat(".5x"), 0.5f);
  EXPECT_EQ(scanFloat("1,5"), 1.0f);  // the comma ends the number
  EXPECT_EQ(scanFloat("0.69"), 0.69f);
  EXPECT_LT(double(*scanFloat("0.69")) * 100.0, 69.0);  // why storing must round, not cut
  EXPECT_EQ(scanFloat(""), std::nullopt);
  EXPECT_EQ(scanFloat("abc"), std::nullopt);
  EXPECT_EQ(scanFloat("-"), std::nullopt);
  EXPECT_EQ(scanFloat("."), std::nullopt);
  EXPECT_TRUE(std::isinf(*scanFloat("1e60")));
  EXPECT_TRUE(std::isinf(*scanFloat("-inf")));
  EXPECT_TRUE(std::isnan(*scanFloat("nan")));
  EXPECT_EQ(scanFloat(u"3.25\u00B0"), 3.25f);
}

// Qt takes the program's locale from the environment; one whose decimal
// point is a comma must not change how numbers are read or written.
TEST(NumberText, IgnoresTheProgramLocale) {
  test::TempDir dir;
  {
    std::ofstream source(dir.file("comma"));
    source << "LC_NUMERIC\ndecimal_point \",\"\nthousands_sep \".\"\ngrouping 3;3\nEND LC_NUMERIC\n";
  }
  const std::string build = "localedef -c -i " + dir.file("comma") + " -f ANSI_X3.4-1968 " + dir.file("xx_COMMA") +
                            " >/dev/null 2>&1";
  (void)std::system(build.c_str());  // warns about the categories it leaves out
  setenv("LOCPATH", dir.path().c_str(), 1);
  const bool comma = std::setlocale(LC_NUMERIC, "xx_COMMA") != nullptr;
  char printed[16];
  std::snprintf(printed, sizeof printed, "%.2f", 1.5);
  const auto read = scanFloat("1.5");
  const std::string written = fixedText(1.5, 2);
  std::setlocale(LC_NUMERIC, "C");
  unsetenv("LOCPATH");
  if (!comma) GTEST_SKIP() << "localedef could not build a locale to try";
  ASSERT_STREQ(printed, "1,50");  // the locale took
  EXPECT_EQ(read, 1.5f);
  EXPECT_EQ(written, "1.50");
}

TEST(FixedText, RoundsToTheGivenDigits) {
  EXPECT_EQ(fixedText(25.5, 2), "25.50");
  EXPECT_EQ(fixedText(-10.5, 2), "-10.50");
  EXPECT_EQ(fixedText(0.0, 2), "0.00");
  EXPECT_EQ(fixedText(-0.01, 2), "-0.01");
  EXPECT_EQ(fixedText(327.67, 2), "327.67");
  EXPECT_EQ(fixedText(-327.68, 2), "-327.68");
  EXPECT_EQ(fixedText(1.0 / 3.0, 2), "0.33");
}

}  // namespace
}  // namespace wk
