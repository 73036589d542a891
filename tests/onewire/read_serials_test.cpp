// The serial-number exchange against a scripted controller, byte for byte,
// with every failure: the message, the result, the entries kept, and the port
// and progress window gone before it returns.
#include <gtest/gtest.h>

#include "link/device_operation.h"
#include "onewire/read_serials.h"
#include "onewire_rig.h"
#include "support/hex.h"

namespace wk {
namespace {

using test::hex;
using test::OneWireRig;
using test::RecordedMessage;

// Valid registration numbers (CRC byte last).
const char* const kSensors[] = {
    "28 10 A2 5C 0B 00 00 FE", "28 11 A2 5C 0B 00 00 C9", "28 12 A2 5C 0B 00 00 90", "28 13 A2 5C 0B 00 00 A7",
    "28 14 A2 5C 0B 00 00 22", "28 15 A2 5C 0B 00 00 15", "28 16 A2 5C 0B 00 00 4C", "28 17 A2 5C 0B 00 00 7B",
    "28 18 A2 5C 0B 00 00 5F", "28 19 A2 5C 0B 00 00 68", "28 1A A2 5C 0B 00 00 31", "28 1B A2 5C 0B 00 00 06",
    "28 1C A2 5C 0B 00 00 83", "28 1D A2 5C 0B 00 00 B4", "28 1E A2 5C 0B 00 00 ED", "28 1F A2 5C 0B 00 00 DA",
    "28 20 A2 5C 0B 00 00 13", "28 21 A2 5C 0B 00 00 24", "28 22 A2 5C 0B 00 00 7D", "28 23 A2 5C 0B 00 00 4A",
};

RomCode rom(const char* text) { return RomCode::from(hex(text)); }

std::string indexHex(int i) { return test::hexOf({static_cast<std::uint8_t>(i)}); }

// The controller hands over device i on "n" and i.
void scriptDevice(test::ScriptedPeer& peer, int i, const std::string& code) {
  peer.expect("6E", "6E").expect(indexHex(i), code);
}

TEST(ReadChannelSerials, ThreeSensorsByteForByte) {
  OneWireRig rig;
  rig.peer.expect("30", "30 03");
  for (int i = 0; i < 3; ++i) scriptDevice(rig.peer, i, kSensors[i]);
  SerialList list;
  list.fill(rom(kSensors[9]));  // whatever was there goes

  EXPECT_EQ(ReadChannelSerials(rig.link(), 0, list), 3);
  EXPECT_TRUE(rig.peer.done());
  EXPECT_EQ(rig.peer.events,
            (std::vector<std::string>{"open /dev/ttyS0 460800", "discard", "caption Read Sensors SNs",
                                      "status Channel # 1", "write 30 1000ms", "read 1 1002ms", "read 1 1002ms",
                                      "range 3",
                                      "write 6E 1000ms", "read 1 1002ms", "write 00 1000ms", "pos 1", "read 8 1016ms",
                                      "write 6E 1000ms", "read 1 1002ms", "write 01 1000ms", "pos 2", "read 8 1016ms",
                                      "write 6E 1000ms", "read 1 1002ms", "write 02 1000ms", "pos 3", "read 8 1016ms",
                                      "close", "close"}));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(list[i], rom(kSensors[i])) << i;
  for (int i = 3; i < 16; ++i) EXPECT_TRUE(list[i].isEmpty()) << i;
  EXPECT_TRUE(rig.prompter.messages.empty());
  // Only the port's settling wait: no pause between a byte and its reply.
  EXPECT_EQ(rig.clock.sleeps, (std::vector<std::chrono::milliseconds>{std::chrono::milliseconds(2000)}));
  EXPECT_FALSE(link::DeviceOperation::running());
}

TEST(ReadChannelSerials, EachBusHasItsDigitAndStatus) {
  for (int bus = 0; bus < 3; ++bus) {
    OneWireRig rig;
    const std::string digit = indexHex('0' + bus);
    rig.peer.expect(digit, digit + " 01");
    scriptDevice(rig.peer, 0, "01 63 B9 21 0C 00 00 5F");
    SerialList list;
    EXPECT_EQ(ReadChannelSerials(rig.link(), bus, list), 1);
    EXPECT_TRUE(rig.peer.done());
    EXPECT_EQ(rig.milestones()[2], "status Channel # " + std::to_string(bus + 1));
    EXPECT_EQ(list[0].text(), "0163B9210C00005F");
  }
}

TEST(ReadChannelSerials, AnEmptyBusGivesZeroAndAnEmptyListWithoutAMessage) {
  OneWireRig rig;
  rig.peer.expect("31", "31 00");
  SerialList list;
  list.fill(rom(kSensors[0]));
  EXPECT_EQ(ReadChannelSerials(rig.link(), 1, list), 0);
  EXPECT_TRUE(rig.peer.done());
  for (const RomCode& r : list) EXPECT_TRUE(r.isEmpty());
  EXPECT_TRUE(rig.prompter.messages.empty());
  EXPECT_EQ(rig.milestones(), (std::vector<std::string>{"open /dev/ttyS0 460800", "caption Read Sensors SNs",
                                                        "status Channel # 2", "range 0", "close", "close"}));
}

TEST(ReadChannelSerials, EightZeroBytesPassTheCheckAndAreKept) {
  OneWireRig rig;
  rig.peer.expect("30", "30 02");
  scriptDevice(rig.peer, 0, "00 00 00 00 00 00 00 00");
  scriptDevice(rig.peer, 1, kSensors[1]);
  SerialList list;
  EXPECT_EQ(ReadChannelSerials(rig.link(), 0, list), 2);
  EXPECT_TRUE(list[0].isEmpty());
  EXPECT_EQ(list[1], rom(kSensors[1]));
  EXPECT_TRUE(rig.prompter.messages.empty());
}

// Each failure: its message, then the port closes and the progress goes.
struct FailureCase {
  const char* name;
  void (*script)(test::ScriptedPeer&);
  const char* message;
  MessageIcon icon;
  int devicesKept;
};

const FailureCase kFailures[] = {
    {"no echo of the digit", [](test::ScriptedPeer& p) { p.expect("30", ""); }, "ERROR 1", MessageIcon::Information, 0},
    {"wrong echo of the digit", [](test::ScriptedPeer& p) { p.expect("30", "31 03"); }, "ERROR 1",
     MessageIcon::Information, 0},
    {"no count", [](test::ScriptedPeer& p) { p.expect("30", "30"); }, "ERROR 2", MessageIcon::Information, 0},
    {"no echo of n",
     [](test::ScriptedPeer& p) {
       p.expect("30", "30 03");
       scriptDevice(p, 0, kSensors[0]);
       p.expect("6E", "");
     },
     "ERROR 3", MessageIcon::Information, 1},
    {"wrong echo of n",
     [](test::ScriptedPeer& p) {
       p.expect("30", "30 03");
       p.expect("6E", "6D");
     },
     "ERROR 3", MessageIcon::Information, 0},
    {"a short registration number",
     [](test::ScriptedPeer& p) {
       p.expect("30", "30 03");
       scriptDevice(p, 0, kSensors[0]);
       scriptDevice(p, 1, "28 11 A2 5C 0B 00 00");
     },
     "ERROR 4", MessageIcon::Information, 1},
    {"no registration number at all",
     [](test::ScriptedPeer& p) {
       p.expect("30", "30 01");
       scriptDevice(p, 0, "");
     },
     "ERROR 4", MessageIcon::Information, 0},
    {"a wrong CRC",
     [](test::ScriptedPeer& p) {
       p.expect("30", "30 04");
       scriptDevice(p, 0, kSensors[0]);
       scriptDevice(p, 1, kSensors[1]);
       scriptDevice(p, 2, "28 12 A2 5C 0B 00 00 91");
     },
     "CRC Error\n\rReaded laser ROM [28]12A25C0B0000(91)", MessageIcon::Error, 2},
};

TEST(ReadChannelSerials, EveryFailureEndsWithItsMessageAndMinusOne) {
  for (const FailureCase& c : kFailures) {
    SCOPED_TRACE(c.name);
    OneWireRig rig;
    c.script(rig.peer);
    SerialList list;
    list.fill(rom(kSensors[19]));
    EXPECT_EQ(ReadChannelSerials(rig.link(), 0, list), -1);
    EXPECT_TRUE(rig.peer.done());
    EXPECT_EQ(rig.prompter.messages, (std::vector<RecordedMessage>{{c.message, c.icon, MessageButtons::Ok}}));
    // The devices read before the failure stay; nothing else.
    for (int i = 0; i < 16; ++i) {
      if (i < c.devicesKept)
        EXPECT_EQ(list[i], rom(kSensors[i])) << i;
      else
        EXPECT_TRUE(list[i].isEmpty()) << i;
    }
    const auto m = rig.milestones();
    ASSERT_GE(m.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(m.end() - 3, m.end()),
              (std::vector<std::string>{std::string("message ") + c.message, "close", "close"}));
    EXPECT_FALSE(rig.peer.isOpen());
    EXPECT_FALSE(link::DeviceOperation::running());
  }
}

TEST(ReadChannelSerials, NothingConnectedFailsBeforeTheBarMoves) {
  OneWireRig rig;
  rig.peer.expect("30", "");
  SerialList list;
  EXPECT_EQ(ReadChannelSerials(rig.link(), 0, list), -1);
  EXPECT_EQ(rig.milestones(), (std::vector<std::string>{"open /dev/ttyS0 460800", "caption Read Sensors SNs",
                                                        "status Channel # 1", "message ERROR 1", "close", "close"}));
}

TEST(ReadChannelSerials, AMissingPortIsToldByTheOpenerAlone) {
  OneWireRig rig;
  rig.peer.openResult = {link::OpenStatus::Kind::NotFound, "No such file or directory"};
  SerialList list;
  list.fill(rom(kSensors[0]));
  EXPECT_EQ(ReadChannelSerials(rig.link(), 0, list), -1);
  EXPECT_EQ(rig.prompter.texts(), (std::vector<std::string>{"Port busy or not exist!"}));
  for (const RomCode& r : list) EXPECT_TRUE(r.isEmpty());
  // No progress window for an operation that never started.
  EXPECT_EQ(rig.milestones(), (std::vector<std::string>{"open /dev/ttyS0 460800", "message Port busy or not exist!"}));
}

TEST(ReadChannelSerials, MoreThanSixteenDevicesKeepTheFirstSixteenAndSaySo) {
  OneWireRig rig;
  rig.peer.expect("30", "30 14");  // 20 devices
  for (int i = 0; i < 16; ++i) scriptDevice(rig.peer, i, kSensors[i]);
  SerialList list;
  EXPECT_EQ(ReadChannelSerials(rig.link(), 0, list), 16);
  // Device 16 is never asked for: the script would fail on it.
  EXPECT_TRUE(rig.peer.done());
  for (int i = 0; i < 16; ++i) EXPECT_EQ(list[i], rom(kSensors[i])) << i;
  EXPECT_EQ(rig.prompter.messages,
            (std::vector<RecordedMessage>{
                {"The bus holds 20 devices, more than a list can keep: only the first 16 were read.",
                 MessageIcon::Warning, MessageButtons::Ok}}));
  const auto m = rig.milestones();
  EXPECT_EQ(m[3], "range 16");
  EXPECT_EQ(std::vector<std::string>(m.end() - 4, m.end()),
            (std::vector<std::string>{"pos 16", "close", "close",
                                      "message The bus holds 20 devices, more than a list can keep: only the first "
                                      "16 were read."}));
}

TEST(ReadChannelSerials, TheLargestCountStillStopsAtSixteen) {
  OneWireRig rig;
  rig.peer.expect("32", "32 FF");
  for (int i = 0; i < 16; ++i) scriptDevice(rig.peer, i, kSensors[i]);
  SerialList list;
  EXPECT_EQ(ReadChannelSerials(rig.link(), 2, list), 16);
  EXPECT_TRUE(rig.peer.done());
  EXPECT_EQ(rig.prompter.texts().size(), 1u);
}

TEST(ReadChannelSerials, DoesNothingWhileAnotherOperationRuns) {
  OneWireRig rig;
  link::DeviceOperation other;
  SerialList list;
  EXPECT_EQ(ReadChannelSerials(rig.link(), 0, list), -1);
  EXPECT_TRUE(rig.peer.events.empty());
  EXPECT_TRUE(rig.prompter.messages.empty());
}

}  // namespace
}  // namespace wk
