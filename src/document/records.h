#pragma once
// The view of the CommonSettings block. The other records have views in
// files of their own, on the base in record_view.h.
#include <cstdint>
#include <span>

#include "document/config_image.h"
#include "document/record_view.h"
#include "util/bytes.h"

namespace wk {

// The CommonSettings block (266 bytes): the cells that the device link and
// the collect step clear. Its parts have views of their own: the
// miscellaneous settings (misc_settings.h), the reports, and the main
// channels' follow mask in its last four bytes (main_channel_record.h).
class CommonSettingsView : public RecordView<image::CommonSettings.size> {
 public:
  using RecordView::RecordView;
  static CommonSettingsView of(ConfigImage& image) { return CommonSettingsView(image.slice(image::CommonSettings)); }

  void clearReadAllCell() { b_[image::common::kReadAllCleared] = 0; }
  void clearGsmManagedOutputs();
};

}  // namespace wk
