// The notification rules as fields: sms[1] .. sms[256].
#include <algorithm>

#include "document/config_field_kinds.h"
#include "document/notification_lists.h"
#include "document/notification_record.h"
#include "document/notification_row.h"
#include "document/sms_text.h"
#include "util/strformat.h"

namespace wk::config {
namespace {

const NotificationTexts& englishTexts() {
  static const NotificationTexts texts;
  return texts;
}

NotificationRecord recordAt(const ConfigImage& image, ImageBlock scope) {
  return NotificationRecord(const_cast<ConfigImage&>(image).slice(scope));  // only read through
}

bool hasSource(const ConfigImage& image, ImageBlock scope) {
  return recordAt(image, scope).sourceCategory() < source::kCategoryCount;
}

bool hasCondition(const ConfigImage& image, ImageBlock scope) {
  const std::uint8_t category = recordAt(image, scope).sourceCategory();
  return category >= source::kMainChannel && category <= source::kIButton;
}

// The source of a rule: its text in the category's list ("Main Channel 3",
// "Net Lost"); an index beyond the list, or an event code no entry carries,
// as its code.
Field sourceField(ImageBlock scope) {
  Field f;
  f.key = "source";
  f.label = "Source";
  f.type = FieldType::Choice;
  f.scope = scope;
  // Every category's sources, for the front ends that list what may be given.
  for (const auto& items : englishTexts().sourceItems)
    for (const auto& text : items) f.items.push_back({0, utf8(text)});
  const std::size_t at = scope.offset;
  f.applies = [scope](const ConfigImage& image) { return hasSource(image, scope); };
  f.owned = [at, scope](const ConfigImage& image, std::vector<Bits>& out) {
    switch (recordAt(image, scope).sourceCategory()) {
      case source::kSystemEvent:
        out.push_back({at + 5, 0xFF});
        break;
      case source::kMainChannel:
      case source::kUserEvent:
      case source::kThermosensor:
        out.push_back({at + 4, 0xF8});
        break;
      case source::kIButton:
        out.push_back({at + 4, 0xF0});
        break;
      default:
        break;
    }
  };
  f.getCode = [scope](const ConfigImage& image) { return recordAt(image, scope).sourceIndex().value_or(0); };
  f.setCode = [scope](ConfigImage& image, std::uint32_t code) {
    NotificationRecord(image.slice(scope)).setSourceIndex(code);
  };
  f.maxCode = [scope](const ConfigImage& image) -> std::uint32_t {
    switch (recordAt(image, scope).sourceCategory()) {
      case source::kSystemEvent:
        return 0xFF;
      case source::kIButton:
        return 15;
      default:
        return 31;
    }
  };
  f.decode = [scope](const ConfigImage& image) {
    const NotificationRecord record = recordAt(image, scope);
    const std::uint8_t category = record.sourceCategory();
    const unsigned index = record.sourceIndex().value_or(0);
    const auto& items = englishTexts().sourceItems[category];
    const auto text = englishTexts().sourceText(category, index);
    if (text && std::find(items.begin(), items.end(), *text) != items.end()) return Value::ofText(utf8(*text));
    return Value::ofCode(index);
  };
  f.encode = [scope](ConfigImage& image, const Value& v) -> std::optional<std::string> {
    if (v.form != Value::Form::Text) return std::string("takes a source of its category's list");
    NotificationRecord record(image.slice(scope));
    const std::uint8_t category = record.sourceCategory();
    const std::u16string text = utf16(v.text);
    const auto& items = englishTexts().sourceItems[category];
    const auto index = SourceIndexOf(category, text, englishTexts());
    if (!index || std::find(items.begin(), items.end(), text) == items.end() ||
        englishTexts().sourceText(category, *index) != text)
      return "\"" + v.text + "\" is no source of the category \"" +
             std::string(SourceCategoryList[category].text) + "\"";
    record.setSourceIndex(*index);
    return std::nullopt;
  };
  f.display = [](const Value& v, const Translator& translate) {
    if (!translate) return v.text;
    const std::u16string text = utf16(v.text);
    const NotificationTexts shown([&](std::u16string_view t) { return utf16(translate(utf8(t))); });
    for (std::uint8_t category = 0; category < source::kCategoryCount; ++category) {
      const auto& items = englishTexts().sourceItems[category];
      const auto it = std::find(items.begin(), items.end(), text);
      if (it == items.end()) continue;
      if (const auto index = SourceIndexOf(category, text, englishTexts()))
        if (const auto out = shown.sourceText(category, *index)) return utf8(*out);
    }
    return v.text;
  };
  return f;
}

// The message: 7-bit packed when every character is ASCII, else UCS-2.
Field messageField(ImageBlock scope) {
  Field f;
  f.key = "text";
  f.label = "Text Message (SMS)";
  f.type = FieldType::Text;
  f.scope = scope;
  f.hexHeader = 2;  // the length and the encoding
  const std::size_t at = scope.offset;
  f.owned = [at, scope](const ConfigImage& image, std::vector<Bits>& out) {
    const NotificationRecord record = recordAt(image, scope);
    const std::size_t length = record.textLength();
    std::size_t data = 0;
    switch (static_cast<SmsEncoding>(record.textEncoding())) {
      case SmsEncoding::Packed7:
        data = BytesForSeptets(std::min(length, NotificationRecord::kMaxPacked7));
        break;
      case SmsEncoding::Bytes8:
        data = std::min(length, NotificationRecord::kMaxBytes8);
        break;
      case SmsEncoding::Ucs2:
        data = 2 * std::min(length, NotificationRecord::kMaxUcs2);
        break;
    }
    out.push_back({at + 16, 0xFF});
    out.push_back({at + 17, 0xFF});
    for (std::size_t i = 0; i < data; ++i) out.push_back({at + NotificationRecord::kTextAt + i, 0xFF});
  };
  f.decode = [scope](const ConfigImage& image) {
    const NotificationRecord record = recordAt(image, scope);
    const auto encoding = record.textEncoding();
    if (encoding != static_cast<std::uint8_t>(SmsEncoding::Packed7) &&
        encoding != static_cast<std::uint8_t>(SmsEncoding::Ucs2))
      return Value::ofHex({});  // no editor writes it: the raw form is read
    return Value::ofText(utf8(record.text()));
  };
  f.encode = [scope](ConfigImage& image, const Value& v) -> std::optional<std::string> {
    if (v.form != Value::Form::Text) return std::string("takes a text");
    const std::u16string text = utf16(v.text);
    const bool wide = std::any_of(text.begin(), text.end(), [](char16_t u) { return u > 0x7F; });
    if (wide && text.size() > NotificationRecord::kMaxUcs2)
      return strprintf("is %zu UTF-16 units long; a message with a character beyond ASCII holds at most %zu",
                       text.size(), NotificationRecord::kMaxUcs2);
    if (!wide && text.size() > NotificationRecord::kMaxPacked7)
      return strprintf("is %zu characters long, at most %zu fit", text.size(), NotificationRecord::kMaxPacked7);
    NotificationRecord(image.slice(scope)).setText(text);
    return std::nullopt;
  };
  return f;
}

std::vector<Field> ruleFields(std::size_t k) {
  const ImageBlock scope{image::SmsRecords.offset + k * image::kSmsRecordSize, image::kSmsRecordSize};
  const std::size_t at = scope.offset;
  std::vector<Field> fields;
  using R = NotificationRecord;
  fields.push_back(booleanField("enabled", "En", viewAccessor(scope, &R::enabled, &R::setEnabled, {{at, 0x01}}, 1), scope));
  fields.push_back(phoneField("phone", "Phone number", at + 6, scope));
  fields.push_back(choiceField("category", "Source Category",
                                viewAccessor(scope, &R::sourceCategory, &R::setSourceCategory, {{at + 4, 0x07}}, 7),
                                itemsOf(SourceCategoryList), scope));
  fields.push_back(sourceField(scope));
  Field condition = choiceField("condition", "Condition",
                                viewAccessor(scope, &R::condition, &R::setCondition, {{at + 5, 0x03}}, 3),
                                itemsOf(ConditionList), scope);
  condition.applies = [scope](const ConfigImage& image) { return hasCondition(image, scope); };
  fields.push_back(std::move(condition));
  fields.push_back(choiceField("kind", "SMS or CALL", viewAccessor(scope, &R::kind, &R::setKind, {{at, 0x06}}, 3),
                               itemsOf(KindList), scope));
  fields.push_back(messageField(scope));
  fields.push_back(choiceField("sound", "Sound", viewAccessor(scope, &R::sound, &R::setSound, {{at, 0x38}}, 7),
                               itemsOf(SoundList), scope));
  // CH1..CH6 are bits 0..5 of byte 1; its bits 6 and 7 are no field's.
  std::vector<std::string> labels;
  std::vector<Bits> bits;
  for (int n = 1; n <= NotificationRecord::kChannelFlags; ++n) {
    labels.push_back(strprintf("CH%d", n));
    bits.push_back({at + 1, static_cast<std::uint8_t>(1u << (n - 1))});
  }
  fields.push_back(flagsField("channels", "Channels", std::move(labels), std::move(bits), scope));
  fields.push_back(secondsField(
      "soundLength", "Sound Length",
      viewAccessor(scope, &R::soundLength, &R::setSoundLength, {{at + 2, 0xFF}, {at + 3, 0xFF}}, 0xFFFF), scope));
  const CommentView comment{
      SmsCommentRecord::kMaxLength,
      [](std::span<std::uint8_t> b) { return SmsCommentRecord(b).text(); },
      [](std::span<std::uint8_t> b, std::u16string_view text) { SmsCommentRecord(b).setText(text); },
  };
  fields.push_back(
      commentField("comment", "Comments", image::SmsComments.offset + k * image::kSmsCommentSize, comment));
  return fields;
}

}  // namespace

void describeSmsData(Description& description) {
  description.addSection("sms", "SMS Data");
  for (std::size_t k = 0; k < image::kSmsRecordCount; ++k) description.addRecord(static_cast<int>(k + 1), ruleFields(k));
}

}  // namespace wk::config
