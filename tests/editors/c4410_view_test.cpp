// The section view: its tabs, its pages and their image parts, the pages'
// registration with the document, resizing, tab switching and printing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QPrinter>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "diagnostics/ui/dlg_health.h"
#include "document/c4410_doc.h"
#include "editors/c4410_view.h"
#include "editors/dlg_prop_sms_data.h"
#include "editors/dlg_prop_ins.h"
#include "editors/dlg_prop_insuser.h"
#include "editors/dlg_prop_outs.h"
#include "editors/dlg_prop_reports.h"
#include "editors/dlg_prop_misc.h"
#include "onewire/ui/dlg_prop_thermo.h"
#include "onewire/ui/dlg_prop_thermo_channel.h"
#include "onewire/ui/dlg_prop_thermo_ibutton.h"
#include "language/translate.h"
#include "support/lng_file.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"
#include "link/termios_transport.h"
#include "seams/clock.h"
#include "seams/seams.h"
#include "seams/settings.h"

namespace wk {
namespace {

using test::ScriptedPrompter;
using test::TempDir;

// The seams of a view that runs no device command.
struct QuietSeams {
  ScriptedPrompter prompter;
  MemorySettings settings;
  SystemClock clock;
  link::TermiosTransport transport{clock};
  Seams seams{prompter, settings, clock, transport};
};

struct ViewFixture : ::testing::Test {
  C4410Doc doc;
  QuietSeams quiet;
  ScriptedPrompter& prompter = quiet.prompter;
  std::unique_ptr<C4410View> view;
  void SetUp() override { view = std::make_unique<C4410View>(doc, quiet.seams); }

  std::vector<bool> visiblePages() const {
    std::vector<bool> shown;
    for (int i = 0; i < C4410View::kPageCount; ++i) shown.push_back(view->page(i)->isVisibleTo(view.get()));
    return shown;
  }
};

std::vector<std::pair<std::size_t, std::size_t>> offsetsAndSizes(const std::vector<ImageBlock>& parts) {
  std::vector<std::pair<std::size_t, std::size_t>> list;
  for (const ImageBlock& part : parts) list.emplace_back(part.offset, part.size);
  return list;
}

using Parts = std::vector<std::pair<std::size_t, std::size_t>>;

TEST_F(ViewFixture, SevenTabsAlongTheBottomInOrder) {
  QTabBar* tabs = view->tabBar();
  ASSERT_EQ(tabs->count(), 7);
  QStringList labels;
  for (int i = 0; i < tabs->count(); ++i) labels << tabs->tabText(i);
  EXPECT_EQ(labels, (QStringList{"SMS Data", "Main Channels", "User Events", "Outputs", "Thermosensors",
                                 "Miscellaneous", "Reports"}));
  EXPECT_EQ(tabs->shape(), QTabBar::RoundedSouth);
  EXPECT_EQ(tabs->currentIndex(), 0);
  EXPECT_EQ(view->tabControl()->property("controlId").toInt(), 109);
  EXPECT_EQ(tabs->parentWidget(), view->tabControl());
  for (int i = 0; i < 7; ++i) EXPECT_EQ(view->page(i)->parentWidget(), view->tabControl());
}

TEST_F(ViewFixture, EachPageIsItsEditorWithItsImageParts) {
  EXPECT_NE(dynamic_cast<CDlgPropSMSData*>(view->page(0)), nullptr);
  EXPECT_NE(dynamic_cast<CDlgPropIns*>(view->page(1)), nullptr);
  EXPECT_NE(dynamic_cast<CDlgPropInsuser*>(view->page(2)), nullptr);
  EXPECT_NE(dynamic_cast<CDlgPropOuts*>(view->page(3)), nullptr);
  EXPECT_NE(dynamic_cast<CDlgPropThermo*>(view->page(4)), nullptr);
  EXPECT_NE(dynamic_cast<CDlgPropMisc*>(view->page(5)), nullptr);
  EXPECT_NE(dynamic_cast<CDlgPropReports*>(view->page(6)), nullptr);

  auto parts = [&](int index) { return offsetsAndSizes(dynamic_cast<SectionPage*>(view->page(index))->regions()); };
  EXPECT_EQ(parts(0), (Parts{{0, 40448}, {40448, 16384}}));
  EXPECT_EQ(parts(1), (Parts{{61888, 96}, {62596, 266}, {56832, 1536}}));
  EXPECT_EQ(parts(2), (Parts{{61984, 96}, {58368, 1024}}));
  EXPECT_EQ(parts(3), (Parts{{62080, 36}, {59392, 384}}));
  EXPECT_EQ(offsetsAndSizes(view->thermoPage()->regions()),
            (Parts{{62116, 160}, {59776, 512}, {62276, 160}, {60288, 512}, {62436, 160}, {60800, 1024}}));
  EXPECT_EQ(parts(5), (Parts{{62596, 266}}));
  EXPECT_EQ(parts(6), (Parts{{62596, 266}}));
  EXPECT_EQ(offsetsAndSizes(view->thermoPage()->channel(0).regions()), (Parts{{62116, 160}, {59776, 512}}));
  EXPECT_EQ(offsetsAndSizes(view->thermoPage()->channel(1).regions()), (Parts{{62276, 160}, {60288, 512}}));
  EXPECT_EQ(offsetsAndSizes(view->thermoPage()->keys().regions()), (Parts{{62436, 160}, {60800, 1024}}));
}

TEST_F(ViewFixture, PagesAreRegisteredInTheDocumentsSlots) {
  auto editor = [&](int index) { return dynamic_cast<ImageEditor*>(view->page(index)); };
  EXPECT_EQ(doc.editor(EditorSlot::SmsData), editor(0));
  EXPECT_EQ(doc.editor(EditorSlot::MainChannels), editor(1));
  EXPECT_EQ(doc.editor(EditorSlot::UserEvents), editor(2));
  EXPECT_EQ(doc.editor(EditorSlot::Outputs), editor(3));
  EXPECT_EQ(doc.editor(EditorSlot::ThermoChannel1), &view->thermoPage()->channel(0));
  EXPECT_EQ(doc.editor(EditorSlot::ThermoChannel2), &view->thermoPage()->channel(1));
  EXPECT_EQ(doc.editor(EditorSlot::IButtonKeys), &view->thermoPage()->keys());
  EXPECT_EQ(doc.editor(EditorSlot::Miscellaneous), editor(5));
  EXPECT_EQ(doc.editor(EditorSlot::Reports), editor(6));
  // The thermosensor host's own tabs.
  QTabBar* tabs = view->thermoPage()->tabBar();
  ASSERT_EQ(tabs->count(), 3);
  EXPECT_EQ(tabs->tabText(0), "1Wire channel 1");
  EXPECT_EQ(tabs->tabText(1), "1Wire channel 2");
  EXPECT_EQ(tabs->tabText(2), "1Wire channel 3 (ext.key)");
}

TEST_F(ViewFixture, FirstPageShownOthersHiddenAtTheirCreationPlace) {
  EXPECT_EQ(visiblePages(), (std::vector<bool>{true, false, false, false, false, false, false}));
  for (int i = 0; i < 7; ++i) EXPECT_EQ(view->page(i)->pos(), QPoint(2, 22));
}

TEST_F(ViewFixture, AfterAResizeEveryPageHasTheSameRectangle) {
  view->resize(800, 600);
  view->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
  EXPECT_EQ(view->tabControl()->geometry(), QRect(0, 0, 800, 600));
  for (int i = 0; i < 7; ++i) EXPECT_EQ(view->page(i)->geometry(), QRect(2, 2, 794, 570)) << i;
  // The tab strip lies in the room below the pages.
  EXPECT_GE(view->tabBar()->geometry().top(), 572);
  EXPECT_LE(view->tabBar()->geometry().bottom(), 599);

  view->tabBar()->setCurrentIndex(3);
  EXPECT_EQ(visiblePages(), (std::vector<bool>{false, false, false, true, false, false, false}));
  view->resize(640, 480);
  QTest::qWait(0);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(view->page(i)->geometry(), QRect(2, 2, 634, 450)) << i;
  EXPECT_EQ(visiblePages(), (std::vector<bool>{false, false, false, true, false, false, false}));

  QTest::mouseClick(view->tabBar(), Qt::LeftButton, {}, view->tabBar()->tabRect(0).center());
  EXPECT_EQ(visiblePages(), (std::vector<bool>{true, false, false, false, false, false, false}));
}

TEST_F(ViewFixture, DeviceCommandsUseTheSeamsTheViewWasGiven) {
  quiet.settings.writeString(setting::kSection, setting::kPort, "/nonexistent/ttyWK");
  doc.makeNew();
  doc.collectEditors();  // what write-all stores before it opens the port
  const ConfigImage before = doc.image();
  view->OnReadAll();
  view->OnWriteAll();
  EXPECT_EQ(prompter.texts(), std::vector<std::string>(2, "Port busy or not exist!"));
  EXPECT_TRUE(doc.image() == before);
  // "Health Status" opens the health dialog on the same seams: its read
  // meets the same missing port.
  prompter.messages.clear();
  bool read = false;
  QTimer driver;
  QObject::connect(&driver, &QTimer::timeout, [&] {
    auto* health = qobject_cast<diag::CDlgHealth*>(QApplication::activeModalWidget());
    if (!health || read) return;
    read = true;
    health->readButton()->click();
    health->reject();
  });
  driver.start(5);
  view->OnHealthStatus();
  EXPECT_TRUE(read);
  EXPECT_EQ(prompter.texts(), std::vector<std::string>{"Port busy or not exist!"});
}

TEST(C4410ViewPrint, LinesRunOnToTheNextPage) {
  EXPECT_EQ(C4410View::printLinesPerPage(6600), 132);
  EXPECT_EQ(C4410View::printLinesPerPage(49), 1);  // a page too small still takes one line
  EXPECT_EQ(C4410View::printLinesPerPage(12800), 256);
}

TEST(C4410ViewPrint, PrintsEveryLineOnAsManyPagesAsItTakes) {
  C4410Doc doc;
  QuietSeams quiet;
  C4410View view(doc, quiet.seams);
  TempDir dir;
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(dir.file("out.pdf")));
  printer.setPageSize(QPageSize(QPageSize::A4));
  view.print(&printer);
  QFile pdf(QString::fromStdString(dir.file("out.pdf")));
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  const QByteArray bytes = pdf.readAll();
  EXPECT_TRUE(bytes.startsWith("%PDF"));
  const int pageHeight = static_cast<int>(printer.pageRect(QPrinter::Inch).height() * 600);
  const int lines = C4410View::printLinesPerPage(pageHeight);
  const int pages = (256 + lines - 1) / lines;
  EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page "), pages);
}

TEST(C4410ViewTranslated, TranslatedTabLabelKeepsTheOrder) {
  TempDir dir;
  test::writeLanguageFile(dir.file("t.lng"), {{"Main Channels", "Основные каналы"}});
  LoadTranslations(dir.file("t.lng"));
  C4410Doc doc;
  QuietSeams quiet;
  C4410View view(doc, quiet.seams);
  ClearTranslations();
  EXPECT_EQ(view.tabBar()->tabText(0), "SMS Data");
  EXPECT_EQ(view.tabBar()->tabText(1), "Основные каналы");
  EXPECT_EQ(view.tabBar()->tabText(2), "User Events");
  EXPECT_NE(dynamic_cast<CDlgPropIns*>(view.page(1)), nullptr);
}

}  // namespace
}  // namespace wk
