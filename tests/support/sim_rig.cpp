#include "support/sim_rig.h"

#include <fstream>

namespace wk::test {

std::vector<std::uint8_t> hostileBytes(std::size_t size, unsigned seed) {
  static const std::uint8_t kSpecial[] = {0x0D, 0x0A, 0x11, 0x13, 0x03, 0x04, 0x1A, 0x1C,
                                          0x15, 0x16, 0x17, 0x7F, 0xFF, 0x00, 0x0D, 0x0D};
  std::vector<std::uint8_t> out(size);
  for (std::size_t i = 0; i < size; ++i)
    out[i] = static_cast<std::uint8_t>((i * 167u + seed) ^ (i >> 8));
  for (std::size_t at = seed % 61; at + sizeof kSpecial <= size; at += 97)
    std::copy(std::begin(kSpecial), std::end(kSpecial), out.begin() + static_cast<long>(at));
  return out;
}

SimRig::SimRig(const std::vector<std::string>& extra, int clockSpeedup, const sim::Memories* initial)
    : clock(clockSpeedup, [this] { return activity.quiet(); }) {
  if (initial) sim::writeState(statePath, *initial);
  std::vector<std::string> args{"--instant", "--state", statePath, "--trace", tracePath,
                                "--activity", dir.file("sim.activity")};
  args.insert(args.end(), extra.begin(), extra.end());
  sim = std::make_unique<sim::Simulator>(args);
  settings.writeString(setting::kSection, setting::kPort, sim->device());
}

link::DeviceLink SimRig::link() { return {transport, prompter, settings, clock, progress()}; }

link::ProgressFactory SimRig::progress() {
  return [this] { return std::make_unique<RecordingProgress>(progressLog); };
}

std::vector<std::string> SimRig::trace() {
  sim->stop();
  std::ifstream in(tracePath);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

sim::Memories SimRig::stopAndRead() {
  port.ClosePort();
  sim->stop();
  sim::Memories m;
  sim::readState(statePath, m);
  return m;
}

std::vector<std::string> readAllTrace() {
  std::vector<std::string> t{"v", "R 0"};
  for (int a = 0; a <= 65536 - 1024; a += 1024) t.push_back("s 1024 " + std::to_string(a));
  for (int a = 0; a <= 974 - 2; a += 2) t.push_back("e 2 " + std::to_string(a));
  t.push_back("R 0");
  return t;
}

std::vector<std::string> writeAllTrace(bool skipGsmManaged) {
  std::vector<std::string> t{"v", "R 7"};
  for (int a = 0; a <= 65536 - 128; a += 128) t.push_back("S 128 " + std::to_string(a));
  for (int a = 0; a <= 974 - 2; a += 2)
    if (!skipGsmManaged || a < 964 || a >= 970) t.push_back("E 2 " + std::to_string(a));
  t.push_back("R 0");
  return t;
}

}  // namespace wk::test
