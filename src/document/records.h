#pragma once
// Views over the records of the configuration image. Each reads and writes
// its fields in place; a field that is never set is never touched, which is
// how the bits that no editor owns stay as they were.
#include <cstdint>
#include <span>
#include <string>

#include "document/config_image.h"
#include "util/bytes.h"

namespace wk {

// Base of the views: a fixed-size window onto the image.
template <std::size_t N>
class RecordView {
 public:
  static constexpr std::size_t kSize = N;
  explicit RecordView(std::span<std::uint8_t> bytes);
  std::span<std::uint8_t> bytes() const { return b_; }

 protected:
  std::span<std::uint8_t> b_;
};

// A main channel (ChannelRecords, 4 bytes).
class MainChannelRecord : public RecordView<image::kChannelRecordSize> {
 public:
  using RecordView::RecordView;
  static MainChannelRecord at(ConfigImage& image, std::size_t k) {
    return MainChannelRecord(image.record(image::ChannelRecords, kSize, k));
  }

  std::uint8_t alarmCondition() const { return getBits(b_[0], 0, 5); }
  void setAlarmCondition(std::uint8_t code) { setBits(b_[0], 0, 5, code); }
  // Input number minus one (0..7).
  std::uint8_t inputIndex() const { return getBits(b_[1], 0, 3); }
  void setInputIndex(std::uint8_t index) { setBits(b_[1], 0, 3, index); }
  std::uint8_t workmode() const { return getBits(b_[1], 3, 3); }
  void setWorkmode(std::uint8_t code) { setBits(b_[1], 3, 3, code); }
  std::uint8_t multiaction() const { return getBits(b_[1], 6, 2); }
  void setMultiaction(std::uint8_t code) { setBits(b_[1], 6, 2, code); }
  std::uint8_t alarmOnTimeout() const { return b_[2]; }
  void setAlarmOnTimeout(std::uint8_t value) { b_[2] = value; }
  std::uint8_t alarmOffTimeout() const { return b_[3]; }
  void setAlarmOffTimeout(std::uint8_t value) { b_[3] = value; }
};

// The CommonSettings block (266 bytes): miscellaneous settings, reports, the
// "GSM managed" output values and the main channels' follow mask.
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

  std::uint32_t followMask() const { return readLe32(b_, image::common::FollowMask.offset); }
  void setFollowMask(std::uint32_t mask) { writeLe32(b_, image::common::FollowMask.offset, mask); }

  void clearReadAllCell() { b_[image::common::kReadAllCleared] = 0; }
  void clearGsmManagedOutputs();
};

}  // namespace wk
