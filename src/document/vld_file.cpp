#include "document/vld_file.h"

#include <algorithm>

#include "document/defaults.h"
#include "util/bytes.h"

namespace wk::vld {
namespace {

// Reads sequentially; a read past the end takes what is left.
class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> data) : data_(data) {}
  void readInto(std::span<std::uint8_t> target) {
    const std::size_t n = std::min(target.size(), data_.size() - pos_);
    std::copy_n(data_.begin() + static_cast<std::ptrdiff_t>(pos_), n, target.begin());
    pos_ += n;
  }
  void skip(std::size_t n) { pos_ += std::min(n, data_.size() - pos_); }

 private:
  std::span<const std::uint8_t> data_;
  std::size_t pos_ = 0;
};

constexpr std::size_t kSeePadding = image::kSeeMemorySize - image::kSeePartSize;

}  // namespace

std::vector<std::uint8_t> serialize(const ConfigImage& image) {
  std::vector<std::uint8_t> file(kFileSize, 0);
  writeLe16(file, 0, kVersion);
  const auto see = image.slice(image::SeePart);
  std::copy(see.begin(), see.end(), file.begin() + kVersionSize);
  const auto ee = image.slice(image::EeBlock);
  std::copy(ee.begin(), ee.end(), file.begin() + kVersionSize + image::kSeeMemorySize);
  return file;
}

ParseOutcome parse(std::span<const std::uint8_t> file, ConfigImage& image) {
  if (file.size() < kVersionSize) return ParseOutcome::TooShort;
  const auto ee = image.slice(image::EeBlock);
  std::fill(ee.begin(), ee.end(), 0);
  const std::uint16_t version = readLe16(file, 0);
  Reader reader(file.subspan(kVersionSize));
  if (version == kVersion) {
    reader.readInto(image.slice(image::SeePart));
    reader.skip(kSeePadding);
    reader.readInto(ee);
    return ParseOutcome::Current;
  }
  if (version == kOldVersion) {
    for (std::size_t k = 0; k < image::kSmsRecordCount; ++k) {
      reader.readInto(image.record(image::SmsRecords, image::kSmsRecordSize, k));
      reader.skip(kOldSlotSize - image::kSmsRecordSize);
    }
    const auto rest = image.slice(image::SmsComments.offset, image::kSeePartSize - image::SmsComments.offset);
    std::fill(rest.begin(), rest.end(), 0);
    reader.readInto(ee);
    return ParseOutcome::ConvertedOld;
  }
  applyFallbackContents(image);
  return version > kVersion ? ParseOutcome::NewerVersion : ParseOutcome::OlderVersion;
}

}  // namespace wk::vld
