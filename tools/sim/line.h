#pragma once
// The serial line as the controller sees it, on the master side of a
// pseudo-terminal. With wire timing every byte takes ten bit times at the
// line's speed, both ways, and a reply leaves once the PC's last byte has
// finished arriving: the PC's bytes are stamped with when they arrived on the
// wire, and each reply is scheduled from that stamp, not from whenever the
// simulator got round to it. A byte that the PC sent with line settings other
// than the controller's arrives garbled and is lost.
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "activity.h"

namespace gzsim {

using SteadyClock = std::chrono::steady_clock;

// Set from the signal handler: the simulator ends once it has answered what
// has already arrived.
void requestStop();
bool stopRequested();

class Line {
 public:
  // activity, when there is one, is kept up to date (see activity.h).
  Line(int master, int slave, bool timed, LineActivity* activity = nullptr)
      : master_(master), slave_(slave), timed_(timed), activity_(activity) {}

  int baud() const { return baud_; }
  void setBaud(int baud) { baud_ = baud; }

  // The next byte from the PC; nothing at the deadline or on a stop request.
  // With checkLine, a byte sent at the wrong line settings is reported
  // through onGarbled and skipped.
  std::optional<std::uint8_t> get(std::optional<SteadyClock::time_point> deadline, bool checkLine,
                                  const std::function<void(std::uint8_t)>& onGarbled);

  // Sends bytes; with wire timing the first leaves once the PC's last byte
  // has arrived and the line is free, each one byte time after the other.
  void put(std::span<const std::uint8_t> bytes);

  // The PC's line settings, for the trace: "460800", "57600 parity", ...
  std::string pcLine() const;

 private:
  SteadyClock::duration byteTime(long long bytes = 1) const;
  bool pcLineMatches() const;
  bool fill(std::optional<SteadyClock::time_point> deadline);
  SteadyClock::time_point sentAt(std::uint64_t from, std::uint64_t to, SteadyClock::time_point seenAt) const;
  void writeAll(const std::uint8_t* data, std::size_t size);

  int master_;
  int slave_;
  bool timed_;
  LineActivity* activity_;
  std::uint64_t received_ = 0;
  int baud_ = 460800;
  // Bytes read from the pseudo-terminal and not taken yet, with when the PC
  // began sending them (when the simulator saw them, if the PC does not say).
  std::deque<std::pair<std::uint8_t, SteadyClock::time_point>> pending_;
  SteadyClock::time_point rxEnd_{};   // the last byte taken had fully arrived by then
  SteadyClock::time_point txFree_{};  // the last byte sent leaves the wire then
};

}  // namespace gzsim
