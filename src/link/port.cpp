#include "link/port.h"

#include "language/translate.h"
#include "link/termios_transport.h"
#include "link/transport.h"
#include "seams/clock.h"
#include "seams/prompter.h"
#include "seams/settings.h"

namespace wk::link {
namespace {

std::string whyNotOpened(const OpenStatus& status) {
  switch (status.kind) {
    case OpenStatus::Kind::PermissionDenied:
      return status.detail + ". " +
             tr("On Linux a serial port belongs to the group \"dialout\": add your user to it "
                "(sudo usermod -aG dialout $USER), then log out and in again.");
    case OpenStatus::Kind::Busy:
      return status.detail + ". " + tr("Close the program that uses the port and try again.");
    default: return status.detail;
  }
}

}  // namespace

Port::Port(Transport& transport, Settings& settings, Prompter& prompter, Clock& clock)
    : transport_(transport), settings_(settings), prompter_(prompter), clock_(clock) {}

// A port that never opened leaves the line alone: another operation's port
// may be open on the same transport.
Port::~Port() {
  if (opened_) ClosePort();
}

bool Port::OpenPort() {
  ClosePort();
  const std::string device = devicePathForPort(settings_.port());
  const OpenStatus status = transport_.open(device, kOpeningBaud);
  if (!status.ok()) {
    prompter_.message(tr("Port busy or not exist!"), MessageIcon::Error);
    prompter_.note(whyNotOpened(status));
    return false;
  }
  opened_ = true;
  lossNoted_ = false;
  clock_.sleepFor(kOpenSettle);
  // The PC always speaks first: whatever came in before is no reply of ours.
  transport_.discardInput();
  return true;
}

void Port::ClosePort() {
  transport_.close();
  opened_ = false;
}

bool Port::isOpen() const { return transport_.isOpen(); }

bool Port::SetPortSpeed(int baud) {
  const bool set = transport_.setBaudRate(baud);
  clock_.sleepFor(kSpeedSettle);
  return set;
}

std::size_t Port::write(std::span<const std::uint8_t> bytes) {
  const std::size_t n = transport_.write(bytes, kWriteTimeout);
  if (n < bytes.size()) noteLostLine();
  return n;
}

bool Port::writeByte(std::uint8_t byte) { return write(std::span(&byte, 1)) == 1; }

std::size_t Port::read(std::span<std::uint8_t> buffer) {
  const auto timeout = kReadBase + kReadPerByte * static_cast<long>(buffer.size());
  const std::size_t n = transport_.read(buffer, timeout);
  if (n < buffer.size()) noteLostLine();
  return n;
}

bool Port::lineLost() const { return transport_.lineLost(); }

void Port::noteLostLine() {
  if (lossNoted_ || !transport_.lineLost()) return;
  lossNoted_ = true;
  prompter_.note(tr("The line to the controller was lost: check the cable and the serial adapter."));
}

bool Port::readByte(std::uint8_t& byte) { return read(std::span(&byte, 1)) == 1; }

void Port::discardInput() { transport_.discardInput(); }

void Port::drainOutput() { transport_.drainOutput(); }

}  // namespace wk::link
