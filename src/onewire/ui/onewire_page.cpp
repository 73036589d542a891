#include "onewire/ui/onewire_page.h"

#include <QFont>
#include <QPushButton>
#include <QResizeEvent>
#include <QTableView>

#include "language/ui/translate_menu.h"
#include "onewire/read_serials.h"
#include "onewire/slot_edits.h"
#include "onewire/ui/dlg_prop_thermo_selector.h"
#include "seams/prompter.h"

namespace wk {
namespace {

constexpr int kNumberWidth = 30;
constexpr int kRomWidth = 120;
constexpr int kTypeWidth = 100;
constexpr int kListWidth = 120;
constexpr int kTextWidth = 120;
// The description takes the rest of the grid's width, less this.
constexpr int kDescriptionSlack = 22;
constexpr int kButtonWidth = 120;
constexpr int kButtonGap = 6;

const QColor kCodeColor(0, 0, 255);
const QColor kEmptyColor(128, 128, 128);

}  // namespace

OneWirePage::OneWirePage(const PageContext& context, EditorSlot slot, int bus, QWidget* parent)
    : SectionPage(context, slot, parent), bus_(bus), grid_(new Grid(this)) {
  // A point smaller than the window's, so that a whole ROM code fits its
  // 120-pixel column.
  QFont font = grid_->font();
  if (font.pointSizeF() > 0) font.setPointSizeF(font.pointSizeF() - 1);
  grid_->setFont(font);
}

void OneWirePage::setUpGrid(const char* listHeader, const char* textHeader, const QStringList& listItems) {
  grid_->setColumnCount(kCols);
  grid_->setRowCount(kRows);
  grid_->setText(0, kRomCol, qtr("sensor's SN"));
  grid_->setText(0, kTypeCol, qtr("Type"));
  grid_->setText(0, kDescriptionCol, qtr("Description"));
  grid_->setText(0, kListCol, qtr(listHeader));
  grid_->setText(0, kTextCol, qtr(textHeader));
  for (int row = 1; row < kRows; ++row) {
    grid_->setText(row, kNumberCol, QString::asprintf("%d", row));
    for (const int col : {kRomCol, kTypeCol, kDescriptionCol}) grid_->setReadOnly(row, col, true);
    grid_->setCellKind(row, kListCol, CGridCellCombo);
    grid_->setItems(row, kListCol, listItems);
  }
  grid_->setColumnWidth(kNumberCol, kNumberWidth);
  grid_->setColumnWidth(kRomCol, kRomWidth);
  grid_->setColumnWidth(kTypeCol, kTypeWidth);
  grid_->setColumnWidth(kListCol, kListWidth);
  grid_->setColumnWidth(kTextCol, kTextWidth);
  grid_->setColumnWidth(kDescriptionCol,
                        kGridWidth - kNumberWidth - kRomWidth - kTypeWidth - kListWidth - kTextWidth - kDescriptionSlack);
}

QPushButton* OneWirePage::addButton(const char* text, const std::function<void()>& onClick) {
  auto* button = new QPushButton(qtr(text), this);
  button->setObjectName(QString::fromUtf8(text));
  connect(button, &QPushButton::clicked, this, onClick);
  buttons_.push_back(button);
  layOut();
  return button;
}

void OneWirePage::resizeEvent(QResizeEvent* event) {
  SectionPage::resizeEvent(event);
  layOut();
}

void OneWirePage::layOut() {
  int rowsHeight = 2 * grid_->view()->frameWidth();
  for (int row = 0; row < grid_->rowCount(); ++row) rowsHeight += grid_->rowHeight(row);
  const int gridHeight = std::min(rowsHeight, std::max(0, height() - kBelowGrid));
  grid_->setGeometry(0, 0, kGridWidth, gridHeight);
  int x = 0;
  for (QPushButton* button : buttons_) {
    button->setGeometry(x, gridHeight, kButtonWidth, kButtonHeight);
    x += kButtonWidth + kButtonGap;
  }
}

void OneWirePage::showDevice(int row, const RomCode& rom) {
  const onewire::DeviceTexts t = onewire::deviceTexts(rom);
  grid_->setText(row, kRomCol, QString::fromStdString(t.romText));
  grid_->setTextColor(row, kRomCol, t.empty ? kEmptyColor : kCodeColor);
  grid_->setText(row, kTypeCol, QString::fromStdString(t.partNames));
  grid_->setText(row, kDescriptionCol, QString::fromStdString(t.description));
}

std::optional<CellRange> OneWirePage::slotSelection() const {
  const CellRange r = grid_->selectedRange();
  if (!r.isValid() || r.minRow < 1 || r.maxRow > kRows - 1 || r.minCol < 1 || r.maxCol > kCols - 1)
    return std::nullopt;
  return r;
}

std::optional<int> OneWirePage::singleDeviceCell() const {
  const CellRange r = grid_->selectedRange();
  if (!r.isValid() || r.minRow != r.maxRow || r.minCol != r.maxCol) return std::nullopt;
  if (r.minRow < 1 || r.minRow > kRows - 1 || r.minCol < kRomCol || r.minCol > kDescriptionCol) return std::nullopt;
  return r.minRow;
}

bool OneWirePage::ask(const char* question) {
  return prompter().message(question, MessageIcon::Question, MessageButtons::YesNo) == Answer::Yes;
}

std::optional<RomCode> OneWirePage::pickDevice() {
  const link::DeviceLink device = context().device();
  SerialList found;
  if (ReadChannelSerials(device, bus_, found) <= 0) return std::nullopt;
  CDlgPropThermoSelector selector(device, window());
  selector.setChannel(bus_);
  selector.setSerialList(found);
  selector.setLabel(QStringLiteral("Channel %1").arg(bus_ + 1));
  if (selector.exec() != QDialog::Accepted) return std::nullopt;
  const int chosen = selector.chosenIndex();
  if (chosen < 0 || chosen >= static_cast<int>(found.size())) return std::nullopt;
  return found[static_cast<std::size_t>(chosen)];
}

}  // namespace wk
