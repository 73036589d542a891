// "Write Changed Data" over the real termios port against gz4410-sim: the
// controller ends up as write-all would leave it, only the differing blocks
// go out, they are read back, and every failure says what was written.
#include <gtest/gtest.h>

#include <algorithm>

#include "document/collect_effects.h"
#include "document/config_image.h"
#include "link/device_operation.h"
#include "support/sim_rig.h"

namespace wk::link {
namespace {

using test::RecordedMessage;
using test::SimRig;

constexpr std::size_t kEeBase = 61888;  // image offset of EE-Data address 0
const std::string kNothingToWrite = "Nothing to write: the controller already holds this configuration.";

std::size_t countOf(const std::vector<std::string>& trace, const std::string& prefix) {
  return static_cast<std::size_t>(
      std::count_if(trace.begin(), trace.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; }));
}

// A controller that holds exactly what a write of image sends, with health
// counters and other bytes beyond the configuration of its own.
sim::Memories holding(const ConfigImage& image) {
  ConfigImage sent = image;
  ApplyCollectEffects(sent);
  sim::Memories m;
  std::copy_n(sent.all().begin(), kEeBase, m.see.begin());
  m.ee = test::hostileBytes(sim::kEeSize, 5);
  std::copy_n(sent.all().begin() + kEeBase, 974, m.ee.begin());
  return m;
}

ConfigImage hostileImage(unsigned seed) {
  ConfigImage image;
  const auto bytes = test::hostileBytes(image::kSize, seed);
  std::ranges::copy(bytes, image.all().begin());
  return image;
}

// Read-all's exchange, then the writes at 57600 baud, the return to 460800,
// and the read-back with read-all's blocks and its closing speed command.
std::vector<std::string> changedTrace(const std::vector<int>& see, const std::vector<int>& ee,
                                      const std::vector<int>& seeBack) {
  std::vector<std::string> t = test::readAllTrace();
  t.back() = "R 7";
  for (int a : see) t.push_back("S 128 " + std::to_string(a));
  for (int a : ee) t.push_back("E 2 " + std::to_string(a));
  t.push_back("R 0");
  for (int a : seeBack) t.push_back("s 1024 " + std::to_string(a));
  for (int a : ee) t.push_back("e 2 " + std::to_string(a));
  t.push_back("R 0");
  return t;
}

// Equal traces; otherwise where they part.
::testing::AssertionResult sameTrace(const std::vector<std::string>& got, const std::vector<std::string>& want) {
  const auto [g, w] = std::mismatch(got.begin(), got.end(), want.begin(), want.end());
  if (g == got.end() && w == want.end()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "line " << g - got.begin() << ": got \"" << (g == got.end() ? "(end)" : *g)
                                       << "\", want \"" << (w == want.end() ? "(end)" : *w) << '"';
}

struct Result {
  TransferOutcome outcome;
  std::vector<std::string> messages;
  std::vector<std::string> trace;
  sim::Memories after;
};

Result run(bool changedOnly, const sim::Memories& before, const ConfigImage& file, bool savePortsOutput,
        const std::vector<std::string>& simOptions = {}) {
  SimRig rig(simOptions, 10, &before);
  rig.settings.writeInt(setting::kSection, setting::kSavePortsOutput, savePortsOutput ? 1 : 0);
  C4410Doc doc;
  doc.image() = file;
  Result r;
  r.outcome = changedOnly ? WriteChanged(doc, rig.link()) : WriteAll(doc, rig.link());
  r.messages = rig.prompter.texts();
  EXPECT_FALSE(rig.port.isOpen());
  EXPECT_FALSE(doc.isModified());
  r.trace = rig.trace();
  r.after = rig.stopAndRead();
  return r;
}

void expectSameMemories(const sim::Memories& a, const sim::Memories& b) {
  EXPECT_TRUE(a.see == b.see) << "SEE-Data differs first at "
                              << std::mismatch(a.see.begin(), a.see.end(), b.see.begin()).first - a.see.begin();
  EXPECT_TRUE(a.ee == b.ee) << "EE-Data differs first at "
                            << std::mismatch(a.ee.begin(), a.ee.end(), b.ee.begin()).first - a.ee.begin();
}

// For every case the controller afterwards holds byte for byte what write-all
// leaves, and the exchange is the documented one.
TEST(WriteChanged, LeavesTheControllerAsWriteAllDoes) {
  struct Case {
    const char* name;
    std::function<void(ConfigImage& file, sim::Memories& controller)> change;
    bool savePortsOutput;
    std::vector<int> see, ee, seeBack;  // blocks written and read back
  };
  const Case cases[] = {
      {"unchanged", [](ConfigImage&, sim::Memories&) {}, false, {}, {}, {}},
      {"one SEE byte", [](ConfigImage& f, sim::Memories&) { f.at(5000) ^= 0x01; }, false, {4992}, {}, {4096}},
      {"one EE byte", [](ConfigImage& f, sim::Memories&) { f.at(kEeBase + 801) ^= 0x80; }, false, {}, {800}, {}},
      {"last blocks",
       [](ConfigImage& f, sim::Memories& c) {
         c.see[65535] = 0x5A;  // beyond the image: write-all writes zeros there
         f.at(kEeBase + 973) ^= 0x10;
       },
       false, {65408}, {972}, {64512}},
      {"GSM managed, sent", [](ConfigImage&, sim::Memories& c) { c.ee[965] = 0x33; }, false, {}, {964}, {}},
      {"GSM managed, kept", [](ConfigImage&, sim::Memories& c) { c.ee[965] = 0x33; }, true, {}, {}, {}},
      {"two SEE blocks of one read block and a reserved bit",
       [](ConfigImage& f, sim::Memories& c) {
         f.at(40960 + 10) ^= 0x04;  // in SmsComments
         f.at(40960 + 130) ^= 0x04;
         c.see[158 * 2 + 1] |= 0x40;  // a reserved bit the collect step clears
       },
       false, {256, 40960, 41088}, {}, {0, 40960}},
  };
  const ConfigImage base = hostileImage(9);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ConfigImage file = base;
    sim::Memories controller = holding(base);
    c.change(file, controller);
    const Result all = run(false, controller, file, c.savePortsOutput);
    const Result changed = run(true, controller, file, c.savePortsOutput);
    ASSERT_EQ(all.outcome, TransferOutcome::Completed);
    EXPECT_EQ(changed.outcome, TransferOutcome::Completed);
    expectSameMemories(changed.after, all.after);
    const std::size_t blocks = c.see.size() + c.ee.size();
    if (blocks == 0) {
      EXPECT_EQ(changed.messages, std::vector<std::string>{kNothingToWrite});
      EXPECT_TRUE(sameTrace(changed.trace, test::readAllTrace())) << "read-all's exchange, and nothing sent";
    } else {
      EXPECT_EQ(changed.messages,
                std::vector<std::string>{"Write compleeted\nBlocks written: " + std::to_string(blocks) + "/" +
                                         std::to_string(blocks)});
      EXPECT_TRUE(sameTrace(changed.trace, changedTrace(c.see, c.ee, c.seeBack)));
    }
  }
}

TEST(WriteChanged, EveryBlockChanged) {
  const ConfigImage file = hostileImage(2);
  // Every byte other than a write sends: beyond the image and the "GSM
  // managed" values, which are sent as zeros, too.
  sim::Memories controller = holding(file);
  for (auto& b : controller.see) b ^= 0x01;
  for (std::size_t a = 0; a < 974; ++a) controller.ee[a] ^= 0x01;
  const Result all = run(false, controller, file, false);
  const Result changed = run(true, controller, file, false);
  EXPECT_EQ(changed.outcome, TransferOutcome::Completed);
  EXPECT_EQ(changed.messages, std::vector<std::string>{"Write compleeted\nBlocks written: 999/999"});
  expectSameMemories(changed.after, all.after);
  EXPECT_EQ(countOf(changed.trace, "S 128 "), 512u);
  EXPECT_EQ(countOf(changed.trace, "E 2 "), 487u);
  EXPECT_EQ(countOf(changed.trace, "s 1024 "), 128u) << "read, then read back";
  EXPECT_EQ(countOf(changed.trace, "e 2 "), 974u);
}

// One bar over the three phases, which the status line names; it never goes back.
TEST(WriteChanged, ProgressOverAllPhases) {
  const ConfigImage base = hostileImage(4);
  ConfigImage file = base;
  file.at(100) ^= 1;
  file.at(kEeBase + 40) ^= 1;
  const sim::Memories controller = holding(base);
  SimRig rig({}, 10, &controller);
  C4410Doc doc;
  doc.image() = file;
  ASSERT_EQ(WriteChanged(doc, rig.link()), TransferOutcome::Completed);
  const auto& log = rig.progressLog;
  ASSERT_GE(log.size(), 4u);
  EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + 4),
            (std::vector<std::string>{"caption Write in progress...", "range 65535", "pos 0",
                                      "status Reading: SEE-Data byte 1024"}));
  std::vector<std::string> statuses;
  int last = 0;
  for (const std::string& line : log) {
    if (line.rfind("status ", 0) == 0) statuses.push_back(line.substr(7));
    if (line.rfind("pos ", 0) == 0) {
      const int pos = std::stoi(line.substr(4));
      EXPECT_GE(pos, last) << line;
      last = pos;
    }
  }
  EXPECT_EQ(last, 65535);
  EXPECT_EQ(log.back(), "close");
  ASSERT_EQ(statuses.size(), 64u + 487u + 2u + 2u);
  EXPECT_EQ(statuses[63], "Reading: SEE-Data byte 65536");
  EXPECT_EQ(statuses[64 + 486], "Reading: EE-Data byte 974");
  EXPECT_EQ(std::vector<std::string>(statuses.end() - 4, statuses.end()),
            (std::vector<std::string>{"Writing: SEE-Data byte 128", "Writing: EE-Data byte 42",
                                      "Checking: SEE-Data byte 1024", "Checking: EE-Data byte 42"}));
}

// Against a hang only; what the time stands for is the number of read
// time-outs that ran out.
constexpr auto kHangGuard = std::chrono::seconds(60);

// A controller that differs in two SEE blocks and one EE block; its
// commands are counted: v, R, 64 s, 487 e, then R 7 as the 554th.
struct Differing {
  ConfigImage file = hostileImage(6);
  sim::Memories controller;
  Differing() {
    controller = holding(file);
    file.at(3000) ^= 0xFF;
    file.at(9000) ^= 0xFF;
    file.at(kEeBase + 500) ^= 0xFF;
  }
};

TEST(WriteChanged, SilentInTheReadWritesNothing) {
  const auto start = std::chrono::steady_clock::now();
  const Differing d;
  SimRig rig({"--silent-after", "20"}, 10, &d.controller);
  C4410Doc doc;
  doc.image() = d.file;
  EXPECT_EQ(WriteChanged(doc, rig.link()), TransferOutcome::Failed);
  EXPECT_EQ(rig.prompter.messages,
            (std::vector<RecordedMessage>{
                {"Connection error 0 E=0x5A Z", MessageIcon::None, MessageButtons::Ok},
                {"Set Speed Error", MessageIcon::Error, MessageButtons::Ok},
                {"Nothing was written: the configuration in the controller could not be read.", MessageIcon::Error,
                 MessageButtons::Ok}}));
  EXPECT_EQ(rig.transport.timeouts, 2) << "the SEE echo and the speed echo";
  EXPECT_EQ(rig.progressLog.back(), "close");
  EXPECT_FALSE(rig.port.isOpen());
  EXPECT_EQ(countOf(rig.trace(), "S"), 0u);
  expectSameMemories(rig.stopAndRead(), d.controller);
  EXPECT_LT(std::chrono::steady_clock::now() - start, kHangGuard);
}

TEST(WriteChanged, SilentInTheWriteSaysHowManyBlocksWentThrough) {
  const auto start = std::chrono::steady_clock::now();
  const Differing d;
  SimRig rig({"--silent-after", "555"}, 10, &d.controller);  // the first S is answered
  C4410Doc doc;
  doc.image() = d.file;
  EXPECT_EQ(WriteChanged(doc, rig.link()), TransferOutcome::Failed);
  EXPECT_EQ(rig.prompter.texts(),
            (std::vector<std::string>{"Comunication error X",
                                      "Writing stopped: the controller did not answer at EE-Data byte 500",
                                      "Set Speed Error",
                                      "Writing failed: the configuration in the controller may be incomplete.\n"
                                      "Blocks written: 1/3"}));
  // The second S echo, three E echoes, the speed echo; nothing read back.
  EXPECT_EQ(rig.transport.timeouts, 5);
  const auto trace = rig.trace();
  EXPECT_EQ(countOf(trace, "S 128 "), 1u);
  EXPECT_EQ(countOf(trace, "s "), 64u);
  EXPECT_EQ(rig.progressLog.back(), "close");
  EXPECT_LT(std::chrono::steady_clock::now() - start, kHangGuard);
}

TEST(WriteChanged, SilentInTheReadBackIsNoSuccess) {
  const auto start = std::chrono::steady_clock::now();
  const Differing d;
  SimRig rig({"--silent-after", "558"}, 10, &d.controller);  // R 7, S, S, E, R 0
  C4410Doc doc;
  doc.image() = d.file;
  EXPECT_EQ(WriteChanged(doc, rig.link()), TransferOutcome::Failed);
  EXPECT_EQ(rig.prompter.texts(),
            (std::vector<std::string>{"Connection error 0 E=0x5A Z", "Set Speed Error",
                                      "Writing could not be checked: the written blocks could not be read back.\n"
                                      "Blocks written: 3/3"}));
  EXPECT_EQ(rig.transport.timeouts, 2) << "the s echo and the closing speed echo";
  const Result all = run(false, d.controller, d.file, false);
  expectSameMemories(rig.stopAndRead(), all.after);
  EXPECT_LT(std::chrono::steady_clock::now() - start, kHangGuard);
}

// The controller acknowledges a block but keeps other bytes: the read-back
// finds the first of them.
TEST(WriteChanged, AReadBackThatDiffersIsReportedWithItsAddress) {
  struct Case {
    const char* fault;
    std::string struck;
    std::string message;
  };
  const Case cases[] = {
      // The last byte of block 8960.
      {"bad-store@S#2", "S 128 8960", "Verify failed at SEE-Data byte 9087\nBlocks written: 3/3"},
      {"bad-store@E#1", "E 2 500", "Verify failed at EE-Data byte 501\nBlocks written: 3/3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fault);
    const Differing d;
    SimRig rig({"--fault", c.fault}, 10, &d.controller);
    C4410Doc doc;
    doc.image() = d.file;
    EXPECT_EQ(WriteChanged(doc, rig.link()), TransferOutcome::Failed);
    EXPECT_EQ(rig.prompter.messages, (std::vector<RecordedMessage>{{c.message, MessageIcon::Error, MessageButtons::Ok}}));
    auto expected = changedTrace({2944, 8960}, {500}, {2048, 8192});
    *std::find(expected.begin(), expected.end(), c.struck) += " !bad-store";
    EXPECT_TRUE(sameTrace(rig.trace(), expected));
    EXPECT_EQ(rig.progressLog.back(), "close");
  }
}

// What the controller held is handed over before anything is written, as
// read-all would put it in a document; refusing it stops the write.
TEST(WriteChanged, TheReadIsGivenBeforeTheWrite) {
  const Differing d;
  for (const bool accept : {true, false}) {
    SimRig rig({}, 10, &d.controller);
    C4410Doc doc;
    doc.image() = d.file;
    ConfigImage given;
    int calls = 0;
    const auto outcome = WriteChanged(doc, rig.link(), [&](const ConfigImage& held) {
      given = held;
      ++calls;
      return accept;
    });
    EXPECT_EQ(outcome, accept ? TransferOutcome::Completed : TransferOutcome::Failed);
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(std::equal(d.controller.see.begin(), d.controller.see.begin() + kEeBase, given.all().begin()));
    EXPECT_EQ(given.at(kEeBase + 710), 0);
    EXPECT_EQ(given.at(kEeBase + 500), d.controller.ee[500]);
    const auto trace = rig.trace();
    EXPECT_EQ(countOf(trace, "S"), accept ? 2u : 0u);
    if (!accept) {
      EXPECT_TRUE(rig.prompter.messages.empty()) << "the one who refused has told why";
      EXPECT_TRUE(sameTrace(trace, test::readAllTrace()));
    }
  }
}

TEST(WriteChanged, NothingWhileAnotherOperationRuns) {
  DeviceOperation running;
  test::ScriptedPeer peer;
  MemorySettings settings;
  test::ScriptedPrompter prompter;
  test::TestClock clock;
  C4410Doc doc;
  EXPECT_EQ(WriteChanged(doc, DeviceLink{peer, prompter, settings, clock, nullptr}), TransferOutcome::Busy);
  EXPECT_TRUE(peer.events.empty());
  EXPECT_TRUE(prompter.messages.empty());
}

// A page that could not take a value it shows (an empty start timeout) has
// told the user so: neither write opens the port, or the controller would get
// the old value as if the write had gone through.
TEST(WriteChanged, NothingWhenAPageCouldNotTakeAValue) {
  struct RefusingEditor : ImageEditor {
    void TransferImage(TransferDirection) override {}
    bool collectComplete() const override { return false; }
  } refusing;
  for (const bool changedOnly : {false, true}) {
    SCOPED_TRACE(changedOnly ? "write changed" : "write all");
    test::ScriptedPeer peer;
    MemorySettings settings;
    test::ScriptedPrompter prompter;
    test::TestClock clock;
    C4410Doc doc;
    doc.registerEditor(EditorSlot::Miscellaneous, &refusing);
    const DeviceLink link{peer, prompter, settings, clock, nullptr};
    EXPECT_EQ(changedOnly ? WriteChanged(doc, link) : WriteAll(doc, link), TransferOutcome::Failed);
    EXPECT_TRUE(peer.events.empty());
    EXPECT_TRUE(prompter.messages.empty());
    doc.registerEditor(EditorSlot::Miscellaneous, nullptr);
  }
}

}  // namespace
}  // namespace wk::link
