#pragma once
// The lists of the notification rules: each entry is the code stored in the
// record and the text the user picks (in its stored English form; pages pass
// it through the language file when they show it). Drop-downs offer the
// entries in the order of these tables, which is not always the code order.
#include <array>
#include <cstdint>
#include <string_view>

namespace wk {

struct CodedText {
  std::uint8_t code;
  std::string_view text;
};

// Source category codes (bits 0-2 of byte 4).
namespace source {
inline constexpr std::uint8_t kSystemEvent = 0;
inline constexpr std::uint8_t kMainChannel = 1;
inline constexpr std::uint8_t kUserEvent = 2;
inline constexpr std::uint8_t kThermosensor = 3;
inline constexpr std::uint8_t kIButton = 4;
inline constexpr std::uint8_t kCategoryCount = 5;

inline constexpr unsigned kMainChannels = 24;
inline constexpr unsigned kUserEvents = 16;
inline constexpr unsigned kSensorBuses = 2;
inline constexpr unsigned kSensorSlots = 16;
inline constexpr unsigned kKeys = 16;
}  // namespace source

inline constexpr std::array<CodedText, 5> SourceCategoryList{{
    {source::kSystemEvent, "System Event"},
    {source::kMainChannel, "Main Channel"},
    {source::kUserEvent, "User Event"},
    {source::kThermosensor, "Thermosensor error"},
    {source::kIButton, "IButton detect"},
}};

// In the order the list shows them; the codes are the controller's.
inline constexpr std::array<CodedText, 50> SystemEventList{{
    {0, "Net Lost"},
    {1, "Power Reset Guard on"},
    {2, "Power Reset Guard off"},
    {3, "Watchdog Reset Guard On"},
    {4, "Watchdog Reset Guard Off"},
    {5, "Software Error Reset Guard On"},
    {6, "Software Error Reset Guard Off"},
    {11, "Remote Turn On"},
    {12, "Remote Turn Off"},
    {13, "Local Turn On"},
    {14, "Local Turn Off"},
    {7, "Modem Error"},
    {9, "Modem Flow Problem"},
    {10, "1-wire Thread Problem"},
    {8, "Critical 1-wire Error"},
    {15, "Setup canceled by channel 1"},
    {16, "Setup canceled by channel 2"},
    {17, "Setup canceled by channel 3"},
    {18, "Setup canceled by channel 4"},
    {19, "Setup canceled by channel 5"},
    {20, "Setup canceled by channel 6"},
    {21, "Setup canceled by channel 7"},
    {22, "Setup canceled by channel 8"},
    {23, "Setup canceled by channel 9"},
    {24, "Setup canceled by channel 10"},
    {25, "Setup canceled by channel 11"},
    {26, "Setup canceled by channel 12"},
    {27, "Setup canceled by channel 13"},
    {28, "Setup canceled by channel 14"},
    {29, "Setup canceled by channel 15"},
    {30, "Setup canceled by channel 16"},
    {31, "Setup canceled by channel 17"},
    {32, "Setup canceled by channel 18"},
    {33, "Setup canceled by channel 19"},
    {34, "Setup canceled by channel 20"},
    {35, "Setup canceled by channel 21"},
    {36, "Setup canceled by channel 22"},
    {37, "Setup canceled by channel 23"},
    {38, "Setup canceled by channel 24"},
    {39, "Incoming Call Event"},
    {40, "Incoming Call Phone 1"},
    {41, "Incoming Call Phone 2"},
    {42, "Incoming Call Phone 3"},
    {43, "Incoming Call Phone 4"},
    {44, "Incoming Call Phone 5"},
    {45, "Incoming Call Phone 6"},
    {46, "Incoming Call Phone 7"},
    {47, "Incoming Call Phone 8"},
    {48, "System Ready"},
    {49, "Number changing"},
}};

inline constexpr std::array<CodedText, 8> SoundList{{
    {0, "-"},
    {1, "HORN"},
    {2, "YELP"},
    {3, "WAIL"},
    {4, "SIN500"},
    {5, "SIN1000"},
    {6, "SIN1500"},
    {7, "CONST"},
}};

// When a channel, user event, sensor or key rule fires (bits 0-1 of byte 5);
// 0 is "none chosen".
inline constexpr std::array<CodedText, 3> ConditionList{{
    {1, "if ALARM ON"},
    {2, "if ALARM OFF"},
    {3, "if ON or OFF"},
}};

// What the controller does (bits 1-2 of byte 0); 0 is "none chosen".
inline constexpr std::array<CodedText, 3> KindList{{
    {1, "SMS"},
    {2, "CALL"},
    {3, "SMS & CALL"},
}};

}  // namespace wk
