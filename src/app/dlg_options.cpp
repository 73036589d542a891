#include "app/dlg_options.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "language/ui/translate_menu.h"
#include "seams/settings.h"

namespace wk {

CDlgOptions::CDlgOptions(Settings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings), checkBox_(new QCheckBox(this)), ok_(new QPushButton(this)),
      cancel_(new QPushButton(this)) {
  setObjectName(QStringLiteral("CDlgOptions"));
  setWindowTitle(qtr("Options"));
  checkBox_->setText(qtr(kSavePortsOutputText));
  ok_->setText(qtr("OK"));
  cancel_->setText(qtr("Cancel"));
  ok_->setDefault(true);
  checkBox_->setChecked(settings_.savePortsOutput() != 0);

  auto* buttons = new QVBoxLayout;
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  buttons->addStretch();
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(checkBox_, 1, Qt::AlignTop);
  layout->addSpacing(12);
  layout->addLayout(buttons);

  connect(ok_, &QPushButton::clicked, this, &CDlgOptions::accept);
  connect(cancel_, &QPushButton::clicked, this, &CDlgOptions::reject);
}

void CDlgOptions::accept() {
  settings_.writeInt(setting::kSection, setting::kSavePortsOutput, checkBox_->isChecked() ? 1 : 0);
  QDialog::accept();
}

}  // namespace wk
