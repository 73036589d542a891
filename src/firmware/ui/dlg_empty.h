#pragma once
// "Update FW": a dialog with the one tab "FW Update" (the page
// CDlgPropFlasher), OK and Cancel. The path field shows the last code file
// ("FWFilename") when the dialog opens; OK stores what it holds, Cancel
// leaves the setting as it was.
#include <QDialog>

#include "seams/seams.h"

class QPushButton;
class QTabWidget;

namespace wk {

class CDlgPropFlasher;

class CDlgEmpty : public QDialog {
  Q_OBJECT
 public:
  explicit CDlgEmpty(const Seams& seams, QWidget* parent = nullptr);

  QTabWidget* tabs() const { return tabs_; }
  CDlgPropFlasher* page() const { return page_; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* cancelButton() const { return cancel_; }

  void accept() override;
  // Refused while an update or a query runs (also Esc and the close box):
  // the dialog stays until it ends.
  void reject() override;

 private:
  Seams seams_;
  QTabWidget* tabs_;
  CDlgPropFlasher* page_;
  QPushButton* ok_;
  QPushButton* cancel_;
};

// Runs the dialog modally over parent.
void UpdateFirmware(QWidget* parent, const Seams& seams);

}  // namespace wk
