#include "document/report_record.h"

#include <algorithm>
#include <stdexcept>

#include "document/sensor_ref.h"
#include "language/translate.h"
#include "util/bytes.h"
#include "util/utf.h"

namespace wk {
namespace {

constexpr std::size_t kWordAt = 8;
constexpr unsigned kPeriodWidth = 3;
constexpr unsigned kFirstNumberBit = 3;
constexpr std::uint16_t kStoredNumberBits = 0x7FF8;  // bits 3..14

void checkItem(std::size_t item) {
  if (item >= report::kItemCount) throw std::out_of_range("report item past 63");
}
void checkNumber(std::size_t number) {
  if (number < 1 || number > report::kNumberCount) throw std::out_of_range("report number outside 1..8");
}

}  // namespace

ReportRecord ReportRecord::at(ConfigImage& image, std::size_t request) {
  if (request >= report::kRequestCount) throw std::out_of_range("report request past ?9");
  const std::size_t offset = image::CommonSettings.offset + image::common::ReportRecords.offset;
  return ReportRecord(image.slice(offset + request * kSize, kSize));
}

RecordBit ReportRecord::itemBit(std::size_t item) {
  checkItem(item);
  return {item / 8, static_cast<std::uint8_t>(1u << (item % 8))};
}

RecordBit ReportRecord::numberBit(std::size_t number) {
  checkNumber(number);
  const std::size_t bit = kFirstNumberBit + number - 1;  // within the word
  return {kWordAt + bit / 8, static_cast<std::uint8_t>(1u << (bit % 8))};
}

bool ReportRecord::includes(std::size_t item) const {
  const RecordBit at = itemBit(item);
  return (b_[at.byte] & at.mask) != 0;
}

void ReportRecord::setIncludes(std::size_t item, bool on) {
  const RecordBit at = itemBit(item);
  b_[at.byte] = static_cast<std::uint8_t>(on ? b_[at.byte] | at.mask : b_[at.byte] & ~at.mask);
}

void ReportRecord::clearItems() { std::fill(b_.begin(), b_.begin() + kWordAt, std::uint8_t{0}); }

std::uint16_t ReportRecord::word() const { return readLe16(b_, kWordAt); }

std::uint8_t ReportRecord::period() const { return getBits(b_[kWordAt], 0, kPeriodWidth); }

void ReportRecord::setPeriod(std::uint8_t code) { setBits(b_[kWordAt], 0, kPeriodWidth, code); }

bool ReportRecord::sendsTo(std::size_t number) const {
  const RecordBit at = numberBit(number);
  return (b_[at.byte] & at.mask) != 0;
}

std::uint8_t ReportRecord::numbers() const { return static_cast<std::uint8_t>(word() >> kFirstNumberBit); }

void ReportRecord::storeNumbers(std::uint8_t numbers) {
  const auto flags = static_cast<std::uint16_t>(numbers << kFirstNumberBit);
  writeLe16(b_, kWordAt, static_cast<std::uint16_t>((word() & ~kStoredNumberBits) | flags));
}

std::uint8_t ReportRecord::reservedBits() const { return static_cast<std::uint8_t>(word() >> 11); }

void ReportRecord::setReservedBits(std::uint8_t bits) { setBits(b_[kWordAt + 1], 3, 5, bits); }

// ------------------------------------------------------------------- items

std::string ReportItem::name() const { return suffix.empty() ? std::string(word) : std::string(word) + " " + suffix; }

std::u16string ReportItem::label() const {
  std::u16string text = translate(utf8ToUtf16(word));
  if (!suffix.empty()) text += u" " + utf8ToUtf16(suffix);
  return text;
}

const std::array<ReportItem, report::kItemCount>& ReportItems() {
  static const std::array<ReportItem, report::kItemCount> items = [] {
    std::array<ReportItem, report::kItemCount> out;
    std::size_t i = 0;
    out[i++] = {"Status", ""};
    out[i++] = {"Get Balance", ""};
    for (std::size_t n = 1; n <= image::kOutputCount; ++n) out[i++] = {"Output #", std::to_string(n)};
    for (std::size_t n = 1; n <= image::kChannelCount; ++n) out[i++] = {"Input #", std::to_string(n)};
    for (const std::string& sensor : SensorRef::listTexts()) out[i++] = {"Thermo sensor", sensor};
    if (i != report::kItemCount) throw std::logic_error("report items do not fill the 64 flags");
    return out;
  }();
  return items;
}

std::string ReportNumberName(std::size_t number) { return std::string(kMyNumberText) + " " + std::to_string(number); }

std::u16string ReportNumberLabel(std::size_t number) {
  return translate(utf8ToUtf16(kMyNumberText)) + u" " + utf8ToUtf16(std::to_string(number));
}

// ------------------------------------------------------------------ column

ReportColumn LoadReportColumn(ConfigImage& image, std::size_t request) {
  const ReportRecord record = ReportRecord::at(image, request);
  ReportColumn column;
  for (std::size_t i = 0; i < report::kItemCount; ++i) column.items[i] = record.includes(i);
  // Three bits: every code has its item.
  column.period = ReportPeriodList.shownText(record.period());
  for (std::size_t n = 1; n <= report::kNumberCount; ++n) column.numbers[n - 1] = record.sendsTo(n);
  return column;
}

std::optional<std::uint8_t> ReportPeriodCodeIn(std::u16string_view text) {
  for (const ListItem& item : ReportPeriodList.items())
    if (text.find(translate(utf8ToUtf16(item.text))) != std::u16string_view::npos) return item.code;
  return std::nullopt;
}

void StoreReportColumn(const ReportColumn& column, ConfigImage& image, std::size_t request) {
  ReportRecord record = ReportRecord::at(image, request);
  record.clearItems();
  for (std::size_t i = 0; i < report::kItemCount; ++i)
    if (column.items[i]) record.setIncludes(i, true);
  if (const auto code = ReportPeriodCodeIn(column.period)) record.setPeriod(*code);
  std::uint8_t numbers = 0;
  for (std::size_t n = 0; n < report::kNumberCount; ++n)
    if (column.numbers[n]) numbers = static_cast<std::uint8_t>(numbers | (1u << n));
  record.storeNumbers(numbers);
}

void ClearReportReservedBits(ConfigImage& image) {
  for (std::size_t c = 0; c < report::kRequestCount; ++c) {
    ReportRecord record = ReportRecord::at(image, c);
    record.bytes()[ReportRecord::kClearedBits.byte] &= static_cast<std::uint8_t>(~ReportRecord::kClearedBits.mask);
  }
}

}  // namespace wk
