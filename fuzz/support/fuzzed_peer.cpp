#include "support/fuzzed_peer.h"

#include <algorithm>
#include <cstdlib>

namespace wk::fuzz {

std::uint8_t FuzzedPeer::takeByte() { return exhausted() ? 0 : input_[at_++]; }

std::uint16_t FuzzedPeer::takeLe16() {
  const std::uint8_t low = takeByte();
  return static_cast<std::uint16_t>(low | (takeByte() << 8));
}

link::OpenStatus FuzzedPeer::open(const std::string&, int baud) {
  if (failOpen) return {link::OpenStatus::Kind::NotFound, "No such file or directory"};
  open_ = true;
  baud_ = baud;
  return {link::OpenStatus::Kind::Opened, {}};
}

bool FuzzedPeer::setBaudRate(int baud) {
  if (failSpeedChange) return false;
  baud_ = baud;
  return true;
}

std::size_t FuzzedPeer::write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds) {
  // Talking on a closed line is a fault of the program, not of the peer.
  if (!open_) std::abort();
  if (bytes.size() == 1) lastLetter_ = bytes[0];
  written_ += bytes.size();
  return bytes.size();
}

std::size_t FuzzedPeer::read(std::span<std::uint8_t> buffer, std::chrono::milliseconds) {
  if (!open_) std::abort();
  if (exhausted() || buffer.empty()) return 0;
  const std::uint8_t control = takeByte();
  const std::size_t asked = control & 0x3F;
  std::size_t count = asked == 0 ? buffer.size() : std::min<std::size_t>(asked, buffer.size());
  switch (control >> 6) {
    case 0:
      count = std::min(count, input_.size() - at_);
      std::copy_n(input_.begin() + static_cast<std::ptrdiff_t>(at_), count, buffer.begin());
      at_ += count;
      return count;
    case 1: {
      const std::uint8_t value = takeByte();
      std::fill_n(buffer.begin(), count, value);
      return count;
    }
    case 2:
      std::fill_n(buffer.begin(), count, lastLetter_);
      return count;
    default:
      return 0;
  }
}

}  // namespace wk::fuzz
