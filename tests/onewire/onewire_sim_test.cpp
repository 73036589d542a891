// The 1-Wire search and the temperature monitor over the real termios port
// against gz4410-sim: the devices it holds, the trace of the exchange, and
// every failure it can be made to show.
#include <gtest/gtest.h>

#include "link/device_operation.h"
#include "onewire/read_serials.h"
#include "onewire/temperature_monitor.h"
#include "support/sim_rig.h"

namespace wk {
namespace {

using test::RecordedMessage;
using test::SimRig;

// The simulator's default devices.
const char* const kBus1[] = {"286164123C7C2F27", "283A9E459210027F", "28B72C79970403F5"};
const char* const kBus2[] = {"2805D1070B000021", "28E44A160B00004F"};
const char* const kBus3[] = {"016E3F581300006C", "01A98B120F00002C"};

std::vector<std::string> texts(const SerialList& list, int count) {
  std::vector<std::string> out;
  for (int i = 0; i < count; ++i) out.push_back(list[static_cast<std::size_t>(i)].text());
  return out;
}

void expectClosed(SimRig& rig) {
  EXPECT_FALSE(rig.transport.isOpen());
  ASSERT_FALSE(rig.progressLog.empty());
  EXPECT_EQ(rig.progressLog.back(), "close");
  EXPECT_FALSE(link::DeviceOperation::running());
}

TEST(OneWireSim, FindsTheDefaultDevicesOfEachBus) {
  SimRig rig;
  SerialList list;
  ASSERT_EQ(ReadChannelSerials(rig.link(), 0, list), 3);
  EXPECT_EQ(texts(list, 3), (std::vector<std::string>(std::begin(kBus1), std::end(kBus1))));
  ASSERT_EQ(ReadChannelSerials(rig.link(), 1, list), 2);
  EXPECT_EQ(texts(list, 2), (std::vector<std::string>(std::begin(kBus2), std::end(kBus2))));
  EXPECT_TRUE(list[2].isEmpty());
  ASSERT_EQ(ReadChannelSerials(rig.link(), 2, list), 2);
  EXPECT_EQ(texts(list, 2), (std::vector<std::string>(std::begin(kBus3), std::end(kBus3))));
  EXPECT_TRUE(rig.prompter.messages.empty());
  expectClosed(rig);
  EXPECT_EQ(rig.trace(), (std::vector<std::string>{"0 3", "n 0 286164123C7C2F27", "n 1 283A9E459210027F",
                                                   "n 2 28B72C79970403F5", "1 2", "n 0 2805D1070B000021",
                                                   "n 1 28E44A160B00004F", "2 2", "n 0 016E3F581300006C",
                                                   "n 1 01A98B120F00002C"}));
}

TEST(OneWireSim, ABadDeviceKeepsTheSimulatorFromStarting) {
  for (const char* bad : {"2:281D39310200 00", "4:281D3931020000F0", "1:281D3931020000F1", "1:281D3931020000F0@hot"}) {
    SimRig rig({"--onewire-device", bad});
    EXPECT_TRUE(rig.sim->device().empty()) << bad;
  }
}

TEST(OneWireSim, DevicesGivenOnTheCommandLineReplaceTheDefaults) {
  SimRig rig({"--onewire-device", "2:281D3931020000", "--onewire-device", "2:021CB801000000A2"});
  SerialList list;
  EXPECT_EQ(ReadChannelSerials(rig.link(), 0, list), 0);
  ASSERT_EQ(ReadChannelSerials(rig.link(), 1, list), 2);
  // The CRC byte was added to the fourteen digits.
  EXPECT_EQ(texts(list, 2), (std::vector<std::string>{"281D3931020000F0", "021CB801000000A2"}));
}

TEST(OneWireSim, TheStateFileKeepsTheDevices) {
  SimRig rig({"--onewire-device", "3:021CB801000000A2"});
  rig.trace();  // stops it; it saves its state
  rig.sim = std::make_unique<sim::Simulator>(std::vector<std::string>{"--instant", "--state", rig.statePath});
  rig.settings.writeString(setting::kSection, setting::kPort, rig.sim->device());
  SerialList list;
  ASSERT_EQ(ReadChannelSerials(rig.link(), 2, list), 1);
  EXPECT_EQ(list[0].text(), "021CB801000000A2");
  EXPECT_EQ(ReadChannelSerials(rig.link(), 0, list), 0);
}

TEST(OneWireSim, NoDevicesAtAll) {
  SimRig rig({"--onewire-none"});
  SerialList list;
  EXPECT_EQ(ReadChannelSerials(rig.link(), 2, list), 0);
  EXPECT_TRUE(rig.prompter.messages.empty());
  expectClosed(rig);
}

struct Failure {
  const char* fault;
  int bus;
  std::vector<RecordedMessage> messages;
  int kept;       // devices of the bus left in the list
  int timeouts;   // reads that ran out
};

TEST(OneWireSim, EveryFailureOfTheSearch) {
  const RecordedMessage info1{"ERROR 1", MessageIcon::Information, MessageButtons::Ok};
  const Failure failures[] = {
      {"no-echo@0", 0, {info1}, 0, 1},
      {"wrong-echo@1", 1, {info1}, 0, 0},
      {"short@0", 0, {{"ERROR 2", MessageIcon::Information, MessageButtons::Ok}}, 0, 1},
      {"no-echo@n#2", 0, {{"ERROR 3", MessageIcon::Information, MessageButtons::Ok}}, 1, 1},
      {"short@n#2", 0, {{"ERROR 4", MessageIcon::Information, MessageButtons::Ok}}, 1, 1},
      {"bad-crc@n#3", 0, {{"CRC Error\n\rReaded laser ROM [28]B72C79970403(F4)", MessageIcon::Error, MessageButtons::Ok}}, 2, 0},
  };
  for (const Failure& f : failures) {
    SCOPED_TRACE(f.fault);
    SimRig rig({"--fault", f.fault});
    SerialList list;
    EXPECT_EQ(ReadChannelSerials(rig.link(), f.bus, list), -1);
    EXPECT_EQ(rig.prompter.messages, f.messages);
    EXPECT_EQ(rig.transport.timeouts, f.timeouts);
    for (int i = 0; i < 16; ++i) {
      if (i < f.kept)
        EXPECT_EQ(list[i].text(), kBus1[i]);
      else
        EXPECT_TRUE(list[i].isEmpty()) << i;
    }
    expectClosed(rig);
  }
}

TEST(OneWireSim, ABusWithMoreThanSixteenDevicesGivesSixteen) {
  SimRig rig({"--fault", "many@0"});
  SerialList list;
  EXPECT_EQ(ReadChannelSerials(rig.link(), 0, list), 16);
  EXPECT_EQ(rig.prompter.texts(),
            (std::vector<std::string>{
                "The bus holds 20 devices, more than a list can keep: only the first 16 were read."}));
  EXPECT_EQ(texts(list, 3), (std::vector<std::string>(std::begin(kBus1), std::end(kBus1))));
  for (const RomCode& r : list) EXPECT_EQ(r.family(), 0x28);
  EXPECT_EQ(rig.transport.timeouts, 0);
  expectClosed(rig);
  const auto trace = rig.trace();
  EXPECT_EQ(trace.front(), "0 20 !many");
  EXPECT_EQ(trace.size(), 17u);  // the count and devices 0..15, nothing more
}

TEST(OneWireSim, AMissingPortChangesNothing) {
  SimRig rig;
  rig.settings.writeString(setting::kSection, setting::kPort, rig.dir.file("no-such-port"));
  SerialList list;
  EXPECT_EQ(ReadChannelSerials(rig.link(), 0, list), -1);
  EXPECT_EQ(rig.prompter.texts(), (std::vector<std::string>{"Port busy or not exist!"}));
  EXPECT_TRUE(rig.progressLog.empty());
}

TEST(OneWireSim, TheMonitorReadsASensorThatHoldsStill) {
  SimRig rig({"--onewire-device", "1:281D3931020000F0@-2.00", "--onewire-device", "1:2854F72D04000068@125"});
  TemperatureMonitor monitor(rig.link());
  std::vector<int> shown;
  const auto show = [&](std::int16_t c) { shown.push_back(c); };
  ASSERT_TRUE(monitor.start(*RomCode::parse("281D3931020000F0")));
  ASSERT_TRUE(monitor.tick(show));
  // The last reading without asking for another, so that no reply is left
  // on the line when the next sensor starts.
  show(monitor.readReading().value_or(0));
  ASSERT_TRUE(monitor.start(*RomCode::parse("2854F72D04000068")));
  show(monitor.readReading().value_or(0));
  monitor.stop();
  EXPECT_EQ(shown, (std::vector<int>{-200, -200, 12500}));
  EXPECT_TRUE(rig.prompter.messages.empty());
  EXPECT_FALSE(rig.transport.isOpen());
}

TEST(OneWireSim, ADriftingSensorWarmsByFiveHundredthsAReading) {
  SimRig rig;
  TemperatureMonitor monitor(rig.link());
  std::vector<int> shown;
  ASSERT_TRUE(monitor.start(*RomCode::parse(kBus1[0])));
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(monitor.tick([&](std::int16_t c) { shown.push_back(c); }));
  monitor.stop();
  EXPECT_EQ(shown, (std::vector<int>{2150, 2155, 2160, 2165}));
  const auto trace = rig.trace();
  ASSERT_EQ(trace.size(), 5u);
  EXPECT_EQ(trace[0], "T 286164123C7C2F27 2150");
  EXPECT_EQ(trace[4], "T 286164123C7C2F27 2170");  // asked for by the last tick, never read
}

TEST(OneWireSim, TheMonitorsFailures) {
  {
    SimRig rig({"--fault", "no-echo@T"});
    TemperatureMonitor monitor(rig.link());
    EXPECT_FALSE(monitor.start(*RomCode::parse(kBus1[0])));
    EXPECT_EQ(rig.prompter.texts(), (std::vector<std::string>{"ERROR 1"}));
    EXPECT_FALSE(rig.transport.isOpen());
  }
  {
    SimRig rig({"--fault", "no-reading@T#2"});
    TemperatureMonitor monitor(rig.link());
    ASSERT_TRUE(monitor.start(*RomCode::parse(kBus1[0])));
    EXPECT_TRUE(monitor.tick({}));
    EXPECT_FALSE(monitor.tick({}));
    EXPECT_EQ(rig.prompter.texts(), (std::vector<std::string>{"ERROR 2"}));
    EXPECT_EQ(rig.transport.timeouts, 1);
    EXPECT_FALSE(rig.transport.isOpen());
    EXPECT_FALSE(link::DeviceOperation::running());
  }
  {
    // A key is no thermometer: no reading comes.
    SimRig rig;
    TemperatureMonitor monitor(rig.link());
    ASSERT_TRUE(monitor.start(*RomCode::parse(kBus3[0])));
    EXPECT_FALSE(monitor.tick({}));
    EXPECT_EQ(rig.prompter.texts(), (std::vector<std::string>{"ERROR 2"}));
  }
}

}  // namespace
}  // namespace wk
