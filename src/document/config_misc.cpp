// The miscellaneous settings as one record of fields: misc.
#include "document/config_field_kinds.h"
#include "document/misc_settings.h"
#include "util/strformat.h"

namespace wk::config {
namespace {

constexpr ImageBlock kScope = MiscSettings::kBlock;

MiscSettings viewOf(const ConfigImage& image) {
  return MiscSettings(const_cast<ConfigImage&>(image).slice(kScope));  // only read through
}

std::size_t at(std::size_t offset) { return kScope.offset + offset; }

// A check box: the page writes 0 or 1; any other byte is carried as its code.
Field checkField(std::string key, std::string label, MiscCheck which) {
  const std::size_t offset = MiscSettings::offsetOf(which);
  Accessor acc{[which](const ConfigImage& image) -> std::uint32_t { return viewOf(image).check(which); },
               [offset](ConfigImage& image, std::uint32_t v) {
                 MiscSettings::of(image).bytes()[offset] = static_cast<std::uint8_t>(v);
               },
               {{at(offset), 0xFF}},
               0xFF};
  return booleanField(std::move(key), std::move(label), std::move(acc), kScope);
}

// A byte of the view, every value allowed.
Accessor byteAccessor(std::uint8_t (MiscSettings::*get)() const, void (MiscSettings::*set)(std::uint8_t),
                      std::size_t offset) {
  return viewAccessor(kScope, get, set, {{at(offset), 0xFF}}, 0xFF);
}

Field listField(std::string key, std::string label, std::uint8_t (MiscSettings::*get)() const,
                void (MiscSettings::*set)(std::uint8_t), std::size_t offset, const ListTable& list) {
  return choiceField(std::move(key), std::move(label), byteAccessor(get, set, offset), itemsOf(list.items()), kScope);
}

// The password, read as the characters its bytes stand for; a character the
// controller cannot keep is refused, where the page would store "*".
Field passwordField() {
  CountedText text{
      at(MiscSettings::kPasswordLength),
      at(MiscSettings::kPasswordText),
      MiscSettings::kMaxPassword,
      [](const ConfigImage& image) {
        std::u16string password;
        for (const std::uint8_t b : viewOf(image).passwordBytes()) password += PasswordCharacter(b);
        return password;
      },
      [](ConfigImage& image, std::u16string_view password) { MiscSettings::of(image).storePassword(password); },
      [](char16_t c) -> std::optional<std::string> {
        // The page would keep "*" in its place without a word.
        if (c != u'*' && PasswordByte(c) == '*')
          return "holds \"" + utf8(std::u16string(1, c)) + "\", which the controller cannot keep (neither Latin-1 nor "
                 "Cyrillic)";
        return std::nullopt;
      },
  };
  // Its cells alone: what diff keeps out of sight.
  const ImageBlock cells{at(MiscSettings::kPasswordLength),
                         MiscSettings::kPasswordText + MiscSettings::kMaxPassword - MiscSettings::kPasswordLength};
  Field f = countedTextField("password", "Password", cells, std::move(text));
  f.secret = true;
  return f;
}

Field balanceRequestField() {
  CountedText text{
      at(MiscSettings::kBalanceRequestLength),
      at(MiscSettings::kBalanceRequestText),
      MiscSettings::kMaxBalanceRequest,
      [](const ConfigImage& image) { return viewOf(image).balanceRequest(); },
      [](ConfigImage& image, std::u16string_view request) { MiscSettings::of(image).setBalanceRequest(request); },
      [](char16_t c) -> std::optional<std::string> {
        // The page would keep the low 8 bits: another character.
        if (c > 0xFF)
          return "holds \"" + utf8(std::u16string(1, c)) + "\", which is not Latin-1 (one byte a character)";
        return std::nullopt;
      },
  };
  return countedTextField("balanceRequest", "Balance request USSD", kScope, std::move(text));
}

std::vector<Field> miscFields() {
  using M = MiscSettings;
  std::vector<Field> f;
  // In the order of the page: the numbers on the left, then the middle
  // column, then the right one.
  for (std::size_t n = 1; n <= M::kMyNumberCount; ++n) {
    Field number = wholePhoneField("myNumbers", "My Number", at(M::myNumberOffset(n)), kScope);
    number.element = static_cast<int>(n);
    f.push_back(std::move(number));
  }
  f.push_back(listField("incomingCall", "For Incoming Call", &M::incomingCallAction, &M::setIncomingCallAction,
                        M::kIncomingCallAction, IncomingCallActionList));
  f.push_back(checkField("balanceInStandardRequest", "Get Balance in standart request", MiscCheck::BalanceInStandardRequest));
  f.push_back(checkField("restoreGsmOutputs", "Restore GSM Outputs", MiscCheck::RestoreGsmOutputs));
  f.push_back(checkField("reEnterAlarmMonitor", "re-Enter alarm-monitor mode", MiscCheck::ReEnterAlarmMonitor));
  f.push_back(checkField("saveOutputsMode", "Save outputs mode", MiscCheck::SaveOutputsMode));
  f.push_back(checkField("netLedEnable", "Net LED Enable", MiscCheck::NetLedEnable));
  f.push_back(checkField("enterArmedAnyway", "Enter Armed state anyway", MiscCheck::EnterArmedAnyway));
  f.push_back(checkField("microphoneEnable", "Microphon Enable", MiscCheck::MicrophoneEnable));
  f.push_back(checkField("touchMemoryOnExternalKey", "TouchMemory on external key", MiscCheck::TouchMemoryOnExternalKey));
  f.push_back(integerField("startTimeout", "Start Timeout, sec",
                           byteAccessor(&M::startTimeout, &M::setStartTimeout, M::kStartTimeout), kScope));
  f.push_back(balanceRequestField());
  f.push_back(listField("temperatureFormat", "Themperature presentation format", &M::temperatureFormat,
                        &M::setTemperatureFormat, M::kTemperatureFormat, TemperatureFormatList));
  f.push_back(passwordField());
  f.push_back(listField("micGain", "Mic gain", &M::micGain, &M::setMicGain, M::kMicGain, MicGainList));
  f.push_back(listField("speakerVolume", "Speaker volume", &M::speakerVolume, &M::setSpeakerVolume, M::kSpeakerVolume,
                        SpeakerVolumeList));
  f.push_back(checkField("reportTurnedOffChannels", "Report turned off channels state", MiscCheck::ReportTurnedOffChannels));
  f.push_back(checkField("restartInputBlocking", "Restart input blocking in repeated alarm", MiscCheck::RestartInputBlocking));
  f.push_back(listField("analogOutput", "Analog output options", &M::analogOutput, &M::setAnalogOutput, M::kAnalogOutput,
                        AnalogOutputList));
  return f;
}

}  // namespace

void describeMisc(Description& description) {
  description.addSection("misc", "Miscellaneous", true);
  description.addRecord(1, miscFields());
}

}  // namespace wk::config
