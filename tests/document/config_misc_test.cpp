// The miscellaneous settings as fields: the page's words and encoding rules,
// the values no page writes, and the password kept out of sight.
#include <gtest/gtest.h>

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

constexpr std::size_t kCommon = 62596;  // CommonSettings

TEST(ConfigMisc, ANewDocumentReadsAsThePageShowsIt) {
  const ConfigImage image = newImage();
  Reader r(image);
  EXPECT_EQ(r.read(field("misc.incomingCall")), Value::ofText("Standart Request '?'"));
  EXPECT_EQ(r.read(field("misc.temperatureFormat")), Value::ofText("T1.1=0.0C"));
  EXPECT_EQ(r.read(field("misc.micGain")), Value::ofText("+3.0 dB"));
  EXPECT_EQ(r.read(field("misc.speakerVolume")), Value::ofText("6"));
  EXPECT_EQ(r.read(field("misc.analogOutput")), Value::ofText("Use PWM analog autput as SIRENA"));
  EXPECT_EQ(r.read(field("misc.startTimeout")), Value::ofInteger(0));
  EXPECT_EQ(r.read(field("misc.balanceRequest")), Value::ofText("*100#"));
  EXPECT_EQ(r.read(field("misc.password")), Value::ofText(""));
  EXPECT_EQ(r.read(field("misc.netLedEnable")), Value::ofBoolean(false));
  for (int n = 1; n <= 8; ++n)
    EXPECT_EQ(r.read(field("misc.myNumbers[" + std::to_string(n) + "]")), Value{}) << "nothing stored";
  EXPECT_TRUE(field("misc.password").secret);
}

TEST(ConfigMisc, ValuesAreStoredWithThePagesRules) {
  ConfigImage image = newImage();
  writeOk("misc.temperatureFormat", image, Value::ofText("T1.1=0C"));
  writeOk("misc.incomingCall", image, Value::ofText("Request '?3'"));
  writeOk("misc.micGain", image, Value::ofText("+22.5 dB"));
  writeOk("misc.speakerVolume", image, Value::ofText("10"));
  EXPECT_EQ(bytesAt(image, kCommon + 8, 4), hex("04 01 0F 09"));
  writeOk("misc.netLedEnable", image, Value::ofBoolean(true));
  writeOk("misc.restartInputBlocking", image, Value::ofBoolean(true));
  writeOk("misc.analogOutput", image, Value::ofText("Use PWM analog autput as BEEPER"));
  writeOk("misc.startTimeout", image, Value::ofInteger(255));
  EXPECT_EQ(bytesAt(image, kCommon, 21), hex("01 00 00 00 00 00 00 00 04 01 0F 09 00 00 01 01 00 00 00 00 FF"));
  // "My number" 3: all ten bytes as the page stores them.
  image.slice(kCommon + 78, 10)[9] = 0x77;
  writeOk("misc.myNumbers[3]", image, Value::ofText("0012345"));
  EXPECT_EQ(bytesAt(image, kCommon + 78, 10), hex("05 91 21 43 F5 00 00 00 00 00"));
  writeOk("misc.myNumbers[8]", image, Value::ofText(""));
  EXPECT_EQ(bytesAt(image, kCommon + 128, 10), hex("00 81 00 00 00 00 00 00 00 00"));
  writeOk("misc.myNumbers[8]", image, Value{});
  EXPECT_EQ(bytesAt(image, kCommon + 128, 10), hex("00 00 00 00 00 00 00 00 00 00"));
  writeOk("misc.balanceRequest", image, Value::ofText("*102#"));
  EXPECT_EQ(bytesAt(image, kCommon + 148, 8), hex("05 2A 31 30 32 23 00 00"));
  // The password: its length, a zero byte, one byte a character (Cyrillic
  // as Windows-1251); the bytes after it stay.
  writeOk("misc.password", image, Value::ofText("abcdef"));
  image.at(kCommon + 25) = 0x33;
  writeOk("misc.password", image, Value::ofText("Яё1"));
  EXPECT_EQ(bytesAt(image, kCommon + 24, 9), hex("03 00 DF B8 31 64 65 66 00"));
  EXPECT_EQ(Reader(image).read(field("misc.password")), Value::ofText("Яё1"));
}

TEST(ConfigMisc, WhatThePageWouldStoreOtherwiseIsRefused) {
  EXPECT_EQ(refusal("misc.password", Value::ofText("pass λ")),
            "holds \"λ\", which the controller cannot keep (neither Latin-1 nor Cyrillic)");
  EXPECT_EQ(refusal("misc.password", Value::ofText("12345678901234567")), "is 17 characters long, at most 16 fit");
  EXPECT_EQ(refusal("misc.password", Value::ofText("*")), "(stored)");
  EXPECT_EQ(refusal("misc.balanceRequest", Value::ofText("*1€#")),
            "holds \"€\", which is not Latin-1 (one byte a character)");
  EXPECT_EQ(refusal("misc.balanceRequest", Value::ofText("*100*11#")), "is 8 characters long, at most 7 fit");
  EXPECT_EQ(refusal("misc.myNumbers[2]", Value::ofText("12345678901234567")),
            "\"12345678901234567\" is too long: 17 digits, at most 16 fit (after a leading 00)");
  EXPECT_EQ(refusal("misc.startTimeout", Value::ofInteger(256)), "256 is out of range 0..255");
  EXPECT_EQ(refusal("misc.micGain", Value::ofText("+24.0 dB")), "\"+24.0 dB\" is no item of its list");
  EXPECT_EQ(refusal("misc.netLedEnable", Value::ofCode(256)), "code 256 is out of range 0..255");
}

TEST(ConfigMisc, ValuesNoPageWritesAreReadInAFormThatWritesThemBack) {
  ConfigImage image = newImage();
  image.at(kCommon + 0) = 2;     // a check byte of 2
  image.at(kCommon + 10) = 16;   // mic gain beyond the list
  image.at(kCommon + 9) = 2;     // a temperature format no item carries
  image.at(kCommon + 15) = 7;    // a radio value beyond the two
  image.at(kCommon + 24) = 1;    // a password whose zero byte is not zero
  image.at(kCommon + 25) = 9;
  image.at(kCommon + 26) = 0x41;
  image.at(kCommon + 148) = 9;   // a balance request longer than 7
  image.at(kCommon + 58) = 1;    // a number with bytes after its digits
  image.at(kCommon + 59) = 0x81;
  image.at(kCommon + 60) = 0xF5;
  image.at(kCommon + 67) = 0x10;
  Reader r(image);
  EXPECT_EQ(r.read(field("misc.netLedEnable")), Value::ofCode(2));
  EXPECT_EQ(r.read(field("misc.micGain")), Value::ofCode(16));
  EXPECT_EQ(r.read(field("misc.temperatureFormat")), Value::ofCode(2));
  EXPECT_EQ(r.read(field("misc.analogOutput")), Value::ofCode(7));
  EXPECT_EQ(r.read(field("misc.password")), Value::ofHex(hex("01 09 41")));
  EXPECT_EQ(r.read(field("misc.balanceRequest")), Value::ofHex(hex("09 2A 31 30 30 23 00 00")));
  EXPECT_EQ(r.read(field("misc.myNumbers[1]")), Value::ofHex(hex("01 81 F5 00 00 00 00 00 00 10")));
  // Each writes back what it read, onto a new document too.
  ConfigImage onNew = newImage();
  for (const char* path : {"misc.netLedEnable", "misc.micGain", "misc.temperatureFormat", "misc.analogOutput",
                           "misc.password", "misc.balanceRequest", "misc.myNumbers[1]"})
    writeOk(path, onNew, *r.read(field(path)));
  EXPECT_EQ(bytesAt(onNew, kCommon, 156), bytesAt(image, kCommon, 156));
}

TEST(ConfigMisc, ThePasswordShowsOnlyWhetherItIsSetAndItsLength) {
  EXPECT_EQ(secretText(secretShown(Value::ofText(""))), "not set");
  EXPECT_EQ(secretText(secretShown(Value::ofText("Яё1"))), "set, 3 characters");
  EXPECT_EQ(secretText(secretShown(Value::ofText("x"))), "set, 1 character");
  EXPECT_EQ(secretText(secretShown(Value::ofHex(hex("14 00 41")))), "set, 20 characters");
  const ConfigImage a = newImage();
  ConfigImage b = a;
  writeOk("misc.password", b, Value::ofText("secret"));
  ConfigImage c = b;
  writeOk("misc.password", c, Value::ofText("SECRET"));
  EXPECT_EQ(describe(diff(a, b)), std::vector<std::string>{"misc.password: not set -> set, 6 characters"});
  EXPECT_EQ(describe(diff(b, c)),
            std::vector<std::string>{"misc.password: set, 6 characters -> set, 6 characters (changed)"});
  EXPECT_EQ(describe(diff(b, c), {}, true), std::vector<std::string>{"misc.password: \"secret\" -> \"SECRET\""});
  // A shorter password leaves the end of the longer one behind.
  writeOk("misc.password", b, Value::ofText("abc"));
  writeOk("misc.password", c, Value::ofText("abc"));
  EXPECT_EQ(describe(diff(b, c)),
            std::vector<std::string>{"image[62625..62627] (CommonSettings+29..CommonSettings+31): changed (hidden)"});
  EXPECT_EQ(describe(diff(b, c), {}, true),
            std::vector<std::string>{"image[62625..62627] (CommonSettings+29..CommonSettings+31): 72 65 74 -> 52 45 54"});
}

TEST(ConfigDiff, OneBitOfTheMiscellaneousSettingsShows) {
  const ConfigImage a = newImage();
  const std::vector<std::tuple<std::size_t, std::uint8_t, std::string>> bits = {
      {kCommon + 0, 0x01, "misc.netLedEnable: no -> yes"},
      {kCommon + 14, 0x01, "misc.restartInputBlocking: no -> yes"},
      {kCommon + 8, 0x01, "misc.incomingCall: Standart Request '?' -> Request '?0'"},
      {kCommon + 10, 0x01, "misc.micGain: +3.0 dB -> +4.5 dB"},
      {kCommon + 9, 0x02, "misc.temperatureFormat: T1.1=0.0C -> T1.1=0.00C"},
      {kCommon + 15, 0x80, "misc.analogOutput: Use PWM analog autput as SIRENA -> (128)"},
      {kCommon + 20, 0x01, "misc.startTimeout: 0 -> 1"},
      {kCommon + 24, 0x01, "misc.password: not set -> set, 1 character"},
      {kCommon + 70, 0x01, "misc.myNumbers[2]: (none) -> hex:00000100000000000000"},
      {kCommon + 149, 0x01, "misc.balanceRequest: \"*100#\" -> \"+100#\""},
      {kCommon + 16, 0x01, "image[62612] (CommonSettings+16): 00 -> 01"},
      {kCommon + 2, 0x01, "image[62598] (CommonSettings+2): 00 -> 01"},
  };
  for (const auto& [offset, mask, line] : bits)
    EXPECT_EQ(field_test::diffWithBitFlipped(a, offset, mask), std::vector<std::string>{line});
}

}  // namespace
}  // namespace wk::config
