#pragma once
// One device procedure from its start to its end. The session claims the
// program's single device operation, opens the port named in the settings
// (with the controller's settling wait), and closes the port on every way out:
// read-all, write-all, the 1-Wire search, the temperature monitor, health,
// input readings, system information and the flasher all run inside one.
//
// Live polling (the temperature monitor, the input reader) keeps its session
// between timer ticks; the dialog that owns it ends it on every way out by
// destroying it.
#include <functional>
#include <memory>

#include "link/device_operation.h"
#include "link/port.h"

namespace wk {
class Clock;
class Progress;
class Prompter;
class Settings;
}  // namespace wk

namespace wk::link {

class Transport;

// Creates the progress window when a long operation starts.
using ProgressFactory = std::function<std::unique_ptr<Progress>()>;

// How the program reaches the controller and the user: the line, the message
// boxes, the stored settings, the clock, and the progress window of long
// operations (none shown when empty).
struct DeviceLink {
  Transport& transport;
  Prompter& prompter;
  Settings& settings;
  Clock& clock;
  ProgressFactory makeProgress;
};

class DeviceSession {
 public:
  explicit DeviceSession(const DeviceLink& link);
  ~DeviceSession();  // closes the port and gives the operation back
  DeviceSession(const DeviceSession&) = delete;
  DeviceSession& operator=(const DeviceSession&) = delete;

  // Claims the program's single device operation. False when another one is
  // running: then do nothing at all.
  bool claim();
  bool claimed() const { return claim_ && claim_->acquired(); }

  // Claims the operation if that has not happened yet, then opens the port.
  // False when another operation runs (nothing shown) or the port did not open
  // (the user was told).
  bool open();
  bool isOpen() const { return port_.isOpen(); }
  // Closes the port now; the claim stays until the session ends. Harmless
  // when the port is closed.
  void closePort() { port_.ClosePort(); }

  // A progress window for this operation; one that shows nothing when the
  // link has none.
  std::unique_ptr<Progress> startProgress() const;

  Port& port() { return port_; }
  Prompter& prompter() const { return link_.prompter; }
  Settings& settings() const { return link_.settings; }
  Clock& clock() const { return link_.clock; }

 private:
  DeviceLink link_;
  std::unique_ptr<DeviceOperation> claim_;
  Port port_;
};

}  // namespace wk::link
