// Any text imported as a configuration onto a new document: an error leaves
// a message for each fault (at most 100 and a count), and what imports
// without one stored what the JSON said: exported again, every number,
// truth value, list text and phone number the JSON gave comes back as given,
// and the export imports onto the result unchanged.
#include <cstdint>
#include <memory>
#include <string_view>

#include "config_json.h"
#include "document/config_fields.h"
#include "document/defaults.h"
#include "support/quiet_seams.h"

using namespace wk;
using Json = nlohmann::ordered_json;

namespace {

// Whether the field stores the JSON value given exactly as it is exported:
// the typed forms that no rule of the editors changes.
bool comparable(const config::Field& f, const Json& given) {
  using config::FieldType;
  switch (f.type) {
    case FieldType::Integer:
    case FieldType::Seconds: return given.is_number_integer();
    case FieldType::Centidegrees: return given.is_number();
    case FieldType::Boolean: return given.is_boolean();
    case FieldType::Choice:
    case FieldType::Phone: return given.is_string() && !given.get<std::string>().empty();
    default: return false;
  }
}

bool sameValue(const Json& given, const Json& exported) {
  if (given.is_number() && exported.is_number()) return given.get<double>() == exported.get<double>();
  return given == exported;
}

// Each member the JSON gave a record against what the export holds there.
void checkRecord(const config::Record& r, const Json& given, const Json& exported) {
  if (!given.is_object()) return;
  for (const config::Field& f : r.fields) {
    if (!given.contains(f.key)) continue;
    const Json* value = &given[f.key];
    const Json* back = &exported[f.key];
    if (f.element > 0) {
      const auto index = static_cast<std::size_t>(f.element - 1);
      if (!value->is_array() || index >= value->size()) continue;
      value = &(*value)[index];
      back = &(*back)[index];
    }
    if (comparable(f, *value)) WK_FUZZ_CHECK(sameValue(*value, *back));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  auto image = std::make_unique<ConfigImage>();
  applyNewDocumentDefaults(*image);
  const auto errors = cli::fromJson(text, *image);
  for (const std::string& e : errors) WK_FUZZ_CHECK(!e.empty());
  WK_FUZZ_CHECK(errors.size() <= 101);
  if (!errors.empty()) return 0;

  // Imported without an error: the text is JSON without a key given twice.
  const Json given = Json::parse(text.begin(), text.end(), nullptr, false);
  WK_FUZZ_CHECK(given.is_object());
  const Json exported = cli::toJson(*image);
  for (const config::Section& s : config::Description::get().sections()) {
    if (!given.contains(s.key)) continue;
    if (s.single) {
      checkRecord(s.records.front(), given[s.key], exported[s.key]);
    } else {
      for (std::size_t i = 0; i < s.records.size(); ++i) checkRecord(s.records[i], given[s.key][i], exported[s.key][i]);
    }
  }

  auto again = std::make_unique<ConfigImage>(*image);
  WK_FUZZ_CHECK(cli::fromJson(exported.dump(), *again).empty());
  WK_FUZZ_CHECK(*again == *image);
  return 0;
}
