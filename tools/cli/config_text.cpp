#include "config_text.h"

#include <algorithm>

#include "document/c4410_doc.h"
#include "language/translate.h"
#include "onewire/family_table.h"
#include "util/utf.h"

namespace wk::cli {

using config::Field;
using config::Value;

const config::Translator& translator() {
  static const config::Translator t = [](std::string_view text) { return tr(text); };
  return t;
}

std::string dumpText(const ConfigImage& image, const TextOptions& options) {
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

}  // namespace wk::cli
