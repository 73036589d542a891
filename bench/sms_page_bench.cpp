// The SMS Data page, the largest grid of the program: a refresh (image to
// page) and a collect (page to image) of all 256 rules, each to stay well
// under 20 ms; the refresh with the repaint that follows it; building and
// first showing the page (opening its tab); and scrolling it by a screenful.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTableView>
#include <memory>

#include "document/c4410_doc.h"
#include "document/notification_row.h"
#include "editors/dlg_prop_sms_data.h"
#include "link/termios_transport.h"
#include "seams/clock.h"
#include "seams/prompter.h"
#include "seams/seams.h"
#include "seams/settings.h"
#include "widgets/grid.h"

namespace {

using namespace wk;

struct SilentPrompter : Prompter {
  Answer message(const std::string&, MessageIcon, MessageButtons) override { return Answer::Ok; }
};

struct Rig {
  SilentPrompter prompter;
  MemorySettings settings;
  SystemClock clock;
  link::TermiosTransport transport{clock};
  Seams seams{prompter, settings, clock, transport};
  C4410Doc doc;
  std::unique_ptr<CDlgPropSMSData> page;

  Rig() {
    doc.makeNew();
    page = std::make_unique<CDlgPropSMSData>(PageContext{doc, seams, {}}, nullptr);
    page->resize(1400, 900);  // a maximised window shows about 40 rows
    page->show();             // a hidden view skips the work of updating itself
    doc.refreshEditors();
    QApplication::processEvents();
  }
};

// Two images whose every row differs, so that each refresh changes every cell.
void fillRules(ConfigImage& image, int variant) {
  const NotificationTexts texts;
  for (std::size_t k = 0; k < image::kSmsRecordCount; ++k) {
    auto record = NotificationRecord::at(image, k);
    auto comment = SmsCommentRecord::at(image, k);
    NotificationRow row = LoadNotificationRow(record, comment, texts);
    const std::size_t v = k + static_cast<std::size_t>(variant);
    row.enabled = v % 3 != 0;
    row.phone = u"0038050123" + std::u16string(1, static_cast<char16_t>(u'0' + v % 10));
    SetSource(row, static_cast<std::uint8_t>(v % source::kCategoryCount), static_cast<unsigned>(v % 16), texts);
    row.condition = texts.conditions[v % 3];
    row.kind = texts.kinds[v % 3];
    row.sound = texts.sounds[v % 8];
    row.channels[v % 6] = true;
    row.text = v % 2 ? std::u16string(160, static_cast<char16_t>(u'a' + v % 26)) : std::u16string(70, u'Ж');
    row.comment = std::u16string(31, static_cast<char16_t>(u'а' + v % 32));
    row.soundLength = static_cast<std::uint32_t>(v * 60);
    StoreNotificationRow(row, record, comment, texts);
  }
}

void BM_ImageToPage(benchmark::State& state) {
  Rig rig;
  ConfigImage images[2];
  fillRules(images[0], 0);
  fillRules(images[1], 1);
  int round = 0;
  for (auto _ : state) {
    rig.doc.image() = images[++round % 2];
    rig.page->TransferImage(TransferDirection::ImageToPage);
  }
  state.counters["rows"] = 256;
}
BENCHMARK(BM_ImageToPage)->Unit(benchmark::kMillisecond);

void BM_ImageToPageAndPaint(benchmark::State& state) {
  Rig rig;
  ConfigImage images[2];
  fillRules(images[0], 0);
  fillRules(images[1], 1);
  QImage canvas(rig.page->size(), QImage::Format_ARGB32_Premultiplied);
  int round = 0;
  for (auto _ : state) {
    rig.doc.image() = images[++round % 2];
    rig.page->TransferImage(TransferDirection::ImageToPage);
    QPainter painter(&canvas);
    rig.page->render(&painter);  // everything visible, as the repaint does
  }
}
BENCHMARK(BM_ImageToPageAndPaint)->Unit(benchmark::kMillisecond);

void BM_PageToImage(benchmark::State& state) {
  Rig rig;
  fillRules(rig.doc.image(), 0);
  rig.page->TransferImage(TransferDirection::ImageToPage);
  // Half the messages and comments differ from what the image holds, so the
  // store rewrites them every time.
  Grid& grid = *rig.page->grid();
  for (int r = 1; r < CDlgPropSMSData::kRowCount; r += 2) {
    grid.setText(r, CDlgPropSMSData::kColText, grid.text(r, CDlgPropSMSData::kColText) + QStringLiteral("!"));
    grid.setText(r, CDlgPropSMSData::kColComments, QStringLiteral("edited %1").arg(r));
  }
  const ConfigImage loaded = rig.doc.image();
  for (auto _ : state) {
    state.PauseTiming();
    rig.doc.image() = loaded;
    state.ResumeTiming();
    rig.page->TransferImage(TransferDirection::PageToImage);
  }
}
BENCHMARK(BM_PageToImage)->Unit(benchmark::kMillisecond);

// Opening the tab: the page is built with its view, then shown and painted.
void BM_BuildShowAndPaint(benchmark::State& state) {
  SilentPrompter prompter;
  MemorySettings settings;
  SystemClock clock;
  link::TermiosTransport transport{clock};
  Seams seams{prompter, settings, clock, transport};
  C4410Doc doc;
  doc.makeNew();
  QImage canvas(1400, 900, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    CDlgPropSMSData page(PageContext{doc, seams, {}}, nullptr);
    doc.refreshSmsData();
    page.resize(1400, 900);
    page.show();
    QPainter painter(&canvas);
    page.render(&painter);
  }
}
BENCHMARK(BM_BuildShowAndPaint)->Unit(benchmark::kMillisecond);

// Scrolling down a screenful and painting what comes into view.
void BM_ScrollAndPaint(benchmark::State& state) {
  Rig rig;
  fillRules(rig.doc.image(), 0);
  rig.page->TransferImage(TransferDirection::ImageToPage);
  QScrollBar* bar = rig.page->grid()->view()->verticalScrollBar();
  QImage canvas(rig.page->size(), QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    bar->setValue(bar->value() >= bar->maximum() ? 0 : bar->value() + bar->pageStep());
    QPainter painter(&canvas);
    rig.page->render(&painter);
  }
}
BENCHMARK(BM_ScrollAndPaint)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
