#pragma once
// The settings store on QSettings: organisation "Velmora", application "4410"
// (on Linux the file ~/.config/Velmora/4410.conf). Each read goes to the store.
#include "seams/settings.h"

namespace wk {

class QtSettings : public Settings {
 public:
  std::string readString(std::string_view section, std::string_view key, std::string_view fallback) override;
  int readInt(std::string_view section, std::string_view key, int fallback) override;
  void writeString(std::string_view section, std::string_view key, std::string_view value) override;
  void writeInt(std::string_view section, std::string_view key, int value) override;
};

}  // namespace wk
