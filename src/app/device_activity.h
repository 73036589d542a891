#pragma once
// Whether a device operation (a transfer with the controller) is running.
// Each device command holds a DeviceActivity::Scope while it talks to the
// controller. Closing a document, its window or the program asks
// refuseCloseWhileDeviceBusy first: the one place that says no meanwhile.
namespace wk {

class Prompter;

class DeviceActivity {
 public:
  class Scope {
   public:
    Scope();
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;
  };
  static bool running();
};

// True, with a status-bar note, while a device operation runs. A note and
// not a message box: a modal box would stall the transfer that is pumping
// events, and the controller would time out.
bool refuseCloseWhileDeviceBusy(Prompter& prompter);

}  // namespace wk
