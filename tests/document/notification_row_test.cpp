#include "document/notification_row.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "document/defaults.h"
#include "support/hex.h"

namespace wk {
namespace {

using test::hex;
using test::hexOf;

constexpr std::size_t kComments = 40448;

std::string recordBytes(const ConfigImage& image, std::size_t k, std::size_t size = 158) {
  const auto b = image.slice(158 * k, size);
  return hexOf(std::vector<std::uint8_t>(b.begin(), b.end()));
}

std::string commentBytes(const ConfigImage& image, std::size_t k) {
  const auto b = image.slice(kComments + 64 * k, 64);
  return hexOf(std::vector<std::uint8_t>(b.begin(), b.end()));
}

void put(ConfigImage& image, std::size_t at, std::string_view bytes) {
  const auto b = hex(bytes);
  std::copy(b.begin(), b.end(), image.all().begin() + static_cast<std::ptrdiff_t>(at));
}

std::string zeros(std::size_t n) {
  std::string out;
  for (std::size_t i = 0; i < n; ++i) out += i ? " 00" : "00";
  return out;
}

class NotificationRowTest : public ::testing::Test {
 protected:
  NotificationRow load(std::size_t k = 0) {
    return LoadNotificationRow(NotificationRecord::at(image, k), SmsCommentRecord::at(image, k), texts);
  }
  void store(const NotificationRow& row, std::size_t k = 0) {
    auto record = NotificationRecord::at(image, k);
    auto comment = SmsCommentRecord::at(image, k);
    StoreNotificationRow(row, record, comment, texts);
  }
  // A row of a new document with the given cells changed, stored into record 0.
  NotificationRow fresh() {
    applyNewDocumentDefaults(image);
    return load();
  }

  NotificationTexts texts;
  ConfigImage image;
};

TEST_F(NotificationRowTest, ANewDocumentRowAndItsStoredBytes) {
  applyNewDocumentDefaults(image);
  const NotificationRow row = load(7);
  EXPECT_FALSE(row.enabled);
  EXPECT_EQ(row.phone, u"");
  EXPECT_EQ(row.category, u"Main Channel");
  EXPECT_EQ(row.sourceList, source::kMainChannel);
  EXPECT_EQ(row.source, u"Main Channel 1");
  EXPECT_EQ(row.condition, u"if ALARM ON");
  EXPECT_EQ(row.kind, u"SMS");
  EXPECT_EQ(row.text, u"");
  EXPECT_EQ(row.sound, u"-");
  EXPECT_EQ(row.channels, (std::array<bool, 6>{}));
  EXPECT_EQ(row.soundLength, 10u);
  EXPECT_EQ(row.comment, u"");

  for (std::size_t k = 0; k < 256; ++k) store(load(k), k);
  for (std::size_t k = 0; k < 256; ++k) {
    ASSERT_EQ(recordBytes(image, k), "02 00 0A 00 01 01 00 81 " + zeros(150)) << k;
    ASSERT_EQ(commentBytes(image, k), zeros(64)) << k;
  }
}

TEST_F(NotificationRowTest, PhoneNumbers) {
  NotificationRow row = fresh();
  row.phone = u"0012345";
  store(row);
  EXPECT_EQ(recordBytes(image, 0, 16), "02 00 0A 00 01 01 05 91 21 43 F5 00 00 00 00 00");
  EXPECT_EQ(load().phone, u"0012345");
  row.phone = u"12345";
  store(row);
  EXPECT_EQ(recordBytes(image, 0, 16), "02 00 0A 00 01 01 05 81 21 43 F5 00 00 00 00 00");
  row.phone = u"";
  store(row);
  EXPECT_EQ(recordBytes(image, 0, 16), "02 00 0A 00 01 01 00 81 21 43 F5 00 00 00 00 00");
  // Never past byte 15, whatever the cell holds.
  row.phone = u"0012345678901234567890";
  store(row);
  EXPECT_EQ(recordBytes(image, 0, 17), "02 00 0A 00 01 01 10 91 21 43 65 87 09 21 43 65 00");
}

TEST_F(NotificationRowTest, MessageTexts) {
  NotificationRow row = fresh();
  row.text = u"abc";
  store(row);
  EXPECT_EQ(recordBytes(image, 0, 21).substr(48), "03 00 61 F1 18");
  row.text = u"Привет";
  store(row);
  EXPECT_EQ(recordBytes(image, 0, 30).substr(48), "06 08 04 1F 04 40 04 38 04 32 04 35 04 42");
  row.text = std::u16string(200, u'x');
  store(row);
  EXPECT_EQ(image.at(16), 160);
  EXPECT_EQ(image.at(17), 0);
  row.text = std::u16string(99, u'x') + u"Ж";
  store(row);
  EXPECT_EQ(image.at(16), 70);
  EXPECT_EQ(image.at(17), 8);
}

TEST_F(NotificationRowTest, SourcesStoreTheirPackedIndex) {
  struct Case {
    const char16_t* category;
    const char16_t* source;
    const char* byte45;
  };
  const Case cases[] = {
      {u"Thermosensor error", u"Thermosensor error T2.05", "4B 01"},
      {u"Thermosensor error", u"Thermosensor error T1.01", "03 01"},
      {u"Main Channel", u"Main Channel 24", "B9 01"},
      {u"User Event", u"User Event 16", "7A 01"},
      {u"IButton detect", u"IButton detect 16", "F4 01"},
      {u"System Event", u"Remote Turn On", "00 0B"},
      {u"System Event", u"Setup canceled by channel 1", "00 0F"},
      {u"System Event", u"Number changing", "00 31"},
      {u"System Event", u"Net Lost", "00 00"},
      {u"System Event", u"Critical 1-wire Error", "00 08"},
      {u"System Event", u"Incoming Call Phone 8", "00 2F"},
  };
  for (const Case& c : cases) {
    NotificationRow row = fresh();
    row.category = c.category;
    row.source = c.source;
    store(row);
    EXPECT_EQ(recordBytes(image, 0, 6).substr(12), c.byte45) << c.byte45;
    // And shown again.
    const NotificationRow again = load();
    EXPECT_EQ(again.category, c.category);
    EXPECT_EQ(again.source, c.source);
  }
}

TEST_F(NotificationRowTest, SystemEventsInListOrderWithTheirCodes) {
  ASSERT_EQ(texts.sourceItems[source::kSystemEvent].size(), 50u);
  const std::map<std::size_t, std::uint8_t> samples = {{0, 0},  {6, 6},   {7, 11},  {10, 14}, {11, 7},
                                                       {12, 9}, {13, 10}, {14, 8},  {15, 15}, {38, 38},
                                                       {39, 39}, {40, 40}, {47, 47}, {48, 48}, {49, 49}};
  for (const auto& [position, code] : samples)
    EXPECT_EQ(SystemEventCode(texts.sourceItems[source::kSystemEvent][position], texts), code) << position;
  EXPECT_EQ(texts.sourceItems[source::kSystemEvent][38], u"Setup canceled by channel 24");
}

TEST_F(NotificationRowTest, SourceListsPerCategory) {
  EXPECT_EQ(texts.sourceItems[source::kMainChannel].size(), 24u);
  EXPECT_EQ(texts.sourceItems[source::kMainChannel].back(), u"Main Channel 24");
  EXPECT_EQ(texts.sourceItems[source::kUserEvent].size(), 16u);
  EXPECT_EQ(texts.sourceItems[source::kUserEvent].front(), u"User Event 1");
  ASSERT_EQ(texts.sourceItems[source::kThermosensor].size(), 32u);
  EXPECT_EQ(texts.sourceItems[source::kThermosensor][0], u"Thermosensor error T1.01");
  EXPECT_EQ(texts.sourceItems[source::kThermosensor][15], u"Thermosensor error T1.16");
  EXPECT_EQ(texts.sourceItems[source::kThermosensor][16], u"Thermosensor error T2.01");
  EXPECT_EQ(texts.sourceItems[source::kIButton].back(), u"IButton detect 16");

  // A new category: its list, and its first item.
  NotificationRow row = fresh();
  row.condition = u"if ON or OFF";
  SetSource(row, source::kUserEvent, 0, texts);
  EXPECT_EQ(row.category, u"User Event");
  EXPECT_EQ(row.sourceList, source::kUserEvent);
  EXPECT_EQ(row.source, u"User Event 1");
  EXPECT_EQ(row.condition, u"if ON or OFF");  // the condition is not touched
  SetSource(row, source::kSystemEvent, 0, texts);
  EXPECT_EQ(row.source, u"Net Lost");
  // An event code no entry carries keeps the Source text.
  SetSource(row, source::kSystemEvent, 50, texts);
  EXPECT_EQ(row.category, u"System Event");
  EXPECT_EQ(row.source, u"Net Lost");
  // Past the list: the text is set all the same.
  SetSource(row, source::kMainChannel, 31, texts);
  EXPECT_EQ(row.source, u"Main Channel 32");
}

TEST_F(NotificationRowTest, ConditionKindSoundChannelsAndLength) {
  NotificationRow row = fresh();
  row.enabled = true;
  row.condition = u"if ALARM OFF";
  row.kind = u"SMS & CALL";
  row.sound = u"SIN1000";
  row.channels = {false, true, false, false, false, true};
  row.soundLength = 100;
  store(row);
  EXPECT_EQ(recordBytes(image, 0, 6), "2F 22 64 00 01 02");
  row.kind = u"CALL";
  row.condition = u"if ON or OFF";
  store(row);
  EXPECT_EQ(recordBytes(image, 0, 6), "2D 22 64 00 01 03");

  // The longest time of day stores the longest length the record holds.
  row.soundLength = 23 * 3600 + 59 * 60 + 59;
  store(row);
  EXPECT_EQ(recordBytes(image, 0, 4).substr(6), "FF FF");
  EXPECT_EQ(LimitSoundLength(23 * 3600 + 59 * 60 + 59), 65535u);
  EXPECT_EQ(LimitSoundLength(65536), 65535u);
  EXPECT_EQ(LimitSoundLength(65535), 65535u);
  EXPECT_EQ(LimitSoundLength(100), 100u);
  image.at(2) = 0xFF;
  image.at(3) = 0xFF;
  EXPECT_EQ(load().soundLength, 18u * 3600 + 12 * 60 + 15);
}

TEST_F(NotificationRowTest, ConditionOnlyForChannelsEventsSensorsAndKeys) {
  NotificationRow row = fresh();
  row.category = u"System Event";
  row.source = u"Remote Turn On";
  row.condition = u"if ALARM OFF";
  store(row);
  EXPECT_EQ(image.at(5), 11);  // the event code, not a condition
  put(image, 4, "00 0A");
  EXPECT_EQ(load().condition, u"if ALARM ON");  // the initial text, not bits 0-1 of code 10
}

TEST_F(NotificationRowTest, CommentsStoreThirtyOneUnits) {
  NotificationRow row = fresh();
  row.comment = std::u16string(40, u'k');
  store(row);
  EXPECT_EQ(image.at(kComments), 31);
  EXPECT_EQ(load().comment, std::u16string(31, u'k'));
}

TEST_F(NotificationRowTest, TextsThatMatchNothingLeaveTheirBits) {
  put(image, 0, "3F 00 0A 00 0B 0E");  // SMS & CALL, CONST, T2.01, "if ALARM OFF" and bits 2-7 set
  NotificationRow row = load();
  row.category = u"Nothing";
  row.kind = u"nothing";
  row.sound = u"LOUD";
  row.condition = u"sometimes";
  store(row);
  EXPECT_EQ(recordBytes(image, 0, 6), "3F 00 0A 00 0B 0E");

  // A Source text that does not read as the category's leaves the index.
  row = load();
  row.source = u"Thermosensor error X";
  store(row);
  EXPECT_EQ(image.at(4), 0x0B);
  row.category = u"Main Channel";
  row.source = u"Main Channel";
  store(row);
  EXPECT_EQ(image.at(4), 0x09);  // the category is taken, the index kept
}

TEST_F(NotificationRowTest, KindAndConditionAreMatchedByTheirBeginning) {
  EXPECT_EQ(KindCode(u"SMS & CALL", texts), 3);
  EXPECT_EQ(KindCode(u"SMS", texts), 1);
  EXPECT_EQ(KindCode(u"SMS!", texts), 1);
  EXPECT_EQ(KindCode(u"CALL", texts), 2);
  EXPECT_EQ(KindCode(u"", texts), std::nullopt);
  EXPECT_EQ(ConditionCode(u"if ALARM ON", texts), 1);
  EXPECT_EQ(ConditionCode(u"if ALARM OFF", texts), 2);
  EXPECT_EQ(ConditionCode(u"if ON or OFF", texts), 3);
  EXPECT_EQ(ConditionCode(u"if", texts), std::nullopt);
  EXPECT_EQ(SoundCode(u"CONST", texts), 7);
  EXPECT_EQ(SoundCode(u"CONST ", texts), std::nullopt);
  EXPECT_EQ(CategoryCode(u"IButton detect", texts), 4);
  EXPECT_EQ(CategoryCode(u"iButton detect", texts), std::nullopt);
}

TEST_F(NotificationRowTest, SourceTextsAreReadAsScanfWould) {
  EXPECT_EQ(SourceIndexOf(1, u"Main Channel 7", texts), 6u);
  EXPECT_EQ(SourceIndexOf(1, u"Main Channel    12", texts), 11u);
  EXPECT_EQ(SourceIndexOf(1, u"Main Channel", texts), std::nullopt);
  EXPECT_EQ(SourceIndexOf(1, u"Main Channel x", texts), std::nullopt);
  EXPECT_EQ(SourceIndexOf(2, u"XXXXXXXXXX 3", texts), 2u);  // the first characters are dropped unread
  EXPECT_EQ(SourceIndexOf(3, u"Thermosensor error T2.16", texts), 31u);
  EXPECT_EQ(SourceIndexOf(3, u"Thermosensor error  T1.5", texts), 4u);
  EXPECT_EQ(SourceIndexOf(3, u"Thermosensor error T3.01", texts), 0u);  // (bus - 1) mod 2
  EXPECT_EQ(SourceIndexOf(3, u"Thermosensor error T2", texts), std::nullopt);
  EXPECT_EQ(SourceIndexOf(4, u"IButton detect 1", texts), 0u);
  EXPECT_EQ(SourceIndexOf(0, u"System Ready", texts), 48u);
  EXPECT_EQ(SourceIndexOf(0, u"System ready", texts), std::nullopt);
  EXPECT_EQ(SourceIndexOf(5, u"anything 1", texts), std::nullopt);
}

TEST_F(NotificationRowTest, ShadesFollowEnKindSoundAndChannels) {
  NotificationRow row = fresh();
  EXPECT_FALSE(ShadesOf(row, texts).row);
  EXPECT_FALSE(ShadesOf(row, texts).text);
  EXPECT_FALSE(ShadesOf(row, texts).soundLength);
  row.enabled = true;
  EXPECT_TRUE(ShadesOf(row, texts).row);
  EXPECT_TRUE(ShadesOf(row, texts).text);          // "SMS"
  EXPECT_FALSE(ShadesOf(row, texts).soundLength);  // sound "-"
  row.sound = u"HORN";
  EXPECT_TRUE(ShadesOf(row, texts).soundLength);
  row.channels[1] = true;
  EXPECT_FALSE(ShadesOf(row, texts).soundLength);  // a channel flag greys it
  row.kind = u"CALL";
  EXPECT_FALSE(ShadesOf(row, texts).text);
  row.kind = u"SMS & CALL";
  EXPECT_TRUE(ShadesOf(row, texts).text);
}

TEST_F(NotificationRowTest, ALoadNeverCarriesAFormerRowOver) {
  // Values without a meaning for the grid show the initial contents.
  put(image, 0, "01 00 0A 00 06 00");  // category 6, kind 0
  NotificationRow row = load();
  EXPECT_EQ(row.category, u"");
  EXPECT_EQ(row.sourceList, std::nullopt);
  EXPECT_EQ(row.source, u"");
  EXPECT_EQ(row.kind, u"SMS");
  EXPECT_EQ(row.condition, u"if ALARM ON");
  EXPECT_EQ(row.comment, u"");

  put(image, 0, "01 00 0A 00 00 C8");  // system event code 200
  row = load();
  EXPECT_EQ(row.category, u"System Event");
  EXPECT_EQ(row.sourceList, source::kSystemEvent);
  EXPECT_EQ(row.source, u"");
  EXPECT_EQ(InitialNotificationRow(texts).kind, u"SMS");
}

TEST_F(NotificationRowTest, OddRecordsSurviveAStoreUntouched) {
  const char* odd[] = {
      // 8-bit text with bytes above 0x7F, category 6, type of address 0xA1
      "C3 3F 34 12 06 C1 05 A1 21 43 F5 00 00 00 00 00 05 01 41 80 E9 FF 00",
      // 7-bit length 200, a digit count of 20
      "03 00 0A 00 09 01 14 81 21 43 65 87 09 21 43 65 C8 00 61 F1 F8",
      // unknown encoding, category 7, a filler nibble that is not 0xF
      "05 00 0A 00 07 00 03 81 21 93 00 00 00 00 00 00 05 05 41 42 43",
      // UCS-2 with length 90 and a lone surrogate; system event code 99
      "02 00 0A 00 F8 63 00 81 00 00 00 00 00 00 00 00 5A 08 D8 3D 00 41",
      // bits 3-7 set around the condition
      "03 00 0A 00 11 FD 02 A1 21 00 00 00 00 00 00 00 00 00",
  };
  for (const char* bytes : odd) {
    image.clear();
    for (std::size_t i = 18; i < 158; ++i) image.at(i) = static_cast<std::uint8_t>(i * 7);
    put(image, 0, bytes);
    put(image, kComments, "28 07 41 00 00 00 42 00");  // count 40, a NUL inside
    const std::string before = recordBytes(image, 0);
    const std::string commentBefore = commentBytes(image, 0);
    store(load());
    EXPECT_EQ(recordBytes(image, 0), before) << bytes;
    EXPECT_EQ(commentBytes(image, 0), commentBefore) << bytes;
  }
}

TEST_F(NotificationRowTest, WhatTheUserChangesIsRewritten) {
  put(image, 0, "01 00 0A 00 09 01 14 A1 21 43 65 87 09 21 43 65 04 01 41 80 E9 FF");
  put(image, kComments, "28 07 41 00");
  NotificationRow row = load();
  EXPECT_EQ(row.phone, u"1234567890123456");
  EXPECT_EQ(row.text, u"A\u0080\u00E9\u00FF");
  row.phone = u"12";
  row.text = u"AB";
  row.comment = u"C";
  store(row);
  EXPECT_EQ(recordBytes(image, 0, 21), "03 00 0A 00 09 01 02 81 21 43 65 87 09 21 43 65 02 00 41 21 E9");
  EXPECT_EQ(commentBytes(image, 0).substr(0, 11), "01 07 43 00");
}

TEST(NotificationTexts, TranslatedListsAreMatchedAsShown) {
  const std::map<std::u16string, std::u16string> ru = {
      {u"Main Channel", u"Канал"},     {u"SMS", u"СМС"},       {u"SMS & CALL", u"СМС и звонок"},
      {u"CALL", u"Звонок"},            {u"-", u"нет"},         {u"if ALARM OFF", u"при снятии"},
      {u"Thermosensor error", u"Датчик"}, {u"Remote Turn On", u"Включение"}};
  const NotificationTexts texts([&](std::u16string_view text) {
    const auto it = ru.find(std::u16string(text));
    return it == ru.end() ? std::u16string(text) : it->second;
  });
  EXPECT_EQ(texts.sourceItems[source::kMainChannel][4], u"Канал 5");
  EXPECT_EQ(texts.sourceItems[source::kThermosensor][20], u"Датчик T2.05");
  EXPECT_EQ(texts.sourceItems[source::kSystemEvent][7], u"Включение");

  ConfigImage image;
  applyNewDocumentDefaults(image);
  auto record = NotificationRecord::at(image, 0);
  auto comment = SmsCommentRecord::at(image, 0);
  NotificationRow row = LoadNotificationRow(record, comment, texts);
  EXPECT_EQ(row.category, u"Канал");
  EXPECT_EQ(row.source, u"Канал 1");
  EXPECT_EQ(row.kind, u"СМС");
  EXPECT_EQ(row.sound, u"нет");
  row.source = u"Канал 12";
  row.kind = u"СМС и звонок";
  row.condition = u"при снятии";
  StoreNotificationRow(row, record, comment, texts);
  EXPECT_EQ(image.at(0), 0x06);
  EXPECT_EQ(image.at(4), 0x59);
  EXPECT_EQ(image.at(5), 0x02);
  row.kind = u"Звонок";
  EXPECT_FALSE(ShadesOf(row, texts).text);
  row.enabled = true;
  row.kind = u"СМС";
  EXPECT_TRUE(ShadesOf(row, texts).text);
  EXPECT_FALSE(ShadesOf(row, texts).soundLength);  // "нет" is no sound
}

}  // namespace
}  // namespace wk
