#include "device_commands.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "seams/qt/qt_settings.h"
#include "cli.h"
#include "command_line.h"
#include "diagnostics/health.h"
#include "diagnostics/input_reader.h"
#include "config_commands.h"
#include "document/c4410_doc.h"
#include "firmware/flasher.h"
#include "firmware/system_info.h"
#include "document/config_image.h"
#include "document/vld_file.h"
#include "link/read_write_all.h"
#include "language/translate.h"
#include "onewire/crc8.h"
#include "onewire/read_serials.h"
#include "onewire/slot_edits.h"
#include "onewire/temperature_monitor.h"
#include "link/termios_transport.h"
#include "link/trace_transport.h"
#include "seams/clock.h"
#include "seams/progress.h"
#include "stderr_prompter.h"
#include "terminal_text.h"
#include "util/file_io.h"

namespace wk::cli {
namespace {

// The stored settings, with the values given on the command line on top.
class CommandLineSettings : public Settings {
 public:
  std::string readString(std::string_view section, std::string_view key, std::string_view fallback) override {
    return given_.contains(section, key) ? given_.readString(section, key, fallback)
                                         : stored_.readString(section, key, fallback);
  }
  int readInt(std::string_view section, std::string_view key, int fallback) override {
    return given_.contains(section, key) ? given_.readInt(section, key, fallback)
                                         : stored_.readInt(section, key, fallback);
  }
  // A command line changes nothing that is stored.
  void writeString(std::string_view section, std::string_view key, std::string_view value) override {
    given_.writeString(section, key, value);
  }
  void writeInt(std::string_view section, std::string_view key, int value) override {
    given_.writeInt(section, key, value);
  }

 private:
  QtSettings stored_;
  MemorySettings given_;
};

// A bar and the percentage on one line of a terminal; nothing when standard
// error is no terminal, so that logs get the messages alone, nor with --quiet.
class TerminalProgress : public Progress {
 public:
  TerminalProgress() : terminal_(::isatty(STDERR_FILENO) == 1 && !quiet()) {}
  ~TerminalProgress() override { close(); }
  void setCaption(const std::string& caption) override { caption_ = caption; }
  void setRange(int upper) override { upper_ = upper; }
  void setPos(int pos) override {
    const int percent = upper_ > 0 ? std::clamp(pos * 100 / upper_, 0, 100) : 0;
    if (percent == shown_) return;
    shown_ = percent;
    showing_ = this;
    draw();
  }
  void setStatus(const std::string&) override {}
  void close() override {
    clearLine();
    shown_ = -1;
    if (showing_ == this) showing_ = nullptr;
  }

  // A message gets a line of its own: the bar goes, and comes back after it.
  static void beforeMessage() {
    if (showing_) showing_->clearLine();
  }
  static void afterMessage() {
    if (showing_) showing_->draw();
  }

 private:
  static constexpr int kWidth = 30;
  void draw() const {
    if (!terminal_ || shown_ < 0) return;
    const int filled = shown_ * kWidth / 100;
    std::fprintf(stderr, "\r%s [%s%s] %3d%%", caption_.c_str(), std::string(static_cast<std::size_t>(filled), '#').c_str(),
                 std::string(static_cast<std::size_t>(kWidth - filled), '.').c_str(), shown_);
    std::fflush(stderr);
  }
  void clearLine() const {
    if (terminal_ && shown_ >= 0) std::fputs("\r\033[K", stderr);
  }

  inline static TerminalProgress* showing_ = nullptr;
  bool terminal_;
  std::string caption_;
  int upper_ = 100;
  int shown_ = -1;
};

class TerminalPrompter : public StderrPrompter {
 public:
  Answer message(const std::string& text, MessageIcon icon, MessageButtons buttons) override {
    TerminalProgress::beforeMessage();
    const Answer answer = StderrPrompter::message(text, icon, buttons);
    TerminalProgress::afterMessage();
    return answer;
  }
  void note(const std::string& text) override {
    TerminalProgress::beforeMessage();
    StderrPrompter::note(text);
    TerminalProgress::afterMessage();
  }
};

std::string& tracePath() {
  static std::string path;
  return path;
}

// The serial line, traced to --trace FILE or to WATCHKEEP_TRACE.
std::unique_ptr<link::Transport> serialLine(Clock& clock) {
  std::string why;
  auto line = tracePath().empty() ? link::makeProgramTransport(clock, why)
                                  : link::makeTracedPort(clock, tracePath(), why);
  if (!why.empty()) std::fprintf(stderr, "watchkeep-cli: no serial trace: %s\n", why.c_str());
  return line ? std::move(line) : std::make_unique<link::TermiosTransport>(clock);
}

struct Link {
  explicit Link(const std::optional<std::string>& portName) {
    if (portName) settings.writeString(setting::kSection, setting::kPort, *portName);
  }
  CommandLineSettings settings;
  TerminalPrompter prompter;
  SystemClock clock;
  std::unique_ptr<link::Transport> transport = serialLine(clock);
  link::DeviceLink device{*transport, prompter, settings, clock, [] { return std::make_unique<TerminalProgress>(); }};
};

}  // namespace

int systemInfo(const std::optional<std::string>& port) {
  Link link(port);
  const firmware::SystemInfo info = firmware::QuerySystemInfo(link.device);
  if (info.outcome != firmware::Outcome::Completed) return kDeviceFailure;
  printOut(escapeControls(info.line) + "\n");
  return kSuccess;
}

int flash(const std::optional<std::string>& port, const std::string& path) {
  Link link(port);
  switch (firmware::FlashFirmware(link.device, path)) {
    case firmware::Outcome::Completed: return kSuccess;
    case firmware::Outcome::BadFile: return kUsageOrFileError;
    default: return kDeviceFailure;
  }
}

bool traceTo(const std::string& path, std::string& why) {
  // Made and checked now, so that a bad path stops before the controller is touched.
  const int fd = link::openTraceFile(path, why);
  if (fd < 0) {
    why = path + ": " + why;
    return false;
  }
  ::close(fd);
  tracePath() = path;
  return true;
}

namespace {

// Opens the file to write as write does. False, with why, when it cannot be
// sent: the fallback contents would replace the controller's configuration
// with one nobody saw.
bool openForWrite(const std::string& path, C4410Doc& doc, Prompter& prompter) {
  if (!doc.open(path, prompter)) return false;
  if (doc.hasFallbackContents()) {
    std::fprintf(stderr, "watchkeep-cli: nothing was written to the controller: the version of %s cannot be read\n",
                 path.c_str());
    return false;
  }
  return true;
}

// A backup that would replace the file itself, or cannot be written, stops
// the write before the port opens.
bool backupUsable(const std::string& path, const std::string& backupPath) {
  if (wouldReplaceInput(path, backupPath, "the backup")) return false;
  std::string reason;
  if (!canWriteFileAtomically(backupPath, &reason)) {
    std::fprintf(stderr, "watchkeep-cli: the backup: %s\n", reason.c_str());
    return false;
  }
  return true;
}

}  // namespace

int readAll(const std::optional<std::string>& port, const std::string& outPath) {
  // Found out before the port opens, not after the whole transfer; the check
  // leaves no file behind.
  std::string reason;
  if (!canWriteFileAtomically(outPath, &reason)) {
    StderrPrompter prompter;
    prompter.message(tr("Failed to save document."), MessageIcon::Error, MessageButtons::Ok);
    prompter.note(reason);
    return kUsageOrFileError;
  }
  Link link(port);
  C4410Doc doc;
  doc.makeNew();
  if (link::ReadAll(doc, link.device) != link::TransferOutcome::Completed) return kDeviceFailure;
  return doc.save(outPath, link.prompter) ? kSuccess : kUsageOrFileError;
}

int writeAll(const std::optional<std::string>& port, const std::string& path, bool keepGsmManaged) {
  Link link(port);
  if (keepGsmManaged) link.settings.writeInt(setting::kSection, setting::kSavePortsOutput, 1);
  C4410Doc doc;
  if (!openForWrite(path, doc, link.prompter)) return kUsageOrFileError;
  return link::WriteAll(doc, link.device) == link::TransferOutcome::Completed ? kSuccess
                                                                                           : kDeviceFailure;
}

int sensors(const std::optional<std::string>& port, int channel) {
  Link link(port);
  SerialList found;
  const int count = ReadChannelSerials(link.device, channel - 1, found);
  if (count < 0) return kDeviceFailure;
  for (int i = 0; i < count; ++i) {
    const onewire::DeviceTexts t = onewire::deviceTexts(found[static_cast<std::size_t>(i)]);
    printOut(std::to_string(i + 1) + "\t" + t.romText + "\t" + t.partNames + "\t" + t.description + "\n");
  }
  return kSuccess;
}

int temperature(const std::optional<std::string>& port, const std::string& romText, int count) {
  const std::optional<RomCode> sensor = RomCode::parse(romText);
  if (!sensor || OneWireCrc8(*sensor) != 0) {
    std::fprintf(stderr, "watchkeep-cli: %s is no ROM code (16 hex digits, the CRC byte last)\n", romText.c_str());
    return kUsageOrFileError;
  }
  Link link(port);
  TemperatureMonitor monitor(link.device);
  if (!monitor.start(*sensor)) return kDeviceFailure;
  for (int k = 1; k <= count; ++k) {
    // The controller measures while the monitor waits its period.
    link.clock.sleepFor(TemperatureMonitor::kPeriod);
    const std::optional<std::int16_t> reading = monitor.readReading();
    if (!reading) return kDeviceFailure;
    // Each reading as it comes; no more readings once nobody takes them.
    if (!printOut(centidegreesText(*reading) + "\n", true)) return kUsageOrFileError;
    if (k < count && !monitor.requestReading()) return kDeviceFailure;
  }
  return kSuccess;
}

int health(const std::optional<std::string>& port, bool reset) {
  Link link(port);
  const diag::HealthReport report = reset ? diag::ResetStatus(link.device) : diag::ReadStatus(link.device);
  if (!report.completed) return kDeviceFailure;
  for (int row = 0; row < diag::kHealthCounterCount; ++row)
    printOut(std::string(diag::healthCounterName(row)) + "\t" + report.counters.text(row) + "\n");
  return kSuccess;
}

int inputs(const std::optional<std::string>& port, diag::InputMode mode, int count) {
  Link link(port);
  diag::InputReader reader(link.device);
  if (!reader.open()) return kDeviceFailure;
  for (int poll = 0; poll < count; ++poll) {
    if (poll > 0) link.clock.sleepFor(std::chrono::milliseconds(100));
    reader.forgetShown();  // every poll is printed
    const diag::TickResult tick = reader.tick(mode, 1);
    if (tick.readings) {
      std::string text = reader.text();
      for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) text.replace(at, 2, "\n");
      if (!printOut(text, true)) return kUsageOrFileError;
    }
    if (tick.error != diag::ReadError::None) {
      reader.reportError(tick.error);
      return kDeviceFailure;
    }
  }
  return kSuccess;
}

int verify(const std::optional<std::string>& port, const std::string& path, bool showPassword) {
  C4410Doc file;
  if (!openVld(path, file.image())) return kUsageOrFileError;
  // A file has no pages: nothing can refuse its values.
  (void)link::CollectForWrite(file);
  Link link(port);
  C4410Doc held;
  held.makeNew();
  if (link::ReadAll(held, link.device) != link::TransferOutcome::Completed) return kUsageOrFileError;
  // The cells read-all always clears say nothing about the controller.
  ConfigImage& controller = held.image();
  const ImageBlock cleared[] = {
      {image::CommonSettings.offset + image::common::kReadAllCleared, 1},
      {image::CommonSettings.offset + image::common::GsmManagedOutputs.offset, image::common::GsmManagedOutputs.size},
  };
  for (const ImageBlock& block : cleared) {
    const auto from = file.image().slice(block);
    std::copy(from.begin(), from.end(), controller.slice(block).begin());
  }
  // The comparison of a write of the changes decides; the lines say where.
  const bool same = link::FindChangedBlocks(link::ControllerMemories::of(file.image()),
                                            link::ControllerMemories::of(controller), false)
                        .empty();
  printDifferences(file.image(), controller, showPassword);
  return same ? kSuccess : kDifferent;
}

int writeWithBackup(const std::optional<std::string>& port, const std::string& path, bool keepGsmManaged,
                    const std::string& backupPath) {
  Link link(port);
  if (keepGsmManaged) link.settings.writeInt(setting::kSection, setting::kSavePortsOutput, 1);
  C4410Doc doc;
  if (!openForWrite(path, doc, link.prompter) || !backupUsable(path, backupPath)) return kUsageOrFileError;
  C4410Doc backup;
  backup.makeNew();
  if (link::ReadAll(backup, link.device) != link::TransferOutcome::Completed) {
    std::fprintf(stderr, "watchkeep-cli: nothing was written to the controller: its configuration could not be read "
                         "into the backup\n");
    return kDeviceFailure;
  }
  // The controller's configuration as read, not as collecting the pages would leave it.
  std::string reason;
  if (!writeFileAtomically(backupPath, vld::serialize(backup.image()), &reason)) {
    std::fprintf(stderr, "watchkeep-cli: nothing was written to the controller: the backup: %s\n", reason.c_str());
    return kUsageOrFileError;
  }
  return link::WriteAll(doc, link.device) == link::TransferOutcome::Completed ? kSuccess : kDeviceFailure;
}

int writeChanged(const std::optional<std::string>& port, const std::string& path, bool keepGsmManaged,
                 const std::optional<std::string>& backupPath) {
  Link link(port);
  if (keepGsmManaged) link.settings.writeInt(setting::kSection, setting::kSavePortsOutput, 1);
  C4410Doc doc;
  if (!openForWrite(path, doc, link.prompter) || (backupPath && !backupUsable(path, *backupPath)))
    return kUsageOrFileError;
  // The read that finds the changes is the backup: saved before anything is written.
  bool backupFailed = false;
  link::BeforeWrite saveBackup;
  if (backupPath)
    saveBackup = [&](const ConfigImage& held) {
      std::string reason;
      if (writeFileAtomically(*backupPath, vld::serialize(held), &reason)) return true;
      TerminalProgress::beforeMessage();
      std::fprintf(stderr, "watchkeep-cli: nothing was written to the controller: cannot write the backup %s: %s\n",
                   backupPath->c_str(), reason.c_str());
      TerminalProgress::afterMessage();
      backupFailed = true;
      return false;
    };
  const link::TransferOutcome outcome = link::WriteChanged(doc, link.device, saveBackup);
  if (backupFailed) return kUsageOrFileError;
  return outcome == link::TransferOutcome::Completed ? kSuccess : kDeviceFailure;
}

}  // namespace wk::cli
