#include "link/ui/conn_setup_dlg.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QStandardItemModel>
#include <QTreeView>
#include <QVBoxLayout>

#include "seams/qt/qt_settings.h"
#include "language/translate.h"
#include "seams/settings.h"

namespace wk {
namespace {

QString translated(const char* text) { return QString::fromStdString(tr(text)); }

QList<QStandardItem*> row(const QString& name, const QString& description = {}, const QString& manufacturer = {}) {
  QList<QStandardItem*> items{new QStandardItem(name), new QStandardItem(description),
                              new QStandardItem(manufacturer)};
  for (QStandardItem* item : items) item->setEditable(false);
  return items;
}

}  // namespace

QString stablePortName(const QString& device, const QString& byIdFolder) {
  const QString target = QFileInfo(device).canonicalFilePath();
  const QDir folder(byIdFolder);
  if (target.isEmpty() || !folder.exists()) return device;
  for (const QFileInfo& link : folder.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name))
    if (link.canonicalFilePath() == target) return link.absoluteFilePath();
  return device;
}

std::vector<SerialPortEntry> presentSerialPorts(const QString& byIdFolder) {
  std::vector<SerialPortEntry> ports;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
    ports.push_back({stablePortName(info.systemLocation(), byIdFolder), info.description(), info.manufacturer()});
  return ports;
}

CDlgConnSetup::CDlgConnSetup(Settings& settings, std::vector<SerialPortEntry> ports, QWidget* parent)
    : QDialog(parent), settings_(settings) {
  setObjectName(QStringLiteral("CDlgConnSetup"));
  const QString stored = QString::fromStdString(settings_.port());

  setWindowTitle(translated("Conn. Setup"));
  label_ = new QLabel(translated("Serial Port:"), this);
  model_ = new QStandardItemModel(0, 3, this);
  for (int n = 1; n <= 10; ++n) model_->appendRow(row(QStringLiteral("Com%1").arg(n)));
  for (const SerialPortEntry& port : ports) model_->appendRow(row(port.name, port.description, port.manufacturer));

  box_ = new QComboBox(this);
  box_->setEditable(true);
  box_->setInsertPolicy(QComboBox::NoInsert);
  box_->setMinimumContentsLength(28);
  auto* view = new QTreeView(box_);
  view->setHeaderHidden(true);
  view->setRootIsDecorated(false);
  view->setAllColumnsShowFocus(true);
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  box_->setView(view);
  box_->setModel(model_);
  box_->setModelColumn(0);
  box_->setMaxVisibleItems(model_->rowCount());
  // The list shows each port's description and manufacturer beside its name.
  view->header()->setStretchLastSection(false);
  view->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  int width = 24;
  for (int c = 0; c < 3; ++c) {
    view->resizeColumnToContents(c);
    width += view->columnWidth(c) + 16;
  }
  view->setMinimumWidth(width);

  box_->setCurrentIndex(0);
  int match = -1;
  for (int r = 0; r < model_->rowCount() && match < 0; ++r)
    if (model_->item(r, 0)->text().startsWith(stored, Qt::CaseInsensitive)) match = r;
  if (match >= 0)
    box_->setCurrentIndex(match);
  else
    box_->setEditText(stored);
  label_->setBuddy(box_);

  ok_ = new QPushButton(translated("OK"), this);
  ok_->setDefault(true);
  cancel_ = new QPushButton(translated("Cancel"), this);
  cancel_->hide();  // Esc and the close box cancel
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

  auto* fields = new QHBoxLayout;
  fields->addWidget(label_);
  fields->addWidget(box_, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cancel_);
  buttons->addWidget(ok_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addLayout(buttons);
}

void CDlgConnSetup::accept() {
  settings_.writeString(setting::kSection, setting::kPort, box_->currentText().toStdString());
  QDialog::accept();
}

void ConnectionSetup(QWidget* parent, Settings& settings) {
  CDlgConnSetup dialog(settings, presentSerialPorts(), parent);
  dialog.exec();
}

void ConnectionSetup(QWidget* parent) {
  QtSettings settings;
  ConnectionSetup(parent, settings);
}

}  // namespace wk
