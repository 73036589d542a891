#include "seams/settings.h"

#include <charconv>

namespace wk {
namespace {
std::string joinKey(std::string_view section, std::string_view key) {
  std::string joined(section);
  joined += '/';
  joined += key;
  return joined;
}
}  // namespace

std::string MemorySettings::readString(std::string_view section, std::string_view key,
                                       std::string_view fallback) {
  const auto it = values_.find(joinKey(section, key));
  return it == values_.end() ? std::string(fallback) : it->second;
}

int MemorySettings::readInt(std::string_view section, std::string_view key, int fallback) {
  const auto it = values_.find(joinKey(section, key));
  if (it == values_.end()) return fallback;
  int value = 0;
  const auto [end, ec] = std::from_chars(it->second.data(), it->second.data() + it->second.size(), value);
  return ec == std::errc() && end == it->second.data() + it->second.size() ? value : fallback;
}

void MemorySettings::writeString(std::string_view section, std::string_view key, std::string_view value) {
  values_[joinKey(section, key)] = std::string(value);
}

void MemorySettings::writeInt(std::string_view section, std::string_view key, int value) {
  values_[joinKey(section, key)] = std::to_string(value);
}

bool MemorySettings::contains(std::string_view section, std::string_view key) const {
  return values_.find(joinKey(section, key)) != values_.end();
}

}  // namespace wk

