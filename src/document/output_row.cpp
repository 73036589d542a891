#include "document/output_row.h"

#include "document/output_record.h"
#include "util/utf.h"

namespace wk {

OutputRow LoadOutputRow(ConfigImage& image, std::size_t output) {
  const auto record = OutputRecord::at(image, output);
  const OutputAliasTable aliases(image);
  OutputRow row;
  row.use = OutputUseTable.shownText(record.use());
  row.sensor = utf8ToUtf16(record.sensor().text());
  row.hysteresisLow = utf8ToUtf16(Centidegrees::text(record.hysteresisLow()));
  row.hysteresisHigh = utf8ToUtf16(Centidegrees::text(record.hysteresisHigh()));
  row.type = OutputTypeTable.shownText(record.type());
  row.inverse = record.inverse();
  row.aliasIfOff = aliases.ifOff(output).text();
  row.aliasIfOn = aliases.ifOn(output).text();
  return row;
}

Rgb OutputRowColour(ConfigImage& image, std::size_t output) {
  return OutputUseTable.colourOf(OutputRecord::at(image, output).use());
}

int StoreOutputRow(OutputRow& row, ConfigImage& image, std::size_t output) {
  auto record = OutputRecord::at(image, output);
  if (const auto sensor = SensorRef::parse(row.sensor)) record.setSensor(*sensor);
  int unreadable = 0;
  if (const auto low = Centidegrees::parse(row.hysteresisLow)) record.setHysteresisLow(*low); else ++unreadable;
  row.hysteresisLow = utf8ToUtf16(Centidegrees::text(record.hysteresisLow()));
  if (const auto high = Centidegrees::parse(row.hysteresisHigh)) record.setHysteresisHigh(*high); else ++unreadable;
  row.hysteresisHigh = utf8ToUtf16(Centidegrees::text(record.hysteresisHigh()));
  if (const auto code = OutputTypeTable.codeOf(row.type)) record.setType(*code);
  const OutputAliasTable aliases(image);
  row.aliasIfOff = aliases.ifOff(output).store(row.aliasIfOff);
  row.aliasIfOn = aliases.ifOn(output).store(row.aliasIfOn);
  return unreadable;
}

void StoreOutputUseText(std::u16string_view text, ConfigImage& image, std::size_t output) {
  if (const auto code = OutputUseTable.codeOf(text)) OutputRecord::at(image, output).setUse(*code);
}

void StoreOutputInverse(bool inverse, ConfigImage& image, std::size_t output) {
  OutputRecord::at(image, output).setInverse(inverse);
}

}  // namespace wk
