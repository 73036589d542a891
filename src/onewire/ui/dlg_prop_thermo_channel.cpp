#include "onewire/ui/dlg_prop_thermo_channel.h"

#include <QString>

#include "document/c4410_doc.h"
#include "document/onewire_records.h"
#include "onewire/read_serials.h"
#include "onewire/slot_edits.h"

namespace wk {
namespace {

QStringList toQt(const std::vector<std::string>& items) {
  QStringList out;
  for (const std::string& item : items) out << QString::fromStdString(item);
  return out;
}

}  // namespace

CDlgPropThermoChannel::CDlgPropThermoChannel(const PageContext& context, int channel, QWidget* parent)
    : OneWirePage(context, channel == 0 ? EditorSlot::ThermoChannel1 : EditorSlot::ThermoChannel2, channel, parent),
      channel_(channel == 0 ? 0 : 1) {
  setUpGrid("Errors Sensitivity", "Thermosensor Alias", toQt(onewire::ErrorSensitivityItems()));
  addButton("Find All", [this] { OnFindAll(); });
  addButton("Add Device", [this] { OnAddDevice(); });
  addButton("Remove Device", [this] { OnRemoveDevice(); });
  addButton("Thermo Monitor", [this] { OnThermoMonitor(); });
  connect(grid(), &Grid::cellDoubleClicked, this, &CDlgPropThermoChannel::OnCellDoubleClicked);
  connect(grid(), &Grid::cellEditEnded, this, &CDlgPropThermoChannel::OnCellEditEnded);
}

std::vector<ImageBlock> CDlgPropThermoChannel::regions() const {
  return channel_ == 0 ? std::vector{image::SensorSlots1, image::SensorAliases1}
                       : std::vector{image::SensorSlots2, image::SensorAliases2};
}

void CDlgPropThermoChannel::TransferImage(TransferDirection direction) {
  // A text still being typed counts when the page is stored; when the page
  // shows its document anew it belongs to what was shown before.
  if (direction == TransferDirection::PageToImage) grid()->endEditing();
  else grid()->cancelEditing();
  ConfigImage& image = doc().image();
  for (int row = 1; row < kRows; ++row) {
    const auto slot = static_cast<std::size_t>(row - 1);
    ThermoSensorRecord record = ThermoSensorRecord::at(image, channel_, slot);
    if (direction == TransferDirection::PageToImage) {
      onewire::StoreErrorSensitivity(record, grid()->text(row, kListCol).toStdString());
      continue;
    }
    showDevice(row, record.romCode());
    grid()->setText(row, kListCol, QString::fromStdString(onewire::ErrorSensitivityText(record)));
    grid()->setText(row, kTextCol, QString::fromStdU16String(SensorAlias(image, channel_, slot).text()));
  }
  if (direction == TransferDirection::ImageToPage) grid()->redrawAll();
}

void CDlgPropThermoChannel::OnFindAll() {
  doc().setModified(true);
  SerialList found;
  if (ReadChannelSerials(context().device(), bus(), found) >= 0)
    onewire::StoreFoundSensors(doc().image(), channel_, found);
  TransferImage(TransferDirection::ImageToPage);
}

void CDlgPropThermoChannel::OnAddDevice() {
  doc().setModified(true);
  if (const auto sensor = pickDevice()) onewire::AddSensor(doc().image(), channel_, *sensor);
  TransferImage(TransferDirection::ImageToPage);
}

void CDlgPropThermoChannel::OnRemoveDevice() {
  const auto range = slotSelection();
  if (!range) return;
  if (ask("Remove sensor's SN from list?")) {
    doc().setModified(true);
    onewire::RemoveSensors(doc().image(), channel_, static_cast<std::size_t>(range->minRow - 1),
                           static_cast<std::size_t>(range->maxRow - 1));
  }
  TransferImage(TransferDirection::ImageToPage);
  grid()->setFocus();
}

void CDlgPropThermoChannel::OnThermoMonitor() { doc().setModified(true); }

void CDlgPropThermoChannel::OnCellDoubleClicked(int, int) {
  doc().setModified(true);
  const auto row = singleDeviceCell();
  if (!row) return;
  const auto slot = static_cast<std::size_t>(*row - 1);
  const bool empty = ThermoSensorRecord::at(doc().image(), channel_, slot).romCode().isEmpty();
  if (!empty && !ask("Replace this cell with New Sensor/Key SN?")) return;
  if (const auto sensor = pickDevice()) onewire::ReplaceSensor(doc().image(), channel_, slot, *sensor);
  TransferImage(TransferDirection::ImageToPage);
}

void CDlgPropThermoChannel::OnCellEditEnded(int row, int) {
  // A pick in an open list comes before the list's edit ends: end it, and
  // the pick comes back here as a finished edit.
  if (grid()->isEditing()) {
    grid()->endEditing();
    return;
  }
  if (grid()->selectedRange().isValid()) TransferImage(TransferDirection::PageToImage);
  if (row >= 1 && row < kRows) {
    const std::u16string stored = onewire::StoreSensorAlias(doc().image(), channel_, static_cast<std::size_t>(row - 1),
                                                             grid()->text(row, kTextCol).toStdU16String());
    grid()->setText(row, kTextCol, QString::fromStdU16String(stored));
  }
  // Every edit of the user is a change of the document.
  doc().setModified(true);
}

}  // namespace wk
