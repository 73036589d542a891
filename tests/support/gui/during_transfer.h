#pragma once
// Runs a check at every event pass while a device operation runs (the
// progress window dispatches events), until the check returns true.
#include <QObject>
#include <QTimer>
#include <functional>

#include "link/device_operation.h"

namespace wk::test {

class DuringTransfer : public QObject {
 public:
  explicit DuringTransfer(std::function<bool()> check) : check_(std::move(check)) {
    connect(&timer_, &QTimer::timeout, this, [this] {
      if (!done_ && link::DeviceOperation::running()) done_ = check_();
    });
    timer_.start(0);
  }
  bool done() const { return done_; }

 private:
  std::function<bool()> check_;
  QTimer timer_;
  bool done_ = false;
};

}  // namespace wk::test
