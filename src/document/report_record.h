#pragma once
// What the SMS requests "?0".."?9" report: one 10-byte record per request in
// CommonSettings, the items a report can hold, the periods at which the
// controller sends a report unasked, and the steps that move one request's
// column of the "Reports" grid to and from its record. The page and the
// command line both go through here.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "document/config_image.h"
#include "document/list_table.h"
#include "document/record_view.h"

namespace wk {

namespace report {
inline constexpr std::size_t kRequestCount = 10;  // "?0".."?9"
inline constexpr std::size_t kRecordSize = 10;
inline constexpr std::size_t kItemCount = 64;
inline constexpr std::size_t kNumberCount = 8;  // "My Number 1".."My Number 8"
static_assert(image::common::ReportRecords.size == kRequestCount * kRecordSize);
}  // namespace report

// One bit of a record: the byte within the record and its mask.
struct RecordBit {
  std::size_t byte;
  std::uint8_t mask;
  friend constexpr bool operator==(RecordBit, RecordBit) = default;
};

// A report (10 bytes).
//   bytes 0..7   64 inclusion flags: item i (0..63) is bit i % 8 of byte i / 8
//   bytes 8..9   a little-endian word:
//                bits 0..2    period code (ReportPeriodList)
//                bits 3..10   number flags: bit 2 + n for My Number n (1..8)
//                bits 11..14  reserved; the controller wants them 0, so every
//                             store of the number flags clears them
//                bit 15       reserved, never written
class ReportRecord : public RecordView<report::kRecordSize> {
 public:
  using RecordView::RecordView;
  // The record of request ?request (0..9); std::out_of_range past 9.
  static ReportRecord at(ConfigImage& image, std::size_t request);

  // Item 0..63 (grid row 1..64); std::out_of_range past 63.
  bool includes(std::size_t item) const;
  void setIncludes(std::size_t item, bool on);
  // Bytes 0..7 become 0.
  void clearItems();

  std::uint8_t period() const;
  // Bits 0..2 become the low three bits of code; the rest of the word stays.
  void setPeriod(std::uint8_t code);

  // My Number 1..8; std::out_of_range otherwise.
  bool sendsTo(std::size_t number) const;
  // The eight flags, My Number n as bit n - 1.
  std::uint8_t numbers() const;
  // The page's store: bits 3..14 become 0, then the flags of numbers are set.
  // Bits 0..2 and 15 stay.
  void storeNumbers(std::uint8_t numbers);

  // The word over bytes 8 and 9.
  std::uint16_t word() const;

  static RecordBit itemBit(std::size_t item);
  static RecordBit numberBit(std::size_t number);
  static constexpr RecordBit kPeriodBits{8, 0x07};
  // Bits 11..14 of the word.
  static constexpr RecordBit kClearedBits{9, 0x78};
  // Bit 15 of the word.
  static constexpr RecordBit kKeptBit{9, 0x80};

  // Bits 11..15 of the word, which no page shows, as one number (bit 11 is
  // 1, bit 15 is 16): the command line carries them so that a record comes
  // back byte for byte.
  static constexpr std::uint8_t kMaxReservedBits = 31;
  std::uint8_t reservedBits() const;
  // The low five bits of bits; the rest of the word stays.
  void setReservedBits(std::uint8_t bits);
};

// A row of the report items, in grid row order (= flag order).
struct ReportItem {
  const char* word;    // English, translated when shown: "Status", "Output #", ...
  std::string suffix;  // "" , the output or input number, or the sensor "T1.01".."T2.16"

  // The English name: "Status", "Output # 3", "Thermo sensor T2.16".
  std::string name() const;
  // As the grid's fixed column shows it: the word through the language file,
  // then the number or sensor.
  std::u16string label() const;
};

// Status, Get Balance, Output # 1..6, Input # 1..24, Thermo sensor T1.01..T2.16.
const std::array<ReportItem, report::kItemCount>& ReportItems();

// The label of the period row and of the rows of the eight numbers.
inline constexpr const char* kReportPeriodText = "Report Period";
inline constexpr const char* kMyNumberText = "My Number";
std::string ReportNumberName(std::size_t number);      // "My Number 3"
std::u16string ReportNumberLabel(std::size_t number);  // translated word, then the number

inline constexpr ListItem kReportPeriodItems[] = {
    {0, "Not active"}, {1, "Every 2h"},  {2, "Every 8h"},  {3, "Every 24h"},
    {4, "Every 5d"},   {5, "Every 10d"}, {6, "Every 15d"}, {7, "Every 30d"},
};
inline constexpr ListTable ReportPeriodList{kReportPeriodItems};

// One request's column of the grid.
struct ReportColumn {
  std::array<bool, report::kItemCount> items{};
  std::u16string period;  // a translated ReportPeriodList text
  std::array<bool, report::kNumberCount> numbers{};

  bool operator==(const ReportColumn&) const = default;
};

ReportColumn LoadReportColumn(ConfigImage& image, std::size_t request);

// The code of the first period, in list order, whose translated text is
// found within text; nothing when none is.
std::optional<std::uint8_t> ReportPeriodCodeIn(std::u16string_view text);

// Column to record: the item flags replace bytes 0..7; a period text that
// holds no period text leaves the period; the number flags are stored as
// storeNumbers() does.
void StoreReportColumn(const ReportColumn& column, ConfigImage& image, std::size_t request);

// What storing the page does to bits the grid never shows: bits 11..14 of
// every record's word become 0.
void ClearReportReservedBits(ConfigImage& image);

}  // namespace wk
