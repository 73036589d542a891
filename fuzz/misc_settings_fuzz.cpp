// The miscellaneous settings of an image from a file or a controller, any
// bytes: shown as the page shows them and stored back untouched, then stored
// with values a user could choose or type, and a password set.
//
// Input: the 156 bytes of the settings (zeros where the input is shorter);
// what follows them feeds the edits.
#include <algorithm>
#include <cstdint>
#include <span>
#include <string>

#include "document/config_image.h"
#include "document/misc_settings.h"
#include "support/quiet_seams.h"

using namespace wk;

namespace {

constexpr std::size_t kSize = MiscSettings::kBlock.size;

// The offsets of the settings that the page's store may write; the password
// is written only when one is set.
bool storedByThePage(std::size_t at) {
  return at <= 15 ? at != 2 : at == 20 || (at >= 58 && at < 138) || (at >= 148 && at < 156);
}

class Edits {
 public:
  explicit Edits(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::uint8_t byte() { return at_ < bytes_.size() ? bytes_[at_++] : 0; }
  std::u16string text() {
    std::u16string out(byte() % 24, u'0');
    for (char16_t& c : out) c = static_cast<char16_t>(byte() | byte() << 8);
    return out;
  }
  std::u16string digits() {
    std::u16string out(byte() % 24, u'0');
    for (char16_t& c : out) c = static_cast<char16_t>(u'0' + byte() % 10);
    return out;
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> input(data, size);
  ConfigImage image;
  // Neighbours the settings must never reach.
  std::fill(image.all().begin(), image.all().end(), 0xA5);
  const auto settings = image.slice(MiscSettings::kBlock);
  std::copy_n(input.begin(), std::min(size, kSize), settings.begin());
  const ConfigImage read = image;

  const MiscShown shown = LoadMiscSettings(image);
  WK_FUZZ_CHECK(image == read);

  // Untouched: only the phone numbers may change, and a balance request
  // longer than its 7 characters becomes the 7 shown.
  WK_FUZZ_CHECK(StoreMiscSettings(shown, image));
  const std::size_t ussdLength = MiscSettings::kBlock.offset + MiscSettings::kBalanceRequestLength;
  for (std::size_t i = 0; i < image::kSize; ++i) {
    const bool number = i >= MiscSettings::kBlock.offset + 58 && i < MiscSettings::kBlock.offset + 138;
    const bool cut = i == ussdLength && read.at(i) > MiscSettings::kMaxBalanceRequest;
    WK_FUZZ_CHECK(number || cut || image.at(i) == read.at(i));
  }
  // A number the page would not have written (nibbles 0xA..0xF among its
  // digits, a type other than 0x81 and 0x91) is rewritten from its text,
  // which may then read otherwise; all else shows as before.
  const MiscShown again = LoadMiscSettings(image);
  MiscShown againButNumbers = again;
  againButNumbers.myNumbers = shown.myNumbers;
  WK_FUZZ_CHECK(againButNumbers == shown);
  const ConfigImage once = image;
  StoreMiscSettings(again, image);
  for (std::size_t i = 0; i < image::kSize; ++i) {
    const bool number = i >= MiscSettings::kBlock.offset + 58 && i < MiscSettings::kBlock.offset + 138;
    WK_FUZZ_CHECK(number || image.at(i) == once.at(i));
  }
  // A number of decimal digits shows and stores as it is.
  for (std::size_t n = 1; n <= MiscSettings::kMyNumberCount; ++n) {
    const std::u16string& text = shown.myNumbers[n - 1];
    if (std::all_of(text.begin(), text.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; }))
      WK_FUZZ_CHECK(again.myNumbers[n - 1] == text);
  }

  // Edited: choices, texts and a password, never past the settings' own bytes.
  Edits edits(input.size() > kSize ? input.subspan(kSize) : std::span<const std::uint8_t>());
  MiscShown edited = shown;
  for (auto& check : edited.checks) {
    const std::uint8_t b = edits.byte();
    if (b % 3) check = b % 3 == 1;
  }
  edited.incomingCallAction = edits.byte() % 16;
  edited.temperatureFormat = edits.byte() % 8;
  edited.micGain = edits.byte() % 18;
  edited.speakerVolume = edits.byte() % 12;
  edited.analogOutput = edits.byte() % 3;
  edited.startTimeout = edits.digits();
  edited.balanceRequest = edits.text();
  for (auto& number : edited.myNumbers) number = edits.digits();
  const ConfigImage beforeEdit = image;
  StoreMiscSettings(edited, image);
  const std::u16string password = edits.text();
  MiscSettings::of(image).storePassword(password);
  for (std::size_t i = 0; i < image::kSize; ++i) {
    const std::size_t at = i - MiscSettings::kBlock.offset;
    const bool inSettings = i >= MiscSettings::kBlock.offset && at < kSize;
    const bool passwordByte = inSettings && at >= 24 && at < 26 + std::min<std::size_t>(password.size(), 16);
    WK_FUZZ_CHECK(image.at(i) == beforeEdit.at(i) || (inSettings && (storedByThePage(at) || passwordByte)));
  }
  const MiscSettings misc = MiscSettings::of(image);
  WK_FUZZ_CHECK(misc.passwordLength() == std::min<std::size_t>(password.size(), 16));
  WK_FUZZ_CHECK(misc.balanceRequest().size() == std::min<std::size_t>(edited.balanceRequest.size(), 7));
  for (std::size_t n = 1; n <= MiscSettings::kMyNumberCount; ++n)
    WK_FUZZ_CHECK(misc.myNumber(n).digitCount() <= 16);
  return 0;
}
