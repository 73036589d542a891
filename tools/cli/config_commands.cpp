#include "config_commands.h"

#include <algorithm>
#include <cstdio>

#include "cli.h"
#include "config_json.h"
#include "document/c4410_doc.h"
#include "document/config_diff.h"
#include "document/config_fields.h"
#include "document/rom_code.h"
#include "document/vld_file.h"
#include "language/translate.h"
#include "onewire/family_table.h"
#include "stderr_prompter.h"
#include "util/file_io.h"
#include "util/utf.h"

namespace wk::cli {
namespace {

using config::Field;
using config::Value;

std::string translated(std::string_view text) { return tr(text); }

const config::Translator& translator() {
  static const config::Translator t = translated;
  return t;
}

void printLines(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) std::printf("%s\n", line.c_str());
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

std::string dumpText(const ConfigImage& image, const DumpOptions& options) {
  std::string out;
  config::Reader reader(image);
  C4410Doc fresh;
  fresh.makeNew();
  config::Reader newReader(fresh.image());
  for (const config::Section& s : config::Description::get().sections()) {
    out += tr(s.title) + "\n";
    std::size_t width = 0;
    for (const Field& f : s.records.front().fields) width = std::max(width, utf8ToUtf16(tr(f.label)).size());
    width = std::max(width, utf8ToUtf16(tr("Description")).size());
    std::size_t hidden = 0;
    for (const config::Record& r : s.records) {
      std::vector<std::pair<std::string, std::string>> lines;
      bool disabled = false;
      bool asNew = true;
      for (const Field& f : r.fields) {
        const std::optional<Value> value = reader.read(f);
        asNew = asNew && value == newReader.read(f);
        if (!value) continue;  // means nothing in this record
        if (f.key == "enabled" && value->form == Value::Form::Boolean && !value->flag) disabled = true;
        std::string label = tr(f.label);
        if (f.element > 0) label += " " + std::to_string(f.element);
        std::string text = config::displayText(f, *value, translator());
        if (f.secret && !options.showPassword && value->form == Value::Form::Text)
          text = value->text.empty() ? "not set" : "set, " + std::to_string(utf8ToUtf16(value->text).size()) + " characters";
        else if (f.type == config::FieldType::Text && value->form == Value::Form::Text)
          text = "\"" + text + "\"";
        lines.emplace_back(label, text);
        if (f.type == config::FieldType::RomCode) {
          const FamilyText family = FamilyTexts(image.at(f.scope.offset));
          lines.emplace_back(tr("Type"), std::string(family.partNames));
          lines.emplace_back(tr("Description"), family.description.empty() ? "" : tr(family.description));
        }
      }
      if ((disabled || asNew) && !options.all) {
        ++hidden;
        continue;
      }
      out += "  " + r.path + "\n";
      for (const auto& [label, text] : lines) {
        const std::size_t pad = width + 2 - std::min(width, utf8ToUtf16(label).size());
        out += "    " + label + std::string(pad, ' ') + text + "\n";
      }
    }
    if (hidden > 0)
      out += "  (" + std::to_string(hidden) + (s.key == "sms" ? " disabled rules" : " records as in a new configuration") +
             " left out; --all shows them)\n";
    out += "\n";
  }
  return out;
}

int dump(const std::string& path, const DumpOptions& options) {
  ConfigImage image;
  if (!openVld(path, image)) return kUsageOrFileError;
  if (options.json) {
    JsonOptions json;
    json.showPassword = options.showPassword;
    std::printf("%s\n", toJson(image, json).dump(2).c_str());
  } else {
    std::fputs(dumpText(image, options).c_str(), stdout);
  }
  return kSuccess;
}

int exportJson(const std::string& path, const std::string& outPath) {
  ConfigImage image;
  if (!openVld(path, image)) return kUsageOrFileError;
  const std::string text = toJson(image).dump(2) + "\n";
  std::string reason;
  if (!writeFileAtomically(outPath, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()),
                           &reason)) {
    std::fprintf(stderr, "watchkeep-cli: cannot write %s: %s\n", outPath.c_str(), reason.c_str());
    return kUsageOrFileError;
  }
  return kSuccess;
}

int importJson(const std::string& jsonPath, const std::string& outPath, const std::optional<std::string>& basePath) {
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
    std::fprintf(stderr, "watchkeep-cli: cannot read %s: %s\n", jsonPath.c_str(), reason.c_str());
    return kUsageOrFileError;
  }
  const auto errors = fromJson(std::string_view(reinterpret_cast<const char*>(text->data()), text->size()), image);
  if (!errors.empty()) {
    for (const std::string& e : errors) std::fprintf(stderr, "%s: %s\n", jsonPath.c_str(), e.c_str());
    std::fprintf(stderr, "watchkeep-cli: nothing was written\n");
    return kUsageOrFileError;
  }
  // The image as the JSON gives it, not as collecting the pages would leave it.
  if (!writeFileAtomically(outPath, vld::serialize(image), &reason)) {
    std::fprintf(stderr, "watchkeep-cli: cannot write %s: %s\n", outPath.c_str(), reason.c_str());
    return kUsageOrFileError;
  }
  return kSuccess;
}

int printDifferences(const ConfigImage& a, const ConfigImage& b) {
  const config::Differences d = config::diff(a, b);
  printLines(config::describe(d, translator()));
  return d.empty() ? kSuccess : kDifferent;
}

int diffFiles(const std::string& a, const std::string& b) {
  ConfigImage ia, ib;
  if (!openVld(a, ia) || !openVld(b, ib)) return kUsageOrFileError;
  return printDifferences(ia, ib);
}

}  // namespace wk::cli
