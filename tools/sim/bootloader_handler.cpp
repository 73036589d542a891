#include "bootloader_handler.h"

#include <algorithm>
#include <cstdlib>

namespace gzsim {
namespace {

constexpr std::string_view kNoLength = "no-length";

std::uint8_t sumOf(std::span<const std::uint8_t> bytes) {
  unsigned sum = 0;
  for (const std::uint8_t b : bytes) sum += b;
  return static_cast<std::uint8_t>(sum);
}

bool parseNumber(const std::string& value, unsigned long max, unsigned long& out) {
  if (value.empty() || value[0] == '-') return false;
  char* end = nullptr;
  out = std::strtoul(value.c_str(), &end, 0);
  return *end == '\0' && out <= max;
}

}  // namespace

void BootloaderHandler::handle(Exchange& x) {
  switch (x.letter()) {
    case 'M': model(x); break;
    case 'N': serialNumber(x); break;
    case 'U': enterUpdate(x); break;
    case 'W': write(x); break;
  }
}

std::vector<Option> BootloaderHandler::options() const {
  return {
      {"--model", "TEXT", "the model text of M (default GZ4410, at most 255 bytes)"},
      {"--serial", "N", "the serial number of N (default 0x00012AF0; decimal or 0x hex)"},
      {"--bad-block", "K", "the bootloader answers 'B' to block K (0..251) whatever its\nchecksum (repeatable)"},
      {"--silent-from-block", "K", "the bootloader answers no block from block K (0..251) on"},
  };
}

bool BootloaderHandler::setOption(const std::string& name, const std::string& value, std::string& why) {
  unsigned long n = 0;
  if (name == "--model") {
    if (value.size() > 255) {
      why = "--model takes at most 255 bytes";
      return false;
    }
    model_ = value;
    return true;
  }
  if (name == "--serial") {
    if (!parseNumber(value, 0xFFFFFFFFul, n)) {
      why = "bad number for --serial";
      return false;
    }
    serial_ = static_cast<std::uint32_t>(n);
    return true;
  }
  if (!parseNumber(value, kBlockCount - 1, n)) {
    why = "bad block number for " + name + " (0..251)";
    return false;
  }
  if (name == "--bad-block") badBlocks_.push_back(static_cast<int>(n));
  else silentFrom_ = static_cast<int>(n);
  return true;
}

std::vector<FaultKind> BootloaderHandler::faultKinds() const {
  return {{std::string(kNoLength), "M: nothing after the echo, not even the length"}};
}

std::optional<Bytes> BootloaderHandler::saveState() const {
  if (!updated_) return std::nullopt;
  Bytes out{1};
  out.insert(out.end(), header_.begin(), header_.end());
  out.insert(out.end(), code_.begin(), code_.end());
  out.insert(out.end(), blocks_.begin(), blocks_.end());
  return out;
}

bool BootloaderHandler::loadState(std::span<const std::uint8_t> section, std::string& why) {
  const std::size_t size = 1 + header_.size() + code_.size() + blocks_.size();
  if (section.size() != size || section[0] != 1) {
    why = format("the bootloader section is %zu bytes of version %d, not %zu of version 1", section.size(),
                 section.empty() ? -1 : section[0], size);
    return false;
  }
  auto at = section.begin() + 1;
  std::copy_n(at, header_.size(), header_.begin());
  at += static_cast<long>(header_.size());
  std::copy_n(at, code_.size(), code_.begin());
  at += static_cast<long>(code_.size());
  std::copy_n(at, blocks_.size(), blocks_.begin());
  updated_ = true;
  return true;
}

void BootloaderHandler::model(Exchange& x) {
  if (x.fault(kNoLength)) {
    x.trace("M");
    return;
  }
  Bytes reply{static_cast<std::uint8_t>(model_.size())};
  reply.insert(reply.end(), model_.begin(), model_.end());
  if (x.fault(fault::kShort)) reply.resize(1 + model_.size() / 2);
  x.put(reply);
  x.trace("M");
}

void BootloaderHandler::serialNumber(Exchange& x) {
  Bytes reply;
  for (int i = 0; i < 4; ++i) reply.push_back(static_cast<std::uint8_t>(serial_ >> (8 * i)));
  if (x.fault(fault::kShort)) reply.resize(2);
  x.put(reply);
  x.trace("N");
}

void BootloaderHandler::enterUpdate(Exchange& x) {
  inBootloader_ = true;
  x.trace("U");
}

void BootloaderHandler::write(Exchange& x) {
  if (!inBootloader_) {
    x.trace("W outside the bootloader");
    return;
  }
  inBootloader_ = false;  // one update per "U"
  updated_ = true;
  std::fill(code_.begin(), code_.end(), 0);
  blocks_.fill(NotReceived);
  const auto header = x.getBytes(kHeaderSize);
  if (!header) {
    x.trace("W header timeout");
    return;
  }
  header_ = *header;

  std::string notes;
  int received = 0;
  for (int k = 0; k < kBlockCount; ++k) {
    const auto block = x.getBytes(kBlockSize + 1);
    if (!block) {
      notes += " timeout";
      break;
    }
    ++received;
    const std::span<const std::uint8_t> data(block->data(), kBlockSize);
    std::copy(data.begin(), data.end(), code_.begin() + static_cast<long>(k * kBlockSize));
    const std::uint8_t checksum = (*block)[kBlockSize];
    if (silentFrom_ >= 0 && k >= silentFrom_) {
      if (k == silentFrom_) notes += format(" silent from %d", k);
      blocks_[static_cast<std::size_t>(k)] = Unanswered;
    } else if (std::find(badBlocks_.begin(), badBlocks_.end(), k) != badBlocks_.end()) {
      notes += format(" refused %d", k);
      blocks_[static_cast<std::size_t>(k)] = Refused;
      x.put({kBadBlock});
    } else if (sumOf(data) != checksum) {
      notes += format(" bad %d", k);
      blocks_[static_cast<std::size_t>(k)] = BadSum;
      x.put({kBadBlock});
    } else {
      blocks_[static_cast<std::size_t>(k)] = Taken;
      x.put({checksum});
    }
  }
  x.trace(format("W %d", received) + notes);
}

}  // namespace gzsim
