#include "document/sms_text.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "support/hex.h"

namespace wk {
namespace {

using test::hex;
using test::hexOf;

std::vector<std::uint8_t> packed(std::u16string_view text, std::size_t room = 140) {
  std::vector<std::uint8_t> out(room, 0);
  out.resize(PackSeptets(text, out));
  return out;
}

TEST(PackSeptets, KnownPackings) {
  EXPECT_EQ(hexOf(packed(u"abc")), "61 F1 18");
  EXPECT_EQ(hexOf(packed(u"a")), "61");
  // The classic example of the packing: ten characters in nine bytes.
  EXPECT_EQ(hexOf(packed(u"hellohello")), "E8 32 9B FD 46 97 D9 EC 37");
  // Eight characters fill seven bytes exactly.
  EXPECT_EQ(hexOf(packed(u"12345678")), "31 D9 8C 56 B3 DD 70");
  EXPECT_EQ(packed(u"").size(), 0u);
  // The values packed are the characters' own codes, 0x00 to 0x7F.
  EXPECT_EQ(hexOf(packed(std::u16string(u"\x7F\x00@", 3))), "7F 00 10");
}

TEST(PackSeptets, LengthsAndRoom) {
  EXPECT_EQ(packed(std::u16string(160, u'x')).size(), 140u);
  EXPECT_EQ(packed(std::u16string(7, u'x')).size(), 7u);
  EXPECT_EQ(packed(std::u16string(9, u'x')).size(), 8u);
  // No byte is written past the room given.
  std::array<std::uint8_t, 6> room{};
  room.fill(0xEE);
  EXPECT_EQ(PackSeptets(std::u16string(20, u'x'), std::span(room).first(4)), 4u);
  EXPECT_EQ(room[4], 0xEE);
  EXPECT_EQ(room[5], 0xEE);
  EXPECT_EQ(SeptetsIn(140), 160u);
  EXPECT_EQ(BytesForSeptets(160), 140u);
  EXPECT_EQ(BytesForSeptets(3), 3u);
}

TEST(UnpackSeptets, ReadsBackAndStaysInsideItsBytes) {
  const auto abc = hex("61 F1 18");
  EXPECT_EQ(UnpackSeptets(abc, 3), u"abc");
  EXPECT_EQ(UnpackSeptets(hex("E8 32 9B FD 46 97 D9 EC 37"), 10), u"hellohello");
  // Three bytes hold three characters; asking for more gives what is there.
  EXPECT_EQ(UnpackSeptets(abc, 200).size(), 3u);
  EXPECT_EQ(UnpackSeptets({}, 5), u"");

  std::u16string all;
  for (char16_t c = 0; c < 0x80; ++c) all += c;
  all += all.substr(0, 32);  // 160 characters
  std::vector<std::uint8_t> bytes(140);
  PackSeptets(all, bytes);
  EXPECT_EQ(UnpackSeptets(bytes, 160), all);
  EXPECT_EQ(UnpackSeptets(bytes, 255).size(), 160u);
}

TEST(Ucs2BigEndian, HighByteFirst) {
  std::vector<std::uint8_t> out(12, 0xEE);
  EXPECT_EQ(EncodeUcs2Be(u"Привет", out), 6u);
  EXPECT_EQ(hexOf(out), "04 1F 04 40 04 38 04 32 04 35 04 42");
  EXPECT_EQ(DecodeUcs2Be(out, 6), u"Привет");
  EXPECT_EQ(DecodeUcs2Be(out, 100), u"Привет");  // no reading past the bytes
  std::vector<std::uint8_t> odd = hex("00 41 00");
  EXPECT_EQ(DecodeUcs2Be(odd, 2), u"A");
  EXPECT_EQ(EncodeUcs2Be(u"ABC", std::span(out).first(5)), 2u);
}

TEST(CutLength, KeepsSurrogatePairsWhole) {
  EXPECT_EQ(CutLength(u"abc", 70), 3u);
  std::u16string text(69, u'x');
  text += u"\U0001F600";  // a pair at units 69 and 70
  EXPECT_EQ(text.size(), 71u);
  EXPECT_EQ(CutLength(text, 70), 69u);
  EXPECT_EQ(CutLength(text, 71), 71u);
  // A pair that ends at the limit stays.
  EXPECT_EQ(CutLength(std::u16string(68, u'x') + u"\U0001F600y", 70), 70u);
  // A lone high surrogate before an ordinary unit is not a pair.
  EXPECT_EQ(CutLength(std::u16string(69, u'x') + u"\xD83Dy", 70), 70u);
  EXPECT_EQ(CutLength(u"\U0001F600", 1), 0u);
  EXPECT_EQ(CutLength(u"abc", 0), 0u);
}

}  // namespace
}  // namespace wk
