// The .vld reader, fed any bytes as a file.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <span>

#include "document/config_image.h"
#include "document/vld_file.h"
#include "support/quiet_seams.h"

using namespace wk;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> file(data, size);
  // The image a file is read into holds something already: what the reader
  // leaves alone must stay as it was.
  auto image = std::make_unique<ConfigImage>();
  std::fill(image->all().begin(), image->all().end(), 0xA5);
  const auto before = std::make_unique<ConfigImage>(*image);

  const vld::ParseOutcome outcome = vld::parse(file, *image);
  if (outcome == vld::ParseOutcome::TooShort) {
    WK_FUZZ_CHECK(size < vld::kVersionSize);
    WK_FUZZ_CHECK(*image == *before);
    return 0;
  }

  // Whatever was read saves as a current file that reads back byte for byte.
  const std::vector<std::uint8_t> saved = vld::serialize(*image);
  WK_FUZZ_CHECK(saved.size() == vld::kFileSize);
  auto reread = std::make_unique<ConfigImage>();
  WK_FUZZ_CHECK(vld::parse(saved, *reread) == vld::ParseOutcome::Current);
  WK_FUZZ_CHECK(*reread == *image);

  // A whole current file is the image itself, less the SEE memory the image
  // does not hold.
  if (outcome == vld::ParseOutcome::Current && size >= vld::kFileSize) {
    const std::size_t seeEnd = vld::kVersionSize + image::kSeePartSize;
    const std::size_t eeStart = vld::kVersionSize + image::kSeeMemorySize;
    WK_FUZZ_CHECK(std::equal(saved.begin(), saved.begin() + seeEnd, file.begin()));
    WK_FUZZ_CHECK(std::equal(saved.begin() + eeStart, saved.end(), file.begin() + eeStart));
  }
  return 0;
}
