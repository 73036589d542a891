#include "diagnostics/input_reader.h"

#include <algorithm>

#include "link/port.h"
#include "link/protocol.h"
#include "seams/prompter.h"
#include "util/strformat.h"

namespace wk::diag {

InputReader::InputReader(const link::DeviceLink& link) : link_(link) {}

InputReader::~InputReader() { close(); }

bool InputReader::open() {
  session_ = std::make_unique<link::DeviceSession>(link_);
  if (session_->open()) return true;
  session_.reset();
  return false;
}

void InputReader::close() { session_.reset(); }

TickResult InputReader::tick(InputMode mode, int selectedInput) {
  TickResult result;
  if (!isOpen()) return result;
  link::Port& port = session_->port();
  if (link::SendCommand(port, command::kReadInputs) != command::kReadInputs) result.error = ReadError::Echo;
  Readings readings{};
  if (port.read(readings) < readings.size()) {
    result.error = ReadError::ShortReply;
  } else {
    result.readings = readings;
    std::string text = formatReadings(readings, mode);
    if (text != shown_) {
      const int input = std::clamp(selectedInput, 1, kInputCount);
      const PictureChoice choice = pictureFor(mode, classify(mode, readings[static_cast<std::size_t>(input - 1)]).flags);
      if (choice.kind == PictureChoice::Kind::Show) picture_ = choice.id;
      if (choice.kind == PictureChoice::Kind::Clear) picture_.reset();
      shown_ = std::move(text);
      result.redraw = true;
    }
  }
  if (result.error != ReadError::None) close();
  return result;
}

void InputReader::reportError(ReadError error) {
  link_.prompter.message(strprintf("READ ERROR %d", static_cast<int>(error)), MessageIcon::Error);
}

}  // namespace wk::diag
