// Any text imported as a configuration onto a new document: an error leaves
// a message for each fault, and what imports without one exports to JSON that
// imports onto it unchanged.
#include <cstdint>
#include <memory>
#include <string_view>

#include "config_json.h"
#include "document/defaults.h"
#include "support/quiet_seams.h"

using namespace wk;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  auto image = std::make_unique<ConfigImage>();
  applyNewDocumentDefaults(*image);
  const auto errors = cli::fromJson(text, *image);
  for (const std::string& e : errors) WK_FUZZ_CHECK(!e.empty());
  WK_FUZZ_CHECK(errors.size() <= 100);
  if (!errors.empty()) return 0;
  const std::string json = cli::toJson(*image).dump();
  auto again = std::make_unique<ConfigImage>(*image);
  WK_FUZZ_CHECK(cli::fromJson(json, *again).empty());
  WK_FUZZ_CHECK(*again == *image);
  return 0;
}
