// The health counters against a scripted controller: the exchanges byte by
// byte, the messages and what the list gets after a failure.
#include <gtest/gtest.h>

#include "diagnostics/health.h"
#include "language/translate.h"
#include "link/device_operation.h"
#include "seams/settings.h"
#include "support/link_doubles.h"
#include "support/lng_file.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace wk::diag {
namespace {

using std::chrono::milliseconds;
using test::RecordedMessage;

struct Rig {
  test::ScriptedPeer peer;
  MemorySettings settings;
  test::ScriptedPrompter prompter;
  test::TestClock clock;
  link::DeviceLink link() { return {peer, prompter, settings, clock, {}}; }

  // The controller answers the one-byte read at address with value.
  Rig& counter(const char* address, std::uint8_t value) {
    peer.expect("65", "65").expect(std::string("01 00 ") + address, test::hexOf({value, 0x65}));
    return *this;
  }
  Rig& allCounters(std::initializer_list<std::uint8_t> values) {
    const char* addresses[] = {"CE 03", "CF 03", "D0 03", "D1 03", "D2 03", "D3 03", "D4 03", "D5 03"};
    int i = 0;
    for (std::uint8_t v : values) counter(addresses[i++], v);
    return *this;
  }
  // The controller takes a zero at address.
  Rig& zero(const char* address) {
    peer.expect("45", "45").expect(std::string("01 00 ") + address + " 00", "45");
    return *this;
  }
};

std::vector<std::string> texts(const HealthCounters& c) {
  std::vector<std::string> out;
  for (int row = 0; row < kHealthCounterCount; ++row) out.push_back(c.text(row));
  return out;
}

TEST(HealthNames, RowsInOrder) {
  const std::vector<std::string> names = {"WDT Resets",      "Power Lost times", "Modem Errors",   "1-Wire Errors",
                                          "Software resets", "Net Lost times",   "---Reserved---", "---Reserved---"};
  for (int row = 0; row < kHealthCounterCount; ++row)
    EXPECT_EQ(healthCounterName(row), names[static_cast<std::size_t>(row)]);
}

TEST(ReadStatus, ReadsEachCounterWithItsOwnOneByteExchange) {
  Rig r;
  r.allCounters({3, 1, 0, 7, 255, 128, 0, 42});
  const HealthReport report = ReadStatus(r.link());
  EXPECT_TRUE(r.peer.done());
  EXPECT_TRUE(report.opened);
  EXPECT_TRUE(report.completed);
  EXPECT_TRUE(report.counters.complete());
  // 255 is 255, never -1.
  EXPECT_EQ(texts(report.counters), (std::vector<std::string>{"3", "1", "0", "7", "255", "128", "0", "42"}));
  EXPECT_TRUE(r.prompter.messages.empty());
  // One open with its settling wait, one close at the end.
  EXPECT_EQ(r.peer.events.front(), "open /dev/ttyS0 460800");
  EXPECT_EQ(r.peer.events.back(), "close");
  EXPECT_EQ(r.clock.sleeps, (std::vector<milliseconds>{milliseconds(2000)}));
  EXPECT_FALSE(r.peer.isOpen());
}

TEST(ReadStatus, NoControllerShowsTheEchoMessageOnceAndNoValues) {
  Rig r;
  r.peer.expect("65", "");  // nothing answers
  const HealthReport report = ReadStatus(r.link());
  EXPECT_TRUE(r.peer.done());  // and nothing more was sent
  EXPECT_TRUE(report.opened);
  EXPECT_FALSE(report.completed);
  EXPECT_EQ(r.prompter.messages,
            (std::vector<RecordedMessage>{{"Comunication error11111 y", MessageIcon::Error, MessageButtons::Ok}}));
  EXPECT_EQ(texts(report.counters), std::vector<std::string>(8, ""));
  EXPECT_EQ(r.peer.events.back(), "close");
  // It waited the port's one-byte time-out once.
  EXPECT_EQ(std::count(r.peer.events.begin(), r.peer.events.end(), "read 1 1002ms"), 1);
}

TEST(ReadStatus, WrongEchoShowsTheByteReceived) {
  Rig r;
  r.counter("CE 03", 9);
  r.peer.expect("65", "51");
  const HealthReport report = ReadStatus(r.link());
  EXPECT_TRUE(r.peer.done());
  EXPECT_EQ(r.prompter.texts(), (std::vector<std::string>{"Comunication error11111 Q"}));
  EXPECT_EQ(texts(report.counters), (std::vector<std::string>{"9", "", "", "", "", "", "", ""}));
}

TEST(ReadStatus, MissingEndMarkStopsAndKeepsOnlyTheCountersReceivedWhole) {
  Rig r;
  r.counter("CE 03", 4).counter("CF 03", 5).counter("D0 03", 6);
  r.peer.expect("65", "65").expect("01 00 D1 03", "07");  // the data byte, no end mark
  const HealthReport report = ReadStatus(r.link());
  EXPECT_TRUE(r.peer.done());
  EXPECT_FALSE(report.completed);
  EXPECT_EQ(r.prompter.messages,
            (std::vector<RecordedMessage>{{"READ error111 x", MessageIcon::Error, MessageButtons::Ok}}));
  // The fourth counter came without its end mark: not shown.
  EXPECT_EQ(texts(report.counters), (std::vector<std::string>{"4", "5", "6", "", "", "", "", ""}));
  EXPECT_EQ(r.peer.events.back(), "close");
}

TEST(ReadStatus, WrongEndMarkShowsTheByteReceived) {
  Rig r;
  r.peer.expect("65", "65").expect("01 00 CE 03", "07 5A");
  const HealthReport report = ReadStatus(r.link());
  EXPECT_EQ(r.prompter.texts(), (std::vector<std::string>{"READ error111 Z"}));
  EXPECT_EQ(texts(report.counters), std::vector<std::string>(8, ""));
}

TEST(ReadStatus, AnEndMarkWithoutItsDataByteGivesNoValue) {
  Rig r;
  r.peer.expect("65", "65").expect("01 00 CE 03", "65");
  const HealthReport report = ReadStatus(r.link());
  EXPECT_EQ(r.prompter.texts(), (std::vector<std::string>{"READ error111 x"}));
  EXPECT_EQ(texts(report.counters), std::vector<std::string>(8, ""));
}

TEST(ReadStatus, MessagesAreTranslatedBeforeTheCharacter) {
  test::TempDir dir;
  test::writeLanguageFile(dir.file("t.lng"), {{"Comunication error11111", "Нет связи"}});
  LoadTranslations(dir.file("t.lng"));
  Rig r;
  r.peer.expect("65", "");
  ReadStatus(r.link());
  ClearTranslations();
  EXPECT_EQ(r.prompter.texts(), (std::vector<std::string>{"Нет связи y"}));
}

TEST(ReadStatus, PortThatDoesNotOpenReadsNothing) {
  Rig r;
  r.peer.openResult = {link::OpenStatus::Kind::NotFound, "/dev/ttyS0: No such file or directory"};
  const HealthReport report = ReadStatus(r.link());
  EXPECT_FALSE(report.opened);
  EXPECT_FALSE(report.completed);
  EXPECT_EQ(r.prompter.texts(), (std::vector<std::string>{"Port busy or not exist!"}));
  EXPECT_EQ(r.peer.events, (std::vector<std::string>{"open /dev/ttyS0 460800"}));
}

TEST(ReadStatus, NothingWhileAnotherOperationRuns) {
  Rig r;
  link::DeviceOperation other;
  ASSERT_TRUE(other.acquired());
  const HealthReport report = ReadStatus(r.link());
  EXPECT_FALSE(report.opened);
  EXPECT_TRUE(r.peer.events.empty());
  EXPECT_TRUE(r.prompter.messages.empty());
}

TEST(ResetStatus, WritesZerosClosesThenReadsAgain) {
  Rig r;
  for (const char* a : {"CE 03", "CF 03", "D0 03", "D1 03", "D2 03", "D3 03", "D4 03", "D5 03"}) r.zero(a);
  r.allCounters({0, 0, 0, 0, 0, 0, 0, 0});
  const HealthReport report = ResetStatus(r.link());
  EXPECT_TRUE(r.peer.done());
  EXPECT_TRUE(report.completed);
  EXPECT_EQ(texts(report.counters), std::vector<std::string>(8, "0"));
  EXPECT_TRUE(r.prompter.messages.empty());
  // The port is closed between the writes and the reads, and opened anew.
  std::vector<std::string> opens;
  for (const auto& e : r.peer.events)
    if (e.rfind("open", 0) == 0 || e == "close") opens.push_back(e);
  EXPECT_EQ(opens, (std::vector<std::string>{"open /dev/ttyS0 460800", "close", "open /dev/ttyS0 460800", "close"}));
  EXPECT_EQ(r.clock.sleeps, (std::vector<milliseconds>{milliseconds(2000), milliseconds(2000)}));
}

TEST(ResetStatus, AFailedWriteStopsTheWritesButTheCountersAreStillRead) {
  Rig r;
  r.zero("CE 03").zero("CF 03");
  r.peer.expect("45", "45").expect("01 00 D0 03 00", "");  // no end mark
  r.allCounters({0, 0, 9, 9, 9, 9, 9, 9});
  const HealthReport report = ResetStatus(r.link());
  EXPECT_TRUE(r.peer.done());
  EXPECT_TRUE(report.opened);
  EXPECT_FALSE(report.completed);
  EXPECT_EQ(r.prompter.texts(), (std::vector<std::string>{"READ error111 x"}));
  EXPECT_EQ(texts(report.counters), (std::vector<std::string>{"0", "0", "9", "9", "9", "9", "9", "9"}));
  EXPECT_EQ(r.peer.events.back(), "close");
}

TEST(ResetStatus, NoControllerShowsOneMessagePerCommand) {
  Rig r;
  r.peer.expect("45", "").expect("65", "");
  const HealthReport report = ResetStatus(r.link());
  EXPECT_TRUE(r.peer.done());
  EXPECT_EQ(r.prompter.texts(), (std::vector<std::string>{"Comunication error11111 y", "Comunication error11111 y"}));
  EXPECT_EQ(texts(report.counters), std::vector<std::string>(8, ""));
}

TEST(ResetStatus, PortThatDoesNotOpenWritesAndReadsNothing) {
  Rig r;
  r.peer.openResult = {link::OpenStatus::Kind::Busy, "busy"};
  const HealthReport report = ResetStatus(r.link());
  EXPECT_FALSE(report.opened);
  EXPECT_EQ(r.prompter.texts(), (std::vector<std::string>{"Port busy or not exist!"}));
  EXPECT_EQ(r.peer.events, (std::vector<std::string>{"open /dev/ttyS0 460800"}));
}

}  // namespace
}  // namespace wk::diag
