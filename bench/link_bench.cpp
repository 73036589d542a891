// Read-all and write-all against gz4410-sim with wire timing, over the real
// termios port and the real waits, compared with the least time the exchange
// can take: the 2000 ms wait after opening, the 10 ms after each speed
// change, and every byte of both directions at its baud rate, 10 bits a byte.
#include <benchmark/benchmark.h>

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
  wk::sim::Simulator sim({});
  if (sim.device().empty()) {
    state.SkipWithError("gz4410-sim did not start");
    return;
  }
  wk::MemorySettings settings;
  settings.writeString(wk::setting::kSection, wk::setting::kPort, sim.device());
  SilentPrompter prompter;
  wk::SystemClock clock;
  wk::link::TermiosTransport transport(clock);
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
  const double measured = totalMs / static_cast<double>(state.iterations());
  state.counters["bound_ms"] = bound;
  state.counters["measured_ms"] = measured;
  state.counters["over_bound_pct"] = (measured / bound - 1.0) * 100.0;
}

void BM_ReadAll(benchmark::State& state) { run(state, true); }
void BM_WriteAll(benchmark::State& state) { run(state, false); }

}  // namespace

BENCHMARK(BM_ReadAll)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteAll)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
