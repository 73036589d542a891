#pragma once
// A configuration image made from a fuzz input: the input is the image's first
// bytes and the rest is a new document's. A short input lies over the EE part
// too, so that the records there (main channels to reports) see fuzzed bytes
// without an input of 62 KB.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "document/config_image.h"

namespace wk::fuzz {

std::unique_ptr<ConfigImage> imageOverNewDocument(const std::uint8_t* data, std::size_t size);

}  // namespace wk::fuzz
