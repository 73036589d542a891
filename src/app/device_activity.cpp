#include "app/device_activity.h"

#include "language/translate.h"
#include "link/device_operation.h"
#include "seams/prompter.h"

namespace wk {

bool refuseCloseWhileDeviceBusy(Prompter& prompter) {
  if (!link::DeviceOperation::running()) return false;
  prompter.note(tr("Wait until the device operation ends"));
  return true;
}

}  // namespace wk
