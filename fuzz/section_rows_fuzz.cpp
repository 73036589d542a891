// The main channels, user events and outputs of an image from a file or a
// controller, any bytes: every row is shown as its page shows it and stored
// back untouched, then stored again with texts a user could type or pick.
//
// Input: the 96 bytes of ChannelRecords, the 96 of UserEventRecords, the 36
// of OutputRecords, the 4 of the follow mask, the 1536 of ChannelAliases and
// the 384 of OutputAliases (zeros where the input is shorter); what follows
// them feeds the edits.
#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "document/config_image.h"
#include "document/main_channel_record.h"
#include "document/main_channel_row.h"
#include "document/output_record.h"
#include "document/output_row.h"
#include "document/sensor_ref.h"
#include "document/user_event_record.h"
#include "document/user_event_row.h"
#include "support/quiet_seams.h"
#include "util/utf.h"

using namespace wk;

namespace {

constexpr ImageBlock kFollow{image::CommonSettings.offset + image::common::FollowMask.offset,
                             image::common::FollowMask.size};
constexpr ImageBlock kFilled[] = {image::ChannelRecords, image::UserEventRecords, image::OutputRecords, kFollow,
                                  image::ChannelAliases, image::OutputAliases};

// A list's texts, made once per list (the language table never changes here).
const std::vector<std::u16string>& itemsOf(const ListTable& list) {
  static std::map<std::pair<const ListItem*, std::size_t>, std::vector<std::u16string>> made;
  auto& texts = made[{list.items().data(), list.size()}];
  if (texts.empty()) texts = list.texts();
  return texts;
}

// Bytes taken one at a time off the end of the input; zeros once it is used up.
class Edits {
 public:
  explicit Edits(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::uint8_t byte() { return at_ < bytes_.size() ? bytes_[at_++] : 0; }
  // A text as a user might leave it in a cell: a list item, a number, or any
  // code units at all.
  std::u16string text(const ListTable& list) {
    const std::uint8_t how = byte();
    switch (how % 4) {
      case 0: {
        const auto& texts = itemsOf(list);
        return texts.empty() ? std::u16string() : texts[byte() % texts.size()];
      }
      case 1: return utf8ToUtf16(std::to_string(static_cast<int>(static_cast<std::int8_t>(byte())) * (how >> 2)));
      case 2: return utf8ToUtf16(SensorRef{byte() % 4, byte() % 20}.text());
      default: {
        std::u16string out;
        const std::size_t length = byte() % 40;
        for (std::size_t i = 0; i < length; ++i) out += static_cast<char16_t>(byte() << 8 | byte());
        return out;
      }
    }
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
};

// The image as the rows see it: the image with every byte outside the filled
// regions read as zero, which those regions' views never change. Kept as a
// copy of the whole image so that offsets stay image offsets.
class Snapshot {
 public:
  explicit Snapshot(const ConfigImage& image) {
    for (const ImageBlock block : kFilled) {
      const auto bytes = image.slice(block);
      parts_.emplace_back(bytes.begin(), bytes.end());
    }
  }
  std::uint8_t operator[](std::size_t offset) const {
    for (std::size_t i = 0; i < std::size(kFilled); ++i)
      if (offset >= kFilled[i].offset && offset < kFilled[i].end()) return parts_[i][offset - kFilled[i].offset];
    return 0;
  }
  std::span<const std::uint8_t> slice(ImageBlock block) const {
    for (std::size_t i = 0; i < std::size(kFilled); ++i)
      if (block.offset >= kFilled[i].offset && block.end() <= kFilled[i].end())
        return std::span(parts_[i]).subspan(block.offset - kFilled[i].offset, block.size);
    std::abort();
  }
  // Takes the current bytes of block (which lies inside one filled region) from image.
  void take(const ConfigImage& image, ImageBlock block) {
    for (std::size_t i = 0; i < std::size(kFilled); ++i)
      if (block.offset >= kFilled[i].offset && block.end() <= kFilled[i].end()) {
        const auto bytes = image.slice(block);
        std::copy(bytes.begin(), bytes.end(), parts_[i].begin() + (block.offset - kFilled[i].offset));
        return;
      }
    std::abort();
  }
  bool operator==(const Snapshot&) const = default;

 private:
  std::vector<std::vector<std::uint8_t>> parts_;
};

Snapshot copyOf(const ConfigImage& image) { return Snapshot(image); }

// An alias record stored back from what it shows: the same bytes, but a
// length above 31 becomes 31 and a NUL inside the text ends it there.
void checkAliasStoredBack(std::span<const std::uint8_t> before, std::span<const std::uint8_t> after) {
  const std::size_t shown = std::min<std::size_t>(before[0], 31);
  const auto text = before.subspan(1, shown);
  const std::size_t kept = static_cast<std::size_t>(std::find(text.begin(), text.end(), 0) - text.begin());
  WK_FUZZ_CHECK(after[0] == kept);
  WK_FUZZ_CHECK(std::equal(before.begin() + 1, before.end(), after.begin() + 1));
}

// Only the bytes of the given record and aliases may differ.
void checkOnlyTouched(Snapshot before, const ConfigImage& image, ImageBlock record,
                      std::initializer_list<ImageBlock> aliases) {
  before.take(image, record);
  for (const ImageBlock a : aliases) before.take(image, a);
  WK_FUZZ_CHECK(before == Snapshot(image));
}

// What was stored, shown and stored again stays as it was. Only an alias
// that holds a 0 byte (a character such as U+0100, whose low byte is 0) is cut
// there, as its text ends at that NUL.
void checkStoredAgain(const Snapshot& stored, const ConfigImage& image, ImageBlock first, ImageBlock second) {
  checkOnlyTouched(stored, image, first, {second});
  checkAliasStoredBack(stored.slice(first), image.slice(first));
  checkAliasStoredBack(stored.slice(second), image.slice(second));
}

ImageBlock aliasBlock(ImageBlock region, std::size_t index) {
  return {region.offset + index * image::kAliasRecordSize, image::kAliasRecordSize};
}
ImageBlock recordBlock(ImageBlock region, std::size_t size, std::size_t index) {
  return {region.offset + index * size, size};
}

void checkChannel(ConfigImage& image, std::size_t k, Edits& edits) {
  const auto original = copyOf(image);
  const ImageBlock record = recordBlock(image::ChannelRecords, image::kChannelRecordSize, k);
  const ImageBlock alarm = aliasBlock(image::ChannelAliases, k);
  const ImageBlock ok = aliasBlock(image::ChannelAliases, image::kChannelCount + k);

  MainChannelRow row = LoadMainChannelRow(image, k);
  WK_FUZZ_CHECK(copyOf(image) == original);
  StoreMainChannelRow(row, image, k);
  checkOnlyTouched(original, image, alarm, {ok});
  checkAliasStoredBack(original.slice(alarm), image.slice(alarm));
  checkAliasStoredBack(original.slice(ok), image.slice(ok));
  WK_FUZZ_CHECK(LoadMainChannelRow(image, k) == row);

  const auto before = copyOf(image);
  row.workmode = edits.text(WorkmodeTable);
  row.input = edits.text(WorkmodeTable);
  row.alarmOnTimeout = edits.text(WorkmodeTable);
  row.alarmOffTimeout = edits.text(WorkmodeTable);
  row.alarmCondition = edits.text(AlarmConditionTable);
  row.multiaction = edits.text(MultiactionTable);
  row.aliasIfAlarm = edits.text(WorkmodeTable);
  row.aliasIfOk = edits.text(WorkmodeTable);
  StoreMainChannelRow(row, image, k);
  checkOnlyTouched(before, image, record, {alarm, ok});
  // Bits 5..7 of byte 0 belong to no editor.
  WK_FUZZ_CHECK((before[record.offset] & 0xE0) == (image.at(record.offset) & 0xE0));
  const MainChannelRow shown = LoadMainChannelRow(image, k);
  WK_FUZZ_CHECK(shown.aliasIfAlarm == row.aliasIfAlarm && shown.aliasIfOk == row.aliasIfOk);
  WK_FUZZ_CHECK(shown.aliasIfAlarm.size() <= 31 && shown.aliasIfOk.size() <= 31);
  const auto stored = copyOf(image);
  MainChannelRow again = shown;
  StoreMainChannelRow(again, image, k);
  checkStoredAgain(stored, image, alarm, ok);
}

void checkUserEvent(ConfigImage& image, std::size_t k, Edits& edits) {
  const auto original = copyOf(image);
  const ImageBlock record = recordBlock(image::UserEventRecords, image::kUserEventRecordSize, k);

  UserEventRow row = LoadUserEventRow(image, k);
  WK_FUZZ_CHECK(copyOf(image) == original);
  WK_FUZZ_CHECK(StoreUserEventRow(row, image, k) == 0);
  WK_FUZZ_CHECK(copyOf(image) == original);
  WK_FUZZ_CHECK(LoadUserEventRow(image, k) == row);

  row.workmode = edits.text(WorkmodeTable);
  row.sensor = edits.text(WorkmodeTable);
  row.lo = edits.text(WorkmodeTable);
  row.hi = edits.text(WorkmodeTable);
  row.condition = edits.text(ThresholdConditionTable);
  row.multiaction = edits.text(MultiactionTable);
  const auto before = copyOf(image);
  const int unreadable = StoreUserEventRow(row, image, k);
  WK_FUZZ_CHECK(unreadable >= 0 && unreadable <= 2);
  checkOnlyTouched(before, image, record, {});
  WK_FUZZ_CHECK((before[record.offset] & 0xE0) == (image.at(record.offset) & 0xE0));
  WK_FUZZ_CHECK((before[record.offset + 1] & 0xC0) == (image.at(record.offset + 1) & 0xC0));
  const UserEventRow shown = LoadUserEventRow(image, k);
  WK_FUZZ_CHECK(shown.lo == row.lo && shown.hi == row.hi);
  const auto stored = copyOf(image);
  UserEventRow again = shown;
  WK_FUZZ_CHECK(StoreUserEventRow(again, image, k) == 0);
  WK_FUZZ_CHECK(copyOf(image) == stored);
}

void checkOutput(ConfigImage& image, std::size_t k, Edits& edits) {
  const auto original = copyOf(image);
  const ImageBlock record = recordBlock(image::OutputRecords, image::kOutputRecordSize, k);
  const ImageBlock off = aliasBlock(image::OutputAliases, k);
  const ImageBlock on = aliasBlock(image::OutputAliases, image::kOutputCount + k);

  OutputRow row = LoadOutputRow(image, k);
  WK_FUZZ_CHECK(copyOf(image) == original);
  WK_FUZZ_CHECK(StoreOutputRow(row, image, k) == 0);
  checkOnlyTouched(original, image, off, {on});
  checkAliasStoredBack(original.slice(off), image.slice(off));
  checkAliasStoredBack(original.slice(on), image.slice(on));
  WK_FUZZ_CHECK(LoadOutputRow(image, k) == row);

  row.use = edits.text(OutputUseTable);
  row.sensor = edits.text(OutputUseTable);
  row.hysteresisLow = edits.text(OutputUseTable);
  row.hysteresisHigh = edits.text(OutputUseTable);
  row.type = edits.text(OutputTypeTable);
  row.inverse = edits.byte() & 1;
  row.aliasIfOff = edits.text(OutputUseTable);
  row.aliasIfOn = edits.text(OutputUseTable);
  const auto before = copyOf(image);
  StoreOutputRow(row, image, k);
  checkOnlyTouched(before, image, record, {off, on});
  // The use and the inverse flag are never stored with the row.
  WK_FUZZ_CHECK((before[record.offset + 1] & 0x0F) == (image.at(record.offset + 1) & 0x0F));
  WK_FUZZ_CHECK((before[record.offset] & 0xE0) == (image.at(record.offset) & 0xE0));
  const std::uint8_t flags = image.at(record.offset + 1);
  StoreOutputUseText(row.use, image, k);
  WK_FUZZ_CHECK((flags & 0xF1) == (image.at(record.offset + 1) & 0xF1));
  const OutputRow shown = LoadOutputRow(image, k);
  WK_FUZZ_CHECK(shown.hysteresisLow == row.hysteresisLow && shown.hysteresisHigh == row.hysteresisHigh);
  WK_FUZZ_CHECK(shown.aliasIfOff == row.aliasIfOff && shown.aliasIfOn == row.aliasIfOn);
  const auto stored = copyOf(image);
  OutputRow again = shown;
  WK_FUZZ_CHECK(StoreOutputRow(again, image, k) == 0);
  checkStoredAgain(stored, image, off, on);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto image = std::make_unique<ConfigImage>();
  std::size_t used = 0;
  for (const ImageBlock block : kFilled) {
    const std::size_t n = std::min(block.size, size - used);
    std::copy(data + used, data + used + n, image->slice(block).begin());
    used += n;
  }
  Edits edits(std::span(data + used, size - used));
  for (std::size_t k = 0; k < image::kChannelCount; ++k) checkChannel(*image, k, edits);
  for (std::size_t k = 0; k < image::kUserEventCount; ++k) checkUserEvent(*image, k, edits);
  for (std::size_t k = 0; k < image::kOutputCount; ++k) checkOutput(*image, k, edits);
  // Nothing outside the filled regions was written.
  for (const ImageBlock block : kFilled) {
    const auto bytes = image->slice(block);
    std::fill(bytes.begin(), bytes.end(), 0);
  }
  WK_FUZZ_CHECK(std::all_of(image->all().begin(), image->all().end(), [](std::uint8_t b) { return b == 0; }));
  return 0;
}
