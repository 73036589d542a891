#pragma once
// The --state file: one section per handler, each under the handler's name.
//
//   gz4410-sim state 2\n
//   NAME SIZE\n  then SIZE bytes, then \n      (once per section)
//
// The simulator's first files, 65536 bytes of SEE-Data then 1024 of EE-Data
// and nothing else, are read as the section "config". Shared by the
// simulator and the launcher of the tests.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace gzsim {

using StateSections = std::map<std::string, std::vector<std::uint8_t>>;

inline constexpr std::size_t kFirstStateSize = 65536 + 1024;
inline constexpr const char* kFirstStateSection = "config";

enum class StateRead { Missing, Read, Bad };
// Bad comes with why ("is 3 bytes, not 66560 ...").
StateRead readStateFile(const std::string& path, StateSections& sections, std::string& why);
// Through a temporary file beside path, renamed over it once complete.
bool writeStateFile(const std::string& path, const StateSections& sections);

}  // namespace gzsim
