#pragma once
// The --activity file: a few counters that the simulator and the program that
// drives it (a test, a benchmark) share through a mapped file, both on this
// machine's steady clock.
//
// The simulator tells how many bytes it has taken from the PC and whether it
// now waits for more with nothing left to send: then nothing can come from it
// before the PC sends again, and a test's clock may run fast through a
// time-out without cutting short a reply that is merely slow to come. It also
// adds up how much later than their time its replies left (its own latency).
//
// The PC side may tell when it began writing its latest bytes: the simulator
// then times a reply from when those bytes finished arriving on the wire, not
// from when it woke up to read them.
#include <atomic>
#include <cstdint>
#include <string>

namespace gzsim {

struct LineActivity {
  // Written by the simulator.
  std::atomic<std::uint64_t> received{0};  // bytes taken from the PC
  std::atomic<std::uint32_t> waiting{0};   // 1 while it waits for the PC with nothing to send
  std::atomic<std::uint64_t> lateNs{0};    // replies' last bytes after their time, in all
  // Written by the PC side before each write: the bytes before it, the bytes
  // once it is done, and when it began (steady clock, nanoseconds).
  std::atomic<std::uint64_t> pcFrom{0};
  std::atomic<std::uint64_t> pcTo{0};
  std::atomic<std::int64_t> pcAt{0};
};
static_assert(std::atomic<std::uint64_t>::is_always_lock_free);

// The file mapped shared; create makes it (zeroed) if it is missing.
class ActivityFile {
 public:
  ActivityFile(const std::string& path, bool create);
  ~ActivityFile();
  ActivityFile(const ActivityFile&) = delete;
  ActivityFile& operator=(const ActivityFile&) = delete;

  // Null when the file could not be mapped.
  LineActivity* get() const { return activity_; }

 private:
  LineActivity* activity_ = nullptr;
};

}  // namespace gzsim
