#include "document/config_fields.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include "document/alias_record.h"
#include "document/centidegrees.h"
#include "document/config_field_kinds.h"
#include "document/phone_number_field.h"
#include "util/bytes.h"
#include "util/strformat.h"
#include "util/utf.h"

namespace wk::config {

Value Value::ofText(std::string t) {
  Value v;
  v.form = Form::Text;
  v.text = std::move(t);
  return v;
}
Value Value::ofInteger(std::int64_t n) {
  Value v;
  v.form = Form::Integer;
  v.number = n;
  return v;
}
Value Value::ofBoolean(bool b) {
  Value v;
  v.form = Form::Boolean;
  v.flag = b;
  return v;
}
Value Value::ofFlags(std::vector<std::string> f) {
  Value v;
  v.form = Form::Flags;
  v.flags = std::move(f);
  return v;
}
Value Value::ofCode(std::int64_t code) {
  Value v;
  v.form = Form::Code;
  v.number = code;
  return v;
}
Value Value::ofHex(std::vector<std::uint8_t> b) {
  Value v;
  v.form = Form::Hex;
  v.bytes = std::move(b);
  return v;
}

SecretShown secretShown(const Value& value) {
  switch (value.form) {
    case Value::Form::Text: {
      const std::size_t length = utf16(value.text).size();
      return {length > 0, length};
    }
    case Value::Form::Hex:
      if (!value.bytes.empty()) return {value.bytes[0] != 0, value.bytes[0]};
      return {};
    default:
      return {};
  }
}

std::string secretText(const SecretShown& shown) {
  if (!shown.set) return "not set";
  return "set, " + std::to_string(shown.length) + (shown.length == 1 ? " character" : " characters");
}

void setCodeForm(Field& field, const Accessor& accessor) {
  field.getCode = accessor.get;
  field.setCode = accessor.set;
  field.maxCode = [max = accessor.max](const ConfigImage&) { return max; };
}

// ---------------------------------------------------------------------------
// The tree

const Description& Description::get() {
  static const Description description = [] {
    Description d;
    // In the order of the program's tabs.
    describeSmsData(d);
    describeChannels(d);
    describeOneWire(d);
    describeMisc(d);
    describeReports(d);
    return d;
  }();
  return description;
}

Section& Description::addSection(std::string key, std::string title, bool single) {
  sections_.push_back(Section{std::move(key), std::move(title), single, {}});
  return sections_.back();
}

void Description::addRecord(int number, std::vector<Field> fields, std::string name) {
  Section& section = sections_.back();
  Record record;
  record.number = number;
  if (name.empty()) name = std::to_string(number);
  record.path = section.single ? section.key : section.key + "[" + name + "]";
  for (Field& f : fields) {
    f.path = record.path + "." + f.key;
    if (f.element > 0) f.path += "[" + std::to_string(f.element) + "]";
  }
  record.fields = std::move(fields);
  section.records.push_back(std::move(record));
}

const Field* Description::find(std::string_view path) const {
  for (const Section& s : sections_)
    for (const Record& r : s.records)
      if (path.starts_with(r.path))
        for (const Field& f : r.fields)
          if (f.path == path) return &f;
  return nullptr;
}

// ---------------------------------------------------------------------------
// Reading and writing

std::vector<Bits> ownedBits(const Field& field, const ConfigImage& image) {
  std::vector<Bits> out;
  if (field.applies && !field.applies(image)) return out;
  field.owned(image, out);
  return out;
}

namespace {

bool sameBits(const std::vector<Bits>& a, const ConfigImage& ia, const std::vector<Bits>& b, const ConfigImage& ib) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].offset != b[i].offset || a[i].mask != b[i].mask) return false;
    if ((ia.at(a[i].offset) & a[i].mask) != (ib.at(b[i].offset) & b[i].mask)) return false;
  }
  return true;
}

std::vector<std::uint8_t> heldBytes(const std::vector<Bits>& bits, const ConfigImage& image) {
  std::vector<std::uint8_t> out;
  out.reserve(bits.size());
  for (const Bits& b : bits) out.push_back(static_cast<std::uint8_t>(image.at(b.offset) & b.mask));
  return out;
}

// The raw form of the field as the image holds it.
Value rawValue(const Field& field, const ConfigImage& image) {
  if (field.getCode) return Value::ofCode(field.getCode(image));
  return Value::ofHex(heldBytes(ownedBits(field, image), image));
}

}  // namespace

Reader::Reader(const ConfigImage& image) : image_(image), scratch_(std::make_unique<ConfigImage>(image)) {}
Reader::~Reader() = default;

std::optional<Value> Reader::read(const Field& field) {
  if (field.applies && !field.applies(image_)) return std::nullopt;
  Value value = field.decode(image_);
  if (value.isRaw()) return rawValue(field, image_);
  // A control character is nothing a page stores (and nothing to print): such a text goes as its bytes.
  if (field.type == FieldType::Text && value.form == Value::Form::Text && holdsControlCharacter(utf8ToUtf16(value.text)))
    return rawValue(field, image_);
  // The typed value stands only if storing it gives back the same bits.
  const auto error = field.encode(*scratch_, value);
  const bool same = !error && sameBits(ownedBits(field, image_), image_, ownedBits(field, *scratch_), *scratch_);
  const auto scope = image_.slice(field.scope);
  std::copy(scope.begin(), scope.end(), scratch_->slice(field.scope).begin());
  if (same) return value;
  return rawValue(field, image_);
}

std::optional<std::string> write(const Field& field, ConfigImage& image, const Value& value) {
  if (field.applies && !field.applies(image)) return std::string("means nothing here");
  switch (value.form) {
    case Value::Form::Code: {
      if (!field.getCode) return std::string("takes no code");
      const std::uint32_t max = field.maxCode(image);
      if (value.number < 0 || value.number > max)
        return strprintf("code %lld is out of range 0..%u", static_cast<long long>(value.number), max);
      field.setCode(image, static_cast<std::uint32_t>(value.number));
      return std::nullopt;
    }
    case Value::Form::Hex: {
      if (field.hexHeader == 0) return std::string("takes no hex bytes");
      if (value.bytes.size() < field.hexHeader)
        return strprintf("hex needs at least %zu bytes", field.hexHeader);
      // The first bytes lie where they always lie, and fix where the rest go.
      const auto before = ownedBits(field, image);
      if (before.size() < field.hexHeader) return std::string("takes no hex bytes here");
      for (std::size_t i = 0; i < field.hexHeader; ++i) {
        std::uint8_t& byte = image.at(before[i].offset);
        byte = static_cast<std::uint8_t>((byte & ~before[i].mask) | (value.bytes[i] & before[i].mask));
      }
      const auto bits = ownedBits(field, image);
      if (bits.size() != value.bytes.size())
        return strprintf("hex holds %zu bytes, its length bytes call for %zu", value.bytes.size(), bits.size());
      for (std::size_t i = 0; i < bits.size(); ++i) {
        if ((value.bytes[i] & ~bits[i].mask) != 0) return strprintf("hex byte %zu sets bits the field does not hold", i);
        std::uint8_t& byte = image.at(bits[i].offset);
        byte = static_cast<std::uint8_t>((byte & ~bits[i].mask) | value.bytes[i]);
      }
      return std::nullopt;
    }
    default:
      if (field.type == FieldType::Text && value.form == Value::Form::Text) {
        const std::u16string text = utf8ToUtf16(value.text);
        for (const char16_t c : text)
          if (holdsControlCharacter(std::u16string_view(&c, 1)))
            return strprintf("holds the control character U+%04X, which no page stores", static_cast<unsigned>(c));
      }
      return field.encode(image, value);
  }
}

std::vector<std::uint8_t> ownedMask(const ConfigImage& image) {
  std::vector<std::uint8_t> mask(image::kSize, 0);
  std::vector<Bits> bits;
  for (const Section& s : Description::get().sections())
    for (const Record& r : s.records)
      for (const Field& f : r.fields) {
        bits.clear();
        if (f.applies && !f.applies(image)) continue;
        f.owned(image, bits);
        for (const Bits& b : bits) mask[b.offset] = static_cast<std::uint8_t>(mask[b.offset] | b.mask);
      }
  return mask;
}

// ---------------------------------------------------------------------------
// Showing values

std::string hexText(std::span<const std::uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (const std::uint8_t b : bytes) {
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
  }
  return out;
}

std::optional<std::vector<std::uint8_t>> parseHex(std::string_view text) {
  if (text.size() % 2 != 0) return std::nullopt;
  auto digit = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  std::vector<std::uint8_t> out;
  out.reserve(text.size() / 2);
  for (std::size_t i = 0; i < text.size(); i += 2) {
    const int h = digit(text[i]), l = digit(text[i + 1]);
    if (h < 0 || l < 0) return std::nullopt;
    out.push_back(static_cast<std::uint8_t>(h * 16 + l));
  }
  return out;
}

std::string secondsText(std::int64_t seconds) {
  return strprintf("%lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                   static_cast<long long>(seconds % 3600 / 60), static_cast<long long>(seconds % 60));
}

std::string centidegreesText(std::int64_t value) {
  return Centidegrees::text(static_cast<std::int16_t>(value));
}

std::string displayText(const Field& field, const Value& value, const Translator& translate) {
  if (field.display && !value.isRaw() && value.form != Value::Form::Null) return field.display(value, translate);
  auto tr = [&](std::string_view text) { return translate ? translate(text) : std::string(text); };
  switch (value.form) {
    case Value::Form::Null:
      return "(none)";
    case Value::Form::Text:
      if (field.type == FieldType::Choice) return tr(value.text);
      return value.text;
    case Value::Form::Integer:
      if (field.type == FieldType::Centidegrees) return centidegreesText(value.number);
      if (field.type == FieldType::Seconds) return secondsText(value.number);
      return std::to_string(value.number);
    case Value::Form::Boolean:
      return value.flag ? "yes" : "no";
    case Value::Form::Flags: {
      if (value.flags.empty()) return "-";
      std::string out;
      for (const std::string& f : value.flags) {
        if (!out.empty()) out += ", ";
        out += tr(f);
      }
      return out;
    }
    case Value::Form::Code:
      return "(" + std::to_string(value.number) + ")";
    case Value::Form::Hex:
      return "hex:" + hexText(value.bytes);
  }
  return {};
}

std::string regionOf(std::size_t offset) {
  struct Named {
    const char* name;
    ImageBlock block;
  };
  static constexpr std::array<Named, 16> kRegions{{
      {"SmsRecords", image::SmsRecords},
      {"SmsComments", image::SmsComments},
      {"ChannelAliases", image::ChannelAliases},
      {"UserEventBlock", image::UserEventBlock},
      {"OutputAliases", image::OutputAliases},
      {"SensorAliases", image::SensorAliases},
      {"KeyComments", image::KeyComments},
      {"ReservedA", image::ReservedA},
      {"ReservedB", image::ReservedB},
      {"ChannelRecords", image::ChannelRecords},
      {"UserEventRecords", image::UserEventRecords},
      {"OutputRecords", image::OutputRecords},
      {"SensorSlots1", image::SensorSlots1},
      {"SensorSlots2", image::SensorSlots2},
      {"KeySlots", image::KeySlots},
      {"CommonSettings", image::CommonSettings},
  }};
  for (const Named& r : kRegions)
    if (offset >= r.block.offset && offset < r.block.end())
      return std::string(r.name) + "+" + std::to_string(offset - r.block.offset);
  return "image+" + std::to_string(offset);
}

// ---------------------------------------------------------------------------
// Kinds of fields

std::string utf8(std::u16string_view text) { return utf16ToUtf8(text); }
std::u16string utf16(std::string_view text) { return utf8ToUtf16(text); }

namespace {

const Item* itemWithText(const std::vector<Item>& items, std::string_view text) {
  for (const Item& i : items)
    if (i.text == text) return &i;
  return nullptr;
}

const Item* itemWithCode(const std::vector<Item>& items, std::uint32_t code) {
  for (const Item& i : items)
    if (i.code == code) return &i;
  return nullptr;
}

Field baseField(std::string key, std::string label, FieldType type, ImageBlock scope) {
  Field f;
  f.key = std::move(key);
  f.label = std::move(label);
  f.type = type;
  f.scope = scope;
  return f;
}

}  // namespace

Field choiceField(std::string key, std::string label, Accessor acc, std::vector<Item> items, ImageBlock scope) {
  Field f = baseField(std::move(key), std::move(label), FieldType::Choice, scope);
  f.items = std::move(items);
  setCodeForm(f, acc);
  f.owned = [bits = acc.bits](const ConfigImage&, std::vector<Bits>& out) {
    out.insert(out.end(), bits.begin(), bits.end());
  };
  f.decode = [get = acc.get, items = f.items](const ConfigImage& image) {
    const std::uint32_t code = get(image);
    if (const Item* item = itemWithCode(items, code)) return Value::ofText(item->text);
    return Value::ofCode(code);
  };
  f.encode = [set = acc.set, items = f.items](ConfigImage& image, const Value& v) -> std::optional<std::string> {
    if (v.form != Value::Form::Text) return std::string("takes an item of its list");
    const Item* item = itemWithText(items, v.text);
    if (!item) return "\"" + v.text + "\" is no item of its list";
    set(image, item->code);
    return std::nullopt;
  };
  return f;
}

Field booleanField(std::string key, std::string label, Accessor acc, ImageBlock scope) {
  Field f = baseField(std::move(key), std::move(label), FieldType::Boolean, scope);
  setCodeForm(f, acc);
  f.owned = [bits = acc.bits](const ConfigImage&, std::vector<Bits>& out) {
    out.insert(out.end(), bits.begin(), bits.end());
  };
  f.decode = [get = acc.get](const ConfigImage& image) {
    const std::uint32_t v = get(image);
    return v <= 1 ? Value::ofBoolean(v == 1) : Value::ofCode(v);
  };
  f.encode = [set = acc.set](ConfigImage& image, const Value& v) -> std::optional<std::string> {
    if (v.form != Value::Form::Boolean) return std::string("takes true or false");
    set(image, v.flag ? 1 : 0);
    return std::nullopt;
  };
  return f;
}

Field integerField(std::string key, std::string label, Accessor acc, ImageBlock scope, int bias) {
  Field f = baseField(std::move(key), std::move(label), FieldType::Integer, scope);
  f.min = bias;
  f.max = static_cast<std::int64_t>(acc.max) + bias;
  f.owned = [bits = acc.bits](const ConfigImage&, std::vector<Bits>& out) {
    out.insert(out.end(), bits.begin(), bits.end());
  };
  f.decode = [get = acc.get, bias](const ConfigImage& image) {
    return Value::ofInteger(static_cast<std::int64_t>(get(image)) + bias);
  };
  f.encode = [set = acc.set, bias, min = f.min, max = f.max](ConfigImage& image,
                                                             const Value& v) -> std::optional<std::string> {
    if (v.form != Value::Form::Integer) return std::string("takes a whole number");
    if (v.number < min || v.number > max)
      return strprintf("%lld is out of range %lld..%lld", static_cast<long long>(v.number),
                       static_cast<long long>(min), static_cast<long long>(max));
    set(image, static_cast<std::uint32_t>(v.number - bias));
    return std::nullopt;
  };
  return f;
}

Field secondsField(std::string key, std::string label, Accessor acc, ImageBlock scope) {
  Field f = integerField(std::move(key), std::move(label), std::move(acc), scope);
  f.type = FieldType::Seconds;
  return f;
}

Field centidegreesField(std::string key, std::string label, Accessor acc, ImageBlock scope) {
  Field f = baseField(std::move(key), std::move(label), FieldType::Centidegrees, scope);
  f.min = INT16_MIN;
  f.max = INT16_MAX;
  f.owned = [bits = acc.bits](const ConfigImage&, std::vector<Bits>& out) {
    out.insert(out.end(), bits.begin(), bits.end());
  };
  f.decode = [get = acc.get](const ConfigImage& image) {
    return Value::ofInteger(static_cast<std::int16_t>(static_cast<std::uint16_t>(get(image))));
  };
  f.encode = [set = acc.set](ConfigImage& image, const Value& v) -> std::optional<std::string> {
    if (v.form != Value::Form::Integer) return std::string("takes a temperature");
    if (v.number < INT16_MIN || v.number > INT16_MAX) return std::string("is out of range -327.68..327.67");
    set(image, static_cast<std::uint16_t>(static_cast<std::int16_t>(v.number)));
    return std::nullopt;
  };
  return f;
}

Field flagsField(std::string key, std::string label, std::vector<std::string> labels, std::vector<Bits> bits,
                 ImageBlock scope) {
  Field f = baseField(std::move(key), std::move(label), FieldType::Flags, scope);
  for (std::size_t i = 0; i < labels.size(); ++i) f.items.push_back({static_cast<std::uint32_t>(i), labels[i]});
  f.flagBits = bits;
  f.owned = [bits](const ConfigImage&, std::vector<Bits>& out) {
    // One entry per byte, in image order.
    std::vector<Bits> merged;
    for (const Bits& b : bits) {
      auto it = std::find_if(merged.begin(), merged.end(), [&](const Bits& m) { return m.offset == b.offset; });
      if (it == merged.end())
        merged.push_back(b);
      else
        it->mask = static_cast<std::uint8_t>(it->mask | b.mask);
    }
    std::sort(merged.begin(), merged.end(), [](const Bits& a, const Bits& c) { return a.offset < c.offset; });
    out.insert(out.end(), merged.begin(), merged.end());
  };
  f.decode = [bits, labels](const ConfigImage& image) {
    std::vector<std::string> set;
    for (std::size_t i = 0; i < bits.size(); ++i)
      if (image.at(bits[i].offset) & bits[i].mask) set.push_back(labels[i]);
    return Value::ofFlags(std::move(set));
  };
  f.encode = [bits, labels](ConfigImage& image, const Value& v) -> std::optional<std::string> {
    if (v.form != Value::Form::Flags) return std::string("takes a list of items");
    std::vector<bool> on(bits.size(), false);
    for (const std::string& name : v.flags) {
      const auto it = std::find(labels.begin(), labels.end(), name);
      if (it == labels.end()) return "\"" + name + "\" is no item of its list";
      on[static_cast<std::size_t>(it - labels.begin())] = true;
    }
    for (std::size_t i = 0; i < bits.size(); ++i) {
      std::uint8_t& byte = image.at(bits[i].offset);
      byte = static_cast<std::uint8_t>(on[i] ? (byte | bits[i].mask) : (byte & ~bits[i].mask));
    }
    return std::nullopt;
  };
  return f;
}

namespace {

// Characters an alias stores as themselves or as their Latin look-alike.
std::optional<std::string> aliasCharacterError(std::u16string_view text) {
  for (const char16_t c : text) {
    if (c == u'\0') return std::string("holds a NUL character");
    if (c > 0xFF && TransliterateCyrillic(c) == c)
      return "holds \"" + utf8(std::u16string(1, c)) + "\", which is neither Latin-1 nor Cyrillic";
  }
  return std::nullopt;
}

}  // namespace

Field aliasField(std::string key, std::string label, std::size_t offset) {
  const ImageBlock scope{offset, AliasRecord::kSize};
  Field f = baseField(std::move(key), std::move(label), FieldType::Text, scope);
  f.hexHeader = 1;
  f.owned = [offset](const ConfigImage& image, std::vector<Bits>& out) {
    const std::size_t n = std::min<std::size_t>(image.at(offset), AliasRecord::kMaxLength);
    for (std::size_t i = 0; i <= n; ++i) out.push_back({offset + i, 0xFF});
  };
  f.decode = [scope](const ConfigImage& image) {
    auto& bytes = const_cast<ConfigImage&>(image);  // the view is only read
    return Value::ofText(utf8(AliasRecord(bytes.slice(scope)).text()));
  };
  f.encode = [scope](ConfigImage& image, const Value& v) -> std::optional<std::string> {
    if (v.form != Value::Form::Text) return std::string("takes a text");
    const std::u16string text = utf16(v.text);
    if (auto e = aliasCharacterError(text)) return e;
    if (text.size() > AliasRecord::kMaxLength)
      return strprintf("is %zu characters long, at most %zu fit", text.size(), AliasRecord::kMaxLength);
    AliasRecord(image.slice(scope)).store(text);
    return std::nullopt;
  };
  return f;
}

Field commentField(std::string key, std::string label, std::size_t offset, CommentView view) {
  constexpr std::size_t kSize = 64;
  const ImageBlock scope{offset, kSize};
  Field f = baseField(std::move(key), std::move(label), FieldType::Text, scope);
  f.hexHeader = 1;
  // Byte 0 the count, byte 1 not ours, then the units.
  f.owned = [scope, view](const ConfigImage& image, std::vector<Bits>& out) {
    auto& bytes = const_cast<ConfigImage&>(image);  // the view is only read
    const std::size_t n = view.read(bytes.slice(scope)).size();
    out.push_back({scope.offset, 0xFF});
    for (std::size_t i = 0; i < 2 * n; ++i) out.push_back({scope.offset + 2 + i, 0xFF});
  };
  f.decode = [scope, view](const ConfigImage& image) {
    auto& bytes = const_cast<ConfigImage&>(image);  // the view is only read
    return Value::ofText(utf8(view.read(bytes.slice(scope))));
  };
  f.encode = [scope, view](ConfigImage& image, const Value& v) -> std::optional<std::string> {
    if (v.form != Value::Form::Text) return std::string("takes a text");
    const std::u16string text = utf16(v.text);
    if (text.find(u'\0') != std::u16string::npos) return std::string("holds a NUL character");
    if (text.size() > view.maxLength)
      return strprintf("is %zu UTF-16 units long, at most %zu fit", text.size(), view.maxLength);
    view.store(image.slice(scope), text);
    return std::nullopt;
  };
  return f;
}

namespace {

// Why a phone number's text form cannot be stored as given.
std::optional<std::string> phoneTextError(const std::string& text) {
  std::string_view digits = text;
  if (digits.find_first_not_of("0123456789") != std::string_view::npos)
    return "\"" + text + "\" holds characters other than digits";
  if (digits.starts_with("00")) digits.remove_prefix(2);
  if (digits.size() > PhoneNumberField::kMaxDigits)
    return strprintf("\"%s\" is too long: %zu digits, at most %zu fit (after a leading 00)", text.c_str(),
                     digits.size(), PhoneNumberField::kMaxDigits);
  return std::nullopt;
}

}  // namespace

Field wholePhoneField(std::string key, std::string label, std::size_t offset, ImageBlock scope) {
  Field f = baseField(std::move(key), std::move(label), FieldType::Phone, scope);
  f.hexHeader = PhoneNumberField::kSize;
  f.owned = [offset](const ConfigImage&, std::vector<Bits>& out) {
    for (std::size_t i = 0; i < PhoneNumberField::kSize; ++i) out.push_back({offset + i, 0xFF});
  };
  f.decode = [offset](const ConfigImage& image) {
    if (image.at(offset) == 0 && image.at(offset + 1) == 0) return Value{};  // nothing stored
    auto& bytes = const_cast<ConfigImage&>(image);  // the view is only read
    return Value::ofText(utf8(PhoneNumberField(bytes.slice(offset, PhoneNumberField::kSize)).text()));
  };
  f.encode = [offset](ConfigImage& image, const Value& v) -> std::optional<std::string> {
    const auto bytes = image.slice(offset, PhoneNumberField::kSize);
    if (v.form == Value::Form::Null) {
      std::fill(bytes.begin(), bytes.end(), std::uint8_t{0});
      return std::nullopt;
    }
    if (v.form != Value::Form::Text) return std::string("takes a phone number");
    if (auto e = phoneTextError(v.text)) return e;
    PhoneNumberField(bytes).assign(utf16(v.text));
    return std::nullopt;
  };
  return f;
}

Field countedTextField(std::string key, std::string label, ImageBlock scope, CountedText text) {
  Field f = baseField(std::move(key), std::move(label), FieldType::Text, scope);
  f.hexHeader = 1;
  f.owned = [text](const ConfigImage& image, std::vector<Bits>& out) {
    const std::size_t n = std::min<std::size_t>(image.at(text.countAt), text.maxLength);
    for (std::size_t at = text.countAt; at < text.textAt + n; ++at) out.push_back({at, 0xFF});
  };
  f.decode = [text](const ConfigImage& image) { return Value::ofText(utf8(text.read(image))); };
  f.encode = [text](ConfigImage& image, const Value& v) -> std::optional<std::string> {
    if (v.form != Value::Form::Text) return std::string("takes a text");
    const std::u16string units = utf16(v.text);
    for (const char16_t c : units)
      if (auto e = text.refuse(c)) return e;
    if (units.size() > text.maxLength)
      return strprintf("is %zu characters long, at most %zu fit", units.size(), text.maxLength);
    text.store(image, units);
    return std::nullopt;
  };
  return f;
}

Field phoneField(std::string key, std::string label, std::size_t offset, ImageBlock scope) {
  Field f = baseField(std::move(key), std::move(label), FieldType::Phone, scope);
  f.hexHeader = 1;
  f.owned = [offset](const ConfigImage& image, std::vector<Bits>& out) {
    const std::size_t n = std::min<std::size_t>(image.at(offset), PhoneNumberField::kMaxDigits);
    for (std::size_t i = 0; i < 2 + (n + 1) / 2; ++i) out.push_back({offset + i, 0xFF});
  };
  f.decode = [offset](const ConfigImage& image) {
    if (image.at(offset) == 0 && image.at(offset + 1) == 0) return Value{};  // nothing stored
    auto& bytes = const_cast<ConfigImage&>(image);  // the view is only read
    return Value::ofText(utf8(PhoneNumberField(bytes.slice(offset, PhoneNumberField::kSize)).text()));
  };
  f.encode = [offset](ConfigImage& image, const Value& v) -> std::optional<std::string> {
    if (v.form == Value::Form::Null) {
      image.at(offset) = 0;
      image.at(offset + 1) = 0;
      return std::nullopt;
    }
    if (v.form != Value::Form::Text) return std::string("takes a phone number");
    if (auto e = phoneTextError(v.text)) return e;
    PhoneNumberField(image.slice(offset, PhoneNumberField::kSize)).setText(utf16(v.text));
    return std::nullopt;
  };
  return f;
}

}  // namespace wk::config
