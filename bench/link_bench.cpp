// Read-all and write-all against gz4410-sim with wire timing, over the real
// termios port and the real waits, compared with the least time the exchange
// can take: the 2000 ms wait after opening, the 10 ms after each speed
// change, and every byte of both directions at its baud rate, 10 bits a byte.
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

void run(benchmark::State& state, bool reading) {
  char dir[] = "/tmp/wk-link-bench-XXXXXX";
  if (!::mkdtemp(dir)) {
    state.SkipWithError("no temporary folder");
    return;
  }
  const std::string activityPath = std::string(dir) + "/activity";
  wk::sim::ActivityWatch activity(activityPath);
  wk::sim::Simulator sim({"--activity", activityPath});
  ::unlink(activityPath.c_str());
  ::rmdir(dir);
  if (sim.device().empty()) {
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
  for (auto _ : state) {
    wk::C4410Doc doc;
    const auto start = std::chrono::steady_clock::now();
    const auto outcome =
        reading ? wk::link::ReadAll(doc, link) : wk::link::WriteAll(doc, link);
    totalMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (outcome != wk::link::TransferOutcome::Completed) state.SkipWithError("transfer failed");
  }
  const double bound = reading ? readAllBoundMs() : writeAllBoundMs();
  const double runs = static_cast<double>(state.iterations());
  const double measured = totalMs / runs;
  const double late = std::chrono::duration<double, std::milli>(activity.late()).count() / runs;
  state.counters["bound_ms"] = bound;
  state.counters["measured_ms"] = measured;
  state.counters["over_bound_pct"] = (measured / bound - 1.0) * 100.0;
  state.counters["sim_late_ms"] = late;
  state.counters["program_over_bound_pct"] = ((measured - late) / bound - 1.0) * 100.0;
}

void BM_ReadAll(benchmark::State& state) { run(state, true); }
void BM_WriteAll(benchmark::State& state) { run(state, false); }

}  // namespace

BENCHMARK(BM_ReadAll)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteAll)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
