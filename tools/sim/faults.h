#pragma once
// The fault injector: makes chosen commands misbehave. A fault is named by
// its kind and the command letter it strikes (--fault KIND@LETTER#NxCOUNT);
// --silent and --silent-after N are faults of the kind "silent".
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gzsim {

// The kinds every command knows. The core acts on the first three itself,
// before the handler runs; the others mean what each handler makes of them.
namespace fault {
inline constexpr std::string_view kSilent = "silent";          // from this command on, nothing at all
inline constexpr std::string_view kNoEcho = "no-echo";         // no echo, and the command is not carried out
inline constexpr std::string_view kWrongEcho = "wrong-echo";   // '?' for the echo, and not carried out
inline constexpr std::string_view kShort = "short";            // the reply stops half-way
inline constexpr std::string_view kNoEnd = "no-end";           // the closing byte is left out
inline constexpr std::string_view kWrongEnd = "wrong-end";     // '?' for the closing byte
inline constexpr std::string_view kBadStore = "bad-store";     // a write stores other bytes than it acknowledges
}  // namespace fault

struct FaultKind {
  std::string name;
  std::string help;  // one line for --help
};
const std::vector<FaultKind>& genericFaultKinds();

struct Fault {
  std::string kind;
  char letter = '*';  // '*' for any command
  long first = 1;     // occurrence, from 1
  long count = -1;    // -1: every one from first on
};

// KIND[@LETTER[#N[xCOUNT]]] with KIND one of knownKinds. Without #N every
// occurrence is struck, with it COUNT of them (default 1) from the Nth. For
// LETTER '*' the occurrences are counted over all commands.
std::optional<Fault> parseFault(const std::string& spec, const std::vector<std::string>& knownKinds);

class FaultInjector {
 public:
  void add(Fault fault) { faults_.push_back(std::move(fault)); }

  // A command with this letter has arrived: counts it.
  void begin(char letter);
  // Whether a fault of this kind strikes the command under way.
  bool strikes(std::string_view kind) const;

 private:
  std::vector<Fault> faults_;
  char letter_ = 0;
  long occurrence_ = 0;  // of this letter
  long total_ = 0;       // of every command
  long counts_[256] = {};
};

}  // namespace gzsim
