#include "onewire/ui/dlg_prop_thermo_selector.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "language/ui/translate_menu.h"
#include "onewire/family_table.h"
#include "onewire/ui/temp_ctrl.h"

namespace wk {
namespace {

constexpr double kScaleMinimum = -67.0;  // -55 °C
constexpr double kScaleMaximum = 257.0;  // 125 °C
constexpr double kFreezing = 32.0;
constexpr int kWidth = 230;
constexpr int kHeight = 620;

}  // namespace

CDlgPropThermoSelector::CDlgPropThermoSelector(const link::DeviceLink& device, QWidget* parent)
    : QDialog(parent),
      monitor_(device),
      group_(new QGroupBox(qtr("Sensor Selection"), this)),
      list_(new QComboBox(group_)),
      label_(new QLabel(this)),
      monitorButton_(new QPushButton(qtr("Start Monitor"), this)),
      ok_(new QPushButton(qtr("OK"), this)),
      cancel_(new QPushButton(qtr("Cancel"), this)),
      gauge_(new CTempCtrl(this)) {
  setWindowTitle(qtr("Add New"));
  setFixedSize(kWidth, kHeight);
  list_->setProperty("controlId", kListId);
  label_->setProperty("controlId", kLabelId);
  monitorButton_->setProperty("controlId", kMonitorButtonId);
  gauge_->setProperty("controlId", kGaugeId);
  label_->setAlignment(Qt::AlignCenter);
  auto* inGroup = new QVBoxLayout(group_);
  inGroup->setContentsMargins(6, 2, 6, 4);
  inGroup->addWidget(list_);
  ok_->setDefault(true);

  // The gauge as the dialog sets it up: -55 to 125 °C, the value text in
  // Celsius, at 0 °C.
  gauge_->setRange(kScaleMinimum, kScaleMaximum);
  gauge_->setShowScale(true);
  gauge_->setSteps(5, 20);
  gauge_->setFahrenheitText(false);
  gauge_->setColor(QColor(255, 64, 64));
  gauge_->setValue(kFreezing);

  timer_.setInterval(TemperatureMonitor::kPeriod);
  connect(&timer_, &QTimer::timeout, this, &CDlgPropThermoSelector::onMonitorTimer);
  connect(list_, &QComboBox::currentIndexChanged, this, [this] { applyEnablingRule(); });
  connect(monitorButton_, &QPushButton::clicked, this, &CDlgPropThermoSelector::onStartMonitor);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

CDlgPropThermoSelector::~CDlgPropThermoSelector() { stopMonitor(); }

void CDlgPropThermoSelector::setChannel(int bus) {
  bus_ = bus;
  setWindowTitle(QStringLiteral("%1 %2").arg(qtr("Channel")).arg(bus_ + 1));
}

void CDlgPropThermoSelector::setSerialList(const SerialList& list) {
  serials_ = list;
  fillList();
}

void CDlgPropThermoSelector::setLabel(const QString& text) { label_->setText(text); }

void CDlgPropThermoSelector::fillList() {
  list_->clear();
  for (const RomCode& rom : serials_)
    if (!rom.isEmpty()) list_->addItem(QString::fromStdString(rom.text()));
  list_->setCurrentIndex(list_->count() > 0 ? 0 : -1);
  applyEnablingRule();
}

const RomCode* CDlgPropThermoSelector::selected() const {
  // The devices come contiguously from entry 0, so position i is entry i.
  const int at = list_->currentIndex();
  if (at < 0 || at >= static_cast<int>(serials_.size())) return nullptr;
  return &serials_[static_cast<std::size_t>(at)];
}

void CDlgPropThermoSelector::applyEnablingRule() {
  const RomCode* rom = selected();
  monitorButton_->setEnabled(rom && isThermometerFamily(rom->family()));
}

void CDlgPropThermoSelector::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  list_->setFocus();
}

void CDlgPropThermoSelector::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  const QRect client = rect();
  // The list at the top, the gauge in the middle, the rest below it.
  group_->setGeometry(6, 0, client.width() - 12, kGaugeTop - 2);
  gauge_->setGeometry(client.adjusted(0, kGaugeTop, 0, -kGaugeBottom));
  const int below = client.bottom() - kGaugeBottom + 1;
  const int buttonWidth = (client.width() - 18) / 2;
  label_->setGeometry(6, below + 4, client.width() - 12, 22);
  monitorButton_->setGeometry(6, below + 34, client.width() - 12, 28);
  ok_->setGeometry(6, client.bottom() - 40, buttonWidth, 28);
  cancel_->setGeometry(12 + buttonWidth, client.bottom() - 40, buttonWidth, 28);
}

void CDlgPropThermoSelector::onStartMonitor() {
  if (!list_->isEnabled()) {  // it runs: this is "Stop Monitor"
    stopMonitor();
    return;
  }
  const RomCode* rom = selected();
  if (!rom) return;
  timer_.stop();
  if (!monitor_.start(*rom)) return;
  list_->setEnabled(false);
  gauge_->setEnabled(false);
  monitorButton_->setText(qtr("Stop Monitor"));
  timer_.start();
}

void CDlgPropThermoSelector::onMonitorTimer() {
  // A message box of a failed exchange runs its own event loop: the timer
  // must not come back in meanwhile.
  if (ticking_ || !monitor_.running()) return;
  ticking_ = true;
  const bool alive = monitor_.tick([this](std::int16_t centi) { gauge_->SetTemperature(celsiusOf(centi)); });
  ticking_ = false;
  if (!alive) stopMonitor();
}

void CDlgPropThermoSelector::stopMonitor() {
  timer_.stop();
  monitor_.stop();
  resetDisplay();
}

void CDlgPropThermoSelector::resetDisplay() {
  list_->setEnabled(true);
  gauge_->setEnabled(true);
  monitorButton_->setText(qtr("Start Monitor"));
  gauge_->setValue(kFreezing);
}

void CDlgPropThermoSelector::done(int result) {
  if (result == QDialog::Accepted) chosen_ = list_->currentIndex();
  stopMonitor();
  QDialog::done(result);
}

}  // namespace wk
