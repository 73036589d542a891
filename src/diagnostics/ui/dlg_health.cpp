#include "diagnostics/ui/dlg_health.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "diagnostics/health.h"
#include "diagnostics/ui/dlg_input_states.h"
#include "language/ui/translate_menu.h"

namespace wk::diag {
namespace {

// The widths were made for an 8-point dialog font of about 6 pixels a character.
int scaled(const QWidget* w, int pixels) {
  const int average = std::max(6, w->fontMetrics().averageCharWidth());
  return pixels * average / 6;
}

}  // namespace

CDlgHealth::CDlgHealth(const link::DeviceLink& device, QWidget* parent) : QDialog(parent), device_(device) {
  setObjectName(QStringLiteral("CDlgHealth"));
  setWindowTitle(qtr("System Health"));

  list_ = new QTableWidget(kHealthCounterCount, 2, this);
  list_->setObjectName(QStringLiteral("healthList"));
  list_->setHorizontalHeaderLabels({qtr("Health Parameter"), qtr("Health Value")});
  list_->verticalHeader()->hide();
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->setShowGrid(true);
  list_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  list_->horizontalHeader()->setStretchLastSection(false);
  // Never narrower than the translated header.
  list_->setColumnWidth(0, std::max(scaled(this, kNameColumnWidth), list_->horizontalHeader()->sectionSizeHint(0)));
  list_->setColumnWidth(1, std::max(scaled(this, kValueColumnWidth), list_->horizontalHeader()->sectionSizeHint(1)));
  list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  for (int row = 0; row < kHealthCounterCount; ++row) {
    list_->setItem(row, 0, new QTableWidgetItem(qtr(std::string(healthCounterName(row)))));
    list_->setItem(row, 1, new QTableWidgetItem(QString()));
  }
  list_->resizeRowsToContents();
  int height = list_->horizontalHeader()->sizeHint().height() + 2 * list_->frameWidth();
  for (int row = 0; row < kHealthCounterCount; ++row) height += list_->rowHeight(row);
  list_->setFixedSize(list_->columnWidth(0) + list_->columnWidth(1) + 2 * list_->frameWidth(), height);

  read_ = new QPushButton(qtr("Read Status"), this);
  reset_ = new QPushButton(qtr("Reset Status"), this);
  inputs_ = new QPushButton(qtr("Read Inputs"), this);
  ok_ = new QPushButton(qtr("OK"), this);
  cancel_ = new QPushButton(qtr("Cancel"), this);
  ok_->setDefault(true);
  connect(read_, &QPushButton::clicked, this, &CDlgHealth::OnReadStatus);
  connect(reset_, &QPushButton::clicked, this, &CDlgHealth::OnResetStatus);
  connect(inputs_, &QPushButton::clicked, this, &CDlgHealth::OnReadInputs);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

  auto* parameters = new QGroupBox(qtr("Health Parameters"), this);
  auto* commands = new QVBoxLayout;
  commands->addWidget(read_);
  commands->addWidget(reset_);
  commands->addStretch(1);
  auto* parametersLayout = new QHBoxLayout(parameters);
  parametersLayout->addWidget(list_);
  parametersLayout->addLayout(commands);

  auto* inputs = new QGroupBox(qtr("Analog Inputs state"), this);
  auto* inputsLayout = new QHBoxLayout(inputs);
  inputsLayout->addWidget(inputs_);
  inputsLayout->addStretch(1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(parameters);
  layout->addWidget(inputs);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CDlgHealth::showCounters(const HealthCounters& counters) {
  for (int row = 0; row < kHealthCounterCount; ++row)
    list_->item(row, 1)->setText(QString::fromStdString(counters.text(row)));
}

void CDlgHealth::OnReadStatus() {
  const HealthReport report = ReadStatus(device_);
  if (report.opened) showCounters(report.counters);
}

void CDlgHealth::OnResetStatus() {
  const HealthReport report = ResetStatus(device_);
  if (report.opened) showCounters(report.counters);
}

void CDlgHealth::OnReadInputs() {
  CDlgInputStates dialog(device_, this);
  dialog.exec();
}

}  // namespace wk::diag
