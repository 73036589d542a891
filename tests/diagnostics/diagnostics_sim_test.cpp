// The health counters and the input readings through the real termios port
// against gz4410-sim: what the controller receives, command by command.
#include <gtest/gtest.h>

#include "diagnostics/health.h"
#include "diagnostics/input_reader.h"
#include "language/translate.h"
#include "support/sim_rig.h"

namespace wk::diag {
namespace {

using test::SimRig;

std::vector<std::string> texts(const HealthCounters& c) {
  std::vector<std::string> out;
  for (int row = 0; row < kHealthCounterCount; ++row) out.push_back(c.text(row));
  return out;
}

std::vector<std::string> oneByteCommands(char letter) {
  std::vector<std::string> out;
  for (int a = 974; a <= 981; ++a) out.push_back(std::string(1, letter) + " 1 " + std::to_string(a));
  return out;
}

TEST(HealthAgainstTheSimulator, ReadsTheCountersOneByteAtATime) {
  SimRig rig({"--health", "3,1,0,7,255,128,0,42"});
  const HealthReport report = ReadStatus(rig.link());
  EXPECT_TRUE(report.completed);
  EXPECT_EQ(texts(report.counters), (std::vector<std::string>{"3", "1", "0", "7", "255", "128", "0", "42"}));
  EXPECT_TRUE(rig.prompter.messages.empty());
  EXPECT_FALSE(rig.transport.isOpen());
  EXPECT_EQ(rig.trace(), oneByteCommands('e'));
}

TEST(HealthAgainstTheSimulator, ResetThenReadGivesZerosAndTheControllerKeepsThem) {
  SimRig rig({"--health", "9,8,7,6,5,4,3,2"});
  const HealthReport report = ResetStatus(rig.link());
  EXPECT_TRUE(report.completed);
  EXPECT_EQ(texts(report.counters), std::vector<std::string>(8, "0"));
  std::vector<std::string> expected = oneByteCommands('E');
  for (const auto& line : oneByteCommands('e')) expected.push_back(line);
  EXPECT_EQ(rig.trace(), expected);
  const sim::Memories saved = rig.stopAndRead();
  for (std::size_t a = 974; a < 982; ++a) EXPECT_EQ(saved.ee[a], 0) << a;
}

TEST(HealthAgainstTheSimulator, NoControllerGivesOneMessage) {
  ClearTranslations();
  SimRig rig({"--silent"}, 10);
  const HealthReport report = ReadStatus(rig.link());
  EXPECT_FALSE(report.completed);
  EXPECT_EQ(rig.prompter.texts(), (std::vector<std::string>{"Comunication error11111 y"}));
  EXPECT_EQ(texts(report.counters), std::vector<std::string>(8, ""));
  EXPECT_EQ(rig.trace(), (std::vector<std::string>{"e !silent"}));
}

TEST(HealthAgainstTheSimulator, AWrongEndMarkStopsTheLoop) {
  SimRig rig({"--health", "1,2,3,4,5,6,7,8", "--fault", "wrong-end@e#4"});
  const HealthReport report = ReadStatus(rig.link());
  EXPECT_EQ(rig.prompter.texts(), (std::vector<std::string>{"READ error111 ?"}));
  EXPECT_EQ(texts(report.counters), (std::vector<std::string>{"1", "2", "3", "", "", "", "", ""}));
  EXPECT_EQ(rig.trace().size(), 4u);
}

TEST(InputsAgainstTheSimulator, TicksReadTheInputsAndRedrawOnlyOnChange) {
  SimRig rig({"--inputs", "128,136,150,175,10,255,0,85", "--input", "8=85..86"});
  InputReader reader(rig.link());
  ASSERT_TRUE(reader.open());
  TickResult first = reader.tick(InputMode::Lost1K, 1);
  EXPECT_TRUE(first.redraw);
  EXPECT_EQ(first.readings, (Readings{128, 136, 150, 175, 10, 255, 0, 85}));
  EXPECT_EQ(reader.picture(), 174);
  EXPECT_TRUE(reader.tick(InputMode::Lost1K, 1).redraw);   // input 8 went to 86
  EXPECT_TRUE(reader.tick(InputMode::Lost1K, 1).redraw);   // and back to 85
  reader.close();
  EXPECT_FALSE(rig.transport.isOpen());
  EXPECT_EQ(rig.trace(), (std::vector<std::string>{"a 128 136 150 175 10 255 0 85", "a 128 136 150 175 10 255 0 86",
                                                    "a 128 136 150 175 10 255 0 85"}));
}

TEST(InputsAgainstTheSimulator, EqualReadingsAreNotRedrawn) {
  SimRig rig({"--inputs", "150,150,150,150,150,150,150,150"});
  InputReader reader(rig.link());
  ASSERT_TRUE(reader.open());
  EXPECT_TRUE(reader.tick(InputMode::Atz1, 1).redraw);
  EXPECT_FALSE(reader.tick(InputMode::Atz1, 1).redraw);
  EXPECT_EQ(reader.picture(), 156);
}

TEST(InputsAgainstTheSimulator, FewerThanEightReadingsEndWithError2) {
  SimRig rig({"--fault", "short@a#2"}, 10);
  InputReader reader(rig.link());
  ASSERT_TRUE(reader.open());
  EXPECT_EQ(reader.tick(InputMode::Atz1, 1).error, ReadError::None);
  const TickResult t = reader.tick(InputMode::Atz1, 1);
  EXPECT_EQ(t.error, ReadError::ShortReply);
  EXPECT_FALSE(t.redraw);
  EXPECT_FALSE(rig.transport.isOpen());
}

}  // namespace
}  // namespace wk::diag
