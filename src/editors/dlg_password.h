#pragma once
// "New password input": one masked field of at most 16 characters, with OK
// and Cancel. The password is only handed to the caller; nothing shows or
// keeps it.
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace wk {

class CDlgPassword : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kMaxLength = 16;

  // prompt: "Input password" or "Repeat password" (translated here).
  CDlgPassword(const char* prompt, QWidget* parent);
  ~CDlgPassword() override;

  QString password() const;

  QLabel* prompt() const { return prompt_; }
  QLineEdit* field() const { return field_; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* cancelButton() const { return cancel_; }

 private:
  QLabel* prompt_;
  QLineEdit* field_;
  QPushButton* ok_;
  QPushButton* cancel_;
};

}  // namespace wk
