// The configuration of any image shown as text, and its differences from a
// new document described: every line is printable, whatever the bytes.
#include <algorithm>
#include <cstdint>
#include <memory>

#include "config_text.h"
#include "document/config_diff.h"
#include "support/fuzzed_image.h"
#include "support/quiet_seams.h"
#include "terminal_text.h"

using namespace wk;

namespace {

bool printable(const std::string& text) {
  return std::none_of(text.begin(), text.end(), [](unsigned char c) { return (c < 0x20 && c != '\n') || c == 0x7F; });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto image = fuzz::imageOverNewDocument(data, size);
  const auto fresh = fuzz::imageOverNewDocument(data, 0);

  cli::TextOptions options;
  options.all = size % 2 == 0;
  options.showPassword = size % 3 == 0;
  const std::string text = cli::dumpText(*image, options);
  WK_FUZZ_CHECK(!text.empty());
  WK_FUZZ_CHECK(printable(text));

  for (const std::string& line : config::describe(config::diff(*fresh, *image), cli::translator(), options.showPassword))
    WK_FUZZ_CHECK(printable(cli::escapeControls(line)));
  return 0;
}
