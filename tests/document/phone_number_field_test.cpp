#include "document/phone_number_field.h"

#include <gtest/gtest.h>

#include <array>
#include <stdexcept>
#include <vector>

#include "support/hex.h"

namespace wk {
namespace {

using test::hex;
using test::hexOf;

// The field with a guard byte on each side, which no operation may touch.
struct Guarded {
  std::array<std::uint8_t, 12> raw{};
  Guarded(std::uint8_t fill = 0x00) {
    raw.fill(fill);
    raw.front() = raw.back() = 0xA5;
  }
  explicit Guarded(std::string_view bytes) : Guarded() {
    const auto b = hex(bytes);
    std::copy(b.begin(), b.end(), raw.begin() + 1);
  }
  PhoneNumberField field() { return PhoneNumberField(std::span(raw).subspan(1, 10)); }
  std::string bytes() const { return hexOf(std::vector<std::uint8_t>(raw.begin() + 1, raw.end() - 1)); }
  bool guardsIntact() const { return raw.front() == 0xA5 && raw.back() == 0xA5; }
};

TEST(PhoneNumberField, StoresTheTextForm) {
  Guarded g;
  g.field().setText(u"0012345");
  EXPECT_EQ(g.bytes(), "05 91 21 43 F5 00 00 00 00 00");
  EXPECT_EQ(g.field().text(), u"0012345");

  g.field().setText(u"12345");
  EXPECT_EQ(g.bytes(), "05 81 21 43 F5 00 00 00 00 00");
  EXPECT_EQ(g.field().text(), u"12345");

  g.field().setText(u"");
  EXPECT_EQ(g.bytes(), "00 81 21 43 F5 00 00 00 00 00");  // digit bytes after the count stay
  EXPECT_EQ(g.field().text(), u"");

  g.field().setText(u"00");
  EXPECT_EQ(g.bytes(), "00 91 21 43 F5 00 00 00 00 00");
  EXPECT_EQ(g.field().text(), u"00");

  g.field().setText(u"0");
  EXPECT_EQ(g.bytes(), "01 81 F0 43 F5 00 00 00 00 00");
  EXPECT_EQ(g.field().text(), u"0");

  g.field().setText(u"380501234567");
  EXPECT_EQ(g.bytes(), "0C 81 83 50 10 32 54 76 00 00");
  EXPECT_TRUE(g.guardsIntact());
}

TEST(PhoneNumberField, SixteenDigitsAtMostAndNeverPastTheField) {
  Guarded g(0xEE);
  g.field().setText(u"001234567890123456");
  EXPECT_EQ(g.bytes(), "10 91 21 43 65 87 09 21 43 65");
  EXPECT_EQ(g.field().text(), u"001234567890123456");

  g.field().setText(u"12345678901234567890");
  EXPECT_EQ(g.bytes(), "10 81 21 43 65 87 09 21 43 65");
  EXPECT_EQ(g.field().text(), u"1234567890123456");

  g.field().setText(u"123456789012345");
  EXPECT_EQ(g.bytes(), "0F 81 21 43 65 87 09 21 43 F5");
  EXPECT_TRUE(g.guardsIntact());
}

TEST(PhoneNumberField, AssignClearsTheFieldFirst) {
  Guarded g(0xEE);
  g.field().assign(u"123");
  EXPECT_EQ(g.bytes(), "03 81 21 F3 00 00 00 00 00 00");
  EXPECT_TRUE(g.guardsIntact());
}

TEST(PhoneNumberField, OddFieldsShowDefinedTexts) {
  // A count above 16: the 16 digits the field holds.
  EXPECT_EQ(Guarded("14 81 21 43 65 87 09 21 43 65").field().text(), u"1234567890123456");
  EXPECT_EQ(Guarded("FF 91 21 43 65 87 09 21 43 65").field().text(), u"001234567890123456");
  // Nibbles 0xA..0xE as the characters after '9'; a low 0xF as '?'.
  EXPECT_EQ(Guarded("04 81 BA DC 00 00 00 00 00 00").field().text(), u":;<=");
  EXPECT_EQ(Guarded("02 81 EF 00 00 00 00 00 00 00").field().text(), u"?>");
  // A high 0xF is filler wherever it stands.
  EXPECT_EQ(Guarded("04 81 F1 32 00 00 00 00 00 00").field().text(), u"123");
  // An odd count with something else than filler in its last high nibble.
  EXPECT_EQ(Guarded("03 81 21 93 00 00 00 00 00 00").field().text(), u"123");
  // Other types of address show no prefix.
  EXPECT_EQ(Guarded("02 A1 21 00 00 00 00 00 00 00").field().text(), u"12");
  EXPECT_EQ(Guarded("00 00 00 00 00 00 00 00 00 00").field().text(), u"");

  // Texts from odd fields store back nibble for nibble.
  Guarded g;
  g.field().setText(u":;<=");
  EXPECT_EQ(g.bytes(), "04 81 BA DC 00 00 00 00 00 00");
}

TEST(PhoneNumberField, RefusesAWindowOfAnotherSize) {
  std::array<std::uint8_t, 11> raw{};
  EXPECT_THROW(PhoneNumberField(std::span(raw)), std::out_of_range);
  EXPECT_THROW(PhoneNumberField(std::span(raw).first(9)), std::out_of_range);
}

}  // namespace
}  // namespace wk
