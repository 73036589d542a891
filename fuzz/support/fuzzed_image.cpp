#include "support/fuzzed_image.h"

#include <algorithm>

#include "document/defaults.h"

namespace wk::fuzz {

std::unique_ptr<ConfigImage> imageOverNewDocument(const std::uint8_t* data, std::size_t size) {
  auto image = std::make_unique<ConfigImage>();
  applyNewDocumentDefaults(*image);
  std::copy_n(data, std::min(size, image::kSize), image->all().begin());
  if (size < image::EeBlock.offset)
    std::copy_n(data, std::min(size, image::EeBlock.size), image->all().begin() + image::EeBlock.offset);
  return image;
}

}  // namespace wk::fuzz
