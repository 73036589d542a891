// The .cod reader: any bytes as a code file. What it reads must be the file's
// own header and code (at most the code buffer), and the image built from it
// the file's code over a full buffer of filler.
#include <algorithm>
#include <cstdint>
#include <span>

#include "firmware/code_file.h"
#include "firmware/code_filler.h"
#include "support/quiet_seams.h"

using namespace wk::firmware;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  const auto file = parseCodeFile(bytes);
  WK_FUZZ_CHECK(file.has_value() == (size >= kHeaderSize));
  if (!file) return 0;
  WK_FUZZ_CHECK(std::equal(file->header.begin(), file->header.end(), bytes.begin()));
  const std::size_t codeBytes = std::min(size - kHeaderSize, kCodeBufferSize);
  WK_FUZZ_CHECK(file->code.size() == codeBytes);
  WK_FUZZ_CHECK(std::equal(file->code.begin(), file->code.end(), bytes.begin() + kHeaderSize));

  CodeFiller filler(size);
  CodeFiller reference(size);
  const auto image = codeImage(*file, filler);
  WK_FUZZ_CHECK(image.size() == kCodeBufferSize);
  for (std::size_t i = 0; i < image.size(); ++i) {
    const std::uint8_t fill = reference.next();
    WK_FUZZ_CHECK(image[i] == (i < codeBytes ? file->code[i] : fill));
  }
  WK_FUZZ_CHECK(filler.state() == reference.state());

  for (int k = 0; k < kBlockCount; ++k) {
    const auto block = std::span(image).subspan(static_cast<std::size_t>(k) * kBlockSize, kBlockSize);
    unsigned sum = 0;
    for (const std::uint8_t b : block) sum += b;
    WK_FUZZ_CHECK(blockChecksum(block) == sum % 256);
  }
  return 0;
}
