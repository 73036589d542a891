#pragma once
// One device operation at a time in the whole program. While one runs, the
// GUI still dispatches events (the progress dialog does at every step), so the
// windows must refuse to close the document, its window or the program until
// it is over: they ask DeviceOperation::running().
#include <atomic>

namespace wk::link {

class DeviceOperation {
 public:
  // Claims the program's single device operation, unless one already runs.
  DeviceOperation() : acquired_(!running_.exchange(true)) {}
  ~DeviceOperation() {
    if (acquired_) running_ = false;
  }
  DeviceOperation(const DeviceOperation&) = delete;
  DeviceOperation& operator=(const DeviceOperation&) = delete;

  // False when another operation was already running: then do nothing.
  bool acquired() const { return acquired_; }

  static bool running() { return running_; }

 private:
  inline static std::atomic<bool> running_{false};
  bool acquired_;
};

}  // namespace wk::link
