// What the sensor and key pages store, byte for byte from the documented
// layouts: Find All, Add Device, Remove Device, replace, the error reaction,
// the alias and the key type.
#include <gtest/gtest.h>

#include "onewire/slot_edits.h"
#include "support/hex.h"

namespace wk::onewire {
namespace {

using test::hex;
using test::hexOf;

constexpr std::size_t kSlots1 = 62116;
constexpr std::size_t kSlots2 = 62276;
constexpr std::size_t kKeys = 62436;
constexpr std::size_t kAliases1 = 59776;
constexpr std::size_t kComments = 60800;

const RomCode kA = RomCode::from(hex("28 10 A2 5C 0B 00 00 FE"));
const RomCode kB = RomCode::from(hex("28 11 A2 5C 0B 00 00 C9"));
const RomCode kC = RomCode::from(hex("28 12 A2 5C 0B 00 00 90"));
const RomCode kKey = RomCode::from(hex("01 63 B9 21 0C 00 00 5F"));

std::string bytesAt(const ConfigImage& image, std::size_t offset, std::size_t size) {
  const auto s = image.slice(offset, size);
  return hexOf({s.begin(), s.end()});
}

void put(ConfigImage& image, std::size_t offset, const std::string& hexBytes) {
  const auto b = hex(hexBytes);
  std::copy(b.begin(), b.end(), image.slice(offset, b.size()).begin());
}

// Every slot of a table in use, with an error reaction of 0x80 | slot.
void fillSlots(ConfigImage& image, std::size_t table) {
  for (std::size_t s = 0; s < kSlotCount; ++s)
    put(image, table + 10 * s, "28 AA AA AA AA AA AA AA " + hexOf({static_cast<std::uint8_t>(s)}) + " " +
                                   hexOf({static_cast<std::uint8_t>(0x80 | s)}));
}

TEST(FindAll, TheSlotsBecomeExactlyWhatTheBusHolds) {
  ConfigImage image;
  fillSlots(image, kSlots2);
  SerialList found{};
  found[0] = kA, found[1] = kB, found[2] = kC;
  StoreFoundSensors(image, 1, found);
  EXPECT_EQ(bytesAt(image, kSlots2, 30),
            "28 10 A2 5C 0B 00 00 FE 00 80 28 11 A2 5C 0B 00 00 C9 01 81 28 12 A2 5C 0B 00 00 90 02 82");
  for (std::size_t s = 3; s < kSlotCount; ++s)
    EXPECT_EQ(bytesAt(image, kSlots2 + 10 * s, 10),
              "00 00 00 00 00 00 00 00 " + hexOf({static_cast<std::uint8_t>(s)}) + " " +
                  hexOf({static_cast<std::uint8_t>(0x80 | s)}))
        << s;
  // The other channel is not touched.
  EXPECT_EQ(bytesAt(image, kSlots1, 160), hexOf(std::vector<std::uint8_t>(160, 0)));
}

TEST(AddSensor, TakesTheFirstEmptySlotWithItsNumber) {
  ConfigImage image;
  fillSlots(image, kSlots1);
  RemoveSensors(image, 0, 5, 5);
  RemoveSensors(image, 0, 9, 9);
  EXPECT_EQ(AddSensor(image, 0, kA), 5u);
  EXPECT_EQ(bytesAt(image, kSlots1 + 50, 10), "28 10 A2 5C 0B 00 00 FE 05 85");
  // The same sensor can go in twice.
  EXPECT_EQ(AddSensor(image, 0, kA), 9u);
  EXPECT_EQ(bytesAt(image, kSlots1 + 90, 10), "28 10 A2 5C 0B 00 00 FE 09 89");
}

TEST(AddSensor, WithEverySlotInUseStoresNothing) {
  ConfigImage image;
  fillSlots(image, kSlots1);
  const ConfigImage before = image;
  EXPECT_EQ(AddSensor(image, 0, kA), std::nullopt);
  EXPECT_EQ(image, before);
}

TEST(ReplaceSensor, WritesCodeAndSlotNumberOnly) {
  ConfigImage image;
  put(image, kSlots2 + 70, "28 AA AA AA AA AA AA AA 00 0B");
  ReplaceSensor(image, 1, 7, kB);
  EXPECT_EQ(bytesAt(image, kSlots2 + 70, 10), "28 11 A2 5C 0B 00 00 C9 07 0B");
}

TEST(RemoveSensors, RowsTwoToFourKeepTheirErrorSettingsAndAliases) {
  ConfigImage image;
  fillSlots(image, kSlots1);
  for (std::size_t s = 0; s < kSlotCount; ++s) SensorAlias(image, 0, s).store(u"Room");
  RemoveSensors(image, 0, 1, 3);
  EXPECT_EQ(bytesAt(image, kSlots1, 10), "28 AA AA AA AA AA AA AA 00 80");
  EXPECT_EQ(bytesAt(image, kSlots1 + 10, 30),
            "00 00 00 00 00 00 00 00 00 81 00 00 00 00 00 00 00 00 00 82 00 00 00 00 00 00 00 00 00 83");
  EXPECT_EQ(bytesAt(image, kSlots1 + 40, 10), "28 AA AA AA AA AA AA AA 04 84");
  for (std::size_t s = 0; s < 5; ++s) EXPECT_EQ(bytesAt(image, kAliases1 + 32 * s, 5), "04 52 6F 6F 6D") << s;
}

TEST(ErrorSensitivity, FiveRequestsStores0BThenDoNotReactStores0A) {
  ConfigImage image;
  ThermoSensorRecord r = ThermoSensorRecord::at(image, 0, 0);
  StoreErrorSensitivity(r, "5 thermo-requests");
  EXPECT_EQ(image.at(kSlots1 + 9), 0x0B);
  StoreErrorSensitivity(r, "Do not react");
  EXPECT_EQ(image.at(kSlots1 + 9), 0x0A);
  EXPECT_EQ(ErrorSensitivityText(r), "Do not react");
}

TEST(ErrorSensitivity, BitSevenIsNeverChanged) {
  ConfigImage image;
  image.at(kSlots2 + 9) = 0x80;
  ThermoSensorRecord r = ThermoSensorRecord::at(image, 1, 0);
  StoreErrorSensitivity(r, "5 thermo-requests");
  EXPECT_EQ(image.at(kSlots2 + 9), 0x8B);
  StoreErrorSensitivity(r, "Do not react");
  EXPECT_EQ(image.at(kSlots2 + 9), 0x8A);
  StoreErrorSensitivity(r, "63 thermo-requests");
  EXPECT_EQ(image.at(kSlots2 + 9), 0xFF);
  EXPECT_EQ(ErrorSensitivityText(r), "63 thermo-requests");
}

TEST(ErrorSensitivity, ATextWithoutANumberStoresZeroRequestsReacting) {
  ConfigImage image;
  image.at(kSlots1 + 9) = 0x7E;
  ThermoSensorRecord r = ThermoSensorRecord::at(image, 0, 0);
  StoreErrorSensitivity(r, "thermo-requests");
  EXPECT_EQ(image.at(kSlots1 + 9), 0x01);
  StoreErrorSensitivity(r, "");
  EXPECT_EQ(image.at(kSlots1 + 9), 0x01);
  // Numbers out of range keep their low six bits, as "%d" & 63 would; no
  // length of digits overflows.
  StoreErrorSensitivity(r, "70 thermo-requests");
  EXPECT_EQ(image.at(kSlots1 + 9), 0x0D);
  StoreErrorSensitivity(r, "  -1");
  EXPECT_EQ(image.at(kSlots1 + 9), 0x7F);
  StoreErrorSensitivity(r, "99999999999999999999999999999999999 thermo-requests");
  EXPECT_EQ(image.at(kSlots1 + 9), 0x7F);  // 10^35 - 1 is 63 modulo 64
}

TEST(ErrorSensitivity, TheListHasSixtyFiveItems) {
  const auto items = ErrorSensitivityItems();
  ASSERT_EQ(items.size(), 65u);
  EXPECT_EQ(items[0], "Do not react");
  EXPECT_EQ(items[1], "0 thermo-requests");
  EXPECT_EQ(items[6], "5 thermo-requests");
  EXPECT_EQ(items[64], "63 thermo-requests");
  // Each item stores what it shows.
  ConfigImage image;
  ThermoSensorRecord r = ThermoSensorRecord::at(image, 0, 0);
  for (const auto& item : items) {
    StoreErrorSensitivity(r, item);
    EXPECT_EQ(ErrorSensitivityText(r), item);
  }
}

TEST(SensorAliasStore, CyrillicIsStoredLatinAndShownSo) {
  ConfigImage image;
  EXPECT_EQ(StoreSensorAlias(image, 0, 2, u"Склад"), u"Sklad");
  EXPECT_EQ(bytesAt(image, kAliases1 + 64, 6), "05 53 6B 6C 61 64");
  EXPECT_EQ(StoreSensorAlias(image, 1, 15, u"0123456789012345678901234567890123456789"),
            u"0123456789012345678901234567890");
  EXPECT_EQ(image.at(60288 + 15 * 32), 31);
  EXPECT_EQ(StoreSensorAlias(image, 0, 2, u""), u"");
  EXPECT_EQ(image.at(kAliases1 + 64), 0);
}

TEST(DeviceTexts, FamilyNamesOrNothing) {
  const DeviceTexts a = deviceTexts(kA);
  EXPECT_EQ(a.romText, "2810A25C0B0000FE");
  EXPECT_FALSE(a.empty);
  EXPECT_EQ(a.partNames, "DS18B20");
  EXPECT_EQ(a.description, "programmable resolution digital thermometer");
  const DeviceTexts none = deviceTexts(RomCode{});
  EXPECT_EQ(none.romText, "0000000000000000");
  EXPECT_TRUE(none.empty);
  EXPECT_EQ(none.partNames, "");
  EXPECT_EQ(none.description, "");
  const DeviceTexts unknown = deviceTexts(RomCode::from(hex("25 00 00 00 00 00 00 01")));
  EXPECT_EQ(unknown.partNames, "");
  EXPECT_EQ(unknown.description, "");
}

TEST(Keys, AKeyAddedToASlotOfType5KeepsIt) {
  ConfigImage image;
  for (std::size_t s = 0; s < 3; ++s) IButtonKeyRecord::at(image, s).setRomCode(kKey);
  put(image, kKeys + 38, "05 42");
  EXPECT_EQ(AddKey(image, kKey), 3u);
  EXPECT_EQ(bytesAt(image, kKeys + 30, 10), "01 63 B9 21 0C 00 00 5F 05 42");
  EXPECT_EQ(KeyTypeText(IButtonKeyRecord::at(image, 3)), "Perimeter Key ARM");
}

TEST(Keys, WithEverySlotInUseNothingIsStored) {
  ConfigImage image;
  fillSlots(image, kKeys);
  const ConfigImage before = image;
  EXPECT_EQ(AddKey(image, kKey), std::nullopt);
  EXPECT_EQ(image, before);
}

TEST(Keys, RemoveKeepsTypeByteNineAndComment) {
  ConfigImage image;
  fillSlots(image, kKeys);
  IButtonCommentRecord::at(image, 2).store(u"Door");
  RemoveKeys(image, 1, 2);
  EXPECT_EQ(bytesAt(image, kKeys + 10, 20), "00 00 00 00 00 00 00 00 01 81 00 00 00 00 00 00 00 00 02 82");
  EXPECT_EQ(bytesAt(image, kKeys + 30, 10), "28 AA AA AA AA AA AA AA 03 83");
  EXPECT_EQ(IButtonCommentRecord::at(image, 2).text(), u"Door");
}

TEST(Keys, ReplaceWritesTheCodeOnly) {
  ConfigImage image;
  put(image, kKeys + 150, "28 AA AA AA AA AA AA AA 06 99");
  ReplaceKey(image, 15, kKey);
  EXPECT_EQ(bytesAt(image, kKeys + 150, 10), "01 63 B9 21 0C 00 00 5F 06 99");
}

TEST(KeyType, ACodeOf9ShowsNothingAndAnUnknownTextStoresNothing) {
  ConfigImage image;
  image.at(kKeys + 8) = 9;
  IButtonKeyRecord key = IButtonKeyRecord::at(image, 0);
  EXPECT_EQ(KeyTypeText(key), std::nullopt);
  StoreKeyType(key, "");
  EXPECT_EQ(image.at(kKeys + 8), 9);
  StoreKeyType(key, "9");  // what the page shows for it
  EXPECT_EQ(image.at(kKeys + 8), 9);
  StoreKeyType(key, "Perimeter Key DISARM");
  EXPECT_EQ(image.at(kKeys + 8), 7);
  StoreKeyType(key, "Common Key");
  EXPECT_EQ(image.at(kKeys + 8), 0);
}

TEST(KeyType, EveryItemStoresItsCode) {
  const auto items = KeyTypeItems();
  ASSERT_EQ(items.size(), 8u);
  ConfigImage image;
  IButtonKeyRecord key = IButtonKeyRecord::at(image, 4);
  for (std::size_t i = 0; i < items.size(); ++i) {
    StoreKeyType(key, items[i]);
    EXPECT_EQ(image.at(kKeys + 48), i);
    EXPECT_EQ(KeyTypeText(key), items[i]);
  }
}

TEST(KeyComment, ACommentOf40CharactersKeeps31) {
  ConfigImage image;
  IButtonCommentRecord::at(image, 0).store(u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMN");
  EXPECT_EQ(image.at(kComments), 31);
  EXPECT_EQ(IButtonCommentRecord::at(image, 0).text(), u"abcdefghijklmnopqrstuvwxyzABCDE");
}

}  // namespace
}  // namespace wk::onewire
