#pragma once
// The Options dialog: one check box for the "SavePortsOutput" setting, read
// when the dialog opens and written (0 or 1) by OK.
#include <QDialog>

class QCheckBox;
class QPushButton;

namespace wk {

class Settings;

class CDlgOptions : public QDialog {
  Q_OBJECT
 public:
  // The "о" of "оutput" is the Cyrillic letter U+043E.
  static constexpr const char* kSavePortsOutputText =
      "While sending config-file save \"GSM managed\" \xD0\xBE" "utput values";

  CDlgOptions(Settings& settings, QWidget* parent = nullptr);

  QCheckBox* checkBox() const { return checkBox_; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* cancelButton() const { return cancel_; }

  void accept() override;

 private:
  Settings& settings_;
  QCheckBox* checkBox_;
  QPushButton* ok_;
  QPushButton* cancel_;
};

}  // namespace wk
