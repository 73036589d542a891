#include "state_file.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string_view>

namespace gzsim {
namespace {

constexpr std::string_view kMagic = "gz4410-sim state 2\n";

bool parse(const std::vector<std::uint8_t>& all, StateSections& sections) {
  std::size_t at = kMagic.size();
  while (at < all.size()) {
    std::size_t eol = at;
    while (eol < all.size() && all[eol] != '\n') ++eol;
    if (eol == all.size()) return false;
    const std::string line(all.begin() + static_cast<long>(at), all.begin() + static_cast<long>(eol));
    const std::size_t blank = line.find(' ');
    if (blank == 0 || blank == std::string::npos) return false;
    std::size_t size = 0;
    for (char c : line.substr(blank + 1)) {
      if (c < '0' || c > '9' || size > all.size()) return false;
      size = size * 10 + static_cast<std::size_t>(c - '0');
    }
    at = eol + 1;
    if (line.size() == blank + 1 || all.size() - at < size + 1 || all[at + size] != '\n') return false;
    sections[line.substr(0, blank)].assign(all.begin() + static_cast<long>(at),
                                           all.begin() + static_cast<long>(at + size));
    at += size + 1;
  }
  return true;
}

}  // namespace

StateRead readStateFile(const std::string& path, StateSections& sections, std::string& why) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return StateRead::Missing;
  const std::vector<std::uint8_t> all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  sections.clear();
  if (all.size() >= kMagic.size() && std::equal(kMagic.begin(), kMagic.end(), all.begin())) {
    if (parse(all, sections)) return StateRead::Read;
    sections.clear();
    why = "is damaged";
    return StateRead::Bad;
  }
  if (all.size() != kFirstStateSize) {
    why = "is " + std::to_string(all.size()) + " bytes, not " + std::to_string(kFirstStateSize) +
          ", and no state file of this simulator";
    return StateRead::Bad;
  }
  sections[kFirstStateSection] = all;
  return StateRead::Read;
}

bool writeStateFile(const std::string& path, const StateSections& sections) {
  const std::string temp = path + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out << kMagic;
    for (const auto& [name, bytes] : sections) {
      out << name << ' ' << bytes.size() << '\n';
      out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
      out << '\n';
    }
    out.flush();
    if (!out) {
      std::remove(temp.c_str());
      return false;
    }
  }
  return std::rename(temp.c_str(), path.c_str()) == 0;
}

}  // namespace gzsim
