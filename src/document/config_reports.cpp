// The ten request reports as fields: reports[?0] .. reports[?9].
#include "document/config_field_kinds.h"
#include "document/report_record.h"

namespace wk::config {
namespace {

Bits bitOf(ImageBlock scope, RecordBit bit) { return {scope.offset + bit.byte, bit.mask}; }

// A set of rows shown as the grid's fixed column shows them: the word through
// the language file, then its number or sensor.
struct Row {
  std::string name;  // English: "Output # 3"
  std::string word;  // "Output #"
  std::string suffix;
};

Field rowsField(std::string key, std::string label, const std::vector<Row>& rows, std::vector<Bits> bits,
                ImageBlock scope) {
  std::vector<std::string> names;
  for (const Row& r : rows) names.push_back(r.name);
  Field f = flagsField(std::move(key), std::move(label), std::move(names), std::move(bits), scope);
  f.display = [rows](const Value& v, const Translator& translate) {
    if (v.flags.empty()) return std::string("-");
    std::string out;
    for (const std::string& name : v.flags) {
      if (!out.empty()) out += ", ";
      for (const Row& r : rows)
        if (r.name == name) {
          out += translate ? translate(r.word) : r.word;
          if (!r.suffix.empty()) out += " " + r.suffix;
        }
    }
    return out;
  };
  return f;
}

std::vector<Field> reportFields(std::size_t request) {
  const ImageBlock scope{image::CommonSettings.offset + image::common::ReportRecords.offset +
                             request * report::kRecordSize,
                         report::kRecordSize};
  using R = ReportRecord;
  std::vector<Field> f;
  std::vector<Row> items;
  std::vector<Bits> itemBits;
  for (std::size_t i = 0; i < report::kItemCount; ++i) {
    const ReportItem& item = ReportItems()[i];
    items.push_back({item.name(), item.word, item.suffix});
    itemBits.push_back(bitOf(scope, R::itemBit(i)));
  }
  f.push_back(rowsField("items", "Option", items, std::move(itemBits), scope));
  f.push_back(choiceField("period", kReportPeriodText,
                          viewAccessor(scope, &R::period, &R::setPeriod, {bitOf(scope, R::kPeriodBits)}, 7),
                          itemsOf(ReportPeriodList.items()), scope));
  std::vector<Row> numbers;
  std::vector<Bits> numberBits;
  for (std::size_t n = 1; n <= report::kNumberCount; ++n) {
    numbers.push_back({ReportNumberName(n), kMyNumberText, std::to_string(n)});
    numberBits.push_back(bitOf(scope, R::numberBit(n)));
  }
  f.push_back(rowsField("myNumbers", kMyNumberText, numbers, std::move(numberBits), scope));
  // Bits 11..15 of the word: no page shows them; the page clears 11..14 and
  // keeps 15. Carried, so that a record comes back byte for byte.
  Field reserved = integerField(
      "reservedBits", "Reserved bits 11-15",
      viewAccessor(scope, &R::reservedBits, &R::setReservedBits,
                   {bitOf(scope, R::kClearedBits), bitOf(scope, R::kKeptBit)}, R::kMaxReservedBits),
      scope);
  reserved.quiet = true;
  f.push_back(std::move(reserved));
  return f;
}

}  // namespace

void describeReports(Description& description) {
  description.addSection("reports", "Reports");
  for (std::size_t c = 0; c < report::kRequestCount; ++c)
    description.addRecord(static_cast<int>(c), reportFields(c), "?" + std::to_string(c));
}

}  // namespace wk::config
