// The live input reading against a scripted controller: the exchange of each
// tick, when the text and picture change, and the two errors.
#include <gtest/gtest.h>

#include "diagnostics/input_reader.h"
#include "language/translate.h"
#include "link/device_operation.h"
#include "seams/settings.h"
#include "support/link_doubles.h"
#include "support/scripted_prompter.h"

namespace wk::diag {
namespace {

using test::RecordedMessage;
using M = InputMode;

struct Rig {
  Rig() { ClearTranslations(); }
  test::ScriptedPeer peer;
  MemorySettings settings;
  test::ScriptedPrompter prompter;
  test::TestClock clock;
  InputReader reader{link::DeviceLink{peer, prompter, settings, clock, {}}};

  // One tick's exchange: 'a', then the echo and the readings.
  Rig& answer(const std::string& readingsHex) {
    peer.expect("61", "61 " + readingsHex);
    return *this;
  }
  void openQuietly() {
    ASSERT_TRUE(reader.open());
    peer.events.clear();
  }
};

TEST(InputReader, OpensThePortAndStartsWithPicture175) {
  Rig r;
  ASSERT_TRUE(r.reader.open());
  EXPECT_TRUE(r.reader.isOpen());
  EXPECT_EQ(r.peer.events, (std::vector<std::string>{"open /dev/ttyS0 460800", "discard"}));
  EXPECT_EQ(r.reader.picture(), 175);
  EXPECT_EQ(r.reader.text(), "");
}

TEST(InputReader, EachTickSendsOneLetterAndReadsTheEchoAndEightReadings) {
  Rig r;
  r.openQuietly();
  r.answer("80 88 96 AF 0A FF 55 C8");
  const TickResult t = r.reader.tick(M::Lost1K, 1);
  EXPECT_TRUE(r.peer.done());
  EXPECT_EQ(r.peer.events, (std::vector<std::string>{"write 61 1000ms", "read 1 1002ms", "read 8 1016ms"}));
  EXPECT_EQ(t.error, ReadError::None);
  EXPECT_TRUE(t.redraw);
  ASSERT_TRUE(t.readings);
  EXPECT_EQ(*t.readings, (Readings{128, 136, 150, 175, 10, 255, 85, 200}));
  EXPECT_EQ(r.reader.text(),
            "i1=128 / R\u2248 1016 Ohm (R = 1kOhm ok)\r\n"
            "i2=136 / R\u2248 1286 Ohm (R = 1kOhm ok)\r\n"
            "i3=150 / R\u2248 1857 Ohm (R = 1kOhm ok)\r\n"
            "i4=175 / R\u2248 3375 Ohm (R <> 1kOhm)\r\n"
            "i5= 10 / R\u2248 -918 Ohm (R <> 1kOhm)\r\n"
            "i6=255 / R\u2248  inf Ohm (R <> 1kOhm)\r\n"
            "i7= 85 / R\u2248    0 Ohm (R <> 1kOhm)\r\n"
            "i8=200 / R\u2248 6273 Ohm (R <> 1kOhm)\r\n");
  EXPECT_EQ(r.reader.picture(), 174);
  EXPECT_TRUE(r.reader.isOpen());
}

TEST(InputReader, TheSameReadingsTwiceDoNotRedraw) {
  Rig r;
  r.openQuietly();
  r.answer("80 80 80 80 80 80 80 80").answer("80 80 80 80 80 80 80 80").answer("80 80 80 80 80 80 80 81");
  EXPECT_TRUE(r.reader.tick(M::Atz1, 1).redraw);
  EXPECT_FALSE(r.reader.tick(M::Atz1, 1).redraw);
  EXPECT_TRUE(r.reader.tick(M::Atz1, 1).redraw);  // input 8 changed
}

TEST(InputReader, AnotherModeOrInputRedrawsOnTheNextTick) {
  Rig r;
  r.openQuietly();
  // Input 1 at 150, input 2 at 136.
  const std::string readings = "96 88 80 80 80 80 80 80";
  r.answer(readings).answer(readings).answer(readings).answer(readings);
  r.reader.tick(M::Atz1, 1);
  EXPECT_EQ(r.reader.picture(), 156);  // zone 1k, line OK

  // The controls changed: the dialog forgets the text, the next tick redraws
  // with the new mode and input.
  r.reader.forgetShown();
  EXPECT_TRUE(r.reader.tick(M::Set0, 2).redraw);
  EXPECT_EQ(r.reader.picture(), 175);  // 136 in "0 Set" is not stable

  // Only the input changed: same text, so nothing is redrawn until forgotten.
  EXPECT_FALSE(r.reader.tick(M::Set0, 1).redraw);
  EXPECT_EQ(r.reader.picture(), 175);
  r.reader.forgetShown();
  EXPECT_TRUE(r.reader.tick(M::Set0, 1).redraw);
  EXPECT_EQ(r.reader.picture(), 183);  // 150: "0 Set no"
}

TEST(InputReader, PictureStaysOrEmptiesAsTheRulesSay) {
  Rig r;
  r.openQuietly();
  r.answer("AF 00 00 00 00 00 00 00");  // 175 in ATZ1: both zones
  r.answer("A2 00 00 00 00 00 00 00");  // 162: zone 2.2k, not stable: the picture stays
  r.answer("79 00 00 00 00 00 00 00");  // 121: only not stable: none in ATZ1
  r.answer("0A 00 00 00 00 00 00 00");  // 10: line error
  r.reader.tick(M::Atz1, 1);
  EXPECT_EQ(r.reader.picture(), 155);
  r.reader.tick(M::Atz1, 1);
  EXPECT_EQ(r.reader.picture(), 155);
  r.reader.tick(M::Atz1, 1);
  EXPECT_EQ(r.reader.picture(), std::nullopt);
  r.reader.tick(M::Atz1, 1);
  EXPECT_EQ(r.reader.picture(), 158);
}

TEST(InputReader, WrongEchoStillShowsTheReadingsThenEndsWithError1) {
  Rig r;
  r.openQuietly();
  r.peer.expect("61", "3F 80 80 80 80 80 80 80 80");
  const TickResult t = r.reader.tick(M::Lost1K, 1);
  EXPECT_EQ(t.error, ReadError::Echo);
  EXPECT_TRUE(t.redraw);
  EXPECT_EQ(r.reader.text().substr(0, 39), "i1=128 / R\u2248 1016 Ohm (R = 1kOhm ok)\r\n");
  // The port is closed before the caller shows the message.
  EXPECT_FALSE(r.reader.isOpen());
  EXPECT_EQ(r.peer.events.back(), "close");
  EXPECT_TRUE(r.prompter.messages.empty());
  r.reader.reportError(t.error);
  EXPECT_EQ(r.prompter.messages,
            (std::vector<RecordedMessage>{{"READ ERROR 1", MessageIcon::Error, MessageButtons::Ok}}));
  // A tick after the end does nothing.
  EXPECT_EQ(r.reader.tick(M::Lost1K, 1).error, ReadError::None);
}

TEST(InputReader, FewerThanEightReadingsEndWithError2AndNoRedraw) {
  Rig r;
  r.openQuietly();
  r.answer("80 80 80 80 80");
  const TickResult t = r.reader.tick(M::Atz1, 1);
  EXPECT_EQ(t.error, ReadError::ShortReply);
  EXPECT_FALSE(t.redraw);
  EXPECT_FALSE(t.readings);
  EXPECT_EQ(r.reader.text(), "");
  EXPECT_EQ(r.reader.picture(), 175);
  EXPECT_FALSE(r.reader.isOpen());
  r.reader.reportError(t.error);
  EXPECT_EQ(r.prompter.texts(), (std::vector<std::string>{"READ ERROR 2"}));
}

TEST(InputReader, SilentControllerIsError2AfterBothTimeOuts) {
  Rig r;
  r.openQuietly();
  r.peer.expect("61", "");
  const TickResult t = r.reader.tick(M::Atz1, 1);
  // The missing echo is noted, then the readings do not come either.
  EXPECT_EQ(t.error, ReadError::ShortReply);
  EXPECT_EQ(r.peer.events,
            (std::vector<std::string>{"write 61 1000ms", "read 1 1002ms", "read 8 1016ms", "close"}));
}

TEST(InputReader, PortThatDoesNotOpenEndsAtOnce) {
  Rig r;
  r.peer.openResult = {link::OpenStatus::Kind::NotFound, "gone"};
  EXPECT_FALSE(r.reader.open());
  EXPECT_FALSE(r.reader.isOpen());
  EXPECT_EQ(r.prompter.texts(), (std::vector<std::string>{"Port busy or not exist!"}));
  EXPECT_EQ(r.reader.tick(M::Atz1, 1).error, ReadError::None);
  EXPECT_EQ(r.peer.events, (std::vector<std::string>{"open /dev/ttyS0 460800"}));
}

TEST(InputReader, HoldsTheDeviceOperationUntilClosed) {
  Rig r;
  ASSERT_TRUE(r.reader.open());
  EXPECT_TRUE(link::DeviceOperation::running());
  {
    test::ScriptedPeer otherPeer;
    InputReader other(link::DeviceLink{otherPeer, r.prompter, r.settings, r.clock, {}});
    EXPECT_FALSE(other.open());
    EXPECT_TRUE(otherPeer.events.empty());
  }
  r.reader.close();
  EXPECT_FALSE(link::DeviceOperation::running());
  EXPECT_EQ(r.peer.events.back(), "close");
}

TEST(InputReader, DestructionClosesThePort) {
  test::ScriptedPeer peer;
  MemorySettings settings;
  test::ScriptedPrompter prompter;
  test::TestClock clock;
  {
    InputReader reader(link::DeviceLink{peer, prompter, settings, clock, {}});
    ASSERT_TRUE(reader.open());
  }
  EXPECT_FALSE(peer.isOpen());
  EXPECT_EQ(peer.events.back(), "close");
  EXPECT_FALSE(link::DeviceOperation::running());
}

}  // namespace
}  // namespace wk::diag
