#include "editors/dlg_prop_misc.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QResizeEvent>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "document/collect_effects.h"
#include "editors/c4410_view.h"
#include "editors/dlg_password.h"
#include "editors/grid_page_support.h"
#include "language/translate.h"
#include "language/ui/translate_menu.h"
#include "seams/prompter.h"
#include "widgets/grid.h"

namespace wk {
namespace {

constexpr int kGridSlack = 8;       // below the rows
constexpr int kColumnSlack = 6;     // beside the number column
constexpr int kGroupLeft = 10;
constexpr int kGroupTop = 10;
constexpr int kLeftColumn = 190;    // room for the "My numbers:" group
constexpr const char* kPasswordMark = "*";

std::size_t indexOf(MiscCheck which) {
  return static_cast<std::size_t>(std::find(kMiscChecks.begin(), kMiscChecks.end(), which) - kMiscChecks.begin());
}

QComboBox* choiceList(const ListTable& list, QWidget* parent) {
  auto* combo = new QComboBox(parent);
  combo->addItems(listItems(list));
  combo->setEditable(false);
  return combo;
}

std::optional<std::size_t> choiceOf(const QComboBox* combo) {
  if (combo->currentIndex() < 0) return std::nullopt;
  return static_cast<std::size_t>(combo->currentIndex());
}

void showChoice(QComboBox* combo, const std::optional<std::size_t>& position) {
  combo->setCurrentIndex(position ? static_cast<int>(*position) : -1);
}

}  // namespace

CDlgPropMisc::CDlgPropMisc(const PageContext& context, QWidget* parent)
    : SectionPage(context, EditorSlot::Miscellaneous, parent),
      grid_(nullptr),
      numbersGroup_(new QGroupBox(qtr("My numbers:"), this)),
      incomingCall_(choiceList(IncomingCallActionList, this)),
      temperatureFormat_(choiceList(TemperatureFormatList, this)),
      micGain_(choiceList(MicGainList, this)),
      speakerVolume_(choiceList(SpeakerVolumeList, this)),
      analogGroup_(new QButtonGroup(this)),
      startTimeout_(new QLineEdit(this)),
      timeoutUp_(new QToolButton(this)),
      timeoutDown_(new QToolButton(this)),
      balanceRequest_(new QLineEdit(this)),
      passwordButton_(new QPushButton(qtr("Set New Pas"), this)) {
  // The grid lies over its group, placed by hand (placeGrid).
  grid_ = new Grid(this);
  grid_->setRowCount(kRows);
  grid_->setColumnCount(kColumns);
  grid_->setRowHeight(0, kHeaderHeight);
  grid_->setColumnWidth(0, kNumberColumnWidth);
  grid_->setColumnWidth(1, kGridWidth - kNumberColumnWidth - kColumnSlack);
  grid_->setText(0, 1, qtr("Phone number"));
  const QString digits = QStringLiteral("(00)?[0-9]{0,%1}").arg(PhoneNumberField::kMaxDigits);
  for (int r = 1; r < kRows; ++r) {
    grid_->setText(r, 0, QString::number(r));
    grid_->setCellKind(r, 1, GridCellKind::Digits);
    grid_->setInputPattern(r, 1, digits);
  }
  connect(grid_, &Grid::selectionAboutToChange, this, [this](int, int) { markModified(); });
  connect(grid_, &Grid::cellEditEnded, this, [this](int, int) { markModified(); });

  for (std::size_t i = 0; i < kMiscChecks.size(); ++i) {
    auto* box = new QCheckBox(qtr(kMiscCheckTexts[i]), this);
    checks_[i] = box;
    connect(box, &QCheckBox::clicked, this, [this, box] {
      // A value the page never writes was shown half checked; a click chooses.
      box->setTristate(false);
      markModified();
    });
  }
  for (int code = 0; code < 2; ++code) {
    auto* radio = new QRadioButton(qtr(AnalogOutputList.items()[static_cast<std::size_t>(code)].text), this);
    analogOutput_[static_cast<std::size_t>(code)] = radio;
    analogGroup_->addButton(radio, code);
    connect(radio, &QRadioButton::clicked, this, [this] { markModified(); });
  }
  for (QComboBox* combo : {incomingCall_, temperatureFormat_, micGain_, speakerVolume_})
    connect(combo, &QComboBox::activated, this, [this](int) { markModified(); });

  startTimeout_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
  startTimeout_->setMaximumWidth(60);
  connect(startTimeout_, &QLineEdit::textEdited, this, [this] { markModified(); });
  startTimeout_->installEventFilter(this);
  timeoutUp_->setArrowType(Qt::UpArrow);
  timeoutDown_->setArrowType(Qt::DownArrow);
  for (QToolButton* arrow : {timeoutUp_, timeoutDown_}) {
    arrow->setFixedSize(18, 11);
    arrow->setAutoRepeat(true);
    arrow->setFocusPolicy(Qt::NoFocus);
  }
  connect(timeoutUp_, &QToolButton::clicked, this, [this] { stepStartTimeout(1); });
  connect(timeoutDown_, &QToolButton::clicked, this, [this] { stepStartTimeout(-1); });
  balanceRequest_->setMaxLength(static_cast<int>(MiscSettings::kMaxBalanceRequest));
  balanceRequest_->setMaximumWidth(90);
  connect(balanceRequest_, &QLineEdit::textEdited, this, [this] { markModified(); });
  connect(passwordButton_, &QPushButton::clicked, this, [this] { SetNewPassword(); });

  const auto box = [this](MiscCheck which) { return checks_[indexOf(which)]; };

  // Middle column.
  auto* incoming = new QGroupBox(qtr("For Incoming Call"), this);
  auto* incomingLayout = new QVBoxLayout(incoming);
  incomingLayout->addWidget(incomingCall_);
  incomingLayout->addWidget(box(MiscCheck::BalanceInStandardRequest));
  auto* power = new QGroupBox(qtr("If Power lost"), this);
  auto* powerLayout = new QVBoxLayout(power);
  powerLayout->addWidget(box(MiscCheck::RestoreGsmOutputs));
  powerLayout->addWidget(box(MiscCheck::ReEnterAlarmMonitor));
  powerLayout->addWidget(box(MiscCheck::SaveOutputsMode));

  auto* spin = new QVBoxLayout;
  spin->setSpacing(0);
  spin->addWidget(timeoutUp_);
  spin->addWidget(timeoutDown_);
  auto* timeout = new QHBoxLayout;
  timeout->setSpacing(1);
  timeout->addWidget(startTimeout_);
  timeout->addLayout(spin);
  timeout->addStretch();
  auto* fields = new QFormLayout;
  fields->setLabelAlignment(Qt::AlignLeft);
  fields->addRow(qtr("Start Timeout, sec"), timeout);
  fields->addRow(qtr("Balance request USSD"), balanceRequest_);
  fields->addRow(qtr("Themperature presentation format"), temperatureFormat_);
  fields->addRow(qtr("Password"), passwordButton_);
  fields->addRow(qtr("Mic gain"), micGain_);
  fields->addRow(qtr("Speaker volume"), speakerVolume_);

  auto* middle = new QVBoxLayout;
  middle->addWidget(incoming);
  middle->addWidget(power);
  for (const MiscCheck which : {MiscCheck::NetLedEnable, MiscCheck::EnterArmedAnyway, MiscCheck::MicrophoneEnable,
                                MiscCheck::TouchMemoryOnExternalKey})
    middle->addWidget(box(which));
  middle->addLayout(fields);
  middle->addStretch();

  // Right column.
  auto* zones = new QGroupBox(qtr("Zones control options"), this);
  auto* zonesLayout = new QVBoxLayout(zones);
  zonesLayout->addWidget(box(MiscCheck::RestartInputBlocking));
  auto* analog = new QGroupBox(qtr("Analog output options"), this);
  auto* analogLayout = new QVBoxLayout(analog);
  for (QRadioButton* radio : analogOutput_) analogLayout->addWidget(radio);
  auto* right = new QVBoxLayout;
  right->addWidget(box(MiscCheck::ReportTurnedOffChannels));
  right->addWidget(zones);
  right->addWidget(analog);
  right->addStretch();

  auto* layout = new QHBoxLayout(this);
  // The view sizes its pages; a short page cuts its controls and its grid.
  layout->setSizeConstraint(QLayout::SetNoConstraint);
  layout->setContentsMargins(kLeftColumn, kGroupTop, 10, 10);
  layout->addLayout(middle);
  layout->addSpacing(16);
  layout->addLayout(right);
  layout->addStretch();

  grid_->raise();
  placeGrid();
}

CDlgPropMisc::~CDlgPropMisc() { QObject::disconnect(grid_, nullptr, this, nullptr); }

QCheckBox* CDlgPropMisc::checkBox(MiscCheck which) const { return checks_[indexOf(which)]; }

void CDlgPropMisc::resizeEvent(QResizeEvent* event) {
  SectionPage::resizeEvent(event);
  placeGrid();
}

// 20 pixels in, 30 down, 140 wide; as high as its rows and 8 more, but
// never past the bottom of the page.
void CDlgPropMisc::placeGrid() {
  int rows = 0;
  for (int r = 0; r < kRows; ++r) rows += grid_->rowHeight(r);
  const int height = std::max(0, std::min(rows + kGridSlack, this->height() - kGridTop));
  grid_->setGeometry(kGridLeft, kGridTop, kGridWidth, height);
  const int groupBottom = std::min(kGridTop + height + kGroupTop, this->height());
  numbersGroup_->setGeometry(kGroupLeft, kGroupTop, kGridWidth + 2 * (kGridLeft - kGroupLeft),
                             std::max(0, groupBottom - kGroupTop));
}

bool CDlgPropMisc::eventFilter(QObject* watched, QEvent* event) {
  if (watched == startTimeout_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      stepStartTimeout(key == Qt::Key_Up ? 1 : -1);
      return true;
    }
  }
  return SectionPage::eventFilter(watched, event);
}

void CDlgPropMisc::markModified() { doc().setModified(true); }

void CDlgPropMisc::stepStartTimeout(int step) {
  const int now = StartTimeoutOf(startTimeout_->text().toStdU16String()).value_or(0);
  startTimeout_->setText(QString::number(std::clamp(now + step, 0, static_cast<int>(MiscSettings::kMaxStartTimeout))));
  markModified();
}

// One "*" after the caption while a password is stored, none without one.
void CDlgPropMisc::showPasswordMark(bool hasPassword) {
  QString caption = passwordButton_->text();
  if (hasPassword) {
    caption = qtr(caption);
    if (!caption.endsWith(QLatin1String(kPasswordMark))) caption += QLatin1String(kPasswordMark);
  } else if (caption.endsWith(QLatin1String(kPasswordMark))) {
    caption.chop(1);
  }
  passwordButton_->setText(caption);
}

void CDlgPropMisc::TransferImage(TransferDirection direction) {
  if (direction == TransferDirection::ImageToPage) {
    // An edit still open belongs to what was shown before.
    grid_->cancelEditing();
    const MiscShown shown = LoadMiscSettings(doc().image());
    for (int r = 1; r < kRows; ++r) {
      grid_->setText(r, 0, QString::number(r));
      grid_->setCellKind(r, 1, GridCellKind::Digits);
      grid_->setText(r, 1, qstr(shown.myNumbers[static_cast<std::size_t>(r - 1)]));
    }
    grid_->redrawAll();
    startTimeout_->setText(qstr(shown.startTimeout));
    for (std::size_t i = 0; i < checks_.size(); ++i) {
      // A byte other than 0 and 1 shows half checked and stays until clicked.
      checks_[i]->setTristate(!shown.checks[i].has_value());
      checks_[i]->setCheckState(!shown.checks[i] ? Qt::PartiallyChecked
                                : *shown.checks[i] ? Qt::Checked
                                                   : Qt::Unchecked);
    }
    showChoice(incomingCall_, shown.incomingCallAction);
    // A value other than 0 and 1 checks neither button.
    analogGroup_->setExclusive(false);
    for (std::size_t code = 0; code < analogOutput_.size(); ++code)
      analogOutput_[code]->setChecked(shown.analogOutput == code);
    analogGroup_->setExclusive(true);
    showPasswordMark(shown.hasPassword);
    showChoice(temperatureFormat_, shown.temperatureFormat);
    balanceRequest_->setText(qstr(shown.balanceRequest));
    showChoice(micGain_, shown.micGain);
    showChoice(speakerVolume_, shown.speakerVolume);
    return;
  }

  grid_->endEditing();
  MiscShown shown;
  for (int r = 1; r < kRows; ++r) shown.myNumbers[static_cast<std::size_t>(r - 1)] = cellText(*grid_, r, 1);
  shown.startTimeout = startTimeout_->text().toStdU16String();
  for (std::size_t i = 0; i < checks_.size(); ++i)
    if (checks_[i]->checkState() != Qt::PartiallyChecked) shown.checks[i] = checks_[i]->isChecked();
  shown.incomingCallAction = choiceOf(incomingCall_);
  shown.temperatureFormat = choiceOf(temperatureFormat_);
  if (analogGroup_->checkedId() >= 0) shown.analogOutput = static_cast<std::size_t>(analogGroup_->checkedId());
  shown.balanceRequest = balanceRequest_->text().toStdU16String();
  shown.micGain = choiceOf(micGain_);
  shown.speakerVolume = choiceOf(speakerVolume_);
  collectComplete_ = StoreMiscSettings(shown, doc().image());
  if (!collectComplete_) refuseEmptyStartTimeout();
  ApplyCollectEffects(doc().image());
}

// The field comes forward with the message, on whichever page the user was.
void CDlgPropMisc::refuseEmptyStartTimeout() {
  prompter().message(wk::tr("Please enter an integer."), MessageIcon::Warning);
  for (QWidget* above = parentWidget(); above; above = above->parentWidget())
    if (auto* view = qobject_cast<C4410View*>(above)) view->showPage(this);
  if (isVisible()) startTimeout_->setFocus();
}

void CDlgPropMisc::SetNewPassword() {
  doc().setModified(true);
  QString first;
  {
    CDlgPassword input("Input password", this);
    if (input.exec() != QDialog::Accepted) return;
    first = input.password();
  }
  QString second;
  {
    CDlgPassword repeat("Repeat password", this);
    if (repeat.exec() != QDialog::Accepted) return;
    second = repeat.password();
  }
  const bool equal = first == second;
  if (equal) {
    std::u16string password = first.toStdU16String();
    MiscSettings::of(doc().image()).storePassword(password);
    std::fill(password.begin(), password.end(), u'\0');
  }
  // Nothing keeps the password once it is stored.
  first.fill(QChar(0));
  second.fill(QChar(0));
  if (!equal) {
    prompter().message(wk::tr("Passwords are not equal, try again"), MessageIcon::Error);
    return;
  }
  const bool stored = MiscSettings::of(doc().image()).hasPassword();
  showPasswordMark(stored);
  prompter().message(wk::tr(stored ? "New password saved!" : "Password cleared!"), MessageIcon::Information);
}

}  // namespace wk
