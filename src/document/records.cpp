#include "document/records.h"

#include <algorithm>
#include <stdexcept>

namespace wk {

std::string CommonSettingsView::balanceRequest() const {
  const std::size_t length = std::min<std::size_t>(b_[image::common::kBalanceRequestLength],
                                                   image::common::kBalanceRequestMax);
  const auto* text = b_.data() + image::common::kBalanceRequestText;
  return std::string(text, text + length);
}

void CommonSettingsView::setBalanceRequest(std::string_view text) {
  const std::size_t length = std::min(text.size(), image::common::kBalanceRequestMax);
  b_[image::common::kBalanceRequestLength] = static_cast<std::uint8_t>(length);
  for (std::size_t i = 0; i < length; ++i)
    b_[image::common::kBalanceRequestText + i] = static_cast<std::uint8_t>(text[i]);
}

void CommonSettingsView::clearGsmManagedOutputs() {
  const auto cells = b_.subspan(image::common::GsmManagedOutputs.offset, image::common::GsmManagedOutputs.size);
  std::fill(cells.begin(), cells.end(), 0);
}

}  // namespace wk
