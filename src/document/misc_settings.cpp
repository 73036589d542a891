#include "document/misc_settings.h"

#include <algorithm>
#include <stdexcept>

namespace wk {
namespace {

// The list position of a stored code; nothing when no item carries it.
std::optional<std::size_t> positionOf(const ListTable& list, std::uint8_t code) {
  const auto items = list.items();
  for (std::size_t i = 0; i < items.size(); ++i)
    if (items[i].code == code) return i;
  return std::nullopt;
}

// The code of the item at a list position; nothing for no choice.
std::optional<std::uint8_t> codeAt(const ListTable& list, const std::optional<std::size_t>& position) {
  if (!position || *position >= list.size()) return std::nullopt;
  return list.items()[*position].code;
}

std::u16string decimal(unsigned value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace

std::span<const std::uint8_t> MiscSettings::passwordBytes() const {
  return b_.subspan(kPasswordText, std::min<std::size_t>(passwordLength(), kMaxPassword));
}

void MiscSettings::storePassword(std::u16string_view password) {
  const std::size_t length = std::min(password.size(), kMaxPassword);
  b_[kPasswordLength] = static_cast<std::uint8_t>(length);
  b_[kPasswordZero] = 0;
  for (std::size_t i = 0; i < length; ++i) b_[kPasswordText + i] = PasswordByte(password[i]);
}

PhoneNumberField MiscSettings::myNumber(std::size_t n) const {
  if (n < 1 || n > kMyNumberCount) throw std::out_of_range("no such \"My number\"");
  return PhoneNumberField(b_.subspan(myNumberOffset(n), PhoneNumberField::kSize));
}

std::u16string MiscSettings::balanceRequest() const {
  const std::size_t length = std::min<std::size_t>(b_[kBalanceRequestLength], kMaxBalanceRequest);
  std::u16string text;
  for (std::size_t i = 0; i < length; ++i) text += static_cast<char16_t>(b_[kBalanceRequestText + i]);
  return text;
}

void MiscSettings::setBalanceRequest(std::u16string_view text) {
  const std::size_t length = std::min(text.size(), kMaxBalanceRequest);
  b_[kBalanceRequestLength] = static_cast<std::uint8_t>(length);
  for (std::size_t i = 0; i < length; ++i) b_[kBalanceRequestText + i] = static_cast<std::uint8_t>(text[i] & 0xFF);
}

std::uint8_t PasswordByte(char16_t unit) {
  if (unit >= u'\u0410' && unit <= u'\u044F') return static_cast<std::uint8_t>(unit - 0x350);
  if (unit == u'\u0401') return 0xA8;  // Ё
  if (unit == u'\u0451') return 0xB8;  // ё
  if (unit > 0xFF) return '*';
  return static_cast<std::uint8_t>(unit);
}

char16_t PasswordCharacter(std::uint8_t byte) {
  if (byte >= 0xC0) return static_cast<char16_t>(byte + 0x350);
  if (byte == 0xA8) return u'\u0401';  // Ё
  if (byte == 0xB8) return u'\u0451';  // ё
  return static_cast<char16_t>(byte);
}

std::optional<std::uint8_t> StartTimeoutOf(std::u16string_view text) {
  if (text.empty()) return std::nullopt;
  unsigned value = 0;
  for (const char16_t c : text) {
    if (c < u'0' || c > u'9') return std::nullopt;
    // Any number of digits: past 255 the value no longer matters.
    value = std::min(value * 10 + static_cast<unsigned>(c - u'0'), 1000u);
  }
  return static_cast<std::uint8_t>(std::min<unsigned>(value, MiscSettings::kMaxStartTimeout));
}

void StoreMyNumber(PhoneNumberField field, std::u16string_view text) {
  if (field.digitCount() > PhoneNumberField::kMaxDigits && field.text() == text) return;
  field.assign(text);
}

MiscShown LoadMiscSettings(const ConfigImage& image) {
  // Only read through here.
  const MiscSettings misc = MiscSettings::of(const_cast<ConfigImage&>(image));
  MiscShown shown;
  for (std::size_t i = 0; i < kMiscChecks.size(); ++i) {
    const std::uint8_t byte = misc.check(kMiscChecks[i]);
    if (byte <= 1) shown.checks[i] = byte == 1;
  }
  shown.incomingCallAction = positionOf(IncomingCallActionList, misc.incomingCallAction());
  shown.temperatureFormat = positionOf(TemperatureFormatList, misc.temperatureFormat());
  shown.micGain = positionOf(MicGainList, misc.micGain());
  shown.speakerVolume = positionOf(SpeakerVolumeList, misc.speakerVolume());
  shown.analogOutput = positionOf(AnalogOutputList, misc.analogOutput());
  shown.startTimeout = decimal(misc.startTimeout());
  shown.balanceRequest = misc.balanceRequest();
  for (std::size_t n = 1; n <= MiscSettings::kMyNumberCount; ++n) shown.myNumbers[n - 1] = misc.myNumber(n).text();
  shown.hasPassword = misc.hasPassword();
  return shown;
}

bool StoreMiscSettings(const MiscShown& shown, ConfigImage& image) {
  MiscSettings misc = MiscSettings::of(image);
  const std::optional<std::uint8_t> timeout = StartTimeoutOf(shown.startTimeout);
  if (timeout) misc.setStartTimeout(*timeout);
  for (std::size_t i = 0; i < kMiscChecks.size(); ++i)
    if (shown.checks[i]) misc.setCheck(kMiscChecks[i], *shown.checks[i]);
  if (const auto code = codeAt(IncomingCallActionList, shown.incomingCallAction)) misc.setIncomingCallAction(*code);
  if (const auto code = codeAt(TemperatureFormatList, shown.temperatureFormat)) misc.setTemperatureFormat(*code);
  if (const auto code = codeAt(AnalogOutputList, shown.analogOutput)) misc.setAnalogOutput(*code);
  for (std::size_t n = 1; n <= MiscSettings::kMyNumberCount; ++n) StoreMyNumber(misc.myNumber(n), shown.myNumbers[n - 1]);
  misc.setBalanceRequest(shown.balanceRequest);
  if (const auto code = codeAt(MicGainList, shown.micGain)) misc.setMicGain(*code);
  if (const auto code = codeAt(SpeakerVolumeList, shown.speakerVolume)) misc.setSpeakerVolume(*code);
  return timeout.has_value();
}

}  // namespace wk
