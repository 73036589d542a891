#include "editors/dlg_prop_insuser.h"

#include <QResizeEvent>

#include "document/user_event_record.h"
#include "document/user_event_row.h"
#include "editors/grid_page_support.h"
#include "language/ui/translate_menu.h"
#include "seams/prompter.h"
#include "widgets/grid.h"

namespace wk {
namespace {

constexpr GridColumn kGridColumns[] = {
    {"User Event", 120, GridCellKind::Text},
    {"Workmode", 135, CGridCellCombo},
    {"Sensor", 50, CGridCellCombo},
    {"Lo", 40, GridCellKind::Text},
    {"Hi", 40, GridCellKind::Text},
    {"Generate Alarm if...", 0, CGridCellCombo},
    {"Multiaction", 100, CGridCellCombo},
};
static_assert(std::size(kGridColumns) == CDlgPropInsuser::kColumns);

constexpr int kHeaderHeight = 30;
constexpr int kRestSlack = 30;

// Shown as it stands, never translated.
constexpr const char* kInputError = "Ошибка при вооде";

}  // namespace

CDlgPropInsuser::CDlgPropInsuser(const PageContext& context, QWidget* parent)
    : SectionPage(context, EditorSlot::UserEvents, parent), grid_(new Grid(this)) {
  grid_->setProperty("controlId", kGridId);
  buildGrid(*grid_, kRows, kGridColumns, kHeaderHeight);
  const QStringList workmodes = listItems(WorkmodeTable);
  const QStringList sensors = sensorItems();
  const QStringList conditions = listItems(ThresholdConditionTable);
  const QStringList multiactions = listItems(UserEventMultiactionTable);
  for (int r = 1; r < kRows; ++r) {
    grid_->setText(r, kTitle, QStringLiteral("%1 %2").arg(qtr("User Event")).arg(r));
    grid_->setItems(r, kWorkmode, workmodes);
    grid_->setItems(r, kSensor, sensors);
    grid_->setItems(r, kCondition, conditions);
    grid_->setItems(r, kMultiaction, multiactions);
  }
  connect(grid_, &Grid::cellEditEnded, this, [this](int row, int col) { StoreRow(row, col); });
}

CDlgPropInsuser::~CDlgPropInsuser() { QObject::disconnect(grid_, nullptr, this, nullptr); }

void CDlgPropInsuser::resizeEvent(QResizeEvent* event) {
  SectionPage::resizeEvent(event);
  grid_->setGeometry(rect());
  fitRestColumn(*grid_, kGridColumns, kRestSlack);
}

void CDlgPropInsuser::showRow(int row, const UserEventRow& shown) {
  grid_->setText(row, kWorkmode, qstr(shown.workmode));
  grid_->setText(row, kSensor, qstr(shown.sensor));
  grid_->setText(row, kLo, qstr(shown.lo));
  grid_->setText(row, kHi, qstr(shown.hi));
  grid_->setText(row, kCondition, qstr(shown.condition));
  grid_->setText(row, kMultiaction, qstr(shown.multiaction));
}

UserEventRow CDlgPropInsuser::rowInGrid(int row) const {
  UserEventRow cells;
  cells.workmode = cellText(*grid_, row, kWorkmode);
  cells.sensor = cellText(*grid_, row, kSensor);
  cells.lo = cellText(*grid_, row, kLo);
  cells.hi = cellText(*grid_, row, kHi);
  cells.condition = cellText(*grid_, row, kCondition);
  cells.multiaction = cellText(*grid_, row, kMultiaction);
  return cells;
}

void CDlgPropInsuser::colourRow(int row) {
  colourCells(*grid_, row, kWorkmode, kMultiaction, UserEventRowColour(doc().image(), static_cast<std::size_t>(row - 1)));
}

void CDlgPropInsuser::TransferImage(TransferDirection direction) {
  if (direction == TransferDirection::ImageToPage) {
    // An edit still open belongs to what was shown before.
    grid_->cancelEditing();
    for (int r = 1; r < kRows; ++r) {
      showRow(r, LoadUserEventRow(doc().image(), static_cast<std::size_t>(r - 1)));
      colourRow(r);
    }
    grid_->redrawAll();
  } else {
    // Every field is in the image already; only an edit in progress is not.
    endEditOfTopLeftCell(*grid_);
  }
}

void CDlgPropInsuser::StoreRow(int row, int col) {
  doc().setModified(true);
  endEditOfTopLeftCell(*grid_);
  if (row < 1 || row >= kRows || col < 0) return;
  UserEventRow cells = rowInGrid(row);
  const int unreadable = StoreUserEventRow(cells, doc().image(), static_cast<std::size_t>(row - 1));
  colourRow(row);
  // Both thresholds show what is stored, or what was kept.
  grid_->setText(row, kLo, qstr(cells.lo));
  grid_->setText(row, kHi, qstr(cells.hi));
  for (int i = 0; i < unreadable; ++i) prompter().message(kInputError, MessageIcon::None, MessageButtons::Ok);
}

}  // namespace wk
