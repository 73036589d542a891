#include "config_commands.h"

#include <algorithm>
#include <cstdio>

#include "cli.h"
#include "config_json.h"
#include "config_text.h"
#include "document/c4410_doc.h"
#include "document/config_diff.h"
#include "document/config_fields.h"
#include "document/rom_code.h"
#include "document/vld_file.h"
#include "language/translate.h"
#include "onewire/family_table.h"
#include "stderr_prompter.h"
#include "terminal_text.h"
#include "util/file_io.h"
#include "util/utf.h"

namespace wk::cli {
namespace {

using config::Field;
using config::Value;

// One line each, with what a file could hold to work the terminal escaped.
void printLines(const std::vector<std::string>& lines) {
  for (const std::string& line : lines)
    if (!printOut(escapeControls(line) + "\n")) return;
}

}  // namespace

bool openVld(const std::string& path, ConfigImage& image) {
  StderrPrompter prompter;
  C4410Doc doc;
  if (!doc.open(path, prompter)) return false;
  // The fallback contents are not the file's.
  if (doc.hasFallbackContents()) {
    std::fprintf(stderr, "watchkeep-cli: the version of %s cannot be read\n", path.c_str());
    return false;
  }
  image = doc.image();
  return true;
}

bool wouldReplaceInput(const std::string& input, const std::string& output, const char* what) {
  if (!sameFile(input, output)) return false;
  std::fprintf(stderr, "watchkeep-cli: %s would replace %s itself: nothing was written\n", what, input.c_str());
  return true;
}

int schema() {
  printOut(jsonSchema().dump(2) + "\n");
  return kSuccess;
}

int dump(const std::string& path, const DumpOptions& options) {
  ConfigImage image;
  if (!openVld(path, image)) return kUsageOrFileError;
  if (options.json) {
    JsonOptions json;
    json.showPassword = options.showPassword;
    printOut(toJson(image, json).dump(2) + "\n");
  } else {
    TextOptions text;
    text.all = options.all;
    text.showPassword = options.showPassword;
    printOut(dumpText(image, text));
  }
  return kSuccess;
}

int exportJson(const std::string& path, const std::string& outPath) {
  if (wouldReplaceInput(path, outPath, "the output")) return kUsageOrFileError;
  ConfigImage image;
  if (!openVld(path, image)) return kUsageOrFileError;
  const std::string text = toJson(image).dump(2) + "\n";
  std::string reason;
  if (!writeFileAtomically(outPath, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()),
                           &reason)) {
    std::fprintf(stderr, "watchkeep-cli: %s\n", reason.c_str());
    return kUsageOrFileError;
  }
  return kSuccess;
}

int importJson(const std::string& jsonPath, const std::string& outPath, const std::optional<std::string>& basePath) {
  if (wouldReplaceInput(jsonPath, outPath, "the output")) return kUsageOrFileError;
  ConfigImage image;
  if (basePath) {
    if (!openVld(*basePath, image)) return kUsageOrFileError;
  } else {
    C4410Doc doc;
    doc.makeNew();
    image = doc.image();
  }
  std::string reason;
  const auto text = readFileHead(jsonPath, kMaxJsonBytes + 1, &reason);
  if (!text) {
    std::fprintf(stderr, "watchkeep-cli: %s\n", reason.c_str());
    return kUsageOrFileError;
  }
  const auto errors = fromJson(std::string_view(reinterpret_cast<const char*>(text->data()), text->size()), image);
  if (!errors.empty()) {
    for (const std::string& e : errors)
      std::fprintf(stderr, "%s: %s\n", escapeControls(jsonPath).c_str(), escapeControls(e).c_str());
    std::fprintf(stderr, "watchkeep-cli: nothing was written\n");
    return kUsageOrFileError;
  }
  // The image as the JSON gives it, not as collecting the pages would leave it.
  if (!writeFileAtomically(outPath, vld::serialize(image), &reason)) {
    std::fprintf(stderr, "watchkeep-cli: %s\n", reason.c_str());
    return kUsageOrFileError;
  }
  return kSuccess;
}

int printDifferences(const ConfigImage& a, const ConfigImage& b, bool showPassword) {
  const config::Differences d = config::diff(a, b);
  printLines(config::describe(d, translator(), showPassword));
  return d.empty() ? kSuccess : kDifferent;
}

int diffFiles(const std::string& a, const std::string& b, bool showPassword) {
  ConfigImage ia, ib;
  if (!openVld(a, ia) || !openVld(b, ib)) return kUsageOrFileError;
  return printDifferences(ia, ib, showPassword);
}

}  // namespace wk::cli
