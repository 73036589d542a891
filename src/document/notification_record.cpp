#include "document/notification_record.h"

#include <algorithm>

#include "document/notification_lists.h"
#include "document/sms_text.h"

namespace wk {

void NotificationRecord::setChannels(const std::array<bool, kChannelFlags>& flags) {
  std::uint8_t byte = 0;
  for (int n = 0; n < kChannelFlags; ++n)
    if (flags[static_cast<std::size_t>(n)]) byte = static_cast<std::uint8_t>(byte | 1u << n);
  b_[1] = byte;
}

std::optional<unsigned> NotificationRecord::sourceIndex() const {
  switch (sourceCategory()) {
    case source::kSystemEvent:
      return b_[5];
    case source::kMainChannel:
    case source::kUserEvent:
      return getBits(b_[4], 3, 5);
    case source::kThermosensor:
      return getBits(b_[4], 3, 1) * source::kSensorSlots + getBits(b_[4], 4, 4);
    case source::kIButton:
      return getBits(b_[4], 4, 4);
    default:
      return std::nullopt;
  }
}

void NotificationRecord::setSourceIndex(unsigned index) {
  switch (sourceCategory()) {
    case source::kSystemEvent:
      b_[5] = static_cast<std::uint8_t>(index);
      break;
    case source::kMainChannel:
    case source::kUserEvent:
      setBits(b_[4], 3, 5, index);
      break;
    case source::kThermosensor:
      setBits(b_[4], 3, 1, index / source::kSensorSlots);
      setBits(b_[4], 4, 4, index % source::kSensorSlots);
      break;
    case source::kIButton:
      setBits(b_[4], 4, 4, index);
      break;
    default:
      break;
  }
}

std::u16string NotificationRecord::text() const {
  const auto data = std::span<const std::uint8_t>(b_).subspan(kTextAt, kTextBytes);
  switch (static_cast<SmsEncoding>(textEncoding())) {
    case SmsEncoding::Packed7:
      return UnpackSeptets(data, textLength());
    case SmsEncoding::Bytes8: {
      const std::size_t count = std::min<std::size_t>(textLength(), kMaxBytes8);
      return std::u16string(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(count));
    }
    case SmsEncoding::Ucs2:
      return DecodeUcs2Be(data, textLength());
  }
  return {};
}

void NotificationRecord::setText(std::u16string_view text) {
  const bool wide = std::any_of(text.begin(), text.end(), [](char16_t u) { return u > 0x7F; });
  const auto data = b_.subspan(kTextAt, kTextBytes);
  std::size_t count = 0;
  if (wide) {
    count = EncodeUcs2Be(text.substr(0, CutLength(text, kMaxUcs2)), data);
  } else {
    count = std::min(text.size(), kMaxPacked7);
    PackSeptets(text.substr(0, count), data);
  }
  b_[16] = static_cast<std::uint8_t>(count);
  b_[17] = static_cast<std::uint8_t>(wide ? SmsEncoding::Ucs2 : SmsEncoding::Packed7);
}

std::u16string SmsCommentRecord::text() const {
  const std::size_t count = std::min<std::size_t>(length(), kMaxLength);
  std::u16string out(count, u'\0');
  for (std::size_t i = 0; i < count; ++i) out[i] = static_cast<char16_t>(readLe16(b_, 2 + 2 * i));
  return out;
}

void SmsCommentRecord::setText(std::u16string_view text) {
  std::size_t count = 0;
  while (count < text.size() && count < kMaxLength && text[count] != u'\0') {
    writeLe16(b_, 2 + 2 * count, text[count]);
    ++count;
  }
  b_[0] = static_cast<std::uint8_t>(count);
}

}  // namespace wk
