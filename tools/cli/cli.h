#pragma once
#include <string>
#include <vector>

namespace wk::cli {

enum ExitStatus : int {
  kSuccess = 0,
  kDeviceFailure = 1,  // the controller operation failed
  kDifferent = 1,      // diff and verify: the configurations differ
  kUsageOrFileError = 2,
};

// Runs one command line (without the program name) and returns the exit status.
int run(const std::vector<std::string>& args);

}  // namespace wk::cli
