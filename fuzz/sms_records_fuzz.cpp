// The notification rules of an image from a file or a controller, any bytes:
// every record is shown as the SMS page shows it and stored back, then edited
// and stored again. Each record and comment lies in a buffer of exactly its
// size, so a read or write past it is a sanitizer report.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "document/config_image.h"
#include "document/notification_row.h"
#include "document/sms_text.h"
#include "support/quiet_seams.h"

using namespace wk;

namespace {

const NotificationTexts& texts() {
  static const NotificationTexts shown;
  return shown;
}

struct Rule {
  explicit Rule(std::span<const std::uint8_t> recordBytes, std::span<const std::uint8_t> commentBytes)
      : recordRaw(new std::uint8_t[NotificationRecord::kSize]), commentRaw(new std::uint8_t[SmsCommentRecord::kSize]) {
    std::copy(recordBytes.begin(), recordBytes.end(), recordRaw.get());
    std::copy(commentBytes.begin(), commentBytes.end(), commentRaw.get());
  }
  NotificationRecord record() { return NotificationRecord({recordRaw.get(), NotificationRecord::kSize}); }
  SmsCommentRecord comment() { return SmsCommentRecord({commentRaw.get(), SmsCommentRecord::kSize}); }
  std::vector<std::uint8_t> bytes() const {
    std::vector<std::uint8_t> out(recordRaw.get(), recordRaw.get() + NotificationRecord::kSize);
    out.insert(out.end(), commentRaw.get(), commentRaw.get() + SmsCommentRecord::kSize);
    return out;
  }
  NotificationRow load() { return LoadNotificationRow(record(), comment(), texts()); }
  void store(const NotificationRow& row) {
    auto r = record();
    auto c = comment();
    StoreNotificationRow(row, r, c, texts());
  }

  std::unique_ptr<std::uint8_t[]> recordRaw;
  std::unique_ptr<std::uint8_t[]> commentRaw;
};

// A store of an untouched row changes only what the cells cannot show
// otherwise: kind 0 becomes "SMS", condition 0 of a channel, user event,
// sensor or key rule "if ALARM ON", an empty number type 0x81, and the
// reserved bits of byte 1 become 0.
void checkUntouchedStore(const std::vector<std::uint8_t>& before, const std::vector<std::uint8_t>& after) {
  const std::uint8_t kindBefore = (before[0] >> 1) & 3;
  const std::uint8_t kindAfter = (after[0] >> 1) & 3;
  WK_FUZZ_CHECK((before[0] & 0xF9) == (after[0] & 0xF9));
  WK_FUZZ_CHECK(kindAfter == (kindBefore == 0 ? 1 : kindBefore));
  WK_FUZZ_CHECK(after[1] == (before[1] & 0x3F));
  WK_FUZZ_CHECK(std::equal(before.begin() + 2, before.begin() + 5, after.begin() + 2));
  const std::uint8_t category = before[4] & 7;
  if (category >= 1 && category <= 4) {
    WK_FUZZ_CHECK((before[5] & 0xFC) == (after[5] & 0xFC));
    WK_FUZZ_CHECK((after[5] & 3) == ((before[5] & 3) == 0 ? 1 : (before[5] & 3)));
  } else {
    WK_FUZZ_CHECK(before[5] == after[5]);
  }
  if (before[6] == 0) {
    WK_FUZZ_CHECK(after[6] == 0 && (after[7] == 0x81 || after[7] == 0x91));
    WK_FUZZ_CHECK(std::equal(before.begin() + 8, before.begin() + 16, after.begin() + 8));
  } else {
    WK_FUZZ_CHECK(std::equal(before.begin() + 6, before.begin() + 16, after.begin() + 6));
  }
  WK_FUZZ_CHECK(std::equal(before.begin() + 16, before.end(), after.begin() + 16));
}

// Edits taken from the image's own bytes: a message, a number and a comment.
std::u16string unitsFrom(std::span<const std::uint8_t> bytes, std::size_t count, bool wide) {
  std::u16string out;
  for (std::size_t i = 0; i < count && i < bytes.size(); ++i)
    out += wide && i + 1 < bytes.size() ? static_cast<char16_t>(bytes[i] << 8 | bytes[i + 1])
                                        : static_cast<char16_t>(bytes[i] & 0x7F);
  return out;
}

void checkEditedStore(Rule& rule, std::span<const std::uint8_t> seed) {
  NotificationRow row = rule.load();
  const bool wide = seed[0] & 1;
  row.text = unitsFrom(seed.subspan(2), seed[1], wide);
  std::u16string digits = seed[2] & 1 ? u"00" : u"";
  for (std::size_t i = 0; i < seed[3] % 24u; ++i) digits += static_cast<char16_t>(u'0' + seed[4 + i] % 10);
  row.phone = digits;
  row.comment = unitsFrom(seed.subspan(5), seed[4] % 48u, true);
  const bool rewritten = rule.record().text() != row.text;
  rule.store(row);

  // A changed message is stored as the controller holds it: UCS-2 if any
  // unit is above 0x7F (70 units, no half pair), else 7-bit (160).
  auto record = rule.record();
  if (rewritten) {
    const bool anyWide = std::any_of(row.text.begin(), row.text.end(), [](char16_t u) { return u > 0x7F; });
    WK_FUZZ_CHECK(record.textEncoding() == (anyWide ? 8 : 0));
    const std::size_t kept = anyWide ? CutLength(row.text, 70) : std::min<std::size_t>(row.text.size(), 160);
    WK_FUZZ_CHECK(record.textLength() == kept);
    WK_FUZZ_CHECK(record.text() == row.text.substr(0, kept));
  } else {
    WK_FUZZ_CHECK(record.text() == row.text);
  }

  const std::u16string_view number = std::u16string_view(row.phone).substr(row.phone.starts_with(u"00") ? 2 : 0);
  const std::u16string shownNumber = record.phone().text();
  WK_FUZZ_CHECK(shownNumber == row.phone || number.size() > 16);
  WK_FUZZ_CHECK(record.phone().digitCount() <= 16 || shownNumber == row.phone);

  const std::u16string comment = rule.comment().text();
  const std::size_t nul = std::min(row.comment.find(u'\0'), row.comment.size());
  WK_FUZZ_CHECK(comment == row.comment || comment == row.comment.substr(0, std::min<std::size_t>(nul, 31)));

  // What was stored shows again as stored, and stores the same bytes.
  const auto stored = rule.bytes();
  rule.store(rule.load());
  WK_FUZZ_CHECK(rule.bytes() == stored);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Shorter inputs are the start of an image that is zero beyond them.
  auto image = std::make_unique<ConfigImage>();
  std::copy(data, data + std::min(size, image::kSize), image->all().begin());

  // A rule that repeats one already checked (as the zeros beyond a short
  // input do) would only repeat its checks.
  std::set<std::vector<std::uint8_t>> seen;
  for (std::size_t k = 0; k < image::kSmsRecordCount; ++k) {
    Rule rule(image->record(image::SmsRecords, NotificationRecord::kSize, k),
              image->record(image::SmsComments, SmsCommentRecord::kSize, k));
    const auto original = rule.bytes();
    if (!seen.insert(original).second) continue;

    // Showing a rule writes nothing.
    const NotificationRow shown = rule.load();
    WK_FUZZ_CHECK(rule.bytes() == original);
    WK_FUZZ_CHECK(shown.phone.size() <= 18 && shown.text.size() <= 160 && shown.comment.size() <= 31);

    // Stored untouched, it keeps what it held, shows the same again, and a
    // second store changes nothing more.
    rule.store(shown);
    const auto once = rule.bytes();
    checkUntouchedStore(original, once);
    WK_FUZZ_CHECK(rule.load() == shown);
    rule.store(rule.load());
    WK_FUZZ_CHECK(rule.bytes() == once);

    // Edited from bytes elsewhere in the image.
    checkEditedStore(rule, image->slice((k * 211) % (image::kSize - 320), 320));
  }
  return 0;
}
