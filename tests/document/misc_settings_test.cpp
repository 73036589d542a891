// The miscellaneous settings in the image bytes: where each field lies, the
// lists' codes, the password bytes, what the page's store writes, and what
// collecting the pages does to the bytes nobody sees.
#include "document/misc_settings.h"

#include <gtest/gtest.h>

#include "document/c4410_doc.h"
#include "document/collect_effects.h"
#include "support/hex.h"

namespace wk {
namespace {

using test::hex;
using test::hexOf;

// Image offsets, as the controller's memory map gives them.
constexpr std::size_t kCommon = 62596;

class Misc : public ::testing::Test {
 protected:
  void SetUp() override { doc.makeNew(); }
  std::string bytes(std::size_t offset, std::size_t size) {
    const auto s = doc.image().slice(offset, size);
    return hexOf({s.begin(), s.end()});
  }
  void put(std::size_t offset, std::string_view hexBytes) {
    const auto b = hex(hexBytes);
    std::copy(b.begin(), b.end(), doc.image().slice(offset, b.size()).begin());
  }
  MiscSettings misc() { return MiscSettings::of(doc.image()); }
  C4410Doc doc;
};

TEST_F(Misc, EveryFieldLiesAtItsOffset) {
  doc.image().clear();
  MiscSettings m = misc();
  for (const MiscCheck c : kMiscChecks) m.setCheck(c, true);
  m.setIncomingCallAction(0x08);
  m.setTemperatureFormat(0x09);
  m.setMicGain(0x0A);
  m.setSpeakerVolume(0x0B);
  m.setAnalogOutput(0x0F);
  m.setStartTimeout(0x14);
  EXPECT_EQ(bytes(kCommon, 24), "01 01 00 01 01 01 01 01 08 09 0A 0B 01 01 01 0F 00 00 00 00 14 00 00 00");
  EXPECT_EQ(m.check(MiscCheck::SaveOutputsMode), 1);
  m.setCheck(MiscCheck::SaveOutputsMode, false);
  EXPECT_EQ(doc.image().at(kCommon + 12), 0);

  m.setBalanceRequest(u"*102#");
  EXPECT_EQ(bytes(kCommon + 148, 8), "05 2A 31 30 32 23 00 00");
  EXPECT_EQ(m.balanceRequest(), u"*102#");

  for (std::size_t n = 1; n <= 8; ++n) m.myNumber(n).assign(u"1");
  for (std::size_t n = 1; n <= 8; ++n) EXPECT_EQ(bytes(kCommon + 48 + 10 * n, 3), "01 81 F1") << n;
  EXPECT_EQ(bytes(kCommon + 138, 10), "00 00 00 00 00 00 00 00 00 00");
  EXPECT_THROW(m.myNumber(0), std::out_of_range);
  EXPECT_THROW(m.myNumber(9), std::out_of_range);

  EXPECT_EQ(MiscSettings::kBlock.offset, kCommon);
  EXPECT_EQ(MiscSettings::kBlock.size, 156u);
}

TEST_F(Misc, TheListsTheirTextsAndStoredCodes) {
  const auto codes = [](const ListTable& list) {
    std::string out;
    for (const ListItem& item : list.items()) out += std::to_string(item.code) + "=" + item.text + "|";
    return out;
  };
  EXPECT_EQ(codes(IncomingCallActionList),
            "0=Standart Request '?'|1=Request '?0'|2=Request '?1'|3=Request '?2'|4=Request '?3'|5=Request '?4'|"
            "6=Request '?5'|7=Request '?6'|8=Request '?7'|9=Request '?8'|10=Request '?9'|11=Activate microphone|"
            "12=Busy on incoming call|");
  EXPECT_EQ(codes(TemperatureFormatList), "7=T1.1=0.00C|5=T1.1=0.0C|1=T1.1=0C|6=T1.1=0.00|4=T1.1=0.0|0=T1.1=0|");
  EXPECT_EQ(codes(MicGainList),
            "0=0 0dB|1=+1.5dB|2=+3.0 dB|3=+4.5 dB|4=+6.0 dB|5=+7.5 dB|6=+9.0 dB|7=+10.5 dB|8=+12.0 dB|9=+13.5 dB|"
            "10=+15.0 dB|11=+16.5 dB|12=+18.0 dB|13=+19.5 dB|14=+21.0 dB|15=+22.5 dB|");
  EXPECT_EQ(codes(SpeakerVolumeList), "0=1|1=2|2=3|3=4|4=5|5=6|6=7|7=8|8=9|9=10|");
  EXPECT_EQ(codes(AnalogOutputList), "0=Use PWM analog autput as SIRENA|1=Use PWM analog autput as BEEPER|");
}

TEST(PasswordByte, EveryStoredByteStandsForACharacterThatGivesItBack) {
  for (unsigned b = 0; b <= 0xFF; ++b)
    EXPECT_EQ(PasswordByte(PasswordCharacter(static_cast<std::uint8_t>(b))), b) << b;
  EXPECT_EQ(PasswordCharacter(0x61), u'a');
  EXPECT_EQ(PasswordCharacter(0xC0), u'\u0410');  // А, not À
  EXPECT_EQ(PasswordCharacter(0xFF), u'\u044F');  // я
  EXPECT_EQ(PasswordCharacter(0xA8), u'\u0401');  // Ё
  EXPECT_EQ(PasswordCharacter(0xB8), u'\u0451');  // ё
  EXPECT_EQ(PasswordCharacter(0xA9), u'\u00A9');
  EXPECT_EQ(PasswordCharacter(0x2A), u'*');
}

TEST(PasswordByte, LatinCyrillicAndEverythingElse) {
  EXPECT_EQ(PasswordByte(u'a'), 0x61);
  EXPECT_EQ(PasswordByte(u'Z'), 0x5A);
  EXPECT_EQ(PasswordByte(u'\0'), 0x00);
  EXPECT_EQ(PasswordByte(u'\u00E9'), 0xE9);  // é, below 0x100: itself
  EXPECT_EQ(PasswordByte(u'\u00FF'), 0xFF);
  EXPECT_EQ(PasswordByte(u'\u0410'), 0xC0);  // А
  EXPECT_EQ(PasswordByte(u'\u042F'), 0xDF);  // Я
  EXPECT_EQ(PasswordByte(u'\u0430'), 0xE0);  // а
  EXPECT_EQ(PasswordByte(u'\u044F'), 0xFF);  // я
  EXPECT_EQ(PasswordByte(u'\u0401'), 0xA8);  // Ё
  EXPECT_EQ(PasswordByte(u'\u0451'), 0xB8);  // ё
  EXPECT_EQ(PasswordByte(u'\u040F'), 0x2A);  // Џ, just below А
  EXPECT_EQ(PasswordByte(u'\u0450'), 0x2A);  // ѐ, just above я
  EXPECT_EQ(PasswordByte(u'\u03B1'), 0x2A);  // Greek α
  EXPECT_EQ(PasswordByte(u'\u0100'), 0x2A);
  EXPECT_EQ(PasswordByte(u'\uFFFF'), 0x2A);
}

TEST_F(Misc, APasswordIsItsLengthAZeroAndItsBytesTheRestStays) {
  put(kCommon + 24, "00 77 11 22 33 44 55 66 77 88 99 AA BB CC DD EE FF 10 44");
  misc().storePassword(u"abc");
  EXPECT_EQ(bytes(kCommon + 24, 19), "03 00 61 62 63 44 55 66 77 88 99 AA BB CC DD EE FF 10 44");
  EXPECT_TRUE(misc().hasPassword());
  EXPECT_EQ(hexOf({misc().passwordBytes().begin(), misc().passwordBytes().end()}), "61 62 63");

  misc().storePassword(u"\u0416\u0451\u03A9");  // ЖёΩ
  EXPECT_EQ(bytes(kCommon + 24, 6), "03 00 C6 B8 2A 44");

  // Never more than 16 characters, never past offset 41.
  misc().storePassword(u"ABCDEFGHIJKLMNOPQRS");
  EXPECT_EQ(bytes(kCommon + 24, 19), "10 00 41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50 44");

  misc().storePassword(u"");
  EXPECT_EQ(bytes(kCommon + 24, 3), "00 00 41");
  EXPECT_FALSE(misc().hasPassword());

  // A stored length above 16 reads the 16 bytes the field holds.
  put(kCommon + 24, "FF");
  EXPECT_EQ(misc().passwordBytes().size(), 16u);
}

TEST(StartTimeout, EmptyIsNoNumberAndAbove255Is255) {
  EXPECT_EQ(StartTimeoutOf(u""), std::nullopt);
  EXPECT_EQ(StartTimeoutOf(u"12a"), std::nullopt);
  EXPECT_EQ(StartTimeoutOf(u"0"), 0);
  EXPECT_EQ(StartTimeoutOf(u"007"), 7);
  EXPECT_EQ(StartTimeoutOf(u"255"), 255);
  EXPECT_EQ(StartTimeoutOf(u"256"), 255);
  EXPECT_EQ(StartTimeoutOf(u"300"), 255);
  EXPECT_EQ(StartTimeoutOf(u"99999999999999999999999"), 255);
}

TEST_F(Misc, MyNumbersAreRewrittenWholeButNeverPastTheirTenBytes) {
  put(kCommon + 78, "77 77 77 77 77 77 77 77 77 77 55");
  StoreMyNumber(misc().myNumber(3), u"0012345");
  EXPECT_EQ(bytes(kCommon + 78, 11), "05 91 21 43 F5 00 00 00 00 00 55");
  StoreMyNumber(misc().myNumber(3), u"");
  EXPECT_EQ(bytes(kCommon + 78, 11), "00 81 00 00 00 00 00 00 00 00 55");
  // Sixteen digits and the "00" fill the field; more are not stored.
  StoreMyNumber(misc().myNumber(3), u"0012345678901234567890");
  EXPECT_EQ(bytes(kCommon + 78, 11), "10 91 21 43 65 87 09 21 43 65 55");

  // A count the page never writes keeps its bytes while the text shown stays.
  put(kCommon + 78, "14 91 21 43 65 87 09 21 43 65");
  const std::u16string shown = misc().myNumber(3).text();
  EXPECT_EQ(shown, u"001234567890123456");
  StoreMyNumber(misc().myNumber(3), shown);
  EXPECT_EQ(bytes(kCommon + 78, 10), "14 91 21 43 65 87 09 21 43 65");
  StoreMyNumber(misc().myNumber(3), u"12");
  EXPECT_EQ(bytes(kCommon + 78, 10), "02 81 21 00 00 00 00 00 00 00");
}

TEST_F(Misc, ANewDocumentShowsItsDefaultsAndStoresThemBackButTheNumbersType) {
  const MiscShown shown = LoadMiscSettings(doc.image());
  for (const auto& check : shown.checks) EXPECT_EQ(check, false);
  EXPECT_EQ(shown.incomingCallAction, 0u);
  EXPECT_EQ(shown.temperatureFormat, 1u);  // "T1.1=0.0C"
  EXPECT_EQ(shown.micGain, 2u);
  EXPECT_EQ(shown.speakerVolume, 5u);      // "6"
  EXPECT_EQ(shown.analogOutput, 0u);
  EXPECT_EQ(shown.startTimeout, u"0");
  EXPECT_EQ(shown.balanceRequest, u"*100#");
  for (const auto& number : shown.myNumbers) EXPECT_EQ(number, u"");
  EXPECT_FALSE(shown.hasPassword);

  ConfigImage before = doc.image();
  EXPECT_TRUE(StoreMiscSettings(shown, doc.image()));
  for (std::size_t n = 1; n <= 8; ++n) {
    EXPECT_EQ(bytes(kCommon + 48 + 10 * n, 10), "00 81 00 00 00 00 00 00 00 00") << n;
    before.at(kCommon + 49 + 10 * n) = 0x81;
  }
  EXPECT_EQ(doc.image(), before);
}

TEST_F(Misc, ChoicesAreStoredAsTheirCodes) {
  MiscShown shown = LoadMiscSettings(doc.image());
  shown.temperatureFormat = 2;   // "T1.1=0C"
  shown.incomingCallAction = 4;  // "Request '?3'"
  shown.micGain = 15;            // "+22.5 dB"
  shown.speakerVolume = 9;       // "10"
  shown.analogOutput = 1;
  shown.checks[7] = true;        // "Save outputs mode"
  shown.startTimeout = u"300";
  shown.balanceRequest = u"#1\u0436*";  // ж: its low 8 bits
  ASSERT_TRUE(StoreMiscSettings(shown, doc.image()));
  EXPECT_EQ(bytes(kCommon + 8, 8), "04 01 0F 09 01 00 00 01");
  EXPECT_EQ(bytes(kCommon + 20, 1), "FF");
  EXPECT_EQ(bytes(kCommon + 148, 6), "04 23 31 36 2A 23");
}

TEST_F(Misc, ValuesThePageNeverWritesShowAsNoChoiceAndStay) {
  put(kCommon, "02 FF 07 01 80 00 00 00 0D 02 10 0A 00 00 00 02");
  put(kCommon + 148, "09 41 42 43 44 45 46 47 48 49");
  MiscShown shown = LoadMiscSettings(doc.image());
  EXPECT_EQ(shown.checks[0], std::nullopt);
  EXPECT_EQ(shown.checks[1], std::nullopt);
  EXPECT_EQ(shown.checks[2], true);
  EXPECT_EQ(shown.checks[3], std::nullopt);
  EXPECT_EQ(shown.incomingCallAction, std::nullopt);
  EXPECT_EQ(shown.temperatureFormat, std::nullopt);
  EXPECT_EQ(shown.micGain, std::nullopt);
  EXPECT_EQ(shown.speakerVolume, std::nullopt);
  EXPECT_EQ(shown.analogOutput, std::nullopt);
  EXPECT_EQ(shown.balanceRequest, u"ABCDEFG");
  EXPECT_TRUE(StoreMiscSettings(shown, doc.image()));
  EXPECT_EQ(bytes(kCommon, 16), "02 FF 07 01 80 00 00 00 0D 02 10 0A 00 00 00 02");

  // Once chosen, they are written.
  shown.checks[0] = false;
  shown.temperatureFormat = 5;  // "T1.1=0"
  StoreMiscSettings(shown, doc.image());
  EXPECT_EQ(bytes(kCommon, 10), "00 FF 07 01 80 00 00 00 0D 00");
}

TEST_F(Misc, AnEmptyTimeoutStaysAndEverythingElseIsStored) {
  put(kCommon + 20, "2A");
  MiscShown shown = LoadMiscSettings(doc.image());
  shown.startTimeout = u"";
  shown.checks[0] = true;
  shown.micGain = 0;
  shown.myNumbers[0] = u"5";
  shown.balanceRequest = u"*1#";
  EXPECT_FALSE(StoreMiscSettings(shown, doc.image()));
  EXPECT_EQ(bytes(kCommon + 20, 1), "2A");
  EXPECT_EQ(bytes(kCommon, 1), "01");
  EXPECT_EQ(bytes(kCommon + 10, 1), "00");
  EXPECT_EQ(bytes(kCommon + 58, 3), "01 81 F5");
  EXPECT_EQ(bytes(kCommon + 148, 4), "03 2A 31 23");
}

TEST_F(Misc, TheBytesWithoutAControlAreNeverWritten) {
  ConfigImage& image = doc.image();
  for (std::size_t i = 0; i < 156; ++i) image.at(kCommon + i) = static_cast<std::uint8_t>(0x40 + i);
  const ConfigImage before = image;
  MiscShown shown = LoadMiscSettings(image);
  shown.startTimeout = u"1";
  for (auto& check : shown.checks) check = true;
  shown.myNumbers.fill(u"00123");
  StoreMiscSettings(shown, image);
  misc().storePassword(u"pw");
  for (const std::size_t at : {2, 16, 17, 18, 19, 21, 22, 23, 28, 41, 42, 57, 138, 147})
    EXPECT_EQ(image.at(kCommon + at), before.at(kCommon + at)) << at;
  for (std::size_t i = 156; i < 266; ++i) ASSERT_EQ(image.at(kCommon + i), before.at(kCommon + i)) << i;
}

// What the pages' collect step does to bytes no control shows.
TEST_F(Misc, CollectEffectsClearGsmManagedOutputsAndTheRulesAndReportsReservedBits) {
  ConfigImage& image = doc.image();
  for (std::size_t i = 0; i < image::kSize; ++i) image.at(i) = static_cast<std::uint8_t>(i * 13 + 1);
  ConfigImage expected = image;
  for (std::size_t i = 62852; i < 62858; ++i) expected.at(i) = 0;  // EE-Data 964..969
  for (std::size_t k = 0; k < 256; ++k) expected.at(158 * k + 1) &= 0x3F;
  for (std::size_t c = 0; c < 10; ++c) expected.at(62752 + 10 * c + 9) &= 0x87;  // the reports' bits 11..14
  ApplyCollectEffects(image);
  EXPECT_EQ(image, expected);
  ApplyCollectEffects(image);
  EXPECT_EQ(image, expected);
}

}  // namespace
}  // namespace wk
