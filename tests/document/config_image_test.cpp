#include <gtest/gtest.h>

#include <stdexcept>

#include "document/config_image.h"

namespace wk {
namespace {

TEST(ConfigImageLayout, RegionsSitAtTheirControllerAddresses) {
  // Image offset N of the SEE part is SEE-Data address N.
  EXPECT_EQ(image::SmsRecords.offset, 0x0000u);
  EXPECT_EQ(image::SmsComments.offset, 0x9E00u);
  EXPECT_EQ(image::ChannelAliases.offset, 0xDE00u);
  EXPECT_EQ(image::UserEventBlock.offset, 0xE400u);
  EXPECT_EQ(image::OutputAliases.offset, 0xE800u);
  EXPECT_EQ(image::SensorAliases.offset, 0xE980u);
  EXPECT_EQ(image::SensorAliases2.offset, 60288u);
  EXPECT_EQ(image::KeyComments.offset, 0xED80u);
  EXPECT_EQ(image::ReservedA.offset, 0xF180u);
  EXPECT_EQ(image::ReservedB.offset, 0xF1A0u);
  EXPECT_EQ(image::ReservedB.end() - 1, 0xF1BFu);  // last SEE-Data byte held
  EXPECT_EQ(image::kSize, 62862u);

  // EE blocks as EE-Data addresses.
  EXPECT_EQ(image::eeAddress(image::ChannelRecords.offset), 0u);
  EXPECT_EQ(image::eeAddress(image::UserEventRecords.offset), 96u);
  EXPECT_EQ(image::eeAddress(image::OutputRecords.offset), 192u);
  EXPECT_EQ(image::eeAddress(image::SensorSlots1.offset), 228u);
  EXPECT_EQ(image::eeAddress(image::SensorSlots2.offset), 388u);
  EXPECT_EQ(image::eeAddress(image::KeySlots.offset), 548u);
  EXPECT_EQ(image::eeAddress(image::CommonSettings.offset), 708u);
  EXPECT_EQ(image::offsetOfEeAddress(973), 62861u);
  EXPECT_EQ(image::CommonSettings.offset + image::common::GsmManagedOutputs.offset, 62852u);
  EXPECT_EQ(image::CommonSettings.offset + image::common::FollowMask.offset, 62858u);
}

TEST(ConfigImageBounds, AccessOutsideTheImageOrARegionThrows) {
  ConfigImage img;
  EXPECT_NO_THROW(img.slice(image::kSize - 1, 1));
  EXPECT_NO_THROW(img.slice(image::kSize, 0));
  EXPECT_THROW(img.slice(image::kSize - 1, 2), std::out_of_range);
  EXPECT_THROW(img.slice(image::kSize + 1, 0), std::out_of_range);
  EXPECT_THROW(img.slice(1, SIZE_MAX), std::out_of_range);  // no wrap-around
  EXPECT_THROW(img.at(image::kSize), std::out_of_range);

  EXPECT_EQ(img.record(image::SmsRecords, image::kSmsRecordSize, 255).data(), img.all().data() + 255 * 158);
  // Record 256 would be the first comment record: refused.
  EXPECT_THROW(img.record(image::SmsRecords, image::kSmsRecordSize, 256), std::out_of_range);
  EXPECT_THROW(img.record(image::ChannelRecords, image::kChannelRecordSize, 24), std::out_of_range);
}

}  // namespace
}  // namespace wk
