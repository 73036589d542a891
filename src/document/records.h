#pragma once
// The view of the CommonSettings block. The other records have views in
// files of their own, on the base in record_view.h.
#include <cstdint>
#include <span>
#include <string>

#include "document/config_image.h"
#include "document/record_view.h"
#include "util/bytes.h"

namespace wk {

// The CommonSettings block (266 bytes): miscellaneous settings, reports and
// the "GSM managed" output values. The main channels' follow mask in its last
// four bytes has its view beside the channel records (main_channel_record.h).
class CommonSettingsView : public RecordView<image::CommonSettings.size> {
 public:
  using RecordView::RecordView;
  static CommonSettingsView of(ConfigImage& image) { return CommonSettingsView(image.slice(image::CommonSettings)); }

  std::uint8_t temperatureFormat() const { return b_[image::common::kTemperatureFormat]; }
  void setTemperatureFormat(std::uint8_t code) { b_[image::common::kTemperatureFormat] = code; }
  std::uint8_t micGain() const { return b_[image::common::kMicGain]; }
  void setMicGain(std::uint8_t index) { b_[image::common::kMicGain] = index; }
  std::uint8_t speakerVolume() const { return b_[image::common::kSpeakerVolume]; }
  void setSpeakerVolume(std::uint8_t index) { b_[image::common::kSpeakerVolume] = index; }

  // The USSD balance request: a length byte and up to 7 one-byte characters.
  std::string balanceRequest() const;
  void setBalanceRequest(std::string_view text);

  void clearReadAllCell() { b_[image::common::kReadAllCleared] = 0; }
  void clearGsmManagedOutputs();
};

}  // namespace wk
