// watchkeep-cli sensors and temp against gz4410-sim, with the real port and
// the real waits of the program (two seconds for each opening of the port).
#include <gtest/gtest.h>

#include <cstdlib>

#include "sim_launcher.h"
#include "support/process.h"
#include "support/temp_dir.h"

namespace wk {
namespace {

using test::runProcess;

class CliOneWire : public ::testing::Test {
 protected:
  // No stored settings: the port comes from the command line.
  void SetUp() override { ::setenv("XDG_CONFIG_HOME", config.path().c_str(), 1); }
  test::ProcessResult cli(const sim::Simulator& sim, std::vector<std::string> args) {
    args.insert(args.begin(), {"--port", sim.device()});
    return runProcess(WK_CLI_PATH, args);
  }
  test::TempDir config;
};

TEST_F(CliOneWire, SensorsListsEachDeviceOnALine) {
  sim::Simulator sim({"--instant"});
  auto r = cli(sim, {"sensors", "1"});
  EXPECT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_EQ(r.out,
            "1\t286164123C7C2F27\tDS18B20\tprogrammable resolution digital thermometer\n"
            "2\t283A9E459210027F\tDS18B20\tprogrammable resolution digital thermometer\n"
            "3\t28B72C79970403F5\tDS18B20\tprogrammable resolution digital thermometer\n");
  EXPECT_EQ(r.err, "");
  r = cli(sim, {"sensors", "3"});
  EXPECT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_EQ(r.out,
            "1\t016E3F581300006C\tDS2401/DS2411/DS1990A\tsilicon serial number\n"
            "2\t01A98B120F00002C\tDS2401/DS2411/DS1990A\tsilicon serial number\n");
}

TEST_F(CliOneWire, SensorsOfAnEmptyBusPrintNothing) {
  sim::Simulator sim({"--instant", "--onewire-none"});
  const auto r = cli(sim, {"sensors", "2"});
  EXPECT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "");
}

TEST_F(CliOneWire, SensorsFailureSaysWhyAndPrintsNoDevice) {
  sim::Simulator sim({"--instant", "--fault", "bad-crc@n#2"});
  const auto r = cli(sim, {"sensors", "2"});
  EXPECT_EQ(r.exitStatus, 1);
  EXPECT_EQ(r.out, "");
  // One message a line: the line breaks inside it become blanks.
  EXPECT_EQ(r.err, "CRC Error  Readed laser ROM [28]E44A160B0000(4E)\n");
}

TEST_F(CliOneWire, SensorsOfACrowdedBusGivesSixteenAndSaysSo) {
  sim::Simulator sim({"--instant", "--fault", "many@0"});
  const auto r = cli(sim, {"sensors", "1"});
  EXPECT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 16);
  EXPECT_NE(r.out.find("\n16\t28EE0F000000004B\tDS18B20\t"), std::string::npos) << r.out;
  EXPECT_EQ(r.err, "The bus holds 20 devices, more than a list can keep: only the first 16 were read.\n");
}

TEST_F(CliOneWire, TempPrintsEachReadingWithTwoDecimals) {
  sim::Simulator sim({"--instant", "--onewire-device", "1:281D3931020000F0@-2.00"});
  auto r = cli(sim, {"temp", "281D3931020000F0", "--count", "2"});
  EXPECT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_EQ(r.out, "-2.00\n-2.00\n");
  EXPECT_EQ(r.err, "");
}

TEST_F(CliOneWire, TempOfADriftingSensor) {
  sim::Simulator sim({"--instant"});
  const auto r = cli(sim, {"temp", "286164123c7c2f27", "--count", "3"});
  EXPECT_EQ(r.exitStatus, 0) << r.err;
  EXPECT_EQ(r.out, "21.50\n21.55\n21.60\n");
}

TEST_F(CliOneWire, TempFailures) {
  sim::Simulator sim({"--instant", "--fault", "no-reading@T#2"});
  auto r = cli(sim, {"temp", "286164123C7C2F27", "--count", "3"});
  EXPECT_EQ(r.exitStatus, 1);
  EXPECT_EQ(r.out, "21.50\n");
  EXPECT_EQ(r.err, "ERROR 2\n");
  r = runProcess(WK_CLI_PATH, {"--port", "/dev/ttyWK-none", "temp", "286164123C7C2F27"});
  EXPECT_EQ(r.exitStatus, 1);
  EXPECT_EQ(r.err, "Port busy or not exist!\n/dev/ttyWK-none: No such file or directory\n");
}

TEST_F(CliOneWire, UsageErrors) {
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"sensors"}, {"sensors", "0"}, {"sensors", "4"}, {"sensors", "1", "2"},
                                             {"temp"}, {"temp", "286164123C7C2F2"}, {"temp", "286164123C7C2F28"},
                                             {"temp", "286164123C7C2F27", "--count", "0"},
                                             {"temp", "286164123C7C2F27", "--count", "-1"},
                                             {"temp", "286164123C7C2F27", "--count"}}) {
    const auto r = runProcess(WK_CLI_PATH, args);
    EXPECT_EQ(r.exitStatus, 2) << args.size() << " " << args.back();
    EXPECT_EQ(r.out, "");
  }
}

}  // namespace
}  // namespace wk
