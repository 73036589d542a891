// Importing a configuration as JSON: a whole export, and hostile texts just
// under the 16 MiB limit, each of which must cost no more than its length
// (an array of 320 000 records once took 40 s).
#include <benchmark/benchmark.h>

#include <string>

#include "config_json.h"
#include "document/c4410_doc.h"

namespace {

wk::ConfigImage newImage() {
  wk::C4410Doc doc;
  doc.makeNew();
  return doc.image();
}

// head, then item repeated (comma-separated) up to the size limit, then tail.
std::string hostile(const std::string& head, const std::string& item, const std::string& tail) {
  std::string text = head;
  text.reserve(wk::cli::kMaxJsonBytes);
  while (text.size() + item.size() + 1 + tail.size() < wk::cli::kMaxJsonBytes) text += item + ",";
  text.pop_back();
  return text + tail;
}

void run(benchmark::State& state, const std::string& text) {
  for (auto _ : state) {
    wk::ConfigImage image = newImage();
    benchmark::DoNotOptimize(wk::cli::fromJson(text, image));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_ImportExport(benchmark::State& state) { run(state, wk::cli::toJson(newImage()).dump(2)); }
BENCHMARK(BM_ImportExport)->Unit(benchmark::kMillisecond);

void BM_ImportManyRecords(benchmark::State& state) { run(state, hostile(R"({"sms":[)", "{}", "]}")); }
BENCHMARK(BM_ImportManyRecords)->Unit(benchmark::kMillisecond);

void BM_ImportManyMembers(benchmark::State& state) { run(state, hostile(R"({"misc":{)", R"("k":1)", "}}")); }
BENCHMARK(BM_ImportManyMembers)->Unit(benchmark::kMillisecond);

void BM_ImportLongText(benchmark::State& state) {
  run(state, R"({"misc":{"balanceRequest":")" + std::string(wk::cli::kMaxJsonBytes - 40, 'a') + "\"}}");
}
BENCHMARK(BM_ImportLongText)->Unit(benchmark::kMillisecond);

void BM_ImportNestedLists(benchmark::State& state) {
  // Lists of lists of numbers, each as long as a configuration allows: all
  // 16 MiB are read before the records are found to be no records.
  std::string inner = "[0";
  for (int i = 1; i < 256; ++i) inner += ",0";
  inner += "]";
  std::string middle = "[" + inner;
  for (int i = 1; i < 256; ++i) middle += "," + inner;
  middle += "]";
  run(state, hostile(R"({"sms":[)", middle, "]}"));
}
BENCHMARK(BM_ImportNestedLists)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
