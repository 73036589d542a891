#pragma once
// Waiting and the time of day, behind a seam so that tests never sleep.
#include <chrono>

namespace wk {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual void sleepFor(std::chrono::milliseconds duration) = 0;
  virtual std::chrono::steady_clock::time_point now() = 0;
};

// The real clock of the program.
class SystemClock : public Clock {
 public:
  void sleepFor(std::chrono::milliseconds duration) override;
  std::chrono::steady_clock::time_point now() override { return std::chrono::steady_clock::now(); }
};

}  // namespace wk
