// Saving and opening a configuration: serialising the image, parsing it back,
// and the whole save-to-disk path with its flush and rename.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "document/c4410_doc.h"
#include "document/vld_file.h"
#include "seams/prompter.h"

namespace {

struct SilentPrompter : wk::Prompter {
  wk::Answer message(const std::string&, wk::MessageIcon, wk::MessageButtons) override { return wk::Answer::Ok; }
};

void BM_Serialize(benchmark::State& state) {
  wk::C4410Doc doc;
  doc.makeNew();
  for (auto _ : state) benchmark::DoNotOptimize(wk::vld::serialize(doc.image()));
}
BENCHMARK(BM_Serialize);

void BM_Parse(benchmark::State& state) {
  wk::C4410Doc doc;
  doc.makeNew();
  const auto file = wk::vld::serialize(doc.image());
  wk::ConfigImage image;
  for (auto _ : state) benchmark::DoNotOptimize(wk::vld::parse(file, image));
}
BENCHMARK(BM_Parse);

void BM_SaveAndOpen(benchmark::State& state) {
  char folder[] = "/tmp/wk-bench-XXXXXX";
  if (!::mkdtemp(folder)) {
    state.SkipWithError("mkdtemp failed");
    return;
  }
  const std::string path = std::string(folder) + "/bench.vld";
  SilentPrompter prompter;
  wk::C4410Doc doc;
  doc.makeNew();
  for (auto _ : state) {
    doc.save(path, prompter);
    doc.open(path, prompter);
  }
  ::unlink(path.c_str());
  ::rmdir(folder);
}
BENCHMARK(BM_SaveAndOpen)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
