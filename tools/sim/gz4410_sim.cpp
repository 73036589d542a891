// gz4410-sim: a GZ4410 controller on a pseudo-terminal, for tests, demos and
// practice without hardware. It prints the path of its device on the first
// line of standard output and answers the configuration commands from its own
// SEE-Data and EE-Data memories. Standard library and POSIX only, and nothing
// of the program it stands in for: tests trust it.
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <deque>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::nanoseconds;

constexpr std::size_t kSeeSize = 65536;
constexpr std::size_t kEeSize = 1024;  // configuration 0..973, health counters 974..981, the rest spare
constexpr std::uint8_t kWrongEcho = '?';
constexpr auto kParameterTimeout = std::chrono::milliseconds(1000);

const char* const kUsage =
    "usage: gz4410-sim [OPTIONS]\n"
    "\n"
    "A GZ4410 controller on a pseudo-terminal. Prints the device path on the first\n"
    "line of standard output, then answers until SIGINT or SIGTERM.\n"
    "\n"
    "  --state FILE      load the memories from FILE if it exists, save them there on\n"
    "                    exit (65536 bytes of SEE-Data, then 1024 bytes of EE-Data)\n"
    "  --version N       the configuration layout version to report (default 105)\n"
    "  --instant         no wire timing (by default every byte takes 10 bit times\n"
    "                    at the current speed, both ways)\n"
    "  --trace FILE      append one line per command received\n"
    "  --silent          answer nothing at all\n"
    "  --silent-after N  answer the first N commands, then nothing\n"
    "  --fault SPEC      misbehave: KIND[@LETTER[#N[xCOUNT]]], where KIND is\n"
    "                    silent, no-echo, wrong-echo, short, no-end or wrong-end;\n"
    "                    LETTER a command letter or * for any; N the first affected\n"
    "                    occurrence (from 1); COUNT how many (default: all when #N\n"
    "                    is absent, else 1). Repeatable.\n"
    "                    e.g. short@s#2x3   no-echo@E#10   no-end@v   silent@*#50\n";

volatile std::sig_atomic_t gStop = 0;
void onSignal(int) { gStop = 1; }

enum class FaultKind { Silent, NoEcho, WrongEcho, Short, NoEnd, WrongEnd };

struct Fault {
  FaultKind kind;
  char letter;  // '*' for any command
  long first;   // occurrence, from 1
  long count;   // -1: every one from first on
  // occurrence counts this command's letter, total every command.
  bool covers(char cmd, long occurrence, long total) const {
    if (letter != '*' && letter != cmd) return false;
    const long n = letter == '*' ? total : occurrence;
    return n >= first && (count < 0 || n < first + count);
  }
};

std::optional<Fault> parseFault(const std::string& spec) {
  static const std::pair<const char*, FaultKind> kinds[] = {
      {"silent", FaultKind::Silent}, {"no-echo", FaultKind::NoEcho}, {"wrong-echo", FaultKind::WrongEcho},
      {"short", FaultKind::Short},   {"no-end", FaultKind::NoEnd},   {"wrong-end", FaultKind::WrongEnd}};
  const std::size_t at = spec.find('@');
  const std::string kind = spec.substr(0, at);
  Fault f{FaultKind::Silent, '*', 1, -1};
  bool known = false;
  for (const auto& [name, k] : kinds)
    if (kind == name) f.kind = k, known = true;
  if (!known) return std::nullopt;
  if (at == std::string::npos) return f;
  std::string rest = spec.substr(at + 1);
  if (rest.empty()) return std::nullopt;
  f.letter = rest[0];
  rest.erase(0, 1);
  if (rest.empty()) return f;
  if (rest[0] != '#') return std::nullopt;
  char* end = nullptr;
  f.first = std::strtol(rest.c_str() + 1, &end, 10);
  f.count = 1;
  if (*end == 'x') f.count = std::strtol(end + 1, &end, 10);
  if (*end != '\0' || f.first < 1 || f.count < 1) return std::nullopt;
  return f;
}

struct Options {
  std::string statePath;
  std::string tracePath;
  long version = 105;
  bool wireTiming = true;
  std::vector<Fault> faults;
};

std::optional<speed_t> speedConstant(int baud) {
  switch (baud) {
    case 57600: return B57600;
    case 460800: return B460800;
    default: return std::nullopt;
  }
}

void sleepUntil(Clock::time_point t) {
  const auto ns = std::chrono::duration_cast<nanoseconds>(t.time_since_epoch()).count();
  const timespec ts{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR && !gStop) {
  }
}

// The serial line as the controller sees it: bytes take their wire time both
// ways, and a byte sent by a PC whose line settings differ from ours arrives
// garbled and is lost.
class Line {
 public:
  Line(int master, int slave, bool timed) : master_(master), slave_(slave), timed_(timed) {}

  int baud() const { return baud_; }
  void setBaud(int baud) { baud_ = baud; }

  // The next byte from the PC, once it has fully arrived; nothing at the
  // deadline or on a stop request. A garbled byte is reported through
  // onGarbled and skipped.
  template <typename OnGarbled>
  std::optional<std::uint8_t> get(std::optional<Clock::time_point> deadline, bool checkLine, OnGarbled onGarbled) {
    for (;;) {
      if (pending_.empty() && !fill(deadline)) return std::nullopt;
      const auto [byte, readAt] = pending_.front();
      pending_.pop_front();
      if (timed_) {
        rxFree_ = std::max(readAt, rxFree_) + byteTime();
        sleepUntil(rxFree_);
      }
      if (!checkLine || pcLineMatches()) return byte;
      onGarbled(byte);
    }
  }

  void put(const std::vector<std::uint8_t>& bytes) {
    if (bytes.empty()) return;
    if (!timed_) {
      writeAll(bytes.data(), bytes.size());
      return;
    }
    const auto start = std::max(Clock::now(), txFree_);
    const auto dueOf = [&](std::size_t i) { return start + byteTime(static_cast<long long>(i) + 1); };
    std::size_t sent = 0;
    while (sent < bytes.size()) {
      std::size_t due = sent;
      const auto now = Clock::now();
      while (due < bytes.size() && dueOf(due) <= now) ++due;
      if (due > sent) {
        writeAll(bytes.data() + sent, due - sent);
        sent = due;
      } else {
        sleepUntil(dueOf(sent));
      }
    }
    txFree_ = dueOf(bytes.size() - 1);
  }

  std::string pcLine() const {
    termios t{};
    if (tcgetattr(slave_, &t) != 0) return "unknown";
    std::string s;
    for (int baud : {57600, 460800})
      if (cfgetospeed(&t) == *speedConstant(baud)) s = std::to_string(baud);
    if (s.empty()) s = "speed code " + std::to_string(cfgetospeed(&t));
    if ((t.c_cflag & CSIZE) != CS8) s += " not 8 bits";
    if (t.c_cflag & CSTOPB) s += " 2 stop bits";
    if (t.c_cflag & PARENB) s += " parity";
    return s;
  }

 private:
  nanoseconds byteTime(long long bytes = 1) const { return nanoseconds(bytes * 10'000'000'000LL / baud_); }

  bool pcLineMatches() const {
    termios t{};
    if (tcgetattr(slave_, &t) != 0) return false;
    return cfgetospeed(&t) == *speedConstant(baud_) && (t.c_cflag & CSIZE) == CS8 && !(t.c_cflag & CSTOPB) &&
           !(t.c_cflag & PARENB);
  }

  // Once asked to stop, still takes what the PC has already sent, so that
  // every command that arrived is answered and traced before the end.
  bool fill(std::optional<Clock::time_point> deadline) {
    for (;;) {
      int wait = gStop ? 0 : 100;
      if (deadline && !gStop) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(*deadline - Clock::now()).count();
        if (left <= 0) return false;
        wait = static_cast<int>(std::min<long long>(left, wait));
      }
      pollfd p{master_, POLLIN, 0};
      if (poll(&p, 1, wait) > 0 && (p.revents & POLLIN)) {
        std::uint8_t chunk[4096];
        const ssize_t n = read(master_, chunk, sizeof chunk);
        const auto now = Clock::now();
        for (ssize_t i = 0; i < n; ++i) pending_.emplace_back(chunk[i], now);
        if (n > 0) return true;
      }
      if (gStop) return false;
    }
  }

  void writeAll(const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
      const ssize_t n = write(master_, data, size);
      if (n > 0) {
        data += n;
        size -= static_cast<std::size_t>(n);
      } else if (n < 0 && errno == EAGAIN) {
        pollfd p{master_, POLLOUT, 0};
        if (poll(&p, 1, 1000) <= 0) return;  // nobody reads: the reply is lost, as on a wire
      } else if (n < 0 && errno != EINTR) {
        return;
      }
    }
  }

  int master_;
  int slave_;
  bool timed_;
  int baud_ = 460800;
  std::deque<std::pair<std::uint8_t, Clock::time_point>> pending_;
  Clock::time_point rxFree_{};
  Clock::time_point txFree_{};
};

class Controller {
 public:
  Controller(Line& line, const Options& options) : line_(line), options_(options) {
    if (!options.tracePath.empty()) trace_ = std::fopen(options.tracePath.c_str(), "a");
  }
  ~Controller() {
    if (trace_) std::fclose(trace_);
  }

  std::vector<std::uint8_t> see = std::vector<std::uint8_t>(kSeeSize, 0);
  std::vector<std::uint8_t> ee = std::vector<std::uint8_t>(kEeSize, 0);

  void run() {
    while (const auto byte = get(std::nullopt)) handle(*byte);
  }

 private:
  std::optional<std::uint8_t> get(std::optional<Clock::time_point> deadline, bool checkLine = true) {
    return line_.get(deadline, checkLine, [&](std::uint8_t b) {
      log("garbled 0x%02X (PC line %s, controller %d)", b, line_.pcLine().c_str(), line_.baud());
    });
  }

  // count bytes that follow a command, each within the parameter time-out.
  std::optional<std::vector<std::uint8_t>> getBytes(std::size_t count) {
    std::vector<std::uint8_t> out;
    out.reserve(count);
    while (out.size() < count) {
      const auto b = get(Clock::now() + kParameterTimeout);
      if (!b) return std::nullopt;
      out.push_back(*b);
    }
    return out;
  }

  bool has(FaultKind kind) const {
    for (const Fault& f : options_.faults)
      if (f.kind == kind && f.covers(letter_, occurrence_, total_)) return true;
    return false;
  }

  template <typename... Args>
  void log(const char* format, Args... args) {
    if (!trace_) return;
    std::fprintf(trace_, format, args...);
    std::fputc('\n', trace_);
    std::fflush(trace_);
  }

  void handle(std::uint8_t cmd) {
    static const std::string kKnown = "vRsSeE";
    if (dead_) {
      log("ignored 0x%02X", cmd);
      return;
    }
    if (kKnown.find(static_cast<char>(cmd)) == std::string::npos) {
      log("unknown 0x%02X", cmd);
      return;
    }
    letter_ = static_cast<char>(cmd);
    occurrence_ = ++counts_[cmd];
    ++total_;
    for (const Fault& f : options_.faults)
      if (f.kind == FaultKind::Silent && f.covers(letter_, occurrence_, total_)) dead_ = true;
    if (dead_) {
      log("%c !silent", letter_);
      return;
    }
    if (has(FaultKind::NoEcho)) {
      log("%c !no-echo", letter_);
      return;
    }
    if (has(FaultKind::WrongEcho)) {
      line_.put({kWrongEcho});
      log("%c !wrong-echo", letter_);
      return;
    }
    line_.put({cmd});
    switch (cmd) {
      case 'v': version(); break;
      case 'R': speed(); break;
      case 's':
      case 'e': readBlock(cmd == 's' ? see : ee, cmd == 'e'); break;
      case 'S':
      case 'E': writeBlock(cmd == 'S' ? see : ee); break;
    }
  }

  std::string suffix() const {
    std::string s;
    if (has(FaultKind::Short)) s += " !short";
    if (has(FaultKind::NoEnd)) s += " !no-end";
    if (has(FaultKind::WrongEnd)) s += " !wrong-end";
    return s;
  }

  // The closing byte of a command, unless a fault takes it away or changes it.
  void closeWith(std::vector<std::uint8_t>& reply, std::uint8_t end) const {
    if (has(FaultKind::NoEnd)) return;
    reply.push_back(has(FaultKind::WrongEnd) ? kWrongEcho : end);
  }

  void version() {
    const auto v = static_cast<std::uint16_t>(options_.version);
    std::vector<std::uint8_t> reply{static_cast<std::uint8_t>(v & 0xFF), static_cast<std::uint8_t>(v >> 8)};
    if (has(FaultKind::Short)) reply.pop_back();
    closeWith(reply, 'd');
    line_.put(reply);
    log("v%s", suffix().c_str());
  }

  void speed() {
    // The code byte left the PC at the old speed, whatever its line says now.
    const auto code = get(Clock::now() + kParameterTimeout, false);
    if (!code) {
      log("R timeout");
      return;
    }
    if (*code == 0) line_.setBaud(460800);
    if (*code == 7) line_.setBaud(57600);
    log("R %d%s", *code, *code == 0 || *code == 7 ? "" : " (unknown code, speed kept)");
  }

  struct Header {
    std::size_t count;
    std::size_t address;
  };
  std::optional<Header> header() {
    const auto h = getBytes(4);
    if (!h) return std::nullopt;
    return Header{static_cast<std::size_t>((*h)[0] | ((*h)[1] << 8)), static_cast<std::size_t>((*h)[2] | ((*h)[3] << 8))};
  }

  // Bytes past the end of a memory read as 0xFF; writes there are lost.
  void readBlock(const std::vector<std::uint8_t>& memory, bool closed) {
    const auto h = header();
    if (!h) {
      log("%c timeout", letter_);
      return;
    }
    std::vector<std::uint8_t> reply(h->count, 0xFF);
    for (std::size_t i = 0; i < h->count && h->address + i < memory.size(); ++i) reply[i] = memory[h->address + i];
    if (has(FaultKind::Short)) reply.resize(h->count / 2);
    if (closed) closeWith(reply, static_cast<std::uint8_t>(letter_));
    line_.put(reply);
    log("%c %zu %zu%s", letter_, h->count, h->address, suffix().c_str());
  }

  void writeBlock(std::vector<std::uint8_t>& memory) {
    const auto h = header();
    const auto data = h ? getBytes(h->count) : std::nullopt;
    if (!data) {
      log("%c timeout", letter_);
      return;
    }
    for (std::size_t i = 0; i < h->count && h->address + i < memory.size(); ++i) memory[h->address + i] = (*data)[i];
    std::vector<std::uint8_t> reply;
    closeWith(reply, static_cast<std::uint8_t>(letter_));
    line_.put(reply);
    log("%c %zu %zu%s", letter_, h->count, h->address, suffix().c_str());
  }

  Line& line_;
  const Options& options_;
  std::FILE* trace_ = nullptr;
  bool dead_ = false;
  char letter_ = 0;
  long occurrence_ = 0;
  long total_ = 0;
  long counts_[256] = {};
};

bool loadState(const std::string& path, Controller& c) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return true;  // no file yet: empty memories
  std::vector<char> all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (all.size() != kSeeSize + kEeSize) {
    std::fprintf(stderr, "gz4410-sim: %s is %zu bytes, not %zu: left alone\n", path.c_str(), all.size(),
                 kSeeSize + kEeSize);
    return false;
  }
  std::copy_n(all.begin(), kSeeSize, c.see.begin());
  std::copy_n(all.begin() + kSeeSize, kEeSize, c.ee.begin());
  return true;
}

bool saveState(const std::string& path, const Controller& c) {
  const std::string temp = path + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(c.see.data()), static_cast<std::streamsize>(c.see.size()));
    out.write(reinterpret_cast<const char*>(c.ee.data()), static_cast<std::streamsize>(c.ee.size()));
    out.flush();
    if (!out) {
      std::remove(temp.c_str());
      return false;
    }
  }
  return std::rename(temp.c_str(), path.c_str()) == 0;
}

int usage(const char* why) {
  std::fprintf(stderr, "gz4410-sim: %s\n%s", why, kUsage);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "-h" || arg == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (arg == "--instant") {
      options.wireTiming = false;
    } else if (arg == "--silent") {
      options.faults.push_back({FaultKind::Silent, '*', 1, -1});
    } else if (!hasValue) {
      return usage(("unknown option or missing value: " + arg).c_str());
    } else if (arg == "--state") {
      options.statePath = argv[++i];
    } else if (arg == "--trace") {
      options.tracePath = argv[++i];
    } else if (arg == "--version" || arg == "--silent-after") {
      char* end = nullptr;
      const long n = std::strtol(argv[++i], &end, 10);
      if (*end != '\0' || n < 0 || n > 65535) return usage(("bad number for " + arg).c_str());
      if (arg == "--version") options.version = n;
      else options.faults.push_back({FaultKind::Silent, '*', n + 1, -1});
    } else if (arg == "--fault") {
      const auto fault = parseFault(argv[++i]);
      if (!fault) return usage(("bad fault: " + std::string(argv[i])).c_str());
      options.faults.push_back(*fault);
    } else {
      return usage(("unknown option: " + arg).c_str());
    }
  }

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

  Line line(master, slave, options.wireTiming);
  Controller controller(line, options);
  if (!options.statePath.empty() && !loadState(options.statePath, controller)) return 1;

  struct sigaction action {};
  action.sa_handler = onSignal;
  sigemptyset(&action.sa_mask);
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) sigaction(sig, &action, nullptr);
  std::signal(SIGPIPE, SIG_IGN);

  std::printf("%s\n", device.c_str());
  std::fflush(stdout);
  controller.run();

  int status = 0;
  if (!options.statePath.empty() && !saveState(options.statePath, controller)) {
    std::fprintf(stderr, "gz4410-sim: cannot save %s\n", options.statePath.c_str());
    status = 1;
  }
  close(slave);
  close(master);
  return status;
}
