#include "cli.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "command_line.h"
#include "config_commands.h"
#include "config_json.h"
#include "device_commands.h"
#include "document/c4410_doc.h"
#include "document/vld_file.h"
#include "language/translate.h"
#include "stderr_prompter.h"
#include "util/file_io.h"

namespace wk::cli {
namespace {

// The only ports ComN names: COM1 to COM256.
constexpr unsigned kMaxComPort = 256;

int commandNew(const Invocation& inv) {
  const std::string* out = inv.option("--output");
  if (!out || !inv.operands.empty()) return usageError("new takes -o FILE");
  StderrPrompter prompter;
  C4410Doc doc;
  doc.makeNew();
  return doc.save(*out, prompter) ? kSuccess : kUsageOrFileError;
}

int commandConvert(const Invocation& inv) {
  const std::string* out = inv.option("--output");
  if (!out || inv.operands.size() != 1) return usageError("convert takes IN -o OUT");
  const std::string& in = inv.operands[0];
  StderrPrompter prompter;
  C4410Doc doc;
  if (!doc.open(in, prompter)) return kUsageOrFileError;
  // The fallback contents are not the file's: writing them over it would
  // destroy it, as a Save of such a document in the program would.
  // Nor are they to be saved elsewhere as if they were: `convert a -o b && mv b a` would lose a.
  if (doc.hasFallbackContents()) {
    if (sameFile(in, *out))
      std::fprintf(stderr, "watchkeep-cli: %s was not converted: its version cannot be read, so it is left as it is\n",
                   in.c_str());
    else
      std::fprintf(stderr, "watchkeep-cli: %s was not converted: its version cannot be read; nothing was written\n",
                   in.c_str());
    return kUsageOrFileError;
  }
  return doc.save(*out, prompter) ? kSuccess : kUsageOrFileError;
}

int commandRead(const Invocation& inv) {
  const std::string* out = inv.option("--output");
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
  if (const std::string* k = inv.option("--count")) {
    const auto n = number(*k, 1, 100000);
    if (!n) return usageError("--count takes a number from 1");
    count = *n;
  }
  return temperature(inv.port, inv.operands[0], count);
}

int commandWrite(const Invocation& inv) {
  if (inv.operands.size() != 1) return usageError("write takes FILE");
  const bool keep = inv.flag("--save-ports-output");
  const std::string* backup = inv.option("--backup");
  if (inv.flag("--changed"))
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
  return health(inv.port, inv.flag("--reset"));
}

int commandInputs(const Invocation& inv) {
  if (!inv.operands.empty()) return usageError("inputs takes no operands");
  diag::InputMode mode = diag::kStartMode;
  if (const std::string* name = inv.option("--mode"); name && !diag::modeFromName(*name, mode))
    return usageError("unknown mode '" + *name + "'");
  long count = 1;
  if (const std::string* text = inv.option("--count")) {
    char* end = nullptr;
    count = std::strtol(text->c_str(), &end, 10);
    if (text->empty() || *end != '\0' || count < 1 || count > 1000000)
      return usageError("--count takes a number of polls from 1");
  }
  return inputs(inv.port, mode, static_cast<int>(count));
}

// --lang FILE.lng: list texts and labels in that language.
bool loadLanguage(const Invocation& inv) {
  const std::string* lang = inv.option("--lang");
  if (!lang) return true;
  std::string reason;
  if (!readFileHead(*lang, 1, &reason)) {
    std::fprintf(stderr, "watchkeep-cli: %s\n", reason.c_str());
    return false;
  }
  LoadTranslations(*lang);
  return true;
}

int commandDump(const Invocation& inv) {
  if (inv.operands.size() != 1) return usageError("dump takes FILE");
  if (!loadLanguage(inv)) return kUsageOrFileError;
  DumpOptions options;
  options.json = inv.flag("--json");
  options.all = inv.flag("--all");
  options.showPassword = inv.flag("--show-password");
  return dump(inv.operands[0], options);
}

int commandExport(const Invocation& inv) {
  const std::string* out = inv.option("--output");
  if (!out || inv.operands.size() != 1) return usageError("export takes FILE -o CONFIG.json");
  return exportJson(inv.operands[0], *out);
}

int commandImport(const Invocation& inv) {
  const std::string* out = inv.option("--output");
  if (!out || inv.operands.size() != 1) return usageError("import takes CONFIG.json -o FILE");
  const std::string* base = inv.option("--base");
  return importJson(inv.operands[0], *out, base ? std::optional<std::string>(*base) : std::nullopt);
}

int commandDiff(const Invocation& inv) {
  if (inv.operands.size() != 2) return usageError("diff takes A B");
  if (!loadLanguage(inv)) return kUsageOrFileError;
  return diffFiles(inv.operands[0], inv.operands[1], inv.flag("--show-password"));
}

int commandSchema(const Invocation& inv) {
  if (!inv.operands.empty()) return usageError("schema takes no arguments");
  return schema();
}

int commandVerify(const Invocation& inv) {
  if (inv.operands.size() != 1) return usageError("verify takes FILE");
  return verify(inv.port, inv.operands[0], inv.flag("--show-password"));
}

// The commands, in the order --help lists them. A command is one entry here
// and the function that runs it.
const std::vector<CommandSpec>& commands() {
  using K = ValueKind;
  const OptionSpec output{"--output", 'o', "FILE", K::Vld, "the file to write"};
  const OptionSpec showPassword{"--show-password", 0, "", K::None, "show the device password itself"};
  const OptionSpec lang{"--lang", 0, "FILE.lng", K::Lng, "the program's words in the language of that file"};
  static const std::vector<CommandSpec> table = {
      {"new", "-o FILE", {}, "write a new configuration (the controller's defaults) to FILE", {output}, commandNew},
      {"convert", "IN -o OUT", {K::Vld},
       "open IN as the program opens a file (older versions are converted) and save it as OUT in the current "
       "format; a file whose version cannot be read is not converted",
       {output}, commandConvert},
      {"read", "-o FILE", {},
       "read the whole configuration out of the controller into FILE; nothing is written when the read fails",
       {output}, commandRead},
      {"write", "FILE [--save-ports-output] [--backup BACKUP] [--changed]", {K::Vld},
       "write FILE's configuration into the controller; a file whose version cannot be read is not written",
       {{"--save-ports-output", 0, "", K::None,
         "leave the controller its own \"GSM managed\" output values (as the \"SavePortsOutput\" setting does)"},
        {"--backup", 0, "BACKUP", K::Vld,
         "first read the controller's configuration into BACKUP; nothing is written when that fails"},
        {"--changed", 0, "", K::None, "write only the blocks that differ from the controller's, and read them back"}},
       commandWrite},
      {"verify", "FILE [--show-password]", {K::Vld},
       "read the controller's configuration and show how it differs from what writing FILE sends (as diff does)",
       {showPassword}, commandVerify},
      {"dump", "FILE [--json] [--all] [--show-password] [--lang FILE.lng]", {K::Vld},
       "the whole configuration, section by section, in the program's words, or as JSON; the password only "
       "as set or not and its length",
       {{"--json", 0, "", K::None, "as JSON"},
        {"--all", 0, "", K::None, "the disabled SMS rules too"},
        showPassword,
        lang},
       commandDump},
      {"export", "FILE -o CONFIG.json", {K::Vld}, "the configuration as JSON (password included)",
       {{"--output", 'o', "CONFIG.json", K::Json, "the JSON file to write"}}, commandExport},
      {"import", "CONFIG.json -o FILE [--base BASE]", {K::Json},
       "a configuration file from JSON; any error writes nothing",
       {output, {"--base", 0, "BASE", K::Vld, "what the JSON leaves out comes from BASE (default: a new configuration)"}},
       commandImport},
      {"diff", "A B [--lang FILE.lng] [--show-password]", {K::Vld, K::Vld},
       "the differences field by field, one a line (the password only as set or not and its length)",
       {lang, showPassword}, commandDiff},
      {"schema", "", {}, "the JSON Schema of the JSON of export and import", {}, commandSchema},
      {"sensors", "CHANNEL", {K::Channel},
       "search 1-Wire bus CHANNEL (1 or 2: thermosensors, 3: the iButton keys) and list what it holds, one "
       "device a line: position, ROM code, part names, description (tab-separated)",
       {}, commandSensors},
      {"temp", "ROMCODE [--count K]", {K::None},
       "measure the sensor with that ROM code (16 hex digits), 800 ms apart; one reading a line, in degrees "
       "Celsius with two decimals",
       {{"--count", 0, "K", K::Number, "K readings (default 1)"}}, commandTemp},
      {"info", "", {}, "the controller's model, serial number and firmware version", {}, commandInfo},
      {"flash", "FILE.cod", {K::Cod},
       "replace the controller's firmware with the code file through its bootloader; the file is read first, "
       "so nothing is sent when it cannot be used",
       {}, commandFlash},
      {"health", "[--reset]", {},
       "print the controller's eight health counters, one \"name<TAB>value\" line each",
       {{"--reset", 0, "", K::None, "first set them to 0"}}, commandHealth},
      {"inputs", "[--mode MODE] [--count K]", {},
       "read the eight input lines, 100 ms apart, each time printing one line per input as the resistance "
       "dialog shows it",
       {{"--mode", 0, "MODE", K::Mode,
         "the wiring mode (default \"ATZ1\"; one of \"1K Lost\", \"0 Set\", \"1 Set\", \"0 or 1 set\", \"0 Lost\", "
         "\"1 Lost\", \"ATZ1\" to \"ATZ4\")"},
        {"--count", 0, "K", K::Number, "K polls (default 1)"}},
       commandInputs},
  };
  return table;
}

std::string versionText() {
  return "watchkeep-cli " WK_VERSION "\nconfiguration files: version " + std::to_string(vld::kVersion) +
         "; JSON: \"" + kJsonFormat + "\" version " + std::to_string(kJsonFormatVersion) + "\n";
}

// A port name that names no port the program could mean.
std::optional<std::string> portProblem(const std::string& port) {
  if (port.empty()) return "--port needs a port name";
  if (port.find('/') != std::string::npos || port.size() <= 3) return std::nullopt;
  std::string head = port.substr(0, 3);
  for (char& c : head) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const std::string digits = port.substr(3);
  if (head != "com" || digits.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
  if (digits.size() > 3 || digits[0] == '0' || std::stoul(digits) > kMaxComPort)
    return "--port " + port + ": COM ports are numbered from 1 to " + std::to_string(kMaxComPort);
  return std::nullopt;
}

int outputErrno = 0;  // why standard output first failed

}  // namespace

bool printOut(const std::string& text, bool flush) {
  if (outputErrno != 0) return false;
  errno = 0;
  if (std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && (!flush || std::fflush(stdout) == 0) &&
      !std::ferror(stdout))
    return true;
  outputErrno = errno ? errno : EIO;
  return false;
}

// What standard output could not take is a failure, not a success: a
// script must not keep a truncated dump.
int checkedOutput(int status) {
  errno = 0;
  if (std::fflush(stdout) != 0 && outputErrno == 0) outputErrno = errno ? errno : EIO;
  if (outputErrno == 0 && std::ferror(stdout)) outputErrno = EIO;
  if (outputErrno == 0) return status;
  std::fprintf(stderr, "watchkeep-cli: cannot write the output: %s\n", std::strerror(outputErrno));
  return kUsageOrFileError;
}

int run(const std::vector<std::string>& args) {
  if (args.size() == 1 && args[0] == "--bash-completion") {
    printOut(bashCompletion(commands()));
    return checkedOutput(kSuccess);
  }
  Parsed parsed = parseCommandLine(commands(), args, versionText());
  if (parsed.done) return checkedOutput(*parsed.done);
  const Invocation& inv = parsed.invocation;
  if (inv.port)
    if (const auto problem = portProblem(*inv.port)) return usageError(*problem);
  if (inv.trace) {
    std::string why;
    if (!traceTo(*inv.trace, why)) {
      std::fprintf(stderr, "watchkeep-cli: cannot write the trace %s\n", why.c_str());
      return kUsageOrFileError;
    }
  }
  return checkedOutput(parsed.command->run(inv));
}

}  // namespace wk::cli
