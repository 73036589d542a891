#pragma once
// The configuration as data: dump, export, import, diff, verify, and the
// backup before a write.
#include <optional>
#include <string>

#include "document/config_image.h"

namespace wk::cli {

struct DumpOptions {
  bool json = false;
  bool all = false;  // the disabled SMS rules too
  bool showPassword = false;
};

// Opens a .vld file as the program does; false (with the message on standard
// error) when it cannot be read or its version is unknown.
bool openVld(const std::string& path, ConfigImage& image);
// Prints the differences of b from a (the password hidden unless
// showPassword); kSuccess when there are none, else kDifferent.
int printDifferences(const ConfigImage& a, const ConfigImage& b, bool showPassword);

// Whether writing output would replace input (through links too); says so on
// standard error, naming the output as what ("the output", "the backup").
bool wouldReplaceInput(const std::string& input, const std::string& output, const char* what);

// The JSON Schema of the JSON, to standard output.
int schema();

int dump(const std::string& path, const DumpOptions& options);
int exportJson(const std::string& path, const std::string& outPath);
int importJson(const std::string& jsonPath, const std::string& outPath, const std::optional<std::string>& basePath);
int diffFiles(const std::string& a, const std::string& b, bool showPassword);
int verify(const std::optional<std::string>& port, const std::string& path, bool showPassword);
// Reads the controller into backupPath, then writes path; nothing is written
// when the backup cannot be read or saved.
int writeWithBackup(const std::optional<std::string>& port, const std::string& path, bool keepGsmManaged,
                    const std::string& backupPath);

}  // namespace wk::cli
