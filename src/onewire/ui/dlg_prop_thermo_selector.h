#pragma once
// "Add New": the devices found on a bus, one to pick, and for a temperature
// sensor its live reading on the gauge. The monitor asks the controller for
// the picked sensor's temperature every 800 ms from a window timer; it holds
// the port open while it runs, and every way out of the dialog (OK, Cancel,
// Esc, the window's close button) or of the monitor (the button, a failed
// exchange) closes it again.
#include <QDialog>
#include <QTimer>
#include <memory>

#include "onewire/read_serials.h"
#include "onewire/temperature_monitor.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace wk {

class CTempCtrl;

class CDlgPropThermoSelector : public QDialog {
 public:
  static constexpr int kListId = 1000;
  static constexpr int kLabelId = 1046;
  static constexpr int kMonitorButtonId = 1005;
  static constexpr int kGaugeId = 118;
  // The gauge lies in the client area less this much at the top and bottom.
  static constexpr int kGaugeTop = 50;
  static constexpr int kGaugeBottom = 150;

  // device: the way to the controller for the monitor.
  CDlgPropThermoSelector(const link::DeviceLink& device, QWidget* parent = nullptr);
  ~CDlgPropThermoSelector() override;

  // Set by the caller before exec().
  void setChannel(int bus);
  void setSerialList(const SerialList& list);
  void setLabel(const QString& text);

  // The entry of the list picked with OK.
  int chosenIndex() const { return chosen_; }

  QComboBox* list() const { return list_; }
  QPushButton* monitorButton() const { return monitorButton_; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* cancelButton() const { return cancel_; }
  QLabel* label() const { return label_; }
  CTempCtrl* gauge() const { return gauge_; }
  const QTimer& monitorTimer() const { return timer_; }
  bool monitorRunning() const { return monitor_.running(); }

  // One period of the monitor, as the timer runs it.
  void onMonitorTimer();

  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void fillList();
  void applyEnablingRule();
  void onStartMonitor();
  void stopMonitor();
  void resetDisplay();
  const RomCode* selected() const;

  TemperatureMonitor monitor_;
  QTimer timer_;
  bool ticking_ = false;
  int bus_ = 0;
  SerialList serials_{};
  int chosen_ = 0;
  QGroupBox* group_;
  QComboBox* list_;
  QLabel* label_;
  QPushButton* monitorButton_;
  QPushButton* ok_;
  QPushButton* cancel_;
  CTempCtrl* gauge_;
};

}  // namespace wk
