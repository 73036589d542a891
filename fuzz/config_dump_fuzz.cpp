// The configuration of any image, shown as text and as JSON, and the JSON
// read back: it gives the image back, and onto a new document every field's
// bits.
#include <algorithm>
#include <cstdint>
#include <memory>

#include "config_json.h"
#include "config_text.h"
#include "document/config_diff.h"
#include "document/config_fields.h"
#include "document/defaults.h"
#include "support/quiet_seams.h"

using namespace wk;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The input is the image's first bytes; the rest is a new document's. A
  // short input lies over the EE part too, so that the records there (main
  // channels to reports) see fuzzed bytes without an input of 62 KB.
  auto image = std::make_unique<ConfigImage>();
  applyNewDocumentDefaults(*image);
  const auto fresh = std::make_unique<ConfigImage>(*image);
  std::copy_n(data, std::min(size, image::kSize), image->all().begin());
  if (size < image::EeBlock.offset)
    std::copy_n(data, std::min(size, image::EeBlock.size), image->all().begin() + image::EeBlock.offset);

  cli::TextOptions options;
  options.all = size % 2 == 0;
  const std::string text = cli::dumpText(*image, options);
  WK_FUZZ_CHECK(!text.empty());

  const std::string json = cli::toJson(*image).dump();
  auto same = std::make_unique<ConfigImage>(*image);
  WK_FUZZ_CHECK(cli::fromJson(json, *same).empty());
  WK_FUZZ_CHECK(*same == *image);

  auto onNew = std::make_unique<ConfigImage>(*fresh);
  WK_FUZZ_CHECK(cli::fromJson(json, *onNew).empty());
  for (const config::Section& s : config::Description::get().sections())
    for (const config::Record& r : s.records)
      for (const config::Field& f : r.fields)
        for (const config::Bits& b : config::ownedBits(f, *image))
          WK_FUZZ_CHECK((onNew->at(b.offset) & b.mask) == (image->at(b.offset) & b.mask));

  // What the two differ in lies where no field's bits do.
  const config::Differences d = config::diff(*image, *onNew);
  WK_FUZZ_CHECK(d.fields.empty());
  config::describe(d);
  return 0;
}
