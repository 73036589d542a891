#include "editors/dlg_password.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "language/ui/translate_menu.h"

namespace wk {

CDlgPassword::CDlgPassword(const char* prompt, QWidget* parent)
    : QDialog(parent), prompt_(new QLabel(this)), field_(new QLineEdit(this)), ok_(new QPushButton(this)),
      cancel_(new QPushButton(this)) {
  setObjectName(QStringLiteral("CDlgPassword"));
  setWindowTitle(qtr("New password input"));
  prompt_->setText(qtr(prompt));
  prompt_->setBuddy(field_);
  field_->setEchoMode(QLineEdit::Password);
  field_->setMaxLength(kMaxLength);
  // No copying the password out of the field, nor dragging it.
  field_->setContextMenuPolicy(Qt::NoContextMenu);
  field_->setDragEnabled(false);
  field_->setMinimumWidth(180);
  ok_->setText(qtr("OK"));
  cancel_->setText(qtr("Cancel"));
  ok_->setDefault(true);

  auto* fields = new QVBoxLayout;
  fields->addWidget(prompt_);
  fields->addWidget(field_);
  fields->addStretch();
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  buttons->addStretch();
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(fields, 1);
  layout->addSpacing(12);
  layout->addLayout(buttons);

  connect(ok_, &QPushButton::clicked, this, &CDlgPassword::accept);
  connect(cancel_, &QPushButton::clicked, this, &CDlgPassword::reject);
  field_->setFocus();
}

// The field goes with the dialog; its text is wiped first.
CDlgPassword::~CDlgPassword() { field_->clear(); }

QString CDlgPassword::password() const { return field_->text(); }

}  // namespace wk
