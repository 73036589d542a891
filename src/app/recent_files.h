#pragma once
// The list of the 4 files opened or saved last, most recent first, kept in
// the settings store (section "Recent File List", values "File1".."File4").
// It is read from the store each time it is shown.
#include <string>
#include <vector>

namespace wk {

class Settings;

class RecentFileList {
 public:
  static constexpr int kSize = 4;

  explicit RecentFileList(Settings& settings) : settings_(settings) {}

  std::vector<std::string> entries() const;
  // Puts path first; an entry already in the list moves up.
  void add(const std::string& path);
  void remove(const std::string& path);

 private:
  void write(const std::vector<std::string>& list);
  Settings& settings_;
};

}  // namespace wk
