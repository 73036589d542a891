#pragma once
// Waiting and the time of day, behind a seam so that tests never sleep.
#include <algorithm>
#include <chrono>

namespace wk {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual void sleepFor(std::chrono::milliseconds duration) = 0;
  virtual std::chrono::steady_clock::time_point now() = 0;

  // How long a wait that ends when this clock shows t may block on the wall
  // before it looks at the clock again; zero once t has come. A clock that
  // keeps the wall's pace lets the wait block all the way.
  virtual std::chrono::steady_clock::duration wallTimeUntil(std::chrono::steady_clock::time_point t) {
    return std::max(t - now(), std::chrono::steady_clock::duration::zero());
  }
};

// The real clock of the program.
class SystemClock : public Clock {
 public:
  void sleepFor(std::chrono::milliseconds duration) override;
  std::chrono::steady_clock::time_point now() override { return std::chrono::steady_clock::now(); }
};

}  // namespace wk
