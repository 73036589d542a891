// The "Reports" page driven as a user drives it, checked in the image bytes
// and the cells; and its screenshot in the section view.
#include "editors/dlg_prop_reports.h"

#include <QTabBar>

#include "editors/c4410_view.h"
#include "editors/grid_page_fixture.h"
#include "support/gui/screenshot.h"

namespace wk {
namespace {

// Image offsets as the controller's memory map gives them: request ?c at
// 62752 + 10c.
constexpr std::size_t kReports = 62752;
std::size_t recordOf(std::size_t request) { return kReports + 10 * request; }

const QColor kOddItemRow(0xFF, 0xFF, 0xC0);
const QColor kPeriodCells(0xEE, 0xEE, 0xFF);
const QColor kOddNumberRow(0xE0, 0xE0, 0xFF);
const QColor kPeriodLabel(0xAA, 0xAA, 0xFF);
const QColor kNumberLabels(0xCC, 0xCC, 0xFF);

constexpr const char* kZeroRecord = "00 00 00 00 00 00 00 00 00 00";

using Page = CDlgPropReports;
using ReportsPage = test::GridPageTest<Page>;

TEST_F(ReportsPage, TheGridItsHeadersWidthsAndLabels) {
  Grid& g = grid();
  EXPECT_EQ(g.rowCount(), 74);
  EXPECT_EQ(g.columnCount(), 11);
  EXPECT_EQ(text(0, 0), "Option");
  for (int c = 1; c <= 10; ++c) {
    QString header;
    header.append(QChar('"')).append(QChar('?')).append(QChar(u'0' + c - 1)).append(QChar('"'));
    EXPECT_EQ(text(0, c), header) << c;
    EXPECT_EQ(g.columnWidth(c), 90) << c;
  }
  EXPECT_EQ(text(0, 4), QString::fromUtf8("\"?3\""));
  EXPECT_EQ(g.columnWidth(0), 157);  // 179 at creation, less 22; the page is 1000 wide now
  EXPECT_EQ(g.geometry(), page->rect());
  page->resize(700, 400);
  EXPECT_EQ(g.geometry(), page->rect());
  EXPECT_EQ(g.columnWidth(0), 157);

  const std::pair<int, const char*> labels[] = {
      {1, "Status"},          {2, "Get Balance"},          {3, "Output # 1"},           {8, "Output # 6"},
      {9, "Input # 1"},       {32, "Input # 24"},          {33, "Thermo sensor T1.01"}, {42, "Thermo sensor T1.10"},
      {48, "Thermo sensor T1.16"}, {49, "Thermo sensor T2.01"}, {64, "Thermo sensor T2.16"}, {65, "Report Period"},
      {66, "My Number 1"},    {73, "My Number 8"}};
  for (const auto& [row, label] : labels) EXPECT_EQ(text(row, 0), QString::fromUtf8(label)) << row;

  for (int c = 1; c <= 10; ++c) {
    for (int r = 1; r <= 73; ++r)
      EXPECT_EQ(g.cellKind(r, c), r == 65 ? CGridCellCombo : CGridCellCheck) << r << "," << c;
    EXPECT_EQ(g.items(65, c), (QStringList{"Not active", "Every 2h", "Every 8h", "Every 24h", "Every 5d",
                                           "Every 10d", "Every 15d", "Every 30d"}));
  }
}

TEST_F(ReportsPage, Backgrounds) {
  for (int c = 1; c <= 10; ++c) {
    for (int r = 1; r <= 64; ++r) {
      if (r % 2) {
        EXPECT_EQ(colour(r, c), kOddItemRow) << r << "," << c;
      } else {
        EXPECT_FALSE(colour(r, c).isValid()) << r << "," << c;
      }
    }
    EXPECT_EQ(colour(65, c), kPeriodCells);
    for (int r = 66; r <= 73; ++r) {
      if (r % 2) {
        EXPECT_EQ(colour(r, c), kOddNumberRow) << r << "," << c;
      } else {
        EXPECT_FALSE(colour(r, c).isValid()) << r << "," << c;
      }
    }
  }
  EXPECT_EQ(colour(65, 0), kPeriodLabel);
  for (int r = 66; r <= 73; ++r) EXPECT_EQ(colour(r, 0), kNumberLabels) << r;
  for (int r = 0; r <= 64; ++r) EXPECT_FALSE(colour(r, 0).isValid()) << r;
  for (int c = 0; c <= 10; ++c) EXPECT_FALSE(colour(0, c).isValid()) << c;
}

TEST_F(ReportsPage, ANewDocumentShowsNothingCheckedNotActiveAndStoresZeros) {
  for (int c = 1; c <= 10; ++c) {
    for (int r = 1; r <= 73; ++r)
      if (r != 65) {
        EXPECT_FALSE(grid().isChecked(r, c)) << r << "," << c;
      }
    EXPECT_EQ(text(65, c), "Not active") << c;
  }
  EXPECT_FALSE(doc.isModified());
  const ConfigImage before = doc.image();
  doc.collectEditors();
  EXPECT_TRUE(doc.image() == before);
  for (std::size_t c = 0; c < 10; ++c) EXPECT_EQ(bytes(recordOf(c), 10), kZeroRecord) << c;
}

TEST_F(ReportsPage, StatusAndT216OfRequestThree) {
  const ConfigImage before = doc.image();
  user->toggle(1, 4);
  user->toggle(64, 4);
  EXPECT_TRUE(grid().isChecked(1, 4));
  EXPECT_TRUE(grid().isChecked(64, 4));
  EXPECT_TRUE(doc.isModified());
  // The click on T2.16 moved the focus: both boxes are in the image.
  EXPECT_EQ(bytes(62782, 1), "01");
  EXPECT_EQ(bytes(62789, 1), "80");
  ConfigImage expected = before;
  expected.at(62782) = 0x01;
  expected.at(62789) = 0x80;
  EXPECT_TRUE(doc.image() == expected);
}

TEST_F(ReportsPage, Every24hWithMyNumbersOneAndEightStores0B04) {
  user->pick(65, 1, "Every 24h");
  EXPECT_EQ(text(65, 1), "Every 24h");  // a period cell keeps its text
  EXPECT_TRUE(doc.isModified());
  user->toggle(66, 1);
  user->toggle(73, 1);
  EXPECT_EQ(bytes(recordOf(0), 10), "00 00 00 00 00 00 00 00 0B 04");
  for (std::size_t c = 1; c < 10; ++c) EXPECT_EQ(bytes(recordOf(c), 10), kZeroRecord) << c;
}

TEST_F(ReportsPage, Bit15IsKeptAndBits11To14Cleared) {
  put(recordOf(2) + 8, "13 F8");  // period 3, My Number 2, bits 11..15
  put(recordOf(7) + 8, "00 78");  // bits 11..14
  doc.refreshEditors();
  EXPECT_EQ(text(65, 3), "Every 24h");
  EXPECT_TRUE(grid().isChecked(67, 3));
  user->click(10, 10);
  EXPECT_EQ(bytes(recordOf(2) + 8, 2), "13 80");
  EXPECT_EQ(bytes(recordOf(7) + 8, 2), "00 00");
}

TEST_F(ReportsPage, AFocusMoveRewritesAllTenRecords) {
  put(recordOf(4), "01 02 03 04 05 06 07 08 0C 04");  // Every 5d, My Numbers 1 and 8
  doc.refreshEditors();
  user->goTo(65, 2);
  ASSERT_EQ(bytes(recordOf(4), 10), "01 02 03 04 05 06 07 08 0C 04");
  // Changed behind the grid's back, every record: the next focus move puts
  // back what the grid shows.
  for (std::size_t c = 0; c < 10; ++c) put(recordOf(c), "FF FF FF FF FF FF FF FF FF 7F");
  doc.setModified(false);
  user->key(Qt::Key_Down);
  EXPECT_EQ(grid().focusCell(), (CellId{66, 2}));
  EXPECT_TRUE(doc.isModified());
  for (std::size_t c = 0; c < 10; ++c)
    EXPECT_EQ(bytes(recordOf(c), 10), c == 4 ? "01 02 03 04 05 06 07 08 0C 04" : kZeroRecord) << c;
  EXPECT_EQ(bytes(recordOf(0) - 1, 1), "00");
  EXPECT_EQ(bytes(recordOf(10), 1), "00");
}

TEST_F(ReportsPage, RefreshShowsEveryRecord) {
  put(recordOf(9), "03 00 00 80 00 00 00 80 FF 07");  // Status, Get Balance, Input 24, T2.16; Every 30d, all numbers
  doc.refreshEditors();
  for (int r = 1; r <= 64; ++r)
    EXPECT_EQ(grid().isChecked(r, 10), r == 1 || r == 2 || r == 32 || r == 64) << r;
  EXPECT_EQ(text(65, 10), "Every 30d");
  for (int r = 66; r <= 73; ++r) EXPECT_TRUE(grid().isChecked(r, 10)) << r;
  for (int r = 1; r <= 73; ++r)
    if (r != 65) {
      EXPECT_FALSE(grid().isChecked(r, 9)) << r;
    }
  put(recordOf(9), kZeroRecord);
  doc.refreshEditors();
  EXPECT_FALSE(grid().isChecked(1, 10));
  EXPECT_EQ(text(65, 10), "Not active");
  EXPECT_FALSE(doc.isModified());
}

TEST_F(ReportsPage, SpaceTogglesWithoutMovingAndStillCountsAsAnEdit) {
  user->click(9, 6);  // Input # 1 of ?5
  doc.setModified(false);
  const ConfigImage before = doc.image();
  QTest::keyClick(grid().view(), Qt::Key_Space);
  EXPECT_FALSE(grid().isChecked(9, 6));  // the click had checked it
  EXPECT_TRUE(doc.isModified());
  EXPECT_TRUE(doc.image() == before);  // stored at the next move or collect
  QTest::keyClick(grid().view(), Qt::Key_Space);
  doc.collectEditors();
  EXPECT_EQ(bytes(recordOf(5), 10), "00 01 00 00 00 00 00 00 00 00");
}

TEST_F(ReportsPage, TheConstructedPageShowsThePeriodsAlready) {
  page.reset();
  put(recordOf(1) + 8, "06 00");
  put(recordOf(1), "01");
  page = std::make_unique<Page>(PageContext{doc, seams.seams, {}}, nullptr);
  EXPECT_EQ(text(65, 2), "Every 15d");
  EXPECT_EQ(text(65, 1), "Not active");
  EXPECT_FALSE(grid().isChecked(1, 2));  // the boxes wait for the refresh
  doc.refreshEditors();
  EXPECT_TRUE(grid().isChecked(1, 2));
}

TEST_F(ReportsPage, ARefreshDropsAnOpenListAndACollectEndsIt) {
  user->goTo(65, 8);
  QTest::keyClick(grid().view(), Qt::Key_F2);
  ASSERT_TRUE(grid().isEditing());
  put(recordOf(7) + 8, "02 00");
  doc.setModified(false);
  doc.refreshEditors();
  EXPECT_FALSE(grid().isEditing());
  EXPECT_EQ(text(65, 8), "Every 8h");
  EXPECT_FALSE(doc.isModified());

  QTest::keyClick(grid().view(), Qt::Key_F2);
  ASSERT_TRUE(grid().isEditing());
  doc.collectEditors();
  EXPECT_FALSE(grid().isEditing());
  EXPECT_EQ(bytes(recordOf(7) + 8, 2), "02 00");
}

TEST_F(ReportsPage, TranslatedLabelsAndPeriods) {
  loadLanguage({{"Option", "Параметр"},
                {"Status", "Статус"},
                {"Output #", "Выход №"},
                {"Thermo sensor", "Датчик"},
                {"Report Period", "Период"},
                {"My Number", "Мой номер"},
                {"Every 24h", "Раз в сутки"},
                {"Not active", "Нет"}});
  EXPECT_EQ(text(0, 0), QString::fromUtf8("Параметр"));
  EXPECT_EQ(text(0, 1), "\"?0\"");
  EXPECT_EQ(text(1, 0), QString::fromUtf8("Статус"));
  EXPECT_EQ(text(2, 0), "Get Balance");
  EXPECT_EQ(text(5, 0), QString::fromUtf8("Выход № 3"));
  EXPECT_EQ(text(50, 0), QString::fromUtf8("Датчик T2.02"));
  EXPECT_EQ(text(65, 0), QString::fromUtf8("Период"));
  EXPECT_EQ(text(70, 0), QString::fromUtf8("Мой номер 5"));
  EXPECT_EQ(text(65, 3), QString::fromUtf8("Нет"));
  user->pick(65, 3, QString::fromUtf8("Раз в сутки"));
  user->click(1, 1);
  EXPECT_EQ(bytes(recordOf(2) + 8, 2), "03 00");
  EXPECT_EQ(bytes(recordOf(0), 1), "01");
}

TEST(ReportsScreenshot, ANewDocumentAndOneWithReportsSet) {
  C4410Doc doc;
  test::PageSeams seams;
  C4410View view(doc, seams.seams);
  view.resize(1150, 640);
  doc.makeNew();
  view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
  view.tabBar()->setCurrentIndex(6);
  ASSERT_TRUE(view.page(6)->isVisible());
  test::screenshot(&view, QStringLiteral("reports_new"));

  const char* records[] = {"03 FC 00 00 00 00 00 00 0B 04", "01 00 00 00 01 00 01 00 19 00",
                           "FF FF FF FF FF FF FF FF FF 07", "05 00 00 00 00 00 00 80 04 00"};
  for (std::size_t c = 0; c < std::size(records); ++c) {
    const auto b = test::hex(records[c]);
    std::copy(b.begin(), b.end(), doc.image().slice(recordOf(c), 10).begin());
  }
  doc.refreshEditors();
  test::screenshot(&view, QStringLiteral("reports_set"));
  // Scrolled to the period and the numbers.
  auto* reports = dynamic_cast<CDlgPropReports*>(view.page(6));
  ASSERT_NE(reports, nullptr);
  reports->grid().view()->scrollToBottom();
  test::screenshot(&view, QStringLiteral("reports_set_bottom"));
  // The period list of ?4 as the user sees it when picking (a window of its own).
  ASSERT_TRUE(reports->grid().editCell(CDlgPropReports::kPeriodRow, 5));
  test::GridUser user(reports->grid());
  auto* combo = user.openEditor<QComboBox>();
  ASSERT_NE(combo, nullptr);
  ASSERT_TRUE(QTest::qWaitFor([combo] { return combo->view()->isVisible(); }, 5000));
  test::screenshot(combo->view(), QStringLiteral("reports_period_list"));
  combo->hidePopup();
  reports->grid().endEditing();
}

}  // namespace
}  // namespace wk
