#include "diagnostics/ui/dlg_input_states.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "diagnostics/input_reader.h"
#include "diagnostics/ui/loop_pictures.h"
#include "language/ui/translate_menu.h"

namespace wk::diag {

CDlgInputStates::CDlgInputStates(const link::DeviceLink& device, QWidget* parent)
    : QDialog(parent), device_(device) {
  setObjectName(QStringLiteral("CDlgInputStates"));
  setWindowTitle(qtr("Online Resistance Reading"));

  auto* modeBox = new QGroupBox(qtr("Select Mode"), this);
  modeGroup_ = new QButtonGroup(this);
  auto* modeLayout = new QGridLayout(modeBox);
  for (int m = 0; m < kModeCount; ++m) {
    const auto mode = static_cast<InputMode>(m);
    const std::string name(modeName(mode));
    // The "ATZ" names are the same in every language.
    auto* button = new QRadioButton(isTwoDetectorMode(mode) ? QString::fromStdString(name) : qtr(name), modeBox);
    button->setObjectName(QStringLiteral("mode%1").arg(m));
    modes_[static_cast<std::size_t>(m)] = button;
    modeGroup_->addButton(button, m);
    // One-contact modes in the first column, the two-detector lines beside them.
    if (isTwoDetectorMode(mode))
      modeLayout->addWidget(button, m - static_cast<int>(InputMode::Atz1), 1);
    else
      modeLayout->addWidget(button, m, 0);
  }
  modeButton(kStartMode)->setChecked(true);

  inputList_ = new QComboBox(this);
  inputList_->setObjectName(QStringLiteral("inputList"));
  for (int i = 1; i <= kInputCount; ++i) inputList_->addItem(QStringLiteral("i%1").arg(i));
  inputList_->setCurrentIndex(0);

  result_ = new QPlainTextEdit(this);
  result_->setObjectName(QStringLiteral("result"));
  result_->setReadOnly(true);
  result_->setLineWrapMode(QPlainTextEdit::NoWrap);
  // The columns of the lines line up.
  result_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  const QFontMetrics metrics(result_->font());
  result_->setMinimumSize(metrics.horizontalAdvance(QLatin1Char('0')) * 58,
                          metrics.lineSpacing() * (kInputCount + 1) + 8);

  picture_ = new LoopPictureView(this);
  picture_->setPicture(kStartPicture);

  ok_ = new QPushButton(qtr("OK"), this);
  cancel_ = new QPushButton(qtr("Cancel"), this);
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

  auto* resultBox = new QGroupBox(qtr("Input Read Result"), this);
  auto* pictureColumn = new QVBoxLayout;
  pictureColumn->addWidget(inputList_, 0, Qt::AlignLeft);
  pictureColumn->addWidget(picture_);
  pictureColumn->addStretch(1);
  auto* resultLayout = new QHBoxLayout(resultBox);
  resultLayout->addWidget(result_, 1);
  resultLayout->addLayout(pictureColumn);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(modeBox);
  layout->addWidget(resultBox, 1);
  layout->addLayout(buttons);

  connect(modeGroup_, &QButtonGroup::idToggled, this, [this](int, bool checked) {
    if (checked) OnSelectionChanged();
  });
  connect(inputList_, &QComboBox::currentIndexChanged, this, &CDlgInputStates::OnSelectionChanged);
  connect(&timer_, &QTimer::timeout, this, &CDlgInputStates::OnTimer);
}

CDlgInputStates::~CDlgInputStates() = default;

bool CDlgInputStates::start() {
  reader_ = std::make_unique<InputReader>(device_);
  if (!reader_->open()) {
    reader_.reset();
    return false;
  }
  timer_.start(kPeriodMs);
  return true;
}

int CDlgInputStates::exec() {
  if (!start()) {
    setResult(Rejected);
    return Rejected;
  }
  return QDialog::exec();
}

void CDlgInputStates::done(int result) {
  timer_.stop();
  reader_.reset();  // closes the port
  QDialog::done(result);
}

InputMode CDlgInputStates::mode() const {
  const int id = modeGroup_->checkedId();
  return id < 0 ? kStartMode : static_cast<InputMode>(id);
}

int CDlgInputStates::selectedInput() const { return inputList_->currentIndex() + 1; }

void CDlgInputStates::OnSelectionChanged() {
  // The next tick redraws text and picture for the new choice.
  if (reader_) reader_->forgetShown();
  result_->clear();
}

void CDlgInputStates::OnTimer() {
  if (!reader_) return;
  const TickResult tick = reader_->tick(mode(), selectedInput());
  if (tick.redraw) {
    picture_->setPicture(reader_->picture());
    QString text = QString::fromStdString(reader_->text());
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (text.endsWith(QLatin1Char('\n'))) text.chop(1);
    result_->setPlainText(text);
    ++redraws_;
  }
  if (tick.error != ReadError::None) {
    timer_.stop();  // the port is already closed
    reader_->reportError(tick.error);
    reject();
  }
}

}  // namespace wk::diag
