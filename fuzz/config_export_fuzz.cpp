// Any image exported as JSON and read back, one section at a time (the
// input's first byte picks it, so that each run stays fast): onto the same
// image the JSON changes nothing, and onto a new document it gives every
// field of the section its bits; the two then differ in none of its fields.
#include <algorithm>
#include <cstdint>
#include <memory>

#include "config_json.h"
#include "document/config_diff.h"
#include "document/config_fields.h"
#include "support/fuzzed_image.h"
#include "support/quiet_seams.h"

using namespace wk;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const auto& sections = config::Description::get().sections();
  const config::Section& section = sections[data[0] % sections.size()];
  ++data;
  --size;
  // The image as config_text takes it: the input over a new document.
  const auto image = fuzz::imageOverNewDocument(data, size);
  const auto fresh = fuzz::imageOverNewDocument(data, 0);

  nlohmann::ordered_json whole = cli::toJson(*image);
  nlohmann::ordered_json json = nlohmann::ordered_json::object();
  json[section.key] = whole[section.key];
  const std::string text = json.dump();

  auto same = std::make_unique<ConfigImage>(*image);
  WK_FUZZ_CHECK(cli::fromJson(text, *same).empty());
  WK_FUZZ_CHECK(*same == *image);

  auto onNew = std::make_unique<ConfigImage>(*fresh);
  WK_FUZZ_CHECK(cli::fromJson(text, *onNew).empty());
  for (const config::Record& r : section.records)
    for (const config::Field& f : r.fields)
      for (const config::Bits& b : config::ownedBits(f, *image))
        WK_FUZZ_CHECK((onNew->at(b.offset) & b.mask) == (image->at(b.offset) & b.mask));
  for (const config::FieldChange& change : config::diff(*image, *onNew).fields)
    for (const config::Record& r : section.records)
      WK_FUZZ_CHECK(change.field < r.fields.data() || change.field >= r.fields.data() + r.fields.size());
  return 0;
}
