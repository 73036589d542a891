// gz4410-sim on its own, talked to with plain POSIX calls and nothing of the
// program's link code: the tests of the program trust what it does.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "sim_launcher.h"
#include "support/process.h"
#include "support/temp_dir.h"

namespace wk::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;
using std::chrono::milliseconds;
using SteadyClock = std::chrono::steady_clock;

// Bytes that must come are waited for this long, against a hang only: a busy
// machine may hold the simulator up for long. Bytes that must not come are
// looked for during kGlance: a short look can miss a stray byte (the next
// reply or the trace then shows it), but never fails a right answer.
constexpr milliseconds kHangGuard{20000};
constexpr milliseconds kGlance{100};

// A raw 8N1 line on the simulator's device.
class Client {
 public:
  explicit Client(const std::string& device, speed_t speed = B460800) {
    fd_ = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    EXPECT_GE(fd_, 0) << device;
    setSpeed(speed);
  }
  ~Client() {
    if (fd_ >= 0) ::close(fd_);
  }
  void setSpeed(speed_t speed) {
    termios t{};
    ::tcgetattr(fd_, &t);
    ::cfmakeraw(&t);
    ::cfsetispeed(&t, speed);
    ::cfsetospeed(&t, speed);
    ::tcsetattr(fd_, TCSANOW, &t);
  }
  void send(const Bytes& bytes) { ASSERT_EQ(::write(fd_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size())); }
  // Up to n bytes, waiting at most timeout for them all.
  Bytes receive(std::size_t n, milliseconds timeout = kHangGuard) {
    Bytes out;
    const auto deadline = SteadyClock::now() + timeout;
    while (out.size() < n) {
      const auto left = std::chrono::duration_cast<milliseconds>(deadline - SteadyClock::now()).count();
      if (left <= 0) break;
      pollfd p{fd_, POLLIN, 0};
      if (::poll(&p, 1, static_cast<int>(left)) <= 0) break;
      std::uint8_t buffer[4096];
      const ssize_t got = ::read(fd_, buffer, std::min(sizeof buffer, n - out.size()));
      if (got > 0) out.insert(out.end(), buffer, buffer + got);
    }
    return out;
  }
  // Sends a command and returns the expected number of bytes, or what came
  // back within timeout.
  Bytes ask(const Bytes& bytes, std::size_t expect, milliseconds timeout = kHangGuard) {
    send(bytes);
    return receive(expect, timeout);
  }
  // Nothing more came within a glance.
  bool nothingMore() { return receive(1, kGlance).empty(); }

 private:
  int fd_ = -1;
};

Bytes header(std::uint8_t letter, std::uint16_t count, std::uint16_t address) {
  return {letter, static_cast<std::uint8_t>(count), static_cast<std::uint8_t>(count >> 8),
          static_cast<std::uint8_t>(address), static_cast<std::uint8_t>(address >> 8)};
}

// Commands go one step at a time, as the PC sends them: letter, echo, rest;
// replySize is what the reply must have.
Bytes command(Client& c, std::uint8_t letter, const Bytes& rest, std::size_t replySize) {
  Bytes echo = c.ask({letter}, 1);
  if (echo != Bytes{letter}) return echo;
  c.send(rest);
  Bytes reply = c.receive(replySize);
  echo.insert(echo.end(), reply.begin(), reply.end());
  return echo;
}

Bytes params(std::uint16_t count, std::uint16_t address, const Bytes& data = {}) {
  Bytes b = header(0, count, address);
  b.erase(b.begin());
  b.insert(b.end(), data.begin(), data.end());
  return b;
}

std::vector<std::string> lines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> out;
  for (std::string l; std::getline(in, l);) out.push_back(l);
  return out;
}

struct Sim {
  test::TempDir dir;
  std::string state = dir.file("state");
  std::string trace = dir.file("trace");
  std::unique_ptr<Simulator> sim;
  explicit Sim(std::vector<std::string> extra = {}, const Memories* initial = nullptr) {
    if (initial) writeState(state, *initial);
    std::vector<std::string> args{"--instant", "--state", state, "--trace", trace};
    args.insert(args.end(), extra.begin(), extra.end());
    sim = std::make_unique<Simulator>(args);
    EXPECT_EQ(sim->device().rfind("/dev/pts/", 0), 0u) << sim->device();
  }
  std::vector<std::string> stopAndTrace() {
    EXPECT_EQ(sim->stop(), 0);
    return lines(trace);
  }
};

TEST(Simulator, AnswersTheVersionQuery) {
  Sim s;
  Client c(s.sim->device());
  EXPECT_EQ(c.ask({'v'}, 4), (Bytes{'v', 0x69, 0x00, 'd'}));
  Sim other({"--version", "300"});
  Client c2(other.sim->device());
  EXPECT_EQ(c2.ask({'v'}, 4), (Bytes{'v', 0x2C, 0x01, 'd'}));
  EXPECT_EQ(s.stopAndTrace(), std::vector<std::string>{"v"});
}

TEST(Simulator, BlocksOfBothMemoriesAndTheStateFile) {
  Memories initial;
  for (std::size_t i = 0; i < kSeeSize; ++i) initial.see[i] = static_cast<std::uint8_t>(i * 13);
  initial.ee[973] = 0x24;
  initial.ee[974] = 0x07;  // a health counter
  Sim s({}, &initial);
  {
    Client c(s.sim->device());
    EXPECT_EQ(command(c, 's', params(3, 0x0100), 3), (Bytes{'s', 0x00, 0x0D, 0x1A}));
    EXPECT_EQ(command(c, 'S', params(3, 0xFFFE, {0x0D, 0x11, 0x13}), 1), (Bytes{'S', 'S'}));
    // The last two bytes of SEE-Data were written; the third fell off the end.
    EXPECT_EQ(command(c, 's', params(3, 0xFFFE), 3), (Bytes{'s', 0x0D, 0x11, 0xFF}));
    EXPECT_EQ(command(c, 'e', params(2, 973), 3), (Bytes{'e', 0x24, 0x07, 'e'}));
    EXPECT_EQ(command(c, 'E', params(2, 964, {0x03, 0xFF}), 1), (Bytes{'E', 'E'}));
    EXPECT_EQ(command(c, 'e', params(1, 965), 2), (Bytes{'e', 0xFF, 'e'}));
    EXPECT_EQ(command(c, 'e', params(2, 1023), 3), (Bytes{'e', 0x00, 0xFF, 'e'}));
    EXPECT_TRUE(c.ask({'x'}, 1, kGlance).empty()) << "unknown commands get no echo";
  }
  EXPECT_EQ(s.stopAndTrace(), (std::vector<std::string>{"s 3 256", "S 3 65534", "s 3 65534", "e 2 973", "E 2 964",
                                                        "e 1 965", "e 2 1023", "unknown 0x78"}));
  Memories saved;
  ASSERT_TRUE(readState(s.state, saved));
  EXPECT_EQ(saved.see[0xFFFE], 0x0D);
  EXPECT_EQ(saved.see[0xFFFF], 0x11);
  EXPECT_EQ(saved.see[0x0101], 0x0D);
  EXPECT_EQ(saved.ee[964], 0x03);
  EXPECT_EQ(saved.ee[965], 0xFF);
  EXPECT_EQ(saved.ee[974], 0x07);

  // Started again on the same file, it has kept what was written.
  Simulator again({"--instant", "--state", s.state});
  Client c(again.device());
  EXPECT_EQ(command(c, 's', params(2, 0xFFFE), 2), (Bytes{'s', 0x0D, 0x11}));
}

// The state file has a section per subsystem; the first files, the two
// memories alone, are still read, and sections of subsystems this simulator
// does not have survive a run.
TEST(Simulator, StateFileSectionsAndTheFirstFormat) {
  test::TempDir dir;
  Bytes first(kSeeSize + kEeSize, 0);
  first[0x0100] = 0x5A;
  first[kSeeSize + 10] = 0xA5;
  test::writeBytes(dir.file("state"), first);
  {
    Simulator sim({"--instant", "--state", dir.file("state")});
    Client c(sim.device());
    EXPECT_EQ(command(c, 's', params(1, 0x0100), 1), (Bytes{'s', 0x5A}));
    EXPECT_EQ(command(c, 'e', params(1, 10), 2), (Bytes{'e', 0xA5, 'e'}));
    EXPECT_EQ(command(c, 'E', params(1, 11, {0x3C}), 1), (Bytes{'E', 'E'}));
    EXPECT_EQ(sim.stop(), 0);
  }
  // Saved in sections: the memories under "config", as 66560 bytes.
  Bytes expected;
  const std::string head = "gz4410-sim state 2\nconfig 66560\n";
  expected.assign(head.begin(), head.end());
  expected.insert(expected.end(), first.begin(), first.end());
  expected[head.size() + kSeeSize + 11] = 0x3C;
  expected.push_back('\n');
  EXPECT_EQ(test::readBytes(dir.file("state")), expected);

  // A section of another subsystem is kept as it was.
  StateSections sections = readStateSections(dir.file("state"));
  ASSERT_EQ(sections.size(), 1u);
  sections["elsewhere"] = {'\n', 0x00, 0xFF};
  ASSERT_TRUE(writeStateSections(dir.file("state"), sections));
  {
    Simulator sim({"--instant", "--state", dir.file("state")});
    Client c(sim.device());
    EXPECT_EQ(command(c, 'e', params(2, 10), 3), (Bytes{'e', 0xA5, 0x3C, 'e'}));
    EXPECT_EQ(sim.stop(), 0);
  }
  EXPECT_EQ(readStateSections(dir.file("state")), sections);
}

TEST(Simulator, RefusesADamagedStateFile) {
  test::TempDir dir;
  const std::string cases[] = {
      "gz4410-sim state 2\nconfig 5\nabc\n",               // shorter than it says
      "gz4410-sim state 2\nconfig 3\nabc",                  // no end of section
      "gz4410-sim state 2\nconfig\n",                       // no size
      "gz4410-sim state 2\nconfig 3\nabc\n",               // the memories must be whole
  };
  for (const std::string& text : cases) {
    SCOPED_TRACE(text);
    const Bytes bytes(text.begin(), text.end());
    test::writeBytes(dir.file("state"), bytes);
    const auto r = test::runProcess(WK_SIM_PATH, {"--state", dir.file("state")});
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_NE(r.err.find("left alone"), std::string::npos) << r.err;
    EXPECT_EQ(test::readBytes(dir.file("state")), bytes);
  }
}

TEST(Simulator, RefusesAStateFileOfTheWrongSizeAndLeavesItAlone) {
  test::TempDir dir;
  test::writeBytes(dir.file("state"), {1, 2, 3});
  const auto r = test::runProcess(WK_SIM_PATH, {"--state", dir.file("state")});
  EXPECT_EQ(r.exitStatus, 1);
  EXPECT_NE(r.err.find("is 3 bytes, not 66560"), std::string::npos) << r.err;
  EXPECT_EQ(test::readBytes(dir.file("state")), (Bytes{1, 2, 3}));

  EXPECT_EQ(test::runProcess(WK_SIM_PATH, {"--fault", "late@s"}).exitStatus, 2);
  EXPECT_EQ(test::runProcess(WK_SIM_PATH, {"--version", "x"}).exitStatus, 2);
  EXPECT_EQ(test::runProcess(WK_SIM_PATH, {"--state"}).exitStatus, 2);
  const auto help = test::runProcess(WK_SIM_PATH, {"--help"});
  EXPECT_EQ(help.exitStatus, 0);
  EXPECT_NE(help.out.find("--fault SPEC"), std::string::npos);
  // The options and fault kinds of the subsystems are listed with the core's.
  EXPECT_NE(help.out.find("  --version N       the configuration layout version"), std::string::npos) << help.out;
  EXPECT_NE(help.out.find("  wrong-end   '?' in place of the closing byte"), std::string::npos) << help.out;
  EXPECT_EQ(test::runProcess(WK_SIM_PATH, {"--version"}).exitStatus, 2);
  EXPECT_EQ(test::runProcess(WK_SIM_PATH, {"--silent-after", "-1"}).exitStatus, 2);
}

TEST(Simulator, ChangesSpeedAndLosesBytesSentAtTheWrongOne) {
  Sim s;
  Client c(s.sim->device());
  EXPECT_EQ(c.ask({'R'}, 1), Bytes{'R'});
  c.send({7});
  // Still at 460800 on our side: the controller sees garbage.
  EXPECT_TRUE(c.ask({'v'}, 1, kGlance).empty());
  c.setSpeed(B57600);
  EXPECT_EQ(c.ask({'v'}, 4), (Bytes{'v', 0x69, 0x00, 'd'}));
  EXPECT_EQ(c.ask({'R'}, 1), Bytes{'R'});
  c.send({0});
  c.setSpeed(B460800);
  EXPECT_EQ(c.ask({'v'}, 4), (Bytes{'v', 0x69, 0x00, 'd'}));
  const auto trace = s.stopAndTrace();
  ASSERT_EQ(trace.size(), 5u);
  EXPECT_EQ(trace[0], "R 7");
  EXPECT_EQ(trace[1], "garbled 0x76 (PC line 460800, controller 57600)");
  EXPECT_EQ(trace[2], "v");
  EXPECT_EQ(trace[3], "R 0");
  EXPECT_EQ(trace[4], "v");
}

TEST(Simulator, WireTimingTakesTenBitsAByte) {
  Simulator sim({});  // wire timing on
  Client c(sim.device());
  ASSERT_EQ(c.ask({'s'}, 1), Bytes{'s'});
  const auto start = SteadyClock::now();
  c.send(params(1024, 0));
  EXPECT_EQ(c.receive(1024).size(), 1024u);
  // 4 bytes in, 1024 out, 10 bits each at 460800 baud: 22.3 ms.
  const auto took = SteadyClock::now() - start;
  EXPECT_GE(took, std::chrono::microseconds(22300));
  EXPECT_LT(took, kHangGuard);
}

// Told through the activity file when the PC began sending, the simulator
// times a reply from the end of those bytes on the wire, not from when it got
// round to reading them: held up longer than the whole block takes, it sends
// the block at once, and counts how late it left. Until it has taken the
// PC's bytes it is not quiet; once it has answered and waits, it is.
TEST(Simulator, RepliesAreTimedFromWhenThePcBeganSending) {
  test::TempDir dir;
  ActivityWatch activity(dir.file("activity"));
  Simulator sim({"--activity", dir.file("activity")});  // wire timing on
  Client c(sim.device());
  const auto send = [&](const Bytes& bytes) {
    activity.writing(bytes.size());
    c.send(bytes);
    activity.wrote(bytes.size());
  };
  send({'s'});
  ASSERT_EQ(c.receive(1), Bytes{'s'});

  ASSERT_EQ(::kill(sim.pid(), SIGSTOP), 0);
  send(params(1024, 0));
  EXPECT_FALSE(activity.quiet());
  // Held up for longer than the 22.3 ms that the header and the block take.
  std::this_thread::sleep_for(milliseconds(100));
  ASSERT_EQ(::kill(sim.pid(), SIGCONT), 0);
  EXPECT_EQ(c.receive(1024).size(), 1024u);
  EXPECT_GE(activity.late(), milliseconds(70));
  const auto deadline = SteadyClock::now() + kHangGuard;
  while (!activity.quiet() && SteadyClock::now() < deadline) std::this_thread::sleep_for(milliseconds(1));
  EXPECT_TRUE(activity.quiet());
}

TEST(Simulator, FaultsOnChosenCommands) {
  Sim s({"--fault", "wrong-echo@e#2", "--fault", "no-echo@E#1x2", "--fault", "short@s", "--fault", "no-end@S#2",
         "--fault", "wrong-end@e#3"});
  Client c(s.sim->device());
  EXPECT_EQ(command(c, 'e', params(2, 0), 3), (Bytes{'e', 0, 0, 'e'}));
  EXPECT_EQ(c.ask({'e'}, 1), Bytes{'?'});
  EXPECT_EQ(command(c, 'e', params(2, 0), 3), (Bytes{'e', 0, 0, '?'}));
  EXPECT_TRUE(c.ask({'E'}, 1, kGlance).empty());
  EXPECT_TRUE(c.ask({'E'}, 1, kGlance).empty());
  EXPECT_EQ(command(c, 'E', params(2, 0, {1, 2}), 1), (Bytes{'E', 'E'}));
  // Half the block; the next echo comes right after it.
  EXPECT_EQ(command(c, 's', params(10, 0), 5).size(), 1u + 5u);
  EXPECT_EQ(command(c, 'S', params(1, 0, {9}), 1), (Bytes{'S', 'S'}));
  EXPECT_EQ(command(c, 'S', params(1, 0, {9}), 0), (Bytes{'S'}));
  EXPECT_TRUE(c.nothingMore()) << "no closing byte";
  EXPECT_EQ(s.stopAndTrace(), (std::vector<std::string>{"e 2 0", "e !wrong-echo", "e 2 0 !wrong-end", "E !no-echo",
                                                        "E !no-echo", "E 2 0", "s 10 0 !short", "S 1 0",
                                                        "S 1 0 !no-end"}));
}

// A block that the controller acknowledges but stores otherwise: its last
// byte inverted.
TEST(Simulator, BadStoreAcknowledgesWhatItDidNotStore) {
  Sim s({"--fault", "bad-store@S#2", "--fault", "bad-store@E#1"});
  Client c(s.sim->device());
  EXPECT_EQ(command(c, 'S', params(3, 0x0010, {0x01, 0x02, 0x03}), 1), (Bytes{'S', 'S'}));
  EXPECT_EQ(command(c, 'S', params(3, 0x0100, {0x01, 0x02, 0x03}), 1), (Bytes{'S', 'S'}));
  EXPECT_EQ(command(c, 'E', params(2, 20, {0x5A, 0x0F}), 1), (Bytes{'E', 'E'}));
  EXPECT_EQ(command(c, 's', params(3, 0x0010), 3), (Bytes{'s', 0x01, 0x02, 0x03}));
  EXPECT_EQ(command(c, 's', params(3, 0x0100), 3), (Bytes{'s', 0x01, 0x02, 0xFC}));
  EXPECT_EQ(command(c, 'e', params(2, 20), 3), (Bytes{'e', 0x5A, 0xF0, 'e'}));
  EXPECT_EQ(s.stopAndTrace(), (std::vector<std::string>{"S 3 16", "S 3 256 !bad-store", "E 2 20 !bad-store", "s 3 16",
                                                        "s 3 256", "e 2 20"}));
}

TEST(Simulator, SilentFromTheStartOrAfterNCommands) {
  {
    Sim s({"--silent"});
    Client c(s.sim->device());
    EXPECT_TRUE(c.ask({'v'}, 1, kGlance).empty());
    EXPECT_TRUE(c.ask({'v'}, 1, kGlance).empty());
    EXPECT_EQ(s.stopAndTrace(), (std::vector<std::string>{"v !silent", "ignored 0x76"}));
  }
  Sim s({"--silent-after", "2"});
  Client c(s.sim->device());
  EXPECT_EQ(c.ask({'v'}, 4), (Bytes{'v', 0x69, 0x00, 'd'}));
  EXPECT_EQ(c.ask({'v'}, 4), (Bytes{'v', 0x69, 0x00, 'd'}));
  EXPECT_TRUE(c.ask({'v'}, 1, kGlance).empty());
  Sim v({"--fault", "no-end@v", "--fault", "short@v#2"});
  Client cv(v.sim->device());
  EXPECT_EQ(cv.ask({'v'}, 3), (Bytes{'v', 0x69, 0x00}));
  EXPECT_EQ(cv.ask({'v'}, 2), (Bytes{'v', 0x69}));
  EXPECT_TRUE(cv.nothingMore());
}

// The 1-Wire buses, byte by byte: the search, the devices, the temperature.
TEST(Simulator, OneWireSearchAndTemperature) {
  Sim s({"--onewire-device", "1:281D3931020000F0@-2.00", "--onewire-device", "3:021CB801000000", "--fault",
         "bad-crc@n#3", "--fault", "many@2#2", "--fault", "no-reading@T#2"});
  Client c(s.sim->device());
  const Bytes sensor{0x28, 0x1D, 0x39, 0x31, 0x02, 0x00, 0x00, 0xF0};
  EXPECT_EQ(c.ask({'0'}, 2), (Bytes{'0', 1}));
  EXPECT_EQ(command(c, 'n', {0}, 8), (Bytes{'n', 0x28, 0x1D, 0x39, 0x31, 0x02, 0x00, 0x00, 0xF0}));
  EXPECT_EQ(command(c, 'n', {1}, 8), (Bytes{'n', 0, 0, 0, 0, 0, 0, 0, 0}));  // past the end
  EXPECT_EQ(c.ask({'1'}, 2), (Bytes{'1', 0}));
  // The key bus, its CRC byte added; then a wrong one.
  EXPECT_EQ(c.ask({'2'}, 2), (Bytes{'2', 1}));
  EXPECT_EQ(command(c, 'n', {0}, 8), (Bytes{'n', 0x02, 0x1C, 0xB8, 0x01, 0x00, 0x00, 0x00, 0xA3}));
  // More than 16: made-up DS18B20s follow.
  EXPECT_EQ(c.ask({'2'}, 2), (Bytes{'2', 20}));
  EXPECT_EQ(command(c, 'n', {5}, 8).at(1), 0x28);
  // -2.00 degrees: -200, low byte first.
  EXPECT_EQ(command(c, 'T', sensor, 2), (Bytes{'T', 0x38, 0xFF}));
  EXPECT_EQ(command(c, 'T', sensor, 0), (Bytes{'T'}));
  EXPECT_TRUE(c.nothingMore()) << "no reading";
  EXPECT_EQ(s.stopAndTrace(),
            (std::vector<std::string>{"0 1", "n 0 281D3931020000F0", "n 1 0000000000000000", "1 0", "2 1",
                                      "n 0 021CB801000000A3 !bad-crc", "2 20 !many", "n 5 28EE0500000000F6",
                                      "T 281D3931020000F0 -200", "T 281D3931020000F0 none !no-reading"}));
}

TEST(Simulator, AnswersTheSystemInformation) {
  {
    Sim s;
    Client c(s.sim->device());
    EXPECT_EQ(c.ask({'M'}, 8), (Bytes{'M', 6, 'G', 'Z', '4', '4', '1', '0'}));
    EXPECT_EQ(c.ask({'N'}, 5), (Bytes{'N', 0xF0, 0x2A, 0x01, 0x00}));
    EXPECT_EQ(s.stopAndTrace(), (std::vector<std::string>{"M", "N"}));
  }
  Sim s({"--model", "Z", "--serial", "0x12345678", "--fault", "no-length@M#2", "--fault", "short@M#3", "--fault",
         "short@N#2"});
  Client c(s.sim->device());
  EXPECT_EQ(c.ask({'M'}, 3), (Bytes{'M', 1, 'Z'}));
  EXPECT_EQ(c.ask({'N'}, 5), (Bytes{'N', 0x78, 0x56, 0x34, 0x12}));
  EXPECT_EQ(c.ask({'M'}, 1), (Bytes{'M'}));
  EXPECT_EQ(c.ask({'M'}, 2), (Bytes{'M', 1}));
  EXPECT_EQ(c.ask({'N'}, 3), (Bytes{'N', 0x78, 0x56}));
  EXPECT_TRUE(c.nothingMore());
  EXPECT_EQ(s.stopAndTrace(), (std::vector<std::string>{"M", "N", "M !no-length", "M !short", "N !short"}));
  EXPECT_EQ(test::runProcess(WK_SIM_PATH, {"--serial", "0x100000000"}).exitStatus, 2);
  EXPECT_EQ(test::runProcess(WK_SIM_PATH, {"--bad-block", "252"}).exitStatus, 2);
  EXPECT_EQ(test::runProcess(WK_SIM_PATH, {"--model", std::string(256, 'x')}).exitStatus, 2);
}

// The code of an update: block k holds the bytes k + 3i.
Bytes updateBlock(int k) {
  Bytes block;
  unsigned sum = 0;
  for (int i = 0; i < 128; ++i) {
    block.push_back(static_cast<std::uint8_t>(k + 3 * i));
    sum += block.back();
  }
  block.push_back(static_cast<std::uint8_t>(sum));
  return block;
}

// Sends U, W, the header and blocks first..last; returns the replies to the
// blocks. From block silentFrom on, no reply is waited for beyond a glance.
Bytes update(Client& c, const Bytes& header, int last, int wrongSumAt = -1, int silentFrom = 1000) {
  EXPECT_EQ(c.ask({'U'}, 1), Bytes{'U'});
  EXPECT_EQ(c.ask({'W'}, 1), Bytes{'W'});
  c.send(header);
  Bytes replies;
  for (int k = 0; k <= last; ++k) {
    Bytes block = updateBlock(k);
    if (k == wrongSumAt) block.back() ^= 0x01;
    const Bytes reply = c.ask(block, 1, k < silentFrom ? kHangGuard : kGlance);
    replies.push_back(reply.empty() ? 0xEE : reply[0]);  // 0xEE: no reply
  }
  return replies;
}

TEST(Simulator, BootloaderTakesAnUpdateAndKeepsItInItsState) {
  Sim s;
  Bytes header(128);
  for (int i = 0; i < 128; ++i) header[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(0xFF - i);
  {
    Client c(s.sim->device());
    const Bytes replies = update(c, header, 251, 3);
    for (int k = 0; k < 252; ++k)
      EXPECT_EQ(replies[static_cast<std::size_t>(k)], k == 3 ? 'B' : updateBlock(k).back()) << "block " << k;
  }
  EXPECT_EQ(s.stopAndTrace(), (std::vector<std::string>{"U", "W 252 bad 3"}));
  const StateSections sections = readStateSections(s.state);
  ASSERT_EQ(sections.count("bootloader"), 1u);
  const Bytes& b = sections.at("bootloader");
  ASSERT_EQ(b.size(), 1u + 128u + 32256u + 252u);
  EXPECT_EQ(b[0], 1);
  EXPECT_EQ(Bytes(b.begin() + 1, b.begin() + 129), header);
  for (int k = 0; k < 252; ++k) {
    const Bytes block = updateBlock(k);
    ASSERT_TRUE(std::equal(block.begin(), block.end() - 1, b.begin() + 129 + k * 128)) << "block " << k;
    EXPECT_EQ(b[129 + 32256 + static_cast<std::size_t>(k)], k == 3 ? 2 : 1);  // bad sum, taken
  }

  // Started again, it still has it.
  Simulator again({"--instant", "--state", s.state});
  EXPECT_EQ(again.stop(), 0);
  EXPECT_EQ(readStateSections(s.state).at("bootloader"), b);
}

TEST(Simulator, BootloaderFaults) {
  {
    // Block 5 refused although its checksum is right; silent from block 7.
    Sim s({"--bad-block", "5", "--silent-from-block", "7"});
    Client c(s.sim->device());
    const Bytes replies = update(c, Bytes(128, 0), 8, -1, 7);
    EXPECT_EQ(replies[4], updateBlock(4).back());
    EXPECT_EQ(replies[5], 'B');
    EXPECT_EQ(replies[6], updateBlock(6).back());
    EXPECT_EQ(replies[7], 0xEE);
    EXPECT_EQ(replies[8], 0xEE);
    EXPECT_EQ(s.stopAndTrace(), (std::vector<std::string>{"U", "W 9 refused 5 silent from 7 timeout"}));
    const Bytes b = readStateSections(s.state).at("bootloader");
    EXPECT_EQ(Bytes(b.begin() + 129 + 32256 + 4, b.begin() + 129 + 32256 + 10), (Bytes{1, 3, 1, 4, 4, 0}));
  }
  {
    // "W" without "U" is no update; a header that does not come ends it.
    Sim s;
    Client c(s.sim->device());
    EXPECT_EQ(c.ask({'W'}, 1), Bytes{'W'});
    EXPECT_EQ(c.ask({'U'}, 1), Bytes{'U'});
    EXPECT_EQ(c.ask({'W'}, 1), Bytes{'W'});
    c.send(Bytes(10, 0));
    EXPECT_EQ(s.stopAndTrace(), (std::vector<std::string>{"W outside the bootloader", "U", "W header timeout"}));
  }
  // The bootloader that does not answer: the core's faults.
  Sim s({"--fault", "silent@U"});
  Client c(s.sim->device());
  EXPECT_TRUE(c.ask({'U'}, 1, kGlance).empty());
  Sim w({"--fault", "no-echo@W"});
  Client cw(w.sim->device());
  EXPECT_EQ(cw.ask({'U'}, 1), Bytes{'U'});
  EXPECT_TRUE(cw.ask({'W'}, 1, kGlance).empty());
  EXPECT_EQ(w.stopAndTrace(), (std::vector<std::string>{"U", "W !no-echo"}));
}

// Diagnostics: 'a' answers the eight raw input readings; the health counters
// are EE-Data 974..981.
TEST(Simulator, AnswersTheInputReadings) {
  Sim s({"--inputs", "128,136,150,175,10,255,0,85"});
  Client c(s.sim->device());
  const Bytes reply{'a', 128, 136, 150, 175, 10, 255, 0, 85};
  EXPECT_EQ(c.ask({'a'}, 9), reply);
  EXPECT_EQ(c.ask({'a'}, 9), reply);
  EXPECT_EQ(s.stopAndTrace(),
            (std::vector<std::string>{"a 128 136 150 175 10 255 0 85", "a 128 136 150 175 10 255 0 85"}));
}

TEST(Simulator, AnInputSweepsItsRangeOneStepAPollAndBack) {
  Sim s({"--inputs", "1,2,3,4,5,6,7,8", "--input", "2=10..12", "--input", "8=255..255"});
  Client c(s.sim->device());
  std::vector<int> second;
  for (int i = 0; i < 6; ++i) {
    const Bytes r = c.ask({'a'}, 9);
    ASSERT_EQ(r.size(), 9u);
    EXPECT_EQ(r[1], 1);
    EXPECT_EQ(r[8], 255);
    second.push_back(r[2]);
  }
  EXPECT_EQ(second, (std::vector<int>{10, 11, 12, 11, 10, 11}));
}

TEST(Simulator, HealthCountersAreEeDataSetFromTheCommandLineAndKept) {
  Memories initial;
  for (std::size_t i = 0; i < 8; ++i) initial.ee[974 + i] = static_cast<std::uint8_t>(i + 1);
  Sim s({"--health", "3,,0,255"}, &initial);
  {
    Client c(s.sim->device());
    // The command line wins over the state file for the counters it names.
    EXPECT_EQ(command(c, 'e', params(1, 974), 2), (Bytes{'e', 3, 'e'}));
    EXPECT_EQ(command(c, 'e', params(1, 975), 2), (Bytes{'e', 2, 'e'}));
    EXPECT_EQ(command(c, 'e', params(1, 976), 2), (Bytes{'e', 0, 'e'}));
    EXPECT_EQ(command(c, 'e', params(1, 977), 2), (Bytes{'e', 255, 'e'}));
    EXPECT_EQ(command(c, 'e', params(1, 978), 2), (Bytes{'e', 5, 'e'}));
    EXPECT_EQ(command(c, 'E', params(1, 981, {0}), 1), (Bytes{'E', 'E'}));
  }
  EXPECT_EQ(s.sim->stop(), 0);
  Memories saved;
  ASSERT_TRUE(readState(s.state, saved));
  EXPECT_EQ(Bytes(saved.ee.begin() + 974, saved.ee.begin() + 982), (Bytes{3, 2, 0, 255, 5, 6, 7, 0}));
}

TEST(Simulator, InputReadingFaults) {
  Sim s({"--inputs", "9,9,9,9,9,9,9,9", "--fault", "short@a#2", "--fault", "no-echo@a#3", "--fault",
         "wrong-echo@a#4"});
  Client c(s.sim->device());
  EXPECT_EQ(c.ask({'a'}, 9), (Bytes{'a', 9, 9, 9, 9, 9, 9, 9, 9}));
  EXPECT_EQ(c.ask({'a'}, 6), (Bytes{'a', 9, 9, 9, 9, 9}));
  EXPECT_TRUE(c.ask({'a'}, 9, kGlance).empty());
  EXPECT_EQ(c.ask({'a'}, 1), Bytes{'?'});
  EXPECT_TRUE(c.nothingMore());
  EXPECT_EQ(s.stopAndTrace(), (std::vector<std::string>{"a 9 9 9 9 9 9 9 9", "a 9 9 9 9 9 !short", "a !no-echo",
                                                        "a !wrong-echo"}));
}

TEST(Simulator, RefusesBadDiagnosticsOptions) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"--inputs", "256"},
           {"--inputs", "1,2,3,4,5,6,7,8,9"},
           {"--inputs", "20..10"},
           {"--inputs", "-1"},
           {"--input", "9=1"},
           {"--input", "0=1"},
           {"--input", "1:5"},
           {"--health", "1,2,3,4,5,6,7,8,9"},
           {"--health", "x"},
           {"--health"}}) {
    SCOPED_TRACE(args.front() + " " + (args.size() > 1 ? args[1] : ""));
    EXPECT_EQ(test::runProcess(WK_SIM_PATH, args).exitStatus, 2);
  }
  const auto help = test::runProcess(WK_SIM_PATH, {"--help"});
  EXPECT_NE(help.out.find("  --health N,N,...  the health counters at EE-Data 974..981"), std::string::npos)
      << help.out;
  EXPECT_NE(help.out.find("  --input I=R "), std::string::npos) << help.out;
}

}  // namespace
}  // namespace wk::sim
