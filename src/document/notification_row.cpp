#include "document/notification_row.h"

#include <algorithm>

#include "util/utf.h"

namespace wk {
namespace {

static_assert([] {
  for (std::size_t i = 0; i < SourceCategoryList.size(); ++i)
    if (SourceCategoryList[i].code != i) return false;
  return true;
}(), "the category lists are indexed by code");
static_assert(SoundList.front().code == 0, "the first sound is none");

template <std::size_t N>
std::array<std::u16string, N> shown(const std::array<CodedText, N>& list, const NotificationTexts::Translator& tr) {
  std::array<std::u16string, N> out;
  for (std::size_t i = 0; i < N; ++i) {
    const std::u16string stored = utf8ToUtf16(list[i].text);
    out[i] = tr ? tr(stored) : stored;
  }
  return out;
}

template <std::size_t N>
const std::u16string* textOfCode(const std::array<CodedText, N>& list, const std::array<std::u16string, N>& texts,
                                 std::uint8_t code) {
  for (std::size_t i = 0; i < N; ++i)
    if (list[i].code == code) return &texts[i];
  return nullptr;
}

template <std::size_t N>
std::optional<std::uint8_t> exactCode(const std::array<CodedText, N>& list, const std::array<std::u16string, N>& texts,
                                      std::u16string_view text) {
  for (std::size_t i = 0; i < N; ++i)
    if (texts[i] == text) return list[i].code;
  return std::nullopt;
}

// The first of the given codes whose text the cell text begins with.
template <std::size_t N, std::size_t M>
std::optional<std::uint8_t> prefixCode(const std::array<CodedText, N>& list,
                                       const std::array<std::u16string, N>& texts, std::u16string_view text,
                                       const std::array<std::uint8_t, M>& order) {
  for (const std::uint8_t code : order) {
    const std::u16string* item = textOfCode(list, texts, code);
    if (item && text.starts_with(*item)) return code;
  }
  return std::nullopt;
}

std::u16string number(unsigned n) { return utf8ToUtf16(std::to_string(n)); }

// "%s %d"
std::u16string numbered(const std::u16string& category, unsigned n) { return category + u" " + number(n); }

// "%s T%d.%.2d"
std::u16string sensorText(const std::u16string& category, unsigned bus, unsigned slot) {
  std::u16string slotText = number(slot);
  if (slotText.size() < 2) slotText.insert(0, 2 - slotText.size(), u'0');
  return category + u" T" + number(bus) + u"." + slotText;
}

bool isBlank(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

// A decimal number as "%d" reads one: blanks, a sign, at least one digit.
std::optional<long long> readNumber(std::u16string_view& text) {
  std::size_t i = 0;
  while (i < text.size() && isBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  const std::size_t digitsAt = i;
  long long value = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
    value = std::min(value * 10 + (text[i] - u'0'), 1LL << 40);
  if (i == digitsAt) return std::nullopt;
  text.remove_prefix(i);
  return negative ? -value : value;
}

bool readLiteral(std::u16string_view& text, char16_t c) {
  if (text.empty() || text.front() != c) return false;
  text.remove_prefix(1);
  return true;
}

void skipBlanks(std::u16string_view& text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
}

}  // namespace

NotificationTexts::NotificationTexts(const Translator& translate)
    : categories(shown(SourceCategoryList, translate)),
      events(shown(SystemEventList, translate)),
      sounds(shown(SoundList, translate)),
      conditions(shown(ConditionList, translate)),
      kinds(shown(KindList, translate)) {
  sourceItems[source::kSystemEvent] = std::vector<std::u16string>(events.begin(), events.end());
  for (unsigned n = 1; n <= source::kMainChannels; ++n)
    sourceItems[source::kMainChannel].push_back(numbered(categories[source::kMainChannel], n));
  for (unsigned n = 1; n <= source::kUserEvents; ++n)
    sourceItems[source::kUserEvent].push_back(numbered(categories[source::kUserEvent], n));
  for (unsigned bus = 1; bus <= source::kSensorBuses; ++bus)
    for (unsigned slot = 1; slot <= source::kSensorSlots; ++slot)
      sourceItems[source::kThermosensor].push_back(sensorText(categories[source::kThermosensor], bus, slot));
  for (unsigned n = 1; n <= source::kKeys; ++n)
    sourceItems[source::kIButton].push_back(numbered(categories[source::kIButton], n));
}

std::optional<std::u16string> NotificationTexts::sourceText(std::uint8_t category, unsigned index) const {
  switch (category) {
    case source::kSystemEvent:
      if (index > 0xFF) return std::nullopt;
      if (const auto* text = textOfCode(SystemEventList, events, static_cast<std::uint8_t>(index))) return *text;
      return std::nullopt;
    case source::kMainChannel:
    case source::kUserEvent:
    case source::kIButton:
      return numbered(categories[category], index + 1);
    case source::kThermosensor:
      return sensorText(categories[category], index / source::kSensorSlots + 1, index % source::kSensorSlots + 1);
    default:
      return std::nullopt;
  }
}

const std::u16string* NotificationTexts::soundText(std::uint8_t code) const {
  return textOfCode(SoundList, sounds, code);
}
const std::u16string* NotificationTexts::conditionText(std::uint8_t code) const {
  return textOfCode(ConditionList, conditions, code);
}
const std::u16string* NotificationTexts::kindText(std::uint8_t code) const { return textOfCode(KindList, kinds, code); }

NotificationRow InitialNotificationRow(const NotificationTexts& texts) {
  NotificationRow row;
  row.condition = texts.conditions.front();
  row.kind = texts.kinds.front();
  return row;
}

NotificationRow LoadNotificationRow(const NotificationRecord& record, const SmsCommentRecord& comment,
                                    const NotificationTexts& texts) {
  NotificationRow row = InitialNotificationRow(texts);
  row.enabled = record.enabled();
  row.phone = record.phone().text();
  const std::uint8_t category = record.sourceCategory();
  if (const auto index = record.sourceIndex()) SetSource(row, category, *index, texts);
  if (category >= source::kMainChannel && category <= source::kIButton)
    if (const auto* text = texts.conditionText(record.condition())) row.condition = *text;
  if (const auto* text = texts.kindText(record.kind())) row.kind = *text;
  row.text = record.text();
  if (const auto* text = texts.soundText(record.sound())) row.sound = *text;
  for (int n = 1; n <= NotificationRecord::kChannelFlags; ++n)
    row.channels[static_cast<std::size_t>(n - 1)] = record.channel(n);
  row.soundLength = record.soundLength();
  row.comment = comment.text();
  return row;
}

void StoreNotificationRow(const NotificationRow& row, NotificationRecord& record, SmsCommentRecord& comment,
                          const NotificationTexts& texts) {
  record.setEnabled(row.enabled);

  PhoneNumberField phone = record.phone();
  if (phone.digitCount() == 0 || phone.text() != row.phone) phone.setText(row.phone);

  if (const auto category = CategoryCode(row.category, texts)) {
    record.setSourceCategory(*category);
    if (const auto index = SourceIndexOf(*category, row.source, texts)) record.setSourceIndex(*index);
  }

  const std::uint8_t category = record.sourceCategory();
  if (category >= source::kMainChannel && category <= source::kIButton)
    if (const auto code = ConditionCode(row.condition, texts)) record.setCondition(*code);

  if (const auto code = KindCode(row.kind, texts)) record.setKind(*code);

  if (record.text() != row.text) record.setText(row.text);

  if (const auto code = SoundCode(row.sound, texts)) record.setSound(*code);

  record.setChannels(row.channels);

  record.setSoundLength(static_cast<std::uint16_t>(LimitSoundLength(row.soundLength)));

  if (comment.text() != row.comment) comment.setText(row.comment);
}

void SetSource(NotificationRow& row, std::uint8_t category, unsigned index, const NotificationTexts& texts) {
  if (category >= source::kCategoryCount) return;
  row.category = texts.categories[category];
  row.sourceList = category;
  if (auto text = texts.sourceText(category, index)) row.source = std::move(*text);
}

std::optional<std::uint8_t> CategoryCode(std::u16string_view text, const NotificationTexts& texts) {
  return exactCode(SourceCategoryList, texts.categories, text);
}

std::optional<std::uint8_t> SystemEventCode(std::u16string_view text, const NotificationTexts& texts) {
  return exactCode(SystemEventList, texts.events, text);
}

std::optional<std::uint8_t> SoundCode(std::u16string_view text, const NotificationTexts& texts) {
  return exactCode(SoundList, texts.sounds, text);
}

std::optional<std::uint8_t> ConditionCode(std::u16string_view text, const NotificationTexts& texts) {
  static constexpr std::array<std::uint8_t, 3> kOrder{1, 2, 3};
  return prefixCode(ConditionList, texts.conditions, text, kOrder);
}

std::optional<std::uint8_t> KindCode(std::u16string_view text, const NotificationTexts& texts) {
  static constexpr std::array<std::uint8_t, 3> kOrder{3, 1, 2};  // "SMS & CALL" also begins with "SMS"
  return prefixCode(KindList, texts.kinds, text, kOrder);
}

std::optional<unsigned> SourceIndexOf(std::uint8_t category, std::u16string_view text,
                                      const NotificationTexts& texts) {
  if (category == source::kSystemEvent) {
    const auto code = SystemEventCode(text, texts);
    return code ? std::optional<unsigned>(*code) : std::nullopt;
  }
  if (category >= source::kCategoryCount) return std::nullopt;
  text.remove_prefix(std::min(text.size(), texts.categories[category].size()));
  if (category == source::kThermosensor) {
    skipBlanks(text);
    if (!readLiteral(text, u'T')) return std::nullopt;
    const auto bus = readNumber(text);
    if (!bus || !readLiteral(text, u'.')) return std::nullopt;
    const auto slot = readNumber(text);
    if (!slot) return std::nullopt;
    return (static_cast<unsigned>(*bus - 1) & 1u) * source::kSensorSlots + (static_cast<unsigned>(*slot - 1) & 0xFu);
  }
  const auto n = readNumber(text);
  if (!n) return std::nullopt;
  return static_cast<unsigned>(*n - 1);
}

RowShades ShadesOf(const NotificationRow& row, const NotificationTexts& texts) {
  RowShades shades;
  shades.row = row.enabled;
  const auto kind = KindCode(row.kind, texts);
  shades.text = row.enabled && kind && (*kind == 1 || *kind == 3);
  const bool anyChannel = std::any_of(row.channels.begin(), row.channels.end(), [](bool on) { return on; });
  shades.soundLength = row.enabled && row.sound != texts.sounds.front() && !anyChannel;
  return shades;
}

}  // namespace wk
