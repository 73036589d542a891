// "System Info" against a scripted controller: the three queries, the line
// they make and its formats, and the four refusals.
#include <gtest/gtest.h>

#include "firmware/system_info.h"
#include "firmware_rig.h"
#include "link/device_operation.h"

namespace wk::firmware {
namespace {

using test::RecordedMessage;
using test::Rig;

struct Shown {
  std::vector<std::string> lines;
  std::function<void(const std::string&)> callback() {
    return [this](const std::string& line) { lines.push_back(line); };
  }
};

const std::string kModel = "4D 06 47 5A 34 34 31 30";  // 'M', 6, "GZ4410"
const std::string kFullLine = "Model = GZ4410    S/N = $00012AF0   FWver = 1.05d";

TEST(SystemInfo, ModelSerialNumberAndVersionMakeOneLine) {
  Rig rig;
  rig.peer.expect("4D", kModel).expect("4E", "4E F0 2A 01 00").expect("76", "76 69 00 64");
  Shown shown;
  const SystemInfo info = QuerySystemInfo(rig.link(), shown.callback());
  EXPECT_EQ(info.outcome, Outcome::Completed);
  EXPECT_EQ(info.line, kFullLine);
  EXPECT_TRUE(rig.peer.done());
  EXPECT_TRUE(rig.prompter.messages.empty());
  // Cleared when the port is open, then after the model, then whole.
  EXPECT_EQ(shown.lines, (std::vector<std::string>{"", "Model = GZ4410", kFullLine}));
  EXPECT_EQ(rig.peer.events.back(), "close");
  EXPECT_FALSE(rig.peer.isOpen());
  EXPECT_EQ(rig.progressWindows, 0);
}

TEST(SystemInfo, Formats) {
  struct Case {
    std::string model, serial, version, line;
  };
  const Case cases[] = {
      // An empty model; the serial number with leading zeros; version 0.
      {"4D 00", "4E 00 00 00 00", "76 00 00 20", "Model =     S/N = $00000000   FWver = 0.00 "},
      // Bytes above 0x7F are characters of their own code; the largest values.
      {"4D 02 C0 FF", "4E FF FF FF FF", "76 FF FF 7A", "Model = \u00C0\u00FF    S/N = $FFFFFFFF   FWver = 655.35z"},
      // Version 104 and 7: the hundredths keep two digits.
      {"4D 01 41", "4E 78 56 34 12", "76 68 00 64", "Model = A    S/N = $12345678   FWver = 1.04d"},
      {"4D 01 41", "4E 01 00 00 00", "76 07 00 21", "Model = A    S/N = $00000001   FWver = 0.07!"},
  };
  for (const Case& c : cases) {
    Rig rig;
    rig.peer.expect("4D", c.model).expect("4E", c.serial).expect("76", c.version);
    const SystemInfo info = QuerySystemInfo(rig.link());
    EXPECT_EQ(info.outcome, Outcome::Completed);
    EXPECT_EQ(info.line, c.line);
  }
}

TEST(SystemInfo, PartsThatDoNotArriveWholeAreLeftOut) {
  struct Case {
    std::string model, serial, version, line;
  };
  const Case cases[] = {
      // Three of six model bytes: the text ends there.
      {"4D 06 47 5A 34", "4E F0 2A 01 00", "76 69 00 64", "Model = GZ4    S/N = $00012AF0   FWver = 1.05d"},
      // Three serial bytes: no serial number.
      {kModel, "4E F0 2A 01", "76 69 00 64", "Model = GZ4410FWver = 1.05d"},
      // No serial number at all.
      {kModel, "4E", "76 69 00 64", "Model = GZ4410FWver = 1.05d"},
      // No last version byte: no character after the version.
      {kModel, "4E F0 2A 01 00", "76 69 00", "Model = GZ4410    S/N = $00012AF0   FWver = 1.05"},
      // One version byte: no version; nothing more came.
      {kModel, "4E F0 2A 01 00", "76 69", "Model = GZ4410    S/N = $00012AF0   "},
      {kModel, "4E F0 2A 01 00", "76", "Model = GZ4410    S/N = $00012AF0   "},
  };
  for (const Case& c : cases) {
    Rig rig;
    rig.peer.expect("4D", c.model).expect("4E", c.serial).expect("76", c.version);
    const SystemInfo info = QuerySystemInfo(rig.link());
    EXPECT_EQ(info.outcome, Outcome::Completed) << c.line;
    EXPECT_EQ(info.line, c.line);
    EXPECT_TRUE(rig.prompter.messages.empty());
  }
}

TEST(SystemInfo, EachRefusalHasItsMessageAndClosesThePort) {
  struct Case {
    std::vector<std::pair<std::string, std::string>> script;
    std::string message;
    std::vector<std::string> shown;
  };
  const Case cases[] = {
      {{{"4D", ""}}, "Connection error 2", {"", ""}},
      {{{"4D", "4E"}}, "Connection error 2", {"", ""}},
      {{{"4D", "4D"}}, "Connection error 3", {"", ""}},
      {{{"4D", kModel}, {"4E", ""}}, "Connection error 4", {"", "Model = GZ4410", "Model = GZ4410"}},
      {{{"4D", kModel}, {"4E", "4D"}}, "Connection error 4", {"", "Model = GZ4410", "Model = GZ4410"}},
      {{{"4D", kModel}, {"4E", "4E F0 2A 01 00"}, {"76", ""}},
       "Connection error 5",
       {"", "Model = GZ4410", "Model = GZ4410    S/N = $00012AF0   "}},
      {{{"4D", kModel}, {"4E", "4E F0 2A 01 00"}, {"76", "56 69 00 64"}},
       "Connection error 5",
       {"", "Model = GZ4410", "Model = GZ4410    S/N = $00012AF0   "}},
  };
  for (const Case& c : cases) {
    Rig rig;
    for (const auto& [sent, reply] : c.script) rig.peer.expect(sent, reply);
    Shown shown;
    const SystemInfo info = QuerySystemInfo(rig.link(), shown.callback());
    EXPECT_EQ(info.outcome, Outcome::Failed);
    EXPECT_TRUE(rig.peer.done()) << c.message << ": nothing sent after the refusal";
    // Shown as they stand, never translated; then the port is closed.
    EXPECT_EQ(rig.prompter.messages,
              (std::vector<RecordedMessage>{{c.message, MessageIcon::Error, MessageButtons::Ok}}));
    EXPECT_EQ(rig.log, (std::vector<std::string>{"message " + c.message + " (port open)"}));
    EXPECT_FALSE(rig.peer.isOpen());
    EXPECT_EQ(rig.peer.events.back(), "close");
    EXPECT_EQ(shown.lines, c.shown) << c.message;
  }
}

TEST(SystemInfo, APortThatDoesNotOpenLeavesTheLineAlone) {
  Rig rig;
  rig.peer.openResult = {link::OpenStatus::Kind::NotFound, "no such device"};
  Shown shown;
  EXPECT_EQ(QuerySystemInfo(rig.link(), shown.callback()).outcome, Outcome::Failed);
  EXPECT_EQ(rig.prompter.texts(), (std::vector<std::string>{"Port busy or not exist!"}));
  EXPECT_TRUE(shown.lines.empty());
}

TEST(SystemInfo, NothingHappensWhileAnotherOperationRuns) {
  Rig rig;
  link::DeviceOperation other;
  Shown shown;
  EXPECT_EQ(QuerySystemInfo(rig.link(), shown.callback()).outcome, Outcome::Busy);
  EXPECT_TRUE(rig.peer.events.empty());
  EXPECT_TRUE(shown.lines.empty());
}

TEST(SystemInfo, TheOpeningWaitIsTheOnlyOne) {
  Rig rig;
  rig.peer.expect("4D", kModel).expect("4E", "4E F0 2A 01 00").expect("76", "76 69 00 64");
  QuerySystemInfo(rig.link());
  EXPECT_EQ(rig.clock.sleeps, (std::vector<std::chrono::milliseconds>{std::chrono::milliseconds(2000)}));
}

}  // namespace
}  // namespace wk::firmware
