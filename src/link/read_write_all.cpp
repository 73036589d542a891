#include "link/read_write_all.h"

#include <algorithm>
#include <array>
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

constexpr std::size_t kSeeReadBlock = 1024;
constexpr std::size_t kSeeWriteBlock = 128;
constexpr std::size_t kEeBlock = 2;
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

bool readSeePhase(Port& port, SeeMemory& see, Progress& progress) {
  Prompter& ui = port.prompter();
  int tries = 0;
  for (std::size_t a = 0; a + kSeeReadBlock <= see.size();) {
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
    a += kSeeReadBlock;
    report(progress, "SEE-Data byte", a);
  }
  return true;
}

bool readEePhase(Port& port, EeMemory& ee, Progress& progress) {
  Prompter& ui = port.prompter();
  for (std::size_t a = 0; a + kEeBlock <= ee.size();) {
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
    a += kEeBlock;
    report(progress, "EE-Data byte", a);
  }
  return true;
}

// The document takes what was read, with the cells that read-all clears.
void commit(C4410Doc& doc, const SeeMemory& see, const EeMemory& ee) {
  ConfigImage& img = doc.image();
  const auto seePart = img.slice(image::SeePart);
  std::copy_n(see.begin(), seePart.size(), seePart.begin());
  std::ranges::copy(ee, img.slice(image::EeBlock).begin());
  auto common = CommonSettingsView::of(img);
  common.clearReadAllCell();
  common.clearGsmManagedOutputs();
  doc.refreshSmsData();
  doc.setModified(true);
  doc.refreshEditors();
}

bool writeSeePhase(Port& port, const SeeMemory& see, Progress& progress) {
  Prompter& ui = port.prompter();
  for (std::size_t a = 0; a + kSeeWriteBlock <= see.size();) {
    progress.setPos(static_cast<int>(a));
    const BlockReply r = WriteSee(port, static_cast<std::uint16_t>(a), std::span(see).subspan(a, kSeeWriteBlock));
    if (!r.echoed()) {
      ui.message(withByte(tr("Comunication error") + " ", r.echo.value_or(kWritePlaceholder)), MessageIcon::Error);
      return false;
    }
    if (!r.closed()) {
      const std::uint8_t got = r.endMark.value_or(kWritePlaceholder);
      ui.message(strprintf("%s %zu ", tr("WRITE error").c_str(), a) + withByte("", got) + strprintf("(%X)", got),
                 MessageIcon::Error);
      return false;
    }
    a += kSeeWriteBlock;
    if (a % 512 == 0) report(progress, "SEE-Data byte", a);
  }
  return true;
}

bool writeEePhase(Port& port, const EeMemory& ee, Progress& progress) {
  Prompter& ui = port.prompter();
  const bool keepGsmManaged = port.settings().savePortsOutput() != 0;
  progress.setRange(kEeRangeTop);
  int tries = 0;
  for (std::size_t a = 0; a + kEeBlock <= ee.size();) {
    if (keepGsmManaged && a >= kGsmManagedFirst && a < kGsmManagedEnd) {
      a += kEeBlock;
      continue;
    }
    progress.setPos(static_cast<int>(a));
    const BlockReply r = WriteEe(port, static_cast<std::uint16_t>(a), std::span(ee).subspan(a, kEeBlock));
    if (!r.echoed()) {
      if (++tries >= kMaxBlockTries || port.lineLost()) {
        ui.message(strprintf("%s %zu", tr("Writing stopped: the controller did not answer at EE-Data byte").c_str(), a),
                   MessageIcon::Error);
        return false;
      }
      port.discardInput();
      continue;
    }
    tries = 0;
    if (!r.closed()) {
      ui.message(withByte(tr("WRITE Error") + " ", r.endMark.value_or(kWritePlaceholder)), MessageIcon::None);
      return false;
    }
    a += kEeBlock;
    report(progress, "EE-Data byte", a);
  }
  return true;
}

}  // namespace

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

  SeeMemory see(image::kSeeMemorySize, 0);
  EeMemory ee{};
  const auto progress = startProgress(session, "Read in progress...");
  const bool seeRead = readSeePhase(port, see, *progress);
  progress->setRange(kEeRangeTop);
  const bool eeRead = readEePhase(port, ee, *progress);
  const bool whole = seeRead && eeRead;
  if (whole) commit(doc, see, ee);

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
  doc.collectEditors();
  // With pages or without (the command line), the controller gets the same bytes.
  ApplyCollectEffects(doc.image());
  Port& port = session.port();
  if (!session.open() || !CheckVersion(port) || !SetSpeed(port, SpeedCode::Baud57600))
    return TransferOutcome::Failed;

  // A snapshot of the image; SEE-Data beyond it is written as zeros.
  SeeMemory see(image::kSeeMemorySize, 0);
  std::ranges::copy(doc.image().slice(image::SeePart), see.begin());
  EeMemory ee{};
  std::ranges::copy(doc.image().slice(image::EeBlock), ee.begin());
  const auto progress = startProgress(session, "Write in progress...");
  const bool seeWritten = writeSeePhase(port, see, *progress);
  const bool eeWritten = writeEePhase(port, ee, *progress);
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

}  // namespace wk::link
