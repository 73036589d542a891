#include "firmware/ui/dlg_empty.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "firmware/ui/dlg_prop_flasher.h"
#include "language/ui/translate_menu.h"
#include "link/device_operation.h"
#include "seams/settings.h"

namespace wk {

CDlgEmpty::CDlgEmpty(const Seams& seams, QWidget* parent)
    : QDialog(parent),
      seams_(seams),
      tabs_(new QTabWidget(this)),
      page_(new CDlgPropFlasher(seams, tabs_)),
      ok_(new QPushButton(qtr("OK"), this)),
      cancel_(new QPushButton(qtr("Cancel"), this)) {
  setObjectName(QStringLiteral("CDlgEmpty"));
  setWindowTitle(qtr("Update FW"));
  tabs_->addTab(page_, qtr("FW Update"));
  page_->setPath(QString::fromStdString(seams_.settings.firmwareFile()));
  ok_->setDefault(true);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_, 1);
  layout->addLayout(buttons);

  connect(ok_, &QPushButton::clicked, this, &CDlgEmpty::accept);
  connect(cancel_, &QPushButton::clicked, this, &CDlgEmpty::reject);
}

void CDlgEmpty::accept() {
  if (link::DeviceOperation::running()) return;
  seams_.settings.writeString(setting::kSection, setting::kFirmwareFile, page_->path().toStdString());
  QDialog::accept();
}

void CDlgEmpty::reject() {
  if (!link::DeviceOperation::running()) QDialog::reject();
}

void UpdateFirmware(QWidget* parent, const Seams& seams) {
  CDlgEmpty dialog(seams, parent);
  dialog.exec();
}

}  // namespace wk
