// The temperature request against a scripted controller: "T", the echo, the
// eight bytes of the code one at a time with their pauses, the 2-byte reading
// one period later, and every failure ending the monitor with the port closed.
#include <gtest/gtest.h>

#include "link/device_operation.h"
#include "onewire/read_serials.h"
#include "onewire/temperature_monitor.h"
#include "onewire_rig.h"
#include "support/hex.h"

namespace wk {
namespace {

using std::chrono::milliseconds;
using test::hex;
using test::OneWireRig;
using test::RecordedMessage;

const RomCode kSensor = RomCode::from(hex("28 1D 39 31 02 00 00 F0"));

// The request as the controller sees it, answered with reply after the last byte.
void scriptRequest(test::ScriptedPeer& peer, const std::string& reply = "") {
  peer.expect("54", "54");
  const auto code = kSensor.bytes;
  for (std::size_t i = 0; i + 1 < code.size(); ++i) peer.expect(std::vector<std::uint8_t>{code[i]}, {});
  peer.expect(std::vector<std::uint8_t>{code.back()}, hex(reply));
}

std::vector<milliseconds> requestPauses() {
  std::vector<milliseconds> p{milliseconds(10)};
  for (int i = 0; i < 8; ++i) p.push_back(milliseconds(1));
  return p;
}

std::vector<std::string> writesOf(const std::vector<std::string>& events) {
  std::vector<std::string> out;
  for (const auto& e : events)
    if (e.rfind("write ", 0) == 0) out.push_back(e);
  return out;
}

TEST(TemperatureMonitor, StartSendsTheRequestOneByteAtATime) {
  OneWireRig rig;
  scriptRequest(rig.peer);
  TemperatureMonitor monitor(rig.link());
  ASSERT_TRUE(monitor.start(kSensor));
  EXPECT_TRUE(monitor.running());
  EXPECT_TRUE(rig.peer.done());
  EXPECT_TRUE(rig.peer.isOpen());
  EXPECT_EQ(writesOf(rig.peer.events),
            (std::vector<std::string>{"write 54 1000ms", "write 28 1000ms", "write 1D 1000ms", "write 39 1000ms",
                                      "write 31 1000ms", "write 02 1000ms", "write 00 1000ms", "write 00 1000ms",
                                      "write F0 1000ms"}));
  // The pause before opening, the port's settling wait, then 10 ms after the
  // echo and 1 ms after each byte.
  std::vector<milliseconds> sleeps{milliseconds(500), milliseconds(2000)};
  for (auto p : requestPauses()) sleeps.push_back(p);
  EXPECT_EQ(rig.clock.sleeps, sleeps);
  // The port stays open between ticks, and no other operation can start.
  EXPECT_TRUE(link::DeviceOperation::running());
  monitor.stop();
  EXPECT_FALSE(rig.peer.isOpen());
  EXPECT_FALSE(link::DeviceOperation::running());
}

TEST(TemperatureMonitor, EachTickShowsTheReadingThenAsksForTheNext) {
  OneWireRig rig;
  scriptRequest(rig.peer, "38 FF");
  scriptRequest(rig.peer, "D4 30");
  scriptRequest(rig.peer, "20 4E");
  scriptRequest(rig.peer);
  TemperatureMonitor monitor(rig.link());
  ASSERT_TRUE(monitor.start(kSensor));
  std::vector<int> shown;
  const auto show = [&](std::int16_t c) { shown.push_back(c); };
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(monitor.tick(show));
  EXPECT_EQ(shown, (std::vector<int>{-200, 12500, 20000}));
  EXPECT_TRUE(rig.peer.done());
  EXPECT_TRUE(monitor.running());
  EXPECT_TRUE(rig.prompter.messages.empty());
}

TEST(TemperatureMonitor, NoReadingEndsWithError2AndTheNextRequestIsNotSent) {
  OneWireRig rig;
  scriptRequest(rig.peer);
  TemperatureMonitor monitor(rig.link());
  ASSERT_TRUE(monitor.start(kSensor));
  bool shown = false;
  EXPECT_FALSE(monitor.tick([&](std::int16_t) { shown = true; }));
  EXPECT_FALSE(shown);
  EXPECT_FALSE(monitor.running());
  EXPECT_EQ(rig.prompter.messages,
            (std::vector<RecordedMessage>{{"ERROR 2", MessageIcon::Information, MessageButtons::Ok}}));
  const auto m = rig.milestones();
  EXPECT_EQ(std::vector<std::string>(m.end() - 2, m.end()), (std::vector<std::string>{"message ERROR 2", "close"}));
  EXPECT_FALSE(link::DeviceOperation::running());
}

TEST(TemperatureMonitor, HalfAReadingIsNoReading) {
  OneWireRig rig;
  scriptRequest(rig.peer, "38");
  TemperatureMonitor monitor(rig.link());
  ASSERT_TRUE(monitor.start(kSensor));
  bool shown = false;
  EXPECT_FALSE(monitor.tick([&](std::int16_t) { shown = true; }));
  EXPECT_FALSE(shown);
  EXPECT_EQ(rig.prompter.texts(), (std::vector<std::string>{"ERROR 2"}));
  EXPECT_FALSE(rig.peer.isOpen());
}

TEST(TemperatureMonitor, AMissingEchoAtATickShowsTheReadingFirst) {
  OneWireRig rig;
  scriptRequest(rig.peer, "E8 03");
  rig.peer.expect("54", "");
  TemperatureMonitor monitor(rig.link());
  ASSERT_TRUE(monitor.start(kSensor));
  std::vector<int> shown;
  EXPECT_FALSE(monitor.tick([&](std::int16_t c) { shown.push_back(c); }));
  EXPECT_EQ(shown, (std::vector<int>{1000}));
  EXPECT_EQ(rig.prompter.texts(), (std::vector<std::string>{"ERROR 1"}));
  EXPECT_FALSE(monitor.running());
  EXPECT_FALSE(rig.peer.isOpen());
  EXPECT_TRUE(rig.peer.done());
}

TEST(TemperatureMonitor, AWrongEchoAtStartEndsWithError1) {
  OneWireRig rig;
  rig.peer.expect("54", "55");
  TemperatureMonitor monitor(rig.link());
  EXPECT_FALSE(monitor.start(kSensor));
  EXPECT_FALSE(monitor.running());
  EXPECT_EQ(rig.prompter.messages,
            (std::vector<RecordedMessage>{{"ERROR 1", MessageIcon::Information, MessageButtons::Ok}}));
  EXPECT_EQ(rig.milestones(), (std::vector<std::string>{"open /dev/ttyS0 460800", "message ERROR 1", "close"}));
  EXPECT_FALSE(link::DeviceOperation::running());
}

TEST(TemperatureMonitor, AMissingPortLeavesItIdle) {
  OneWireRig rig;
  rig.peer.openResult = {link::OpenStatus::Kind::Busy, "Device or resource busy"};
  TemperatureMonitor monitor(rig.link());
  EXPECT_FALSE(monitor.start(kSensor));
  EXPECT_FALSE(monitor.running());
  EXPECT_EQ(rig.prompter.texts(), (std::vector<std::string>{"Port busy or not exist!"}));
  EXPECT_FALSE(link::DeviceOperation::running());
  // A tick of a stopped monitor does nothing.
  EXPECT_FALSE(monitor.tick({}));
  EXPECT_EQ(rig.prompter.texts().size(), 1u);
}

TEST(TemperatureMonitor, StartingAgainClosesThePortFirst) {
  OneWireRig rig;
  scriptRequest(rig.peer);
  scriptRequest(rig.peer);
  TemperatureMonitor monitor(rig.link());
  ASSERT_TRUE(monitor.start(kSensor));
  ASSERT_TRUE(monitor.start(kSensor));
  EXPECT_EQ(rig.milestones(),
            (std::vector<std::string>{"open /dev/ttyS0 460800", "close", "open /dev/ttyS0 460800"}));
  EXPECT_TRUE(rig.peer.done());
}

TEST(TemperatureMonitor, WhileItRunsNoSearchCanStart) {
  OneWireRig rig;
  scriptRequest(rig.peer);
  TemperatureMonitor monitor(rig.link());
  ASSERT_TRUE(monitor.start(kSensor));
  SerialList list;
  EXPECT_EQ(ReadChannelSerials(rig.link(), 0, list), -1);
  EXPECT_TRUE(rig.peer.isOpen());
}

TEST(TemperatureMonitor, EndingTheMonitorClosesThePort) {
  OneWireRig rig;
  scriptRequest(rig.peer);
  {
    TemperatureMonitor monitor(rig.link());
    ASSERT_TRUE(monitor.start(kSensor));
  }
  EXPECT_FALSE(rig.peer.isOpen());
  EXPECT_FALSE(link::DeviceOperation::running());
}

TEST(CentidegreesText, TwoDecimalsExactly) {
  EXPECT_EQ(centidegreesText(-200), "-2.00");
  EXPECT_EQ(centidegreesText(12500), "125.00");
  EXPECT_EQ(centidegreesText(2137), "21.37");
  EXPECT_EQ(centidegreesText(5), "0.05");
  EXPECT_EQ(centidegreesText(-5), "-0.05");
  EXPECT_EQ(centidegreesText(0), "0.00");
  EXPECT_EQ(centidegreesText(-32768), "-327.68");
  EXPECT_EQ(centidegreesText(32767), "327.67");
  EXPECT_DOUBLE_EQ(celsiusOf(-200), -2.0);
}

}  // namespace
}  // namespace wk
