#include "app/recent_files.h"

#include <algorithm>

#include "seams/settings.h"

namespace wk {
namespace {
constexpr std::string_view kSection = "Recent File List";
std::string keyOf(int index) { return "File" + std::to_string(index + 1); }
}  // namespace

std::vector<std::string> RecentFileList::entries() const {
  std::vector<std::string> list;
  for (int i = 0; i < kSize; ++i) {
    std::string path = settings_.readString(kSection, keyOf(i), "");
    if (!path.empty() && std::find(list.begin(), list.end(), path) == list.end()) list.push_back(std::move(path));
  }
  return list;
}

void RecentFileList::add(const std::string& path) {
  if (path.empty()) return;
  std::vector<std::string> list = entries();
  std::erase(list, path);
  list.insert(list.begin(), path);
  if (list.size() > kSize) list.resize(kSize);
  write(list);
}

void RecentFileList::remove(const std::string& path) {
  std::vector<std::string> list = entries();
  if (std::erase(list, path) > 0) write(list);
}

// A vacant entry is stored empty: the settings store has no removal.
void RecentFileList::write(const std::vector<std::string>& list) {
  for (int i = 0; i < kSize; ++i)
    settings_.writeString(kSection, keyOf(i), i < static_cast<int>(list.size()) ? list[static_cast<std::size_t>(i)] : "");
}

}  // namespace wk
