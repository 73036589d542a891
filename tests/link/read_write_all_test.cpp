// Read-all and write-all over the real termios port against gz4410-sim: every
// byte moves, the command trace is the documented one, and every failure of a
// silent or lying controller ends with its message within a bound.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "document/config_image.h"
#include "link/device_operation.h"
#include "support/pty_line.h"
#include "support/sim_rig.h"

namespace wk::link {
namespace {

using std::chrono::milliseconds;
using test::RecordedMessage;
using test::SimRig;

constexpr std::size_t kEeBase = 61888;  // image offset of EE-Data address 0

sim::Memories hostileMemories() {
  sim::Memories m;
  m.see = test::hostileBytes(sim::kSeeSize, 3);
  m.ee = test::hostileBytes(sim::kEeSize, 11);
  return m;
}

// Lines of the trace that start with prefix.
std::size_t countOf(const std::vector<std::string>& trace, const std::string& prefix) {
  return static_cast<std::size_t>(
      std::count_if(trace.begin(), trace.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; }));
}

bool contains(const std::vector<std::string>& log, const std::string& item) {
  return std::find(log.begin(), log.end(), item) != log.end();
}

TEST(ReadAll, MovesEveryByteAndClearsTheReadAllCells) {
  const sim::Memories m = hostileMemories();
  SimRig rig({}, 1, &m);
  C4410Doc doc;
  doc.makeNew();
  test::RecordingEditors editors(doc);

  EXPECT_EQ(ReadAll(doc, rig.link()), TransferOutcome::Completed);
  EXPECT_EQ(rig.prompter.messages,
            (std::vector<RecordedMessage>{{"Read compleeted", MessageIcon::Information, MessageButtons::Ok}}));
  EXPECT_EQ(rig.trace(), test::readAllTrace());
  EXPECT_FALSE(rig.port.isOpen());
  EXPECT_TRUE(doc.isModified());

  std::vector<std::uint8_t> expected(m.see.begin(), m.see.begin() + kEeBase);
  expected.insert(expected.end(), m.ee.begin(), m.ee.begin() + 974);
  expected[kEeBase + 710] = 0;
  std::fill(expected.begin() + kEeBase + 964, expected.begin() + kEeBase + 970, 0);
  const auto all = doc.image().all();
  ASSERT_EQ(std::vector<std::uint8_t>(all.begin(), all.end()), expected);

  // The SMS editor first, then every editor: the SMS editor runs twice.
  std::vector<std::string> refreshes{"sms 0"};
  for (const auto& e : test::RecordingEditors::everyEditor(0)) refreshes.push_back(e);
  EXPECT_EQ(editors.log, refreshes);
  // The opening and closing waits and the two speed changes.
  EXPECT_EQ(rig.clock.sleeps, (std::vector<milliseconds>{milliseconds(2000), milliseconds(10), milliseconds(10)}));
}

TEST(ReadAll, ProgressCountsEveryBlock) {
  SimRig rig;
  C4410Doc doc;
  ASSERT_EQ(ReadAll(doc, rig.link()), TransferOutcome::Completed);
  const auto& log = rig.progressLog;
  ASSERT_GE(log.size(), 4u);
  EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + 5),
            (std::vector<std::string>{"caption Read in progress...", "range 65535", "pos 0",
                                      "status SEE-Data byte 1024", "pos 1024"}));
  EXPECT_EQ(countOf(log, "status SEE-Data byte "), 64u);
  EXPECT_TRUE(contains(log, "status SEE-Data byte 65536"));
  EXPECT_EQ(countOf(log, "status EE-Data byte "), 487u);
  const auto range = std::find(log.begin(), log.end(), "range 973");
  ASSERT_NE(range, log.end());
  EXPECT_EQ(*(range - 1), "pos 65536");
  EXPECT_EQ(*(range + 1), "status EE-Data byte 2");
  EXPECT_EQ(log[log.size() - 2], "pos 974");
  EXPECT_EQ(log.back(), "close");
}

TEST(ReadAll, AModifiedDocumentAsksFirst) {
  SimRig rig;
  C4410Doc doc;
  doc.setModified(true);
  doc.image().at(5) = 0x42;
  rig.prompter.answer(Answer::No);
  EXPECT_EQ(ReadAll(doc, rig.link()), TransferOutcome::Declined);
  EXPECT_EQ(rig.prompter.messages, (std::vector<RecordedMessage>{{"Current document is not empty, proceed?",
                                                                   MessageIcon::Question, MessageButtons::YesNo}}));
  EXPECT_TRUE(rig.clock.sleeps.empty()) << "the port was not even opened";
  EXPECT_EQ(doc.image().at(5), 0x42);

  rig.prompter.messages.clear();
  rig.prompter.answer(Answer::Yes);
  EXPECT_EQ(ReadAll(doc, rig.link()), TransferOutcome::Completed);
  EXPECT_EQ(rig.prompter.texts(),
            (std::vector<std::string>{"Current document is not empty, proceed?", "Read compleeted"}));
  EXPECT_EQ(doc.image().at(5), 0x00);
  EXPECT_EQ(rig.trace(), test::readAllTrace()) << "one session only";
}

TEST(WriteAll, MovesEveryByteAndZerosTheRestOfSeeData) {
  sim::Memories before;
  std::fill(before.see.begin(), before.see.end(), 0xA5);
  std::fill(before.ee.begin(), before.ee.end(), 0xA5);
  SimRig rig({}, 1, &before);
  C4410Doc doc;
  const auto image = test::hostileBytes(image::kSize, 7);
  std::ranges::copy(image, doc.image().all().begin());
  test::RecordingEditors editors(doc);

  EXPECT_EQ(WriteAll(doc, rig.link()), TransferOutcome::Completed);
  EXPECT_EQ(rig.prompter.messages,
            (std::vector<RecordedMessage>{{"Write compleeted", MessageIcon::Information, MessageButtons::Ok}}));
  EXPECT_EQ(editors.log, test::RecordingEditors::everyEditor(1));
  EXPECT_FALSE(doc.isModified());
  EXPECT_EQ(rig.trace(), test::writeAllTrace(false));

  // As collecting the pages leaves it: no reserved bits in byte 1 of the
  // notification rules nor in bits 11..14 of the reports' words, and the "GSM
  // managed" output values (EE-Data 964..969) 0.
  auto sent = image;
  for (std::size_t k = 0; k < 256; ++k) sent[158 * k + 1] &= 0x3F;
  for (std::size_t c = 0; c < 10; ++c) sent[62752 + 10 * c + 9] &= 0x87;  // reports: bits 11..14 of the word
  std::fill(sent.begin() + kEeBase + 964, sent.begin() + kEeBase + 970, 0);
  const sim::Memories after = rig.stopAndRead();
  EXPECT_TRUE(std::equal(sent.begin(), sent.begin() + kEeBase, after.see.begin()));
  EXPECT_TRUE(std::all_of(after.see.begin() + kEeBase, after.see.end(), [](std::uint8_t b) { return b == 0; }));
  EXPECT_TRUE(std::equal(sent.begin() + kEeBase, sent.end(), after.ee.begin()));
  EXPECT_TRUE(std::equal(sent.begin(), sent.end(), doc.image().all().begin())) << "the document holds what was sent";
  // The health counters and the rest of EE-Data are not the configuration's.
  EXPECT_TRUE(std::all_of(after.ee.begin() + 974, after.ee.end(), [](std::uint8_t b) { return b == 0xA5; }));
}

TEST(WriteAll, SavePortsOutputLeavesTheGsmManagedValuesToTheController) {
  sim::Memories before;
  std::fill(before.ee.begin(), before.ee.end(), 0x77);
  SimRig rig({}, 1, &before);
  rig.settings.writeInt(setting::kSection, setting::kSavePortsOutput, 1);
  C4410Doc doc;
  doc.makeNew();
  doc.setModified(true);
  EXPECT_EQ(WriteAll(doc, rig.link()), TransferOutcome::Completed);
  EXPECT_TRUE(doc.isModified());
  const auto trace = rig.trace();
  EXPECT_EQ(trace, test::writeAllTrace(true));
  EXPECT_EQ(countOf(trace, "E "), 484u);
  const sim::Memories after = rig.stopAndRead();
  for (std::size_t a = 964; a < 970; ++a) EXPECT_EQ(after.ee[a], 0x77) << a;
  EXPECT_EQ(after.ee[962], 0x00);
  EXPECT_EQ(after.ee[970], 0x00);
}

TEST(WriteAll, ProgressStatusEveryFourSeeBlocks) {
  SimRig rig;
  C4410Doc doc;
  ASSERT_EQ(WriteAll(doc, rig.link()), TransferOutcome::Completed);
  const auto& log = rig.progressLog;
  EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + 8),
            (std::vector<std::string>{"caption Write in progress...", "range 65535", "pos 0", "pos 0", "pos 128",
                                      "pos 256", "pos 384", "status SEE-Data byte 512"}));
  EXPECT_EQ(countOf(log, "status SEE-Data byte "), 128u);
  EXPECT_EQ(countOf(log, "status EE-Data byte "), 487u);
  EXPECT_TRUE(contains(log, "range 973"));
  EXPECT_EQ(log.back(), "close");
}

// Each version the controller may report, and a controller that does not
// answer the query properly: nothing is transferred, the port is closed.
TEST(ReadAndWriteAll, VersionCases) {
  struct Case {
    std::vector<std::string> sim;
    std::vector<std::string> messages;
  };
  const Case cases[] = {
      {{"--version", "104"}, {"Wrong Version, update FIRMWARE"}},
      {{"--version", "106"}, {"Wrong Version, update Configurator"}},
      {{"--version", "0"}, {"Read Version Error"}},
      {{"--fault", "no-end@v"}, {"Read Version Error"}},
      {{"--fault", "wrong-echo@v"}, {"Connection error 5", "Read Version Error"}},
      {{"--silent"}, {"Connection error 5", "Read Version Error"}},
  };
  for (const Case& c : cases) {
    for (bool reading : {true, false}) {
      SCOPED_TRACE(c.sim.back() + (reading ? " read" : " write"));
      SimRig rig(c.sim, 10);
      C4410Doc doc;
      doc.image().at(100) = 0x55;
      const auto outcome = reading ? ReadAll(doc, rig.link()) : WriteAll(doc, rig.link());
      EXPECT_EQ(outcome, TransferOutcome::Failed);
      EXPECT_EQ(rig.prompter.texts(), c.messages);
      EXPECT_TRUE(rig.progressLog.empty());
      EXPECT_FALSE(rig.port.isOpen());
      EXPECT_EQ(doc.image().at(100), 0x55);
      EXPECT_FALSE(doc.isModified());
      EXPECT_EQ(countOf(rig.trace(), "v"), 1u);
      EXPECT_EQ(countOf(rig.trace(), "R"), 0u);
    }
  }
}

TEST(ReadAndWriteAll, MissingSpeedEchoStopsBeforeAnyTransfer) {
  for (bool reading : {true, false}) {
    SimRig rig({"--fault", "no-echo@R#1"}, 10);
    C4410Doc doc;
    const auto outcome = reading ? ReadAll(doc, rig.link()) : WriteAll(doc, rig.link());
    EXPECT_EQ(outcome, TransferOutcome::Failed);
    EXPECT_EQ(rig.prompter.texts(), std::vector<std::string>{"Set Speed Error"});
    EXPECT_EQ(rig.trace(), (std::vector<std::string>{"v", "R !no-echo"}));
    EXPECT_TRUE(rig.progressLog.empty());
  }
}

TEST(ReadAll, PortThatCannotOpenLeavesTheDocumentAlone) {
  test::TestClock clock;
  MemorySettings settings;
  settings.writeString(setting::kSection, setting::kPort, "/nonexistent/ttyUSB9");
  test::ScriptedPrompter prompter;
  TermiosTransport transport(clock);
  C4410Doc doc;
  EXPECT_EQ(ReadAll(doc, DeviceLink{transport, prompter, settings, clock, nullptr}), TransferOutcome::Failed);
  EXPECT_EQ(prompter.texts(), std::vector<std::string>{"Port busy or not exist!"});
  EXPECT_EQ(prompter.notes, std::vector<std::string>{"/nonexistent/ttyUSB9: No such file or directory"});
  EXPECT_FALSE(doc.isModified());
}

// A failed phase never reaches the document: not a byte, not the flag, no refresh.
void expectUntouched(const C4410Doc& doc, const test::RecordingEditors& editors) {
  C4410Doc fresh;
  fresh.makeNew();
  EXPECT_TRUE(doc.image() == fresh.image());
  EXPECT_FALSE(doc.isModified());
  EXPECT_TRUE(editors.log.empty());
}

TEST(ReadAll, WrongSeeEchoEndsThatPhaseAndLeavesTheDocumentAsItWas) {
  SimRig rig({"--fault", "wrong-echo@s#3"}, 10, nullptr);
  C4410Doc doc;
  doc.makeNew();
  test::RecordingEditors editors(doc);
  EXPECT_EQ(ReadAll(doc, rig.link()), TransferOutcome::Failed);
  EXPECT_EQ(rig.prompter.messages,
            (std::vector<RecordedMessage>{
                {"Connection error 1 E=0x3F ?", MessageIcon::None, MessageButtons::Ok},
                {"Reading failed: the document was not changed.", MessageIcon::Error, MessageButtons::Ok}}));
  const auto trace = rig.trace();
  EXPECT_EQ(countOf(trace, "s 1024 "), 2u);
  EXPECT_EQ(trace[4], "s !wrong-echo");
  EXPECT_EQ(countOf(trace, "e "), 487u) << "the EE phase still runs";
  EXPECT_EQ(trace.back(), "R 0");
  expectUntouched(doc, editors);
  EXPECT_FALSE(rig.port.isOpen());
  EXPECT_EQ(rig.progressLog.back(), "close");
}

TEST(ReadAll, MissingSeeEchoShowsNoByteAsZ) {
  SimRig rig({"--fault", "no-echo@s#64"}, 10, nullptr);
  C4410Doc doc;
  EXPECT_EQ(ReadAll(doc, rig.link()), TransferOutcome::Failed);
  EXPECT_EQ(rig.prompter.texts(), (std::vector<std::string>{"Connection error 0 E=0x5A Z",
                                                           "Reading failed: the document was not changed."}));
}

TEST(ReadAll, ShortSeeBlockIsRequestedAgain) {
  const sim::Memories m = hostileMemories();
  SimRig rig({"--fault", "short@s#2x2"}, 10, &m);
  C4410Doc doc;
  EXPECT_EQ(ReadAll(doc, rig.link()), TransferOutcome::Completed);
  EXPECT_EQ(rig.prompter.messages,
            (std::vector<RecordedMessage>{{"Synchro error 512", MessageIcon::None, MessageButtons::Ok},
                                          {"Synchro error 512", MessageIcon::None, MessageButtons::Ok},
                                          {"Read compleeted", MessageIcon::Information, MessageButtons::Ok}}));
  const auto trace = rig.trace();
  EXPECT_EQ(std::vector<std::string>(trace.begin() + 3, trace.begin() + 6),
            (std::vector<std::string>{"s 1024 1024 !short", "s 1024 1024 !short", "s 1024 1024"}));
  EXPECT_EQ(rig.transport.timeouts, 2) << "one read time-out ran out for each short block, no other";
  EXPECT_TRUE(std::equal(m.see.begin(), m.see.begin() + kEeBase, doc.image().all().begin()));
}

TEST(ReadAll, ShortSeeBlockStopsAfterTheBound) {
  SimRig rig({"--fault", "short@s#5x100"}, 10, nullptr);
  C4410Doc doc;
  doc.makeNew();
  test::RecordingEditors editors(doc);
  EXPECT_EQ(ReadAll(doc, rig.link()), TransferOutcome::Failed);
  EXPECT_EQ(rig.prompter.texts(),
            (std::vector<std::string>{"Synchro error 512", "Synchro error 512", "Synchro error 512",
                                      "Reading stopped: the SEE-Data block kept arriving short at byte 4096",
                                      "Reading failed: the document was not changed."}));
  EXPECT_EQ(countOf(rig.trace(), "s 1024 4096 !short"), 3u);
  EXPECT_EQ(countOf(rig.trace(), "s "), 7u);
  EXPECT_EQ(rig.transport.timeouts, 3);
  expectUntouched(doc, editors);
}

TEST(ReadAll, EePhaseFailures) {
  struct Case {
    const char* fault;
    RecordedMessage first;
  };
  const Case cases[] = {
      {"no-end@e#10", {"READ error Z", MessageIcon::Error, MessageButtons::Ok}},
      {"wrong-end@e#10", {"READ error ?", MessageIcon::Error, MessageButtons::Ok}},
      {"short@e#10", {"READ error Z", MessageIcon::Error, MessageButtons::Ok}},
      {"wrong-echo@e#10", {"Comunication error ?", MessageIcon::Error, MessageButtons::Ok}},
      {"no-echo@e#10", {"Comunication error Z", MessageIcon::Error, MessageButtons::Ok}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fault);
    SimRig rig({"--fault", c.fault}, 10, nullptr);
    C4410Doc doc;
    doc.makeNew();
    test::RecordingEditors editors(doc);
    EXPECT_EQ(ReadAll(doc, rig.link()), TransferOutcome::Failed);
    EXPECT_EQ(rig.prompter.messages,
              (std::vector<RecordedMessage>{c.first, {"Reading failed: the document was not changed.",
                                                      MessageIcon::Error, MessageButtons::Ok}}));
    EXPECT_EQ(countOf(rig.trace(), "e"), 10u);
    EXPECT_EQ(rig.trace().back(), "R 0");
    expectUntouched(doc, editors);
  }
}

TEST(ReadAll, FailedClosingSpeedStillCommitsTheWholeData) {
  const sim::Memories m = hostileMemories();
  SimRig rig({"--fault", "no-echo@R#2"}, 10, &m);
  C4410Doc doc;
  test::RecordingEditors editors(doc);
  EXPECT_EQ(ReadAll(doc, rig.link()), TransferOutcome::Failed);
  EXPECT_EQ(rig.prompter.texts(), std::vector<std::string>{"Set Speed Error"});
  EXPECT_TRUE(doc.isModified());
  EXPECT_TRUE(std::equal(m.see.begin(), m.see.begin() + kEeBase, doc.image().all().begin()));
  EXPECT_EQ(doc.image().at(kEeBase + 710), 0);
  EXPECT_EQ(doc.image().at(kEeBase + 964), 0);
  EXPECT_EQ(doc.image().at(kEeBase + 100), m.ee[100]);
  EXPECT_EQ(editors.log.size(), 10u) << "every editor shows the new image";
  EXPECT_EQ(rig.progressLog.back(), "close");
  EXPECT_FALSE(rig.port.isOpen());
}

// Against a hang only; what the time stands for is asserted as the number of
// read time-outs that ran out.
constexpr auto kHangGuard = std::chrono::seconds(60);

// A controller that falls silent in the middle: every wait ends, and the
// whole procedure ends after three read time-outs: the SEE echo, the EE echo
// and the closing speed command's echo.
TEST(ReadAll, ControllerFallingSilentIsBoundedInTime) {
  const auto start = std::chrono::steady_clock::now();
  SimRig rig({"--silent-after", "20"}, 10);
  C4410Doc doc;
  doc.makeNew();
  test::RecordingEditors editors(doc);
  EXPECT_EQ(ReadAll(doc, rig.link()), TransferOutcome::Failed);
  EXPECT_EQ(rig.prompter.texts(),
            (std::vector<std::string>{"Connection error 0 E=0x5A Z", "Comunication error Z", "Set Speed Error",
                                      "Reading failed: the document was not changed."}));
  EXPECT_EQ(rig.transport.timeouts, 3);
  EXPECT_EQ(rig.clock.sleeps, (std::vector<milliseconds>{milliseconds(2000), milliseconds(10)}));
  EXPECT_LT(std::chrono::steady_clock::now() - start, kHangGuard);
  expectUntouched(doc, editors);
}

TEST(WriteAll, ControllerFallingSilentInTheSeePhaseGivesOneMessageThenTriesEe) {
  const auto start = std::chrono::steady_clock::now();
  SimRig rig({"--silent-after", "100"}, 10);
  C4410Doc doc;
  EXPECT_EQ(WriteAll(doc, rig.link()), TransferOutcome::Failed);
  EXPECT_EQ(rig.prompter.messages,
            (std::vector<RecordedMessage>{
                {"Comunication error X", MessageIcon::Error, MessageButtons::Ok},
                {"Writing stopped: the controller did not answer at EE-Data byte 0", MessageIcon::Error,
                 MessageButtons::Ok},
                {"Set Speed Error", MessageIcon::Error, MessageButtons::Ok},
                {"Writing failed: the configuration in the controller may be incomplete.", MessageIcon::Error,
                 MessageButtons::Ok}}));
  const auto trace = rig.trace();
  EXPECT_EQ(countOf(trace, "ignored 0x45"), 3u) << "the EE block was tried kMaxBlockTries times";
  // One SEE echo, three EE echoes, the speed echo: five read time-outs.
  EXPECT_EQ(rig.transport.timeouts, 5);
  EXPECT_LT(std::chrono::steady_clock::now() - start, kHangGuard);
}

// The adapter is unplugged in the middle of a transfer. The test plays the
// controller on a pseudo-terminal of its own and closes it at the chosen
// moment; the procedure must end at once with its usual messages, say that
// the line was lost, and not spin through its read time-outs.
class UnpluggedLine : public ::testing::Test {
 protected:
  using Bytes = std::vector<std::uint8_t>;

  // Answers the version query and the speed command.
  void opening() {
    ASSERT_EQ(pty.receive(1), Bytes{'v'});
    pty.send({'v', 0x69, 0x00, 'd'});
    ASSERT_EQ(pty.receive(1), Bytes{'R'});
    pty.send({'R'});
    ASSERT_EQ(pty.receive(1).size(), 1u);
  }

  TransferOutcome run(bool reading, std::function<void()> controller) {
    settings.writeString(setting::kSection, setting::kPort, pty.path());
    std::thread peer(std::move(controller));
    const auto cpuBefore = test::threadCpuTime();
    const auto outcome = reading ? ReadAll(doc, link) : WriteAll(doc, link);
    cpu = test::threadCpuTime() - cpuBefore;
    peer.join();
    return outcome;
  }

  test::PtyLine pty;
  MemorySettings settings;
  test::ScriptedPrompter prompter;
  test::TestClock clock;
  TermiosTransport termios{clock};
  test::CountingTransport transport{termios};
  const DeviceLink link{transport, prompter, settings, clock, nullptr};
  C4410Doc doc;
  std::chrono::microseconds cpu{};
  const std::vector<std::string> lostNote{
      "The line to the controller was lost: check the cable and the serial adapter."};
};

TEST_F(UnpluggedLine, DuringReadAll) {
  doc.makeNew();
  test::RecordingEditors editors(doc);
  const auto outcome = run(true, [this] {
    opening();
    for (int block = 0; block < 2; ++block) {
      ASSERT_EQ(pty.receive(1), Bytes{'s'});
      pty.send({'s'});
      ASSERT_EQ(pty.receive(4).size(), 4u);
      pty.send(Bytes(1024, 0x5A));
    }
    ASSERT_EQ(pty.receive(1), Bytes{'s'});
    pty.send({'s'});
    ASSERT_EQ(pty.receive(4).size(), 4u);
    pty.hangUp();
  });
  EXPECT_EQ(outcome, TransferOutcome::Failed);
  // The short block is not asked for again on a line that is gone.
  EXPECT_EQ(prompter.texts(), (std::vector<std::string>{"Synchro error 0", "Comunication error Z", "Set Speed Error",
                                                        "Reading failed: the document was not changed."}));
  EXPECT_EQ(prompter.notes, lostNote);
  EXPECT_LT(cpu, milliseconds(200)) << "three read time-outs spun through";
  EXPECT_EQ(transport.reads, 3 + 1 + 2 * 2 + 2 + 1 + 1) << "v and its two and one bytes; R; two s blocks; s; e; R";
  EXPECT_FALSE(termios.isOpen());
  expectUntouched(doc, editors);
}

TEST_F(UnpluggedLine, DuringWriteAll) {
  const auto outcome = run(false, [this] {
    opening();
    for (int block = 0; block < 2; ++block) {
      ASSERT_EQ(pty.receive(1), Bytes{'S'});
      pty.send({'S'});
      ASSERT_EQ(pty.receive(4 + 128).size(), 132u);
      pty.send({'S'});
    }
    ASSERT_EQ(pty.receive(1), Bytes{'S'});
    pty.hangUp();
  });
  EXPECT_EQ(outcome, TransferOutcome::Failed);
  // The EE block is not tried again either.
  EXPECT_EQ(prompter.texts(),
            (std::vector<std::string>{"Comunication error X",
                                      "Writing stopped: the controller did not answer at EE-Data byte 0",
                                      "Set Speed Error",
                                      "Writing failed: the configuration in the controller may be incomplete."}));
  EXPECT_EQ(prompter.notes, lostNote);
  EXPECT_LT(cpu, milliseconds(200)) << "five read time-outs spun through";
  EXPECT_EQ(transport.reads, 3 + 1 + 2 * 2 + 1 + 1 + 1) << "v and its two and one bytes; R; two S blocks; S; E; R";
}

TEST(WriteAll, MissingEeEchoIsSentAgainWithoutAMessage) {
  SimRig rig({"--fault", "no-echo@E#5x2"}, 10);
  C4410Doc doc;
  EXPECT_EQ(WriteAll(doc, rig.link()), TransferOutcome::Completed);
  EXPECT_EQ(rig.prompter.texts(), std::vector<std::string>{"Write compleeted"});
  EXPECT_EQ(rig.transport.timeouts, 2);
  const auto trace = rig.trace();
  const auto first = std::find(trace.begin(), trace.end(), "E !no-echo");
  ASSERT_NE(first, trace.end());
  EXPECT_EQ(std::vector<std::string>(first - 1, first + 3),
            (std::vector<std::string>{"E 2 6", "E !no-echo", "E !no-echo", "E 2 8"}));
  EXPECT_EQ(countOf(trace, "E 2 "), 487u);
}

TEST(WriteAll, EeEchoMissingBeyondTheBoundStopsThePhase) {
  SimRig rig({"--fault", "no-echo@E#5x3"}, 10);
  C4410Doc doc;
  EXPECT_EQ(WriteAll(doc, rig.link()), TransferOutcome::Failed);
  EXPECT_EQ(rig.prompter.texts(),
            (std::vector<std::string>{"Writing stopped: the controller did not answer at EE-Data byte 8",
                                      "Writing failed: the configuration in the controller may be incomplete."}));
  const auto trace = rig.trace();
  EXPECT_EQ(countOf(trace, "E !no-echo"), 3u) << "the block was tried kMaxBlockTries times";
  EXPECT_EQ(countOf(trace, "E 2 "), 4u);
  EXPECT_EQ(trace.back(), "R 0");
  EXPECT_EQ(rig.transport.timeouts, 3) << "one echo time-out a try, no other";
}

TEST(WriteAll, SeePhaseErrorsAndTheEePhaseStillRuns) {
  struct Case {
    const char* fault;
    RecordedMessage first;
  };
  const Case cases[] = {
      {"no-end@S#3", {"WRITE error 256 X(58)", MessageIcon::Error, MessageButtons::Ok}},
      {"wrong-end@S#3", {"WRITE error 256 ?(3F)", MessageIcon::Error, MessageButtons::Ok}},
      {"wrong-echo@S#3", {"Comunication error ?", MessageIcon::Error, MessageButtons::Ok}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fault);
    SimRig rig({"--fault", c.fault}, 10);
    C4410Doc doc;
    EXPECT_EQ(WriteAll(doc, rig.link()), TransferOutcome::Failed);
    EXPECT_EQ(rig.prompter.messages,
              (std::vector<RecordedMessage>{c.first,
                                            {"Writing failed: the configuration in the controller may be incomplete.",
                                             MessageIcon::Error, MessageButtons::Ok}}));
    EXPECT_EQ(countOf(rig.trace(), "S"), 3u);
    EXPECT_EQ(countOf(rig.trace(), "E 2 "), 487u);
  }
}

TEST(WriteAll, EeEndMarkMissingEndsThePhaseWithoutIcon) {
  SimRig rig({"--fault", "no-end@E#2"}, 10);
  C4410Doc doc;
  EXPECT_EQ(WriteAll(doc, rig.link()), TransferOutcome::Failed);
  EXPECT_EQ(rig.prompter.messages,
            (std::vector<RecordedMessage>{
                {"WRITE Error X", MessageIcon::None, MessageButtons::Ok},
                {"Writing failed: the configuration in the controller may be incomplete.", MessageIcon::Error,
                 MessageButtons::Ok}}));
  EXPECT_EQ(countOf(rig.trace(), "E"), 2u);
}

// Read-all against a scripted controller, for replies the simulator does not
// give: bytes that come after the PC's read time-out ran out.
class ScriptedReadAll : public ::testing::Test {
 protected:
  using Bytes = std::vector<std::uint8_t>;

  static Bytes header(std::size_t count, std::size_t address) {
    return {static_cast<std::uint8_t>(count), static_cast<std::uint8_t>(count >> 8),
            static_cast<std::uint8_t>(address), static_cast<std::uint8_t>(address >> 8)};
  }
  void opening() { peer.expect("76", "76 69 00 64").expect("52", "52").expect("00").expectBaud(460800); }
  void seeBlock(std::size_t address, Bytes data, Bytes late = {}) {
    peer.expect("73", "73").expect(header(1024, address), std::move(data), std::move(late));
  }
  void eeBlock(std::size_t address, Bytes reply, Bytes late = {}) {
    peer.expect("65", "65").expect(header(2, address), std::move(reply), std::move(late));
  }
  void closing() { peer.expect("52", "52").expect("00").expectBaud(460800); }

  test::ScriptedPeer peer;
  MemorySettings settings;
  test::ScriptedPrompter prompter;
  test::TestClock clock;
  const DeviceLink link{peer, prompter, settings, clock, nullptr};
  C4410Doc doc;
};

// The rest of a short SEE block trickles in after the PC gave up on it: it
// must not pass for the echo of the block asked for again.
TEST_F(ScriptedReadAll, LateBytesOfAShortSeeBlockAreThrownAwayBeforeItIsAskedAgain) {
  opening();
  seeBlock(0, Bytes(500, 0x11), Bytes(524, 0x11));
  seeBlock(0, Bytes(1024, 0x22));
  for (std::size_t a = 1024; a < 65536; a += 1024) seeBlock(a, Bytes(1024, 0x33));
  for (std::size_t a = 0; a < 974; a += 2) eeBlock(a, {0x44, 0x44, 'e'});
  closing();
  EXPECT_EQ(ReadAll(doc, link), TransferOutcome::Completed);
  EXPECT_EQ(prompter.texts(), (std::vector<std::string>{"Synchro error 500", "Read compleeted"}));
  EXPECT_TRUE(peer.done());
  EXPECT_EQ(doc.image().at(0), 0x22);
  EXPECT_EQ(doc.image().at(1023), 0x22);
  EXPECT_EQ(doc.image().at(1024), 0x33);
}

// An EE block of one data byte whose closing 'e' comes late: the closing byte
// is there, but the block has a hole, and the data must not be taken.
TEST_F(ScriptedReadAll, AnEeBlockMissingADataByteIsAReadErrorEvenWhenClosed) {
  opening();
  for (std::size_t a = 0; a < 65536; a += 1024) seeBlock(a, Bytes(1024, 0x33));
  eeBlock(0, {0x44, 0x44, 'e'});
  eeBlock(2, {0x5A}, {'e'});
  closing();
  doc.makeNew();
  EXPECT_EQ(ReadAll(doc, link), TransferOutcome::Failed);
  EXPECT_EQ(prompter.texts(),
            (std::vector<std::string>{"READ error e", "Reading failed: the document was not changed."}));
  EXPECT_TRUE(peer.done());
  EXPECT_FALSE(doc.isModified());
}

TEST(DeviceOperation, OnlyOneAtATime) {
  EXPECT_FALSE(DeviceOperation::running());
  {
    DeviceOperation first;
    EXPECT_TRUE(first.acquired());
    EXPECT_TRUE(DeviceOperation::running());
    DeviceOperation second;
    EXPECT_FALSE(second.acquired());
    EXPECT_TRUE(DeviceOperation::running());

    // A second transfer asked for meanwhile does nothing at all.
    test::ScriptedPeer peer;
    MemorySettings settings;
    test::ScriptedPrompter prompter;
    test::TestClock clock;
    const DeviceLink link{peer, prompter, settings, clock, nullptr};
    C4410Doc doc;
    EXPECT_EQ(ReadAll(doc, link), TransferOutcome::Busy);
    EXPECT_EQ(WriteAll(doc, link), TransferOutcome::Busy);
    EXPECT_TRUE(peer.events.empty());
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_TRUE(DeviceOperation::running()) << "the refused ones must not end the running one";
  }
  EXPECT_FALSE(DeviceOperation::running());
}

}  // namespace
}  // namespace wk::link
