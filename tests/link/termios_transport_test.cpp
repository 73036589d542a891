// The termios port itself, on the simulator's pseudo-terminal: the raw line,
// exclusive use, the time-outs on the clock, the speed change.
#include <fcntl.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <array>

#include <thread>

#include "seams/clock.h"
#include "support/pty_line.h"
#include "support/sim_rig.h"

namespace wk::link {
namespace {

using std::chrono::milliseconds;

// The line as another opener of the same device sees it.
termios lineOf(const std::string& device) {
  termios t{};
  const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  EXPECT_GE(fd, 0);
  EXPECT_EQ(::tcgetattr(fd, &t), 0);
  ::close(fd);
  return t;
}

TEST(TermiosTransport, OpensARawLineAt460800) {
  test::SimRig rig({"--silent"});
  test::TestClock clock;
  TermiosTransport port(clock);
  ASSERT_TRUE(port.open(rig.sim->device(), 460800).ok());
  EXPECT_TRUE(port.isOpen());
  const termios t = lineOf(rig.sim->device());
  EXPECT_EQ(::cfgetospeed(&t), B460800);
  EXPECT_EQ(::cfgetispeed(&t), B460800);
  EXPECT_EQ(t.c_iflag & (IXON | IXOFF | IXANY | ICRNL | INLCR | IGNCR | ISTRIP | INPCK | PARMRK | BRKINT), 0u);
  EXPECT_EQ(t.c_oflag & OPOST, 0u);
  EXPECT_EQ(t.c_lflag & (ECHO | ECHONL | ICANON | ISIG | IEXTEN), 0u);
  EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_EQ(t.c_cflag & (CSTOPB | PARENB), 0u);
  EXPECT_EQ(t.c_cflag & (CREAD | CLOCAL), static_cast<tcflag_t>(CREAD | CLOCAL));

  ASSERT_TRUE(port.setBaudRate(57600));
  const termios slower = lineOf(rig.sim->device());
  EXPECT_EQ(::cfgetospeed(&slower), B57600);
  EXPECT_FALSE(port.setBaudRate(12345));
  port.close();
  port.close();
  EXPECT_FALSE(port.isOpen());
}

TEST(TermiosTransport, NotSharedWhileOpen) {
  test::SimRig rig({"--silent"});
  test::TestClock clock;
  TermiosTransport first(clock);
  TermiosTransport second(clock);
  ASSERT_TRUE(first.open(rig.sim->device(), 460800).ok());
  const OpenStatus busy = second.open(rig.sim->device(), 460800);
  EXPECT_EQ(busy.kind, OpenStatus::Kind::Busy);
  EXPECT_EQ(busy.detail, rig.sim->device() + ": in use by another program");
  first.close();
  EXPECT_TRUE(second.open(rig.sim->device(), 460800).ok()) << "free again once closed";
}

TEST(TermiosTransport, WhatCannotBeOpened) {
  test::TestClock clock;
  TermiosTransport port(clock);
  EXPECT_EQ(port.open("/dev/ttyS-none", 460800).kind, OpenStatus::Kind::NotFound);
  const OpenStatus notSerial = port.open("/dev/null", 460800);
  EXPECT_EQ(notSerial.kind, OpenStatus::Kind::NotASerialPort);
  EXPECT_EQ(notSerial.detail, "/dev/null: not a serial port");
  EXPECT_FALSE(port.isOpen());
  EXPECT_EQ(port.read(std::span<std::uint8_t>(), milliseconds(10)), 0u);
}

// Against a hang only: a busy machine may hold any wait up for long.
constexpr auto kHangGuard = std::chrono::seconds(60);

// The one test on the wall clock: a silent line really waits its time-out.
TEST(TermiosTransport, ReadReturnsWhatArrivedAfterTheTimeOut) {
  test::SimRig rig({"--silent"});
  SystemClock clock;
  TermiosTransport port(clock);
  ASSERT_TRUE(port.open(rig.sim->device(), 460800).ok());
  std::uint8_t byte = 0;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(port.read(std::span(&byte, 1), milliseconds(300)), 0u);
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, milliseconds(300));
  EXPECT_LT(waited, kHangGuard);
}

TEST(TermiosTransport, TimeOutsAreMeasuredOnTheClock) {
  test::SimRig rig({"--silent"});
  test::TestClock fast(100);
  TermiosTransport port(fast);
  ASSERT_TRUE(port.open(rig.sim->device(), 460800).ok());
  std::uint8_t byte = 0;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(port.read(std::span(&byte, 1), milliseconds(3000)), 0u);
  EXPECT_LT(std::chrono::steady_clock::now() - start, milliseconds(3000)) << "the wall's 3 s did not pass";
  EXPECT_GE(fast.elapsed(), milliseconds(3000));
}

// What was on the line by the deadline is taken, however late the process
// got round to looking: here the clock has passed the deadline at the first
// look.
TEST(TermiosTransport, BytesThatArrivedInTimeAreTakenAfterALateLook) {
  test::PtyLine pty;
  ASSERT_FALSE(pty.path().empty());
  test::TestClock leaping(1'000'000);
  TermiosTransport port(leaping);
  ASSERT_TRUE(port.open(pty.path(), 460800).ok());
  pty.send({0x61, 0x62, 0x63});
  for (int i = 0; i < 10000 && pty.unread() != 3; ++i) std::this_thread::sleep_for(milliseconds(1));
  ASSERT_EQ(pty.unread(), 3);
  std::array<std::uint8_t, 3> buffer{};
  EXPECT_EQ(port.read(buffer, milliseconds(5)), 3u);
  EXPECT_EQ(buffer, (std::array<std::uint8_t, 3>{0x61, 0x62, 0x63}));
  EXPECT_EQ(port.read(buffer, milliseconds(5)), 0u) << "and nothing is made up";
}

// The rig's fast clock against a simulator held up, as a busy machine holds
// a process up: while the controller still has its echo to send, the clock
// keeps the wall's pace, and the echo that comes late is still taken. Once
// the controller waits with nothing to send, the time-out runs fast.
TEST(SimRigClock, RunsFastOnlyWhileTheControllerHasNothingToSend) {
  test::SimRig rig({"--fault", "no-echo@v#2"}, 100);
  ASSERT_TRUE(rig.transport.open(rig.sim->device(), 460800).ok());
  ASSERT_EQ(::kill(rig.sim->pid(), SIGSTOP), 0);
  const std::uint8_t v = 'v';
  ASSERT_EQ(rig.transport.write(std::span(&v, 1), milliseconds(1000)), 1u);
  std::thread resume([&rig] {
    // Longer than the 1002 ms time-out at a hundred times the pace.
    std::this_thread::sleep_for(milliseconds(100));
    ::kill(rig.sim->pid(), SIGCONT);
  });
  std::array<std::uint8_t, 4> reply{};
  EXPECT_EQ(rig.transport.read(std::span(reply).first(1), milliseconds(1002)), 1u);
  resume.join();
  EXPECT_EQ(rig.transport.read(std::span(reply).subspan(1), milliseconds(1006)), 3u);
  EXPECT_EQ(reply, (std::array<std::uint8_t, 4>{'v', 0x69, 0x00, 'd'}));

  // The second query gets no echo: the controller waits, the clock runs.
  ASSERT_EQ(rig.transport.write(std::span(&v, 1), milliseconds(1000)), 1u);
  const auto before = rig.clock.elapsed();
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(rig.transport.read(std::span(reply).first(1), milliseconds(1002)), 0u);
  EXPECT_GE(rig.clock.elapsed() - before, milliseconds(1002));
  EXPECT_LT(std::chrono::steady_clock::now() - start, milliseconds(1002)) << "the wall's time-out did not pass";
  EXPECT_EQ(rig.transport.timeouts, 1);
  rig.transport.close();
  EXPECT_EQ(rig.trace(), (std::vector<std::string>{"v", "v !no-echo"}));
}

// An adapter unplugged while a read waits: poll reports the hang-up and every
// read returns 0 from then on. The wait ends at once, with what had arrived,
// and so do the reads after it, instead of spinning to their time-outs.
TEST(TermiosTransport, AHungUpLineEndsTheWaitAtOnce) {
  test::PtyLine pty;
  ASSERT_FALSE(pty.path().empty());
  SystemClock clock;
  TermiosTransport port(clock);
  ASSERT_TRUE(port.open(pty.path(), 460800).ok());
  EXPECT_FALSE(port.lineLost());
  pty.send({0x61, 0x62});
  // The pseudo-terminal hands bytes on in the background: wait till they are there.
  for (int i = 0; i < 10000 && pty.unread() != 2; ++i) std::this_thread::sleep_for(milliseconds(1));
  ASSERT_EQ(pty.unread(), 2);
  std::thread unplug([&pty] {
    // Once the two bytes are taken, the read is waiting for the rest.
    for (int i = 0; i < 10000 && pty.unread() != 0; ++i) std::this_thread::sleep_for(milliseconds(1));
    pty.hangUp();
  });
  const auto cpuBefore = test::threadCpuTime();
  std::array<std::uint8_t, 4> buffer{};
  EXPECT_EQ(port.read(buffer, milliseconds(3000)), 2u);
  unplug.join();
  EXPECT_EQ(buffer[0], 0x61);
  EXPECT_EQ(buffer[1], 0x62);
  EXPECT_TRUE(port.lineLost());
  EXPECT_EQ(port.read(buffer, milliseconds(3000)), 0u);
  EXPECT_EQ(port.write(buffer, milliseconds(1000)), 0u);
  // Spinning through the two 3 s time-outs would take seconds of processor.
  EXPECT_LT(test::threadCpuTime() - cpuBefore, milliseconds(200));

  test::PtyLine other;
  ASSERT_TRUE(port.open(other.path(), 460800).ok());
  EXPECT_FALSE(port.lineLost()) << "a new line is not lost";
}

}  // namespace
}  // namespace wk::link
