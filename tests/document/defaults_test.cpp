#include <gtest/gtest.h>

#include "document/config_image.h"
#include "document/defaults.h"

namespace wk {
namespace {

// Offsets written out from the controller's memory map, not taken from the code.
constexpr std::size_t kCommon = 62596;
constexpr std::size_t kChannels = 61888;

TEST(NewDocumentDefaults, EveryByteIsWhereTheControllerExpectsIt) {
  ConfigImage img;
  img.all()[100] = 0xAA;  // stale bytes are cleared first
  img.all()[61830] = 0x55;
  applyNewDocumentDefaults(img);
  const auto b = img.all();

  ConfigImage expected;
  auto e = expected.all();
  for (std::size_t k = 0; k < 256; ++k) {
    e[158 * k + 2] = 0x0A;  // sound length 10 s, little-endian
    e[158 * k + 3] = 0x00;
    e[158 * k + 4] = 0x01;  // source category: main channel
  }
  const std::uint8_t inputs[24] = {0, 1, 2, 3, 4, 5, 6, 7, 0, 1, 2, 3, 4, 5, 6, 7, 0, 1, 2, 3, 4, 5, 6, 7};
  for (std::size_t i = 0; i < 24; ++i) e[kChannels + 4 * i + 1] = inputs[i];
  const std::uint8_t common9[] = {0x05, 0x02, 0x05};
  for (std::size_t i = 0; i < 3; ++i) e[kCommon + 9 + i] = common9[i];
  const std::uint8_t balance[] = {0x05, 0x2A, 0x31, 0x30, 0x30, 0x23};  // 5, "*100#"
  for (std::size_t i = 0; i < 6; ++i) e[kCommon + 148 + i] = balance[i];

  for (std::size_t i = 0; i < image::kSize; ++i) ASSERT_EQ(b[i], e[i]) << "image offset " << i;

  // The first record, as the installer would read it in a hex dump.
  const std::uint8_t record0[] = {0x00, 0x00, 0x0A, 0x00, 0x01, 0x00};
  for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(b[i], record0[i]);
}

TEST(FallbackContents, DifferFromTheDefaultsAndLeaveTheOtherRegions) {
  ConfigImage img;
  for (auto& byte : img.all()) byte = 0x77;
  applyFallbackContents(img);
  const auto b = img.all();
  for (std::size_t k = 0; k < 256; ++k) {
    for (std::size_t i = 0; i < 158; ++i)
      ASSERT_EQ(b[158 * k + i], i == 4 ? 0x01 : 0x00) << "record " << k << " byte " << i;
  }
  // SmsComments through ReservedB are not touched.
  for (std::size_t i = 40448; i < 61888; ++i) ASSERT_EQ(b[i], 0x77) << i;
  // EE part zero except the channel inputs; no CommonSettings defaults.
  for (std::size_t i = 61888; i < 62862; ++i) {
    const std::size_t rel = i - kChannels;
    const std::uint8_t want = (rel < 96 && rel % 4 == 1) ? static_cast<std::uint8_t>((rel / 4) % 8) : 0;
    ASSERT_EQ(b[i], want) << "image offset " << i;
  }
}

}  // namespace
}  // namespace wk
