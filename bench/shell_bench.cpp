// The shell's costs a user waits for: starting the program with its first
// document, opening one more document window (the section view and its
// pages), and switching tabs. Runs offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTabBar>

#include "app/c4410_app.h"
#include "app/child_frame.h"
#include "app/main_frame.h"
#include "editors/c4410_view.h"
#include "seams/prompter.h"
#include "seams/settings.h"

namespace {

struct SilentPrompter : wk::Prompter {
  wk::Answer message(const std::string&, wk::MessageIcon, wk::MessageButtons) override { return wk::Answer::No; }
};

// A started program on in-memory settings; its windows close without asking.
struct StartedProgram {
  StartedProgram() { app.InitInstance({}); }
  ~StartedProgram() {
    for (wk::CChildFrame* child : app.mainFrame()->children()) child->setCloseApproved();
  }
  wk::MemorySettings settings;
  SilentPrompter prompter;
  wk::C4410App app{settings, prompter};
};

void BM_StartUp(benchmark::State& state) {
  for (auto _ : state) {
    StartedProgram program;
    QApplication::processEvents();
  }
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond);

void BM_NewDocumentWindow(benchmark::State& state) {
  StartedProgram program;
  for (auto _ : state) {
    wk::CChildFrame* child = program.app.OnFileNew();
    QApplication::processEvents();
    state.PauseTiming();
    delete child;
    QApplication::processEvents();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_NewDocumentWindow)->Unit(benchmark::kMillisecond);

void BM_SwitchTab(benchmark::State& state) {
  StartedProgram program;
  QTabBar* tabs = program.app.mainFrame()->activeChild()->view().tabBar();
  int index = 0;
  for (auto _ : state) {
    index = (index + 1) % wk::C4410View::kPageCount;
    tabs->setCurrentIndex(index);
    QApplication::processEvents();
  }
}
BENCHMARK(BM_SwitchTab)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication qt(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
