#pragma once
// "Read All Data" and "Write All Data": the controller's whole configuration,
// SEE-Data 0..65535 and EE-Data 0..973, between a document and the controller.
#include "link/device_session.h"

namespace wk {
class C4410Doc;
}  // namespace wk

namespace wk::link {

enum class TransferOutcome {
  Completed,  // everything moved and the link is back at its start speed
  Declined,   // the user kept the modified document
  Busy,       // another device operation is running
  Failed,     // the port, the controller or the link failed; the user was told
};

// A block that does not arrive whole, or whose echo is missing, is sent this
// many times in all before the phase stops with a message.
inline constexpr int kMaxBlockTries = 3;

// Reads into scratch memory; the document takes the data, marked modified and
// with every editor refreshed, only when both phases completed. Otherwise it
// stays exactly as it was and the user is told so.
TransferOutcome ReadAll(C4410Doc& doc, const DeviceLink& link);

// Collects the editors and applies the collect step's effects on the bytes
// no control shows (collect_effects.h), then writes the image. The modified
// flag stays.
TransferOutcome WriteAll(C4410Doc& doc, const DeviceLink& link);

}  // namespace wk::link
