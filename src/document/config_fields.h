#pragma once
// The whole configuration as named fields: sections of records of fields,
// each field knowing its path ("sms[17].phone"), how to read its value from
// an image, how to write a value back with the editors' own encoding rules,
// and which bits of the image it holds. dump, export, import and diff walk
// this one description; it knows the layouts only through the record views.
//
// A value that no editor writes (an unknown code, an odd text encoding, a
// text longer than its field holds, stray filler bits) is read in a raw form
// that writes back the same bits: a choice or switch as its code, a text as
// the hex of the bytes it holds. So any image reads and writes back exactly.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "document/config_image.h"

namespace wk::config {

// What a field holds, which decides its typed value and how it is shown.
enum class FieldType {
  Text,          // free text (UTF-8)
  Phone,         // a phone number in its text form; null = nothing stored
  RomCode,       // 16 hex digits
  Choice,        // one item of a list, by its English text
  Integer,       // a whole number in [min, max]
  Centidegrees,  // hundredths of a degree, shown as degrees with two decimals
  Seconds,       // a duration in seconds, shown as h:mm:ss
  Boolean,
  Flags,         // a set of items of a list, by their English texts
};

struct Value {
  enum class Form {
    Null,     // a phone number field with nothing stored (count and type 0)
    Text,     // Text, Phone, RomCode, Choice: text
    Integer,  // Integer, Centidegrees (hundredths), Seconds: number
    Boolean,  // flag
    Flags,    // flags, in list order
    Code,     // raw: the field's bits as a number
    Hex,      // raw: the bytes the field holds, in image order
  };
  Form form = Form::Null;
  std::string text;
  std::int64_t number = 0;
  bool flag = false;
  std::vector<std::string> flags;
  std::vector<std::uint8_t> bytes;

  static Value ofText(std::string t);
  static Value ofInteger(std::int64_t n);
  static Value ofBoolean(bool b);
  static Value ofFlags(std::vector<std::string> f);
  static Value ofCode(std::int64_t code);
  static Value ofHex(std::vector<std::uint8_t> b);
  bool isRaw() const { return form == Form::Code || form == Form::Hex; }
  friend bool operator==(const Value&, const Value&) = default;
};

// Some bits of one byte of the image.
struct Bits {
  std::size_t offset;
  std::uint8_t mask;
};

// Reading and writing a value of up to 32 bits through a record view, with
// the bits the view's setter writes.
struct Accessor {
  std::function<std::uint32_t(const ConfigImage&)> get;
  std::function<void(ConfigImage&, std::uint32_t)> set;
  std::vector<Bits> bits;
  std::uint32_t max = 0;  // the largest value the bits hold
};

// An accessor of view V over scope: V(image.slice(scope)).get() and .set(v).
template <class V, class R, class A>
Accessor viewAccessor(ImageBlock scope, R (V::*get)() const, void (V::*set)(A), std::vector<Bits> bits,
                      std::uint32_t max) {
  return Accessor{
      [scope, get](const ConfigImage& image) {
        // The view is only read through here.
        const V view(const_cast<ConfigImage&>(image).slice(scope));
        return static_cast<std::uint32_t>((view.*get)());
      },
      [scope, set](ConfigImage& image, std::uint32_t value) {
        V view(image.slice(scope));
        (view.*set)(static_cast<A>(value));
      },
      std::move(bits), max};
}

struct Item {
  std::uint32_t code;  // Choice: the stored code; Flags: the bit's number in the field
  std::string text;    // English, as the program stores its list texts
};

using Translator = std::function<std::string(std::string_view)>;

struct Field {
  std::string key;    // the field's name within its record ("phone")
  std::string label;  // the program's own words for it (English)
  FieldType type = FieldType::Text;
  // The block the field's bytes lie in: no write of the field leaves it.
  ImageBlock scope{};
  // Set for the fields that form a list under one key (misc.myNumbers[3]).
  int element = 0;
  std::string path;  // set when the record is added

  std::vector<Item> items;                 // Choice, Flags (Flags: code = bit in flagBits)
  std::vector<Bits> flagBits;              // Flags: the bit of each item, by its code
  std::int64_t min = 0, max = 0;           // Integer, Seconds, Centidegrees: the typed range
  // The raw code form: the bits as a number, at most maxCode.
  std::function<std::uint32_t(const ConfigImage&)> getCode;
  std::function<void(ConfigImage&, std::uint32_t)> setCode;
  std::function<std::uint32_t(const ConfigImage&)> maxCode;
  std::size_t hexHeader = 0;               // > 0: a raw hex form; its first bytes fix its length
  bool secret = false;                     // shown only when asked for (the password)
  bool quiet = false;                      // bits no page shows: in the text dump only when not 0

  std::function<bool(const ConfigImage&)> applies;  // empty: always
  std::function<void(const ConfigImage&, std::vector<Bits>&)> owned;
  // The stored value: typed, or raw when the bits hold no typed value.
  std::function<Value(const ConfigImage&)> decode;
  // Stores a typed value; the reason when it cannot be stored as given.
  std::function<std::optional<std::string>(ConfigImage&, const Value&)> encode;
  // The value in the program's words, translated; empty: the default.
  std::function<std::string(const Value&, const Translator&)> display;
};

// The raw code form of an accessor.
void setCodeForm(Field& field, const Accessor& accessor);

// What may be shown of a secret value without the value: whether one is set
// and its length (a raw value: its first byte, the stored length).
struct SecretShown {
  bool set = false;
  std::size_t length = 0;
  friend bool operator==(const SecretShown&, const SecretShown&) = default;
};
SecretShown secretShown(const Value& value);
// "set, 3 characters" or "not set".
std::string secretText(const SecretShown& shown);

struct Record {
  std::string path;   // "sms[17]", "misc", "reports[?3]"
  int number = 0;     // as the program counts them
  std::vector<Field> fields;
};

struct Section {
  std::string key;    // "sms"
  std::string title;  // "SMS Data"
  bool single = false;  // one record, not a list of them
  std::vector<Record> records;
};

class Description {
 public:
  // The description of the whole image, built once.
  static const Description& get();

  std::span<const Section> sections() const { return sections_; }
  const Field* find(std::string_view path) const;

  // Building it.
  Section& addSection(std::string key, std::string title, bool single = false);
  // Adds a record to the last section; its fields get their paths. The path
  // names it by number, or by name when one is given ("reports[?3]").
  void addRecord(int number, std::vector<Field> fields, std::string name = {});

 private:
  std::vector<Section> sections_;
};

// Reads fields of one image, each in its typed form when writing that form
// back gives the same bits, else in its raw form.
class Reader {
 public:
  explicit Reader(const ConfigImage& image);
  ~Reader();
  Reader(const Reader&) = delete;
  Reader& operator=(const Reader&) = delete;

  // Nothing when the field means nothing in this image (a rule's condition
  // for a system event).
  std::optional<Value> read(const Field& field);

 private:
  const ConfigImage& image_;
  std::unique_ptr<ConfigImage> scratch_;
};

// Writes a value into the image with the editors' rules. The reason when it
// cannot be written as given; the image may then hold part of it.
std::optional<std::string> write(const Field& field, ConfigImage& image, const Value& value);

// The bits the field holds in this image (none when it does not apply).
std::vector<Bits> ownedBits(const Field& field, const ConfigImage& image);

// Every bit of the image that some field holds, as a mask per byte.
std::vector<std::uint8_t> ownedMask(const ConfigImage& image);

// The value in the program's words; list texts and labels go through
// translate (none: English).
std::string displayText(const Field& field, const Value& value, const Translator& translate = {});

// Text helpers shared by the front ends.
std::string hexText(std::span<const std::uint8_t> bytes);
std::optional<std::vector<std::uint8_t>> parseHex(std::string_view text);
std::string secondsText(std::int64_t seconds);  // h:mm:ss
std::string centidegreesText(std::int64_t value);  // 25.50

// The name of the region or block an image offset lies in, with the offset
// within it ("CommonSettings+2").
std::string regionOf(std::size_t offset);

}  // namespace wk::config
