#pragma once
// One notification rule as the SMS page shows it: the contents of its cells,
// and the steps that fill a row from a record and store a row into it. The
// page only moves these values between its grid and the row; every decision
// about bytes, codes and list texts is taken here.
//
// Drop-down cells are matched against the list texts as the user sees them
// (NotificationTexts, each passed through the language file once).
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/notification_lists.h"
#include "document/notification_record.h"

namespace wk {

// The list texts as shown, in list order, and the Source list of each
// category (indexed by category code).
struct NotificationTexts {
  using Translator = std::function<std::u16string(std::u16string_view)>;
  // Without a translator the texts are shown as they are stored.
  explicit NotificationTexts(const Translator& translate = {});

  std::array<std::u16string, SourceCategoryList.size()> categories;
  std::array<std::u16string, SystemEventList.size()> events;
  std::array<std::u16string, SoundList.size()> sounds;
  std::array<std::u16string, ConditionList.size()> conditions;
  std::array<std::u16string, KindList.size()> kinds;
  std::array<std::vector<std::u16string>, source::kCategoryCount> sourceItems;

  // The Source text of a source: "Main Channel 3", "Thermosensor error T2.05",
  // the event's text for category 0 (none for a code no event carries). Also
  // given for an index beyond the category's list.
  std::optional<std::u16string> sourceText(std::uint8_t category, unsigned index) const;
  // The shown text of a code of SoundList, ConditionList and KindList.
  const std::u16string* soundText(std::uint8_t code) const;
  const std::u16string* conditionText(std::uint8_t code) const;
  const std::u16string* kindText(std::uint8_t code) const;
};

inline constexpr std::uint32_t kMaxSoundLength = 65535;  // seconds, 18:12:15

struct NotificationRow {
  bool enabled = false;
  std::u16string phone;
  std::u16string category;
  // The category whose items the Source list offers; none before one is set.
  std::optional<std::uint8_t> sourceList;
  std::u16string source;
  std::u16string condition;
  std::u16string kind;
  std::u16string text;
  std::u16string sound;
  std::array<bool, NotificationRecord::kChannelFlags> channels{};
  // The time of day of the "Sound Length" cell, in seconds since midnight.
  std::uint32_t soundLength = 0;
  std::u16string comment;

  bool operator==(const NotificationRow&) const = default;
};

// What a row shows before anything is loaded into it: "if ALARM ON", "SMS",
// every other cell empty or unchecked.
NotificationRow InitialNotificationRow(const NotificationTexts& texts);

// Image to row. Starts from the initial row, so a value without a meaning
// for the grid (category 5-7, condition 0, kind 0, an event code no entry
// carries) leaves the initial content, never a former document's.
NotificationRow LoadNotificationRow(const NotificationRecord& record, const SmsCommentRecord& comment,
                                    const NotificationTexts& texts);

// Row to image, step by step. Cell texts that match no list entry leave
// their bits as they were. The phone number, the message and the comment are
// rewritten only when the cell shows something else than the stored field
// (an empty number is always written, as "no number", type 0x81), so that a
// record the editor would not have written survives a store untouched.
void StoreNotificationRow(const NotificationRow& row, NotificationRecord& record, SmsCommentRecord& comment,
                          const NotificationTexts& texts);

// SetSourceCell: the category text, the Source list of the category and the
// Source text of index (category 0 with an unknown code keeps the text).
void SetSource(NotificationRow& row, std::uint8_t category, unsigned index, const NotificationTexts& texts);

// The codes of cell texts: exact matches in list order, except the kind and
// the condition, which are the first entry the text begins with ("SMS & CALL"
// is tested before "SMS").
std::optional<std::uint8_t> CategoryCode(std::u16string_view text, const NotificationTexts& texts);
std::optional<std::uint8_t> SystemEventCode(std::u16string_view text, const NotificationTexts& texts);
std::optional<std::uint8_t> SoundCode(std::u16string_view text, const NotificationTexts& texts);
std::optional<std::uint8_t> ConditionCode(std::u16string_view text, const NotificationTexts& texts);
std::optional<std::uint8_t> KindCode(std::u16string_view text, const NotificationTexts& texts);
// The source index that a Source text names in a category: the text after
// the category's text read as a number n (index n - 1) or as " T<bus>.<slot>",
// or the event code for category 0. None when the text does not read.
std::optional<unsigned> SourceIndexOf(std::uint8_t category, std::u16string_view text,
                                      const NotificationTexts& texts);

// Which cells are white (true) or light grey: the row by "En", the message
// by "En" and a kind that sends an SMS, the sound length by "En", a sound
// other than "-" and no channel flag.
struct RowShades {
  bool row = false;
  bool text = false;
  bool soundLength = false;
};
RowShades ShadesOf(const NotificationRow& row, const NotificationTexts& texts);

// A sound length the record can hold: 65536 seconds or more become 65535.
constexpr std::uint32_t LimitSoundLength(std::uint32_t seconds) {
  return seconds > kMaxSoundLength ? kMaxSoundLength : seconds;
}

}  // namespace wk
