#include "app/device_activity.h"

#include "language/translate.h"
#include "seams/prompter.h"

namespace wk {
namespace {
int g_running = 0;  // nested scopes count; one thread only
}

DeviceActivity::Scope::Scope() { ++g_running; }
DeviceActivity::Scope::~Scope() { --g_running; }
bool DeviceActivity::running() { return g_running > 0; }

bool refuseCloseWhileDeviceBusy(Prompter& prompter) {
  if (!DeviceActivity::running()) return false;
  prompter.note(tr("Wait until the device operation ends"));
  return true;
}

}  // namespace wk
