#include "editors/dlg_prop_outs.h"

#include <QResizeEvent>

#include "document/output_record.h"
#include "document/output_row.h"
#include "editors/grid_page_support.h"
#include "language/ui/translate_menu.h"
#include "seams/prompter.h"
#include "widgets/grid.h"

namespace wk {
namespace {

constexpr GridColumn kGridColumns[] = {
    {"Output", 80, GridCellKind::Text},
    {"In use by...", 0, CGridCellCombo},
    {"Sensor", 60, CGridCellCombo},
    {"Histeresis Low", 50, GridCellKind::Text},
    {"Histeresis High", 50, GridCellKind::Text},
    {"Type", 100, CGridCellCombo},
    {"Inverse channel", 30, CGridCellCheck},
    {"Alias if off", 200, GridCellKind::Text},
    {"Alias if on", 200, GridCellKind::Text},
};
static_assert(std::size(kGridColumns) == CDlgPropOuts::kColumns);

constexpr int kHeaderHeight = 30;
constexpr int kRestSlack = 12;

// Shown as it stands, never translated.
constexpr const char* kInputError = "Input Error";

}  // namespace

CDlgPropOuts::CDlgPropOuts(const PageContext& context, QWidget* parent)
    : SectionPage(context, EditorSlot::Outputs, parent), grid_(new Grid(this)) {
  grid_->setProperty("controlId", kGridId);
  buildGrid(*grid_, kRows, kGridColumns, kHeaderHeight);
  const QStringList uses = listItems(OutputUseTable);
  const QStringList sensors = sensorItems();
  const QStringList types = listItems(OutputTypeTable);
  for (int r = 1; r < kRows; ++r) {
    grid_->setText(r, kTitle, qtr("Output") + QStringLiteral(" %1").arg(r));
    grid_->setItems(r, kUse, uses);
    grid_->setItems(r, kSensor, sensors);
    grid_->setItems(r, kType, types);
  }
  connect(grid_, &Grid::cellEditEnded, this, [this](int row, int col) { StoreAllOutputs(row, col); });
  connect(grid_, &Grid::listSelectionChanged, this, [this](int row, int col) { StoreOutputUse(row, col); });
  connect(grid_, &Grid::selectionAboutToChange, this, [this](int, int) { doc().setModified(true); });
  // An inverse flag toggled with Space moves no selection; it is an edit all the same.
  connect(grid_, &Grid::checkToggled, this, [this](int, int) { doc().setModified(true); });
}

CDlgPropOuts::~CDlgPropOuts() { QObject::disconnect(grid_, nullptr, this, nullptr); }

void CDlgPropOuts::resizeEvent(QResizeEvent* event) {
  SectionPage::resizeEvent(event);
  grid_->setGeometry(rect());
  fitRestColumn(*grid_, kGridColumns, kRestSlack);
}

void CDlgPropOuts::showRow(int row, const OutputRow& shown) {
  grid_->setText(row, kUse, qstr(shown.use));
  grid_->setText(row, kSensor, qstr(shown.sensor));
  grid_->setText(row, kHysteresisLow, qstr(shown.hysteresisLow));
  grid_->setText(row, kHysteresisHigh, qstr(shown.hysteresisHigh));
  grid_->setText(row, kType, qstr(shown.type));
  grid_->setChecked(row, kInverse, shown.inverse);
  grid_->redrawCell(row, kInverse);
  grid_->setText(row, kAliasOff, qstr(shown.aliasIfOff));
  grid_->setText(row, kAliasOn, qstr(shown.aliasIfOn));
}

OutputRow CDlgPropOuts::rowInGrid(int row) const {
  OutputRow cells;
  cells.use = cellText(*grid_, row, kUse);
  cells.sensor = cellText(*grid_, row, kSensor);
  cells.hysteresisLow = cellText(*grid_, row, kHysteresisLow);
  cells.hysteresisHigh = cellText(*grid_, row, kHysteresisHigh);
  cells.type = cellText(*grid_, row, kType);
  cells.inverse = grid_->isChecked(row, kInverse);
  cells.aliasIfOff = cellText(*grid_, row, kAliasOff);
  cells.aliasIfOn = cellText(*grid_, row, kAliasOn);
  return cells;
}

// Cells 2..8: the use cell itself keeps the grid's colour.
void CDlgPropOuts::colourRow(int row) {
  colourCells(*grid_, row, kSensor, kAliasOn, OutputRowColour(doc().image(), static_cast<std::size_t>(row - 1)));
}

void CDlgPropOuts::TransferImage(TransferDirection direction) {
  if (direction == TransferDirection::ImageToPage) {
    // An edit still open belongs to what was shown before.
    grid_->cancelEditing();
    for (int r = 1; r < kRows; ++r) {
      showRow(r, LoadOutputRow(doc().image(), static_cast<std::size_t>(r - 1)));
      colourRow(r);
    }
  } else {
    endEditOfTopLeftCell(*grid_);
    for (int r = 1; r < kRows; ++r)
      StoreOutputInverse(grid_->isChecked(r, kInverse), doc().image(), static_cast<std::size_t>(r - 1));
  }
  grid_->redrawAll();
}

void CDlgPropOuts::StoreAllOutputs(int, int) {
  doc().setModified(true);
  endEditOfTopLeftCell(*grid_);
  for (int r = 1; r < kRows; ++r) {
    OutputRow cells = rowInGrid(r);
    const int unreadable = StoreOutputRow(cells, doc().image(), static_cast<std::size_t>(r - 1));
    grid_->setText(r, kHysteresisLow, qstr(cells.hysteresisLow));
    grid_->setText(r, kHysteresisHigh, qstr(cells.hysteresisHigh));
    grid_->setText(r, kAliasOff, qstr(cells.aliasIfOff));
    grid_->setText(r, kAliasOn, qstr(cells.aliasIfOn));
    // One box per cell that did not read, rows in order.
    for (int i = 0; i < unreadable; ++i) prompter().message(kInputError, MessageIcon::None, MessageButtons::Ok);
  }
}

void CDlgPropOuts::StoreOutputUse(int row, int col) {
  doc().setModified(true);
  if (col != kUse || row < 1 || row >= kRows) return;
  StoreOutputUseText(cellText(*grid_, row, kUse), doc().image(), static_cast<std::size_t>(row - 1));
  colourRow(row);
}

}  // namespace wk
