#include "document/config_diff.h"

#include "util/strformat.h"

namespace wk::config {

namespace {

bool sameRegion(std::size_t a, std::size_t b) {
  const std::string ra = regionOf(a), rb = regionOf(b);
  return ra.compare(0, ra.find('+'), rb, 0, rb.find('+')) == 0;
}

}  // namespace

Differences diff(const ConfigImage& a, const ConfigImage& b) {
  Differences out;
  Reader ra(a), rb(b);
  for (const Section& s : Description::get().sections())
    for (const Record& r : s.records)
      for (const Field& f : r.fields) {
        auto va = ra.read(f);
        auto vb = rb.read(f);
        if (va != vb) out.fields.push_back({&f, std::move(va), std::move(vb)});
      }
  // The bits no field holds in either image, by offset, in runs within a
  // region; a secret field's bytes make runs of their own.
  const auto ma = ownedMask(a);
  const auto mb = ownedMask(b);
  std::vector<bool> secret(image::kSize, false);
  for (const Section& s : Description::get().sections())
    for (const Record& r : s.records)
      for (const Field& f : r.fields)
        if (f.secret)
          for (std::size_t i = f.scope.offset; i < f.scope.end(); ++i) secret[i] = true;
  for (std::size_t i = 0; i < image::kSize; ++i) {
    const std::uint8_t loose = static_cast<std::uint8_t>(~(ma[i] | mb[i]));
    if (((a.at(i) ^ b.at(i)) & loose) == 0) continue;
    const bool extends = !out.bytes.empty() && out.bytes.back().offset + out.bytes.back().before.size() == i &&
                         sameRegion(out.bytes.back().offset, i) && out.bytes.back().secret == secret[i];
    if (!extends) out.bytes.push_back({i, {}, {}, secret[i]});
    out.bytes.back().before.push_back(a.at(i));
    out.bytes.back().after.push_back(b.at(i));
  }
  return out;
}

namespace {

std::string shown(const Field& field, const std::optional<Value>& value, const Translator& translate,
                  bool showSecrets) {
  if (!value) return "(not used)";
  if (field.secret && !showSecrets) return secretText(secretShown(*value));
  std::string text = displayText(field, *value, translate);
  // Free texts in quotes, so that an empty one or one with blanks shows.
  if (field.type == FieldType::Text && value->form == Value::Form::Text) return "\"" + text + "\"";
  if (field.type == FieldType::Phone && value->form == Value::Form::Text && text.empty()) return "\"\"";
  return text;
}

std::string spaced(const std::vector<std::uint8_t>& bytes) {
  std::string out;
  for (const std::uint8_t b : bytes) {
    if (!out.empty()) out += ' ';
    out += strprintf("%02X", b);
  }
  return out;
}

}  // namespace

std::vector<std::string> describe(const Differences& differences, const Translator& translate, bool showSecrets) {
  std::vector<std::string> lines;
  for (const FieldChange& c : differences.fields) {
    std::string line = c.field->path + ": " + shown(*c.field, c.before, translate, showSecrets) + " -> " +
                       shown(*c.field, c.after, translate, showSecrets);
    if (c.field->secret && !showSecrets && c.before && c.after &&
        secretShown(*c.before) == secretShown(*c.after))
      line += " (changed)";
    lines.push_back(std::move(line));
  }
  for (const ByteChange& c : differences.bytes) {
    const std::size_t last = c.offset + c.before.size() - 1;
    const std::string where = c.before.size() == 1 ? strprintf("image[%zu] (%s)", c.offset, regionOf(c.offset).c_str())
                                                   : strprintf("image[%zu..%zu] (%s..%s)", c.offset, last,
                                                               regionOf(c.offset).c_str(), regionOf(last).c_str());
    if (c.secret && !showSecrets)
      lines.push_back(where + ": changed (hidden)");
    else
      lines.push_back(where + ": " + spaced(c.before) + " -> " + spaced(c.after));
  }
  return lines;
}

}  // namespace wk::config
