#include "cli.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>

#include "config_commands.h"
#include "device_commands.h"
#include "document/c4410_doc.h"
#include "language/translate.h"
#include "stderr_prompter.h"
#include "util/file_io.h"

namespace wk::cli {
namespace {

constexpr const char* kUsage =
    "usage: watchkeep-cli [--port PORT] [--trace FILE] COMMAND [ARGUMENTS]\n"
    "\n"
    "Keeps GZ4410 configurations as .vld files, like the Watchkeep Configurator.\n"
    "\n"
    "Commands:\n"
    "  new -o FILE          write a new configuration (the controller's defaults) to FILE\n"
    "  convert IN -o OUT    open IN as the program opens a file (older versions are\n"
    "                       converted) and save it as OUT in the current format; a\n"
    "                       file whose version cannot be read is never written over\n"
    "  read -o FILE         read the whole configuration out of the controller into\n"
    "                       FILE; nothing is written when the read fails\n"
    "  write FILE [--save-ports-output] [--backup BACKUP] [--changed]\n"
    "                       write FILE's configuration into the controller; the flag\n"
    "                       (or the \"SavePortsOutput\" setting) leaves the controller\n"
    "                       its own \"GSM managed\" output values; a file whose\n"
    "                       version cannot be read is not written; with --backup the\n"
    "                       controller's configuration is first read into BACKUP, and\n"
    "                       nothing is written when that fails; --changed writes only\n"
    "                       the blocks that differ and reads them back\n"
    "  verify FILE [--show-password]\n"
    "                       read the controller's configuration and show how it\n"
    "                       differs from what writing FILE sends (as diff does)\n"
    "  dump FILE [--json] [--all] [--show-password] [--lang FILE.lng]\n"
    "                       the whole configuration, section by section, in the\n"
    "                       program's words (disabled SMS rules only with --all), or\n"
    "                       as JSON; the password only with --show-password\n"
    "  export FILE -o CONFIG.json\n"
    "                       the configuration as JSON (password included)\n"
    "  import CONFIG.json -o FILE [--base BASE]\n"
    "                       a configuration file from JSON; what the JSON leaves out\n"
    "                       comes from BASE (default: a new configuration); any\n"
    "                       error writes nothing\n"
    "  diff A B [--lang FILE.lng] [--show-password]\n"
    "                       the differences field by field, one a line (the\n"
    "                       password only as set or not and its length)\n"
    "  schema               the JSON Schema of the JSON of export and import\n"
    "  sensors CHANNEL      search 1-Wire bus CHANNEL (1 or 2: thermosensors, 3: the\n"
    "                       iButton keys) and list what it holds, one device a line:\n"
    "                       position, ROM code, part names, description (tab-separated)\n"
    "  temp ROMCODE [--count K]\n"
    "                       measure the sensor with that ROM code (16 hex digits) K\n"
    "                       times (default 1), 800 ms apart; one reading a line, in\n"
    "                       degrees Celsius with two decimals\n"
    "  info                 the controller's model, serial number and firmware version\n"
    "  flash FILE.cod       replace the controller's firmware with the code file through\n"
    "                       its bootloader (a progress bar on a terminal); the file is\n"
    "                       read first, so nothing is sent when it cannot be used\n"
    "  health [--reset]     print the controller's eight health counters, one\n"
    "                       \"name<TAB>value\" line each; --reset first sets them to 0\n"
    "  inputs [--mode MODE] [--count K]\n"
    "                       read the eight input lines K times (default 1), 100 ms\n"
    "                       apart, each time printing one line per input as the\n"
    "                       resistance dialog shows it in MODE (default \"ATZ1\"; one\n"
    "                       of \"1K Lost\", \"0 Set\", \"1 Set\", \"0 or 1 set\",\n"
    "                       \"0 Lost\", \"1 Lost\", \"ATZ1\" to \"ATZ4\")\n"
    "\n"
    "Options:\n"
    "  --port PORT          the serial port (a device path, or ComN for /dev/ttyS(N-1));\n"
    "                       without it the \"Port\" setting is used\n"
    "  --trace FILE         append a trace of every byte on the serial line, with time\n"
    "                       stamps, to FILE, for support (the device password is shown\n"
    "                       as **); without it the variable WATCHKEEP_TRACE may name one\n"
    "  -h, --help           show this text\n"
    "\n"
    "Messages go to standard error. Exit status: 0 success, 1 the controller\n"
    "operation failed, 2 a usage or file error; diff and verify: 0 equal,\n"
    "1 different, 2 an error.\n";

struct Invocation {
  std::optional<std::string> port;
  std::vector<std::string> operands;       // positional arguments after the command
  std::map<std::string, std::string> options;  // "-o" -> value
  std::vector<std::string> flags;          // options without a value
};

int usageError(const std::string& why) {
  std::fprintf(stderr, "watchkeep-cli: %s\n%s", why.c_str(), kUsage);
  return kUsageOrFileError;
}

const std::string* option(const Invocation& inv, const std::string& name) {
  const auto it = inv.options.find(name);
  return it == inv.options.end() ? nullptr : &it->second;
}

int commandNew(const Invocation& inv) {
  const std::string* out = option(inv, "-o");
  if (!out || !inv.operands.empty()) return usageError("new takes -o FILE");
  StderrPrompter prompter;
  C4410Doc doc;
  doc.makeNew();
  return doc.save(*out, prompter) ? kSuccess : kUsageOrFileError;
}

// Whether two paths name one file (the same one through links counts).
bool sameFile(const std::string& a, const std::string& b) {
  struct stat sa {}, sb {};
  if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0) return a == b;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

int commandConvert(const Invocation& inv) {
  const std::string* out = option(inv, "-o");
  if (!out || inv.operands.size() != 1) return usageError("convert takes IN -o OUT");
  const std::string& in = inv.operands[0];
  StderrPrompter prompter;
  C4410Doc doc;
  if (!doc.open(in, prompter)) return kUsageOrFileError;
  // The fallback contents are not the file's: writing them over it would
  // destroy it, as a Save of such a document in the program would.
  if (doc.hasFallbackContents() && sameFile(in, *out)) {
    std::fprintf(stderr, "watchkeep-cli: %s was not converted: its version cannot be read, so it is left as it is\n",
                 in.c_str());
    return kUsageOrFileError;
  }
  return doc.save(*out, prompter) ? kSuccess : kUsageOrFileError;
}

int commandRead(const Invocation& inv) {
  const std::string* out = option(inv, "-o");
  if (!out || !inv.operands.empty()) return usageError("read takes -o FILE");
  return readAll(inv.port, *out);
}

// A whole decimal number from low to high; nothing otherwise.
std::optional<int> number(const std::string& text, int low, int high) {
  if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
  const int n = std::stoi(text);
  if (n < low || n > high) return std::nullopt;
  return n;
}

int commandSensors(const Invocation& inv) {
  if (inv.operands.size() != 1) return usageError("sensors takes CHANNEL");
  const auto channel = number(inv.operands[0], 1, 3);
  if (!channel) return usageError("CHANNEL is 1, 2 or 3");
  return sensors(inv.port, *channel);
}

int commandTemp(const Invocation& inv) {
  if (inv.operands.size() != 1) return usageError("temp takes ROMCODE");
  int count = 1;
  if (const std::string* k = option(inv, "--count")) {
    const auto n = number(*k, 1, 100000);
    if (!n) return usageError("--count takes a number from 1");
    count = *n;
  }
  return temperature(inv.port, inv.operands[0], count);
}

int commandWrite(const Invocation& inv) {
  if (inv.operands.size() != 1) return usageError("write takes FILE");
  const auto flag = [&](const char* name) { return std::find(inv.flags.begin(), inv.flags.end(), name) != inv.flags.end(); };
  const bool keep = flag("--save-ports-output");
  const std::string* backup = option(inv, "--backup");
  if (flag("--changed"))
    return writeChanged(inv.port, inv.operands[0], keep, backup ? std::optional<std::string>(*backup) : std::nullopt);
  if (backup) return writeWithBackup(inv.port, inv.operands[0], keep, *backup);
  return writeAll(inv.port, inv.operands[0], keep);
}

int commandInfo(const Invocation& inv) {
  if (!inv.operands.empty()) return usageError("info takes no arguments");
  return systemInfo(inv.port);
}

int commandFlash(const Invocation& inv) {
  if (inv.operands.size() != 1) return usageError("flash takes FILE.cod");
  return flash(inv.port, inv.operands[0]);
}

int commandHealth(const Invocation& inv) {
  if (!inv.operands.empty()) return usageError("health takes no operands");
  return health(inv.port, !inv.flags.empty());
}

int commandInputs(const Invocation& inv) {
  if (!inv.operands.empty()) return usageError("inputs takes no operands");
  diag::InputMode mode = diag::kStartMode;
  if (const std::string* name = option(inv, "--mode"); name && !diag::modeFromName(*name, mode))
    return usageError("unknown mode '" + *name + "'");
  long count = 1;
  if (const std::string* text = option(inv, "--count")) {
    char* end = nullptr;
    count = std::strtol(text->c_str(), &end, 10);
    if (text->empty() || *end != '\0' || count < 1 || count > 1000000)
      return usageError("--count takes a number of polls from 1");
  }
  return inputs(inv.port, mode, static_cast<int>(count));
}

bool hasFlag(const Invocation& inv, const std::string& flag) {
  return std::find(inv.flags.begin(), inv.flags.end(), flag) != inv.flags.end();
}

// --lang FILE.lng: list texts and labels in that language.
bool loadLanguage(const Invocation& inv) {
  const std::string* lang = option(inv, "--lang");
  if (!lang) return true;
  std::string reason;
  if (!readFileHead(*lang, 1, &reason)) {
    std::fprintf(stderr, "watchkeep-cli: cannot read %s: %s\n", lang->c_str(), reason.c_str());
    return false;
  }
  LoadTranslations(*lang);
  return true;
}

int commandDump(const Invocation& inv) {
  if (inv.operands.size() != 1) return usageError("dump takes FILE");
  if (!loadLanguage(inv)) return kUsageOrFileError;
  DumpOptions options;
  options.json = hasFlag(inv, "--json");
  options.all = hasFlag(inv, "--all");
  options.showPassword = hasFlag(inv, "--show-password");
  return dump(inv.operands[0], options);
}

int commandExport(const Invocation& inv) {
  const std::string* out = option(inv, "-o");
  if (!out || inv.operands.size() != 1) return usageError("export takes FILE -o CONFIG.json");
  return exportJson(inv.operands[0], *out);
}

int commandImport(const Invocation& inv) {
  const std::string* out = option(inv, "-o");
  if (!out || inv.operands.size() != 1) return usageError("import takes CONFIG.json -o FILE");
  const std::string* base = option(inv, "--base");
  return importJson(inv.operands[0], *out, base ? std::optional<std::string>(*base) : std::nullopt);
}

int commandDiff(const Invocation& inv) {
  if (inv.operands.size() != 2) return usageError("diff takes A B");
  if (!loadLanguage(inv)) return kUsageOrFileError;
  return diffFiles(inv.operands[0], inv.operands[1], hasFlag(inv, "--show-password"));
}

int commandSchema(const Invocation& inv) {
  if (!inv.operands.empty()) return usageError("schema takes no arguments");
  return schema();
}

int commandVerify(const Invocation& inv) {
  if (inv.operands.size() != 1) return usageError("verify takes FILE");
  return verify(inv.port, inv.operands[0], hasFlag(inv, "--show-password"));
}

struct Command {
  std::function<int(const Invocation&)> run;
  std::vector<std::string> valueOptions;  // options that take a value
  std::vector<std::string> flagOptions;
};

const std::map<std::string, Command>& commands() {
  static const std::map<std::string, Command> table = {
      {"new", {commandNew, {"-o"}, {}}},
      {"convert", {commandConvert, {"-o"}, {}}},
      {"read", {commandRead, {"-o"}, {}}},
      {"write", {commandWrite, {"--backup"}, {"--save-ports-output", "--changed"}}},
      {"verify", {commandVerify, {}, {"--show-password"}}},
      {"dump", {commandDump, {"--lang"}, {"--json", "--all", "--show-password"}}},
      {"export", {commandExport, {"-o"}, {}}},
      {"import", {commandImport, {"-o", "--base"}, {}}},
      {"diff", {commandDiff, {"--lang"}, {"--show-password"}}},
      {"schema", {commandSchema, {}, {}}},
      {"sensors", {commandSensors, {}, {}}},
      {"temp", {commandTemp, {"--count"}, {}}},
      {"info", {commandInfo, {}, {}}},
      {"flash", {commandFlash, {}, {}}},
      {"health", {commandHealth, {}, {"--reset"}}},
      {"inputs", {commandInputs, {"--mode", "--count"}, {}}},
  };
  return table;
}

bool contains(const std::vector<std::string>& list, const std::string& item) {
  for (const auto& s : list)
    if (s == item) return true;
  return false;
}

}  // namespace

int run(const std::vector<std::string>& args) {
  Invocation inv;
  std::size_t i = 0;
  for (; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "-h" || arg == "--help") {
      std::fputs(kUsage, stdout);
      return kSuccess;
    }
    if (arg == "--port") {
      if (i + 1 >= args.size()) return usageError("--port needs a value");
      inv.port = args[++i];
    } else if (arg.rfind("--port=", 0) == 0) {
      inv.port = arg.substr(7);
    } else if (arg == "--trace" || arg.rfind("--trace=", 0) == 0) {
      if (arg == "--trace" && i + 1 >= args.size()) return usageError("--trace needs a value");
      const std::string path = arg == "--trace" ? args[++i] : arg.substr(8);
      std::string why;
      if (!traceTo(path, why)) {
        std::fprintf(stderr, "watchkeep-cli: cannot write the trace %s\n", why.c_str());
        return kUsageOrFileError;
      }
    } else {
      break;
    }
  }
  if (i >= args.size()) return usageError("no command given");
  const auto found = commands().find(args[i]);
  if (found == commands().end()) return usageError("unknown command '" + args[i] + "'");
  const Command& command = found->second;
  for (++i; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "-h" || arg == "--help") {
      std::fputs(kUsage, stdout);
      return kSuccess;
    }
    if (contains(command.valueOptions, arg)) {
      if (i + 1 >= args.size()) return usageError(arg + " needs a value");
      inv.options[arg] = args[++i];
    } else if (contains(command.flagOptions, arg)) {
      inv.flags.push_back(arg);
    } else if (arg.size() > 1 && arg[0] == '-') {
      return usageError("unknown option '" + arg + "'");
    } else {
      inv.operands.push_back(arg);
    }
  }
  return command.run(inv);
}

}  // namespace wk::cli
