#include <gtest/gtest.h>

#include <numeric>

#include "document/config_image.h"
#include "document/defaults.h"
#include "document/vld_file.h"

namespace wk {
namespace {

std::vector<std::uint8_t> fileWithVersion(std::uint8_t lo, std::uint8_t hi, std::size_t size = 66512) {
  std::vector<std::uint8_t> f(size);
  for (std::size_t i = 0; i < size; ++i) f[i] = static_cast<std::uint8_t>((i * 7 + 3) & 0xFF);
  f[0] = lo;
  f[1] = hi;
  return f;
}

ConfigImage patternedImage() {
  ConfigImage img;
  auto b = img.all();
  for (std::size_t i = 0; i < b.size(); ++i) b[i] = static_cast<std::uint8_t>((i * 13 + i / 256) & 0xFF);
  return img;
}

TEST(VldWrite, Version105Layout) {
  ConfigImage img;
  applyNewDocumentDefaults(img);
  const auto f = vld::serialize(img);
  ASSERT_EQ(f.size(), 66512u);
  EXPECT_EQ(f[0], 0x69);
  EXPECT_EQ(f[1], 0x00);
  // First SMS record right after the version.
  const std::uint8_t record0[] = {0x00, 0x00, 0x0A, 0x00, 0x01};
  for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(f[2 + i], record0[i]);
  // SEE-Data 0xF1C0..0xFFFF are zero.
  for (std::size_t i = 61890; i <= 65537; ++i) ASSERT_EQ(f[i], 0) << i;
  // EE-Data 0 (channel 1 record) at 65538; channel 2's input byte at 65538 + 5.
  EXPECT_EQ(f[65538 + 1], 0);
  EXPECT_EQ(f[65538 + 5], 1);
  // CommonSettings 9..11 at EE-Data 717..719.
  EXPECT_EQ(f[65538 + 717], 5);
  EXPECT_EQ(f[65538 + 718], 2);
  EXPECT_EQ(f[65538 + 719], 5);
}

TEST(VldWrite, EveryImageByteLandsAtItsFileOffset) {
  const ConfigImage img = patternedImage();
  const auto f = vld::serialize(img);
  const auto b = img.all();
  for (std::size_t i = 0; i < 61888; ++i) ASSERT_EQ(f[2 + i], b[i]) << i;
  for (std::size_t i = 0; i < 974; ++i) ASSERT_EQ(f[65538 + i], b[61888 + i]) << i;
}

TEST(VldRead, RoundTripGivesBackEveryByte) {
  const ConfigImage img = patternedImage();
  ConfigImage back;
  EXPECT_EQ(vld::parse(vld::serialize(img), back), vld::ParseOutcome::Current);
  EXPECT_TRUE(back == img);
}

TEST(VldRead, Version105IgnoresThePaddingAndClearsTheEePart) {
  auto f = fileWithVersion(0x69, 0x00);
  ConfigImage img;
  ASSERT_EQ(vld::parse(f, img), vld::ParseOutcome::Current);
  EXPECT_EQ(img.at(0), f[2]);
  EXPECT_EQ(img.at(61887), f[61889]);
  EXPECT_EQ(img.at(61888), f[65538]);
  EXPECT_EQ(img.at(62861), f[66511]);
}

TEST(VldRead, Version104IsConverted) {
  auto f = fileWithVersion(0x68, 0x00);
  ConfigImage img;
  for (auto& byte : img.all()) byte = 0xEE;
  ASSERT_EQ(vld::parse(f, img), vld::ParseOutcome::ConvertedOld);
  // Record k is the first 158 bytes of the 256-byte slot k.
  for (std::size_t k = 0; k < 256; ++k)
    for (std::size_t i = 0; i < 158; ++i)
      ASSERT_EQ(img.at(158 * k + i), f[2 + 256 * k + i]) << "record " << k << " byte " << i;
  // Every other SEE region is zero.
  for (std::size_t i = 40448; i < 61888; ++i) ASSERT_EQ(img.at(i), 0) << i;
  for (std::size_t i = 0; i < 974; ++i) ASSERT_EQ(img.at(61888 + i), f[65538 + i]) << i;

  ConfigImage resaved;
  EXPECT_EQ(vld::parse(vld::serialize(img), resaved), vld::ParseOutcome::Current);
  EXPECT_TRUE(resaved == img);
}

TEST(VldRead, OtherVersionsFallBack) {
  struct Case {
    std::uint8_t lo, hi;
    vld::ParseOutcome outcome;
  };
  for (const Case c : {Case{0x6A, 0x00, vld::ParseOutcome::NewerVersion},
                       Case{0xFF, 0xFF, vld::ParseOutcome::NewerVersion},
                       Case{0x00, 0x01, vld::ParseOutcome::NewerVersion},  // 256
                       Case{0x67, 0x00, vld::ParseOutcome::OlderVersion},  // 103
                       Case{0x00, 0x00, vld::ParseOutcome::OlderVersion}}) {
    ConfigImage img;
    for (auto& byte : img.all()) byte = 0x33;
    ASSERT_EQ(vld::parse(fileWithVersion(c.lo, c.hi), img), c.outcome) << int(c.lo) << " " << int(c.hi);
    ConfigImage expected;
    for (auto& byte : expected.all()) byte = 0x33;
    applyFallbackContents(expected);
    EXPECT_TRUE(img == expected);
    EXPECT_EQ(img.at(4), 1);
    EXPECT_EQ(img.at(2), 0);  // sound length stays 0, not 10
    EXPECT_EQ(img.at(62596 + 9), 0);  // no CommonSettings defaults
    EXPECT_EQ(img.at(40448), 0x33);   // comments untouched
  }
}

TEST(VldRead, ShortFiles) {
  ConfigImage img;
  for (auto& byte : img.all()) byte = 0x44;
  const ConfigImage before = img;
  EXPECT_EQ(vld::parse(std::vector<std::uint8_t>{}, img), vld::ParseOutcome::TooShort);
  EXPECT_EQ(vld::parse(std::vector<std::uint8_t>{0x69}, img), vld::ParseOutcome::TooShort);
  EXPECT_TRUE(img == before);

  // Only the version: the EE part is cleared, nothing else is read.
  EXPECT_EQ(vld::parse(std::vector<std::uint8_t>{0x69, 0x00}, img), vld::ParseOutcome::Current);
  EXPECT_EQ(img.at(0), 0x44);
  EXPECT_EQ(img.at(61888), 0);

  // Ends inside the SEE part: what it has is filled, the rest stays.
  ConfigImage cut;
  auto f = fileWithVersion(0x69, 0x00, 1002);
  EXPECT_EQ(vld::parse(f, cut), vld::ParseOutcome::Current);
  EXPECT_EQ(cut.at(999), f[1001]);
  EXPECT_EQ(cut.at(1000), 0);
  EXPECT_EQ(cut.at(62000), 0);

  // Ends inside the EE part of a 104 file.
  ConfigImage old;
  f = fileWithVersion(0x68, 0x00, 65538 + 10);
  EXPECT_EQ(vld::parse(f, old), vld::ParseOutcome::ConvertedOld);
  EXPECT_EQ(old.at(61888 + 9), f[65538 + 9]);
  EXPECT_EQ(old.at(61888 + 10), 0);
}

TEST(VldRead, ExtraBytesAfterTheEePartAreIgnored) {
  const ConfigImage img = patternedImage();
  auto f = vld::serialize(img);
  f.resize(f.size() + 100, 0xAB);
  ConfigImage back;
  EXPECT_EQ(vld::parse(f, back), vld::ParseOutcome::Current);
  EXPECT_TRUE(back == img);
}

}  // namespace
}  // namespace wk
