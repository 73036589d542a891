#include "document/config_image.h"

#include <stdexcept>
#include <string>

namespace wk {
namespace {

void checkSlice(std::size_t offset, std::size_t size) {
  if (offset > image::kSize || size > image::kSize - offset)
    throw std::out_of_range("configuration image access out of range: offset " + std::to_string(offset) +
                            ", size " + std::to_string(size));
}

std::size_t recordOffset(ImageBlock region, std::size_t recordSize, std::size_t index) {
  if (recordSize == 0 || index >= region.size / recordSize)
    throw std::out_of_range("record " + std::to_string(index) + " lies outside its region at offset " +
                            std::to_string(region.offset));
  return region.offset + index * recordSize;
}

}  // namespace

std::span<std::uint8_t> ConfigImage::slice(std::size_t offset, std::size_t size) {
  checkSlice(offset, size);
  return std::span<std::uint8_t>(bytes_).subspan(offset, size);
}

std::span<const std::uint8_t> ConfigImage::slice(std::size_t offset, std::size_t size) const {
  checkSlice(offset, size);
  return std::span<const std::uint8_t>(bytes_).subspan(offset, size);
}

std::span<std::uint8_t> ConfigImage::record(ImageBlock region, std::size_t recordSize, std::size_t index) {
  return slice(recordOffset(region, recordSize, index), recordSize);
}

std::span<const std::uint8_t> ConfigImage::record(ImageBlock region, std::size_t recordSize,
                                                  std::size_t index) const {
  return slice(recordOffset(region, recordSize, index), recordSize);
}

}  // namespace wk
