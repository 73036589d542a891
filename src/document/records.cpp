#include "document/records.h"

#include <algorithm>

namespace wk {

void CommonSettingsView::clearGsmManagedOutputs() {
  const auto cells = b_.subspan(image::common::GsmManagedOutputs.offset, image::common::GsmManagedOutputs.size);
  std::fill(cells.begin(), cells.end(), 0);
}

}  // namespace wk
