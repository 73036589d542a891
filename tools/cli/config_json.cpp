#include "config_json.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "document/config_fields.h"
#include "document/rom_code.h"
#include "onewire/crc8.h"
#include "onewire/family_table.h"
#include "terminal_text.h"
#include "util/utf.h"

namespace wk::cli {
namespace {

using config::Field;
using config::FieldType;
using config::Value;
using Json = nlohmann::ordered_json;

// The informational keys of a slot that holds a ROM code: written, and
// accepted but ignored on import.
constexpr const char* kPartNames = "partNames";
constexpr const char* kDescription = "description";

bool romFailsCheck(const Value& v) {
  const auto code = RomCode::parse(v.text);
  return code && !code->isEmpty() && OneWireCrc8(*code) != 0;
}

Json valueJson(const Field& field, const std::optional<Value>& value, const JsonOptions& options) {
  if (!value) return nullptr;
  const Value& v = *value;
  if (field.secret && !options.showPassword) {
    const config::SecretShown shown = config::secretShown(v);
    return Json{{"set", shown.set}, {"length", shown.length}};
  }
  switch (v.form) {
    case Value::Form::Null:
      return nullptr;
    case Value::Form::Text:
      return v.text;
    case Value::Form::Integer:
      if (field.type == FieldType::Centidegrees) return static_cast<double>(v.number) / 100.0;
      return v.number;
    case Value::Form::Boolean:
      return v.flag;
    case Value::Form::Flags:
      return v.flags;
    case Value::Form::Code:
      return Json{{"code", v.number}};
    case Value::Form::Hex:
      return Json{{"hex", config::hexText(v.bytes)}};
  }
  return nullptr;
}

// The fields of a record as JSON members; fields with an element form one array.
Json recordJson(const config::Record& record, config::Reader& reader, const ConfigImage& image,
                const JsonOptions& options) {
  Json out = Json::object();
  for (const Field& f : record.fields) {
    std::optional<Value> value = reader.read(f);
    if (f.type == FieldType::RomCode && value && value->form == Value::Form::Text && romFailsCheck(*value)) {
      // Not a code the controller hands over: carried as its bytes.
      const auto code = RomCode::parse(value->text);
      value = Value::ofHex({code->bytes.begin(), code->bytes.end()});
    }
    Json j = valueJson(f, value, options);
    if (f.element > 0) {
      if (!out.contains(f.key)) out[f.key] = Json::array();
      out[f.key].push_back(std::move(j));
    } else {
      out[f.key] = std::move(j);
    }
    if (f.type == FieldType::RomCode) {
      const auto bytes = image.slice(f.scope.offset, RomCode::kSize);
      const FamilyText family = FamilyTexts(bytes[0]);
      out[kPartNames] = std::string(family.partNames);
      out[kDescription] = std::string(family.description);
    }
  }
  return out;
}

}  // namespace

nlohmann::ordered_json toJson(const ConfigImage& image, const JsonOptions& options) {
  Json root = Json::object();
  root["format"] = kJsonFormat;
  root["formatVersion"] = kJsonFormatVersion;
  config::Reader reader(image);
  for (const config::Section& s : config::Description::get().sections()) {
    if (s.single) {
      root[s.key] = recordJson(s.records.front(), reader, image, options);
    } else {
      Json list = Json::array();
      for (const config::Record& r : s.records) list.push_back(recordJson(r, reader, image, options));
      root[s.key] = std::move(list);
    }
  }
  return root;
}

// ---------------------------------------------------------------------------
// Schema

namespace {

Json fieldSchema(const Field& f) {
  Json typed;
  switch (f.type) {
    case FieldType::Text:
      typed = {{"type", "string"}};
      break;
    case FieldType::Phone:
      typed = {{"type", "string"}, {"pattern", "^(00)?[0-9]{0,16}$"}};
      break;
    case FieldType::RomCode:
      typed = {{"type", "string"}, {"pattern", "^[0-9A-Fa-f]{16}$"}};
      break;
    case FieldType::Choice: {
      Json items = Json::array();
      for (const config::Item& i : f.items) items.push_back(i.text);
      typed = {{"enum", items}};
      break;
    }
    case FieldType::Integer:
    case FieldType::Seconds:
      typed = {{"type", "integer"}, {"minimum", f.min}, {"maximum", f.max}};
      break;
    case FieldType::Centidegrees:
      typed = {{"type", "number"}, {"minimum", -327.68}, {"maximum", 327.67}};
      break;
    case FieldType::Boolean:
      typed = {{"type", "boolean"}};
      break;
    case FieldType::Flags: {
      Json items = Json::array();
      for (const config::Item& i : f.items) items.push_back(i.text);
      typed = {{"type", "array"}, {"items", {{"enum", items}}}};
      break;
    }
  }
  Json any = Json::array({typed});
  if (f.type == FieldType::Phone || f.applies) any.push_back({{"type", "null"}});
  if (f.getCode) any.push_back({{"$ref", "#/$defs/code"}});
  if (f.hexHeader > 0) any.push_back({{"$ref", "#/$defs/hex"}});
  if (f.secret) any.push_back({{"$ref", "#/$defs/hiddenPassword"}});
  Json out = any.size() == 1 ? typed : Json{{"anyOf", any}};
  out["description"] = f.label;
  return out;
}

Json recordSchema(const config::Record& r) {
  Json properties = Json::object();
  for (const Field& f : r.fields) {
    if (f.element > 1) continue;
    if (f.element == 1) {
      const auto count = std::count_if(r.fields.begin(), r.fields.end(), [&](const Field& g) { return g.key == f.key; });
      Json item = fieldSchema(f);
      properties[f.key] = {{"type", "array"}, {"minItems", count}, {"maxItems", count}, {"items", item}};
    } else {
      properties[f.key] = fieldSchema(f);
    }
    if (f.type == FieldType::RomCode) {
      properties[kPartNames] = {{"type", "string"}, {"description", "the family's part names; ignored on import"}};
      properties[kDescription] = {{"type", "string"}, {"description", "the family's description; ignored on import"}};
    }
  }
  return {{"type", "object"}, {"additionalProperties", false}, {"properties", properties}};
}

}  // namespace

nlohmann::ordered_json jsonSchema() {
  Json root = {
      {"$schema", "https://json-schema.org/draft/2020-12/schema"},
      {"$id", "watchkeep-configuration.schema.json"},
      {"title", "GZ4410 configuration"},
      {"description", "A configuration as watchkeep-cli export writes it and import reads it."},
      {"type", "object"},
      {"additionalProperties", false},
  };
  Json properties = {
      {"format", {{"const", kJsonFormat}}},
      {"formatVersion", {{"const", kJsonFormatVersion}}},
  };
  Json defs = {
      {"code",
       {{"description", "the field's stored code, for a value no list item carries"},
        {"type", "object"},
        {"additionalProperties", false},
        {"required", {"code"}},
        {"properties", {{"code", {{"type", "integer"}, {"minimum", 0}}}}}}},
      {"hex",
       {{"description", "the bytes the field holds, for a value the program would not write"},
        {"type", "object"},
        {"additionalProperties", false},
        {"required", {"hex"}},
        {"properties", {{"hex", {{"type", "string"}, {"pattern", "^([0-9A-Fa-f]{2})*$"}}}}}}},
      {"hiddenPassword",
       {{"description", "dump --json without --show-password; import keeps the base's password"},
        {"type", "object"},
        {"additionalProperties", false},
        {"properties", {{"set", {{"type", "boolean"}}}, {"length", {{"type", "integer"}, {"minimum", 0}}}}}}},
  };
  for (const config::Section& s : config::Description::get().sections()) {
    defs[s.key] = recordSchema(s.records.front());
    const Json ref = {{"$ref", "#/$defs/" + s.key}};
    if (s.single)
      properties[s.key] = ref;
    else
      properties[s.key] = {{"description", s.title},
                           {"type", "array"},
                           {"minItems", s.records.size()},
                           {"maxItems", s.records.size()},
                           {"items", ref}};
  }
  root["properties"] = properties;
  root["$defs"] = defs;
  return root;
}

// ---------------------------------------------------------------------------
// Import

namespace {

constexpr std::size_t kMaxErrors = 100;
// A message quotes at most this much of a value (a number of 100 000 digits).
constexpr std::size_t kMaxMessageBytes = 400;

std::string cutMessage(const std::string& message) { return cutText(message, kMaxMessageBytes); }

class Importer {
 public:
  explicit Importer(ConfigImage& image) : image_(image) {}

  void root(const Json& j) {
    if (!j.is_object()) return fail("(top)", "is " + typeName(j) + ", not an object");
    const auto& sections = config::Description::get().sections();
    for (const auto& member : j.items()) {
      const std::string& key = member.key();
      const Json& value = member.value();
      if (key == "format") {
        if (!value.is_string() || value.get<std::string>() != kJsonFormat)
          fail("format", std::string("is not \"") + kJsonFormat + "\"");
      } else if (key == "formatVersion") {
        if (!value.is_number_integer() || value.get<std::int64_t>() != kJsonFormatVersion)
          fail("formatVersion", "is not " + std::to_string(kJsonFormatVersion));
      } else if (std::none_of(sections.begin(), sections.end(), [&](const auto& s) { return s.key == key; })) {
        fail(key, "unknown key");
      }
    }
    for (const config::Section& s : sections) {
      if (!j.contains(s.key)) continue;
      const Json& value = j[s.key];
      if (s.single) {
        record(s.records.front(), value);
        continue;
      }
      if (!value.is_array()) {
        fail(s.key, "is " + typeName(value) + ", not an array of " + std::to_string(s.records.size()) + " records");
        continue;
      }
      if (value.size() != s.records.size()) {
        fail(s.key, "holds " + std::to_string(value.size()) + " records, not " + std::to_string(s.records.size()));
        continue;
      }
      for (std::size_t i = 0; i < s.records.size(); ++i) record(s.records[i], value[i]);
    }
  }

  // The errors, the first kMaxErrors of them and how many more there were.
  std::vector<std::string> report() const {
    std::vector<std::string> out = errors_;
    if (failures_ > errors_.size()) out.push_back("and " + std::to_string(failures_ - errors_.size()) + " more errors");
    return out;
  }

 private:
  static std::string typeName(const Json& j) {
    if (j.is_null()) return "null";
    if (j.is_boolean()) return "a boolean";
    if (j.is_number()) return "a number";
    if (j.is_string()) return "a string";
    if (j.is_array()) return "an array";
    return "an object";
  }

  void fail(const std::string& path, const std::string& what) {
    ++failures_;
    if (errors_.size() < kMaxErrors) errors_.push_back(cutMessage(path + ": " + what));
  }

  void record(const config::Record& r, const Json& j) {
    if (!j.is_object()) return fail(r.path, "is " + typeName(j) + ", not an object");
    std::set<std::string> known;
    bool hasRom = false;
    for (const Field& f : r.fields) {
      known.insert(f.key);
      hasRom = hasRom || f.type == FieldType::RomCode;
    }
    for (const auto& [key, value] : j.items()) {
      if (hasRom && (key == kPartNames || key == kDescription)) {
        if (!value.is_string()) fail(r.path + "." + key, "is " + typeName(value) + ", not a string");
      } else if (!known.count(key)) {
        fail(r.path + "." + key, "unknown key");
      }
    }
    for (std::size_t i = 0; i < r.fields.size(); ++i) {
      const Field& f = r.fields[i];
      if (!j.contains(f.key)) continue;
      const Json& value = j[f.key];
      if (f.element == 0) {
        field(f, f.path, value);
        continue;
      }
      if (f.element > 1) continue;  // the whole list goes with its first element
      std::size_t count = 0;
      while (i + count < r.fields.size() && r.fields[i + count].key == f.key) ++count;
      const std::string listPath = r.path + "." + f.key;
      if (!value.is_array()) {
        fail(listPath, "is " + typeName(value) + ", not an array of " + std::to_string(count));
        continue;
      }
      if (value.size() != count) {
        fail(listPath, "holds " + std::to_string(value.size()) + " entries, not " + std::to_string(count));
        continue;
      }
      for (std::size_t e = 0; e < count; ++e) field(r.fields[i + e], r.fields[i + e].path, value[e]);
    }
  }

  void field(const Field& f, const std::string& path, const Json& j) {
    const bool applies = !f.applies || f.applies(image_);
    if (!applies) {
      if (!j.is_null()) fail(path, "means nothing for this record (give null or leave it out)");
      return;
    }
    std::optional<Value> value = convert(f, path, j);
    if (!value) return;
    if (auto error = config::write(f, image_, *value)) fail(path, *error);
  }

  // The JSON value as a value of the field; nothing (and an error) when its
  // type does not fit. The hidden password form is nothing without an error.
  std::optional<Value> convert(const Field& f, const std::string& path, const Json& j) {
    if (j.is_object()) return raw(f, path, j);
    switch (f.type) {
      case FieldType::Phone:
        if (j.is_null()) return Value{};
        [[fallthrough]];
      case FieldType::Text:
      case FieldType::Choice:
        if (j.is_string()) return Value::ofText(j.get<std::string>());
        break;
      case FieldType::RomCode:
        if (j.is_string()) {
          Value v = Value::ofText(j.get<std::string>());
          if (romFailsCheck(v)) {
            fail(path, "\"" + v.text + "\" fails the ROM code's CRC check");
            return std::nullopt;
          }
          return v;
        }
        break;
      case FieldType::Integer:
      case FieldType::Seconds:
        if (j.is_number_integer()) {
          if (j.is_number_unsigned() && j.get<std::uint64_t>() > static_cast<std::uint64_t>(INT64_MAX)) {
            fail(path, "is out of range " + std::to_string(f.min) + ".." + std::to_string(f.max));
            return std::nullopt;
          }
          return Value::ofInteger(j.get<std::int64_t>());
        }
        if (j.is_number_float()) {
          fail(path, "takes a whole number");
          return std::nullopt;
        }
        break;
      case FieldType::Centidegrees:
        if (j.is_number()) {
          const double degrees = j.get<double>();
          const double hundredths = degrees * 100.0;
          const double rounded = std::round(hundredths);
          if (!std::isfinite(hundredths) || rounded < INT16_MIN || rounded > INT16_MAX) {
            fail(path, "is out of range -327.68..327.67");
            return std::nullopt;
          }
          // Exactly a number of hundredths, however small: 1e-10 is no 0.00.
          if (rounded / 100.0 != degrees) {
            fail(path, "has more than two decimals");
            return std::nullopt;
          }
          return Value::ofInteger(static_cast<std::int64_t>(rounded));
        }
        break;
      case FieldType::Boolean:
        if (j.is_boolean()) return Value::ofBoolean(j.get<bool>());
        break;
      case FieldType::Flags:
        if (j.is_array()) {
          std::vector<std::string> flags;
          for (std::size_t i = 0; i < j.size(); ++i) {
            if (!j[i].is_string()) {
              fail(path + "[" + std::to_string(i) + "]", "is " + typeName(j[i]) + ", not a string");
              return std::nullopt;
            }
            flags.push_back(j[i].get<std::string>());
          }
          return Value::ofFlags(std::move(flags));
        }
        break;
    }
    fail(path, "is " + typeName(j) + ", not " + expected(f));
    return std::nullopt;
  }

  std::optional<Value> raw(const Field& f, const std::string& path, const Json& j) {
    if (f.secret && (j.contains("set") || j.contains("length"))) {
      // The hidden form of dump --json: the password stays as the base holds
      // it, provided that is the one the dump hid; else a configuration
      // would go out with a password nobody gave.
      for (const auto& [key, value] : j.items())
        if ((key != "set" || !value.is_boolean()) && (key != "length" || !value.is_number_unsigned())) {
          fail(path, "the hidden password form holds only \"set\" (true or false) and \"length\" (a number)");
          return std::nullopt;
        }
      const std::optional<Value> base = config::Reader(image_).read(f);
      const config::SecretShown held = base ? config::secretShown(*base) : config::SecretShown{};
      const bool sameSet = !j.contains("set") || j["set"].get<bool>() == held.set;
      const bool sameLength = !j.contains("length") || j["length"].get<std::uint64_t>() == held.length;
      if (!sameSet || !sameLength)
        fail(path, "is hidden, and the base holds another password (" + config::secretText(held) +
                       "): give the password itself (export, or dump --json --show-password), or the file it "
                       "was dumped from as --base");
      return std::nullopt;
    }
    if (j.size() != 1 || !(j.contains("code") || j.contains("hex"))) {
      fail(path, "an object here holds \"code\" or \"hex\" alone");
      return std::nullopt;
    }
    if (j.contains("code")) {
      if (!f.getCode) {
        fail(path, "takes no code");
        return std::nullopt;
      }
      const Json& c = j["code"];
      if (!c.is_number_unsigned() || c.get<std::uint64_t>() > 0xFFFFFFFFu) {
        fail(path + ".code", "is not a code (a whole number from 0)");
        return std::nullopt;
      }
      return Value::ofCode(c.get<std::int64_t>());
    }
    if (f.hexHeader == 0) {
      fail(path, "takes no hex bytes");
      return std::nullopt;
    }
    const Json& h = j["hex"];
    const auto bytes = h.is_string() ? config::parseHex(h.get<std::string>()) : std::nullopt;
    if (!bytes) {
      fail(path + ".hex", "is not an even number of hexadecimal digits");
      return std::nullopt;
    }
    return Value::ofHex(*bytes);
  }

  static std::string expected(const Field& f) {
    switch (f.type) {
      case FieldType::Text:
        return "a text";
      case FieldType::Phone:
        return "a phone number (a string of digits) or null";
      case FieldType::RomCode:
        return "a ROM code (a string of 16 hexadecimal digits)";
      case FieldType::Choice:
        return "one of its list's texts (a string)";
      case FieldType::Integer:
      case FieldType::Seconds:
        return "a whole number";
      case FieldType::Centidegrees:
        return "a temperature in degrees (a number)";
      case FieldType::Boolean:
        return "true or false";
      case FieldType::Flags:
        return "an array of its list's texts";
    }
    return "a value";
  }

  ConfigImage& image_;
  std::vector<std::string> errors_;
  std::size_t failures_ = 0;
};

// The largest array and object a configuration holds: anything larger is
// refused while it is read, so a hostile file costs no more than its length.
struct Bounds {
  std::size_t elements = 0;
  std::size_t members = 0;
  std::size_t values = 0;  // in the whole text
};

const Bounds& bounds() {
  static const Bounds b = [] {
    Bounds out;
    const auto& sections = config::Description::get().sections();
    out.members = sections.size() + 2;  // and format, formatVersion
    for (const config::Section& s : sections) {
      out.elements = std::max(out.elements, s.records.size());
      for (const config::Record& r : s.records) {
        std::set<std::string> keys;
        for (const Field& f : r.fields) {
          keys.insert(f.key);
          // A field's value, or its code or hex form (an object and its
          // member), or the items of its list; and the informational texts.
          out.values += 4 + f.items.size();
          out.elements = std::max(out.elements, f.items.size());
          out.elements = std::max<std::size_t>(
              out.elements, static_cast<std::size_t>(std::count_if(r.fields.begin(), r.fields.end(),
                                                                   [&](const Field& g) { return g.key == f.key; })));
        }
        out.members = std::max(out.members, keys.size() + 2);  // and partNames, description
      }
    }
    return out;
  }();
  return b;
}

// Builds the document from the parser's events, refusing two members with
// one key (the parser would keep the last without a word, so an edit or a
// merge that left a field twice would write one of them silently), a NUL
// outside a string, and arrays or objects larger than a configuration holds.
// Paths count array elements from 1, as the records are counted.
class DocumentBuilder : public nlohmann::json_sax<Json> {
 public:
  DocumentBuilder() = default;

  bool null() override { return add(nullptr); }
  bool boolean(bool b) override { return add(b); }
  bool number_integer(number_integer_t n) override { return add(n); }
  bool number_unsigned(number_unsigned_t n) override { return add(n); }
  bool number_float(number_float_t n, const string_t&) override { return add(n); }
  bool string(string_t& s) override { return add(std::move(s)); }
  bool binary(binary_t&) override { return add(nullptr); }  // JSON text has none
  bool start_object(std::size_t) override { return open(Json::object()); }
  bool start_array(std::size_t) override { return open(Json::array()); }
  bool end_object() override { return close(); }
  bool end_array() override { return close(); }

  bool key(string_t& k) override {
    Frame& f = frames_.back();
    if (f.value->size() >= bounds().members)
      return stop(where(f) + ": holds more members than any object of a configuration");
    if (f.value->contains(k)) {
      error = where(f) + ": the key \"" + k + "\" appears twice";
      return false;
    }
    f.key = std::move(k);
    return true;
  }

  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& e) override {
    // A syntax error, or a number beyond what any number holds.
    std::string what = e.what();
    // "[json.exception.parse_error.101] parse error at line 1, column 2: ..."
    if (const auto at = what.find("] "); at != std::string::npos) what = what.substr(at + 2);
    return stop("not JSON: " + what);
  }

  Json root;
  std::string error;

 private:
  struct Frame {
    Json* value;
    std::string path;
    std::string key;
    std::size_t count = 0;  // array elements so far
  };

  bool stop(const std::string& why) {
    error = why;
    return false;
  }

  static std::string where(const Frame& f) { return f.path.empty() ? "(top)" : f.path; }

  // Where the next value goes, and its path; nothing when it would make an
  // array larger than a configuration holds.
  Json* slot(std::string* path) {
    if (frames_.empty()) {
      *path = {};
      return &root;
    }
    Frame& parent = frames_.back();
    if (++values_ > bounds().values) {
      error = where(parent) + ": the text holds more values than any configuration";
      return nullptr;
    }
    if (parent.value->is_object()) {
      *path = parent.path.empty() ? parent.key : parent.path + "." + parent.key;
      return &(*parent.value)[parent.key];
    }
    const std::size_t n = ++parent.count;
    if (n > bounds().elements) {
      error = where(parent) + ": holds more than " + std::to_string(bounds().elements) +
              " entries, more than any list of a configuration";
      return nullptr;
    }
    *path = parent.path + "[" + std::to_string(n) + "]";
    // A record of a section, by its own path.
    if (frames_.size() == 2)
      for (const config::Section& s : config::Description::get().sections())
        if (s.key == parent.path && n <= s.records.size()) *path = s.records[n - 1].path;
    parent.value->push_back(nullptr);
    return &parent.value->back();
  }

  bool add(Json value) {
    std::string path;
    Json* at = slot(&path);
    if (!at) return false;
    *at = std::move(value);
    return true;
  }

  bool open(Json empty) {
    std::string path;
    Json* at = slot(&path);
    if (!at) return false;
    *at = std::move(empty);
    frames_.push_back({at, std::move(path), {}, 0});
    return true;
  }

  bool close() {
    frames_.pop_back();
    return true;
  }

  std::vector<Frame> frames_;
  std::size_t values_ = 0;
};

// Nesting deeper than any configuration needs is refused before parsing, and
// so is a NUL outside a string: the parser would take it for the end of the
// text and leave the rest unread.
std::optional<std::string> prescan(std::string_view text, int depthLimit) {
  int depth = 0;
  bool inString = false, escaped = false;
  for (std::size_t at = 0; at < text.size(); ++at) {
    const char c = text[at];
    if (inString) {
      if (escaped)
        escaped = false;
      else if (c == '\\')
        escaped = true;
      else if (c == '"')
        inString = false;
      continue;
    }
    if (c == '\0') return "not JSON: a NUL byte at offset " + std::to_string(at);
    if (c == '"') inString = true;
    if (c == '[' || c == '{') {
      if (++depth > depthLimit) return "the JSON text is nested deeper than a configuration";
    } else if (c == ']' || c == '}') {
      --depth;
    }
  }
  return std::nullopt;
}

}  // namespace

std::vector<std::string> fromJson(std::string_view text, ConfigImage& image) {
  if (text.size() > kMaxJsonBytes) return {"the JSON text is larger than 16 MiB"};
  if (auto problem = prescan(text, 16)) return {*problem};
  DocumentBuilder builder;
  if (!Json::sax_parse(text.begin(), text.end(), &builder) || !builder.error.empty())
    return {cutMessage(builder.error.empty() ? "not JSON" : builder.error)};
  Importer importer(image);
  importer.root(builder.root);
  return importer.report();
}

}  // namespace wk::cli
