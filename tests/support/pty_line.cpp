#include "support/pty_line.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>

namespace wk::test {

PtyLine::PtyLine() {
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) return;
  const std::string path = ::ptsname(master_);
  slave_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (slave_ < 0) return;
  termios t{};
  ::tcgetattr(slave_, &t);
  ::cfmakeraw(&t);
  ::tcsetattr(slave_, TCSANOW, &t);
  path_ = path;
}

PtyLine::~PtyLine() {
  hangUp();
  if (slave_ >= 0) ::close(slave_);
}

void PtyLine::send(const std::vector<std::uint8_t>& bytes) {
  std::size_t done = 0;
  while (master_ >= 0 && done < bytes.size()) {
    const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
}

std::vector<std::uint8_t> PtyLine::receive(std::size_t n, std::chrono::milliseconds timeout) {
  std::vector<std::uint8_t> out;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (master_ >= 0 && out.size() < n) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
    if (left <= 0) break;
    pollfd p{master_, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(left)) <= 0) break;
    std::uint8_t buffer[4096];
    const ssize_t got = ::read(master_, buffer, std::min(sizeof buffer, n - out.size()));
    if (got <= 0) break;
    out.insert(out.end(), buffer, buffer + got);
  }
  return out;
}

int PtyLine::unread() const {
  int n = 0;
  if (slave_ < 0 || ::ioctl(slave_, FIONREAD, &n) != 0) return -1;
  return n;
}

void PtyLine::hangUp() {
  if (master_ >= 0) ::close(master_);
  master_ = -1;
}

std::chrono::microseconds threadCpuTime() {
  timespec ts{};
  ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return std::chrono::seconds(ts.tv_sec) + std::chrono::duration_cast<std::chrono::microseconds>(
                                                std::chrono::nanoseconds(ts.tv_nsec));
}

}  // namespace wk::test
