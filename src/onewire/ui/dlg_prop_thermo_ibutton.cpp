#include "onewire/ui/dlg_prop_thermo_ibutton.h"

#include "document/c4410_doc.h"
#include "document/onewire_records.h"
#include "onewire/read_serials.h"
#include "onewire/slot_edits.h"

namespace wk {

CDlgPropThermoIButton::CDlgPropThermoIButton(const PageContext& context, QWidget* parent)
    : OneWirePage(context, EditorSlot::IButtonKeys, onewire::kKeyBus, parent) {
  QStringList types;
  for (const std::string& name : onewire::KeyTypeItems()) types << QString::fromStdString(name);
  setUpGrid("Key Type", "IButton comment", types);
  addButton("Add Device", [this] { OnAddDevice(); });
  addButton("Remove Device", [this] { OnRemoveDevice(); });
  connect(grid(), &Grid::cellDoubleClicked, this, &CDlgPropThermoIButton::OnCellDoubleClicked);
  connect(grid(), &Grid::cellEditEnded, this, &CDlgPropThermoIButton::OnCellEditEnded);
}

std::vector<ImageBlock> CDlgPropThermoIButton::regions() const { return {image::KeySlots, image::KeyComments}; }

void CDlgPropThermoIButton::TransferImage(TransferDirection direction) {
  // A text still being typed counts when the page is stored; when the page
  // shows its document anew it belongs to what was shown before.
  if (direction == TransferDirection::PageToImage) grid()->endEditing();
  else grid()->cancelEditing();
  ConfigImage& image = doc().image();
  for (int row = 1; row < kRows; ++row) {
    const auto slot = static_cast<std::size_t>(row - 1);
    IButtonKeyRecord key = IButtonKeyRecord::at(image, slot);
    if (direction == TransferDirection::PageToImage) {
      onewire::StoreKeyType(key, grid()->text(row, kListCol).toStdString());
      continue;
    }
    showDevice(row, key.romCode());
    // A code the list does not know shows as its number, which matches no
    // item, so that storing the page keeps it instead of writing whatever
    // the cell showed before.
    const auto type = onewire::KeyTypeText(key);
    grid()->setText(row, kListCol, type ? QString::fromStdString(*type) : QString::number(key.keyType()));
    grid()->setText(row, kTextCol, QString::fromStdU16String(IButtonCommentRecord::at(image, slot).text()));
  }
  if (direction == TransferDirection::ImageToPage) grid()->redrawAll();
}

void CDlgPropThermoIButton::OnAddDevice() {
  doc().setModified(true);
  if (const auto key = pickDevice()) onewire::AddKey(doc().image(), *key);
  TransferImage(TransferDirection::ImageToPage);
}

void CDlgPropThermoIButton::OnRemoveDevice() {
  const auto range = slotSelection();
  if (!range) return;
  if (ask("Remove sensor's SN from list?")) {
    doc().setModified(true);
    onewire::RemoveKeys(doc().image(), static_cast<std::size_t>(range->minRow - 1),
                        static_cast<std::size_t>(range->maxRow - 1));
  }
  TransferImage(TransferDirection::ImageToPage);
  grid()->setFocus();
}

void CDlgPropThermoIButton::OnCellDoubleClicked(int, int) {
  doc().setModified(true);
  const auto row = singleDeviceCell();
  if (!row) return;
  const auto slot = static_cast<std::size_t>(*row - 1);
  if (!IButtonKeyRecord::at(doc().image(), slot).romCode().isEmpty() &&
      !ask("Replace this cell with New Sensor/Key SN?"))
    return;
  if (const auto key = pickDevice()) onewire::ReplaceKey(doc().image(), slot, *key);
  TransferImage(TransferDirection::ImageToPage);
}

void CDlgPropThermoIButton::OnCellEditEnded(int row, int col) {
  // A pick in an open list comes before the list's edit ends: end it, and
  // the pick comes back here as a finished edit.
  if (grid()->isEditing()) {
    grid()->endEditing();
    return;
  }
  if (grid()->selectedRange().isValid() && col <= kDescriptionCol) {
    TransferImage(TransferDirection::ImageToPage);
    doc().setModified(true);
  }
  if (col == kTextCol && row >= 1 && row < kRows)
    IButtonCommentRecord::at(doc().image(), static_cast<std::size_t>(row - 1))
        .store(grid()->text(row, kTextCol).toStdU16String());
  // A new type or comment is a change of the document too: without it the
  // edit could be lost without a question when the window closes.
  if (col == kListCol || col == kTextCol) doc().setModified(true);
}

}  // namespace wk
