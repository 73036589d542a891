#include "document/collect_effects.h"

#include <array>

#include "document/notification_record.h"
#include "document/records.h"
#include "document/report_record.h"

namespace wk {

void ApplyCollectEffects(ConfigImage& image) {
  CommonSettingsView::of(image).clearGsmManagedOutputs();
  for (std::size_t k = 0; k < image::kSmsRecordCount; ++k) {
    NotificationRecord record = NotificationRecord::at(image, k);
    std::array<bool, NotificationRecord::kChannelFlags> flags{};
    for (int n = 1; n <= NotificationRecord::kChannelFlags; ++n) flags[static_cast<std::size_t>(n - 1)] = record.channel(n);
    record.setChannels(flags);
  }
  ClearReportReservedBits(image);
}

}  // namespace wk
