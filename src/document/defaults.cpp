#include "document/defaults.h"

#include <algorithm>

#include "document/main_channel_record.h"
#include "document/misc_settings.h"
#include "document/notification_lists.h"
#include "document/notification_record.h"

namespace wk {
namespace {

constexpr std::uint16_t kDefaultSoundLength = 10;  // seconds

// Channels 1-8, 9-16 and 17-24 use inputs 1-8 in turn.
void assignDefaultInputs(ConfigImage& image) {
  for (std::size_t k = 0; k < image::kChannelCount; ++k)
    MainChannelRecord::at(image, k).setInputIndex(static_cast<std::uint8_t>(k % 8));
}

}  // namespace

void applyNewDocumentDefaults(ConfigImage& image) {
  image.clear();
  for (std::size_t k = 0; k < image::kSmsRecordCount; ++k) {
    auto record = NotificationRecord::at(image, k);
    record.setSourceCategory(source::kMainChannel);
    record.setSoundLength(kDefaultSoundLength);
  }
  assignDefaultInputs(image);
  auto misc = MiscSettings::of(image);
  misc.setTemperatureFormat(5);  // "T1.1=0.0C"
  misc.setSpeakerVolume(5);      // "6"
  misc.setBalanceRequest(u"*100#");
  misc.setMicGain(2);            // "+3.0 dB"
}

void applyFallbackContents(ConfigImage& image) {
  const auto sms = image.slice(image::SmsRecords);
  std::fill(sms.begin(), sms.end(), 0);
  for (std::size_t k = 0; k < image::kSmsRecordCount; ++k)
    NotificationRecord::at(image, k).setSourceCategory(source::kMainChannel);
  const auto ee = image.slice(image::EeBlock);
  std::fill(ee.begin(), ee.end(), 0);
  assignDefaultInputs(image);
}

}  // namespace wk
