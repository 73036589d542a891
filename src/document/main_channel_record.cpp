#include "document/main_channel_record.h"

#include <algorithm>

#include "util/number_text.h"
#include "util/strformat.h"

namespace wk {

std::string inputText(std::uint8_t inputIndex) { return strprintf("%d", inputIndex + 1); }

std::uint8_t inputIndexFromText(std::u16string_view text) {
  const auto number = scanInt(text);
  if (!number) return 0;
  return static_cast<std::uint8_t>((static_cast<unsigned>(*number) - 1u) & 7u);
}

std::string timeoutText(std::uint8_t seconds) { return strprintf("%d", seconds); }

std::uint8_t timeoutFromText(std::u16string_view text) {
  const auto number = scanInt(text);
  if (!number) return 0;
  return static_cast<std::uint8_t>(std::clamp(*number, 0, 255));
}

FollowMask::FollowMask(ConfigImage& image)
    : b_(image.slice(image::CommonSettings.offset + image::common::FollowMask.offset, image::common::FollowMask.size)) {}

bool FollowMask::follows(std::size_t channel) const {
  return channel < image::kChannelCount && ((value() >> channel) & 1u) != 0;
}

void FollowMask::setFollows(std::size_t channel, bool on) {
  if (channel >= image::kChannelCount) return;
  const std::uint32_t bit = 1u << channel;
  writeLe32(b_, 0, on ? value() | bit : value() & ~bit);
}

}  // namespace wk
