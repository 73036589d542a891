#pragma once
// The base of the record views: a fixed-size window onto the image. A view
// reads and writes its fields in place; a field that is never set is never
// touched, which is how the bits that no editor owns stay as they were.
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>

namespace wk {

template <std::size_t N>
class RecordView {
 public:
  static constexpr std::size_t kSize = N;
  explicit RecordView(std::span<std::uint8_t> bytes) : b_(bytes) {
    if (bytes.size() != N) throw std::out_of_range("record view of the wrong size");
  }
  std::span<std::uint8_t> bytes() const { return b_; }

 protected:
  std::span<std::uint8_t> b_;
};

}  // namespace wk
