// The configuration as data: the JSON both ways, and dump, export, import,
// diff, verify and write --backup of watchkeep-cli (against gz4410-sim where
// a controller is needed).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "config_json.h"
#include "terminal_text.h"
#include "document/alias_record.h"
#include "document/c4410_doc.h"
#include "document/collect_effects.h"
#include "document/main_channel_record.h"
#include "document/misc_settings.h"
#include "document/output_record.h"
#include "document/user_event_record.h"
#include "document/config_fields.h"
#include "document/notification_record.h"
#include "document/onewire_records.h"
#include "document/report_record.h"
#include "document/vld_file.h"
#include "onewire/crc8.h"
#include "sim_launcher.h"
#include "support/hex.h"
#include "support/lng_file.h"
#include "support/process.h"
#include "support/temp_dir.h"

namespace wk {
namespace {

using test::runProcess;
using test::TempDir;

// A ROM code whose CRC byte is right, from its first seven bytes.
RomCode validRom(std::string_view first7) {
  RomCode code = *RomCode::parse(std::string(first7) + "00");
  code.bytes[7] = OneWireCrc8(std::span<const std::uint8_t>(code.bytes).first(7));
  return code;
}

ConfigImage newImage() {
  C4410Doc doc;
  doc.makeNew();
  return doc.image();
}

ConfigImage randomImage(unsigned seed) {
  std::mt19937 rng(seed);
  ConfigImage image;
  for (auto& b : image.all()) b = static_cast<std::uint8_t>(rng());
  return image;
}

// A document full of edits made through the record views, as the pages make them.
ConfigImage editedImage() {
  ConfigImage image = newImage();
  for (std::size_t k = 0; k < 256; k += 3) {
    NotificationRecord r = NotificationRecord::at(image, k);
    r.setEnabled(k % 2 == 0);
    r.setKind(static_cast<std::uint8_t>(1 + k % 3));
    r.setCondition(static_cast<std::uint8_t>(1 + k % 3));
    r.setSound(static_cast<std::uint8_t>(k % 8));
    r.setSoundLength(static_cast<std::uint16_t>(k * 250));
    r.setSourceCategory(static_cast<std::uint8_t>(k % 5));
    r.setSourceIndex(static_cast<unsigned>(k % 16));
    r.setChannels({k % 2 == 0, false, true, false, false, k % 5 == 0});
    r.phone().setText(k % 2 ? u"0012345678" : u"5550101");
    r.setText(k % 4 == 0 ? u"Тревога в зоне" : u"Alarm in zone 3, call the guard");
    SmsCommentRecord::at(image, k).setText(u"Коридор / hall");
  }
  for (int c = 0; c < 2; ++c)
    for (std::size_t s = 0; s < 16; s += 2) {
      ThermoSensorRecord t = ThermoSensorRecord::at(image, c, s);
      t.setRomCode(validRom("28FF4C1B031603"));
      t.setSlotNumber(static_cast<std::uint8_t>(s));
      t.setReacts(s % 4 == 0);
      t.setRequestCount(static_cast<unsigned>(s * 3));
      SensorAlias(image, c, s).store(u"Склад " + std::u16string(1, static_cast<char16_t>(u'0' + s % 10)));
    }
  for (std::size_t k = 0; k < 24; k += 2) {
    MainChannelRecord c = MainChannelRecord::at(image, k);
    c.setWorkmode(WorkmodeTable.items()[k % 5].code);
    c.setAlarmCondition(static_cast<std::uint8_t>(k % 18));
    c.setMultiaction(static_cast<std::uint8_t>(k % 4));
    c.setAlarmOnTimeout(static_cast<std::uint8_t>(k * 10));
    ChannelAliasTable(image).ifAlarm(k).store(u"Дверь " + std::u16string(1, static_cast<char16_t>(u'A' + k)));
    FollowMask::of(image).setFollows(k, k % 4 == 0);
  }
  for (std::size_t k = 0; k < 16; k += 3) {
    UserEventRecord u = UserEventRecord::at(image, k);
    u.setWorkmode(2);
    u.setSensor(SensorRef{2, static_cast<int>(k + 1)});
    u.setLo(static_cast<std::int16_t>(-550 + static_cast<int>(k)));
    u.setHi(2569);
    u.setCondition(1);
  }
  for (std::size_t k = 0; k < 6; k += 2) {
    OutputRecord o = OutputRecord::at(image, k);
    o.setUse(1);
    o.setType(1);
    o.setInverse(true);
    o.setHysteresisLow(-69);
    o.setHysteresisHigh(69);
    OutputAliasTable(image).ifOn(k).store(u"Heater on");
  }
  for (std::size_t s = 0; s < 16; s += 5) {
    IButtonKeyRecord::at(image, s).setRomCode(validRom("01A2B3C4D5E6F7"));
    IButtonKeyRecord::at(image, s).setKeyType(static_cast<std::uint8_t>(s % 8));
    IButtonCommentRecord::at(image, s).store(u"Охрана");
  }
  // The miscellaneous settings and the reports as their pages store them.
  MiscShown misc = LoadMiscSettings(image);
  misc.myNumbers = {u"0012345678", u"", u"5550103", u"", u"5550105", u"", u"5550107", u""};
  misc.checks[3] = true;
  misc.checks[4] = true;
  misc.incomingCallAction = 11;
  misc.temperatureFormat = 0;
  misc.micGain = 15;
  misc.speakerVolume = 9;
  misc.analogOutput = 1;
  misc.startTimeout = u"300";
  misc.balanceRequest = u"*102#";
  EXPECT_TRUE(StoreMiscSettings(misc, image));
  MiscSettings::of(image).storePassword(u"Пароль1");
  for (std::size_t c = 0; c < 10; c += 2) {
    ReportColumn column = LoadReportColumn(image, c);
    column.items[c * 6] = true;
    column.items[63 - c] = true;
    column.period = *ReportPeriodList.textOf(static_cast<std::uint8_t>(c % 8));
    column.numbers[0] = true;
    column.numbers[7 - c / 2] = true;
    StoreReportColumn(column, image, c);
  }
  // What collecting the pages does to the bytes no control shows.
  ApplyCollectEffects(image);
  return image;
}

// The image the JSON of source gives, applied onto base.
ConfigImage throughJson(const ConfigImage& source, const ConfigImage& base) {
  const std::string text = cli::toJson(source).dump(2);
  ConfigImage out = base;
  const auto errors = cli::fromJson(text, out);
  EXPECT_TRUE(errors.empty()) << errors.front();
  return out;
}

void expectEveryFieldAsIn(const ConfigImage& source, const ConfigImage& result) {
  for (const config::Section& s : config::Description::get().sections())
    for (const config::Record& r : s.records)
      for (const config::Field& f : r.fields) {
        const auto bits = config::ownedBits(f, source);
        ASSERT_EQ(config::ownedBits(f, result).size(), bits.size()) << f.path;
        for (const config::Bits& b : bits)
          ASSERT_EQ(result.at(b.offset) & b.mask, source.at(b.offset) & b.mask) << f.path;
      }
}

TEST(ConfigJson, ExportThenImportGivesBackTheSameBytes) {
  const std::vector<std::pair<std::string, ConfigImage>> images = {
      {"new", newImage()}, {"edited", editedImage()}, {"random 1", randomImage(1)}, {"random 2", randomImage(2)}};
  for (const auto& [name, image] : images) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(throughJson(image, image) == image) << "with the file as base";
    expectEveryFieldAsIn(image, throughJson(image, newImage()));
  }
}

TEST(ConfigJson, TheShapeOfARecord) {
  ConfigImage image = editedImage();
  const auto j = cli::toJson(image);
  EXPECT_EQ(j["format"], "watchkeep-configuration");
  EXPECT_EQ(j["formatVersion"], 1);
  EXPECT_EQ(j["sms"].size(), 256u);
  EXPECT_EQ(j["sms"][3].dump(),
            R"({"enabled":false,"phone":"0012345678","category":"Thermosensor error","source":"Thermosensor error T1.04",)"
            R"("condition":"if ALARM ON","kind":"SMS","text":"Alarm in zone 3, call the guard","sound":"WAIL",)"
            R"("channels":["CH3"],"soundLength":750,"comment":"Коридор / hall"})");
  EXPECT_EQ(j["sensors1"][0].dump(),
            R"({"rom":")" + validRom("28FF4C1B031603").text() + R"(","partNames":"DS18B20","description":"programmable resolution digital )"
            R"(thermometer","slotNumber":0,"reacts":true,"requests":0,"alias":"Sklad 0"})");
  EXPECT_EQ(j["keys"][1]["rom"], "0000000000000000");
  EXPECT_EQ(j["channels"][1].dump(),
            R"({"workmode":"Channel off","input":2,"alarmOnTimeout":0,"alarmOffTimeout":0,"alarmCondition":"R-change",)"
            R"("multiaction":"Multi-zone","aliasIfAlarm":"","aliasIfOk":"","follow":false})");
  EXPECT_EQ(j["userEvents"][1].dump(),
            R"({"workmode":"Channel off","sensor":"T1.01","lo":0.0,"hi":0.0,"condition":"Lower then \"Lo\"",)"
            R"("multiaction":"Multi-zone"})");
  EXPECT_EQ(j["outputs"][5].dump(),
            R"({"use":"Not in use","sensor":"T1.01","hysteresisLow":0.0,"hysteresisHigh":0.0,"type":"Heater",)"
            R"("inverse":false,"aliasIfOff":"","aliasIfOn":""})");
  EXPECT_EQ(j["keys"][1]["keyType"], "Common Key");
  // As the pages stored them: 300 typed is 255, an empty number is type 0x81.
  EXPECT_EQ(j["misc"]["startTimeout"], 255);
  EXPECT_EQ(j["misc"]["myNumbers"].dump(),
            R"(["0012345678","","5550103","","5550105","","5550107",""])");
  EXPECT_EQ(j["misc"]["temperatureFormat"], "T1.1=0.00C");
  EXPECT_EQ(j["misc"]["password"], "Пароль1");
  EXPECT_EQ(j["reports"][2].dump(),
            R"({"items":["Input # 5","Thermo sensor T2.14"],"period":"Every 8h","myNumbers":["My Number 1","My Number 7"],)"
            R"("reservedBits":0})");
  // Values no editor writes, and a ROM code that fails its check.
  image.at(62436 + 8) = 9;
  image.at(62116 + 7) ^= 1;
  image.at(17) = 1;
  const auto odd = cli::toJson(image);
  EXPECT_EQ(odd["keys"][0]["keyType"].dump(), R"({"code":9})");
  // "Тревога в зоне" taken as 8-bit: 14 characters of one byte each.
  EXPECT_EQ(odd["sms"][0]["text"].dump(), R"({"hex":"0E010422044004350432043E04330430"})");
  EXPECT_EQ(odd["sms"][1]["phone"], nullptr);
  EXPECT_EQ(odd["sensors1"][0]["rom"]["hex"], validRom("28FF4C1B031603").text().substr(0, 14) +
                                                  config::hexText(std::vector<std::uint8_t>{
                                                      static_cast<std::uint8_t>(image.at(62116 + 7))}));
}

ConfigImage imported(const std::string& json, std::vector<std::string>* errors = nullptr) {
  ConfigImage image = newImage();
  auto e = cli::fromJson(json, image);
  if (errors) *errors = e;
  return image;
}

// A whole "sms" array whose record n (from 0) is replaced by record.
std::string smsWith(int n, const std::string& record) {
  std::string s = R"({"sms":[)";
  for (int i = 0; i < 256; ++i) s += std::string(i ? "," : "") + (i == n ? record : "{}");
  return s + "]}";
}

TEST(ConfigJson, WhatTheJsonLeavesOutComesFromTheBase) {
  ConfigImage base = editedImage();
  const ConfigImage before = base;
  ASSERT_TRUE(cli::fromJson(smsWith(17, R"({"phone":"0098765"})"), base).empty());
  ConfigImage expected = before;
  NotificationRecord::at(expected, 17).phone().setText(u"0098765");
  EXPECT_TRUE(base == expected);
  ASSERT_TRUE(cli::fromJson(R"({"format":"watchkeep-configuration"})", base).empty());
  EXPECT_TRUE(base == expected);
}

TEST(ConfigJson, EveryErrorNamesItsPath) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"[]", "(top): is an array, not an object"},
      {"{\"sms\":", "not JSON: parse error at line 1, column 8: syntax error while parsing value - unexpected end "
                    "of input; expected '[', '{', or a literal"},
      {R"({"smss":[]})", "smss: unknown key"},
      {R"({"format":"other"})", "format: is not \"watchkeep-configuration\""},
      {R"({"formatVersion":2})", "formatVersion: is not 1"},
      {R"({"sms":{}})", "sms: is an object, not an array of 256 records"},
      {R"({"sms":[{}]})", "sms: holds 1 records, not 256"},
      {smsWith(0, "3"), "sms[1]: is a number, not an object"},
      {smsWith(16, R"({"phon":""})"), "sms[17].phon: unknown key"},
      {smsWith(16, R"({"phone":12345})"), "sms[17].phone: is a number, not a phone number (a string of digits) or null"},
      {smsWith(16, R"({"phone":"00123456789012345678"})"),
       "sms[17].phone: \"00123456789012345678\" is too long: 18 digits, at most 16 fit (after a leading 00)"},
      {smsWith(16, R"({"phone":"+4930"})"), "sms[17].phone: \"+4930\" holds characters other than digits"},
      {smsWith(1, R"({"kind":"SMS+CALL"})"), "sms[2].kind: \"SMS+CALL\" is no item of its list"},
      {smsWith(1, R"({"kind":{"code":4}})"), "sms[2].kind: code 4 is out of range 0..3"},
      {smsWith(1, R"({"kind":{"code":-1}})"), "sms[2].kind.code: is not a code (a whole number from 0)"},
      {smsWith(1, R"({"kind":{"code":1,"hex":""}})"), "sms[2].kind: an object here holds \"code\" or \"hex\" alone"},
      {smsWith(1, R"({"enabled":1})"), "sms[2].enabled: is a number, not true or false"},
      {smsWith(1, R"({"soundLength":65536})"), "sms[2].soundLength: 65536 is out of range 0..65535"},
      {smsWith(1, R"({"soundLength":1.5})"), "sms[2].soundLength: takes a whole number"},
      {smsWith(1, R"({"soundLength":"0:00:10"})"), "sms[2].soundLength: is a string, not a whole number"},
      {smsWith(1, R"({"channels":["CH1","CH9"]})"), "sms[2].channels: \"CH9\" is no item of its list"},
      {smsWith(1, R"({"channels":[1]})"), "sms[2].channels[0]: is a number, not a string"},
      {smsWith(1, R"({"source":"Main Channel 25"})"),
       "sms[2].source: \"Main Channel 25\" is no source of the category \"Main Channel\""},
      {smsWith(1, R"({"category":"System Event","condition":"if ALARM ON"})"),
       "sms[2].condition: means nothing for this record (give null or leave it out)"},
      {smsWith(1, R"({"text":{"hex":"0301"}})"), "sms[2].text: hex holds 2 bytes, its length bytes call for 5"},
      {smsWith(1, R"({"text":{"hex":"0G"}})"), "sms[2].text.hex: is not an even number of hexadecimal digits"},
      {smsWith(1, R"({"comment":"1234567890123456789012345678901234"})"),
       "sms[2].comment: is 34 UTF-16 units long, at most 31 fit"},
      {R"({"sensors1":[{"alias":"Склад на первом этаже, у лестницы"},{},{},{},{},{},{},{},{},{},{},{},{},{},{},{}]})",
       "sensors1[1].alias: is 33 characters long, at most 31 fit"},
      {R"({"sensors1":[{"requests":64},{},{},{},{},{},{},{},{},{},{},{},{},{},{},{}]})",
       "sensors1[1].requests: 64 is out of range 0..63"},
      {R"({"keys":[{"rom":"28FF4C1B0316035B"},{},{},{},{},{},{},{},{},{},{},{},{},{},{},{}]})",
       "keys[1].rom: \"28FF4C1B0316035B\" fails the ROM code's CRC check"},
      {R"({"keys":[{"rom":"28FF"},{},{},{},{},{},{},{},{},{},{},{},{},{},{},{}]})",
       "keys[1].rom: \"28FF\" is no ROM code (16 hexadecimal digits)"},
      {R"({"keys":[{"partNames":3},{},{},{},{},{},{},{},{},{},{},{},{},{},{},{}]})",
       "keys[1].partNames: is a number, not a string"},
      {std::string(40, '[') + std::string(40, ']'), "the JSON text is nested deeper than a configuration"},
      {R"({"userEvents":[{"lo":1.005},{},{},{},{},{},{},{},{},{},{},{},{},{},{},{}]})",
       "userEvents[1].lo: has more than two decimals"},
      {R"({"userEvents":[{"hi":400},{},{},{},{},{},{},{},{},{},{},{},{},{},{},{}]})",
       "userEvents[1].hi: is out of range -327.68..327.67"},
      {R"({"userEvents":[{"sensor":"T3.01"},{},{},{},{},{},{},{},{},{},{},{},{},{},{},{}]})",
       "userEvents[1].sensor: \"T3.01\" is no item of its list"},
      {R"({"outputs":[{"use":"Thermostat","type":"cooler"},{},{},{},{},{}]})",
       "outputs[1].type: \"cooler\" is no item of its list"},
      {R"({"channels":[{"alarmOnTimeout":300}]})", "channels: holds 1 records, not 24"},
      {R"({"sms": 1e999})", "not JSON: number overflow parsing '1e999'"},
      {R"({"reports":[{},{},{},{"items":["Status","Output # 7"]},{},{},{},{},{},{}]})",
       "reports[?3].items: \"Output # 7\" is no item of its list"},
      {R"({"reports":[{},{"period":"Every 48h"},{},{},{},{},{},{},{},{}]})",
       "reports[?1].period: \"Every 48h\" is no item of its list"},
      {R"({"reports":[{},{},{},{},{},{},{},{},{},{"myNumbers":["My Number 9"]}]})",
       "reports[?9].myNumbers: \"My Number 9\" is no item of its list"},
      {R"({"reports":[{"reservedBits":32},{},{},{},{},{},{},{},{},{}]})",
       "reports[?0].reservedBits: 32 is out of range 0..31"},
      {R"({"reports":[{},{"period":"Every 2h","period":"Every 8h"},{},{},{},{},{},{},{},{}]})",
       "reports[?1]: the key \"period\" appears twice"},
      {R"({"reports":[{}]})", "reports: holds 1 records, not 10"},
      {R"({"misc":[]})", "misc: is an array, not an object"},
      {R"({"misc":{"password":"pass λ"}})",
       "misc.password: holds \"λ\", which the controller cannot keep (neither Latin-1 nor Cyrillic)"},
      {R"({"misc":{"password":"12345678901234567"}})", "misc.password: is 17 characters long, at most 16 fit"},
      {R"({"misc":{"password":{"set":true,"length":4}}})",
       "misc.password: is hidden, and the base holds another password (not set): give the password itself "
       "(export, or dump --json --show-password), or the file it was dumped from as --base"},
      {R"({"misc":{"password":{"set":"yes"}}})",
       "misc.password: the hidden password form holds only \"set\" (true or false) and \"length\" (a number)"},
      {R"({"misc":{"myNumbers":["1","2"]}})", "misc.myNumbers: holds 2 entries, not 8"},
      {R"({"misc":{"myNumbers":[null,null,"00123456789012345678",null,null,null,null,null]}})",
       "misc.myNumbers[3]: \"00123456789012345678\" is too long: 18 digits, at most 16 fit (after a leading 00)"},
      {R"({"misc":{"startTimeout":300}})", "misc.startTimeout: 300 is out of range 0..255"},
      {R"({"misc":{"micGain":"+24.0 dB"}})", "misc.micGain: \"+24.0 dB\" is no item of its list"},
      {R"({"misc":{"analogOutput":"Use PWM analog output as SIRENA"}})",
       "misc.analogOutput: \"Use PWM analog output as SIRENA\" is no item of its list"},
      {R"({"misc":{"balanceRequest":"*100*1234#"}})", "misc.balanceRequest: is 10 characters long, at most 7 fit"},
      {R"({"misc":{"balanceRequest":"*100€"}})",
       "misc.balanceRequest: holds \"€\", which is not Latin-1 (one byte a character)"},
      {R"({"misc":{"netLedEnable":"yes"}})", "misc.netLedEnable: is a string, not true or false"},
      {R"({"misc":{"netLedEnable":{"code":256}}})", "misc.netLedEnable: code 256 is out of range 0..255"},
      {R"({"misc":{"Password":""}})", "misc.Password: unknown key"},
      {R"({"misc":{"micGain":"0 0dB","micGain":"+1.5dB"}})", "misc: the key \"micGain\" appears twice"},
      // The parser would keep the last of the two silently.
      {R"({"format":"watchkeep-configuration","format":"watchkeep-configuration"})",
       "(top): the key \"format\" appears twice"},
      {smsWith(16, R"({"phone":"0012345","kind":"SMS","phone":"0098765"})"),
       "sms[17]: the key \"phone\" appears twice"},
      {smsWith(1, R"({"kind":{"code":1,"code":2}})"), "sms[2].kind: the key \"code\" appears twice"},
  };
  for (const auto& [json, message] : cases) {
    std::vector<std::string> errors;
    imported(json, &errors);
    ASSERT_EQ(errors.size(), 1u) << json;
    EXPECT_EQ(errors[0], message);
  }
}

// Hostile and odd input: refused with a message that says where, at a cost
// bounded by the text's length.
TEST(ConfigJson, HostileTextIsRefusedWhereItGoesWrong) {
  const std::string userEventsTail = ",{},{},{},{},{},{},{},{},{},{},{},{},{},{},{}]}";
  const std::vector<std::pair<std::string, std::string>> cases = {
      // Anything after a NUL would go unread.
      {std::string(R"({"misc":{"startTimeout":77}})") + std::string(1, '\0') + " garbage",
       "not JSON: a NUL byte at offset 28"},
      {std::string("{\"misc\"") + std::string(1, '\0') + ":{}}", "not JSON: a NUL byte at offset 7"},
      // Inside a string a NUL is a control character the parser refuses itself.
      {std::string("{\"mi") + std::string(1, '\0') + "sc\":{}}",
       "not JSON: parse error at line 1, column 5: syntax error while parsing object key - invalid string: "
       "control character U+0000 (NUL) must be escaped to \\u0000; last read: '\"mi<U+0000>'; expected string "
       "literal"},
      // More than two decimals, however small the number.
      {R"({"userEvents":[{"hi":1e-10})" + userEventsTail, "userEvents[1].hi: has more than two decimals"},
      {R"({"userEvents":[{"hi":-0.001})" + userEventsTail, "userEvents[1].hi: has more than two decimals"},
      {R"({"userEvents":[{"hi":5e-3})" + userEventsTail, "userEvents[1].hi: has more than two decimals"},
      // No text field stores a control character.
      {R"({"misc":{"balanceRequest":"*1\u001b#"}})",
       "misc.balanceRequest: holds the control character U+001B, which no page stores"},
      {smsWith(1, R"({"text":"line\nbreak"})"), "sms[2].text: holds the control character U+000A, which no page stores"},
      {smsWith(1, R"({"comment":"\u0085"})"), "sms[2].comment: holds the control character U+0085, which no page stores"},
      {R"({"channels":[{"aliasIfAlarm":"\u007f"},{},{},{},{},{},{},{},{},{},{},{},{},{},{},{},{},{},{},{},{},{},{},{}]})",
       "channels[1].aliasIfAlarm: holds the control character U+007F, which no page stores"},
      // A key keeps all its characters (the printing escapes them).
      {R"({"misc":{"a\u0000b":1}})", std::string("misc.a") + std::string(1, '\0') + "b: unknown key"},
      // A 100 000-digit number is quoted in part.
      {R"({"misc":{"startTimeout":)" + std::string(100000, '9') + "}}",
       "not JSON: number overflow parsing '" + std::string(365, '9') + "..."},
  };
  for (const auto& [json, message] : cases) {
    std::vector<std::string> errors;
    imported(json, &errors);
    ASSERT_EQ(errors.size(), 1u) << json.substr(0, 80);
    EXPECT_EQ(errors[0], message);
  }
  // Two hundredths stay what they are.
  ConfigImage image = imported(R"({"userEvents":[{"lo":0.29,"hi":-327.68})" + userEventsTail);
  EXPECT_EQ(UserEventRecord::at(image, 0).lo(), 29);
  EXPECT_EQ(UserEventRecord::at(image, 0).hi(), -32768);
}

TEST(ConfigJson, PastAHundredErrorsTheRestAreCounted) {
  std::string sms = R"({"sms":[)";
  for (int i = 0; i < 256; ++i) sms += std::string(i ? "," : "") + R"({"x":1})";
  std::vector<std::string> errors;
  imported(sms + "]}", &errors);
  ASSERT_EQ(errors.size(), 101u);
  EXPECT_EQ(errors[0], "sms[1].x: unknown key");
  EXPECT_EQ(errors[99], "sms[100].x: unknown key");
  EXPECT_EQ(errors[100], "and 156 more errors");
}

// An array or an object larger than any a configuration holds ends the read
// at the first member too many, so a file under the size limit costs no
// more than its length (the benchmark measures it).
TEST(ConfigJson, WhatNoConfigurationHoldsEndsTheReadAtOnce) {
  const auto hostile = [](const std::string& head, const std::string& item, const std::string& tail) {
    std::string text = head;
    while (text.size() + item.size() + tail.size() < cli::kMaxJsonBytes) text += item + ",";
    text.pop_back();
    return text + tail;
  };
  const std::vector<std::pair<std::string, std::string>> cases = {
      {hostile(R"({"sms":[)", "{}", "]}"), "sms: holds more than 256 entries, more than any list of a configuration"},
      {hostile(R"({"sms":[{"text":[)", "0", "]}]}"),
       "sms[1].text: holds more than 256 entries, more than any list of a configuration"},
      {hostile(R"({"misc":{)", R"("k":1)", "}}"), "misc: the key \"k\" appears twice"},
  };
  for (const auto& [json, message] : cases) {
    ASSERT_LE(json.size(), cli::kMaxJsonBytes);
    std::vector<std::string> errors;
    imported(json, &errors);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], message);
  }
  // As many values as fit in lists no longer than a list may be: refused
  // once there are more than a configuration holds, long before the end.
  std::string inner = "[0";
  for (int i = 1; i < 256; ++i) inner += ",0";
  std::string middle = "[" + inner + "]";
  for (int i = 1; i < 256; ++i) middle += "," + inner + "]";
  {
    std::vector<std::string> errors;
    imported(hostile(R"({"sms":[)", middle + "]", "]}"), &errors);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].substr(0, 7), "sms[1][") << errors[0];
    EXPECT_NE(errors[0].find(": the text holds more values than any configuration"), std::string::npos) << errors[0];
  }
  std::string members = R"({"misc":{)";
  for (int i = 0; i < 5000; ++i) members += (i ? ",\"k" : "\"k") + std::to_string(i) + "\":1";
  std::vector<std::string> errors;
  imported(members + "}}", &errors);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "misc: holds more members than any object of a configuration");
}

// The schema in docs/ is what the description gives: regenerate it with
// watchkeep-cli schema > docs/configuration.schema.json when this fails.
TEST(ConfigJson, TheDocumentedSchemaIsTheDescriptions) {
  const auto file = test::readBytes(std::string(WK_SOURCE_DIR) + "/docs/configuration.schema.json");
  EXPECT_EQ(std::string(file.begin(), file.end()), cli::jsonSchema().dump(2) + "\n");
  // Every list text of the description is in it.
  const std::string text(file.begin(), file.end());
  for (const config::Section& s : config::Description::get().sections())
    for (const config::Field& f : s.records.front().fields)
      for (const config::Item& i : f.items) EXPECT_NE(text.find(nlohmann::json(i.text).dump()), std::string::npos) << i.text;
}

// The documented schema against a validator of its own: every export and
// every hidden-password dump meets it, and what it refuses import refuses.
TEST(ConfigJson, TheSchemaTakesEveryExportAndImportRefusesWhatItRefuses) {
  TempDir dir;
  std::vector<std::string> files;
  std::vector<bool> valid;
  auto add = [&](const std::string& text, bool ok) {
    files.push_back(dir.file(std::to_string(files.size()) + ".json"));
    std::ofstream(files.back()) << text;
    valid.push_back(ok);
  };
  cli::JsonOptions hidden;
  hidden.showPassword = false;
  for (const ConfigImage& image : {newImage(), editedImage(), randomImage(3), randomImage(4)}) {
    add(cli::toJson(image).dump(2), true);
    add(cli::toJson(image, hidden).dump(2), true);
  }
  const std::vector<std::string> refused = {
      R"({"smss":[]})",
      R"({"format":"other"})",
      R"({"channels":[{}]})",
      smsWith(16, R"({"phone":"12a"})"),
      smsWith(16, R"({"kind":"SMS+CALL"})"),
      smsWith(16, R"({"enabled":1})"),
      smsWith(16, R"({"kind":{"code":-1}})"),
      smsWith(16, R"({"text":{"hex":"0G"}})"),
      R"({"reports":[{"reservedBits":32},{},{},{},{},{},{},{},{},{}]})",
      R"({"reports":[{"items":["Output # 7"]},{},{},{},{},{},{},{},{},{}]})",
      R"({"userEvents":[{"hi":400},{},{},{},{},{},{},{},{},{},{},{},{},{},{},{}]})",
      R"({"misc":{"startTimeout":256}})",
      R"({"misc":{"analogOutput":"Use PWM analog output as SIRENA"}})",
      R"({"misc":{"myNumbers":["+4930",null,null,null,null,null,null,null]}})",
      R"({"misc":{"password":{"set":"yes"}}})",
  };
  for (const std::string& text : refused) {
    add(text, false);
    std::vector<std::string> errors;
    imported(text, &errors);
    EXPECT_FALSE(errors.empty()) << text;
  }
  std::vector<std::string> args{std::string(WK_SOURCE_DIR) + "/tests/cli/schema_check.py",
                                std::string(WK_SOURCE_DIR) + "/docs/configuration.schema.json"};
  args.insert(args.end(), files.begin(), files.end());
  const auto r = runProcess("/usr/bin/python3", args);
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  std::istringstream lines(r.out);
  for (std::size_t i = 0; i < files.size(); ++i) {
    std::string line;
    ASSERT_TRUE(std::getline(lines, line)) << r.out;
    EXPECT_EQ(line.starts_with("valid"), valid[i]) << i << ": " << line;
  }
}

// ---------------------------------------------------------------------------
// The commands

test::ProcessResult cli(const std::vector<std::string>& args) { return runProcess(WK_CLI_PATH, args); }

class CliConfig : public ::testing::Test {
 protected:
  void SetUp() override { ::setenv("XDG_CONFIG_HOME", config.path().c_str(), 1); }
  std::string save(const std::string& name, const ConfigImage& image) {
    test::writeBytes(dir.file(name), vld::serialize(image));
    return dir.file(name);
  }
  TempDir config;
  TempDir dir;
};

TEST_F(CliConfig, ExportAndImportAreByteIdentical) {
  for (const auto& [name, image] : std::vector<std::pair<std::string, ConfigImage>>{
           {"new", newImage()}, {"edited", editedImage()}, {"random", randomImage(9)}}) {
    SCOPED_TRACE(name);
    const std::string vldPath = save(name + ".vld", image);
    const auto e = cli({"export", vldPath, "-o", dir.file(name + ".json")});
    ASSERT_EQ(e.exitStatus, 0) << e.err;
    const auto i = cli({"import", dir.file(name + ".json"), "--base", vldPath, "-o", dir.file(name + "-back.vld")});
    ASSERT_EQ(i.exitStatus, 0) << i.err;
    EXPECT_EQ(test::readBytes(dir.file(name + "-back.vld")), test::readBytes(vldPath));
  }
  // Without a base a new configuration fills what the JSON does not hold.
  std::ofstream(dir.file("one.json")) << smsWith(16, R"({"enabled":true,"phone":"0012345"})");
  ASSERT_EQ(cli({"import", dir.file("one.json"), "-o", dir.file("one.vld")}).exitStatus, 0);
  ConfigImage expected = newImage();
  NotificationRecord::at(expected, 16).setEnabled(true);
  NotificationRecord::at(expected, 16).phone().setText(u"0012345");
  EXPECT_EQ(test::readBytes(dir.file("one.vld")), vld::serialize(expected));
}

TEST(TerminalText, ControlsAreEscapedAndTheRestStays) {
  EXPECT_EQ(cli::escapeControls("\x1b]0;x\x07 \x7f\t\n"), "\\x1b]0;x\\x07 \\x7f\\x09\\x0a");
  EXPECT_EQ(cli::escapeControls("\xc2\x9b" "2J \xc2\xa0 Склад"), "\\u009b2J \xc2\xa0 Склад");  // C1 CSI; NBSP stays
  EXPECT_EQ(cli::escapeControls("\x9b\xff\xc0\xaf\xed\xa0\x80"), "\\x9b\\xff\\xc0\\xaf\\xed\\xa0\\x80");  // no UTF-8
  EXPECT_EQ(cli::escapeControls(std::string("a\0b", 3)), "a\\x00b");
  EXPECT_EQ(cli::cutText("Склад", 3), "С...");
  EXPECT_EQ(cli::cutText("abc", 3), "abc");
}

// What a file holds never works the terminal: an alias that would set the
// window's title and clear the screen is shown by its bytes.
TEST_F(CliConfig, ControlCharactersNeverReachTheTerminal) {
  ConfigImage image = newImage();
  const std::string alias = "\x1b]0;x\x07\x1b[2J";
  image.at(image::ChannelAliases.offset) = static_cast<std::uint8_t>(alias.size());
  for (std::size_t i = 0; i < alias.size(); ++i)
    image.at(image::ChannelAliases.offset + 1 + i) = static_cast<std::uint8_t>(alias[i]);
  const std::string hostile = save("hostile.vld", image);
  const std::string plain = save("new.vld", newImage());
  const auto hasControl = [](const std::string& text) {
    return std::any_of(text.begin(), text.end(), [](unsigned char c) { return (c < 0x20 && c != '\n') || c == 0x7F; });
  };
  const auto dump = cli({"dump", hostile});
  EXPECT_EQ(dump.exitStatus, 0) << dump.err;
  EXPECT_FALSE(hasControl(dump.out)) << dump.out;
  EXPECT_NE(dump.out.find("1B5D303B7807"), std::string::npos) << dump.out.substr(0, 2000);
  const auto diff = cli({"diff", plain, hostile});
  EXPECT_EQ(diff.exitStatus, 1) << diff.err;
  EXPECT_FALSE(hasControl(diff.out));
  EXPECT_NE(diff.out.find("channels[1].aliasIfAlarm: "), std::string::npos) << diff.out;
  // And it goes through export and import byte for byte, as its bytes.
  ASSERT_EQ(cli({"export", hostile, "-o", dir.file("hostile.json")}).exitStatus, 0);
  const auto back = cli({"import", dir.file("hostile.json"), "-o", dir.file("back.vld")});
  ASSERT_EQ(back.exitStatus, 0) << back.err;
  EXPECT_EQ(test::readBytes(dir.file("back.vld")), test::readBytes(hostile));
  // A key of an import message is shown escaped, whole.
  std::ofstream(dir.file("key.json")) << R"({"misc":{"a\u0000\u001b[2Jb":1}})";
  const auto key = cli({"import", dir.file("key.json"), "-o", dir.file("x.vld")});
  EXPECT_EQ(key.exitStatus, 2);
  EXPECT_EQ(key.err, dir.file("key.json") + ": misc.a\\x00\\x1b[2Jb: unknown key\nwatchkeep-cli: nothing was written\n");
}

TEST_F(CliConfig, AnImportErrorWritesNothing) {
  std::ofstream(dir.file("bad.json")) << smsWith(16, R"({"phone":"00123456789012345678","kind":"Call"})");
  test::writeBytes(dir.file("out.vld"), {1, 2, 3});
  const auto r = cli({"import", dir.file("bad.json"), "-o", dir.file("out.vld")});
  EXPECT_EQ(r.exitStatus, 2);
  EXPECT_EQ(r.err, dir.file("bad.json") +
                       ": sms[17].phone: \"00123456789012345678\" is too long: 18 digits, at most 16 fit (after a "
                       "leading 00)\n" +
                       dir.file("bad.json") + ": sms[17].kind: \"Call\" is no item of its list\n" +
                       "watchkeep-cli: nothing was written\n");
  EXPECT_EQ(test::readBytes(dir.file("out.vld")), (std::vector<std::uint8_t>{1, 2, 3}));
  const auto missing = cli({"import", dir.file("none.json"), "-o", dir.file("x.vld")});
  EXPECT_EQ(missing.exitStatus, 2);
  EXPECT_FALSE(test::fileExists(dir.file("x.vld")));
}

TEST_F(CliConfig, DiffExitsLikeDiff) {
  const ConfigImage a = newImage();
  ConfigImage b = a;
  NotificationRecord::at(b, 16).phone().setText(u"0098765");
  b.at(58368 + 7) = 0x42;
  const std::string pa = save("a.vld", a), pb = save("b.vld", b);
  const auto same = cli({"diff", pa, pa});
  EXPECT_EQ(same.exitStatus, 0);
  EXPECT_EQ(same.out, "");
  const auto different = cli({"diff", pa, pb});
  EXPECT_EQ(different.exitStatus, 1);
  EXPECT_EQ(different.out, "sms[17].phone: (none) -> 0098765\nimage[58375] (UserEventBlock+7): 00 -> 42\n");
  EXPECT_EQ(cli({"diff", pa, dir.file("none.vld")}).exitStatus, 2);
  EXPECT_EQ(cli({"diff", pa}).exitStatus, 2);
}

TEST_F(CliConfig, DumpShowsEnabledRulesUnlessAll) {
  ConfigImage image = newImage();
  NotificationRecord r = NotificationRecord::at(image, 4);
  r.setEnabled(true);
  r.setKind(1);
  r.setCondition(2);
  r.phone().setText(u"0012345");
  r.setText(u"Door open");
  const std::string path = save("site.vld", image);
  const auto d = cli({"dump", path});
  ASSERT_EQ(d.exitStatus, 0) << d.err;
  EXPECT_NE(d.out.find("SMS Data\n"
                       "  sms[5]\n"
                       "    En                  yes\n"
                       "    Phone number        0012345\n"
                       "    Source Category     Main Channel\n"
                       "    Source              Main Channel 1\n"
                       "    Condition           if ALARM OFF\n"
                       "    SMS or CALL         SMS\n"
                       "    Text Message (SMS)  \"Door open\"\n"
                       "    Sound               -\n"
                       "    Channels            -\n"
                       "    Sound Length        0:00:10\n"
                       "    Comments            \"\"\n"
                       "  (255 disabled rules left out; --all shows them)\n"),
            std::string::npos)
      << d.out;
  // Every other record shows, as a new configuration has it or not.
  EXPECT_NE(d.out.find("Main Channels\n"
                       "  channels[1]\n"
                       "    Workmode              Channel off\n"
                       "    Input                 1\n"),
            std::string::npos)
      << d.out;
  EXPECT_NE(d.out.find("  keys[16]\n"), std::string::npos);
  EXPECT_EQ(cli({"dump", path, "--all"}).out.find("disabled rules left out"), std::string::npos);
  const auto j = cli({"dump", path, "--json"});
  EXPECT_EQ(nlohmann::json::parse(j.out)["sms"][4]["text"], "Door open");
}

TEST_F(CliConfig, DumpAndDiffSpeakTheLanguageFileButTheJsonStaysEnglish) {
  const std::string lng = dir.file("de.lng");
  test::writeLanguageFile(lng, {{"Key Type", "Schlüsseltyp"},
                                {"Common Key", "Normaler Schlüssel"},
                                {"Perimeter Key", "Perimeterschlüssel"},
                                {"1Wire channel 3 (ext.key)", "Schlüssel"}});
  const ConfigImage a = newImage();
  ConfigImage b = a;
  IButtonKeyRecord::at(b, 0).setKeyType(1);
  const std::string pa = save("a.vld", a), pb = save("b.vld", b);
  const auto d = cli({"dump", pb, "--lang", lng});
  ASSERT_EQ(d.exitStatus, 0) << d.err;
  EXPECT_NE(d.out.find("Schlüssel\n  keys[1]\n"), std::string::npos) << d.out;
  EXPECT_NE(d.out.find("    Schlüsseltyp     Perimeterschlüssel\n"), std::string::npos) << d.out;
  EXPECT_NE(d.out.find("    Schlüsseltyp     Normaler Schlüssel\n"), std::string::npos) << d.out;
  const auto diff = cli({"diff", pa, pb, "--lang", lng});
  EXPECT_EQ(diff.exitStatus, 1);
  EXPECT_EQ(diff.out, "keys[1].keyType: Normaler Schlüssel -> Perimeterschlüssel\n");
  const auto j = cli({"dump", pb, "--json", "--lang", lng});
  EXPECT_EQ(nlohmann::json::parse(j.out)["keys"][0]["keyType"], "Perimeter Key");
  EXPECT_EQ(cli({"dump", pb, "--lang", dir.file("none.lng")}).exitStatus, 2);
}

TEST_F(CliConfig, TheReportsInThePagesWords) {
  ConfigImage image = newImage();
  ReportRecord r = ReportRecord::at(image, 3);
  r.setIncludes(0, true);
  r.setIncludes(63, true);
  r.setPeriod(3);
  r.storeNumbers(0x81);
  ReportRecord::at(image, 9).setReservedBits(16);
  const std::string path = save("site.vld", image);
  const auto d = cli({"dump", path});
  ASSERT_EQ(d.exitStatus, 0) << d.err;
  EXPECT_NE(d.out.find("Reports\n"
                       "  reports[?0]\n"
                       "    Option         -\n"
                       "    Report Period  Not active\n"
                       "    My Number      -\n"
                       "  reports[?1]\n"),
            std::string::npos)
      << d.out;
  EXPECT_NE(d.out.find("  reports[?3]\n"
                       "    Option         Status, Thermo sensor T2.16\n"
                       "    Report Period  Every 24h\n"
                       "    My Number      My Number 1, My Number 8\n"
                       "  reports[?4]\n"),
            std::string::npos)
      << d.out;
  // The bits no page shows, only when set.
  EXPECT_NE(d.out.find("  reports[?9]\n"
                       "    Option         -\n"
                       "    Report Period  Not active\n"
                       "    My Number      -\n"
                       "    Reserved bits 11-15  16\n\n"),
            std::string::npos)
      << d.out;
  const auto j = nlohmann::ordered_json::parse(cli({"dump", path, "--json"}).out);
  EXPECT_EQ(j["reports"].size(), 10u);
  EXPECT_EQ(j["reports"][3].dump(),
            R"({"items":["Status","Thermo sensor T2.16"],"period":"Every 24h","myNumbers":["My Number 1","My Number 8"],)"
            R"("reservedBits":0})");
  EXPECT_EQ(j["reports"][9]["reservedBits"], 16);
}

TEST_F(CliConfig, ThePasswordIsHiddenUnlessAskedFor) {
  ConfigImage a = newImage();
  ConfigImage b = a;
  MiscSettings::of(b).storePassword(u"Пароль1");
  const std::string pa = save("a.vld", a), pb = save("b.vld", b);
  const auto d = cli({"dump", pb});
  ASSERT_EQ(d.exitStatus, 0) << d.err;
  EXPECT_NE(d.out.find("    Password                                  set, 7 characters\n"), std::string::npos) << d.out;
  EXPECT_EQ(d.out.find("Пароль1"), std::string::npos);
  EXPECT_NE(cli({"dump", pb, "--show-password"}).out.find("    Password                                  \"Пароль1\"\n"),
            std::string::npos);
  const auto j = nlohmann::ordered_json::parse(cli({"dump", pb, "--json"}).out);
  EXPECT_EQ(j["misc"]["password"].dump(), R"({"set":true,"length":7})");
  EXPECT_EQ(nlohmann::json::parse(cli({"dump", pb, "--json", "--show-password"}).out)["misc"]["password"], "Пароль1");
  const auto diff = cli({"diff", pa, pb});
  EXPECT_EQ(diff.exitStatus, 1);
  EXPECT_EQ(diff.out, "misc.password: not set -> set, 7 characters\n");
  EXPECT_EQ(cli({"diff", pa, pb, "--show-password"}).out, "misc.password: \"\" -> \"Пароль1\"\n");
  // export carries the password itself, so that import gives the file back.
  ASSERT_EQ(cli({"export", pb, "-o", dir.file("b.json")}).exitStatus, 0);
  EXPECT_EQ(nlohmann::json::parse(test::readBytes(dir.file("b.json")))["misc"]["password"], "Пароль1");
}

TEST_F(CliConfig, AHiddenPasswordImportsOnlyOntoTheFileItWasDumpedFrom) {
  ConfigImage site = editedImage();
  MiscSettings::of(site).storePassword(u"1234");
  const std::string path = save("site.vld", site);
  const auto d = cli({"dump", path, "--json"});
  ASSERT_EQ(d.exitStatus, 0);
  std::ofstream(dir.file("hidden.json")) << d.out;
  // Onto the file it came from: the file comes back.
  const auto same = cli({"import", dir.file("hidden.json"), "--base", path, "-o", dir.file("same.vld")});
  ASSERT_EQ(same.exitStatus, 0) << same.err;
  EXPECT_EQ(test::readBytes(dir.file("same.vld")), test::readBytes(path));
  // Onto a new configuration it would go out without its password.
  const auto lost = cli({"import", dir.file("hidden.json"), "-o", dir.file("lost.vld")});
  EXPECT_EQ(lost.exitStatus, 2);
  EXPECT_EQ(lost.err, dir.file("hidden.json") +
                          ": misc.password: is hidden, and the base holds another password (not set): give the "
                          "password itself (export, or dump --json --show-password), or the file it was dumped from "
                          "as --base\nwatchkeep-cli: nothing was written\n");
  EXPECT_FALSE(test::fileExists(dir.file("lost.vld")));
}

TEST_F(CliConfig, TheMiscellaneousSettingsInThePagesWords) {
  ConfigImage image = newImage();
  MiscSettings m = MiscSettings::of(image);
  StoreMyNumber(m.myNumber(1), u"0012345");
  StoreMyNumber(m.myNumber(3), u"5550101");
  m.setCheck(MiscCheck::NetLedEnable, true);
  m.setIncomingCallAction(4);
  m.setStartTimeout(30);
  const std::string path = save("site.vld", image);
  const auto d = cli({"dump", path});
  ASSERT_EQ(d.exitStatus, 0) << d.err;
  EXPECT_NE(d.out.find("Miscellaneous\n"
                       "  misc\n"
                       "    My Number 1                               0012345\n"
                       "    My Number 2                               (none)\n"
                       "    My Number 3                               5550101\n"
                       "    My Number 4                               (none)\n"
                       "    My Number 5                               (none)\n"
                       "    My Number 6                               (none)\n"
                       "    My Number 7                               (none)\n"
                       "    My Number 8                               (none)\n"
                       "    For Incoming Call                         Request '?3'\n"
                       "    Get Balance in standart request           no\n"
                       "    Restore GSM Outputs                       no\n"
                       "    re-Enter alarm-monitor mode               no\n"
                       "    Save outputs mode                         no\n"
                       "    Net LED Enable                            yes\n"
                       "    Enter Armed state anyway                  no\n"
                       "    Microphon Enable                          no\n"
                       "    TouchMemory on external key               no\n"
                       "    Start Timeout, sec                        30\n"
                       "    Balance request USSD                      \"*100#\"\n"
                       "    Themperature presentation format          T1.1=0.0C\n"
                       "    Password                                  not set\n"
                       "    Mic gain                                  +3.0 dB\n"
                       "    Speaker volume                            6\n"
                       "    Report turned off channels state          no\n"
                       "    Restart input blocking in repeated alarm  no\n"
                       "    Analog output options                     Use PWM analog autput as SIRENA\n"
                       "\n"
                       "Reports\n"),
            std::string::npos)
      << d.out;
  const auto j = nlohmann::ordered_json::parse(cli({"dump", path, "--json"}).out);
  EXPECT_EQ(j["misc"].dump(),
            R"({"myNumbers":["0012345",null,"5550101",null,null,null,null,null],"incomingCall":"Request '?3'",)"
            R"("balanceInStandardRequest":false,"restoreGsmOutputs":false,"reEnterAlarmMonitor":false,)"
            R"("saveOutputsMode":false,"netLedEnable":true,"enterArmedAnyway":false,"microphoneEnable":false,)"
            R"("touchMemoryOnExternalKey":false,"startTimeout":30,"balanceRequest":"*100#",)"
            R"("temperatureFormat":"T1.1=0.0C","password":{"set":false,"length":0},"micGain":"+3.0 dB",)"
            R"("speakerVolume":"6","reportTurnedOffChannels":false,"restartInputBlocking":false,)"
            R"("analogOutput":"Use PWM analog autput as SIRENA"})");
}

// The simulator with a state file and a trace.
struct Controller {
  Controller(TempDir& dir, const sim::Memories& memories, std::vector<std::string> extra = {})
      : state(dir.file("sim.state")), trace(dir.file("sim" + std::to_string(++started) + ".trace")) {
    sim::writeState(state, memories);
    std::vector<std::string> args{"--instant", "--state", state, "--trace", trace};
    args.insert(args.end(), extra.begin(), extra.end());
    sim = std::make_unique<sim::Simulator>(args);
  }
  std::vector<std::string> stopAndTrace() {
    sim.reset();
    std::vector<std::string> lines;
    std::ifstream in(trace);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  sim::Memories memories() {
    sim.reset();
    sim::Memories m;
    EXPECT_TRUE(sim::readState(state, m));
    return m;
  }
  static inline int started = 0;
  std::string state, trace;
  std::unique_ptr<sim::Simulator> sim;
};

sim::Memories memoriesOf(const ConfigImage& image) {
  sim::Memories m;
  std::copy_n(image.all().begin(), image::kSeePartSize, m.see.begin());
  std::copy_n(image.all().begin() + image::kSeePartSize, image::kEePartSize, m.ee.begin());
  return m;
}

TEST_F(CliConfig, VerifyAfterAWriteFindsNothingAndThenTheChange) {
  const ConfigImage site = editedImage();
  const std::string path = save("site.vld", site);
  sim::Memories before;
  std::fill(before.ee.begin(), before.ee.end(), 0x5A);
  Controller controller(dir, before);
  const std::string port = controller.sim->device();
  const auto w = cli({"--port", port, "write", path});
  ASSERT_EQ(w.exitStatus, 0) << w.err;
  const auto v = cli({"--port", port, "verify", path});
  EXPECT_EQ(v.exitStatus, 0) << v.err;
  EXPECT_EQ(v.out, "");
  // The controller's memory changes behind the installer's back.
  sim::Memories changed = controller.memories();
  changed.ee[228 + 9] ^= 0x01;  // sensors1[1]: react to errors
  changed.see[58368] = 0x07;    // a byte no field holds
  Controller again(dir, changed);
  const auto v2 = cli({"--port", again.sim->device(), "verify", path});
  EXPECT_EQ(v2.exitStatus, 1) << v2.err;
  EXPECT_EQ(v2.out, "sensors1[1].reacts: yes -> no\nimage[58368] (UserEventBlock+0): 00 -> 07\n");
  EXPECT_EQ(cli({"--port", "/dev/ttyWK-none", "verify", path}).exitStatus, 2);
}

TEST_F(CliConfig, WriteTakesABackupFirst) {
  const ConfigImage held = randomImage(4);
  const ConfigImage site = editedImage();
  const std::string path = save("site.vld", site);
  Controller controller(dir, memoriesOf(held));
  const auto w = cli({"--port", controller.sim->device(), "write", path, "--backup", dir.file("backup.vld")});
  ASSERT_EQ(w.exitStatus, 0) << w.err;
  EXPECT_EQ(w.err, "Read compleeted\nWrite compleeted\n");
  // The backup is the controller's configuration as read-all leaves it.
  ConfigImage expected = held;
  expected.at(image::CommonSettings.offset + 2) = 0;
  for (std::size_t i = 256; i < 262; ++i) expected.at(image::CommonSettings.offset + i) = 0;
  EXPECT_EQ(test::readBytes(dir.file("backup.vld")), vld::serialize(expected));
  const sim::Memories after = controller.memories();
  EXPECT_TRUE(std::equal(after.see.begin(), after.see.begin() + image::kSeePartSize, site.all().begin()));
}

TEST_F(CliConfig, NothingIsWrittenWhenTheBackupCannotBeRead) {
  const std::string path = save("site.vld", editedImage());
  Controller controller(dir, memoriesOf(randomImage(5)), {"--fault", "no-echo@e#1"});
  const auto w = cli({"--port", controller.sim->device(), "write", path, "--backup", dir.file("backup.vld")});
  EXPECT_EQ(w.exitStatus, 1);
  EXPECT_NE(w.err.find("watchkeep-cli: nothing was written to the controller: its configuration could not be read "
                       "into the backup\n"),
            std::string::npos)
      << w.err;
  EXPECT_FALSE(test::fileExists(dir.file("backup.vld")));
  for (const std::string& line : controller.stopAndTrace())
    EXPECT_TRUE(line[0] != 'S' && line[0] != 'E') << "a write command reached the controller: " << line;
  // A backup that cannot be saved stops the write before the controller is asked.
  Controller again(dir, memoriesOf(randomImage(5)));
  const auto r = cli({"--port", again.sim->device(), "write", path, "--backup", dir.file("no/such/backup.vld")});
  EXPECT_EQ(r.exitStatus, 2);
  EXPECT_TRUE(again.stopAndTrace().empty());
  EXPECT_EQ(cli({"write", path, "--backup", path}).exitStatus, 2);
}

}  // namespace
}  // namespace wk
