#include "link/read_write_all.h"

#include <algorithm>
#include <array>
#include <functional>
#include <vector>

#include "document/c4410_doc.h"
#include "document/collect_effects.h"
#include "document/config_image.h"
#include "document/records.h"
#include "language/translate.h"
#include "link/device_session.h"
#include "link/port.h"
#include "link/protocol.h"
#include "seams/progress.h"
#include "seams/prompter.h"
#include "seams/settings.h"
#include "util/strformat.h"
#include "util/utf.h"

namespace wk::link {
namespace {

constexpr int kSeeRangeTop = 65535;
constexpr int kEeRangeTop = 973;
// "GSM managed" output values, which "SavePortsOutput" leaves to the controller.
constexpr std::size_t kGsmManagedFirst = 964;
constexpr std::size_t kGsmManagedEnd = 970;

// What the messages show for a byte that never came.
constexpr std::uint8_t kReadPlaceholder = 'Z';
constexpr std::uint8_t kWritePlaceholder = 'X';

using SeeMemory = std::vector<std::uint8_t>;
using EeMemory = std::array<std::uint8_t, image::kEePartSize>;
using Addresses = std::vector<std::size_t>;

// The addresses of the whole blocks of size in a memory of end bytes.
Addresses everyBlock(std::size_t end, std::size_t size) {
  Addresses blocks;
  for (std::size_t a = 0; a + size <= end; a += size) blocks.push_back(a);
  return blocks;
}

// The EE-Data blocks write-all sends.
Addresses eeWriteBlocks(bool keepGsmManaged) {
  Addresses blocks;
  for (const std::size_t a : everyBlock(image::kEePartSize, kEeBlock))
    if (!keepGsmManaged || a < kGsmManagedFirst || a >= kGsmManagedEnd) blocks.push_back(a);
  return blocks;
}

// How a phase tells how far it got: before a block goes out, and once it went
// through (with the address after it).
struct PhaseReport {
  std::function<void(std::size_t address)> starting = [](std::size_t) {};
  std::function<void(std::size_t next)> done = [](std::size_t) {};
};

std::unique_ptr<Progress> startProgress(const DeviceSession& session, const char* caption) {
  std::unique_ptr<Progress> progress = session.startProgress();
  progress->setCaption(tr(caption));
  progress->setRange(kSeeRangeTop);
  progress->setPos(0);
  return progress;
}

std::string withByte(std::string text, std::uint8_t byte) { return text + byteAsCharacter(byte); }

void report(Progress& progress, const char* what, std::size_t address) {
  progress.setStatus(strprintf("%s %zu", tr(what).c_str(), address));
  progress.setPos(static_cast<int>(address));
}

// Each phase goes through its blocks in order and stops at the first that
// fails, with read-all's or write-all's message. A read phase is done when it
// read every block.
bool readSeePhase(Port& port, SeeMemory& see, const Addresses& blocks, const PhaseReport& progress) {
  Prompter& ui = port.prompter();
  int tries = 0;
  for (std::size_t i = 0; i < blocks.size();) {
    const std::size_t a = blocks[i];
    const BlockReply r = ReadSee(port, static_cast<std::uint16_t>(a), std::span(see).subspan(a, kSeeReadBlock));
    if (!r.echoed()) {
      const std::uint8_t got = r.echo.value_or(kReadPlaceholder);
      ui.message(withByte(strprintf("%s %d E=0x%.2X ", tr("Connection error").c_str(), r.echo ? 1 : 0, got), got),
                 MessageIcon::None);
      return false;
    }
    if (r.dataBytes < kSeeReadBlock) {
      ui.message(strprintf("%s %zu", tr("Synchro error").c_str(), r.dataBytes), MessageIcon::None);
      // Asking again on a line that is gone only repeats the message.
      if (port.lineLost()) return false;
      if (++tries >= kMaxBlockTries) {
        ui.message(strprintf("%s %zu", tr("Reading stopped: the SEE-Data block kept arriving short at byte").c_str(), a),
                   MessageIcon::Error);
        return false;
      }
      // Late bytes of the short block must not pass for the next echo.
      port.discardInput();
      continue;
    }
    tries = 0;
    ++i;
    progress.done(a + kSeeReadBlock);
  }
  return true;
}

bool readEePhase(Port& port, EeMemory& ee, const Addresses& blocks, const PhaseReport& progress) {
  Prompter& ui = port.prompter();
  for (const std::size_t a : blocks) {
    const BlockReply r = ReadEe(port, static_cast<std::uint16_t>(a), std::span(ee).subspan(a, kEeBlock));
    if (!r.echoed()) {
      ui.message(withByte(tr("Comunication error") + " ", r.echo.value_or(kReadPlaceholder)), MessageIcon::Error);
      return false;
    }
    // Fewer data bytes than asked for would leave a hole in the data.
    if (!r.closed() || r.dataBytes < kEeBlock) {
      ui.message(withByte(tr("READ error") + " ", r.endMark.value_or(kReadPlaceholder)), MessageIcon::Error);
      return false;
    }
    progress.done(a + kEeBlock);
  }
  return true;
}

// A write phase returns how many of its blocks the controller took.
std::size_t writeSeePhase(Port& port, const SeeMemory& see, const Addresses& blocks, const PhaseReport& progress) {
  Prompter& ui = port.prompter();
  std::size_t written = 0;
  for (const std::size_t a : blocks) {
    progress.starting(a);
    const BlockReply r = WriteSee(port, static_cast<std::uint16_t>(a), std::span(see).subspan(a, kSeeWriteBlock));
    if (!r.echoed()) {
      ui.message(withByte(tr("Comunication error") + " ", r.echo.value_or(kWritePlaceholder)), MessageIcon::Error);
      return written;
    }
    if (!r.closed()) {
      const std::uint8_t got = r.endMark.value_or(kWritePlaceholder);
      ui.message(strprintf("%s %zu ", tr("WRITE error").c_str(), a) + withByte("", got) + strprintf("(%X)", got),
                 MessageIcon::Error);
      return written;
    }
    ++written;
    progress.done(a + kSeeWriteBlock);
  }
  return written;
}

std::size_t writeEePhase(Port& port, const EeMemory& ee, const Addresses& blocks, const PhaseReport& progress) {
  Prompter& ui = port.prompter();
  int tries = 0;
  std::size_t written = 0;
  while (written < blocks.size()) {
    const std::size_t a = blocks[written];
    progress.starting(a);
    const BlockReply r = WriteEe(port, static_cast<std::uint16_t>(a), std::span(ee).subspan(a, kEeBlock));
    if (!r.echoed()) {
      if (++tries >= kMaxBlockTries || port.lineLost()) {
        ui.message(strprintf("%s %zu", tr("Writing stopped: the controller did not answer at EE-Data byte").c_str(), a),
                   MessageIcon::Error);
        return written;
      }
      port.discardInput();
      continue;
    }
    tries = 0;
    if (!r.closed()) {
      ui.message(withByte(tr("WRITE Error") + " ", r.endMark.value_or(kWritePlaceholder)), MessageIcon::None);
      return written;
    }
    ++written;
    progress.done(a + kEeBlock);
  }
  return written;
}

// The progress of read-all and write-all: the address within the phase's memory.
PhaseReport statusAfterEach(Progress& progress, const char* what) {
  return {.done = [&progress, what](std::size_t next) { report(progress, what, next); }};
}

// One bar over the phases of a write of the changes, each block weighed by
// the time its bytes take on the wire (in byte times at 460800 baud; a byte
// at 57600 takes eight), the status line naming the phase. How much there is
// to write is known only after the read: until then the bar counts with the
// most there can be, so that it moves on, and never back, once it is known.
class PhasedProgress {
 public:
  static constexpr double kSeeRead = 1 + 1 + 4 + kSeeReadBlock;
  static constexpr double kEeRead = 1 + 1 + 4 + kEeBlock + 1;
  static constexpr double kSeeWrite = 8 * (1 + 1 + 4 + kSeeWriteBlock + 1);
  static constexpr double kEeWrite = 8 * (1 + 1 + 4 + kEeBlock + 1);

  PhasedProgress(Progress& progress, double total) : progress_(progress), total_(total) {}
  void setTotal(double total) { total_ = std::max(total, done_); }

  PhaseReport phase(const char* name, const char* what, double perBlock) {
    return {.done = [this, name, what, perBlock](std::size_t next) {
      done_ += perBlock;
      progress_.setStatus(strprintf("%s: %s %zu", tr(name).c_str(), tr(what).c_str(), next));
      progress_.setPos(static_cast<int>(done_ * kSeeRangeTop / total_));
    }};
  }

 private:
  Progress& progress_;
  double total_;
  double done_ = 0;
};

double readCost(std::size_t seeBlocks, std::size_t eeBlocks) {
  return static_cast<double>(seeBlocks) * PhasedProgress::kSeeRead + static_cast<double>(eeBlocks) * PhasedProgress::kEeRead;
}
double writeCost(std::size_t seeBlocks, std::size_t eeBlocks) {
  return static_cast<double>(seeBlocks) * PhasedProgress::kSeeWrite +
         static_cast<double>(eeBlocks) * PhasedProgress::kEeWrite;
}

// The SEE-Data read blocks that hold the write blocks.
Addresses readBlocksHolding(const Addresses& writeBlocks) {
  Addresses blocks;
  for (const std::size_t a : writeBlocks) {
    const std::size_t block = a / kSeeReadBlock * kSeeReadBlock;
    if (blocks.empty() || blocks.back() != block) blocks.push_back(block);
  }
  return blocks;
}

// The first address of the block from which the two memories differ.
template <class Memory>
std::size_t firstDifference(const Memory& a, const Memory& b, std::size_t block) {
  std::size_t at = block;
  while (a[at] == b[at]) ++at;
  return at;
}

}  // namespace

bool CollectForWrite(C4410Doc& doc) {
  const bool complete = doc.collectEditors();
  ApplyCollectEffects(doc.image());
  return complete;
}

ControllerMemories ControllerMemories::of(const ConfigImage& image) {
  ControllerMemories m;
  std::ranges::copy(image.slice(image::SeePart), m.see.begin());
  std::ranges::copy(image.slice(image::EeBlock), m.ee.begin());
  return m;
}

ConfigImage ControllerMemories::asRead() const {
  ConfigImage img;
  const auto seePart = img.slice(image::SeePart);
  std::copy_n(see.begin(), seePart.size(), seePart.begin());
  std::ranges::copy(ee, img.slice(image::EeBlock).begin());
  auto common = CommonSettingsView::of(img);
  common.clearReadAllCell();
  common.clearGsmManagedOutputs();
  return img;
}

ChangedBlocks FindChangedBlocks(const ControllerMemories& sent, const ControllerMemories& held, bool keepGsmManaged) {
  const auto differs = [](const auto& a, const auto& b, std::size_t at, std::size_t size) {
    return !std::equal(a.begin() + static_cast<long>(at), a.begin() + static_cast<long>(at + size),
                       b.begin() + static_cast<long>(at));
  };
  ChangedBlocks changed;
  for (const std::size_t a : everyBlock(image::kSeeMemorySize, kSeeWriteBlock))
    if (differs(sent.see, held.see, a, kSeeWriteBlock)) changed.see.push_back(a);
  for (const std::size_t a : eeWriteBlocks(keepGsmManaged))
    if (differs(sent.ee, held.ee, a, kEeBlock)) changed.ee.push_back(a);
  return changed;
}

TransferOutcome ReadAll(C4410Doc& doc, const DeviceLink& link) {
  DeviceSession session(link);
  if (!session.claim()) return TransferOutcome::Busy;
  Prompter& ui = session.prompter();
  if (doc.isModified() && ui.message(tr("Current document is not empty, proceed?"), MessageIcon::Question,
                                     MessageButtons::YesNo) != Answer::Yes)
    return TransferOutcome::Declined;
  Port& port = session.port();
  if (!session.open() || !CheckVersion(port) || !SetSpeed(port, SpeedCode::Baud460800))
    return TransferOutcome::Failed;

  ControllerMemories held;
  const auto progress = startProgress(session, "Read in progress...");
  const bool seeRead = readSeePhase(port, held.see, everyBlock(image::kSeeMemorySize, kSeeReadBlock),
                                    statusAfterEach(*progress, "SEE-Data byte"));
  progress->setRange(kEeRangeTop);
  const bool eeRead =
      readEePhase(port, held.ee, everyBlock(image::kEePartSize, kEeBlock), statusAfterEach(*progress, "EE-Data byte"));
  const bool whole = seeRead && eeRead;
  if (whole) {
    doc.image() = held.asRead();
    doc.refreshSmsData();
    doc.setModified(true);
    doc.refreshEditors();
  }

  const bool linkRestored = SetSpeed(port, SpeedCode::Baud460800);
  if (!whole)
    ui.message(tr("Reading failed: the document was not changed."), MessageIcon::Error);
  else if (linkRestored)
    ui.message(tr("Read compleeted"), MessageIcon::Information);
  progress->close();
  port.ClosePort();
  return whole && linkRestored ? TransferOutcome::Completed : TransferOutcome::Failed;
}

TransferOutcome WriteAll(C4410Doc& doc, const DeviceLink& link) {
  DeviceSession session(link);
  if (!session.claim()) return TransferOutcome::Busy;
  if (!CollectForWrite(doc)) return TransferOutcome::Failed;
  Port& port = session.port();
  if (!session.open() || !CheckVersion(port) || !SetSpeed(port, SpeedCode::Baud57600))
    return TransferOutcome::Failed;

  // A snapshot of the image; SEE-Data beyond it is written as zeros.
  const ControllerMemories sent = ControllerMemories::of(doc.image());
  const auto progress = startProgress(session, "Write in progress...");
  const Addresses seeBlocks = everyBlock(image::kSeeMemorySize, kSeeWriteBlock);
  PhaseReport seeProgress{.starting = [&](std::size_t a) { progress->setPos(static_cast<int>(a)); },
                          .done = [&](std::size_t next) {
                            if (next % 512 == 0) report(*progress, "SEE-Data byte", next);
                          }};
  const bool seeWritten = writeSeePhase(port, sent.see, seeBlocks, seeProgress) == seeBlocks.size();
  const Addresses eeBlocks = eeWriteBlocks(port.settings().savePortsOutput() != 0);
  progress->setRange(kEeRangeTop);
  PhaseReport eeProgress = statusAfterEach(*progress, "EE-Data byte");
  eeProgress.starting = [&](std::size_t a) { progress->setPos(static_cast<int>(a)); };
  const bool eeWritten = writeEePhase(port, sent.ee, eeBlocks, eeProgress) == eeBlocks.size();
  const bool whole = seeWritten && eeWritten;

  const bool linkRestored = SetSpeed(port, SpeedCode::Baud460800);
  if (!whole)
    port.prompter().message(tr("Writing failed: the configuration in the controller may be incomplete."),
                            MessageIcon::Error);
  else if (linkRestored)
    port.prompter().message(tr("Write compleeted"), MessageIcon::Information);
  progress->close();
  port.ClosePort();
  return whole && linkRestored ? TransferOutcome::Completed : TransferOutcome::Failed;
}

TransferOutcome WriteChanged(C4410Doc& doc, const DeviceLink& link, const BeforeWrite& beforeWrite) {
  DeviceSession session(link);
  if (!session.claim()) return TransferOutcome::Busy;
  if (!CollectForWrite(doc)) return TransferOutcome::Failed;
  const ControllerMemories sent = ControllerMemories::of(doc.image());
  Port& port = session.port();
  if (!session.open() || !CheckVersion(port) || !SetSpeed(port, SpeedCode::Baud460800))
    return TransferOutcome::Failed;

  Prompter& ui = session.prompter();
  const auto window = startProgress(session, "Write in progress...");
  const auto end = [&](TransferOutcome outcome) {
    window->close();
    port.ClosePort();
    return outcome;
  };
  const std::size_t seeReadBlocks = image::kSeeMemorySize / kSeeReadBlock;
  const std::size_t eeBlocks = image::kEePartSize / kEeBlock;
  const double readAll = readCost(seeReadBlocks, eeBlocks);
  PhasedProgress progress(*window, 2 * readAll + writeCost(image::kSeeMemorySize / kSeeWriteBlock, eeBlocks));

  // What the controller holds, as read-all reads it. Without all of it
  // nothing can be compared, so a failed SEE phase ends the read.
  ControllerMemories held;
  const bool read =
      readSeePhase(port, held.see, everyBlock(image::kSeeMemorySize, kSeeReadBlock),
                   progress.phase("Reading", "SEE-Data byte", PhasedProgress::kSeeRead)) &&
      readEePhase(port, held.ee, everyBlock(image::kEePartSize, kEeBlock),
                  progress.phase("Reading", "EE-Data byte", PhasedProgress::kEeRead));
  if (!read || (beforeWrite && !beforeWrite(held.asRead()))) {
    SetSpeed(port, SpeedCode::Baud460800);
    if (!read) ui.message(tr("Nothing was written: the configuration in the controller could not be read."),
                          MessageIcon::Error);
    return end(TransferOutcome::Failed);
  }

  const bool keepGsmManaged = port.settings().savePortsOutput() != 0;
  const ChangedBlocks changed = FindChangedBlocks(sent, held, keepGsmManaged);
  if (changed.empty()) {
    const bool linkRestored = SetSpeed(port, SpeedCode::Baud460800);
    if (linkRestored)
      ui.message(tr("Nothing to write: the controller already holds this configuration."), MessageIcon::Information);
    return end(linkRestored ? TransferOutcome::Completed : TransferOutcome::Failed);
  }

  const Addresses checkSee = readBlocksHolding(changed.see);
  progress.setTotal(readAll + writeCost(changed.see.size(), changed.ee.size()) +
                    readCost(checkSee.size(), changed.ee.size()));
  std::size_t written = 0;
  if (SetSpeed(port, SpeedCode::Baud57600)) {
    written = writeSeePhase(port, sent.see, changed.see,
                            progress.phase("Writing", "SEE-Data byte", PhasedProgress::kSeeWrite));
    written += writeEePhase(port, sent.ee, changed.ee,
                            progress.phase("Writing", "EE-Data byte", PhasedProgress::kEeWrite));
  }
  const std::string blocksWritten =
      strprintf("\n%s %zu/%zu", tr("Blocks written:").c_str(), written, changed.count());
  const bool whole = written == changed.count();
  const bool linkRestored = port.isOpen() && SetSpeed(port, SpeedCode::Baud460800);
  if (!whole) {
    ui.message(tr("Writing failed: the configuration in the controller may be incomplete.") + blocksWritten,
               MessageIcon::Error);
    return end(TransferOutcome::Failed);
  }

  // What the controller holds now, the blocks read back over what was read.
  ControllerMemories now = held;
  const bool readBack =
      linkRestored &&
      readSeePhase(port, now.see, checkSee, progress.phase("Checking", "SEE-Data byte", PhasedProgress::kSeeRead)) &&
      readEePhase(port, now.ee, changed.ee, progress.phase("Checking", "EE-Data byte", PhasedProgress::kEeRead));
  const bool closed = port.isOpen() && SetSpeed(port, SpeedCode::Baud460800);
  if (!readBack) {
    ui.message(tr("Writing could not be checked: the written blocks could not be read back.") + blocksWritten,
               MessageIcon::Error);
    return end(TransferOutcome::Failed);
  }
  const ChangedBlocks differing = FindChangedBlocks(sent, now, keepGsmManaged);
  if (!differing.empty()) {
    const std::string where =
        !differing.see.empty()
            ? strprintf("%s %zu", tr("Verify failed at SEE-Data byte").c_str(),
                        firstDifference(sent.see, now.see, differing.see.front()))
            : strprintf("%s %zu", tr("Verify failed at EE-Data byte").c_str(),
                        firstDifference(sent.ee, now.ee, differing.ee.front()));
    ui.message(where + blocksWritten, MessageIcon::Error);
    return end(TransferOutcome::Failed);
  }
  if (closed) ui.message(tr("Write compleeted") + blocksWritten, MessageIcon::Information);
  return end(closed ? TransferOutcome::Completed : TransferOutcome::Failed);
}

}  // namespace wk::link
