#pragma once
// The command line of watchkeep-cli: the commands and options as data, from
// which the parser (getopt_long), --help, the man page and the bash
// completion are all made, so that none of them drifts from the others.
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace wk::cli {

// What a value or an operand is, for the completion.
enum class ValueKind { None, Vld, Json, Cod, Lng, AnyFile, Port, Number, Channel, Mode };

struct OptionSpec {
  std::string name;        // "--json"
  char shortName = 0;      // 'o' for -o
  std::string value;       // "FILE", empty for a flag
  ValueKind kind = ValueKind::None;
  std::string help;
};

// One command line as parsed.
struct Invocation {
  std::optional<std::string> port;
  std::optional<std::string> trace;
  std::vector<std::string> operands;           // positional arguments after the command
  std::map<std::string, std::string> options;  // "--output" -> value (options by their long name)
  std::set<std::string> flags;                 // "--json", options without a value

  const std::string* option(const std::string& name) const {
    const auto it = options.find(name);
    return it == options.end() ? nullptr : &it->second;
  }
  bool flag(const std::string& name) const { return flags.count(name) > 0; }
};

struct CommandSpec {
  std::string name;
  std::string synopsis;              // "IN -o OUT"
  std::vector<ValueKind> operands;   // what the operands are, for the completion
  std::string help;
  std::vector<OptionSpec> options;
  std::function<int(const Invocation&)> run;
};

// A usage error: one line naming it and where help is, exit status 2.
int usageError(const std::string& why);

// The whole help, as --help prints it; and one command's.
std::string helpText(const std::vector<CommandSpec>& commands);
std::string commandHelpText(const CommandSpec& command);

// The bash completion script of the commands.
std::string bashCompletion(const std::vector<CommandSpec>& commands);

// A command line parsed: the command and its invocation, or the exit status
// when it is answered already (--help, --version, a usage error).
struct Parsed {
  std::optional<int> done;
  const CommandSpec* command = nullptr;
  Invocation invocation;
};

// Parses args (without the program name) against the commands. Options and
// operands may come in any order after the command; the global options
// (--port, --trace, --quiet) before it too; "--" ends the options.
// version is what --version prints.
Parsed parseCommandLine(const std::vector<CommandSpec>& commands, const std::vector<std::string>& args,
                        const std::string& version);

// Whether --quiet was given: no progress bar.
bool quiet();

}  // namespace wk::cli
