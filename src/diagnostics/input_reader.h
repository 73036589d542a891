#pragma once
// The live reading of the input lines: a dialog (or the command line) opens
// the reader, calls tick() from its 100 ms timer, and ends it on every way
// out. The reader keeps the device session, and with it the open port, from
// open() until close() or its destruction.
#include <memory>
#include <optional>
#include <string>

#include "diagnostics/input_lines.h"
#include "link/device_session.h"

namespace wk::diag {

namespace command {
inline constexpr std::uint8_t kReadInputs = 'a';
}

// Why a tick ended the reading: the numbers of "READ ERROR %d".
enum class ReadError { None = 0, Echo = 1, ShortReply = 2 };

struct TickResult {
  // The readings of this tick, when they arrived whole (also on error 1).
  std::optional<Readings> readings;
  // The text differed from the one shown: text and picture are new.
  bool redraw = false;
  ReadError error = ReadError::None;
};

class InputReader {
 public:
  explicit InputReader(const link::DeviceLink& link);
  ~InputReader();  // closes the port
  InputReader(const InputReader&) = delete;
  InputReader& operator=(const InputReader&) = delete;

  // Claims the device operation and opens the port. False when another
  // operation runs or the port did not open (the user was told): then the
  // reading ends at once.
  bool open();
  bool isOpen() const { return session_ && session_->isOpen(); }

  // One exchange: 'a', the echo, eight readings. mode and selectedInput
  // (1..8) are what the controls show now. On an error the port is already
  // closed; the caller stops its timer and calls reportError().
  TickResult tick(InputMode mode, int selectedInput);

  // "READ ERROR %d" (not translated).
  void reportError(ReadError error);

  // Ends the session: closes the port and gives the operation back.
  void close();

  // Another mode or input was chosen: the next tick redraws.
  void forgetShown() { shown_.clear(); }

  const std::string& text() const { return shown_; }
  // The picture shown, or none for an empty field.
  std::optional<int> picture() const { return picture_; }

 private:
  link::DeviceLink link_;
  std::unique_ptr<link::DeviceSession> session_;
  std::string shown_;
  std::optional<int> picture_ = kStartPicture;
};

}  // namespace wk::diag
