#pragma once
// The per-user settings store: organisation "Velmora", application "4410".
// Every value is read at the moment it is needed and never cached, so a change
// made in a dialog applies to the next operation.
#include <map>
#include <string>
#include <string_view>

namespace wk {

namespace setting {
inline constexpr std::string_view kSection = "Settings";
inline constexpr std::string_view kPort = "Port";
inline constexpr std::string_view kLangFile = "langfile";
inline constexpr std::string_view kSavePortsOutput = "SavePortsOutput";
inline constexpr std::string_view kFirmwareFile = "FWFilename";

inline constexpr std::string_view kDefaultPort = "Com1";
inline constexpr std::string_view kNoLanguageFile = "no file";
inline constexpr std::string_view kNoFirmwareFile = "no name";
}  // namespace setting

class Settings {
 public:
  virtual ~Settings() = default;
  virtual std::string readString(std::string_view section, std::string_view key,
                                 std::string_view fallback) = 0;
  virtual int readInt(std::string_view section, std::string_view key, int fallback) = 0;
  virtual void writeString(std::string_view section, std::string_view key, std::string_view value) = 0;
  virtual void writeInt(std::string_view section, std::string_view key, int value) = 0;

  // The values of the "Settings" section with their defaults.
  std::string port() { return readString(setting::kSection, setting::kPort, setting::kDefaultPort); }
  std::string languageFile() {
    return readString(setting::kSection, setting::kLangFile, setting::kNoLanguageFile);
  }
  std::string firmwareFile() {
    return readString(setting::kSection, setting::kFirmwareFile, setting::kNoFirmwareFile);
  }
  int savePortsOutput() { return readInt(setting::kSection, setting::kSavePortsOutput, 0); }
};

// Settings held in memory only: for tests, and for command-line overrides.
class MemorySettings : public Settings {
 public:
  std::string readString(std::string_view section, std::string_view key,
                         std::string_view fallback) override;
  int readInt(std::string_view section, std::string_view key, int fallback) override;
  void writeString(std::string_view section, std::string_view key, std::string_view value) override;
  void writeInt(std::string_view section, std::string_view key, int value) override;

  bool contains(std::string_view section, std::string_view key) const;

 private:
  std::map<std::string, std::string, std::less<>> values_;
};

}  // namespace wk
