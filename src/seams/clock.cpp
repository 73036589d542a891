#include "seams/clock.h"

#include <thread>

namespace wk {
void SystemClock::sleepFor(std::chrono::milliseconds duration) { std::this_thread::sleep_for(duration); }
}  // namespace wk
