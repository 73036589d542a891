#include "link/trace_transport.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <streambuf>

#include "document/config_image.h"
#include "link/protocol.h"
#include "link/termios_transport.h"
#include "seams/clock.h"
#include "util/strformat.h"

namespace wk::link {
namespace {

// The EE-Data addresses of the password: its length byte, a zero byte and
// its characters.
constexpr std::size_t kPasswordFirst =
    image::eeAddress(image::CommonSettings.offset + image::common::PasswordCells.offset);
constexpr std::size_t kPasswordEnd = kPasswordFirst + image::common::PasswordCells.size;

bool isPassword(std::size_t eeAddress) { return eeAddress >= kPasswordFirst && eeAddress < kPasswordEnd; }

}  // namespace

TraceTransport::TraceTransport(Transport& inner, Clock& clock, std::ostream& out)
    : inner_(inner), clock_(clock), out_(out), start_(clock.now()) {}

void TraceTransport::line(const std::string& text) {
  const auto us = std::chrono::duration_cast<std::chrono::microseconds>(clock_.now() - start_).count();
  out_ << strprintf("%4lld.%06lld ", static_cast<long long>(us / 1000000), static_cast<long long>(us % 1000000))
       << text << '\n';
  out_.flush();  // a trace must survive the program's end, however it comes
}

void TraceTransport::noteLoss() {
  if (lossTraced_ || !inner_.lineLost()) return;
  lossTraced_ = true;
  line("line lost");
}

OpenStatus TraceTransport::open(const std::string& device, int baud) {
  if (inner_.isOpen()) line("close");
  const OpenStatus status = inner_.open(device, baud);
  framing_ = {};
  lossTraced_ = false;
  line(strprintf("open %s %d: ", device.c_str(), baud) +
       (status.ok() ? std::string("ok") : "failed (" + status.detail + ")"));
  return status;
}

void TraceTransport::close() {
  const bool wasOpen = inner_.isOpen();
  inner_.close();
  framing_ = {};
  if (wasOpen) line("close");
}

bool TraceTransport::setBaudRate(int baud) {
  const bool set = inner_.setBaudRate(baud);
  line(strprintf("baud %d", baud) + (set ? "" : ": failed"));
  return set;
}

std::size_t TraceTransport::write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds timeout) {
  const std::size_t n = inner_.write(bytes, timeout);
  std::string text = ">";
  for (std::size_t i = 0; i < n; ++i) text += sentByte(bytes[i]) ? " **" : strprintf(" %.2X", bytes[i]);
  if (n < bytes.size()) text += strprintf(" (%zu of %zu taken)", n, bytes.size());
  line(text);
  noteLoss();
  return n;
}

std::size_t TraceTransport::read(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout) {
  const std::size_t n = inner_.read(buffer, timeout);
  std::string text = "<";
  for (std::size_t i = 0; i < n; ++i) text += receivedByte(buffer[i]) ? " **" : strprintf(" %.2X", buffer[i]);
  if (n < buffer.size())
    text += strprintf(" (%zu of %zu, time-out %lld ms)", n, buffer.size(), static_cast<long long>(timeout.count()));
  line(text);
  noteLoss();
  return n;
}

void TraceTransport::discardInput() {
  inner_.discardInput();
  line("discard");
}

void TraceTransport::drainOutput() {
  inner_.drainOutput();
  line("drain");
}

// The PC's side of the framing. A command letter is awaited whenever no
// block is under way; a byte sent while an echo or read data were awaited
// means the PC has given up on them and starts anew.
bool TraceTransport::sentByte(std::uint8_t byte) {
  Framing& f = framing_;
  switch (f.stage) {
    case Stage::Parameters:
      f.parameters[f.got++] = byte;
      if (f.got == 4) {
        f.count = static_cast<std::size_t>(f.parameters[0] | (f.parameters[1] << 8));
        f.address = static_cast<std::size_t>(f.parameters[2] | (f.parameters[3] << 8));
        f.index = 0;
        if (f.count == 0) f.stage = Stage::Idle;
        else if (f.letter == command::kWriteEe) f.stage = Stage::WriteData;
        else if (f.letter == command::kWriteSee) f.stage = Stage::Skip;
        else if (f.letter == command::kReadEe) f.stage = Stage::ReadData;
        else f.stage = Stage::Idle;
      }
      return false;
    case Stage::Skip:
      if (--f.count == 0) f.stage = Stage::Idle;
      return false;
    case Stage::WriteData: {
      const bool hidden = isPassword(f.address + f.index);
      if (++f.index == f.count) f.stage = Stage::Idle;
      return hidden;
    }
    case Stage::Idle:
    case Stage::Echo:
    case Stage::ReadData:
      f = {};
      if (byte == command::kReadSee || byte == command::kWriteSee || byte == command::kReadEe ||
          byte == command::kWriteEe || byte == command::kSetSpeed) {
        f.stage = Stage::Echo;
        f.letter = byte;
      }
      return false;
  }
  return false;
}

// The controller's side: the echo that lets a command go on, and the data
// of an EE-Data read.
bool TraceTransport::receivedByte(std::uint8_t byte) {
  Framing& f = framing_;
  if (f.stage == Stage::Echo) {
    if (byte != f.letter) {
      f = {};
    } else if (f.letter == command::kSetSpeed) {
      f.stage = Stage::Skip;  // the speed code
      f.count = 1;
    } else {
      f.stage = Stage::Parameters;
      f.got = 0;
    }
    return false;
  }
  if (f.stage == Stage::ReadData) {
    if (f.index == f.count) {  // the closing byte
      f = {};
      return false;
    }
    return isPassword(f.address + f.index++);
  }
  return false;
}

namespace {

// An output stream onto a file descriptor, which it closes: the trace goes
// into the very file that was checked, not into whatever a name meanwhile
// stands for.
class DescriptorBuffer : public std::streambuf {
 public:
  explicit DescriptorBuffer(int fd) : fd_(fd) {}
  ~DescriptorBuffer() override {
    if (fd_ >= 0) ::close(fd_);
  }
  DescriptorBuffer(const DescriptorBuffer&) = delete;
  DescriptorBuffer& operator=(const DescriptorBuffer&) = delete;

 protected:
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    std::streamsize done = 0;
    while (done < n) {
      const ssize_t w = ::write(fd_, s + done, static_cast<std::size_t>(n - done));
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) break;
      done += w;
    }
    return done;
  }
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    const char ch = traits_type::to_char_type(c);
    return xsputn(&ch, 1) == 1 ? c : traits_type::eof();
  }

 private:
  int fd_;
};

// The port and the trace file, made before the trace that uses them.
struct TracedPortParts {
  TracedPortParts(Clock& clock, const std::string& path) : port(clock), buffer(openTraceFile(path, error)), file(&buffer) {}
  TermiosTransport port;
  std::string error;
  DescriptorBuffer buffer;
  std::ostream file;
};

class TracedPort : private TracedPortParts, public TraceTransport {
 public:
  TracedPort(Clock& clock, const std::string& path)
      : TracedPortParts(clock, path), TraceTransport(port, clock, file) {}
  const std::string& problem() const { return error; }
  void header() {
    const std::time_t now = std::time(nullptr);
    char when[64] = "";
    std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S %z", std::localtime(&now));
    file << "# watchkeep serial trace, started " << when
         << ". > the PC sent, < it received; ** hides the device password.\n";
    file.flush();
  }
};

}  // namespace

int openTraceFile(const std::string& path, std::string& why) {
  const auto refuse = [&](const char* reason) {
    why = reason;
    return -1;
  };
  // Looked at first: opening a FIFO for writing would wait for a reader.
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) return refuse("not a regular file");
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0600);
  if (fd < 0) return refuse(std::strerror(errno));
  // The trace holds the whole configuration, phone numbers included: for
  // the user's eyes only, an old trace file too.
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return refuse("not a regular file");
  }
  if ((st.st_mode & 07777) != 0600 && ::fchmod(fd, 0600) != 0) {
    const int e = errno;
    ::close(fd);
    why = std::string("cannot be made readable by its owner alone: ") + std::strerror(e);
    return -1;
  }
  return fd;
}

std::unique_ptr<Transport> makeTracedPort(Clock& clock, const std::string& path, std::string& why) {
  auto traced = std::make_unique<TracedPort>(clock, path);
  if (!traced->problem().empty()) {
    why = path + ": " + traced->problem();
    return nullptr;
  }
  traced->header();
  return traced;
}

std::unique_ptr<Transport> makeProgramTransport(Clock& clock, std::string& why) {
  const char* path = std::getenv(kTraceVariable);
  if (path && *path) {
    if (auto traced = makeTracedPort(clock, path, why)) return traced;
    why = std::string(kTraceVariable) + ": " + why;
  }
  return std::make_unique<TermiosTransport>(clock);
}

}  // namespace wk::link
