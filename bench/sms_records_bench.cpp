// The notification rules in the core: showing all 256 records as rows and
// storing them back, with full-length 7-bit and UCS-2 messages, numbers and
// comments, as a refresh and a collect of the SMS page do.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "document/config_image.h"
#include "document/defaults.h"
#include "document/notification_row.h"

namespace {

using namespace wk;

// Every rule filled in, the categories and kinds taking turns.
std::unique_ptr<ConfigImage> busyImage() {
  auto image = std::make_unique<ConfigImage>();
  applyNewDocumentDefaults(*image);
  const NotificationTexts texts;
  for (std::size_t k = 0; k < image::kSmsRecordCount; ++k) {
    auto record = NotificationRecord::at(*image, k);
    auto comment = SmsCommentRecord::at(*image, k);
    NotificationRow row = LoadNotificationRow(record, comment, texts);
    row.enabled = k % 3 != 0;
    row.phone = u"00380501234" + std::u16string(1, static_cast<char16_t>(u'0' + k % 10));
    const auto category = static_cast<std::uint8_t>(k % source::kCategoryCount);
    SetSource(row, category, static_cast<unsigned>(k % 16), texts);
    row.kind = texts.kinds[k % 3];
    row.sound = texts.sounds[k % 8];
    row.text = k % 2 ? std::u16string(160, u'a' + k % 26) : std::u16string(70, u'Ж');
    row.comment = std::u16string(31, u'к');
    row.soundLength = static_cast<std::uint32_t>(k * 60);
    StoreNotificationRow(row, record, comment, texts);
  }
  return image;
}

void BM_LoadAllRows(benchmark::State& state) {
  const auto image = busyImage();
  const NotificationTexts texts;
  std::vector<NotificationRow> rows(image::kSmsRecordCount);
  for (auto _ : state) {
    for (std::size_t k = 0; k < image::kSmsRecordCount; ++k)
      rows[k] = LoadNotificationRow(NotificationRecord::at(*image, k), SmsCommentRecord::at(*image, k), texts);
    benchmark::DoNotOptimize(rows.data());
  }
}
BENCHMARK(BM_LoadAllRows)->Unit(benchmark::kMicrosecond);

void BM_StoreAllRows(benchmark::State& state) {
  auto image = busyImage();
  const NotificationTexts texts;
  std::vector<NotificationRow> rows;
  for (std::size_t k = 0; k < image::kSmsRecordCount; ++k)
    rows.push_back(LoadNotificationRow(NotificationRecord::at(*image, k), SmsCommentRecord::at(*image, k), texts));
  // Every other store changes every message and comment, so both the
  // unchanged and the rewritten path are measured.
  int round = 0;
  for (auto _ : state) {
    ++round;
    for (std::size_t k = 0; k < image::kSmsRecordCount; ++k) {
      NotificationRow& row = rows[k];
      row.text.back() = static_cast<char16_t>(row.text.back() ^ (round & 1));
      row.comment.back() = static_cast<char16_t>(row.comment.back() ^ (round & 1));
      auto record = NotificationRecord::at(*image, k);
      auto comment = SmsCommentRecord::at(*image, k);
      StoreNotificationRow(row, record, comment, texts);
    }
    benchmark::DoNotOptimize(image->all().data());
  }
}
BENCHMARK(BM_StoreAllRows)->Unit(benchmark::kMicrosecond);

void BM_ListTexts(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(NotificationTexts());
}
BENCHMARK(BM_ListTexts)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
