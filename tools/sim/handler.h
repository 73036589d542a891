#pragma once
// A subsystem of the controller: the commands it answers, its command-line
// options, its own fault kinds and its section of the state file. The table
// in command_table.cpp routes each command letter to one handler; README.md
// says how to add one.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "faults.h"

namespace gzsim {

using Bytes = std::vector<std::uint8_t>;

// What the controller sends in place of a wrong echo or closing byte.
inline constexpr std::uint8_t kWrongByte = '?';
// How long the controller waits for each byte that follows a command.
inline constexpr std::chrono::milliseconds kParameterTimeout{1000};

// printf into a string, for trace lines.
template <typename... Args>
std::string format(const char* fmt, Args... args) {
  char buffer[512];
  std::snprintf(buffer, sizeof buffer, fmt, args...);
  return buffer;
}

// One command under way, as its handler sees it. The echo has gone out
// already (or the command never reached the handler).
class Exchange {
 public:
  virtual ~Exchange() = default;

  virtual char letter() const = 0;

  // The next byte from the PC within timeout; nothing when none came or the
  // simulator is stopping. A byte the PC sent at line settings other than
  // the controller's is lost (and traced), unless anySettings: then it counts
  // as received (the code byte of a speed change left at the old speed).
  virtual std::optional<std::uint8_t> get(std::chrono::milliseconds timeout = kParameterTimeout,
                                          bool anySettings = false) = 0;
  // count bytes, each within timeout; nothing when one did not come.
  std::optional<Bytes> getBytes(std::size_t count, std::chrono::milliseconds timeout = kParameterTimeout);

  // Sends bytes with wire timing: the first leaves once the PC's last byte
  // has arrived and what was sent before has left.
  virtual void put(std::span<const std::uint8_t> bytes) = 0;
  void put(std::initializer_list<std::uint8_t> bytes) { put(std::span(bytes.begin(), bytes.size())); }

  virtual int baud() const = 0;
  // The controller's side of the line from now on.
  virtual void setBaud(int baud) = 0;

  // Whether a fault of this kind (generic or the handler's own) strikes this
  // command. One that does is named at the end of the command's trace lines.
  virtual bool fault(std::string_view kind) = 0;
  // Appends the closing byte end to reply, unless no-end takes it away or
  // wrong-end changes it.
  void closeWith(Bytes& reply, std::uint8_t end);

  // One line of the trace (--trace), followed by " !KIND" for every fault
  // that struck so far.
  virtual void trace(const std::string& line) = 0;
};

// A command-line option of a handler: --NAME VALUE, or --NAME alone when
// value is empty.
struct Option {
  std::string name;   // with the dashes: "--version"
  std::string value;  // what the value is, for --help: "N"; empty for a flag
  std::string help;   // one or more lines for --help, without indent
};

class Handler {
 public:
  virtual ~Handler() = default;

  // Lower case, no blanks: names the handler's section of the state file.
  virtual std::string name() const = 0;

  // Answers one command routed to this handler, after its echo.
  virtual void handle(Exchange& exchange) = 0;

  virtual std::vector<Option> options() const { return {}; }
  // One of the handler's options was given (value empty for a flag). False,
  // with why, when the value is no good.
  virtual bool setOption(const std::string& /*name*/, const std::string& /*value*/, std::string& why) {
    why = "not an option of this handler";
    return false;
  }

  // Fault kinds of this handler's own, beside the generic ones.
  virtual std::vector<FaultKind> faultKinds() const { return {}; }

  // The handler's section of the state file; nothing when it keeps no state.
  // A handler that may change its layout puts a version byte first.
  virtual std::optional<Bytes> saveState() const { return std::nullopt; }
  // The section as saved; not called when the file has none. False, with
  // why, for a section it cannot take: the simulator then does not start.
  virtual bool loadState(std::span<const std::uint8_t> /*section*/, std::string& /*why*/) { return true; }

  // Called once the options are set and the state file is read, before the
  // first command: where an option sets what the state file holds.
  virtual void ready() {}
};

}  // namespace gzsim
