#pragma once
// What the tests of the configuration's fields share: a new image, a field by
// its path, the bytes at an offset, and a write that must be taken or refused.
#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "document/config_diff.h"
#include "document/config_fields.h"
#include "document/defaults.h"

namespace wk::config::field_test {

inline ConfigImage newImage() {
  ConfigImage image;
  applyNewDocumentDefaults(image);
  return image;
}

inline const Field& field(std::string_view path) {
  const Field* f = Description::get().find(path);
  if (!f) throw std::runtime_error("no field " + std::string(path));
  return *f;
}

inline std::vector<std::uint8_t> bytesAt(const ConfigImage& image, std::size_t offset, std::size_t size) {
  const auto s = image.slice(offset, size);
  return {s.begin(), s.end()};
}

inline void writeOk(const std::string& path, ConfigImage& image, const Value& v) {
  const auto error = write(field(path), image, v);
  ASSERT_FALSE(error) << path << ": " << *error;
}

// The message a write into a new image gives, or "(stored)" when it is taken.
inline std::string refusal(const std::string& path, const Value& v) {
  ConfigImage image = newImage();
  const auto error = write(field(path), image, v);
  return error ? *error : "(stored)";
}

// The lines diff gives between image and image with one bit flipped.
inline std::vector<std::string> diffWithBitFlipped(const ConfigImage& image, std::size_t offset, std::uint8_t mask) {
  ConfigImage flipped = image;
  flipped.at(offset) ^= mask;
  return describe(diff(image, flipped));
}

}  // namespace wk::config::field_test
