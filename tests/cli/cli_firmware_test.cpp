// watchkeep-cli info and flash against gz4410-sim, with the real port and
// the real waits of the program (two seconds for each opening of the port).
#include <gtest/gtest.h>

#include <cstdlib>

#include "sim_launcher.h"
#include "support/process.h"
#include "support/temp_dir.h"

namespace wk {
namespace {

using test::runProcess;
using Bytes = std::vector<std::uint8_t>;

class CliFirmware : public ::testing::Test {
 protected:
  // No stored settings: the port comes from the command line.
  void SetUp() override { ::setenv("XDG_CONFIG_HOME", config.path().c_str(), 1); }
  test::ProcessResult cli(const sim::Simulator& sim, std::vector<std::string> args) {
    args.insert(args.begin(), {"--port", sim.device()});
    return runProcess(WK_CLI_PATH, args);
  }
  // A header of 0x11 and code bytes i * 5.
  std::string codeFile(std::size_t codeBytes) {
    Bytes file(128, 0x11);
    for (std::size_t i = 0; i < codeBytes; ++i) file.push_back(static_cast<std::uint8_t>(i * 5));
    test::writeBytes(dir.file("fw.cod"), file);
    return dir.file("fw.cod");
  }
  test::TempDir config;
  test::TempDir dir;
};

TEST_F(CliFirmware, InfoPrintsTheLine) {
  sim::Simulator sim({"--instant", "--model", "GZ4410", "--serial", "77551"});  // 77551 = 0x12EEF
  const auto r = cli(sim, {"info"});
  EXPECT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_EQ(r.out, "Model = GZ4410    S/N = $00012EEF   FWver = 1.05d\n");
  EXPECT_EQ(r.err, "");

  sim::Simulator refusing({"--instant", "--fault", "no-echo@N"});
  const auto refused = cli(refusing, {"info"});
  EXPECT_EQ(refused.exitStatus, 1);
  EXPECT_EQ(refused.out, "");
  EXPECT_EQ(refused.err, "Connection error 4\n");
}

TEST_F(CliFirmware, FlashSendsTheFileAndSaysSo) {
  sim::Simulator sim({"--instant", "--state", dir.file("state")});
  const auto r = cli(sim, {"flash", codeFile(32256)});
  EXPECT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_EQ(r.err, "Data was sent successfully!\n") << "no progress bar when standard error is no terminal";
  EXPECT_EQ(r.out, "");
  ASSERT_EQ(sim.stop(), 0);
  const auto sections = sim::readStateSections(dir.file("state"));
  ASSERT_EQ(sections.count("bootloader"), 1u);
  const Bytes& b = sections.at("bootloader");
  ASSERT_EQ(b.size(), 1u + 128 + 32256 + 252);
  EXPECT_EQ(Bytes(b.begin() + 1, b.begin() + 129), Bytes(128, 0x11));
  const Bytes file = test::readBytes(dir.file("fw.cod"));
  EXPECT_TRUE(std::equal(file.begin() + 128, file.end(), b.begin() + 129));
}

TEST_F(CliFirmware, FlashFailuresExitWithTheirStatus) {
  {
    sim::Simulator sim({"--instant", "--bad-block", "5"});
    const auto r = cli(sim, {"flash", codeFile(1000)});
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_EQ(r.err, "Record faled on 5 block\n");
  }
  {
    sim::Simulator sim({"--instant", "--silent-from-block", "3"});
    const auto r = cli(sim, {"flash", codeFile(1000)});
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_EQ(r.err, "No answer to block 3\nDevice do not answer, check cables\n");
  }
  sim::Simulator sim({"--instant", "--trace", dir.file("trace")});
  // A file that cannot be used is a file error, and nothing reaches the controller.
  auto r = cli(sim, {"flash", dir.file("missing.cod")});
  EXPECT_EQ(r.exitStatus, 2);
  EXPECT_EQ(r.err.rfind("Unable to open file\n", 0), 0u) << r.err;
  test::writeBytes(dir.file("short.cod"), Bytes(100, 0));
  r = cli(sim, {"flash", dir.file("short.cod")});
  EXPECT_EQ(r.exitStatus, 2);
  EXPECT_EQ(r.err, "This is no code file: it is shorter than the 128-byte header. " + dir.file("short.cod") + "\n");
  EXPECT_EQ(cli(sim, {"flash"}).exitStatus, 2);
  EXPECT_EQ(cli(sim, {"info", "extra"}).exitStatus, 2);
  ASSERT_EQ(sim.stop(), 0);
  EXPECT_EQ(test::readBytes(dir.file("trace")), Bytes{}) << "nothing was sent";
}

}  // namespace
}  // namespace wk
