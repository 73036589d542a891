// The largest page the grid serves: SMS data, 257 rows by 17 columns with
// check, drop-down, time and text cells. Filling every cell as a refresh does,
// then painting the whole visible grid, must stay well under 20 ms.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTableView>

#include "language/translate.h"
#include "widgets/grid.h"

namespace {

constexpr int kRows = 257;
constexpr int kCols = 17;

QStringList numbered(const QString& prefix, int count) {
  QStringList items;
  for (int i = 1; i <= count; ++i) items << QStringLiteral("%1 %2").arg(prefix).arg(i);
  return items;
}

void buildLayout(wk::Grid& grid) {
  grid.setColumnCount(kCols);
  grid.setRowCount(kRows);
  grid.setRowHeight(0, 30);
  const int widths[kCols] = {25, 30, 90, 130, 150, 180, 90, 200, 70, 30, 30, 30, 30, 30, 30, 100, 200};
  for (int c = 0; c < kCols; ++c) grid.setColumnWidth(c, widths[c]);
  for (int r = 1; r < kRows; ++r) {
    grid.setCellKind(r, 1, wk::CGridCellCheck);
    grid.setCellKind(r, 2, wk::GridCellKind::Digits);
    for (const int c : {3, 4, 5, 6, 8}) grid.setCellKind(r, c, wk::CGridCellCombo);
    for (int c = 9; c <= 14; ++c) grid.setCellKind(r, c, wk::CGridCellCheck);
    grid.setCellKind(r, 15, wk::GridCellKind::Time);
  }
  grid.resize(1400, 900);  // a maximised page shows about 40 rows
  grid.show();             // a hidden view skips the work of updating itself
  QApplication::processEvents();
}

// What one image-to-grid refresh of the page does to every row.
void fillAll(wk::Grid& grid, int round, const QStringList& sources, const QStringList& sounds) {
  const QColor shade = round % 2 ? QColor(255, 255, 255) : QColor(224, 224, 224);
  for (int r = 1; r < kRows; ++r) {
    for (int c = 1; c < kCols; ++c) grid.setBackground(r, c, shade);
    grid.setChecked(r, 1, round % 2);
    grid.setText(r, 2, QStringLiteral("0012345%1").arg(r));
    grid.setText(r, 3, QString::fromStdString(wk::tr("Main Channel")));
    grid.setItems(r, 4, sources);
    grid.setText(r, 4, sources[(r + round) % sources.size()]);
    grid.setText(r, 5, QString::fromStdString(wk::tr("if ALARM ON")));
    grid.setText(r, 6, QString::fromStdString(wk::tr("SMS")));
    grid.setText(r, 7, QStringLiteral("Alarm on channel %1, round %2").arg(r).arg(round));
    grid.setText(r, 8, sounds[(r + round) % sounds.size()]);
    for (int c = 9; c <= 14; ++c) grid.setChecked(r, c, (r + c + round) % 3 == 0);
    grid.setTime(r, 15, QTime(0, 0, 0).addSecs((r * 10 + round) % 65536));
    grid.setText(r, 16, QStringLiteral("Comment %1").arg(r + round));
  }
}

void BM_FillAllCells(benchmark::State& state) {
  wk::Grid grid;
  buildLayout(grid);
  const QStringList sources = numbered(QStringLiteral("Main Channel"), 24);
  const QStringList sounds = numbered(QStringLiteral("Sound"), 8);
  int round = 0;
  for (auto _ : state) fillAll(grid, ++round, sources, sounds);
}

void BM_FillAllCellsAndRedraw(benchmark::State& state) {
  wk::Grid grid;
  buildLayout(grid);
  const QStringList sources = numbered(QStringLiteral("Main Channel"), 24);
  const QStringList sounds = numbered(QStringLiteral("Sound"), 8);
  QImage canvas(grid.size(), QImage::Format_ARGB32_Premultiplied);
  int round = 0;
  for (auto _ : state) {
    fillAll(grid, ++round, sources, sounds);
    grid.redrawAll();
    QPainter painter(&canvas);
    grid.render(&painter);  // paints everything visible, as a repaint does
  }
  state.counters["cells"] = (kRows - 1) * (kCols - 1);
}

void BM_BuildLayout(benchmark::State& state) {
  for (auto _ : state) {
    wk::Grid grid;
    buildLayout(grid);
  }
}

}  // namespace

BENCHMARK(BM_FillAllCells)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillAllCellsAndRedraw)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildLayout)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
