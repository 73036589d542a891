#include "command_line.h"

#include <getopt.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "cli.h"

namespace wk::cli {
namespace {

constexpr const char* kProgram = "watchkeep-cli";
constexpr std::size_t kHelpColumn = 23;
constexpr std::size_t kWidth = 79;

bool quiet_ = false;

// The options every command takes, before or after its name.
const std::vector<OptionSpec>& globalOptions() {
  static const std::vector<OptionSpec> options = {
      {"--port", 0, "PORT", ValueKind::Port,
       "the serial port (a device path, or ComN for /dev/ttyS(N-1)); without it the \"Port\" setting is used"},
      {"--trace", 0, "FILE", ValueKind::AnyFile,
       "append a trace of every byte on the serial line, with time stamps, to FILE, for support (the device "
       "password is shown as **; the file is made readable by its owner alone); without it the variable "
       "WATCHKEEP_TRACE may name one"},
      {"--quiet", 'q', "", ValueKind::None, "no progress bar (there is none either when standard error is no terminal)"},
      {"--help", 'h', "", ValueKind::None, "show this text (after a command: that command's)"},
      {"--version", 'V', "", ValueKind::None, "show the program's version and the versions of the files it writes"},
  };
  return options;
}

// text wrapped to kWidth after head, the lines after the first indented
// by indent.
std::string wrap(const std::string& head, const std::string& text, std::size_t indent) {
  std::string out;
  std::string line = head;
  bool fresh = true;  // nothing of text on this line yet
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find(' ', at);
    if (end == std::string::npos) end = text.size();
    const std::string word = text.substr(at, end - at);
    at = end + 1;
    if (!fresh && line.size() + 1 + word.size() > kWidth) {
      out += line + "\n";
      line = std::string(indent, ' ');
      fresh = true;
    }
    line += (fresh ? "" : " ") + word;
    fresh = false;
  }
  return out + line + "\n";
}

// head, then text wrapped in the help column: beside head when it leaves room.
std::string wrapped(const std::string& head, const std::string& text) {
  const std::string column(kHelpColumn, ' ');
  if (head.size() + 1 >= kHelpColumn) return head + "\n" + wrap(column, text, kHelpColumn);
  return wrap(head + std::string(kHelpColumn - head.size(), ' '), text, kHelpColumn);
}

std::string optionHead(const OptionSpec& o, const char* lead) {
  std::string head = lead;
  if (o.shortName) head += std::string("-") + o.shortName + ", ";
  head += o.name;
  if (!o.value.empty()) head += " " + o.value;
  return head;
}

std::string optionsHelp(const std::vector<OptionSpec>& options, const char* lead) {
  std::string out;
  for (const OptionSpec& o : options) out += wrapped(optionHead(o, lead), o.help);
  return out;
}

}  // namespace

bool quiet() { return quiet_; }

int usageError(const std::string& why) {
  std::fprintf(stderr, "%s: %s (try '%s --help')\n", kProgram, why.c_str(), kProgram);
  return kUsageOrFileError;
}

std::string commandHelpText(const CommandSpec& c) {
  return wrapped("  " + c.name + (c.synopsis.empty() ? "" : " " + c.synopsis), c.help) + optionsHelp(c.options, "      ");
}

std::string helpText(const std::vector<CommandSpec>& commands) {
  std::string out = std::string("Usage: ") + kProgram + " [OPTIONS] COMMAND [ARGUMENTS]\n";
  out += wrap("",
              "Keeps GZ4410 configurations as .vld files, like the Watchkeep Configurator, and talks to the "
              "controller on its serial line.",
              0);
  out += "\nCommands:\n";
  for (const CommandSpec& c : commands) out += commandHelpText(c);
  out += "\nOptions:\n" + optionsHelp(globalOptions(), "  ") + "\n";
  out += wrap("",
              "Options and operands may come in any order after the command; \"--\" ends the options. An "
              "option's value follows it (--port PORT) or is joined to it (--port=PORT).",
              0);
  out += "\n" + wrap("",
                     "Messages go to standard error. Exit status: 0 success, 1 the controller operation failed, 2 a "
                     "usage or file error (an output that could not be written whole included); diff and verify: "
                     "0 equal, 1 different, 2 an error.",
                     0);
  return out;
}

Parsed parseCommandLine(const std::vector<CommandSpec>& commands, const std::vector<std::string>& args,
                        const std::string& version) {
  Parsed parsed;
  // getopt_long works on a writable argv of its own.
  std::vector<std::string> words{kProgram};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);

  const auto finish = [&](int status) {
    parsed.done = status;
    return parsed;
  };
  // One pass of getopt_long over argv[first..] with the given options. In
  // order (inOrder) it stops at the first operand; else it hands every
  // operand to onOperand. Returns the index after what it took, or -1 when
  // it answered or refused the command line.
  const CommandSpec* command = nullptr;
  const auto pass = [&](const std::vector<OptionSpec>& specs, std::size_t first, bool inOrder) -> int {
    std::vector<option> longs;
    std::string shorts = inOrder ? "+:" : "-:";
    for (const OptionSpec& o : specs) {
      const int code = o.shortName ? o.shortName : 256 + static_cast<int>(&o - specs.data());
      longs.push_back({o.name.c_str() + 2, o.value.empty() ? no_argument : required_argument, nullptr, code});
      if (o.shortName) shorts += std::string(1, o.shortName) + (o.value.empty() ? "" : ":");
    }
    longs.push_back({nullptr, 0, nullptr, 0});
    const int argc = static_cast<int>(argv.size() - 1 - first + 1);
    char** base = argv.data() + first - 1;  // getopt takes base[0] as the program name
    optind = 0;                             // starts afresh
    opterr = 0;
    for (;;) {
      int index = -1;
      const int c = getopt_long(argc, base, shorts.c_str(), longs.data(), &index);
      if (c == -1) break;
      if (c == 1) {
        parsed.invocation.operands.push_back(optarg);
        continue;
      }
      const std::string given = base[optind - 1];
      const bool isLong = given.starts_with("--");
      if (c == '?') {
        const std::string what = isLong ? given.substr(0, given.find('=')) : std::string("-") + static_cast<char>(optopt);
        const bool flagGivenValue = isLong && given.find('=') != std::string::npos &&
                                    std::any_of(specs.begin(), specs.end(),
                                                [&](const OptionSpec& o) { return o.name == what && o.value.empty(); });
        usageError(flagGivenValue ? what + " takes no value"
                                  : "unknown option '" + what + "'" + (command ? " for " + command->name : ""));
        return -1;
      }
      if (c == ':') {
        usageError((isLong ? given : std::string("-") + static_cast<char>(optopt)) + " needs a value");
        return -1;
      }
      const OptionSpec* spec = nullptr;
      for (const OptionSpec& o : specs)
        if ((o.shortName && c == o.shortName) || c == 256 + static_cast<int>(&o - specs.data())) spec = &o;
      if (!spec) {
        usageError("unknown option '" + given + "'");
        return -1;
      }
      if (spec->name == "--help") {
        printOut(command ? commandHelpText(*command) : helpText(commands));
        parsed.done = kSuccess;
        return -1;
      }
      if (spec->name == "--version") {
        printOut(version);
        parsed.done = kSuccess;
        return -1;
      }
      if (spec->name == "--quiet") {
        quiet_ = true;
      } else if (spec->name == "--port") {
        parsed.invocation.port = optarg;
      } else if (spec->name == "--trace") {
        parsed.invocation.trace = optarg;
      } else if (spec->value.empty()) {
        parsed.invocation.flags.insert(spec->name);
      } else {
        parsed.invocation.options[spec->name] = optarg;
      }
    }
    // What follows "--" is operands, all of it.
    for (int i = optind; i < argc; ++i)
      if (!inOrder) parsed.invocation.operands.push_back(base[i]);
    return static_cast<int>(first) + optind - 1;
  };

  const int next = pass(globalOptions(), 1, true);
  if (next < 0) return finish(parsed.done.value_or(kUsageOrFileError));
  if (static_cast<std::size_t>(next) >= words.size()) return finish(usageError("no command given"));
  const std::string name = words[static_cast<std::size_t>(next)];
  for (const CommandSpec& c : commands)
    if (c.name == name) command = &c;
  if (!command) return finish(usageError("unknown command '" + name + "'"));
  std::vector<OptionSpec> specs = command->options;
  specs.insert(specs.end(), globalOptions().begin(), globalOptions().end());
  if (pass(specs, static_cast<std::size_t>(next) + 1, false) < 0) return finish(parsed.done.value_or(kUsageOrFileError));
  parsed.command = command;
  return parsed;
}

namespace {

// The words of a value of that kind, as a bash expression filling COMPREPLY.
std::string completeKind(ValueKind kind) {
  const auto files = [](const char* pattern) {
    return std::string("_wk_files '") + pattern + "'";
  };
  switch (kind) {
    case ValueKind::Vld: return files("*.vld");
    case ValueKind::Json: return files("*.json");
    case ValueKind::Cod: return files("*.cod");
    case ValueKind::Lng: return files("*.lng");
    case ValueKind::AnyFile: return files("*");
    case ValueKind::Port: return "_wk_ports";
    case ValueKind::Channel: return "COMPREPLY=($(compgen -W '1 2 3' -- \"$cur\"))";
    case ValueKind::Mode: return "_wk_modes";
    case ValueKind::Number:
    case ValueKind::None: break;
  }
  return "COMPREPLY=()";
}

std::string optionWords(const std::vector<OptionSpec>& options) {
  std::string out;
  for (const OptionSpec& o : options) {
    out += (out.empty() ? "" : " ") + o.name;
    if (o.shortName) out += std::string(" -") + o.shortName;
  }
  return out;
}

}  // namespace

std::string bashCompletion(const std::vector<CommandSpec>& commands) {
  std::string commandNames;
  for (const CommandSpec& c : commands) commandNames += (commandNames.empty() ? "" : " ") + c.name;
  std::string valueCases;
  const auto addValues = [&](const std::vector<OptionSpec>& options) {
    for (const OptionSpec& o : options) {
      if (o.value.empty()) continue;
      std::string names = o.name;
      if (o.shortName) names += std::string("|-") + o.shortName;
      valueCases += "      " + names + ") " + completeKind(o.kind) + "; return ;;\n";
    }
  };
  addValues(globalOptions());
  // Every option that takes a value, to skip that value when counting operands.
  std::set<std::string> valued;
  const auto addValued = [&](const std::vector<OptionSpec>& options) {
    for (const OptionSpec& o : options)
      if (!o.value.empty()) {
        valued.insert(o.name);
        if (o.shortName) valued.insert(std::string("-") + o.shortName);
      }
  };
  addValued(globalOptions());
  for (const CommandSpec& c : commands) addValued(c.options);
  std::string valueOptionNames;
  for (const std::string& v : valued) valueOptionNames += (valueOptionNames.empty() ? "" : "|") + v;
  std::string commandCases;
  for (const CommandSpec& c : commands) {
    std::string operandCases;
    for (std::size_t i = 0; i < c.operands.size(); ++i)
      operandCases += "          " + std::to_string(i) + ") " + completeKind(c.operands[i]) + " ;;\n";
    std::string options;
    for (const OptionSpec& o : c.options)
      if (!o.value.empty()) {
        std::string names = o.name;
        if (o.shortName) names += std::string("|-") + o.shortName;
        options += "          " + names + ") " + completeKind(o.kind) + "; return ;;\n";
      }
    commandCases += "    " + c.name + ")\n" +
                    "      case \"$prev\" in\n" + options + "      esac\n" +
                    "      if [[ $cur == -* ]]; then\n" +
                    "        COMPREPLY=($(compgen -W '" + optionWords(c.options) + " " + optionWords(globalOptions()) +
                    "' -- \"$cur\"))\n" +
                    "        return\n" +
                    "      fi\n" +
                    "      case $operand in\n" + operandCases + "      esac ;;\n";
  }
  return "# bash completion for watchkeep-cli, made by watchkeep-cli itself from its table of commands.\n"
         "_wk_files() {\n"
         "  compopt -o filenames 2>/dev/null\n"
         "  local IFS=$'\\n'\n"
         "  COMPREPLY=($(compgen -d -- \"$cur\") $(compgen -f -X \"!$1\" -- \"$cur\"))\n"
         "}\n"
         "_wk_ports() {\n"
         "  local IFS=$'\\n'\n"
         "  COMPREPLY=($(compgen -W \"$(ls -1 /dev/serial/by-id/* /dev/ttyUSB* /dev/ttyACM* 2>/dev/null)\" -- \"$cur\"))\n"
         "}\n"
         "_wk_modes() {\n"
         "  local IFS=$'\\n'\n"
         "  COMPREPLY=($(compgen -W $'1K Lost\\n0 Set\\n1 Set\\n0 or 1 set\\n0 Lost\\n1 Lost\\nATZ1\\nATZ2\\nATZ3\\nATZ4' -- \"$cur\"))\n"
         "  local i; for i in \"${!COMPREPLY[@]}\"; do COMPREPLY[$i]=$(printf %q \"${COMPREPLY[$i]}\"); done\n"
         "}\n"
         "_watchkeep_cli() {\n"
         "  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
         "  local command='' operand=0 i word skip=0 ended=0\n"
         "  # The command and how many operands come before the word completed.\n"
         "  for ((i = 1; i < COMP_CWORD; i++)); do\n"
         "    word=${COMP_WORDS[i]}\n"
         "    if ((skip)); then skip=0; continue; fi\n"
         "    if ((!ended)) && [[ $word == -- ]]; then ended=1; continue; fi\n"
         "    if ((!ended)) && [[ $word == -* ]]; then\n"
         "      case $word in " + valueOptionNames + ") skip=1 ;; esac\n"
         "      continue\n"
         "    fi\n"
         "    if [[ -z $command ]]; then command=$word; else ((operand++)); fi\n"
         "  done\n"
         "  case \"$prev\" in\n" +
         valueCases +
         "  esac\n"
         "  if [[ -z $command ]]; then\n"
         "    if [[ $cur == -* ]]; then\n"
         "      COMPREPLY=($(compgen -W '" + optionWords(globalOptions()) + "' -- \"$cur\"))\n"
         "    else\n"
         "      COMPREPLY=($(compgen -W '" + commandNames + "' -- \"$cur\"))\n"
         "    fi\n"
         "    return\n"
         "  fi\n"
         "  case $command in\n" +
         commandCases +
         "  esac\n"
         "}\n"
         "complete -F _watchkeep_cli watchkeep-cli\n";
}

}  // namespace wk::cli
