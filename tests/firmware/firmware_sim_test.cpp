// System information and the update over the real termios port against
// gz4410-sim: what the controller received is compared with the file, byte
// for byte, and every fault of the bootloader ends with its message.
#include <gtest/gtest.h>

#include "firmware/code_filler.h"
#include "firmware/flasher.h"
#include "firmware/system_info.h"
#include "firmware_rig.h"
#include "support/sim_rig.h"

namespace wk::firmware {
namespace {

using test::RecordedMessage;
using test::SimRig;
using Bytes = std::vector<std::uint8_t>;

const std::string kNoAnswer = "Device do not answer, check cables";

// What the simulator's bootloader kept of the last update.
struct Received {
  Bytes header;
  Bytes code;
  Bytes blocks;  // per block: 0 not received, 1 taken, 2 bad checksum, 3 refused, 4 unanswered
};

Received received(SimRig& rig) {
  const auto sections = sim::readStateSections(rig.statePath);
  const auto it = sections.find("bootloader");
  if (it == sections.end() || it->second.size() != 1 + 128 + 32256 + 252) return {};
  const Bytes& b = it->second;
  return {Bytes(b.begin() + 1, b.begin() + 129), Bytes(b.begin() + 129, b.begin() + 129 + 32256),
          Bytes(b.begin() + 129 + 32256, b.end())};
}

std::string writeFile(SimRig& rig, const Bytes& bytes) {
  test::writeBytes(rig.dir.file("fw.cod"), bytes);
  return rig.dir.file("fw.cod");
}

TEST(FirmwareSim, SystemInfo) {
  SimRig rig;
  std::vector<std::string> shown;
  const SystemInfo info = QuerySystemInfo(rig.link(), [&](const std::string& l) { shown.push_back(l); });
  EXPECT_EQ(info.outcome, Outcome::Completed);
  EXPECT_EQ(info.line, "Model = GZ4410    S/N = $00012AF0   FWver = 1.05d");
  EXPECT_EQ(shown.size(), 3u);
  EXPECT_TRUE(rig.prompter.messages.empty());
  EXPECT_FALSE(rig.port.isOpen());
  EXPECT_EQ(rig.trace(), (std::vector<std::string>{"M", "N", "v"}));

  SimRig other({"--model", "GZ4410-R2", "--serial", "4294967295", "--version", "1234"});
  EXPECT_EQ(QuerySystemInfo(other.link()).line, "Model = GZ4410-R2    S/N = $FFFFFFFF   FWver = 12.34d");
}

TEST(FirmwareSim, SystemInfoRefusals) {
  struct Case {
    std::vector<std::string> args;
    std::string message;
    std::string line;
  };
  const Case cases[] = {
      {{"--fault", "no-echo@M"}, "Connection error 2", ""},
      {{"--fault", "no-length@M"}, "Connection error 3", ""},
      {{"--fault", "wrong-echo@N"}, "Connection error 4", "Model = GZ4410"},
      {{"--fault", "no-echo@v"}, "Connection error 5", "Model = GZ4410    S/N = $00012AF0   "},
  };
  for (const Case& c : cases) {
    SimRig rig(c.args, 10);
    const SystemInfo info = QuerySystemInfo(rig.link());
    EXPECT_EQ(info.outcome, Outcome::Failed);
    EXPECT_EQ(info.line, c.line);
    EXPECT_EQ(rig.prompter.messages,
              (std::vector<RecordedMessage>{{c.message, MessageIcon::Error, MessageButtons::Ok}}));
    EXPECT_FALSE(rig.port.isOpen());
  }
  // A short model text and serial number: what came is shown, the rest left out.
  SimRig rig({"--fault", "short@M", "--fault", "short@N"}, 10);
  const SystemInfo info = QuerySystemInfo(rig.link());
  EXPECT_EQ(info.outcome, Outcome::Completed);
  EXPECT_EQ(info.line, "Model = GZ4FWver = 1.05d");
  EXPECT_EQ(rig.transport.timeouts, 2) << "one time-out for the missing model bytes, one for the serial number";
}

TEST(FirmwareSim, AFileOfExactlyTheBlocksArrivesAsItIs) {
  SimRig rig;
  const Bytes file = test::sampleFile(32256);
  CodeFiller filler;
  EXPECT_EQ(FlashFirmware(rig.link(), writeFile(rig, file), filler), Outcome::Completed);
  EXPECT_EQ(rig.prompter.messages, (std::vector<RecordedMessage>{{"Data was sent successfully!",
                                                                   MessageIcon::Information, MessageButtons::Ok}}));
  EXPECT_EQ(rig.trace(), (std::vector<std::string>{"U", "W 252"}));
  const Received r = received(rig);
  EXPECT_EQ(r.header, Bytes(file.begin(), file.begin() + 128));
  EXPECT_EQ(r.code, Bytes(file.begin() + 128, file.end()));
  EXPECT_EQ(r.blocks, Bytes(252, 1)) << "every checksum right";
  auto progress = test::wholeUpdateProgress();
  progress.push_back("close");
  EXPECT_EQ(rig.progressLog, progress);
}

TEST(FirmwareSim, AShortFileIsPaddedAndTheFillerCarriesOn) {
  SimRig rig;
  const Bytes file = test::sampleFile(1000);
  CodeFiller filler;
  const std::string path = writeFile(rig, file);
  ASSERT_EQ(FlashFirmware(rig.link(), path, filler), Outcome::Completed);
  ASSERT_EQ(FlashFirmware(rig.link(), path, filler), Outcome::Completed);
  EXPECT_EQ(rig.trace(), (std::vector<std::string>{"U", "W 252", "U", "W 252"}));
  // The second update: the file's code, then the filler from its 32769th value on.
  Bytes expected(file.begin() + 128, file.end());
  const Bytes fill = test::referenceFiller(32768 + 1000, 32256 - 1000);
  expected.insert(expected.end(), fill.begin(), fill.end());
  const Received r = received(rig);
  EXPECT_EQ(r.code, expected);
  EXPECT_EQ(r.blocks, Bytes(252, 1));
}

TEST(FirmwareSim, ARefusedBlockStopsTheUpdate) {
  SimRig rig({"--bad-block", "5"});
  CodeFiller filler;
  EXPECT_EQ(FlashFirmware(rig.link(), writeFile(rig, test::sampleFile(32256)), filler), Outcome::Failed);
  EXPECT_EQ(rig.prompter.messages,
            (std::vector<RecordedMessage>{{"Record faled on 5 block", MessageIcon::None, MessageButtons::Ok}}));
  EXPECT_EQ(rig.progressLog.back(), "close");
  EXPECT_FALSE(rig.port.isOpen());
  EXPECT_EQ(rig.trace(), (std::vector<std::string>{"U", "W 6 refused 5 timeout"}));
  const Bytes blocks = received(rig).blocks;
  ASSERT_EQ(blocks.size(), 252u);
  EXPECT_EQ(Bytes(blocks.begin(), blocks.begin() + 7), (Bytes{1, 1, 1, 1, 1, 3, 0}));
}

TEST(FirmwareSim, SilentBlocksAreNeverASuccess) {
  SimRig rig({"--silent-from-block", "7"}, 10);
  CodeFiller filler;
  EXPECT_EQ(FlashFirmware(rig.link(), writeFile(rig, test::sampleFile(32256)), filler), Outcome::Failed);
  EXPECT_EQ(rig.prompter.messages,
            (std::vector<RecordedMessage>{{kNoAnswer, MessageIcon::Error, MessageButtons::Ok}}));
  EXPECT_EQ(rig.transport.timeouts, 1) << "one time-out, then the update stops";
  EXPECT_EQ(rig.progressLog.back(), "close");
  EXPECT_EQ(rig.trace(), (std::vector<std::string>{"U", "W 8 silent from 7 timeout"}));
}

TEST(FirmwareSim, ABootloaderThatDoesNotAnswer) {
  {
    SimRig rig({"--fault", "silent@U"}, 10);
    CodeFiller filler;
    EXPECT_EQ(FlashFirmware(rig.link(), writeFile(rig, test::sampleFile(10)), filler), Outcome::Failed);
    EXPECT_EQ(rig.prompter.texts(), (std::vector<std::string>{kNoAnswer}));
    EXPECT_TRUE(rig.progressLog.empty());
    EXPECT_EQ(filler.next(), 0x29) << "no filler taken";
    EXPECT_EQ(rig.trace(), (std::vector<std::string>{"U !silent"}));
  }
  SimRig rig({"--fault", "no-echo@W"}, 10);
  CodeFiller filler;
  EXPECT_EQ(FlashFirmware(rig.link(), writeFile(rig, test::sampleFile(10)), filler), Outcome::Failed);
  EXPECT_EQ(rig.prompter.texts(), (std::vector<std::string>{kNoAnswer}));
  EXPECT_EQ(rig.progressLog, (std::vector<std::string>{"caption Update in progress...", "status Write to flash",
                                                       "range 252", "close"}));
  EXPECT_FALSE(rig.port.isOpen());
  EXPECT_EQ(rig.trace(), (std::vector<std::string>{"U", "W !no-echo"}));
}

TEST(FirmwareSim, AMissingFileNeverReachesTheBootloader) {
  SimRig rig;
  EXPECT_EQ(FlashFirmware(rig.link(), rig.dir.file("none.cod")), Outcome::BadFile);
  EXPECT_EQ(rig.prompter.texts(), (std::vector<std::string>{"Unable to open file"}));
  EXPECT_TRUE(rig.trace().empty()) << "nothing was sent";
}

}  // namespace
}  // namespace wk::firmware
