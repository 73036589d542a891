#include "link/termios_transport.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <limits>

#include "seams/clock.h"

namespace wk::link {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

std::optional<speed_t> speedConstant(int baud) {
  switch (baud) {
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    case 460800: return B460800;
    case 921600: return B921600;
    default: return std::nullopt;
  }
}

std::string reason(const std::string& device, int error) { return device + ": " + std::strerror(error); }

OpenStatus failure(OpenStatus::Kind kind, std::string detail) { return {kind, std::move(detail)}; }

// A raw line: no processing of input or output, no echo, no signals, no
// XON/XOFF, receiver on, modem-control lines ignored, 8 data bits, 1 stop
// bit, parity not checked. Parity value, CTS flow control and the DTR/RTS
// behaviour stay as the driver has them.
void makeRaw(termios& t) {
  t.c_iflag = 0;
  t.c_oflag = 0;
  t.c_lflag = 0;
  t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | CSTOPB);
  t.c_cflag |= CS8 | CREAD | CLOCAL;
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
}

}  // namespace

std::string devicePathForPort(std::string_view port) {
  if (port.find('/') != std::string_view::npos) return std::string(port);
  if (port.size() > 3 && std::tolower(static_cast<unsigned char>(port[0])) == 'c' &&
      std::tolower(static_cast<unsigned char>(port[1])) == 'o' &&
      std::tolower(static_cast<unsigned char>(port[2])) == 'm') {
    const std::string_view digits = port.substr(3);
    unsigned number = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (ec == std::errc() && end == digits.data() + digits.size() && number >= 1 && digits[0] != '0')
      return "/dev/ttyS" + std::to_string(number - 1);
  }
  return "/dev/" + std::string(port);
}

TermiosTransport::~TermiosTransport() { close(); }

OpenStatus TermiosTransport::open(const std::string& device, int baud) {
  close();
  const auto speed = speedConstant(baud);
  if (!speed) return failure(OpenStatus::Kind::Failed, device + ": unsupported speed");
  // Non-blocking, so that neither the open nor a stuck driver can hold us.
  const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    const int e = errno;
    switch (e) {
      case EACCES:
      case EPERM: return failure(OpenStatus::Kind::PermissionDenied, reason(device, e));
      case EBUSY: return failure(OpenStatus::Kind::Busy, reason(device, e));
      case ENOENT:
      case ENXIO:
      case ENODEV:
      case ENOTDIR: return failure(OpenStatus::Kind::NotFound, reason(device, e));
      default: return failure(OpenStatus::Kind::Failed, reason(device, e));
    }
  }
  termios t{};
  if (::tcgetattr(fd, &t) != 0) {
    ::close(fd);
    return failure(OpenStatus::Kind::NotASerialPort, device + ": not a serial port");
  }
  // Not shared: TIOCEXCL keeps other programs from opening the line, the lock
  // keeps out those that run as root and other instances of this program.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::ioctl(fd, TIOCEXCL) != 0) {
    const int e = errno;
    ::close(fd);
    return failure(OpenStatus::Kind::Busy, e == EWOULDBLOCK ? device + ": in use by another program"
                                                            : reason(device, e));
  }
  makeRaw(t);
  ::cfsetispeed(&t, *speed);
  ::cfsetospeed(&t, *speed);
  termios applied{};
  if (::tcsetattr(fd, TCSANOW, &t) != 0 || ::tcgetattr(fd, &applied) != 0 || ::cfgetospeed(&applied) != *speed) {
    ::ioctl(fd, TIOCNXCL);
    ::close(fd);
    return failure(OpenStatus::Kind::Failed, device + ": the line cannot be set to " + std::to_string(baud) + " baud");
  }
  fd_ = fd;
  lost_ = false;
  // USB adapters otherwise hold small replies back for their latency timer.
  // Pseudo-terminals and many drivers refuse the request; that is fine.
  serial_struct serial{};
  if (::ioctl(fd_, TIOCGSERIAL, &serial) == 0) {
    const int previous = serial.flags;
    serial.flags |= ASYNC_LOW_LATENCY;
    if (::ioctl(fd_, TIOCSSERIAL, &serial) == 0) savedSerialFlags_ = previous;
  }
  return {OpenStatus::Kind::Opened, {}};
}

void TermiosTransport::close() {
  if (fd_ < 0) return;
  if (savedSerialFlags_) {
    serial_struct serial{};
    if (::ioctl(fd_, TIOCGSERIAL, &serial) == 0) {
      serial.flags = *savedSerialFlags_;
      ::ioctl(fd_, TIOCSSERIAL, &serial);
    }
    savedSerialFlags_.reset();
  }
  // Exclusive use ends with us, even while another holder keeps the line open.
  ::ioctl(fd_, TIOCNXCL);
  ::close(fd_);
  fd_ = -1;
}

bool TermiosTransport::setBaudRate(int baud) {
  const auto speed = speedConstant(baud);
  termios t{};
  if (fd_ < 0 || !speed || ::tcgetattr(fd_, &t) != 0) return false;
  ::cfsetispeed(&t, *speed);
  ::cfsetospeed(&t, *speed);
  // TCSADRAIN: the bytes already written still leave at the old speed.
  return ::tcsetattr(fd_, TCSADRAIN, &t) == 0;
}

bool TermiosTransport::waitFor(short events, steady_clock::time_point deadline) {
  for (;;) {
    // Once the deadline has come, one last look without waiting: what had
    // arrived by then counts, even when this process got round to it late.
    const auto left = std::chrono::ceil<milliseconds>(clock_.wallTimeUntil(deadline));
    const int wait = static_cast<int>(std::min<long long>(left.count(), std::numeric_limits<int>::max()));
    pollfd p{fd_, events, 0};
    const int n = ::poll(&p, 1, wait);
    if (n > 0) {
      // A line that hung up or failed brings nothing more: no use waiting on.
      // It stays readable for ever, so this must end the wait, not poll again.
      if (p.revents & (POLLHUP | POLLERR | POLLNVAL)) lost_ = true;
      return (p.revents & events) != 0;
    }
    if (n < 0 && errno != EINTR) return false;
    if (n == 0 && wait == 0) return false;
  }
}

// Moves size bytes with step (a read or a write at an offset), waiting for
// the line between steps until the deadline. A read waits before it reads:
// right after a command the reply cannot be there yet, and a read that finds
// nothing is a system call for nothing; so is one more read after a part of
// the reply came, since the rest follows later. A write goes first: the line
// almost always takes it at once. 0 from a read with VMIN 0 means nothing is
// there, as EAGAIN does, or, on a line that hung up, that nothing will ever
// come: then the transfer ends once the line gave what it still held.
template <typename Step>
std::size_t TermiosTransport::transfer(std::size_t size, short events, milliseconds timeout, Step step) {
  if (fd_ < 0) return 0;
  const auto deadline = clock_.now() + timeout;
  std::size_t done = 0;
  bool wait = events == POLLIN;
  while (done < size) {
    if (wait && !lost_ && !waitFor(events, deadline)) break;
    const ssize_t n = step(done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
      wait = true;
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) {
      // EIO and its kin: the device is gone.
      if (errno == EIO || errno == ENXIO || errno == ENODEV) lost_ = true;
      break;
    }
    if (lost_) break;
    wait = true;
  }
  return done;
}

std::size_t TermiosTransport::write(std::span<const std::uint8_t> bytes, milliseconds timeout) {
  return transfer(bytes.size(), POLLOUT, timeout,
                  [&](std::size_t at) { return ::write(fd_, bytes.data() + at, bytes.size() - at); });
}

std::size_t TermiosTransport::read(std::span<std::uint8_t> buffer, milliseconds timeout) {
  return transfer(buffer.size(), POLLIN, timeout,
                  [&](std::size_t at) { return ::read(fd_, buffer.data() + at, buffer.size() - at); });
}

void TermiosTransport::discardInput() {
  if (fd_ >= 0) ::tcflush(fd_, TCIFLUSH);
}

void TermiosTransport::drainOutput() {
  if (fd_ >= 0) ::tcdrain(fd_);
}

}  // namespace wk::link
