#include "diag_peer.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace wk::test {

link::OpenStatus DiagPeer::open(const std::string&, int) {
  if (openResult.ok()) {
    open_ = true;
    log.push_back("open");
  }
  return openResult;
}

void DiagPeer::close() {
  if (open_) log.push_back("close");
  open_ = false;
  command_.clear();
}

std::size_t DiagPeer::write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds) {
  EXPECT_TRUE(open_) << "write on a closed port";
  for (std::uint8_t b : bytes) take(b);
  return bytes.size();
}

void DiagPeer::take(std::uint8_t byte) {
  command_.push_back(byte);
  if (silent) {
    command_.clear();
    return;
  }
  const auto reply = [this](std::initializer_list<std::uint8_t> bytes) {
    incoming_.insert(incoming_.end(), bytes.begin(), bytes.end());
  };
  const std::uint8_t letter = command_[0];
  if (command_.size() == 1) {
    if (letter == 'a') {
      ++inputPolls;
      log.push_back("a");
      reply({static_cast<std::uint8_t>(echoForInputs)});
      incoming_.insert(incoming_.end(), readings.begin(), readings.begin() + static_cast<long>(readingCount));
      command_.clear();
    } else if (letter == 'e' || letter == 'E') {
      reply({letter});
    } else {
      ADD_FAILURE() << "unexpected command " << int(letter);
      command_.clear();
    }
    return;
  }
  const std::size_t header = 5;
  if (command_.size() < header) return;
  const std::size_t count = command_[1] | (command_[2] << 8);
  const std::size_t address = command_[3] | (command_[4] << 8);
  EXPECT_EQ(count, 1u);
  const bool ours = address >= 974 && address < 982;
  EXPECT_TRUE(ours) << "address " << address;
  if (letter == 'e') {
    log.push_back("e " + std::to_string(address));
    reply({ours ? counters[address - 974] : std::uint8_t{0xFF}, 'e'});
    command_.clear();
  } else if (command_.size() == header + count) {
    log.push_back("E " + std::to_string(address) + " " + std::to_string(command_[5]));
    if (ours) counters[address - 974] = command_[5];
    reply({'E'});
    command_.clear();
  }
}

std::size_t DiagPeer::read(std::span<std::uint8_t> buffer, std::chrono::milliseconds) {
  const std::size_t n = std::min(buffer.size(), incoming_.size());
  std::copy_n(incoming_.begin(), n, buffer.begin());
  incoming_.erase(incoming_.begin(), incoming_.begin() + static_cast<long>(n));
  return n;
}

}  // namespace wk::test
