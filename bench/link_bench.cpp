// Read-all, write-all and the write of the changes against gz4410-sim with
// wire timing, over the real termios port and the real waits, compared with
// the least time the exchange can take: the 2000 ms wait after opening, the
// 10 ms after each speed change, and every byte of both directions at its
// baud rate, 10 bits a byte. The write of the changes is also given as a
// share of write-all's bound (write_all_bound_pct), which it is there to beat.
//
// The simulator is told when each write began, so that it times its replies
// from the end of the PC's bytes on the wire, not from when it woke up to
// read them. How late its replies still left, on a busy machine, it counts:
// sim_late_ms. over_bound_pct is what the wall clock shows;
// program_over_bound_pct leaves out the simulator's own lateness.
#include <benchmark/benchmark.h>

#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <string>

#include "document/c4410_doc.h"
#include "link/port.h"
#include "link/read_write_all.h"
#include "link/termios_transport.h"
#include "seams/clock.h"
#include "seams/prompter.h"
#include "seams/settings.h"
#include "sim_launcher.h"

namespace {

struct SilentPrompter : wk::Prompter {
  wk::Answer message(const std::string&, wk::MessageIcon, wk::MessageButtons) override { return wk::Answer::Ok; }
};

// The program's port, telling the simulator when each write begins.
class StampedTransport : public wk::link::Transport {
 public:
  StampedTransport(wk::link::Transport& inner, wk::sim::ActivityWatch& watch) : inner_(inner), watch_(watch) {}
  wk::link::OpenStatus open(const std::string& device, int baud) override { return inner_.open(device, baud); }
  void close() override { inner_.close(); }
  bool isOpen() const override { return inner_.isOpen(); }
  bool setBaudRate(int baud) override { return inner_.setBaudRate(baud); }
  std::size_t write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds timeout) override {
    watch_.writing(bytes.size());
    const std::size_t n = inner_.write(bytes, timeout);
    watch_.wrote(n);
    return n;
  }
  std::size_t read(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout) override {
    return inner_.read(buffer, timeout);
  }
  void discardInput() override { inner_.discardInput(); }
  void drainOutput() override { inner_.drainOutput(); }
  bool lineLost() const override { return inner_.lineLost(); }

 private:
  wk::link::Transport& inner_;
  wk::sim::ActivityWatch& watch_;
};

double wireMs(double bytes, double baud) { return bytes * 10.0 * 1000.0 / baud; }

// The version query (v, echo, 2 version bytes, 1 more) and a speed command
// (R, echo, code), all at the opening speed, with the waits.
double openingMs() { return 2000.0 + 10.0 + wireMs(5 + 3, 460800); }

// 64 blocks of s, echo, count, address, 1024 data; 487 of e, echo, count,
// address, 2 data, e; the closing R, echo, code. All at 460800.
double readAllBoundMs() {
  return openingMs() + wireMs(64 * (1 + 1 + 4 + 1024) + 487 * (1 + 1 + 4 + 2 + 1) + 3, 460800) + 10.0;
}

// 512 blocks of S, echo, count, address, 128 data, S; 487 of E, echo, count,
// address, 2 data, E; the closing R, echo and code still at 57600.
double writeAllBoundMs() {
  return openingMs() + wireMs(512 * (1 + 1 + 4 + 128 + 1) + 487 * (1 + 1 + 4 + 2 + 1) + 3, 57600) + 10.0;
}

// 2 SEE blocks and 1 EE block written, their read block and EE block read
// back: one changed SMS rule and one changed miscellaneous setting.
constexpr std::size_t kChangedSee = 2, kChangedEe = 1, kCheckedSee = 1;

// Read-all's exchange; then, when something differs, R 7, the blocks at
// 57600 with the closing R 0 still at 57600, the read-back and R 0 at 460800.
double writeChangedBoundMs(std::size_t see, std::size_t ee, std::size_t seeBack) {
  if (see + ee == 0) return readAllBoundMs();
  return readAllBoundMs() + 10.0 + wireMs(see * (1 + 1 + 4 + 128 + 1) + ee * (1 + 1 + 4 + 2 + 1) + 3, 57600) +
         10.0 + wireMs(seeBack * (1 + 1 + 4 + 1024) + ee * (1 + 1 + 4 + 2 + 1) + 3, 460800) + 10.0;
}

using Procedure = std::function<wk::link::TransferOutcome(wk::C4410Doc&, const wk::link::DeviceLink&, int run)>;

// shareOfWriteAll: the write of the changes, also measured against write-all's bound.
void run(benchmark::State& state, const Procedure& procedure, double bound,
         const wk::sim::Memories* initial = nullptr, bool shareOfWriteAll = false) {
  char dir[] = "/tmp/wk-link-bench-XXXXXX";
  if (!::mkdtemp(dir)) {
    state.SkipWithError("no temporary folder");
    return;
  }
  const std::string activityPath = std::string(dir) + "/activity";
  const std::string statePath = std::string(dir) + "/state";
  std::vector<std::string> options{"--activity", activityPath};
  if (initial && wk::sim::writeState(statePath, *initial)) options.insert(options.end(), {"--state", statePath});
  wk::sim::ActivityWatch activity(activityPath);
  wk::sim::Simulator sim(options);
  ::unlink(activityPath.c_str());
  if (sim.device().empty()) {
    ::unlink(statePath.c_str());
    ::rmdir(dir);
    state.SkipWithError("gz4410-sim did not start");
    return;
  }
  wk::MemorySettings settings;
  settings.writeString(wk::setting::kSection, wk::setting::kPort, sim.device());
  SilentPrompter prompter;
  wk::SystemClock clock;
  wk::link::TermiosTransport termios(clock);
  StampedTransport transport(termios, activity);
  const wk::link::DeviceLink link{transport, prompter, settings, clock, nullptr};
  double totalMs = 0;
  int runs = 0;
  for (auto _ : state) {
    wk::C4410Doc doc;
    const auto start = std::chrono::steady_clock::now();
    const auto outcome = procedure(doc, link, runs++);
    totalMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (outcome != wk::link::TransferOutcome::Completed) state.SkipWithError("transfer failed");
  }
  sim.stop();
  ::unlink(statePath.c_str());
  ::rmdir(dir);
  const double iterations = static_cast<double>(state.iterations());
  const double measured = totalMs / iterations;
  const double late = std::chrono::duration<double, std::milli>(activity.late()).count() / iterations;
  state.counters["bound_ms"] = bound;
  state.counters["measured_ms"] = measured;
  state.counters["over_bound_pct"] = (measured / bound - 1.0) * 100.0;
  state.counters["sim_late_ms"] = late;
  state.counters["program_over_bound_pct"] = ((measured - late) / bound - 1.0) * 100.0;
  if (shareOfWriteAll) state.counters["write_all_bound_pct"] = measured / writeAllBoundMs() * 100.0;
}

void BM_ReadAll(benchmark::State& state) {
  run(state, [](wk::C4410Doc& doc, const wk::link::DeviceLink& link, int) { return wk::link::ReadAll(doc, link); },
      readAllBoundMs());
}

void BM_WriteAll(benchmark::State& state) {
  run(state, [](wk::C4410Doc& doc, const wk::link::DeviceLink& link, int) { return wk::link::WriteAll(doc, link); },
      writeAllBoundMs());
}

// Two configurations a site moves between: a new one, and the same with the
// first SMS rule (bytes 0..157, SEE blocks 0 and 128) and one miscellaneous
// setting (EE-Data 800) changed.
wk::ConfigImage siteImage(bool changed) {
  wk::C4410Doc doc;
  doc.makeNew();
  if (changed) {
    for (std::size_t i = 0; i < 158; ++i) doc.image().at(i) ^= 0x11;
    doc.image().at(wk::image::offsetOfEeAddress(800)) ^= 0x01;
  }
  wk::link::CollectForWrite(doc);
  return doc.image();
}

wk::sim::Memories holding(const wk::ConfigImage& image) {
  const auto sent = wk::link::ControllerMemories::of(image);
  wk::sim::Memories m;
  std::copy(sent.see.begin(), sent.see.end(), m.see.begin());
  std::copy(sent.ee.begin(), sent.ee.end(), m.ee.begin());
  return m;
}

// Each run writes the other configuration, so that each finds the same changes.
void BM_WriteChanged_SmsRuleAndMiscSetting(benchmark::State& state) {
  const wk::sim::Memories initial = holding(siteImage(false));
  run(state,
      [](wk::C4410Doc& doc, const wk::link::DeviceLink& link, int runNumber) {
        doc.image() = siteImage(runNumber % 2 == 0);
        return wk::link::WriteChanged(doc, link);
      },
      writeChangedBoundMs(kChangedSee, kChangedEe, kCheckedSee), &initial, true);
}

void BM_WriteChanged_Unchanged(benchmark::State& state) {
  const wk::sim::Memories initial = holding(siteImage(false));
  run(state,
      [](wk::C4410Doc& doc, const wk::link::DeviceLink& link, int) {
        doc.image() = siteImage(false);
        return wk::link::WriteChanged(doc, link);
      },
      writeChangedBoundMs(0, 0, 0), &initial, true);
}

}  // namespace

BENCHMARK(BM_ReadAll)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteAll)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteChanged_SmsRuleAndMiscSetting)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteChanged_Unchanged)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
