// The 1-Wire CRC-8 against published registration numbers, and every row of
// the family table.
#include <gtest/gtest.h>

#include <set>

#include "onewire/crc8.h"
#include "onewire/family_table.h"
#include "support/hex.h"

namespace wk {
namespace {

using test::hex;

TEST(OneWireCrc8, PublishedRegistrationNumbersCheckToZero) {
  // The worked example of Maxim's application note 27, and DS18B20s printed in
  // data sheets and library examples.
  for (const char* code : {"02 1C B8 01 00 00 00 A2", "28 1D 39 31 02 00 00 F0", "28 54 F7 2D 04 00 00 68",
                           "28 EE D5 64 1A 16 02 EC"}) {
    const RomCode rom = RomCode::from(hex(code));
    EXPECT_EQ(OneWireCrc8(rom), 0) << code;
  }
}

TEST(OneWireCrc8, OfTheFirstSevenBytesIsTheCrcByte) {
  EXPECT_EQ(OneWireCrc8(hex("02 1C B8 01 00 00 00")), 0xA2);
  EXPECT_EQ(OneWireCrc8(hex("28 1D 39 31 02 00 00")), 0xF0);
  EXPECT_EQ(OneWireCrc8(hex("28 EE D5 64 1A 16 02")), 0xEC);
}

TEST(OneWireCrc8, AnyWrongByteOrBitIsCaught) {
  const auto good = hex("28 1D 39 31 02 00 00 F0");
  for (std::size_t i = 0; i < good.size(); ++i) {
    for (int bit = 0; bit < 8; ++bit) {
      auto bad = good;
      bad[i] ^= static_cast<std::uint8_t>(1 << bit);
      EXPECT_NE(OneWireCrc8(bad), 0) << i << ":" << bit;
    }
  }
  EXPECT_NE(OneWireCrc8(hex("28 1D 39 31 02 00 00 F1")), 0);
}

TEST(OneWireCrc8, EightZeroBytesPass) { EXPECT_EQ(OneWireCrc8(RomCode{}), 0); }

TEST(FamilyTexts, EveryRowAsGiven) {
  struct Row {
    std::uint8_t code;
    const char* parts;
    const char* description;
  };
  const Row rows[] = {
      {0x01, "DS2401/DS2411/DS1990A", "silicon serial number"},
      {0x02, "DS1425/DS1991", "multikey 1153bit secure"},
      {0x04, "DS2404/DS1994", "econoram time chip"},
      {0x05, "DS2405", "Addresable Switch"},
      {0x06, "DS1993", "4k memory ibutton"},
      {0x08, "DS1992", "1k memory ibutton"},
      {0x09, "DS2502/DS1982", "1k add-only memory"},
      {0x0A, "DS1995", "16k memory ibutton"},
      {0x0B, "DS2505/DS1985", "16k add-only memory"},
      {0x0C, "DS1996", "64k memory ibutton"},
      {0x0F, "DS2506/DS1986", "64k add-only  memory"},
      {0x10, "18S20/DS1920", "high precision digital thermometer"},
      {0x12, "DS2406/DS2407", "dual addressable switch plus 1k memory"},
      {0x14, "DS2430A/DS1971", "256 eeprom"},
      {0x1A, "DS1963L", "4k Monetary"},
      {0x1B, "DS2436", "battery id/monitor chip"},
      {0x1C, "DS28E04-100", "4k EEPROM with PIO"},
      {0x1D, "DS2423", "4k ram with counter"},
      {0x1F, "DS2409", "microlan coupler"},
      {0x20, "DS2450", "quad a/d converter"},
      {0x21, "DS1921", "Thermachron"},
      {0x22, "DS1822", "Econo Digital Thermometer"},
      {0x23, "DS2433", "4k eeprom"},
      {0x24, "DS2415", "time chip"},
      {0x26, "DS2438", "smart battery monitor"},
      {0x27, "DS2417", "time chip with interrupt"},
      {0x28, "DS18B20", "programmable resolution digital thermometer"},
      {0x29, "DS2408", "8-channel addressable switch"},
      {0x2C, "DS2890", "digital potentiometer"},
      {0x2D, "DS2431", "1k eeprom"},
      {0x2E, "DS2770", "battery monitor and charge controller"},
      {0x30, "DS2760/DS2761/DS2762", "high-precision li+ battery monitor"},
      {0x31, "DS2720", "efficient addressable single-cell rechargable lithium protection ic"},
      {0x33, "DS2432/DS1961S", "1k protected eeprom with SHA-1"},
      {0x36, "DS2740", "high precision coulomb counter"},
      {0x37, "DS1977", "Password protected 32k eeprom"},
      {0x3A, "DS2413", "dual channel addressable switch"},
      {0x41, "DS2422/DS1922L/DS1922T/DS1923", "Temperature Logger 8k mem"},
      {0x51, "DS2751", "multichemistry battery fuel gauge"},
      {0x81, "DS1420", "Serial ID Button"},
      {0x84, "DS2404S", "dual port plus time"},
      {0x89, "DS2502-E48/DS2502-UNW/DS1982U", "48 bit node address chip"},
      {0x8B, "DS2505-UNW/DS1985U", "16k add-only uniqueware"},
      {0x8F, "2506-UNW/1986U", "64k add-only uniqueware"},
      {0xFF, "", "LCD"},
  };
  std::set<int> listed;
  for (const Row& row : rows) {
    const FamilyText t = FamilyTexts(row.code);
    EXPECT_EQ(t.partNames, row.parts) << int(row.code);
    EXPECT_EQ(t.description, row.description) << int(row.code);
    listed.insert(row.code);
  }
  // Every other code has two empty texts, 0x00 and 0x25 among them.
  for (int code = 0; code < 256; ++code) {
    if (listed.contains(code)) continue;
    const FamilyText t = FamilyTexts(static_cast<std::uint8_t>(code));
    EXPECT_TRUE(t.partNames.empty() && t.description.empty()) << code;
  }
  EXPECT_EQ(OneWireFamilyTable.size(), std::size(rows));
}

TEST(FamilyTexts, ThermometerFamiliesForTheMonitor) {
  std::set<int> thermometers;
  for (int code = 0; code < 256; ++code)
    if (isThermometerFamily(static_cast<std::uint8_t>(code))) thermometers.insert(code);
  EXPECT_EQ(thermometers, (std::set<int>{0x10, 0x22, 0x25, 0x28}));
}

}  // namespace
}  // namespace wk
