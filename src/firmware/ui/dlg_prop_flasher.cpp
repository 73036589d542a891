#include "firmware/ui/dlg_prop_flasher.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "firmware/flasher.h"
#include "firmware/system_info.h"
#include "language/ui/translate_menu.h"
#include "seams/prompter.h"
#include "seams/qt/progress_dlg.h"
#include "seams/settings.h"

namespace wk {
namespace {

constexpr const char* kCodeFilter = "VL-Bootloader code(*.cod)|*.cod|All files (*.*)|*.*|";

}  // namespace

CDlgPropFlasher::CDlgPropFlasher(const Seams& seams, QWidget* parent)
    : QWidget(parent),
      seams_(seams),
      group_(new QGroupBox(qtr("FirmWare Update"), this)),
      systemInfo_(new QPushButton(qtr("System Info"), group_)),
      info_(new QLabel(qtr("Press button to get system information"), group_)),
      fileLabel_(new QLabel(qtr("File"), group_)),
      path_(new QLineEdit(group_)),
      browse_(new QPushButton(QStringLiteral("..."), group_)),
      flash_(new QPushButton(qtr("Flash it!"), group_)) {
  setObjectName(QStringLiteral("CDlgPropFlasher"));
  info_->setObjectName(QStringLiteral("infoLine"));
  // The line is the controller's own text: shown as it comes, never as markup.
  info_->setTextFormat(Qt::PlainText);
  info_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  info_->setMinimumWidth(360);
  path_->setObjectName(QStringLiteral("path"));
  browse_->setFixedWidth(browse_->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);

  auto* grid = new QGridLayout(group_);
  grid->addWidget(systemInfo_, 0, 0);
  grid->addWidget(info_, 0, 1, 1, 2);
  grid->addWidget(fileLabel_, 1, 0, Qt::AlignRight);
  grid->addWidget(path_, 1, 1);
  grid->addWidget(browse_, 1, 2);
  grid->addWidget(flash_, 2, 0);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(3, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group_);

  connect(systemInfo_, &QPushButton::clicked, this, &CDlgPropFlasher::OnSystemInfo);
  connect(browse_, &QPushButton::clicked, this, &CDlgPropFlasher::OnBrowse);
  connect(flash_, &QPushButton::clicked, this, &CDlgPropFlasher::OnFlash);
}

QString CDlgPropFlasher::path() const { return path_->text(); }

void CDlgPropFlasher::setPath(const QString& path) { path_->setText(path); }

void CDlgPropFlasher::OnBrowse() {
  FileDialogRequest request;
  request.filter = kCodeFilter;
  // Start where the last code file was; the settings' "no name" is no place.
  const std::string current = path().toStdString();
  if (!current.empty() && current != setting::kNoFirmwareFile) request.initialPath = current;
  if (const auto chosen = seams_.prompter.chooseFileToOpen(request)) setPath(QString::fromStdString(*chosen));
}

void CDlgPropFlasher::OnSystemInfo() {
  const link::DeviceLink device{seams_.transport, seams_.prompter, seams_.settings, seams_.clock,
                                progressWindowFor(this)};
  firmware::QuerySystemInfo(device, [this](const std::string& line) {
    info_->setText(QString::fromStdString(line));
    info_->repaint();
  });
}

void CDlgPropFlasher::OnFlash() {
  const link::DeviceLink device{seams_.transport, seams_.prompter, seams_.settings, seams_.clock,
                                progressWindowFor(this)};
  firmware::FlashFirmware(device, path().toStdString());
}

}  // namespace wk
