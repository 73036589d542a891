#include "link/device_session.h"

#include "seams/progress.h"

namespace wk::link {
namespace {

class NoProgress : public Progress {
 public:
  void setCaption(const std::string&) override {}
  void setRange(int) override {}
  void setPos(int) override {}
  void setStatus(const std::string&) override {}
  void close() override {}
};

}  // namespace

DeviceSession::DeviceSession(const DeviceLink& link)
    : link_(link), port_(link.transport, link.settings, link.prompter, link.clock) {}

// A session that never got the operation must not close the port of the one
// that has it.
DeviceSession::~DeviceSession() {
  if (claimed()) port_.ClosePort();
}

bool DeviceSession::claim() {
  if (!claim_) claim_ = std::make_unique<DeviceOperation>();
  return claim_->acquired();
}

bool DeviceSession::open() { return claim() && port_.OpenPort(); }

std::unique_ptr<Progress> DeviceSession::startProgress() const {
  std::unique_ptr<Progress> progress = link_.makeProgress ? link_.makeProgress() : nullptr;
  return progress ? std::move(progress) : std::make_unique<NoProgress>();
}

}  // namespace wk::link
