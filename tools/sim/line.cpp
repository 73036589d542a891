#include "line.h"

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <ctime>

namespace gzsim {
namespace {

using std::chrono::nanoseconds;

volatile std::sig_atomic_t gStop = 0;

std::optional<speed_t> speedConstant(int baud) {
  switch (baud) {
    case 57600: return B57600;
    case 460800: return B460800;
    default: return std::nullopt;
  }
}

void sleepUntil(SteadyClock::time_point t) {
  const auto ns = std::chrono::duration_cast<nanoseconds>(t.time_since_epoch()).count();
  const timespec ts{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR && !gStop) {
  }
}

}  // namespace

void requestStop() { gStop = 1; }
bool stopRequested() { return gStop != 0; }

SteadyClock::duration Line::byteTime(long long bytes) const {
  return std::chrono::duration_cast<SteadyClock::duration>(nanoseconds(bytes * 10'000'000'000LL / baud_));
}

std::optional<std::uint8_t> Line::get(std::optional<SteadyClock::time_point> deadline, bool checkLine,
                                      const std::function<void(std::uint8_t)>& onGarbled) {
  for (;;) {
    if (pending_.empty() && !fill(deadline)) return std::nullopt;
    const auto [byte, sentAt] = pending_.front();
    pending_.pop_front();
    // The byte was on the wire, behind the one before it, once the PC sent
    // it; it has arrived one byte time later. No sleeping here: the reply is
    // scheduled from this moment.
    if (timed_) rxEnd_ = std::max(sentAt, rxEnd_) + byteTime();
    if (!checkLine || pcLineMatches()) return byte;
    onGarbled(byte);
  }
}

void Line::put(std::span<const std::uint8_t> bytes) {
  if (bytes.empty()) return;
  if (!timed_) {
    writeAll(bytes.data(), bytes.size());
    return;
  }
  const auto start = std::max(rxEnd_, txFree_);
  const auto dueOf = [&](std::size_t i) { return start + byteTime(static_cast<long long>(i) + 1); };
  // Bytes go out in bursts of about a millisecond of wire time, none before
  // its time and the last one exactly at its time: waking for every byte
  // would cost both ends more than the wire does.
  const auto burst = static_cast<std::size_t>(std::max(1, baud_ / 10 / 1000));
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const auto now = SteadyClock::now();
    std::size_t due = sent;
    while (due < bytes.size() && dueOf(due) <= now) ++due;
    if (due > sent) {
      if (due == bytes.size() && activity_) {
        const auto late = std::chrono::duration_cast<nanoseconds>(now - dueOf(due - 1)).count();
        activity_->lateNs.fetch_add(static_cast<std::uint64_t>(std::max<long long>(late, 0)));
      }
      writeAll(bytes.data() + sent, due - sent);
      sent = due;
    } else {
      sleepUntil(dueOf(std::min(sent + burst, bytes.size()) - 1));
    }
  }
  txFree_ = dueOf(bytes.size() - 1);
}

std::string Line::pcLine() const {
  termios t{};
  if (tcgetattr(slave_, &t) != 0) return "unknown";
  std::string s;
  for (int baud : {57600, 460800})
    if (cfgetospeed(&t) == *speedConstant(baud)) s = std::to_string(baud);
  if (s.empty()) s = "speed code " + std::to_string(cfgetospeed(&t));
  if ((t.c_cflag & CSIZE) != CS8) s += " not 8 bits";
  if (t.c_cflag & CSTOPB) s += " 2 stop bits";
  if (t.c_cflag & PARENB) s += " parity";
  return s;
}

bool Line::pcLineMatches() const {
  termios t{};
  if (tcgetattr(slave_, &t) != 0) return false;
  const auto speed = speedConstant(baud_);
  return speed && cfgetospeed(&t) == *speed && (t.c_cflag & CSIZE) == CS8 && !(t.c_cflag & CSTOPB) &&
         !(t.c_cflag & PARENB);
}

// Once asked to stop, still takes what the PC has already sent, so that every
// command that arrived is answered and traced before the end.
bool Line::fill(std::optional<SteadyClock::time_point> deadline) {
  for (;;) {
    int wait = gStop ? 0 : 100;
    if (deadline && !gStop) {
      const auto left = std::chrono::ceil<std::chrono::milliseconds>(*deadline - SteadyClock::now()).count();
      if (left <= 0) return false;
      wait = static_cast<int>(std::min<long long>(left, wait));
    }
    pollfd p{master_, POLLIN, 0};
    if (activity_) activity_->waiting.store(1);
    const int ready = poll(&p, 1, wait);
    if (activity_) activity_->waiting.store(0);
    if (ready > 0 && (p.revents & POLLIN)) {
      const auto seenAt = SteadyClock::now();
      std::uint8_t chunk[4096];
      const ssize_t n = read(master_, chunk, sizeof chunk);
      if (n > 0) {
        const auto sent = sentAt(received_, received_ + static_cast<std::uint64_t>(n), seenAt);
        for (ssize_t i = 0; i < n; ++i) pending_.emplace_back(chunk[i], sent);
        received_ += static_cast<std::uint64_t>(n);
        if (activity_) activity_->received.store(received_);
        return true;
      }
    }
    if (gStop) return false;
  }
}

// When the PC began sending the bytes from..to (counted from the start): as
// it told, when those bytes are all of its latest write; otherwise, and never
// later than, when the simulator saw them.
SteadyClock::time_point Line::sentAt(std::uint64_t from, std::uint64_t to, SteadyClock::time_point seenAt) const {
  if (!activity_) return seenAt;
  const std::uint64_t pcTo = activity_->pcTo.load();
  const std::uint64_t pcFrom = activity_->pcFrom.load();
  const std::int64_t pcAt = activity_->pcAt.load();
  if (activity_->pcTo.load() != pcTo || from < pcFrom || to > pcTo) return seenAt;
  return std::min(seenAt, SteadyClock::time_point(std::chrono::duration_cast<SteadyClock::duration>(nanoseconds(pcAt))));
}

void Line::writeAll(const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = write(master_, data, size);
    if (n > 0) {
      data += n;
      size -= static_cast<std::size_t>(n);
    } else if (n < 0 && errno == EAGAIN) {
      pollfd p{master_, POLLOUT, 0};
      if (poll(&p, 1, 1000) <= 0) return;  // nobody reads: the reply is lost, as on a wire
    } else if (n < 0 && errno != EINTR) {
      return;
    }
  }
}

}  // namespace gzsim
