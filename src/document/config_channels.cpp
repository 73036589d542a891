// The main channels, user events and outputs as fields: channels[1..24],
// userEvents[1..16], outputs[1..6].
#include "document/config_field_kinds.h"
#include "document/main_channel_record.h"
#include "document/output_record.h"
#include "document/sensor_ref.h"
#include "document/user_event_record.h"

namespace wk::config {
namespace {

std::vector<Item> listItems(const ListTable& table) { return itemsOf(table.items()); }

// A SensorRef as one item of T1.01 .. T2.16; its code is the byte's bits 0..4.
std::uint32_t sensorCode(const SensorRef& s) {
  std::uint8_t byte = 0;
  s.storeInto(byte);
  return byte;
}

std::vector<Item> sensorItems() {
  std::vector<Item> items;
  for (int bus = 1; bus <= SensorRef::kBusCount; ++bus)
    for (int slot = 1; slot <= SensorRef::kSlotsPerBus; ++slot) {
      const SensorRef s{bus, slot};
      items.push_back({sensorCode(s), s.text()});
    }
  return items;
}

// The sensor of a record of view V (byte 0 bits 0..4; bits 5..7 are no field's).
template <class V>
Field sensorField(ImageBlock scope) {
  Accessor acc{
      [scope](const ConfigImage& image) {
        return sensorCode(V(const_cast<ConfigImage&>(image).slice(scope)).sensor());  // only read
      },
      [scope](ConfigImage& image, std::uint32_t code) {
        V(image.slice(scope)).setSensor(SensorRef::fromByte(static_cast<std::uint8_t>(code)));
      },
      {{scope.offset, 0x1F}},
      31};
  return choiceField("sensor", "Sensor", std::move(acc), sensorItems(), scope);
}

template <class V>
Accessor centiAccessor(ImageBlock scope, std::int16_t (V::*get)() const, void (V::*set)(std::int16_t),
                       std::size_t at) {
  return Accessor{[scope, get](const ConfigImage& image) {
                    const V view(const_cast<ConfigImage&>(image).slice(scope));  // only read
                    return static_cast<std::uint32_t>(static_cast<std::uint16_t>((view.*get)()));
                  },
                  [scope, set](ConfigImage& image, std::uint32_t v) {
                    V view(image.slice(scope));
                    (view.*set)(static_cast<std::int16_t>(static_cast<std::uint16_t>(v)));
                  },
                  {{at, 0xFF}, {at + 1, 0xFF}},
                  0xFFFF};
}

std::vector<Field> channelFields(std::size_t k) {
  const ImageBlock scope{image::ChannelRecords.offset + k * MainChannelRecord::kSize, MainChannelRecord::kSize};
  const std::size_t at = scope.offset;
  using R = MainChannelRecord;
  std::vector<Field> f;
  f.push_back(choiceField("workmode", "Workmode", viewAccessor(scope, &R::workmode, &R::setWorkmode, {{at + 1, 0x38}}, 7),
                          listItems(WorkmodeTable), scope));
  f.push_back(integerField("input", "Input", viewAccessor(scope, &R::inputIndex, &R::setInputIndex, {{at + 1, 0x07}}, 7),
                           scope, 1));
  f.push_back(integerField("alarmOnTimeout", "Alarm On Timeout",
                           viewAccessor(scope, &R::alarmOnTimeout, &R::setAlarmOnTimeout, {{at + 2, 0xFF}}, 0xFF), scope));
  f.push_back(integerField("alarmOffTimeout", "Alarm \u041Eff Timeout",
                           viewAccessor(scope, &R::alarmOffTimeout, &R::setAlarmOffTimeout, {{at + 3, 0xFF}}, 0xFF),
                           scope));
  // Byte 0 bits 5..7 are no field's.
  f.push_back(choiceField("alarmCondition", "Generate Alarm if...",
                          viewAccessor(scope, &R::alarmCondition, &R::setAlarmCondition, {{at, 0x1F}}, 31),
                          listItems(AlarmConditionTable), scope));
  f.push_back(choiceField("multiaction", "Multiaction",
                          viewAccessor(scope, &R::multiaction, &R::setMultiaction, {{at + 1, 0xC0}}, 3),
                          listItems(MultiactionTable), scope));
  f.push_back(aliasField("aliasIfAlarm", "Alias if ALARM", image::ChannelAliases.offset + k * image::kAliasRecordSize));
  f.push_back(aliasField("aliasIfOk", "Alias if OK",
                         image::ChannelAliases.offset + (image::kChannelCount + k) * image::kAliasRecordSize));
  // The follow flag: bit k of the mask; bits 24..31 are no field's.
  const ImageBlock mask{image::CommonSettings.offset + image::common::FollowMask.offset, image::common::FollowMask.size};
  Accessor follow{[k](const ConfigImage& image) {
                    return static_cast<std::uint32_t>(FollowMask::of(const_cast<ConfigImage&>(image)).follows(k));
                  },
                  [k](ConfigImage& image, std::uint32_t on) { FollowMask::of(image).setFollows(k, on != 0); },
                  {{mask.offset + k / 8, static_cast<std::uint8_t>(1u << (k % 8))}},
                  1};
  f.push_back(booleanField("follow", "Follow", std::move(follow), mask));
  return f;
}

std::vector<Field> userEventFields(std::size_t k) {
  const ImageBlock scope{image::UserEventRecords.offset + k * UserEventRecord::kSize, UserEventRecord::kSize};
  const std::size_t at = scope.offset;
  using R = UserEventRecord;
  std::vector<Field> f;
  f.push_back(choiceField("workmode", "Workmode", viewAccessor(scope, &R::workmode, &R::setWorkmode, {{at + 1, 0x0E}}, 7),
                          listItems(WorkmodeTable), scope));
  f.push_back(sensorField<R>(scope));
  f.push_back(centidegreesField("lo", "Lo", centiAccessor(scope, &R::lo, &R::setLo, at + 4), scope));
  f.push_back(centidegreesField("hi", "Hi", centiAccessor(scope, &R::hi, &R::setHi, at + 2), scope));
  f.push_back(choiceField("condition", "Generate Alarm if...",
                          viewAccessor(scope, &R::condition, &R::setCondition, {{at + 1, 0x01}}, 1),
                          listItems(ThresholdConditionTable), scope));
  // Byte 1 bits 6..7 are no field's.
  f.push_back(choiceField("multiaction", "Multiaction",
                          viewAccessor(scope, &R::multiaction, &R::setMultiaction, {{at + 1, 0x30}}, 3),
                          listItems(UserEventMultiactionTable), scope));
  return f;
}

std::vector<Field> outputFields(std::size_t k) {
  const ImageBlock scope{image::OutputRecords.offset + k * OutputRecord::kSize, OutputRecord::kSize};
  const std::size_t at = scope.offset;
  using R = OutputRecord;
  std::vector<Field> f;
  f.push_back(choiceField("use", "In use by...", viewAccessor(scope, &R::use, &R::setUse, {{at + 1, 0x0E}}, 7),
                          listItems(OutputUseTable), scope));
  f.push_back(sensorField<R>(scope));
  f.push_back(centidegreesField("hysteresisLow", "Histeresis Low",
                                centiAccessor(scope, &R::hysteresisLow, &R::setHysteresisLow, at + 4), scope));
  f.push_back(centidegreesField("hysteresisHigh", "Histeresis High",
                                centiAccessor(scope, &R::hysteresisHigh, &R::setHysteresisHigh, at + 2), scope));
  f.push_back(choiceField("type", "Type", viewAccessor(scope, &R::type, &R::setType, {{at + 1, 0xF0}}, 15),
                          listItems(OutputTypeTable), scope));
  f.push_back(booleanField("inverse", "Inverse channel", viewAccessor(scope, &R::inverse, &R::setInverse, {{at + 1, 0x01}}, 1),
                           scope));
  f.push_back(aliasField("aliasIfOff", "Alias if off", image::OutputAliases.offset + k * image::kAliasRecordSize));
  f.push_back(aliasField("aliasIfOn", "Alias if on",
                         image::OutputAliases.offset + (image::kOutputCount + k) * image::kAliasRecordSize));
  return f;
}

}  // namespace

void describeChannels(Description& description) {
  description.addSection("channels", "Main Channels");
  for (std::size_t k = 0; k < image::kChannelCount; ++k) description.addRecord(static_cast<int>(k + 1), channelFields(k));
  description.addSection("userEvents", "User Events");
  for (std::size_t k = 0; k < image::kUserEventCount; ++k)
    description.addRecord(static_cast<int>(k + 1), userEventFields(k));
  description.addSection("outputs", "Outputs");
  for (std::size_t k = 0; k < image::kOutputCount; ++k) description.addRecord(static_cast<int>(k + 1), outputFields(k));
}

}  // namespace wk::config
