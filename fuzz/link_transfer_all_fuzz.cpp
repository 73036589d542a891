// "Read All Data", "Write All Data" and "Write Changed Data" as a whole
// against a controller made of fuzz bytes (see support/fuzzed_peer.h). The
// first byte chooses the procedure and whether the line itself fails; the
// rest is the peer.
#include <cstdint>
#include <memory>
#include <span>

#include "document/c4410_doc.h"
#include "link/device_operation.h"
#include "link/read_write_all.h"
#include "seams/settings.h"
#include "support/fuzzed_peer.h"
#include "support/quiet_seams.h"

using namespace wk;
using namespace wk::link;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzedPeer peer(std::span(data, size));
  const std::uint8_t choice = peer.takeByte();
  const bool write = (choice & 0x01) != 0;
  const bool changedOnly = write && (choice & 0x20) != 0;
  peer.failOpen = (choice & 0x02) != 0;
  peer.failSpeedChange = (choice & 0x04) != 0;
  fuzz::QuietPrompter prompter;
  fuzz::FakeClock clock;
  MemorySettings settings;
  if (choice & 0x08) settings.writeInt(setting::kSection, setting::kSavePortsOutput, 1);
  const DeviceLink link{peer, prompter, settings, clock, [] { return std::make_unique<fuzz::NullProgress>(); }};

  C4410Doc doc;
  doc.makeNew();
  if (choice & 0x10) doc.setModified(true);
  const auto before = std::make_unique<ConfigImage>(doc.image());
  const bool wasModified = doc.isModified();

  int heldGiven = 0;
  const auto given = [&](const ConfigImage& held) {
    ++heldGiven;
    // As read-all leaves what it read.
    const auto common = held.slice(image::CommonSettings);
    WK_FUZZ_CHECK(common[image::common::kReadAllCleared] == 0);
    // One that refuses tells the user why, as the command line's backup does.
    if ((choice & 0x40) == 0) return true;
    prompter.message("refused", MessageIcon::Error, MessageButtons::Ok);
    return false;
  };
  const TransferOutcome outcome = changedOnly ? WriteChanged(doc, link, given)
                                  : write     ? WriteAll(doc, link)
                                              : ReadAll(doc, link);
  WK_FUZZ_CHECK(heldGiven <= 1);
  // The read is handed over before anything could be written, or never.
  if (changedOnly && outcome == TransferOutcome::Completed) WK_FUZZ_CHECK(heldGiven == 1 && (choice & 0x40) == 0);

  // Every way out closes the port and gives the device operation back.
  WK_FUZZ_CHECK(!peer.isOpen());
  WK_FUZZ_CHECK(!DeviceOperation::running());
  WK_FUZZ_CHECK(outcome != TransferOutcome::Busy && outcome != TransferOutcome::Declined);
  // The user hears of every failure.
  if (outcome == TransferOutcome::Failed) WK_FUZZ_CHECK(prompter.messages > 0);
  if (write || outcome != TransferOutcome::Completed) {
    // A write, or a read that did not complete, leaves the document alone.
    WK_FUZZ_CHECK(doc.image() == *before);
    WK_FUZZ_CHECK(doc.isModified() == wasModified);
  } else {
    WK_FUZZ_CHECK(doc.isModified());
    WK_FUZZ_CHECK(peer.baud() == 460800);
    // The cells that read-all always clears.
    const auto common = doc.image().slice(image::CommonSettings);
    WK_FUZZ_CHECK(common[image::common::kReadAllCleared] == 0);
    for (std::size_t i = 0; i < image::common::GsmManagedOutputs.size; ++i)
      WK_FUZZ_CHECK(common[image::common::GsmManagedOutputs.offset + i] == 0);
  }
  return 0;
}
