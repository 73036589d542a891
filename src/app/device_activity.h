#pragma once
// Closing a document, its window or the program asks here first: while a
// device operation (link::DeviceOperation) runs, the answer is no.
namespace wk {

class Prompter;

// True, with a status-bar note, while a device operation runs. A note and
// not a message box: a modal box would stall the transfer that is pumping
// events, and the controller would time out.
bool refuseCloseWhileDeviceBusy(Prompter& prompter);

}  // namespace wk
