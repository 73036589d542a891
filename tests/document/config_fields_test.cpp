// The configuration as named fields: what each field reads and writes, the
// bits it holds, and that any image reads and writes back exactly.
#include <gtest/gtest.h>

#include <random>
#include <set>

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

ConfigImage randomImage(unsigned seed) {
  std::mt19937 rng(seed);
  ConfigImage image;
  for (auto& b : image.all()) b = static_cast<std::uint8_t>(rng());
  return image;
}

std::vector<const Field*> allFields() {
  std::vector<const Field*> out;
  for (const Section& s : Description::get().sections())
    for (const Record& r : s.records)
      for (const Field& f : r.fields) out.push_back(&f);
  return out;
}

TEST(ConfigDescription, PathsNameTheRecordsAsTheProgramCountsThem) {
  EXPECT_EQ(field("sms[1].phone").scope.offset, 0u);
  EXPECT_EQ(field("sms[256].comment").scope.offset, 40448u + 255 * 64);
  EXPECT_EQ(field("sensors2[16].alias").scope.offset, 60288u + 15 * 32);
  EXPECT_EQ(field("keys[1].keyType").scope.offset, 62436u);
  EXPECT_EQ(Description::get().find("sms[0].phone"), nullptr);
  EXPECT_EQ(Description::get().find("sms[257].phone"), nullptr);
  // No path twice.
  std::set<std::string> paths;
  for (const Field* f : allFields()) EXPECT_TRUE(paths.insert(f->path).second) << f->path;
}

// Setting a field's code to its smallest and its largest value changes
// exactly the bits the field says it holds, and nothing else.
TEST(ConfigDescription, EveryCodeWritesExactlyTheBitsItsFieldHolds) {
  const ConfigImage start = randomImage(7);
  ConfigImage low = start, high = start;
  for (const Field* f : allFields()) {
    if (!f->getCode) continue;
    if (f->applies && !f->applies(start)) continue;
    f->setCode(low, 0);
    f->setCode(high, f->maxCode(start));
    std::vector<std::uint8_t> mask(f->scope.size, 0);
    for (const Bits& b : ownedBits(*f, start)) {
      ASSERT_TRUE(b.offset >= f->scope.offset && b.offset < f->scope.end()) << f->path;
      mask[b.offset - f->scope.offset] |= b.mask;
    }
    for (std::size_t i = 0; i < f->scope.size; ++i) {
      const std::size_t at = f->scope.offset + i;
      ASSERT_EQ(low.at(at) ^ high.at(at), mask[i]) << f->path << " at " << at;
      ASSERT_EQ((start.at(at) ^ low.at(at)) & ~mask[i], 0) << f->path << " at " << at;
    }
    // Nothing outside the field's record moved.
    const auto s0 = start.slice(f->scope);
    std::copy(s0.begin(), s0.end(), low.slice(f->scope).begin());
    std::copy(s0.begin(), s0.end(), high.slice(f->scope).begin());
    ASSERT_TRUE(low == start && high == start) << f->path;
  }
}

// What is read writes back: onto the same image the image stays; onto a new
// document every field's bits come out as in the image read.
TEST(ConfigDescription, AnyImageReadsAndWritesBackExactly) {
  std::vector<ConfigImage> images{newImage(), randomImage(1), randomImage(2), randomImage(3)};
  // Images of values next to the edges: every byte one pattern.
  for (const std::uint8_t b : {0x00, 0xFF, 0x7F, 0x80, 0x01, 0x1F, 0x20}) {
    ConfigImage img;
    for (auto& x : img.all()) x = b;
    images.push_back(img);
  }
  for (std::size_t n = 0; n < images.size(); ++n) {
    SCOPED_TRACE("image " + std::to_string(n));
    const ConfigImage& source = images[n];
    Reader reader(source);
    ConfigImage same = source, onNew = newImage();
    for (const Field* f : allFields()) {
      const auto v = reader.read(*f);
      if (!v) continue;
      const auto e1 = write(*f, same, *v);
      ASSERT_FALSE(e1) << f->path << ": " << *e1;
      const auto e2 = write(*f, onNew, *v);
      ASSERT_FALSE(e2) << f->path << ": " << *e2;
    }
    ASSERT_TRUE(same == source);
    for (const Field* f : allFields()) {
      const auto bits = ownedBits(*f, source);
      ASSERT_EQ(ownedBits(*f, onNew).size(), bits.size()) << f->path;
      for (const Bits& b : bits) ASSERT_EQ(onNew.at(b.offset) & b.mask, source.at(b.offset) & b.mask) << f->path;
    }
  }
}

TEST(ConfigDescription, ANewDocumentReadsInThePagesWords) {
  const ConfigImage image = newImage();
  Reader r(image);
  EXPECT_EQ(r.read(field("sms[1].enabled")), Value::ofBoolean(false));
  EXPECT_EQ(r.read(field("sms[1].phone")), Value{}) << "nothing stored: count and type 0";
  EXPECT_EQ(r.read(field("sms[1].category")), Value::ofText("Main Channel"));
  EXPECT_EQ(r.read(field("sms[1].source")), Value::ofText("Main Channel 1"));
  EXPECT_EQ(r.read(field("sms[1].condition")), Value::ofCode(0)) << "no condition chosen";
  EXPECT_EQ(r.read(field("sms[1].kind")), Value::ofCode(0)) << "no kind chosen";
  EXPECT_EQ(r.read(field("sms[1].text")), Value::ofText(""));
  EXPECT_EQ(r.read(field("sms[1].sound")), Value::ofText("-"));
  EXPECT_EQ(r.read(field("sms[1].channels")), Value::ofFlags({}));
  EXPECT_EQ(r.read(field("sms[1].soundLength")), Value::ofInteger(10));
  EXPECT_EQ(r.read(field("sms[1].comment")), Value::ofText(""));
  EXPECT_EQ(r.read(field("sensors1[1].rom")), Value::ofText("0000000000000000"));
  EXPECT_EQ(r.read(field("sensors1[1].reacts")), Value::ofBoolean(false));
  EXPECT_EQ(r.read(field("keys[16].keyType")), Value::ofText("Common Key"));
}

TEST(ConfigDescription, ValuesAreStoredWithTheEditorsRules) {
  ConfigImage image = newImage();
  writeOk("sms[18].phone", image, Value::ofText("0012345"));
  EXPECT_EQ(bytesAt(image, 17 * 158 + 6, 5), hex("05 91 21 43 F5"));
  writeOk("sms[1].text", image, Value::ofText("abc"));
  EXPECT_EQ(bytesAt(image, 16, 5), hex("03 00 61 F1 18"));
  writeOk("sms[2].text", image, Value::ofText("Дверь"));
  EXPECT_EQ(bytesAt(image, 158 + 16, 6), hex("05 08 04 14 04 32"));
  writeOk("sms[3].category", image, Value::ofText("Thermosensor error"));
  writeOk("sms[3].source", image, Value::ofText("Thermosensor error T2.05"));
  EXPECT_EQ(image.at(2 * 158 + 4), 0x4B);
  writeOk("sms[4].category", image, Value::ofText("System Event"));
  writeOk("sms[4].source", image, Value::ofText("Number changing"));
  EXPECT_EQ(image.at(3 * 158 + 5), 49);
  writeOk("sms[5].kind", image, Value::ofText("SMS & CALL"));
  writeOk("sms[5].sound", image, Value::ofText("WAIL"));
  writeOk("sms[5].channels", image, Value::ofFlags({"CH2", "CH6"}));
  writeOk("sms[5].soundLength", image, Value::ofInteger(100));
  EXPECT_EQ(bytesAt(image, 4 * 158, 4), hex("1E 22 64 00"));
  writeOk("sms[5].comment", image, Value::ofText("Hall"));
  EXPECT_EQ(bytesAt(image, 40448 + 4 * 64, 10), hex("04 00 48 00 61 00 6C 00 6C 00"));
  writeOk("sensors1[2].alias", image, Value::ofText("Склад"));
  EXPECT_EQ(bytesAt(image, 59776 + 32, 6), hex("05 53 6B 6C 61 64"));
  writeOk("sensors1[2].requests", image, Value::ofInteger(5));
  writeOk("sensors1[2].reacts", image, Value::ofBoolean(true));
  EXPECT_EQ(image.at(62116 + 10 + 9), 0x0B);
  writeOk("keys[3].rom", image, Value::ofText("01a2b3c4d5e6f700"));
  writeOk("keys[3].keyType", image, Value::ofText("Perimeter Key ARM"));
  EXPECT_EQ(bytesAt(image, 62436 + 20, 9), hex("01 A2 B3 C4 D5 E6 F7 00 05"));
}

TEST(ConfigDescription, ChannelsUserEventsAndOutputsAreStoredWithTheEditorsRules) {
  ConfigImage image = newImage();
  writeOk("channels[3].workmode", image, Value::ofText("Perimeter mode line"));
  writeOk("channels[3].input", image, Value::ofInteger(6));
  writeOk("channels[3].alarmCondition", image, Value::ofText("ATZ4 Line Error"));
  writeOk("channels[3].multiaction", image, Value::ofText("30 sec freeze"));
  writeOk("channels[3].alarmOnTimeout", image, Value::ofInteger(255));
  writeOk("channels[3].alarmOffTimeout", image, Value::ofInteger(7));
  EXPECT_EQ(bytesAt(image, 61888 + 8, 4), hex("11 E5 FF 07"));
  writeOk("channels[3].aliasIfAlarm", image, Value::ofText("Привет"));
  EXPECT_EQ(bytesAt(image, 56832 + 2 * 32, 7), hex("06 50 72 69 76 65 74"));
  writeOk("channels[24].aliasIfOk", image, Value::ofText("OK"));
  EXPECT_EQ(bytesAt(image, 56832 + 47 * 32, 3), hex("02 4F 4B"));
  writeOk("channels[24].follow", image, Value::ofBoolean(true));
  writeOk("channels[1].follow", image, Value::ofBoolean(true));
  EXPECT_EQ(bytesAt(image, 62858, 4), hex("01 00 80 00"));
  writeOk("userEvents[1].lo", image, Value::ofInteger(-500));
  writeOk("userEvents[1].hi", image, Value::ofInteger(2550));
  writeOk("userEvents[1].sensor", image, Value::ofText("T2.16"));
  writeOk("userEvents[1].condition", image, Value::ofText("Higher then \"Hi\""));
  writeOk("userEvents[1].workmode", image, Value::ofText("Guard line"));
  writeOk("userEvents[1].multiaction", image, Value::ofText("Single-zone"));
  EXPECT_EQ(bytesAt(image, 61984, 6), hex("1F 15 F6 09 0C FE"));
  writeOk("outputs[2].use", image, Value::ofText("Thermostat"));
  writeOk("outputs[2].type", image, Value::ofText("Cooler"));
  writeOk("outputs[2].inverse", image, Value::ofBoolean(true));
  writeOk("outputs[2].hysteresisHigh", image, Value::ofInteger(150));
  writeOk("outputs[2].sensor", image, Value::ofText("T1.02"));
  EXPECT_EQ(bytesAt(image, 62080 + 6, 6), hex("02 13 96 00 00 00"));
  writeOk("outputs[6].aliasIfOn", image, Value::ofText("Siren"));
  EXPECT_EQ(bytesAt(image, 59392 + 11 * 32, 6), hex("05 53 69 72 65 6E"));
  Reader r(image);
  EXPECT_EQ(displayText(field("userEvents[1].lo"), *r.read(field("userEvents[1].lo"))), "-5.00");
  EXPECT_EQ(displayText(field("channels[3].input"), *r.read(field("channels[3].input"))), "6");
  image.at(61888 + 1) = 0x18;  // workmode 3: not offered
  EXPECT_EQ(Reader(image).read(field("channels[1].workmode")), Value::ofCode(3));
  EXPECT_TRUE(write(field("channels[1].alarmOnTimeout"), image, Value::ofInteger(300)));
}

TEST(ConfigDescription, ValuesNoEditorWritesAreReadRaw) {
  ConfigImage image = newImage();
  // An 8-bit text, and a UCS-2 text of ASCII alone (the editor packs that).
  image.slice(16, 5)[0] = 2;
  image.slice(16, 5)[1] = 1;
  image.slice(16, 5)[2] = 0x41;
  image.slice(16, 5)[3] = 0x42;
  image.at(158 + 16) = 1;
  image.at(158 + 17) = 8;
  image.at(158 + 19) = 0x41;
  // A packed text whose last byte has a filler bit set.
  image.at(2 * 158 + 16) = 1;
  image.at(2 * 158 + 18) = 0x81;
  // A phone of type 0xA1; an alias length beyond 31; a key type beyond the list.
  image.at(3 * 158 + 6) = 1;
  image.at(3 * 158 + 7) = 0xA1;
  image.at(3 * 158 + 8) = 0xF1;
  image.at(59776) = 40;
  image.at(62436 + 8) = 9;
  Reader r(image);
  EXPECT_EQ(r.read(field("sms[1].text")), Value::ofHex(hex("02 01 41 42")));
  EXPECT_EQ(r.read(field("sms[2].text")), Value::ofHex(hex("01 08 00 41")));
  EXPECT_EQ(r.read(field("sms[3].text")), Value::ofHex(hex("01 00 81")));
  EXPECT_EQ(r.read(field("sms[4].phone")), Value::ofHex(hex("01 A1 F1")));
  EXPECT_EQ(r.read(field("sensors1[1].alias")).value().bytes.size(), 32u);
  EXPECT_EQ(r.read(field("keys[1].keyType")), Value::ofCode(9));
  // An unknown encoding holds its two header bytes only.
  image.at(4 * 158 + 17) = 5;
  image.at(4 * 158 + 16) = 9;
  EXPECT_EQ(Reader(image).read(field("sms[5].text")), Value::ofHex(hex("09 05")));
}

TEST(ConfigDescription, ConditionAndSourceFollowTheCategory) {
  ConfigImage image = newImage();
  writeOk("sms[1].category", image, Value::ofText("System Event"));
  Reader r(image);
  EXPECT_FALSE(r.read(field("sms[1].condition"))) << "a system event has no condition";
  EXPECT_EQ(r.read(field("sms[1].source")), Value::ofText("Net Lost"));
  EXPECT_TRUE(write(field("sms[1].condition"), image, Value::ofText("if ALARM ON")));
  image.at(4) = 0x05;  // category 5: no source either
  EXPECT_FALSE(Reader(image).read(field("sms[1].source")));
  image.at(4) = 0xC9;  // main channel 26: beyond the list
  EXPECT_EQ(Reader(image).read(field("sms[1].source")), Value::ofCode(25));
}

TEST(ConfigDescription, ValuesThatCannotBeStoredAsGivenAreRefused) {
  ConfigImage image = newImage();
  const ConfigImage before = image;
  const std::vector<std::tuple<std::string, Value, std::string>> cases = {
      {"sms[1].phone", Value::ofText("00123456789012345678"),
       "\"00123456789012345678\" is too long: 18 digits, at most 16 fit (after a leading 00)"},
      {"sms[1].phone", Value::ofText("12-34"), "\"12-34\" holds characters other than digits"},
      {"sms[1].source", Value::ofText("Main Channel 25"), "\"Main Channel 25\" is no source of the category \"Main Channel\""},
      {"sms[1].source", Value::ofText("Main Channel 03"), "\"Main Channel 03\" is no source of the category \"Main Channel\""},
      {"sms[1].kind", Value::ofText("SMS and CALL"), "\"SMS and CALL\" is no item of its list"},
      {"sms[1].kind", Value::ofCode(4), "code 4 is out of range 0..3"},
      {"sms[1].text", Value::ofText(std::string(161, 'a')), "is 161 characters long, at most 160 fit"},
      {"sms[1].text", Value::ofText("é" + std::string(70, 'a')),
       "is 71 UTF-16 units long; a message with a character beyond ASCII holds at most 70"},
      {"sms[1].comment", Value::ofText(std::string(32, 'c')), "is 32 UTF-16 units long, at most 31 fit"},
      {"sms[1].channels", Value::ofFlags({"CH7"}), "\"CH7\" is no item of its list"},
      {"sms[1].soundLength", Value::ofInteger(65536), "65536 is out of range 0..65535"},
      {"sensors1[1].alias", Value::ofText(std::string(32, 'a')), "is 32 characters long, at most 31 fit"},
      {"sensors1[1].alias", Value::ofText("5€"), "holds \"€\", which is neither Latin-1 nor Cyrillic"},
      {"sensors1[1].requests", Value::ofInteger(64), "64 is out of range 0..63"},
      {"sensors1[1].rom", Value::ofText("0011"), "\"0011\" is no ROM code (16 hexadecimal digits)"},
      {"sensors1[1].alias", Value::ofHex(hex("03 41")), "hex holds 2 bytes, its length bytes call for 4"},
      {"sensors1[1].slotNumber", Value::ofHex(hex("01")), "takes no hex bytes"},
      {"sensors1[1].alias", Value::ofCode(1), "takes no code"},
  };
  for (const auto& [path, value, message] : cases) {
    ConfigImage copy = before;
    const auto error = write(field(path), copy, value);
    ASSERT_TRUE(error) << path;
    EXPECT_EQ(*error, message) << path;
  }
}

TEST(ConfigDiff, OneLinePerFieldInThePagesWords) {
  const ConfigImage a = newImage();
  ConfigImage b = a;
  EXPECT_TRUE(diff(a, b).empty());
  writeOk("sms[17].phone", b, Value::ofText("0098765"));
  writeOk("sensors2[3].alias", b, Value::ofText("Boiler"));
  b.at(62436 + 5 * 10 + 9) = 0x01;  // byte 9 of a key slot: no field's
  b.at(62598) = 0x80;               // CommonSettings+2
  ConfigImage c = b;
  writeOk("sms[17].phone", c, Value::ofText("0012345"));
  const auto lines = describe(diff(c, b));
  EXPECT_EQ(lines, (std::vector<std::string>{"sms[17].phone: 0012345 -> 0098765"}));
  EXPECT_EQ(describe(diff(a, b)),
            (std::vector<std::string>{
                "sms[17].phone: (none) -> 0098765",
                "sensors2[3].alias: \"\" -> \"Boiler\"",
                "image[62495] (KeySlots+59): 00 -> 01",
                "image[62598] (CommonSettings+2): 00 -> 80",
            }));
}

TEST(ConfigDiff, OneBitOfEachSectionShows) {
  const ConfigImage a = newImage();
  const std::vector<std::pair<std::size_t, std::string>> bits = {
      {158 * 4, "sms[5].enabled: no -> yes"},
      {62116 + 9, "sensors1[1].reacts: no -> yes"},
      {62276 + 150, "sensors2[16].rom: 0000000000000000 -> 0100000000000000"},
      {62436 + 8, "keys[1].keyType: Common Key -> Perimeter Key"},
      {61888 + 4 * 5 + 1, "channels[6].input: 6 -> 5"},
      {62858 + 2, "channels[17].follow: no -> yes"},
      {62858 + 3, "image[62861] (CommonSettings+265): 00 -> 01"},
      {56832 + 32 * 30, "channels[7].aliasIfOk: \"\" -> hex:0100"},
      {61984 + 6 * 15 + 4, "userEvents[16].lo: 0.00 -> 0.01"},
      {62080 + 5, "outputs[1].hysteresisLow: 0.00 -> 2.56"},
      {62080 + 1, "outputs[1].inverse: no -> yes"},
      {58368, "image[58368] (UserEventBlock+0): 00 -> 01"},
      {61856 + 31, "image[61887] (ReservedB+31): 00 -> 01"},
  };
  for (const auto& [offset, line] : bits) {
    ConfigImage b = a;
    b.at(offset) ^= 0x01;
    EXPECT_EQ(describe(diff(a, b)), std::vector<std::string>{line});
  }
}

TEST(ConfigDiff, NeighbouringLooseBytesOfARegionShowAsOneRun) {
  const ConfigImage a = newImage();
  ConfigImage b = a;
  for (std::size_t i = 0; i < 4; ++i) b.at(58378 + i) = 0xAA;
  for (std::size_t i = 0; i < 4; ++i) b.at(61854 + i) = 0x55;  // across ReservedA and ReservedB
  EXPECT_EQ(describe(diff(a, b)),
            (std::vector<std::string>{
                "image[58378..58381] (UserEventBlock+10..UserEventBlock+13): 00 00 00 00 -> AA AA AA AA",
                "image[61854..61855] (ReservedA+30..ReservedA+31): 00 00 -> 55 55",
                "image[61856..61857] (ReservedB+0..ReservedB+1): 00 00 -> 55 55",
            }));
}

}  // namespace
}  // namespace wk::config
