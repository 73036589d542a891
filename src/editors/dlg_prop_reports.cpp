#include "editors/dlg_prop_reports.h"

#include <QResizeEvent>

#include "document/report_record.h"
#include "editors/grid_page_support.h"
#include "language/ui/translate_menu.h"
#include "widgets/grid.h"

namespace wk {
namespace {

constexpr int kItemRows = static_cast<int>(report::kItemCount);
constexpr int kNumberRows = static_cast<int>(report::kNumberCount);
constexpr int kRequests = static_cast<int>(report::kRequestCount);
static_assert(CDlgPropReports::kPeriodRow == kItemRows + 1);
static_assert(CDlgPropReports::kRows == CDlgPropReports::kFirstNumberRow + kNumberRows);
static_assert(CDlgPropReports::kColumns == kRequests + 1);

// The banding that makes the long grid readable.
const QColor kOddItemRow(0xFF, 0xFF, 0xC0);
const QColor kPeriodCells(0xEE, 0xEE, 0xFF);
const QColor kOddNumberRow(0xE0, 0xE0, 0xFF);
const QColor kPeriodLabel(0xAA, 0xAA, 0xFF);
const QColor kNumberLabels(0xCC, 0xCC, 0xFF);

std::size_t requestOf(int col) { return static_cast<std::size_t>(col - 1); }

}  // namespace

CDlgPropReports::CDlgPropReports(const PageContext& context, QWidget* parent)
    : SectionPage(context, EditorSlot::Reports, parent), grid_(new Grid(this)) {
  grid_->resize(kCreatedWidth, height());
  buildGrid();
  showPeriods();
  connect(grid_, &Grid::focusMoved, this, [this](int, int) { focusMoved(); });
  connect(grid_, &Grid::cellEditEnded, this, [this](int row, int col) { editEnded(row, col); });
  // A box toggled with Space moves no focus; it is an edit all the same.
  connect(grid_, &Grid::checkToggled, this, [this](int, int) { doc().setModified(true); });
}

CDlgPropReports::~CDlgPropReports() { QObject::disconnect(grid_, nullptr, this, nullptr); }

void CDlgPropReports::buildGrid() {
  grid_->setColumnCount(kColumns);
  grid_->setRowCount(kRows);
  grid_->setText(0, 0, qtr("Option"));
  grid_->setColumnWidth(0, grid_->width() - kLabelSlack);
  for (int c = 1; c < kColumns; ++c) {
    grid_->setText(0, c, QString::asprintf("\"?%d\"", c - 1));
    grid_->setColumnWidth(c, kRequestWidth);
  }

  const auto& items = ReportItems();
  for (int r = 1; r <= kItemRows; ++r) grid_->setText(r, 0, qstr(items[static_cast<std::size_t>(r - 1)].label()));
  grid_->setText(kPeriodRow, 0, qtr(kReportPeriodText));
  for (int n = 1; n <= kNumberRows; ++n)
    grid_->setText(kPeriodRow + n, 0, qstr(ReportNumberLabel(static_cast<std::size_t>(n))));

  const QStringList periods = listItems(ReportPeriodList);
  for (int c = 1; c < kColumns; ++c) {
    for (int r = 1; r < kRows; ++r) grid_->setCellKind(r, c, r == kPeriodRow ? CGridCellCombo : CGridCellCheck);
    grid_->setItems(kPeriodRow, c, periods);
    for (int r = 1; r < kItemRows; r += 2) grid_->setBackground(r, c, kOddItemRow);
    grid_->setBackground(kPeriodRow, c, kPeriodCells);
    for (int r = kFirstNumberRow + 1; r < kRows; r += 2) grid_->setBackground(r, c, kOddNumberRow);
  }
  grid_->setBackground(kPeriodRow, 0, kPeriodLabel);
  for (int r = kFirstNumberRow; r < kRows; ++r) grid_->setBackground(r, 0, kNumberLabels);
}

void CDlgPropReports::showPeriods() {
  for (int c = 1; c < kColumns; ++c)
    grid_->setText(kPeriodRow, c, qstr(LoadReportColumn(doc().image(), requestOf(c)).period));
}

void CDlgPropReports::resizeEvent(QResizeEvent* event) {
  SectionPage::resizeEvent(event);
  grid_->setGeometry(rect());
}

void CDlgPropReports::TransferImage(TransferDirection direction) {
  if (direction == TransferDirection::ImageToPage) {
    // An edit still open belongs to what was shown before.
    grid_->cancelEditing();
    for (int c = 1; c < kColumns; ++c) {
      const ReportColumn column = LoadReportColumn(doc().image(), requestOf(c));
      for (int r = 1; r <= kItemRows; ++r) grid_->setChecked(r, c, column.items[static_cast<std::size_t>(r - 1)]);
      grid_->setText(kPeriodRow, c, qstr(column.period));
      for (int n = 1; n <= kNumberRows; ++n)
        grid_->setChecked(kPeriodRow + n, c, column.numbers[static_cast<std::size_t>(n - 1)]);
    }
  } else {
    endEditOfTopLeftCell(*grid_);
    for (int c = 1; c < kColumns; ++c) {
      ReportColumn column;
      for (int r = 1; r <= kItemRows; ++r) column.items[static_cast<std::size_t>(r - 1)] = grid_->isChecked(r, c);
      column.period = cellText(*grid_, kPeriodRow, c);
      for (int n = 1; n <= kNumberRows; ++n)
        column.numbers[static_cast<std::size_t>(n - 1)] = grid_->isChecked(kPeriodRow + n, c);
      StoreReportColumn(column, doc().image(), requestOf(c));
    }
  }
  grid_->redrawAll();
}

void CDlgPropReports::focusMoved() {
  TransferImage(TransferDirection::PageToImage);
  doc().setModified(true);
}

void CDlgPropReports::editEnded(int row, int col) {
  doc().setModified(true);
  endEditOfTopLeftCell(*grid_);
  // Only the period cells carry a text.
  if (row != kPeriodRow) grid_->setText(row, col, QString());
}

}  // namespace wk
