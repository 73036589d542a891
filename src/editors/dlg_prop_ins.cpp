#include "editors/dlg_prop_ins.h"

#include <QResizeEvent>

#include "document/main_channel_record.h"
#include "document/main_channel_row.h"
#include "editors/grid_page_support.h"
#include "language/ui/translate_menu.h"
#include "widgets/grid.h"

namespace wk {
namespace {

constexpr GridColumn kGridColumns[] = {
    {"Channel", 120, GridCellKind::Text},
    {"Workmode", 135, CGridCellCombo},
    {"Input", 50, CGridCellCombo},
    {"Alarm On Timeout", 40, CGridCellNumeric},
    {"Alarm \u041Eff Timeout", 40, CGridCellNumeric},  // a Cyrillic О, as the language files hold it
    {"Generate Alarm if...", 0, CGridCellCombo},
    {"Multiaction", 100, CGridCellCombo},
    {"Alias if ALARM", 100, GridCellKind::Text},
    {"Alias if OK", 100, GridCellKind::Text},
    {"Follow", 50, CGridCellCheck},
};
static_assert(std::size(kGridColumns) == CDlgPropIns::kColumns);

constexpr int kHeaderHeight = 30;
constexpr int kRestSlack = 30;

}  // namespace

CDlgPropIns::CDlgPropIns(const PageContext& context, QWidget* parent)
    : SectionPage(context, EditorSlot::MainChannels, parent), grid_(new Grid(this)) {
  grid_->setProperty("controlId", kGridId);
  buildGrid(*grid_, kRows, kGridColumns, kHeaderHeight);
  QStringList inputs;
  for (std::uint8_t i = 0; i < MainChannelRecord::kInputCount; ++i) inputs << qstr(inputText(i));
  const QStringList workmodes = listItems(WorkmodeTable);
  const QStringList conditions = listItems(AlarmConditionTable);
  const QStringList multiactions = listItems(MultiactionTable);
  for (int r = 1; r < kRows; ++r) {
    grid_->setText(r, kTitle, QStringLiteral("%1 %2").arg(qtr("Channel")).arg(r));
    grid_->setItems(r, kWorkmode, workmodes);
    grid_->setItems(r, kInput, inputs);
    grid_->setItems(r, kCondition, conditions);
    grid_->setItems(r, kMultiaction, multiactions);
  }
  connect(grid_, &Grid::cellEditEnded, this, [this](int row, int col) { StoreRow(row, col); });
  // A Follow flag reaches the image only when the document collects its
  // pages; the change must still count as an edit, or it could be lost
  // without the question whether to save.
  connect(grid_, &Grid::checkToggled, this, [this](int, int) { doc().setModified(true); });
}

CDlgPropIns::~CDlgPropIns() { QObject::disconnect(grid_, nullptr, this, nullptr); }

void CDlgPropIns::resizeEvent(QResizeEvent* event) {
  SectionPage::resizeEvent(event);
  grid_->setGeometry(rect());
  fitRestColumn(*grid_, kGridColumns, kRestSlack);
}

void CDlgPropIns::showRow(int row, const MainChannelRow& shown) {
  grid_->setText(row, kWorkmode, qstr(shown.workmode));
  grid_->setText(row, kInput, qstr(shown.input));
  grid_->setText(row, kCondition, qstr(shown.alarmCondition));
  grid_->setText(row, kAlarmOn, qstr(shown.alarmOnTimeout));
  grid_->setText(row, kAlarmOff, qstr(shown.alarmOffTimeout));
  grid_->setText(row, kMultiaction, qstr(shown.multiaction));
  grid_->setText(row, kAliasAlarm, qstr(shown.aliasIfAlarm));
  grid_->setText(row, kAliasOk, qstr(shown.aliasIfOk));
  grid_->setChecked(row, kFollow, shown.follow);
  grid_->redrawCell(row, kFollow);
}

MainChannelRow CDlgPropIns::rowInGrid(int row) const {
  MainChannelRow cells;
  cells.workmode = cellText(*grid_, row, kWorkmode);
  cells.input = cellText(*grid_, row, kInput);
  cells.alarmOnTimeout = cellText(*grid_, row, kAlarmOn);
  cells.alarmOffTimeout = cellText(*grid_, row, kAlarmOff);
  cells.alarmCondition = cellText(*grid_, row, kCondition);
  cells.multiaction = cellText(*grid_, row, kMultiaction);
  cells.aliasIfAlarm = cellText(*grid_, row, kAliasAlarm);
  cells.aliasIfOk = cellText(*grid_, row, kAliasOk);
  cells.follow = grid_->isChecked(row, kFollow);
  return cells;
}

void CDlgPropIns::colourRow(int row) {
  colourCells(*grid_, row, kWorkmode, kFollow, MainChannelRowColour(doc().image(), static_cast<std::size_t>(row - 1)));
}

void CDlgPropIns::TransferImage(TransferDirection direction) {
  if (direction == TransferDirection::ImageToPage) {
    // An edit still open belongs to what was shown before.
    grid_->cancelEditing();
    for (int r = 1; r < kRows; ++r) {
      showRow(r, LoadMainChannelRow(doc().image(), static_cast<std::size_t>(r - 1)));
      colourRow(r);
    }
  } else {
    endEditOfTopLeftCell(*grid_);
    auto follow = FollowMask::of(doc().image());
    for (int r = 1; r < kRows; ++r) follow.setFollows(static_cast<std::size_t>(r - 1), grid_->isChecked(r, kFollow));
  }
  grid_->redrawAll();
}

void CDlgPropIns::StoreRow(int row, int col) {
  doc().setModified(true);
  endEditOfTopLeftCell(*grid_);
  if (row < 1 || row >= kRows || col < 0) return;
  MainChannelRow cells = rowInGrid(row);
  StoreMainChannelRow(cells, doc().image(), static_cast<std::size_t>(row - 1));
  colourRow(row);
  // The user sees what the controller will get: Latin look-alikes, 31 characters.
  grid_->setText(row, kAliasAlarm, qstr(cells.aliasIfAlarm));
  grid_->setText(row, kAliasOk, qstr(cells.aliasIfOk));
}

}  // namespace wk
