#pragma once
// The miscellaneous settings: the first 156 bytes of CommonSettings, with
// the controller's general switches, its lists' choices, the start timeout,
// the device password, the eight "My numbers" and the USSD balance request.
//
//   0, 1, 3..7, 12..14  check boxes, one byte each: 1 checked, 0 not
//   2                   no control (read-all clears it)
//   8                   IncomingCallActionList item number
//   9                   TemperatureFormatList code
//   10, 11              MicGainList and SpeakerVolumeList item numbers
//   15                  AnalogOutputList: 0 siren, 1 beeper
//   20                  start timeout, seconds
//   24, 25, 26..41      password: length, a zero byte, one PasswordByte each
//   58..137             MyNumbers: number n (1..8) at 48 + 10n
//   148, 149..155       balance request: length, one byte per character
// Offsets 16..19, 21..23, 42..57 and 138..147 have no control and are never
// written here.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "document/config_image.h"
#include "document/list_table.h"
#include "document/phone_number_field.h"
#include "document/record_view.h"

namespace wk {

// The check boxes, by the offset of their byte, in the order the page takes them.
enum class MiscCheck : std::uint8_t {
  NetLedEnable = 0,
  EnterArmedAnyway = 1,
  ReEnterAlarmMonitor = 3,
  MicrophoneEnable = 4,
  RestoreGsmOutputs = 5,
  TouchMemoryOnExternalKey = 6,
  BalanceInStandardRequest = 7,
  SaveOutputsMode = 12,
  ReportTurnedOffChannels = 13,
  RestartInputBlocking = 14,
};
inline constexpr std::array<MiscCheck, 10> kMiscChecks{
    MiscCheck::NetLedEnable,         MiscCheck::EnterArmedAnyway,         MiscCheck::ReEnterAlarmMonitor,
    MiscCheck::MicrophoneEnable,     MiscCheck::RestoreGsmOutputs,        MiscCheck::TouchMemoryOnExternalKey,
    MiscCheck::BalanceInStandardRequest, MiscCheck::SaveOutputsMode,      MiscCheck::ReportTurnedOffChannels,
    MiscCheck::RestartInputBlocking,
};

// The check boxes' texts (English, as stored), in kMiscChecks order.
inline constexpr std::array<const char*, kMiscChecks.size()> kMiscCheckTexts{
    "Net LED Enable",           "Enter Armed state anyway",        "re-Enter alarm-monitor mode",
    "Microphon Enable",         "Restore GSM Outputs",             "TouchMemory on external key",
    "Get Balance in standart request", "Save outputs mode",        "Report turned off channels state",
    "Restart input blocking in repeated alarm",
};

class MiscSettings : public RecordView<image::common::MiscSettings.size> {
 public:
  static constexpr std::size_t kIncomingCallAction = 8;
  static constexpr std::size_t kTemperatureFormat = 9;
  static constexpr std::size_t kMicGain = 10;
  static constexpr std::size_t kSpeakerVolume = 11;
  static constexpr std::size_t kAnalogOutput = 15;
  static constexpr std::size_t kStartTimeout = 20;
  static constexpr std::size_t kPasswordLength = 24;
  static constexpr std::size_t kPasswordZero = 25;
  static constexpr std::size_t kPasswordText = 26;
  static constexpr std::size_t kMaxPassword = 16;
  static constexpr std::size_t kMyNumberCount = 8;
  static constexpr std::size_t kBalanceRequestLength = 148;
  static constexpr std::size_t kBalanceRequestText = 149;
  static constexpr std::size_t kMaxBalanceRequest = 7;
  static constexpr std::uint8_t kMaxStartTimeout = 255;

  // The settings' place in the image.
  static constexpr ImageBlock kBlock{image::CommonSettings.offset + image::common::MiscSettings.offset,
                                     image::common::MiscSettings.size};
  static constexpr std::size_t offsetOf(MiscCheck check) { return static_cast<std::size_t>(check); }
  // Within the settings: number n = 1..8.
  static constexpr std::size_t myNumberOffset(std::size_t n) { return 48 + 10 * n; }

  using RecordView::RecordView;
  static MiscSettings of(ConfigImage& image) { return MiscSettings(image.slice(kBlock)); }

  // The stored byte, which the page writes as 0 or 1 only.
  std::uint8_t check(MiscCheck which) const { return b_[offsetOf(which)]; }
  void setCheck(MiscCheck which, bool on) { b_[offsetOf(which)] = on ? 1 : 0; }

  std::uint8_t incomingCallAction() const { return b_[kIncomingCallAction]; }
  void setIncomingCallAction(std::uint8_t index) { b_[kIncomingCallAction] = index; }
  std::uint8_t temperatureFormat() const { return b_[kTemperatureFormat]; }
  void setTemperatureFormat(std::uint8_t code) { b_[kTemperatureFormat] = code; }
  std::uint8_t micGain() const { return b_[kMicGain]; }
  void setMicGain(std::uint8_t index) { b_[kMicGain] = index; }
  std::uint8_t speakerVolume() const { return b_[kSpeakerVolume]; }
  void setSpeakerVolume(std::uint8_t index) { b_[kSpeakerVolume] = index; }
  std::uint8_t analogOutput() const { return b_[kAnalogOutput]; }
  void setAnalogOutput(std::uint8_t code) { b_[kAnalogOutput] = code; }
  std::uint8_t startTimeout() const { return b_[kStartTimeout]; }
  void setStartTimeout(std::uint8_t seconds) { b_[kStartTimeout] = seconds; }

  // The password as stored: its length byte (the page writes 0..16) and the
  // bytes it covers, at most 16.
  std::uint8_t passwordLength() const { return b_[kPasswordLength]; }
  bool hasPassword() const { return passwordLength() != 0; }
  std::span<const std::uint8_t> passwordBytes() const;
  // Length (at most 16 characters are taken), a zero byte, one PasswordByte
  // per character; the bytes after the last character stay as they were.
  void storePassword(std::u16string_view password);

  PhoneNumberField myNumber(std::size_t n) const;

  // One character per byte (the byte as the character's code); a length
  // above 7 shows the 7 characters the field holds.
  std::u16string balanceRequest() const;
  // At most 7 characters, each stored as the low 8 bits of its code.
  void setBalanceRequest(std::u16string_view text);
};

// The byte the controller keeps for one UTF-16 unit of a password: the
// Windows-1251 code of a Cyrillic letter, "*" for anything else above 0xFF,
// the unit itself below.
std::uint8_t PasswordByte(char16_t unit);
// The character a stored password byte stands for: the Cyrillic letter of a
// Windows-1251 code that PasswordByte gives, else the byte as a character;
// PasswordByte gives the byte back.
char16_t PasswordCharacter(std::uint8_t byte);

// "Start Timeout, sec" as typed: nothing when it is no number (empty); a
// number above 255 is 255.
std::optional<std::uint8_t> StartTimeoutOf(std::u16string_view text);

// Stores "My number" n as typed: all 10 bytes 0, then the text form, at most
// 16 digits after a leading "00". A number of more than 16 digits, which the
// page cannot show whole, stays as it was while its cell shows what it
// showed after the refresh.
void StoreMyNumber(PhoneNumberField field, std::u16string_view text);

// "For Incoming Call": item i is stored as i.
inline constexpr ListItem kIncomingCallActionItems[] = {
    {0, "Standart Request '?'"}, {1, "Request '?0'"},       {2, "Request '?1'"},
    {3, "Request '?2'"},         {4, "Request '?3'"},       {5, "Request '?4'"},
    {6, "Request '?5'"},         {7, "Request '?6'"},       {8, "Request '?7'"},
    {9, "Request '?8'"},         {10, "Request '?9'"},      {11, "Activate microphone"},
    {12, "Busy on incoming call"},
};
inline constexpr ListTable IncomingCallActionList{kIncomingCallActionItems};

// "Themperature presentation format", shown in this order; the code is
// stored: bit 0 the unit letter, bits 1..2 the decimals (0 none, 2 one, 3 two).
inline constexpr ListItem kTemperatureFormatItems[] = {
    {7, "T1.1=0.00C"}, {5, "T1.1=0.0C"}, {1, "T1.1=0C"}, {6, "T1.1=0.00"}, {4, "T1.1=0.0"}, {0, "T1.1=0"},
};
inline constexpr ListTable TemperatureFormatList{kTemperatureFormatItems};

// "Mic gain", 1.5 dB steps; item i is stored as i.
inline constexpr ListItem kMicGainItems[] = {
    {0, "0 0dB"},     {1, "+1.5dB"},    {2, "+3.0 dB"},   {3, "+4.5 dB"},   {4, "+6.0 dB"},   {5, "+7.5 dB"},
    {6, "+9.0 dB"},   {7, "+10.5 dB"},  {8, "+12.0 dB"},  {9, "+13.5 dB"},  {10, "+15.0 dB"}, {11, "+16.5 dB"},
    {12, "+18.0 dB"}, {13, "+19.5 dB"}, {14, "+21.0 dB"}, {15, "+22.5 dB"},
};
inline constexpr ListTable MicGainList{kMicGainItems};

// "Speaker volume": "1".."10"; item i is stored as i.
inline constexpr ListItem kSpeakerVolumeItems[] = {
    {0, "1"}, {1, "2"}, {2, "3"}, {3, "4"}, {4, "5"}, {5, "6"}, {6, "7"}, {7, "8"}, {8, "9"}, {9, "10"},
};
inline constexpr ListTable SpeakerVolumeList{kSpeakerVolumeItems};

// The two radio buttons of "Analog output options".
inline constexpr ListItem kAnalogOutputItems[] = {
    {0, "Use PWM analog autput as SIRENA"},
    {1, "Use PWM analog autput as BEEPER"},
};
inline constexpr ListTable AnalogOutputList{kAnalogOutputItems};

// What the page shows of the settings, and stores back. A value the page
// never writes (a check byte other than 0 and 1, a radio value other than 0
// and 1, an item number or code no item carries) is shown as no choice
// (nothing), and no choice stores nothing: the byte stays as it was.
struct MiscShown {
  std::array<std::optional<bool>, kMiscChecks.size()> checks{};  // in kMiscChecks order
  std::optional<std::size_t> incomingCallAction;                  // list positions
  std::optional<std::size_t> temperatureFormat;
  std::optional<std::size_t> micGain;
  std::optional<std::size_t> speakerVolume;
  std::optional<std::size_t> analogOutput;
  std::u16string startTimeout;
  std::u16string balanceRequest;
  std::array<std::u16string, MiscSettings::kMyNumberCount> myNumbers;
  bool hasPassword = false;

  bool operator==(const MiscShown&) const = default;
};

MiscShown LoadMiscSettings(const ConfigImage& image);

// Stores everything the page shows. False when the start timeout is no
// number: it then stays as it was, and everything else is stored all the same.
bool StoreMiscSettings(const MiscShown& shown, ConfigImage& image);

}  // namespace wk
