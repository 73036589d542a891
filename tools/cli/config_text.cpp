#include "config_text.h"

#include <algorithm>

#include "language/translate.h"
#include "onewire/family_table.h"
#include "terminal_text.h"
#include "util/utf.h"

namespace wk::cli {

using config::Field;
using config::Value;

const config::Translator& translator() {
  static const config::Translator t = [](std::string_view text) { return tr(text); };
  return t;
}

namespace {

// A field's label as shown; the fields of a list under one key are numbered.
std::string labelOf(const Field& f) {
  std::string label = tr(f.label);
  if (f.element > 0) label += " " + std::to_string(f.element);
  return label;
}

}  // namespace

std::string dumpText(const ConfigImage& image, const TextOptions& options) {
  std::string out;
  config::Reader reader(image);
  for (const config::Section& s : config::Description::get().sections()) {
    out += escapeControls(tr(s.title)) + "\n";
    // Aligned on the labels a record shows as a rule (a quiet field seldom shows).
    std::size_t width = 0;
    for (const Field& f : s.records.front().fields) {
      if (f.quiet) continue;
      width = std::max(width, utf8ToUtf16(labelOf(f)).size());
      if (f.type == config::FieldType::RomCode) width = std::max(width, utf8ToUtf16(tr("Description")).size());
    }
    std::size_t hidden = 0;
    for (const config::Record& r : s.records) {
      std::vector<std::pair<std::string, std::string>> lines;
      bool disabled = false;
      for (const Field& f : r.fields) {
        const std::optional<Value> value = reader.read(f);
        if (!value) continue;  // means nothing in this record
        if (f.key == "enabled" && value->form == Value::Form::Boolean && !value->flag) disabled = true;
        const std::string label = labelOf(f);
        std::string text = config::displayText(f, *value, translator());
        if (f.quiet && value->form == Value::Form::Integer && value->number == 0) continue;
        if (f.secret && !options.showPassword)
          text = config::secretText(config::secretShown(*value));
        else if (f.type == config::FieldType::Text && value->form == Value::Form::Text)
          text = "\"" + text + "\"";
        lines.emplace_back(label, text);
        if (f.type == config::FieldType::RomCode) {
          const FamilyText family = FamilyTexts(image.at(f.scope.offset));
          lines.emplace_back(tr("Type"), std::string(family.partNames));
          lines.emplace_back(tr("Description"), family.description.empty() ? "" : tr(family.description));
        }
      }
      if (disabled && !options.all) {
        ++hidden;
        continue;
      }
      out += "  " + r.path + "\n";
      for (const auto& [label, text] : lines) {
        const std::size_t pad = width + 2 - std::min(width, utf8ToUtf16(label).size());
        out += "    " + escapeControls(label) + std::string(pad, ' ') + escapeControls(text) + "\n";
      }
    }
    if (hidden > 0)
      out += "  (" + std::to_string(hidden) + " disabled rules left out; --all shows them)\n";
    out += "\n";
  }
  return out;
}

}  // namespace wk::cli
