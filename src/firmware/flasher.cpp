#include "firmware/flasher.h"

#include <chrono>
#include <memory>
#include <span>
#include <vector>

#include "firmware/code_file.h"
#include "firmware/code_filler.h"
#include "language/translate.h"
#include "link/port.h"
#include "link/protocol.h"
#include "seams/clock.h"
#include "seams/progress.h"
#include "seams/prompter.h"
#include "util/strformat.h"

namespace wk::firmware {
namespace {

constexpr std::chrono::milliseconds kEnterUpdateWait{10};

// A translated format comes from a language file: only its %d is filled in,
// never handed to printf.
std::string withNumber(std::string format, int n) {
  const auto at = format.find("%d");
  if (at != std::string::npos) format.replace(at, 2, std::to_string(n));
  return format;
}

// The file, or nothing when it cannot be used (the user was told).
std::optional<CodeFile> readFile(Prompter& ui, const std::string& path) {
  CodeFileRead read = readCodeFile(path);
  switch (read.status) {
    case CodeFileRead::Status::Read: return std::move(read.file);
    case CodeFileRead::Status::Unreadable:
      ui.message(tr("Unable to open file"), MessageIcon::Error);
      ui.note(read.reason);
      return std::nullopt;
    case CodeFileRead::Status::TooShort:
      ui.message(strprintf("%s\n%s", tr("This is no code file: it is shorter than the 128-byte header.").c_str(),
                           path.c_str()),
                 MessageIcon::Error);
      return std::nullopt;
  }
  return std::nullopt;
}

// After a failure with the progress window up: the port closed, the window
// down, then the message.
Outcome stop(link::Port& port, Progress& progress, const std::string& text, MessageIcon icon) {
  port.ClosePort();
  progress.close();
  port.prompter().message(text, icon);
  return Outcome::Failed;
}

}  // namespace

Outcome FlashFirmware(const link::DeviceLink& link, const std::string& path) {
  return FlashFirmware(link, path, CodeFiller::program());
}

Outcome FlashFirmware(const link::DeviceLink& link, const std::string& path, CodeFiller& filler) {
  link::DeviceSession session(link);
  if (!session.claim()) return Outcome::Busy;
  Prompter& ui = session.prompter();
  const std::optional<CodeFile> file = readFile(ui, path);
  if (!file) return Outcome::BadFile;
  if (!session.open()) return Outcome::Failed;
  link::Port& port = session.port();
  const std::string noAnswer = tr("Device do not answer, check cables");

  port.writeByte(command::kEnterUpdate);
  session.clock().sleepFor(kEnterUpdateWait);
  std::uint8_t reply = 0;
  if (!port.readByte(reply) || reply != command::kEnterUpdate) {
    port.ClosePort();
    ui.message(noAnswer, MessageIcon::Error);
    return Outcome::Failed;
  }
  // The filler is taken only once the bootloader has answered, as many
  // values per update as ever, so the padding stays the same sequence.
  const std::vector<std::uint8_t> code = codeImage(*file, filler);

  const std::unique_ptr<Progress> progress = session.startProgress();
  progress->setCaption(tr("Update in progress..."));
  progress->setStatus(tr("Write to flash"));
  progress->setRange(kBlockCount);

  if (link::SendCommand(port, command::kStartWriting) != command::kStartWriting)
    return stop(port, *progress, noAnswer, MessageIcon::Error);
  port.write(file->header);

  std::vector<std::uint8_t> block(kBlockSize + 1);
  for (int k = 0; k < kBlockCount; ++k) {
    progress->setPos(k);
    const auto data = std::span(code).subspan(static_cast<std::size_t>(k) * kBlockSize, kBlockSize);
    const std::uint8_t checksum = blockChecksum(data);
    std::copy(data.begin(), data.end(), block.begin());
    block[kBlockSize] = checksum;
    port.write(block);
    if (!port.readByte(reply)) {
      // A block that gets no answer at all was not taken: the rest would be
      // sent into the void and reported as a success.
      ui.note(strprintf("%s %d", tr("No answer to block").c_str(), k));
      return stop(port, *progress, noAnswer, MessageIcon::Error);
    }
    // A checksum of 'B' cannot be told from its own echo: that counts as taken.
    if (reply == command::kBadBlock && checksum != command::kBadBlock)
      return stop(port, *progress, withNumber(tr("Record faled on %d block"), k), MessageIcon::None);
  }

  ui.message(tr("Data was sent successfully!"), MessageIcon::Information);
  port.drainOutput();
  port.ClosePort();
  progress->close();
  return Outcome::Completed;
}

}  // namespace wk::firmware
