// watchkeep-cli read and write against gz4410-sim, with the real port and the
// real waits of the program.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "sim_launcher.h"
#include "support/process.h"
#include "support/temp_dir.h"

namespace wk {
namespace {

using test::runProcess;
using test::TempDir;

constexpr std::size_t kVldEe = 2 + 65536;  // EE-Data address 0 in a .vld file

test::ProcessResult cli(const std::vector<std::string>& args) { return runProcess(WK_CLI_PATH, args); }

// A version-105 file whose every byte says where it is.
std::vector<std::uint8_t> patternedVld() {
  std::vector<std::uint8_t> vld(66512, 0);
  vld[0] = 0x69;
  for (std::size_t i = 2; i < 2 + 61888; ++i) vld[i] = static_cast<std::uint8_t>(i * 7);
  for (std::size_t a = 0; a < 974; ++a) vld[kVldEe + a] = static_cast<std::uint8_t>(a + 1);
  return vld;
}

// The lines of a simulator's trace; none when it wrote none.
std::vector<std::string> readLines(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The CLI reads its settings from a folder of this test's own.
class CliDevice : public ::testing::Test {
 protected:
  void SetUp() override { ::setenv("XDG_CONFIG_HOME", config.path().c_str(), 1); }
  void storeSettings(const std::string& lines) {
    const std::string folder = config.path() + "/Velmora";
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "/4410.conf") << "[Settings]\n" << lines;
  }
  // site.vld holds vld; the controller's state file, EE-Data all 0xAA.
  void siteAndController(const std::vector<std::uint8_t>& vld) {
    test::writeBytes(dir.file("site.vld"), vld);
    sim::Memories before;
    std::fill(before.ee.begin(), before.ee.end(), 0xAA);
    sim::writeState(dir.file("state"), before);
  }
  TempDir config;
  TempDir dir;
};

TEST_F(CliDevice, ReadWritesTheControllersConfigurationToTheFile) {
  sim::Memories m;
  for (std::size_t i = 0; i < m.see.size(); ++i) m.see[i] = static_cast<std::uint8_t>(i ^ (i >> 8));
  for (std::size_t i = 0; i < m.ee.size(); ++i) m.ee[i] = static_cast<std::uint8_t>(0xFF - i);
  sim::writeState(dir.file("state"), m);
  sim::Simulator sim({"--instant", "--state", dir.file("state")});
  const auto r = cli({"--port", sim.device(), "read", "-o", dir.file("read.vld")});
  EXPECT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_EQ(r.err, "Read compleeted\n");
  const auto f = test::readBytes(dir.file("read.vld"));
  ASSERT_EQ(f.size(), 66512u);
  EXPECT_EQ(f[0], 0x69);
  EXPECT_EQ(f[1], 0x00);
  EXPECT_TRUE(std::equal(m.see.begin(), m.see.begin() + 61888, f.begin() + 2));
  EXPECT_EQ(f[2 + 61888], 0x00) << "SEE-Data beyond the image is stored as zeros";
  EXPECT_EQ(f[kVldEe + 0], 0xFF);
  EXPECT_EQ(f[kVldEe + 709], static_cast<std::uint8_t>(0xFF - 709));
  EXPECT_EQ(f[kVldEe + 710], 0x00);
  for (std::size_t a = 964; a < 970; ++a) EXPECT_EQ(f[kVldEe + a], 0x00);
  EXPECT_EQ(f[kVldEe + 973], static_cast<std::uint8_t>(0xFF - 973));
}

TEST_F(CliDevice, TraceOfARead) {
  sim::Memories m;
  const std::string secret = "\x05\x00hello";
  std::copy(secret.begin(), secret.end(), m.ee.begin() + 732);
  sim::writeState(dir.file("state"), m);
  sim::Simulator sim({"--instant", "--state", dir.file("state")});
  const auto r = cli({"--port", sim.device(), "--trace", dir.file("line.trace"), "read", "-o", dir.file("read.vld")});
  EXPECT_EQ(r.exitStatus, 0) << r.err;
  const auto bytes = test::readBytes(dir.file("line.trace"));
  const std::string trace(bytes.begin(), bytes.end());
  EXPECT_EQ(trace.rfind("# watchkeep serial trace, started ", 0), 0u);
  EXPECT_NE(trace.find(" open " + sim.device() + " 460800: ok\n"), std::string::npos);
  EXPECT_NE(trace.find(" > 02 00 DC 02\n"), std::string::npos);
  EXPECT_EQ(trace.find("68 65 6C 6C 6F"), std::string::npos) << "hello";
  EXPECT_NE(trace.find(" < ** **\n"), std::string::npos);
  EXPECT_EQ(trace.substr(trace.size() - 7), " close\n");
  EXPECT_EQ(std::filesystem::status(dir.file("line.trace")).permissions() & std::filesystem::perms::all,
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);

  // A trace that cannot be written stops before the controller is asked.
  const auto bad = cli({"--port", sim.device(), "--trace", dir.file("no/line.trace"), "read", "-o", dir.file("x.vld")});
  EXPECT_EQ(bad.exitStatus, 2);
  EXPECT_EQ(bad.err, "watchkeep-cli: cannot write the trace " + dir.file("no/line.trace") +
                         ": No such file or directory\n");
  EXPECT_FALSE(test::fileExists(dir.file("x.vld")));
}

// On a terminal a long command shows its progress on standard error, and
// --quiet hides it. script(1) gives the command a terminal of its own.
TEST_F(CliDevice, AProgressBarOnATerminalUnlessQuiet) {
  sim::Simulator sim({"--instant"});
  for (const bool quiet : {false, true}) {
    const std::string command = std::string("exec '") + WK_CLI_PATH + "' " + (quiet ? "--quiet " : "") + "--port '" +
                                sim.device() + "' read -o '" + dir.file("read.vld") + "' 2>&1";
    const auto r = runProcess("/usr/bin/script", {"-qefc", command, "/dev/null"});
    EXPECT_EQ(r.exitStatus, 0) << r.out;
    EXPECT_EQ(r.out.find("100%") != std::string::npos, !quiet) << r.out;
    EXPECT_EQ(r.out.find("[#") != std::string::npos, !quiet) << r.out;
  }
}

TEST_F(CliDevice, FailedReadWritesNoFile) {
  sim::Simulator sim({"--instant", "--silent"});
  storeSettings("Port=" + sim.device() + "\n");
  const auto r = cli({"read", "-o", dir.file("read.vld")});
  EXPECT_EQ(r.exitStatus, 1);
  EXPECT_EQ(r.err, "Connection error 5\nRead Version Error\n");
  EXPECT_FALSE(test::fileExists(dir.file("read.vld")));
  // Nor anything else: the early check of the output leaves nothing behind.
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST_F(CliDevice, AnOutputThatCannotBeWrittenFailsBeforeThePortOpens) {
  test::writeBytes(dir.file("ro.vld"), {1, 2, 3});
  ::chmod(dir.file("ro.vld").c_str(), 0444);  // read-only by its mode, for root too
  ASSERT_EQ(::mkfifo(dir.file("fifo.vld").c_str(), 0644), 0);
  const std::vector<std::pair<std::string, std::string>> cases = {
      {dir.file("no/folder.vld"), "cannot create a file in " + dir.file("no") + ": No such file or directory"},
      {dir.file("ro.vld"), "cannot write " + dir.file("ro.vld") + ": Permission denied"},
      {dir.file("fifo.vld"), "cannot write " + dir.file("fifo.vld") + ": not a regular file"},
  };
  for (const auto& [out, reason] : cases) {
    {
      sim::Simulator sim({"--instant", "--trace", dir.file("trace")});
      const auto r = cli({"--port", sim.device(), "read", "-o", out});
      EXPECT_EQ(r.exitStatus, 2) << out;
      EXPECT_EQ(r.err, "Failed to save document.\n" + reason + "\n");
    }
    // Not one command reached the controller.
    EXPECT_EQ(test::fileExists(dir.file("trace")) ? test::readBytes(dir.file("trace")).size() : 0u, 0u) << out;
  }
  EXPECT_EQ(test::readBytes(dir.file("ro.vld")), (std::vector<std::uint8_t>{1, 2, 3}));
}

TEST_F(CliDevice, PortThatCannotOpenSaysWhy) {
  const auto r = cli({"--port", "/dev/ttyWK-none", "read", "-o", dir.file("read.vld")});
  EXPECT_EQ(r.exitStatus, 1);
  EXPECT_EQ(r.err, "Port busy or not exist!\n/dev/ttyWK-none: No such file or directory\n");
  EXPECT_FALSE(test::fileExists(dir.file("read.vld")));
}

// As the program would send the file once opened: its pages' collect step
// clears the "GSM managed" output values and the notification rules' and
// reports' reserved bits, which nobody sees.
TEST_F(CliDevice, WriteSendsTheFileAsTheProgramWould) {
  std::vector<std::uint8_t> vld = patternedVld();
  siteAndController(vld);
  {
    sim::Simulator sim({"--instant", "--state", dir.file("state")});
    const auto r = cli({"--port", sim.device(), "write", dir.file("site.vld")});
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.err, "Write compleeted\n");
  }
  sim::Memories after;
  ASSERT_TRUE(sim::readState(dir.file("state"), after));
  for (std::size_t a = 0; a < 61888; ++a) {
    const std::uint8_t sent = a < 40448 && a % 158 == 1 ? vld[2 + a] & 0x3F : vld[2 + a];
    ASSERT_EQ(after.see[a], sent) << a;
  }
  EXPECT_EQ(after.see[1], 0x15 & 0x3F);
  for (std::size_t a = 0; a < 974; ++a) {
    std::uint8_t sent = a >= 964 && a < 970 ? 0 : static_cast<std::uint8_t>(a + 1);
    if (a >= 864 && a < 964 && a % 10 == 3) sent &= 0x87;  // bits 11..14 of the reports' words
    ASSERT_EQ(after.ee[a], sent) << a;
  }
  EXPECT_EQ(after.ee[974], 0xAA);
}

// verify compares the controller with what a write of the file sends, and
// write --backup sends that too.
TEST_F(CliDevice, VerifyAndWriteWithBackupSendWhatWriteSends) {
  std::vector<std::uint8_t> vld(66512, 0);
  vld[0] = 0x69;
  vld[2 + 158 * 7 + 1] = 0xC5;                           // rule 8: CH1, CH3 and both reserved bits
  for (std::size_t a = 964; a < 970; ++a) vld[kVldEe + a] = 0x33;  // "GSM managed" output values
  test::writeBytes(dir.file("site.vld"), vld);
  sim::Memories before;
  std::fill(before.ee.begin(), before.ee.end(), 0xAA);
  sim::writeState(dir.file("state"), before);
  {
    sim::Simulator sim({"--instant", "--state", dir.file("state")});
    const auto w = cli({"--port", sim.device(), "write", dir.file("site.vld"), "--backup", dir.file("backup.vld")});
    EXPECT_EQ(w.exitStatus, 0) << w.err;
    const auto v = cli({"--port", sim.device(), "verify", dir.file("site.vld")});
    EXPECT_EQ(v.exitStatus, 0) << v.err;
    EXPECT_EQ(v.out, "");
  }
  sim::Memories after;
  ASSERT_TRUE(sim::readState(dir.file("state"), after));
  EXPECT_EQ(after.see[158 * 7 + 1], 0x05);
  for (std::size_t a = 964; a < 970; ++a) EXPECT_EQ(after.ee[a], 0x00) << a;
}

TEST_F(CliDevice, SavePortsOutputFromTheFlagOrTheSetting) {
  std::vector<std::uint8_t> vld(66512, 0x11);
  vld[0] = 0x69;
  vld[1] = 0x00;
  test::writeBytes(dir.file("site.vld"), vld);
  for (bool fromFlag : {true, false}) {
    SCOPED_TRACE(fromFlag ? "flag" : "setting");
    sim::Memories before;
    std::fill(before.ee.begin(), before.ee.end(), 0xAA);
    sim::writeState(dir.file("state"), before);
    {
      sim::Simulator sim({"--instant", "--state", dir.file("state")});
      storeSettings("Port=" + sim.device() + "\nSavePortsOutput=" + (fromFlag ? "0" : "1") + "\n");
      std::vector<std::string> args{"write", dir.file("site.vld")};
      if (fromFlag) args.push_back("--save-ports-output");
      const auto r = cli(args);
      EXPECT_EQ(r.exitStatus, 0) << r.err;
    }
    sim::Memories after;
    ASSERT_TRUE(sim::readState(dir.file("state"), after));
    EXPECT_EQ(after.ee[962], 0x11);
    for (std::size_t a = 964; a < 970; ++a) EXPECT_EQ(after.ee[a], 0xAA) << a;
    EXPECT_EQ(after.ee[970], 0x11);
  }
}

// write --changed sends only what differs, and leaves the controller as
// write sends the file; with --backup its one read is the backup.
TEST_F(CliDevice, WriteChangedSendsOnlyWhatDiffersAndTheReadIsTheBackup) {
  std::vector<std::uint8_t> vld = patternedVld();
  siteAndController(vld);
  {
    sim::Simulator sim({"--instant", "--state", dir.file("state")});
    const auto w = cli({"--port", sim.device(), "write", dir.file("site.vld")});
    ASSERT_EQ(w.exitStatus, 0) << w.err;
  }
  sim::Memories written;
  ASSERT_TRUE(sim::readState(dir.file("state"), written));

  // The controller holds it: nothing is sent.
  {
    sim::Simulator sim({"--instant", "--state", dir.file("state"), "--trace", dir.file("trace1")});
    const auto r = cli({"--port", sim.device(), "write", dir.file("site.vld"), "--changed"});
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.err, "Nothing to write: the controller already holds this configuration.\n");
  }
  for (const auto& line : readLines(dir.file("trace1"))) EXPECT_TRUE(line[0] != 'S' && line[0] != 'E') << line;

  // One SMS rule and one miscellaneous setting changed in the file.
  vld[2 + 158 * 40 + 20] ^= 0xFF;
  vld[kVldEe + 800] ^= 0xFF;
  test::writeBytes(dir.file("site.vld"), vld);
  {
    sim::Simulator sim({"--instant", "--state", dir.file("state"), "--trace", dir.file("trace2")});
    const auto r = cli({"--port", sim.device(), "write", dir.file("site.vld"), "--changed", "--backup",
                        dir.file("backup.vld")});
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.err, "Write compleeted Blocks written: 2/2\n");
  }
  const auto trace = readLines(dir.file("trace2"));
  EXPECT_EQ(std::count(trace.begin(), trace.end(), "v"), 1) << "one session";
  EXPECT_EQ(std::count(trace.begin(), trace.end(), "s 1024 6144"), 2) << "read once, and read back";
  EXPECT_EQ(std::count(trace.begin(), trace.end(), "S 128 6272"), 1);
  EXPECT_EQ(std::count(trace.begin(), trace.end(), "E 2 800"), 1);
  EXPECT_EQ(std::count_if(trace.begin(), trace.end(), [](const std::string& l) { return l[0] == 'S' || l[0] == 'E'; }),
            2);
  // The backup is what the controller held, as read leaves it.
  auto backup = test::readBytes(dir.file("backup.vld"));
  ASSERT_EQ(backup.size(), 66512u);
  EXPECT_TRUE(std::equal(written.see.begin(), written.see.begin() + 61888, backup.begin() + 2));
  for (std::size_t a = 0; a < 974; ++a)
    ASSERT_EQ(backup[kVldEe + a], a == 710 || (a >= 964 && a < 970) ? 0 : written.ee[a]) << a;
  sim::Memories after;
  ASSERT_TRUE(sim::readState(dir.file("state"), after));
  EXPECT_EQ(after.see[158 * 40 + 20], vld[2 + 158 * 40 + 20]);
  EXPECT_EQ(after.ee[800], vld[kVldEe + 800]);
  written.see[158 * 40 + 20] = vld[2 + 158 * 40 + 20];
  written.ee[800] = vld[kVldEe + 800];
  EXPECT_TRUE(after.see == written.see);
  EXPECT_TRUE(after.ee == written.ee);

  // A backup that cannot be saved stops before the controller is asked.
  {
    sim::Simulator sim({"--instant", "--state", dir.file("state"), "--trace", dir.file("trace3")});
    const auto r = cli({"--port", sim.device(), "write", dir.file("site.vld"), "--changed", "--backup",
                        dir.file("no/backup.vld")});
    EXPECT_EQ(r.exitStatus, 2);
  }
  EXPECT_TRUE(readLines(dir.file("trace3")).empty());
}

// A read-back that differs is a failure, with the address.
TEST_F(CliDevice, WriteChangedFailsOnAReadBackThatDiffers) {
  std::vector<std::uint8_t> vld(66512, 0);
  vld[0] = 0x69;
  vld[2 + 1000] = 0x42;
  test::writeBytes(dir.file("site.vld"), vld);
  sim::Simulator sim({"--instant", "--fault", "bad-store@S"});
  const auto r = cli({"--port", sim.device(), "write", dir.file("site.vld"), "--changed"});
  EXPECT_EQ(r.exitStatus, 1);
  EXPECT_EQ(r.err, "Verify failed at SEE-Data byte 1023 Blocks written: 1/1\n");
}

TEST_F(CliDevice, UsageAndFileErrors) {
  EXPECT_EQ(cli({"read"}).exitStatus, 2);
  EXPECT_EQ(cli({"read", "extra", "-o", dir.file("x.vld")}).exitStatus, 2);
  EXPECT_EQ(cli({"write"}).exitStatus, 2);
  EXPECT_EQ(cli({"write", "a.vld", "b.vld"}).exitStatus, 2);
  EXPECT_EQ(cli({"write", "a.vld", "--flag"}).exitStatus, 2);
  const auto missing = cli({"--port", "/dev/ttyWK-none", "write", dir.file("none.vld")});
  EXPECT_EQ(missing.exitStatus, 2);
  EXPECT_NE(missing.err.find("Failed to open document."), std::string::npos);
  const auto help = cli({"--help"});
  EXPECT_NE(help.out.find("read -o FILE"), std::string::npos);
  EXPECT_NE(help.out.find("write FILE [--save-ports-output] [--backup BACKUP] [--changed]"), std::string::npos);
}

}  // namespace
}  // namespace wk
