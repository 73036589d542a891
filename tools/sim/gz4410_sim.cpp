// gz4410-sim: a GZ4410 controller on a pseudo-terminal, for tests, demos and
// practice without hardware. It prints the path of its device on the first
// line of standard output and answers commands until SIGINT or SIGTERM.
// Standard library and POSIX only, and nothing of the program it stands in
// for: tests trust it.
//
// This file is the core: options, the state file, and the loop that takes a
// command letter, lets the fault injector have its say, echoes it and hands
// it to the handler that the table in command_table.cpp names.
#include <fcntl.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "activity.h"
#include "dispatch.h"
#include "faults.h"
#include "line.h"
#include "state_file.h"

namespace gzsim {
namespace {

struct Options {
  std::string statePath;
  std::string tracePath;
  std::string activityPath;
  bool wireTiming = true;
};

class Trace {
 public:
  explicit Trace(const std::string& path) {
    if (!path.empty()) file_ = std::fopen(path.c_str(), "a");
  }
  ~Trace() {
    if (file_) std::fclose(file_);
  }
  Trace(const Trace&) = delete;
  Trace& operator=(const Trace&) = delete;

  void line(const std::string& text) {
    if (!file_) return;
    std::fputs(text.c_str(), file_);
    std::fputc('\n', file_);
    std::fflush(file_);
  }

 private:
  std::FILE* file_ = nullptr;
};

class CommandExchange : public Exchange {
 public:
  CommandExchange(char letter, Line& line, const FaultInjector& faults, Trace& trace)
      : letter_(letter), line_(line), faults_(faults), trace_(trace) {}

  char letter() const override { return letter_; }
  std::optional<std::uint8_t> get(std::chrono::milliseconds timeout, bool anySettings) override {
    return line_.get(SteadyClock::now() + timeout, !anySettings, [this](std::uint8_t b) { garbled(b); });
  }
  void put(std::span<const std::uint8_t> bytes) override { line_.put(bytes); }
  int baud() const override { return line_.baud(); }
  void setBaud(int baud) override { line_.setBaud(baud); }

  bool fault(std::string_view kind) override {
    if (!faults_.strikes(kind)) return false;
    if (std::find(struck_.begin(), struck_.end(), kind) == struck_.end()) struck_.emplace_back(kind);
    return true;
  }

  void trace(const std::string& text) override {
    std::string out = text;
    for (const auto& kind : struck_) out += " !" + kind;
    trace_.line(out);
  }

  void garbled(std::uint8_t b) {
    trace_.line(format("garbled 0x%02X (PC line %s, controller %d)", b, line_.pcLine().c_str(), line_.baud()));
  }

 private:
  char letter_;
  Line& line_;
  const FaultInjector& faults_;
  Trace& trace_;
  std::vector<std::string> struck_;
};

void run(Line& line, const CommandTable& table, FaultInjector& faults, Trace& trace) {
  bool dead = false;
  CommandExchange idle(0, line, faults, trace);
  const auto garbled = [&](std::uint8_t b) { idle.garbled(b); };
  while (const auto byte = line.get(std::nullopt, true, garbled)) {
    const char letter = static_cast<char>(*byte);
    if (dead) {
      trace.line(format("ignored 0x%02X", *byte));
      continue;
    }
    Handler* handler = table.find(*byte);
    if (!handler) {
      trace.line(format("unknown 0x%02X", *byte));
      continue;
    }
    faults.begin(letter);
    if (faults.strikes(fault::kSilent)) {
      dead = true;
      trace.line(format("%c !silent", letter));
      continue;
    }
    if (faults.strikes(fault::kNoEcho)) {
      trace.line(format("%c !no-echo", letter));
      continue;
    }
    if (faults.strikes(fault::kWrongEcho)) {
      line.put(std::span(&kWrongByte, 1));
      trace.line(format("%c !wrong-echo", letter));
      continue;
    }
    line.put(std::span(&*byte, 1));
    CommandExchange exchange(letter, line, faults, trace);
    handler->handle(exchange);
  }
}

std::string usageText(const CommandTable& table) {
  std::string s =
      "usage: gz4410-sim [OPTIONS]\n"
      "\n"
      "A GZ4410 controller on a pseudo-terminal. Prints the device path on the first\n"
      "line of standard output, then answers until SIGINT or SIGTERM.\n"
      "\n"
      "  -h, --help        show this text\n"
      "  --state FILE      load what the controller keeps (its memories and the state\n"
      "                    of each subsystem) from FILE if it exists, save it there on\n"
      "                    exit; a file of 65536 bytes of SEE-Data and 1024 bytes of\n"
      "                    EE-Data alone is read too\n"
      "  --instant         no wire timing (by default every byte takes 10 bit times\n"
      "                    at the current speed, both ways)\n"
      "  --trace FILE      append one line per command received\n"
      "  --activity FILE   share counters of the line with a test or a benchmark\n"
      "                    through FILE (made anew; see activity.h)\n"
      "  --silent          answer nothing at all\n"
      "  --silent-after N  answer the first N commands, then nothing\n"
      "  --fault SPEC      misbehave: KIND[@LETTER[#N[xCOUNT]]], where LETTER is a\n"
      "                    command letter or * for any; N the first affected\n"
      "                    occurrence (from 1); COUNT how many (default: all when #N\n"
      "                    is absent, else 1). Repeatable.\n"
      "                    e.g. short@s#2x3   no-echo@E#10   no-end@v   silent@*#50\n"
      "                    KIND is one of:\n";
  const auto kind = [&](const FaultKind& k) { s += format("                      %-11s %s\n", k.name.c_str(), k.help.c_str()); };
  for (const FaultKind& k : genericFaultKinds()) kind(k);
  for (const auto& h : table.handlers())
    for (const FaultKind& k : h->faultKinds()) kind(k);
  for (const auto& h : table.handlers()) {
    for (const Option& o : h->options()) {
      const std::string head = o.name + (o.value.empty() ? "" : " " + o.value);
      std::string help = o.help;
      std::string pad = format("  %-17s ", head.c_str());
      if (pad.size() > 20) {
        s += "  " + head + "\n";
        pad = std::string(20, ' ');
      }
      std::size_t at = 0;
      while (at <= help.size()) {
        const std::size_t nl = help.find('\n', at);
        s += pad + help.substr(at, nl == std::string::npos ? std::string::npos : nl - at) + "\n";
        pad = std::string(20, ' ');
        if (nl == std::string::npos) break;
        at = nl + 1;
      }
    }
  }
  return s;
}

int usage(const CommandTable& table, const std::string& why) {
  std::fprintf(stderr, "gz4410-sim: %s\n%s", why.c_str(), usageText(table).c_str());
  return 2;
}

bool loadState(const std::string& path, const CommandTable& table, StateSections& sections) {
  std::string why;
  if (readStateFile(path, sections, why) == StateRead::Bad) {
    std::fprintf(stderr, "gz4410-sim: %s %s: left alone\n", path.c_str(), why.c_str());
    return false;
  }
  for (const auto& h : table.handlers()) {
    const auto found = sections.find(h->name());
    if (found == sections.end()) continue;
    if (!h->loadState(found->second, why)) {
      std::fprintf(stderr, "gz4410-sim: %s: %s: %s: left alone\n", path.c_str(), h->name().c_str(), why.c_str());
      return false;
    }
  }
  return true;
}

// Sections of handlers this simulator does not have stay as they were.
bool saveState(const std::string& path, const CommandTable& table, StateSections sections) {
  for (const auto& h : table.handlers()) {
    if (const auto bytes = h->saveState()) sections[h->name()] = *bytes;
  }
  return writeStateFile(path, sections);
}

void onSignal(int) { requestStop(); }

int simulate(int argc, char** argv) {
  CommandTable table;
  buildCommandTable(table);

  std::vector<std::string> kinds;
  for (const FaultKind& k : genericFaultKinds()) kinds.push_back(k.name);
  for (const auto& h : table.handlers())
    for (const FaultKind& k : h->faultKinds()) kinds.push_back(k.name);

  Options options;
  FaultInjector faults;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "-h" || arg == "--help") {
      std::fputs(usageText(table).c_str(), stdout);
      return 0;
    }
    if (arg == "--instant") {
      options.wireTiming = false;
      continue;
    }
    if (arg == "--silent") {
      faults.add({std::string(fault::kSilent), '*', 1, -1});
      continue;
    }
    if (arg == "--state" || arg == "--trace" || arg == "--activity" || arg == "--silent-after" || arg == "--fault") {
      if (!hasValue) return usage(table, "missing value: " + arg);
      const std::string value = argv[++i];
      if (arg == "--state") {
        options.statePath = value;
      } else if (arg == "--trace") {
        options.tracePath = value;
      } else if (arg == "--activity") {
        options.activityPath = value;
      } else if (arg == "--silent-after") {
        char* end = nullptr;
        const long n = std::strtol(value.c_str(), &end, 10);
        if (value.empty() || *end != '\0' || n < 0) return usage(table, "bad number for " + arg);
        faults.add({std::string(fault::kSilent), '*', n + 1, -1});
      } else {
        const auto f = parseFault(value, kinds);
        if (!f) return usage(table, "bad fault: " + value);
        faults.add(*f);
      }
      continue;
    }
    bool taken = false;
    for (const auto& h : table.handlers()) {
      for (const Option& o : h->options()) {
        if (o.name != arg) continue;
        if (!o.value.empty() && !hasValue) return usage(table, "missing value: " + arg);
        std::string why;
        if (!h->setOption(arg, o.value.empty() ? std::string() : argv[++i], why)) return usage(table, why);
        taken = true;
        break;
      }
      if (taken) break;
    }
    if (!taken) return usage(table, "unknown option: " + arg);
  }

  StateSections sections;
  if (!options.statePath.empty() && !loadState(options.statePath, table, sections)) return 1;
  for (const auto& h : table.handlers()) h->ready();

  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
    std::perror("gz4410-sim: pseudo-terminal");
    return 1;
  }
  const std::string device = ptsname(master);
  // Held open so that the line survives between the PC's sessions; never read.
  const int slave = open(device.c_str(), O_RDWR | O_NOCTTY);
  if (slave < 0 || fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK) != 0) {
    std::perror("gz4410-sim: pseudo-terminal");
    return 1;
  }
  prctl(PR_SET_TIMERSLACK, 1UL);  // wire timing wants microseconds, not the default 50

  struct sigaction action {};
  action.sa_handler = onSignal;
  sigemptyset(&action.sa_mask);
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) sigaction(sig, &action, nullptr);
  std::signal(SIGPIPE, SIG_IGN);

  std::unique_ptr<ActivityFile> activity;
  if (!options.activityPath.empty()) {
    activity = std::make_unique<ActivityFile>(options.activityPath, true);
    if (!activity->get()) {
      std::perror(("gz4410-sim: " + options.activityPath).c_str());
      return 1;
    }
  }

  std::printf("%s\n", device.c_str());
  std::fflush(stdout);
  {
    Line line(master, slave, options.wireTiming, activity ? activity->get() : nullptr);
    Trace trace(options.tracePath);
    run(line, table, faults, trace);
  }

  int status = 0;
  if (!options.statePath.empty() && !saveState(options.statePath, table, std::move(sections))) {
    std::fprintf(stderr, "gz4410-sim: cannot save %s\n", options.statePath.c_str());
    status = 1;
  }
  close(slave);
  close(master);
  return status;
}

}  // namespace
}  // namespace gzsim

int main(int argc, char** argv) { return gzsim::simulate(argc, argv); }
