// The protocol trace: every call on the line, byte for byte and time-stamped,
// and the device password (EE-Data 732..749) never in clear.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "document/c4410_doc.h"
#include "link/port.h"
#include "link/protocol.h"
#include "link/trace_transport.h"
#include "support/sim_rig.h"
#include "util/strformat.h"

namespace wk::link {
namespace {

using std::chrono::milliseconds;
using test::hex;
using Bytes = std::vector<std::uint8_t>;

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) out.push_back(l);
  return out;
}

std::size_t hiddenBytes(const std::string& text) {
  std::size_t n = 0;
  for (std::size_t at = text.find("**"); at != std::string::npos; at = text.find("**", at + 2)) ++n;
  return n;
}

// The trace's clock moves only when the test says so.
struct TraceRig {
  test::ScriptedPeer peer;
  test::TestClock clock{0};
  std::ostringstream out;
  TraceTransport trace{peer, clock, out};
  MemorySettings settings;
  test::ScriptedPrompter prompter;
  Port port{trace, settings, prompter, clock};
  std::vector<std::string> lines() const { return linesOf(out.str()); }
};

TEST(TraceTransport, EveryCallWithItsTimeAndBytes) {
  TraceRig r;
  r.peer.expect("76", "76 69 00 64").expect("52", "52").expect("07").expectBaud(57600).expect("53 10 00", "");
  ASSERT_TRUE(r.trace.open("/dev/ttyUSB0", 460800).ok());
  r.clock.sleepFor(milliseconds(2000));
  r.trace.discardInput();
  EXPECT_EQ(QueryVersion(r.port), 105);
  r.clock.sleepFor(milliseconds(1));
  ASSERT_TRUE(SetSpeed(r.port, SpeedCode::Baud57600));
  r.clock.sleepFor(milliseconds(123));
  // A read that gets nothing says how much was asked and how long it waited.
  Bytes two(2);
  EXPECT_EQ(r.trace.write(hex("53 10 00"), milliseconds(1000)), 3u);
  EXPECT_EQ(r.port.read(two), 0u);
  r.trace.drainOutput();
  r.trace.close();
  r.trace.close();  // nothing more: it was closed
  r.peer.openResult = {OpenStatus::Kind::NotFound, "/dev/ttyUSB1: No such file or directory"};
  EXPECT_FALSE(r.trace.open("/dev/ttyUSB1", 460800).ok());
  EXPECT_EQ(r.lines(), (std::vector<std::string>{
                           "   0.000000 open /dev/ttyUSB0 460800: ok",
                           "   2.000000 discard",
                           "   2.000000 > 76",
                           "   2.000000 < 76",
                           "   2.000000 < 69 00",
                           "   2.000000 < 64",
                           "   2.001000 > 52",
                           "   2.001000 < 52",
                           "   2.001000 > 07",
                           "   2.001000 baud 57600",
                           "   2.134000 > 53 10 00",
                           "   2.134000 < (0 of 2, time-out 1004 ms)",
                           "   2.134000 drain",
                           "   2.134000 close",
                           "   2.134000 open /dev/ttyUSB1 460800: failed (/dev/ttyUSB1: No such file or directory)",
                       }));
  EXPECT_TRUE(r.peer.done());
}

// EE-Data blocks at, across and beside the password, written and read; a
// retried command and a refused one; SEE-Data that looks like EE commands.
TEST(TraceTransport, ThePasswordIsShownAsStars) {
  TraceRig r;
  r.peer.expect("45", "45").expect("02 00 DA 02 A1 A2", "45");           // 730, 731: in clear
  r.peer.expect("45", "45").expect("02 00 DB 02 A2 05", "45");           // 731 clear, 732 hidden
  r.peer.expect("45", "").expect("45", "45").expect("02 00 E4 02 53 45", "45");  // 740: after a retry
  r.peer.expect("45", "45").expect("02 00 ED 02 54 55", "45");           // 749 hidden, 750 clear
  r.peer.expect("65", "65").expect("02 00 DC 02", "05 00 65");           // 732, 733 read
  r.peer.expect("65", "3F");                                             // refused
  r.peer.expect("53", "53").expect("06 00 DC 02 45 02 00 DC 02 65", "53");  // SEE-Data: all in clear
  r.peer.expect("65", "65").expect("04 00 EC 02", "31 32 33 34 65");     // 748..751
  ASSERT_TRUE(r.port.OpenPort());
  EXPECT_TRUE(WriteEe(r.port, 730, hex("A1 A2")).closed());
  EXPECT_TRUE(WriteEe(r.port, 731, hex("A2 05")).closed());
  EXPECT_FALSE(WriteEe(r.port, 740, hex("53 45")).echoed());
  EXPECT_TRUE(WriteEe(r.port, 740, hex("53 45")).closed());
  EXPECT_TRUE(WriteEe(r.port, 749, hex("54 55")).closed());
  Bytes two(2);
  EXPECT_TRUE(ReadEe(r.port, 732, two).closed());
  EXPECT_FALSE(ReadEe(r.port, 732, two).echoed());
  EXPECT_TRUE(WriteSee(r.port, 732, hex("45 02 00 DC 02 65")).closed());
  Bytes four(4);
  EXPECT_TRUE(ReadEe(r.port, 748, four).closed());
  EXPECT_EQ(four, hex("31 32 33 34"));
  EXPECT_TRUE(r.peer.done());
  const auto lines = r.lines();
  ASSERT_EQ(lines.size(), 36u);
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 2, lines.end()),
            (std::vector<std::string>{
                "   2.000000 > 45", "   2.000000 < 45", "   2.000000 > 02 00 DA 02 A1 A2", "   2.000000 < 45",
                "   2.000000 > 45", "   2.000000 < 45", "   2.000000 > 02 00 DB 02 A2 **", "   2.000000 < 45",
                "   2.000000 > 45", "   2.000000 < (0 of 1, time-out 1002 ms)",
                "   2.000000 > 45", "   2.000000 < 45", "   2.000000 > 02 00 E4 02 ** **", "   2.000000 < 45",
                "   2.000000 > 45", "   2.000000 < 45", "   2.000000 > 02 00 ED 02 ** 55", "   2.000000 < 45",
                "   2.000000 > 65", "   2.000000 < 65", "   2.000000 > 02 00 DC 02", "   2.000000 < ** **",
                "   2.000000 < 65",
                "   2.000000 > 65", "   2.000000 < 3F",
                "   2.000000 > 53", "   2.000000 < 53", "   2.000000 > 06 00 DC 02 45 02 00 DC 02 65",
                "   2.000000 < 53",
                "   2.000000 > 65", "   2.000000 < 65", "   2.000000 > 04 00 EC 02", "   2.000000 < ** ** 33 34",
                "   2.000000 < 65",
            }));
}

// Read-all and write-all of a configuration with a password, over the real
// port: the trace holds every byte but those 18.
TEST(TraceTransport, ReadAllAndWriteAllNeverShowThePassword) {
  const Bytes password = hex("0C 00 53 45 43 52 45 54 2D 70 61 73 73 77 6F 72 64 21");  // 12, 0, "SECRET-passwo" ...
  sim::Memories m;
  std::copy(password.begin(), password.end(), m.ee.begin() + 732);
  m.ee[730] = 0xA1;
  m.ee[750] = 0xA2;
  test::SimRig rig({}, 1, &m);
  test::TestClock traceClock{0};
  std::ostringstream out;
  TraceTransport trace(rig.termios, traceClock, out);
  const DeviceLink link{trace, rig.prompter, rig.settings, rig.clock, nullptr};

  C4410Doc doc;
  ASSERT_EQ(ReadAll(doc, link), TransferOutcome::Completed);
  EXPECT_TRUE(std::equal(password.begin(), password.end(), doc.image().all().begin() + 62620));
  std::string text = out.str();
  EXPECT_EQ(hiddenBytes(text), 18u);
  auto lines = linesOf(text);
  auto at = std::find(lines.begin(), lines.end(), "   0.000000 > 02 00 DA 02");
  ASSERT_NE(at, lines.end());
  std::vector<std::string> expected{"   0.000000 > 02 00 DA 02", "   0.000000 < A1 00", "   0.000000 < 65"};
  for (int a = 732; a < 750; a += 2) {
    expected.insert(expected.end(), {"   0.000000 > 65", "   0.000000 < 65",
                                     strprintf("   0.000000 > 02 00 %.2X 02", a & 0xFF), "   0.000000 < ** **",
                                     "   0.000000 < 65"});
  }
  expected.insert(expected.end(), {"   0.000000 > 65", "   0.000000 < 65", "   0.000000 > 02 00 EE 02",
                                   "   0.000000 < A2 00"});
  EXPECT_EQ(std::vector<std::string>(at, at + static_cast<long>(expected.size())), expected);

  out.str("");
  ASSERT_EQ(WriteAll(doc, link), TransferOutcome::Completed);
  text = out.str();
  EXPECT_EQ(hiddenBytes(text), 18u);
  lines = linesOf(text);
  at = std::find(lines.begin(), lines.end(), "   0.000000 > 02 00 DA 02 A1 00");
  ASSERT_NE(at, lines.end());
  expected = {"   0.000000 > 02 00 DA 02 A1 00", "   0.000000 < 45"};
  for (int a = 732; a < 750; a += 2)
    expected.insert(expected.end(), {"   0.000000 > 45", "   0.000000 < 45",
                                     strprintf("   0.000000 > 02 00 %.2X 02 ** **", a & 0xFF), "   0.000000 < 45"});
  expected.insert(expected.end(), {"   0.000000 > 45", "   0.000000 < 45", "   0.000000 > 02 00 EE 02 A2 00"});
  EXPECT_EQ(std::vector<std::string>(at, at + static_cast<long>(expected.size())), expected);
  // The controller got the password all the same.
  const sim::Memories after = rig.stopAndRead();
  EXPECT_TRUE(std::equal(password.begin(), password.end(), after.ee.begin() + 732));
}

TEST(TraceTransport, TheProgramTracesToTheFileItsVariableNames) {
  test::TempDir dir;
  test::TestClock clock;
  std::string why;
  ::unsetenv(kTraceVariable);
  EXPECT_EQ(dynamic_cast<TraceTransport*>(makeProgramTransport(clock, why).get()), nullptr) << "off by default";
  EXPECT_EQ(why, "");

  ::setenv(kTraceVariable, dir.file("line.trace").c_str(), 1);
  auto traced = makeProgramTransport(clock, why);
  ::unsetenv(kTraceVariable);
  ASSERT_NE(dynamic_cast<TraceTransport*>(traced.get()), nullptr);
  EXPECT_FALSE(traced->open(dir.file("no-such-port"), 460800).ok());
  traced.reset();
  const Bytes written = test::readBytes(dir.file("line.trace"));
  const auto lines = linesOf(std::string(written.begin(), written.end()));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].rfind("# watchkeep serial trace, started ", 0), 0u) << lines[0];
  EXPECT_NE(lines[1].find(" open " + dir.file("no-such-port") + " 460800: failed ("), std::string::npos) << lines[1];

  ::setenv(kTraceVariable, dir.file("missing/line.trace").c_str(), 1);
  auto plain = makeProgramTransport(clock, why);
  ::unsetenv(kTraceVariable);
  EXPECT_EQ(dynamic_cast<TraceTransport*>(plain.get()), nullptr);
  EXPECT_EQ(why, "WATCHKEEP_TRACE: " + dir.file("missing/line.trace") + ": No such file or directory");
}

}  // namespace
}  // namespace wk::link
