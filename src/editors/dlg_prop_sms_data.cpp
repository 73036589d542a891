#include "editors/dlg_prop_sms_data.h"

#include <QTime>
#include <QVBoxLayout>

#include "document/notification_record.h"
#include "document/phone_number_field.h"
#include "language/translate.h"
#include "language/ui/translate_menu.h"
#include "widgets/grid.h"

namespace wk {
namespace {

constexpr int kDataRows = CDlgPropSMSData::kRowCount - 1;
constexpr std::array<int, CDlgPropSMSData::kColumnCount> kWidths = {25, 30, 90,  130, 150, 180, 90, 200, 70,
                                                                    30, 30, 30,  30,  30,  30,  100, 200};

QString shown(const std::u16string& text) { return QString::fromStdU16String(text); }
std::u16string held(const QString& text) { return text.toStdU16String(); }

template <typename List>
QStringList itemsOf(const List& texts) {
  QStringList items;
  for (const std::u16string& text : texts) items << shown(text);
  return items;
}

QTime timeOfDay(std::uint32_t seconds) { return QTime::fromMSecsSinceStartOfDay(static_cast<int>(seconds % 86400) * 1000); }
std::uint32_t secondsOf(const QTime& time) {
  return time.isValid() ? static_cast<std::uint32_t>(time.msecsSinceStartOfDay() / 1000) : 0;
}

int chColumn(std::size_t n) { return CDlgPropSMSData::kColCh1 + static_cast<int>(n); }

}  // namespace

CDlgPropSMSData::CDlgPropSMSData(const PageContext& context, QWidget* parent)
    : SectionPage(context, EditorSlot::SmsData, parent),
      grid_(new Grid(this)),
      texts_([](std::u16string_view text) { return translate(text); }) {
  for (std::uint8_t c = 0; c < source::kCategoryCount; ++c) sourceItems_[c] = itemsOf(texts_.sourceItems[c]);
  categoryItems_ = itemsOf(texts_.categories);
  conditionItems_ = itemsOf(texts_.conditions);
  kindItems_ = itemsOf(texts_.kinds);
  soundItems_ = itemsOf(texts_.sounds);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(grid_);
  buildGrid();

  connect(grid_, &Grid::cellEditEnded, this, &CDlgPropSMSData::editEnded);
  connect(grid_, &Grid::listSelectionChanged, this, [this](int, int) { doc().setModified(true); });
  connect(grid_, &Grid::checkToggled, this, &CDlgPropSMSData::checkToggled);
  connect(grid_, &Grid::focusMoved, this, &CDlgPropSMSData::focusMoved);
}

void CDlgPropSMSData::buildGrid() {
  grid_->setColumnCount(kColumnCount);
  grid_->setRowCount(kRowCount);
  grid_->setRowHeight(0, kHeaderHeight);
  for (int c = 0; c < kColumnCount; ++c) grid_->setColumnWidth(c, kWidths[static_cast<std::size_t>(c)]);
  defaultRowHeight_ = grid_->defaultRowHeight();

  const char* titles[] = {"#",         "En",          "Phone number",       "Source Category", "Source",
                          "Condition", "SMS or CALL", "Text Message (SMS)", "Sound"};
  for (int c = 0; c <= kColSound; ++c) grid_->setText(0, c, qtr(titles[c]));
  const QString channel = qtr("CH%d");
  for (int n = 1; n <= NotificationRecord::kChannelFlags; ++n)
    grid_->setText(0, kColCh1 + n - 1, QString(channel).replace(QStringLiteral("%d"), QString::number(n)));
  grid_->setText(0, kColSoundLength, qtr("Sound Length"));
  grid_->setText(0, kColComments, qtr("Comments"));

  const QString phonePattern = QStringLiteral("(00)?[0-9]{0,%1}").arg(PhoneNumberField::kMaxDigits);
  const NotificationRow initial = InitialNotificationRow(texts_);
  const QTime now = QTime::currentTime();
  for (int r = 1; r < kRowCount; ++r) {
    grid_->setText(r, kColNumber, QString::number(r));
    grid_->setCellKind(r, kColEnabled, GridCellKind::Check);
    grid_->setCellKind(r, kColPhone, GridCellKind::Digits);
    grid_->setInputPattern(r, kColPhone, phonePattern);
    for (const int c : {kColCategory, kColSource, kColCondition, kColKind, kColSound})
      grid_->setCellKind(r, c, GridCellKind::Combo);
    grid_->setItems(r, kColCategory, categoryItems_);
    grid_->setItems(r, kColCondition, conditionItems_);
    grid_->setItems(r, kColKind, kindItems_);
    grid_->setItems(r, kColSound, soundItems_);
    for (int c = kColCh1; c <= kColCh6; ++c) grid_->setCellKind(r, c, GridCellKind::Check);
    grid_->setCellKind(r, kColSoundLength, GridCellKind::Time);
    grid_->setTime(r, kColSoundLength, now);
    grid_->setText(r, kColCondition, shown(initial.condition));
    grid_->setText(r, kColKind, shown(initial.kind));
  }
}

void CDlgPropSMSData::TransferImage(TransferDirection direction) {
  // An edit still open would otherwise end later, into whatever the grid
  // then shows; on a store the text being typed counts, on a refresh it
  // belongs to what was shown before.
  if (direction == TransferDirection::ImageToPage) grid_->cancelEditing();
  else grid_->endEditing();
  if (direction == TransferDirection::ImageToPage) {
    loadRows();
  } else {
    storeRows();
  }
}

void CDlgPropSMSData::loadRows() {
  ConfigImage& image = doc().image();
  for (int r = 1; r < kRowCount; ++r) {
    const auto k = static_cast<std::size_t>(r - 1);
    const NotificationRecord record(image.record(image::SmsRecords, NotificationRecord::kSize, k));
    const SmsCommentRecord comment(image.record(image::SmsComments, SmsCommentRecord::kSize, k));
    showRow(r, LoadNotificationRow(record, comment, texts_));
  }
  grid_->redrawAll();
}

void CDlgPropSMSData::storeRows() {
  ConfigImage& image = doc().image();
  for (int r = 1; r < kRowCount; ++r) {
    const auto k = static_cast<std::size_t>(r - 1);
    NotificationRecord record(image.record(image::SmsRecords, NotificationRecord::kSize, k));
    SmsCommentRecord comment(image.record(image::SmsComments, SmsCommentRecord::kSize, k));
    StoreNotificationRow(rowAt(r), record, comment, texts_);
  }
}

NotificationRow CDlgPropSMSData::rowAt(int row) const {
  NotificationRow values;
  values.enabled = grid_->isChecked(row, kColEnabled);
  values.phone = held(grid_->text(row, kColPhone));
  values.category = held(grid_->text(row, kColCategory));
  values.source = held(grid_->text(row, kColSource));
  values.condition = held(grid_->text(row, kColCondition));
  values.kind = held(grid_->text(row, kColKind));
  values.text = held(grid_->text(row, kColText));
  values.sound = held(grid_->text(row, kColSound));
  for (std::size_t n = 0; n < values.channels.size(); ++n) values.channels[n] = grid_->isChecked(row, chColumn(n));
  values.soundLength = secondsOf(grid_->time(row, kColSoundLength));
  values.comment = held(grid_->text(row, kColComments));
  return values;
}

void CDlgPropSMSData::showRow(int row, const NotificationRow& values) {
  grid_->setChecked(row, kColEnabled, values.enabled);
  grid_->setText(row, kColPhone, shown(values.phone));
  grid_->setText(row, kColCategory, shown(values.category));
  grid_->setItems(row, kColSource, values.sourceList ? sourceItems_[*values.sourceList] : QStringList());
  grid_->setText(row, kColSource, shown(values.source));
  grid_->setText(row, kColCondition, shown(values.condition));
  grid_->setText(row, kColKind, shown(values.kind));
  grid_->setText(row, kColText, shown(values.text));
  grid_->setText(row, kColSound, shown(values.sound));
  for (std::size_t n = 0; n < values.channels.size(); ++n) grid_->setChecked(row, chColumn(n), values.channels[n]);
  grid_->setTime(row, kColSoundLength, timeOfDay(values.soundLength));
  grid_->setText(row, kColComments, shown(values.comment));

  const RowShades shades = ShadesOf(values, texts_);
  for (int c = kColEnabled; c < kColumnCount; ++c) shade(row, c, shades.row);
  shade(row, kColText, shades.text);
  shade(row, kColSoundLength, shades.soundLength);
}

void CDlgPropSMSData::shade(int row, int col, bool white) { grid_->setBackground(row, col, white ? this->white() : grey()); }

void CDlgPropSMSData::SetSourceCell(int row, std::uint8_t category, unsigned index) {
  NotificationRow values;
  values.source = held(grid_->text(row, kColSource));
  SetSource(values, category, index, texts_);
  if (!values.sourceList) return;
  grid_->setText(row, kColCategory, shown(values.category));
  grid_->setItems(row, kColSource, sourceItems_[*values.sourceList]);
  grid_->setText(row, kColSource, shown(values.source));
  grid_->redrawCell(row, kColSource);
}

void CDlgPropSMSData::UpdateSoundLengthShade(int row) {
  shade(row, kColSoundLength, ShadesOf(rowAt(row), texts_).soundLength);
}

void CDlgPropSMSData::editEnded(int row, int col) {
  doc().setModified(true);
  // A pick in an open list: take it at once; the end of that edit follows.
  if (grid_->isEditing() && grid_->editingCell() == CellId{row, col}) {
    grid_->endEditing();
    return;
  }
  switch (col) {
    case kColSoundLength: {
      const std::uint32_t seconds = secondsOf(grid_->time(row, col));
      if (LimitSoundLength(seconds) != seconds) grid_->setTime(row, col, timeOfDay(kMaxSoundLength));
      break;
    }
    case kColCategory:
      if (const auto category = CategoryCode(held(grid_->text(row, col)), texts_)) SetSourceCell(row, *category, 0);
      break;
    case kColKind:
      if (grid_->isChecked(row, kColEnabled)) shade(row, kColText, ShadesOf(rowAt(row), texts_).text);
      break;
    case kColSound:
      UpdateSoundLengthShade(row);
      break;
    default:
      break;
  }
}

void CDlgPropSMSData::checkToggled(int row, int col) {
  doc().setModified(true);
  if (col == kColEnabled) {
    const RowShades shades = ShadesOf(rowAt(row), texts_);
    for (int c = kColPhone; c < kColumnCount; ++c) shade(row, c, shades.row);
    shade(row, kColText, shades.text);
    shade(row, kColSoundLength, shades.soundLength);
  } else if (col >= kColCh1 && col <= kColCh6) {
    UpdateSoundLengthShade(row);
  }
}

void CDlgPropSMSData::focusMoved(int row, int col) {
  doc().setModified(true);
  for (int r = 1; r <= kDataRows; ++r)
    if (grid_->rowHeight(r) != defaultRowHeight_) grid_->setRowHeight(r, defaultRowHeight_);
  if (col == kColSoundLength) grid_->setRowHeight(row, kSoundLengthRowHeight);
}

}  // namespace wk
