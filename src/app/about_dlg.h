#pragma once
// The About box: the program's icon, its version line and OK.
#include <QDialog>

class QPushButton;

namespace wk {

class CAboutDlg : public QDialog {
  Q_OBJECT
 public:
  static constexpr const char* kCaption = "About Watchkeep Configurator";
  static constexpr const char* kVersionLine = "4410 Version 1.05d";

  explicit CAboutDlg(QWidget* parent = nullptr);
  QPushButton* okButton() const { return ok_; }

 private:
  QPushButton* ok_;
};

// The program's icon, for its windows and the About box.
QIcon programIcon();

}  // namespace wk
