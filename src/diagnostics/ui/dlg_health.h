#pragma once
// "System Health": the controller's eight health counters, read and reset on
// request, and the way into the online resistance reading. The dialog reads
// nothing by itself.
#include <QDialog>

#include "link/device_session.h"

class QGroupBox;
class QPushButton;
class QTableWidget;

namespace wk::diag {

struct HealthCounters;

class CDlgHealth : public QDialog {
  Q_OBJECT
 public:
  // The list's columns, in pixels of the dialog font the layout was made for.
  static constexpr int kNameColumnWidth = 120;
  static constexpr int kValueColumnWidth = 60;

  CDlgHealth(const link::DeviceLink& device, QWidget* parent = nullptr);

  QTableWidget* list() const { return list_; }
  QPushButton* readButton() const { return read_; }
  QPushButton* resetButton() const { return reset_; }
  QPushButton* inputsButton() const { return inputs_; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* cancelButton() const { return cancel_; }

  void OnReadStatus();
  void OnResetStatus();
  void OnReadInputs();

 private:
  void showCounters(const HealthCounters& counters);

  link::DeviceLink device_;
  QTableWidget* list_;
  QPushButton* read_;
  QPushButton* reset_;
  QPushButton* inputs_;
  QPushButton* ok_;
  QPushButton* cancel_;
};

}  // namespace wk::diag
