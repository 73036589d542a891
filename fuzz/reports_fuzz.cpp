// The report records of an image from a file or a controller, any bytes:
// every request's column is shown as the Reports page shows it and stored
// back untouched, then stored again with boxes toggled and a period text a
// user could pick, or any text at all.
//
// Input: the 100 bytes of the ten records (zeros where the input is
// shorter); what follows them feeds the edits.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "document/config_image.h"
#include "document/report_record.h"

using namespace wk;

namespace {

constexpr ImageBlock kRecords{image::CommonSettings.offset + image::common::ReportRecords.offset,
                              image::common::ReportRecords.size};

void require(bool holds) {
  if (!holds) std::abort();
}

// Bytes taken one at a time after the records; zeros once they are used up.
class Edits {
 public:
  explicit Edits(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::uint8_t byte() { return at_ < bytes_.size() ? bytes_[at_++] : 0; }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
};

std::span<const std::uint8_t> recordBytes(const ConfigImage& image, std::size_t request) {
  return image.slice(kRecords.offset + request * report::kRecordSize, report::kRecordSize);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> input(data, size);
  ConfigImage image;
  const auto filled = input.first(std::min(size, kRecords.size));
  std::copy(filled.begin(), filled.end(), image.slice(kRecords).begin());
  Edits edits(input.subspan(filled.size()));

  // Showing writes nothing; an untouched store clears bits 11..14 and no more.
  const ConfigImage read = image;
  std::vector<ReportColumn> shown;
  for (std::size_t c = 0; c < report::kRequestCount; ++c) shown.push_back(LoadReportColumn(image, c));
  require(image == read);
  ConfigImage cleared = read;
  ClearReportReservedBits(cleared);
  for (std::size_t c = 0; c < report::kRequestCount; ++c) StoreReportColumn(shown[c], image, c);
  require(image == cleared);

  for (std::size_t c = 0; c < report::kRequestCount; ++c) {
    ReportColumn column = shown[c];
    for (std::size_t toggles = edits.byte() % 8; toggles > 0; --toggles) {
      const std::uint8_t at = edits.byte();
      if (at & 0x80) column.numbers[at % report::kNumberCount] = !column.numbers[at % report::kNumberCount];
      else column.items[at % report::kItemCount] = !column.items[at % report::kItemCount];
    }
    const std::uint8_t how = edits.byte();
    if (how % 2 == 0) {
      column.period = *ReportPeriodList.textOf(static_cast<std::uint8_t>(edits.byte() % 8));
    } else {
      column.period.clear();
      for (std::size_t i = edits.byte() % 24; i > 0; --i)
        column.period += static_cast<char16_t>(edits.byte() << 8 | edits.byte());
    }

    ConfigImage before = image;
    const std::uint8_t periodBefore = ReportRecord::at(image, c).period();
    StoreReportColumn(column, image, c);
    // Only this record changes; bit 15 stays, bits 11..14 are 0.
    for (std::size_t other = 0; other < report::kRequestCount; ++other)
      if (other != c) require(std::ranges::equal(recordBytes(image, other), recordBytes(before, other)));
    require(std::equal(image.all().begin(), image.all().begin() + static_cast<std::ptrdiff_t>(kRecords.offset),
                       before.all().begin()));
    require(std::equal(image.all().begin() + static_cast<std::ptrdiff_t>(kRecords.end()), image.all().end(),
                       before.all().begin() + static_cast<std::ptrdiff_t>(kRecords.end())));
    const ReportRecord record = ReportRecord::at(image, c);
    require((record.word() & 0x8000) == (ReportRecord::at(before, c).word() & 0x8000));
    require((record.word() & 0x7800) == 0);

    // What was stored shows as it was left, and stores again unchanged.
    const ReportColumn again = LoadReportColumn(image, c);
    require(again.items == column.items);
    require(again.numbers == column.numbers);
    const auto code = ReportPeriodCodeIn(column.period);
    require(record.period() == (code ? *code : periodBefore));
    const ConfigImage stored = image;
    StoreReportColumn(again, image, c);
    require(image == stored);
  }
  return 0;
}
