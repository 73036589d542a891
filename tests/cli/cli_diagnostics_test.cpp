// watchkeep-cli health and inputs against gz4410-sim, with the real port and
// the real waits of the program.
#include <gtest/gtest.h>

#include <cstdlib>

#include "sim_launcher.h"
#include "support/process.h"
#include "support/temp_dir.h"

namespace wk {
namespace {

using test::runProcess;

test::ProcessResult cli(const std::vector<std::string>& args) { return runProcess(WK_CLI_PATH, args); }

class CliDiagnostics : public ::testing::Test {
 protected:
  void SetUp() override { ::setenv("XDG_CONFIG_HOME", config.path().c_str(), 1); }
  test::TempDir config;
  test::TempDir dir;
};

TEST_F(CliDiagnostics, HealthPrintsTheEightCountersByName) {
  sim::Simulator sim({"--instant", "--health", "3,1,0,7,255,128,0,42"});
  const auto r = cli({"--port", sim.device(), "health"});
  EXPECT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out,
            "WDT Resets\t3\n"
            "Power Lost times\t1\n"
            "Modem Errors\t0\n"
            "1-Wire Errors\t7\n"
            "Software resets\t255\n"
            "Net Lost times\t128\n"
            "---Reserved---\t0\n"
            "---Reserved---\t42\n");
}

TEST_F(CliDiagnostics, HealthResetLeavesEveryCounterAtZero) {
  {
    sim::Simulator sim({"--instant", "--state", dir.file("state"), "--health", "9,9,9,9,9,9,9,9"});
    const auto r = cli({"--port", sim.device(), "health", "--reset"});
    EXPECT_EQ(r.exitStatus, 0) << r.err;
    EXPECT_EQ(r.out,
              "WDT Resets\t0\nPower Lost times\t0\nModem Errors\t0\n1-Wire Errors\t0\n"
              "Software resets\t0\nNet Lost times\t0\n---Reserved---\t0\n---Reserved---\t0\n");
  }
  sim::Memories saved;
  ASSERT_TRUE(sim::readState(dir.file("state"), saved));
  for (std::size_t a = 974; a < 982; ++a) EXPECT_EQ(saved.ee[a], 0) << a;
}

TEST_F(CliDiagnostics, HealthWithoutAControllerFailsWithOneMessage) {
  sim::Simulator sim({"--instant", "--silent"});
  const auto r = cli({"--port", sim.device(), "health"});
  EXPECT_EQ(r.exitStatus, 1);
  EXPECT_EQ(r.err, "Comunication error11111 y\n");
  EXPECT_EQ(r.out, "");
}

TEST_F(CliDiagnostics, HealthStopsAtAMissingEndMark) {
  sim::Simulator sim({"--instant", "--fault", "no-end@e#3"});
  const auto r = cli({"--port", sim.device(), "health"});
  EXPECT_EQ(r.exitStatus, 1);
  EXPECT_EQ(r.err, "READ error111 x\n");
  EXPECT_EQ(r.out, "");
}

TEST_F(CliDiagnostics, InputsPrintEachPollAsTheDialogShowsIt) {
  sim::Simulator sim({"--instant", "--inputs", "128,136,150,175,10,255,0,85"});
  const auto r = cli({"--port", sim.device(), "inputs", "--mode", "1K Lost", "--count", "2"});
  EXPECT_EQ(r.exitStatus, 0) << r.err;
  const std::string poll =
      "i1=128 / R≈ 1016 Ohm (R = 1kOhm ok)\n"
      "i2=136 / R≈ 1286 Ohm (R = 1kOhm ok)\n"
      "i3=150 / R≈ 1857 Ohm (R = 1kOhm ok)\n"
      "i4=175 / R≈ 3375 Ohm (R <> 1kOhm)\n"
      "i5= 10 / R≈ -918 Ohm (R <> 1kOhm)\n"
      "i6=255 / R≈  inf Ohm (R <> 1kOhm)\n"
      "i7=  0 / R≈-1000 Ohm (R <> 1kOhm)\n"
      "i8= 85 / R≈    0 Ohm (R <> 1kOhm)\n";
  EXPECT_EQ(r.out, poll + poll);
  EXPECT_EQ(r.err, "");
}

TEST_F(CliDiagnostics, InputsDefaultToOnePollInAtz1) {
  sim::Simulator sim({"--instant", "--inputs", "150,175,10,128,1,2,3,4", "--input", "4=100..102"});
  const auto r = cli({"--port", sim.device(), "inputs"});
  EXPECT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_EQ(r.out.substr(0, r.out.find("i5=")),
            "i1=150 / R≈ 1857 Ohm (Zone 1k) (Line OK)\n"
            "i2=175 / R≈ 3375 Ohm (Zone 2.2k) (Zone 1k) (Line OK)\n"
            "i3= 10 / R≈ -918 Ohm (Line ERR) (Not stable)\n"
            "i4=100 / R≈  290 Ohm (Line ERR) (Not stable)\n");
  // A sweeping input moves one step a poll; the mode's name takes any case.
  const auto sweep = cli({"--port", sim.device(), "inputs", "--mode", "atz3", "--count", "3"});
  EXPECT_EQ(sweep.exitStatus, 0) << sweep.err;
  EXPECT_NE(sweep.out.find("i4=101 "), std::string::npos);
  EXPECT_NE(sweep.out.find("i4=102 "), std::string::npos);
  EXPECT_NE(sweep.out.find("i4=101 "), sweep.out.rfind("i4=101 ")) << "101 twice, on the way up and down";
}

TEST_F(CliDiagnostics, InputsEndAtTheFirstErrorWithItsNumber) {
  {
    sim::Simulator sim({"--instant", "--inputs", "128,128,128,128,128,128,128,128", "--fault", "short@a#2"});
    const auto r = cli({"--port", sim.device(), "inputs", "--count", "5"});
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_EQ(r.err, "READ ERROR 2\n");
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 8) << "the first poll only";
  }
  sim::Simulator silent({"--instant", "--fault", "no-echo@a"});
  const auto r = cli({"--port", silent.device(), "inputs"});
  EXPECT_EQ(r.exitStatus, 1);
  EXPECT_EQ(r.err, "READ ERROR 2\n") << "no echo, and then no readings either";
  EXPECT_EQ(r.out, "");
}

TEST_F(CliDiagnostics, UsageErrors) {
  EXPECT_EQ(cli({"inputs", "--mode", "ATZ5"}).exitStatus, 2);
  EXPECT_EQ(cli({"inputs", "--count", "0"}).exitStatus, 2);
  EXPECT_EQ(cli({"inputs", "--count", "x"}).exitStatus, 2);
  EXPECT_EQ(cli({"inputs", "extra"}).exitStatus, 2);
  EXPECT_EQ(cli({"health", "--bogus"}).exitStatus, 2);
  EXPECT_EQ(cli({"health", "extra"}).exitStatus, 2);
  const auto missing = cli({"--port", "/dev/ttyWK-none", "health"});
  EXPECT_EQ(missing.exitStatus, 1);
  EXPECT_EQ(missing.err.substr(0, 24), "Port busy or not exist!\n");
  const auto help = cli({"--help"});
  EXPECT_NE(help.out.find("health [--reset]"), std::string::npos);
  EXPECT_NE(help.out.find("inputs [--mode MODE] [--count K]"), std::string::npos);
}

}  // namespace
}  // namespace wk
