#pragma once
// "Read All Data", "Write All Data" and "Write Changed Data": the controller's
// whole configuration, SEE-Data 0..65535 and EE-Data 0..973, between a
// document and the controller.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "document/config_image.h"
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

// Block sizes of the transfers.
inline constexpr std::size_t kSeeReadBlock = 1024;
inline constexpr std::size_t kSeeWriteBlock = 128;
inline constexpr std::size_t kEeBlock = 2;

// What a write of the document sends: the editors collected, then the rules
// on the bytes no control shows (collect_effects.h). With pages or without
// (the command line), the controller gets the same bytes. False when an
// editor could not take a value it shows (it has told the user why): nothing
// may then be written, or the controller would get the old value.
[[nodiscard]] bool CollectForWrite(C4410Doc& doc);

// The controller's configuration memories as write-all covers them.
struct ControllerMemories {
  std::vector<std::uint8_t> see = std::vector<std::uint8_t>(image::kSeeMemorySize, 0);
  std::array<std::uint8_t, image::kEePartSize> ee{};

  // What write-all writes for image: SEE-Data beyond the image as zeros.
  static ControllerMemories of(const ConfigImage& image);
  // The document's image of what was read, with the cells read-all clears.
  ConfigImage asRead() const;
};

// The write-all blocks (SEE-Data of 128 bytes, EE-Data of 2) where the
// controller holds other bytes than a write sends, by address. With
// keepGsmManaged ("SavePortsOutput") the "GSM managed" output values are
// left out, as write-all leaves them unwritten.
struct ChangedBlocks {
  std::vector<std::size_t> see;
  std::vector<std::size_t> ee;
  bool empty() const { return see.empty() && ee.empty(); }
  std::size_t count() const { return see.size() + ee.size(); }
};
ChangedBlocks FindChangedBlocks(const ControllerMemories& sent, const ControllerMemories& held, bool keepGsmManaged);

// Reads into scratch memory; the document takes the data, marked modified and
// with every editor refreshed, only when both phases completed. Otherwise it
// stays exactly as it was and the user is told so.
TransferOutcome ReadAll(C4410Doc& doc, const DeviceLink& link);

// CollectForWrite, then writes the image. The modified flag stays.
TransferOutcome WriteAll(C4410Doc& doc, const DeviceLink& link);

// Given what the controller held (as read-all would leave it in a document)
// before anything is written; false stops with nothing written (it has told
// the user why).
using BeforeWrite = std::function<bool(const ConfigImage& held)>;

// In one session: reads the controller as read-all does, writes only the
// blocks of write-all where it differs from what write-all would send, with
// write-all's commands and speed, then reads those blocks back and compares.
// The controller ends up holding what write-all would leave; nothing is sent
// when nothing differs. The document is collected as for write-all and is
// otherwise untouched.
TransferOutcome WriteChanged(C4410Doc& doc, const DeviceLink& link, const BeforeWrite& beforeWrite = {});

}  // namespace wk::link
