#include "document/notification_record.h"

#include <gtest/gtest.h>

#include <array>
#include <stdexcept>
#include <vector>

#include "support/hex.h"

namespace wk {
namespace {

using test::hex;
using test::hexOf;

std::string slice(const ConfigImage& image, std::size_t at, std::size_t size) {
  const auto b = image.slice(at, size);
  return hexOf(std::vector<std::uint8_t>(b.begin(), b.end()));
}

void put(ConfigImage& image, std::size_t at, std::string_view bytes) {
  const auto b = hex(bytes);
  std::copy(b.begin(), b.end(), image.all().begin() + static_cast<std::ptrdiff_t>(at));
}

TEST(NotificationRecord, RecordsLieWhereTheControllerKeepsThem) {
  ConfigImage image;
  NotificationRecord::at(image, 1).setSoundLength(0x1234);
  EXPECT_EQ(slice(image, 158 + 2, 2), "34 12");
  NotificationRecord::at(image, 255).setEnabled(true);
  EXPECT_EQ(image.at(255 * 158), 0x01);
  SmsCommentRecord::at(image, 0).setText(u"A");
  EXPECT_EQ(slice(image, 40448, 4), "01 00 41 00");
  SmsCommentRecord::at(image, 255).setText(u"B");
  EXPECT_EQ(slice(image, 40448 + 255 * 64, 4), "01 00 42 00");
  EXPECT_THROW(NotificationRecord::at(image, 256), std::out_of_range);
  EXPECT_THROW(SmsCommentRecord::at(image, 256), std::out_of_range);
}

TEST(NotificationRecord, FieldsOfByteZeroToFive) {
  ConfigImage image;
  put(image, 0, "FF 22 64 00 4B 8B");
  auto r = NotificationRecord::at(image, 0);
  EXPECT_TRUE(r.enabled());
  EXPECT_EQ(r.kind(), 3);
  EXPECT_EQ(r.sound(), 7);
  EXPECT_EQ(r.soundLength(), 100);
  EXPECT_EQ(r.sourceCategory(), 3);
  EXPECT_EQ(r.sourceIndex(), 16u + 4u);  // T2.05
  EXPECT_EQ(r.condition(), 3);
  for (int n = 1; n <= 6; ++n) EXPECT_EQ(r.channel(n), n == 2 || n == 6) << n;
  EXPECT_FALSE(r.channel(0));
  EXPECT_FALSE(r.channel(7));

  // Each setter changes its bits only; the reserved bits 6-7 of byte 0 stay.
  r.setEnabled(false);
  r.setKind(2);
  r.setSound(1);
  EXPECT_EQ(slice(image, 0, 1), "CC");
  // Byte 1: the six flags, its reserved bits written 0.
  image.at(1) = 0xC0;
  r.setChannels({false, true, false, false, false, true});
  EXPECT_EQ(slice(image, 1, 1), "22");
  r.setCondition(1);
  EXPECT_EQ(slice(image, 5, 1), "89");
}

TEST(NotificationRecord, SourceIndexPackingPerCategory) {
  ConfigImage image;
  auto r = NotificationRecord::at(image, 0);
  const auto byte4 = [&] { return image.at(4); };

  r.setSourceCategory(3);  // Thermosensor error T2.05: bus 2, slot 5
  r.setSourceIndex(16 + 4);
  EXPECT_EQ(byte4(), 0x4B);

  image.at(4) = 0;
  r.setSourceCategory(1);  // Main Channel 24
  r.setSourceIndex(23);
  EXPECT_EQ(byte4(), 0xB9);
  EXPECT_EQ(r.sourceIndex(), 23u);

  image.at(4) = 0;
  r.setSourceCategory(4);  // IButton detect 16, bit 3 was 0
  r.setSourceIndex(15);
  EXPECT_EQ(byte4(), 0xF4);
  image.at(4) = 0x0C;  // bit 3 set: kept
  r.setSourceIndex(15);
  EXPECT_EQ(byte4(), 0xFC);
  EXPECT_EQ(r.sourceIndex(), 15u);

  image.at(4) = 0x02;  // User Event 16
  r.setSourceIndex(15);
  EXPECT_EQ(byte4(), 0x7A);

  image.at(4) = 0xF8;  // System Event: byte 5 is the code, bits 3-7 kept
  image.at(5) = 0x00;
  r.setSourceIndex(49);
  EXPECT_EQ(slice(image, 4, 2), "F8 31");
  EXPECT_EQ(r.sourceIndex(), 49u);

  for (const std::uint8_t code : {5, 6, 7}) {
    image.at(4) = static_cast<std::uint8_t>(0xA8 | code);
    EXPECT_EQ(r.sourceIndex(), std::nullopt);
    r.setSourceIndex(3);
    EXPECT_EQ(slice(image, 4, 2), hexOf({static_cast<std::uint8_t>(0xA8 | code), 0x31}));
  }
}

class NotificationText : public ::testing::Test {
 protected:
  void SetUp() override {
    auto all = image.slice(0, 158);
    std::fill(all.begin() + 18, all.end(), 0xEE);  // text bytes written are seen as such
  }
  std::string head() const { return slice(image, 16, 2); }
  std::string data(std::size_t n) const { return slice(image, 18, n); }
  NotificationRecord record() { return NotificationRecord::at(image, 0); }
  ConfigImage image;
};

TEST_F(NotificationText, SevenBitPacked) {
  record().setText(u"abc");
  EXPECT_EQ(head(), "03 00");
  EXPECT_EQ(data(4), "61 F1 18 EE");  // bytes after the text stay
  EXPECT_EQ(record().text(), u"abc");
}

TEST_F(NotificationText, CyrillicIsUcs2HighByteFirst) {
  record().setText(u"Тест 1");
  EXPECT_EQ(head(), "06 08");
  EXPECT_EQ(data(13), "04 22 04 35 04 41 04 42 00 20 00 31 EE");
  EXPECT_EQ(record().text(), u"Тест 1");
}

TEST_F(NotificationText, TooLongMessagesAreCut) {
  record().setText(std::u16string(200, u'A'));
  EXPECT_EQ(head(), "A0 00");  // 160 characters
  EXPECT_EQ(record().text(), std::u16string(160, u'A'));

  std::u16string wide(100, u'B');
  wide[50] = u'é';
  record().setText(wide);
  EXPECT_EQ(head(), "46 08");  // 70 units
  EXPECT_EQ(record().text(), wide.substr(0, 70));

  // A surrogate pair across the limit is left out whole.
  std::u16string pair(69, u'C');
  pair += u"\U0001F600";
  record().setText(pair);
  EXPECT_EQ(head(), "45 08");
  EXPECT_EQ(record().text(), pair.substr(0, 69));
  EXPECT_EQ(slice(image, 18 + 2 * 68, 2), "00 43");
}

TEST_F(NotificationText, EmptyText) {
  record().setText(u"");
  EXPECT_EQ(head(), "00 00");
  EXPECT_EQ(data(1), "EE");
  EXPECT_EQ(record().text(), u"");
}

TEST_F(NotificationText, OddRecordsReadInsideTheRecord) {
  // Lengths above what the encoding holds give what the 140 bytes hold.
  put(image, 16, "FF 00");
  EXPECT_EQ(record().text().size(), 160u);
  put(image, 16, "FF 01");
  EXPECT_EQ(record().text().size(), 140u);
  put(image, 16, "FF 08");
  EXPECT_EQ(record().text().size(), 70u);
  EXPECT_EQ(record().text()[0], u'\xEEEE');

  // 8-bit bytes are the characters of the same code.
  put(image, 16, "04 01 41 80 E9 FF");
  EXPECT_EQ(record().text(), u"A\u0080\u00E9\u00FF");

  // An encoding the controller does not define: an empty text.
  for (const char* enc : {"02", "07", "09", "FF"}) {
    put(image, 16, std::string("05 ") + enc);
    EXPECT_EQ(record().text(), u"") << enc;
  }
}

TEST(SmsCommentRecord, CountedUtf16) {
  ConfigImage image;
  auto all = image.slice(40448, 64);
  std::fill(all.begin(), all.end(), 0xEE);
  auto c = SmsCommentRecord::at(image, 0);
  c.setText(u"Дом");
  EXPECT_EQ(slice(image, 40448, 10), "03 EE 14 04 3E 04 3C 04 EE EE");  // byte 1 is never written
  EXPECT_EQ(c.text(), u"Дом");

  std::u16string forty;
  for (int i = 0; i < 40; ++i) forty += static_cast<char16_t>(u'a' + i % 26);
  c.setText(forty);
  EXPECT_EQ(c.length(), 31);
  EXPECT_EQ(c.text(), forty.substr(0, 31));
  EXPECT_EQ(slice(image, 40448 + 62, 2), "65 00");  // unit 31 ('e') ends the record

  c.setText(std::u16string(u"ab\0cd", 5));  // a NUL ends the copy
  EXPECT_EQ(c.length(), 2);
  EXPECT_EQ(slice(image, 40448 + 6, 2), "63 00");  // the rest stays as it was

  image.at(40448) = 40;  // a count above 31 reads 31 units
  EXPECT_EQ(c.text().size(), 31u);
  image.at(40448) = 0;
  EXPECT_EQ(c.text(), u"");
}

}  // namespace
}  // namespace wk
