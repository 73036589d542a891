#pragma once
// The 1-Wire family codes the program can name: the part names (shown as they
// stand) and a description (translated when shown).
#include <array>
#include <cstdint>
#include <string_view>

namespace wk {

struct FamilyRow {
  std::uint8_t code;
  std::string_view partNames;
  std::string_view description;
};

inline constexpr auto OneWireFamilyTable = std::to_array<FamilyRow>({
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
});

struct FamilyText {
  std::string_view partNames;
  std::string_view description;  // untranslated
};

// Two empty texts for a code the table does not hold.
FamilyText FamilyTexts(std::uint8_t family);

// The families whose live temperature the monitor can show.
bool isThermometerFamily(std::uint8_t family);

}  // namespace wk
