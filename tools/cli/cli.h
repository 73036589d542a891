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

// Writes text to standard output. False once standard output has failed;
// the first failure's reason makes the command end with kUsageOrFileError.
// With flush, the text goes out at once (a reading as it comes).
bool printOut(const std::string& text, bool flush = false);
// Flushes standard output: status when everything printed reached it, else
// kUsageOrFileError with the reason on standard error.
int checkedOutput(int status);

// Runs one command line (without the program name) and returns the exit status.
int run(const std::vector<std::string>& args);

}  // namespace wk::cli
