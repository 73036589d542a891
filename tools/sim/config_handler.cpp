#include "config_handler.h"

#include <algorithm>
#include <cstdlib>

namespace gzsim {
namespace {

struct Header {
  std::size_t count;
  std::size_t address;
};

std::optional<Header> header(Exchange& x) {
  const auto h = x.getBytes(4);
  if (!h) return std::nullopt;
  return Header{static_cast<std::size_t>((*h)[0] | ((*h)[1] << 8)), static_cast<std::size_t>((*h)[2] | ((*h)[3] << 8))};
}

}  // namespace

void ConfigHandler::handle(Exchange& x) {
  switch (x.letter()) {
    case 'v': version(x); break;
    case 'R': speed(x); break;
    case 's': readBlock(x, see_, false); break;
    case 'e': readBlock(x, ee_, true); break;
    case 'S': writeBlock(x, see_); break;
    case 'E': writeBlock(x, ee_); break;
  }
}

std::vector<Option> ConfigHandler::options() const {
  return {{"--version", "N", "the configuration layout version to report (default 105)"}};
}

bool ConfigHandler::setOption(const std::string& name, const std::string& value, std::string& why) {
  char* end = nullptr;
  const long n = std::strtol(value.c_str(), &end, 10);
  if (name != "--version" || value.empty() || *end != '\0' || n < 0 || n > 65535) {
    why = "bad number for " + name;
    return false;
  }
  version_ = n;
  return true;
}

std::optional<Bytes> ConfigHandler::saveState() const {
  Bytes out(see_);
  out.insert(out.end(), ee_.begin(), ee_.end());
  return out;
}

bool ConfigHandler::loadState(std::span<const std::uint8_t> section, std::string& why) {
  if (section.size() != kSeeSize + kEeSize) {
    why = format("the memories are %zu bytes, not %zu", section.size(), kSeeSize + kEeSize);
    return false;
  }
  std::copy_n(section.begin(), kSeeSize, see_.begin());
  std::copy_n(section.begin() + kSeeSize, kEeSize, ee_.begin());
  return true;
}

void ConfigHandler::version(Exchange& x) {
  const auto v = static_cast<std::uint16_t>(version_);
  Bytes reply{static_cast<std::uint8_t>(v & 0xFF), static_cast<std::uint8_t>(v >> 8)};
  if (x.fault(fault::kShort)) reply.pop_back();
  x.closeWith(reply, 'd');
  x.put(reply);
  x.trace("v");
}

void ConfigHandler::speed(Exchange& x) {
  // The code byte left the PC at the old speed, whatever its line says now.
  const auto code = x.get(kParameterTimeout, true);
  if (!code) {
    x.trace("R timeout");
    return;
  }
  if (*code == 0) x.setBaud(460800);
  if (*code == 7) x.setBaud(57600);
  x.trace(format("R %d%s", *code, *code == 0 || *code == 7 ? "" : " (unknown code, speed kept)"));
}

void ConfigHandler::readBlock(Exchange& x, const Bytes& memory, bool closed) {
  const auto h = header(x);
  if (!h) {
    x.trace(format("%c timeout", x.letter()));
    return;
  }
  Bytes reply(h->count, 0xFF);
  for (std::size_t i = 0; i < h->count && h->address + i < memory.size(); ++i) reply[i] = memory[h->address + i];
  if (x.fault(fault::kShort)) reply.resize(h->count / 2);
  if (closed) x.closeWith(reply, static_cast<std::uint8_t>(x.letter()));
  x.put(reply);
  x.trace(format("%c %zu %zu", x.letter(), h->count, h->address));
}

void ConfigHandler::writeBlock(Exchange& x, Bytes& memory) {
  const auto h = header(x);
  const auto data = h ? x.getBytes(h->count) : std::nullopt;
  if (!data) {
    x.trace(format("%c timeout", x.letter()));
    return;
  }
  Bytes stored = *data;
  if (!stored.empty() && x.fault(fault::kBadStore)) stored.back() ^= 0xFF;
  for (std::size_t i = 0; i < h->count && h->address + i < memory.size(); ++i) memory[h->address + i] = stored[i];
  Bytes reply;
  x.closeWith(reply, static_cast<std::uint8_t>(x.letter()));
  x.put(reply);
  x.trace(format("%c %zu %zu", x.letter(), h->count, h->address));
}

}  // namespace gzsim
