// The port layer and the command framing against a scripted byte peer: what
// the PC sends, what the controller answers, the messages and the waits.
#include <gtest/gtest.h>

#include "support/link_doubles.h"
#include "link/port.h"
#include "link/protocol.h"
#include "link/termios_transport.h"
#include "seams/settings.h"
#include "support/scripted_prompter.h"

namespace wk::link {
namespace {

using std::chrono::milliseconds;
using test::hex;
using test::RecordedMessage;

struct Rig {
  test::ScriptedPeer peer;
  MemorySettings settings;
  test::ScriptedPrompter prompter;
  test::TestClock clock;
  Port port{peer, settings, prompter, clock};
  Rig() { settings.writeString(setting::kSection, setting::kPort, "Com12"); }
  // Opens and forgets the open's own events and waits.
  void openQuietly() {
    ASSERT_TRUE(port.OpenPort());
    peer.events.clear();
    clock.sleeps.clear();
  }
};

TEST(PortNames, ComNamesPathsAndDeviceNames) {
  EXPECT_EQ(devicePathForPort("Com1"), "/dev/ttyS0");
  EXPECT_EQ(devicePathForPort("Com12"), "/dev/ttyS11");
  EXPECT_EQ(devicePathForPort("COM3"), "/dev/ttyS2");
  EXPECT_EQ(devicePathForPort("com10"), "/dev/ttyS9");
  EXPECT_EQ(devicePathForPort("/dev/serial/by-id/usb-FTDI-if00"), "/dev/serial/by-id/usb-FTDI-if00");
  EXPECT_EQ(devicePathForPort("ttyUSB0"), "/dev/ttyUSB0");
  // Not COM ports: looked for in /dev, where they do not exist.
  EXPECT_EQ(devicePathForPort("Com0"), "/dev/Com0");
  EXPECT_EQ(devicePathForPort("Com01"), "/dev/Com01");
  EXPECT_EQ(devicePathForPort("Com"), "/dev/Com");
  EXPECT_EQ(devicePathForPort("Com1x"), "/dev/Com1x");
}

TEST(OpenPort, OpensTheSettingsPortAtStartSpeedAndWaitsTwoSeconds) {
  Rig r;
  ASSERT_TRUE(r.port.OpenPort());
  EXPECT_TRUE(r.port.isOpen());
  EXPECT_EQ(r.peer.events, (std::vector<std::string>{"open /dev/ttyS11 460800", "discard"}));
  EXPECT_EQ(r.clock.sleeps, (std::vector<milliseconds>{milliseconds(2000)}));
  EXPECT_TRUE(r.prompter.messages.empty());

  // Opening again first closes the open port; the setting is read anew.
  r.settings.writeString(setting::kSection, setting::kPort, "/dev/ttyUSB3");
  ASSERT_TRUE(r.port.OpenPort());
  EXPECT_EQ(r.peer.events, (std::vector<std::string>{"open /dev/ttyS11 460800", "discard", "close",
                                                     "open /dev/ttyUSB3 460800", "discard"}));
  r.port.ClosePort();
  r.port.ClosePort();
  EXPECT_FALSE(r.port.isOpen());
  EXPECT_EQ(r.peer.events.back(), "close");
  EXPECT_EQ(r.peer.events.size(), 6u);
}

TEST(OpenPort, DefaultPortIsCom1) {
  test::ScriptedPeer peer;
  MemorySettings settings;
  test::ScriptedPrompter prompter;
  test::TestClock clock;
  Port port(peer, settings, prompter, clock);
  ASSERT_TRUE(port.OpenPort());
  EXPECT_EQ(peer.events.front(), "open /dev/ttyS0 460800");
}

TEST(OpenPort, FailureShowsTheMessageAndSaysWhyOnTheStatusLine) {
  Rig r;
  r.peer.openResult = {OpenStatus::Kind::PermissionDenied, "/dev/ttyS11: Permission denied"};
  EXPECT_FALSE(r.port.OpenPort());
  EXPECT_FALSE(r.port.isOpen());
  EXPECT_EQ(r.prompter.messages,
            (std::vector<RecordedMessage>{{"Port busy or not exist!", MessageIcon::Error, MessageButtons::Ok}}));
  ASSERT_EQ(r.prompter.notes.size(), 1u);
  EXPECT_EQ(r.prompter.notes[0].rfind("/dev/ttyS11: Permission denied. ", 0), 0u);
  EXPECT_NE(r.prompter.notes[0].find("\"dialout\""), std::string::npos);
  EXPECT_NE(r.prompter.notes[0].find("usermod -aG dialout"), std::string::npos);
  EXPECT_TRUE(r.clock.sleeps.empty()) << "no wait for a port that did not open";

  r.prompter.messages.clear();
  r.peer.openResult = {OpenStatus::Kind::NotFound, "/dev/ttyS11: No such file or directory"};
  EXPECT_FALSE(r.port.OpenPort());
  EXPECT_EQ(r.prompter.texts(), std::vector<std::string>{"Port busy or not exist!"});
  EXPECT_EQ(r.prompter.notes.back(), "/dev/ttyS11: No such file or directory");
}

TEST(Port, TimeOutsOfReadsAndWritesAndTheWaitAfterASpeedChange) {
  Rig r;
  r.openQuietly();
  r.peer.expect("41", "42 43");
  std::uint8_t one = 0;
  EXPECT_TRUE(r.port.writeByte(0x41));
  EXPECT_TRUE(r.port.readByte(one));
  EXPECT_EQ(one, 0x42);
  std::vector<std::uint8_t> block(1024);
  EXPECT_EQ(r.port.read(block), 1u);  // what arrived within the time-out
  r.peer.expectBaud(57600);
  EXPECT_TRUE(r.port.SetPortSpeed(57600));
  EXPECT_EQ(r.peer.events,
            (std::vector<std::string>{"write 41 1000ms", "read 1 1002ms", "read 1024 3048ms", "baud 57600"}));
  EXPECT_EQ(r.clock.sleeps, (std::vector<milliseconds>{milliseconds(10)}));
  EXPECT_TRUE(r.peer.done());
}

TEST(QueryVersion, AnswerWithAnyFourthBytePassesTheRule) {
  Rig r;
  r.openQuietly();
  r.peer.expect("76", "76 69 00 FF");
  EXPECT_TRUE(CheckVersion(r.port));
  EXPECT_TRUE(r.port.isOpen());
  EXPECT_TRUE(r.prompter.messages.empty());
  EXPECT_EQ(r.peer.events, (std::vector<std::string>{"write 76 1000ms", "read 1 1002ms", "read 2 1004ms",
                                                     "read 1 1002ms"}));
}

struct VersionCase {
  const char* reply;
  std::uint16_t version;
  std::vector<std::string> messages;
};

TEST(CheckVersion, EveryVersionCaseAndItsMessages) {
  const VersionCase cases[] = {
      {"76 69 00", 0, {"Read Version Error"}},                  // no fourth byte
      {"76 69", 0, {"Read Version Error"}},                     // partial version
      {"76 6A 00 64", 0x6A, {"Wrong Version, update Configurator"}},
      {"76 68 00 64", 0x68, {"Wrong Version, update FIRMWARE"}},
      {"76 01 00 64", 1, {"Wrong Version, update FIRMWARE"}},
      {"76 FF FF 64", 0xFFFF, {"Wrong Version, update Configurator"}},
      {"76 00 00 64", 0, {"Read Version Error"}},
      {"", 0, {"Connection error 5", "Read Version Error"}},    // no echo
      {"56 69 00 64", 0, {"Connection error 5", "Read Version Error"}},  // wrong echo
  };
  for (const VersionCase& c : cases) {
    SCOPED_TRACE(c.reply);
    {
      Rig r;
      r.openQuietly();
      r.peer.expect("76", c.reply);
      EXPECT_EQ(QueryVersion(r.port), c.version);
    }
    Rig r;
    r.openQuietly();
    r.peer.expect("76", c.reply);
    EXPECT_FALSE(CheckVersion(r.port));
    EXPECT_FALSE(r.port.isOpen());
    EXPECT_EQ(r.prompter.texts(), c.messages);
    for (const auto& m : r.prompter.messages) EXPECT_EQ(m.icon, MessageIcon::Error);
  }
}

TEST(SetSpeed, SendsTheCodeThenFollowsAndWaits) {
  Rig r;
  r.openQuietly();
  r.peer.expect("52", "52").expect("07").expectBaud(57600);
  EXPECT_TRUE(SetSpeed(r.port, SpeedCode::Baud57600));
  EXPECT_TRUE(r.peer.done());
  // Switched right after the code byte, then 10 ms of nothing.
  EXPECT_EQ(r.peer.events, (std::vector<std::string>{"write 52 1000ms", "read 1 1002ms", "write 07 1000ms",
                                                     "baud 57600"}));
  EXPECT_EQ(r.clock.sleeps, (std::vector<milliseconds>{milliseconds(10)}));

  r.peer.expect("52", "52").expect("00").expectBaud(460800);
  EXPECT_TRUE(SetSpeed(r.port, SpeedCode::Baud460800));
  EXPECT_TRUE(r.peer.done());
  EXPECT_TRUE(r.prompter.messages.empty());
}

TEST(SetSpeed, MissingOrWrongEchoClosesThePortAndSaysSo) {
  for (const char* reply : {"", "72"}) {
    Rig r;
    r.openQuietly();
    r.peer.expect("52", reply);
    EXPECT_FALSE(SetSpeed(r.port, SpeedCode::Baud57600));
    EXPECT_FALSE(r.port.isOpen());
    EXPECT_EQ(r.prompter.messages,
              (std::vector<RecordedMessage>{{"Set Speed Error", MessageIcon::Error, MessageButtons::Ok}}));
    EXPECT_EQ(r.peer.events, (std::vector<std::string>{"write 52 1000ms", "read 1 1002ms", "close"}));
  }
}

TEST(Blocks, ReadSeeSendsCountThenAddressLowBytesFirst) {
  Rig r;
  r.openQuietly();
  r.peer.expect("73", "73").expect("04 00 00 F0", "DE AD BE EF");
  std::vector<std::uint8_t> data(4);
  const BlockReply reply = ReadSee(r.port, 0xF000, data);
  EXPECT_TRUE(reply.echoed());
  EXPECT_EQ(reply.dataBytes, 4u);
  EXPECT_FALSE(reply.endMark);
  EXPECT_EQ(data, hex("DE AD BE EF"));
  EXPECT_EQ(r.peer.events.back(), "read 4 1008ms");
}

TEST(Blocks, ShortReplyReportsHowManyArrived) {
  Rig r;
  r.openQuietly();
  r.peer.expect(hex("73"), hex("73")).expect(hex("00 04 00 08"), std::vector<std::uint8_t>(1000, 0x5A));
  std::vector<std::uint8_t> data(1024);
  const BlockReply reply = ReadSee(r.port, 0x0800, data);
  EXPECT_TRUE(reply.echoed());
  EXPECT_EQ(reply.dataBytes, 1000u);
  EXPECT_EQ(data[999], 0x5A);
  EXPECT_EQ(data[1000], 0x00);
}

TEST(Blocks, WriteSeeSendsHeaderAndDataAndWaitsForTheMark) {
  Rig r;
  r.openQuietly();
  r.peer.expect("53", "53").expect("03 00 80 FF 0D 11 13", "53");
  const BlockReply reply = WriteSee(r.port, 0xFF80, hex("0D 11 13"));
  EXPECT_TRUE(reply.echoed());
  EXPECT_TRUE(reply.closed());
  EXPECT_TRUE(r.peer.done());
}

TEST(Blocks, EeReadAndWriteCloseWithTheirLetters) {
  Rig r;
  r.openQuietly();
  r.peer.expect("65", "65").expect("02 00 C4 03", "12 34 65");
  std::vector<std::uint8_t> two(2);
  const BlockReply read = ReadEe(r.port, 964, two);
  EXPECT_TRUE(read.echoed());
  EXPECT_TRUE(read.closed());
  EXPECT_EQ(read.dataBytes, 2u);
  EXPECT_EQ(two, hex("12 34"));

  r.peer.expect("45", "45").expect("02 00 CA 03 03 7F", "58");
  const BlockReply write = WriteEe(r.port, 970, hex("03 7F"));
  EXPECT_TRUE(write.echoed());
  EXPECT_FALSE(write.closed());
  EXPECT_EQ(write.endMark, 0x58);

  r.peer.expect("45", "45").expect("02 00 00 00 00 00", "");
  EXPECT_EQ(WriteEe(r.port, 0, hex("00 00")).endMark, std::nullopt);
  EXPECT_TRUE(r.peer.done());
}

TEST(Blocks, AWrongOrMissingEchoStopsBeforeTheParameters) {
  Rig r;
  r.openQuietly();
  r.peer.expect("65", "45");
  std::vector<std::uint8_t> two(2);
  BlockReply reply = ReadEe(r.port, 0, two);
  EXPECT_FALSE(reply.echoed());
  EXPECT_EQ(reply.echo, 0x45);
  r.peer.expect("53", "");
  reply = WriteSee(r.port, 0, hex("01"));
  EXPECT_FALSE(reply.echoed());
  EXPECT_EQ(reply.echo, std::nullopt);
  EXPECT_TRUE(r.peer.done());
  EXPECT_EQ(r.peer.events, (std::vector<std::string>{"write 65 1000ms", "read 1 1002ms", "write 53 1000ms",
                                                     "read 1 1002ms"}));
}

}  // namespace
}  // namespace wk::link
