// The 1-Wire slots as fields: sensors1[1..16], sensors2[1..16], keys[1..16].
#include "document/config_field_kinds.h"
#include "document/onewire_records.h"
#include "document/rom_code.h"

namespace wk::config {
namespace {

// The registration number in bytes 0..7 of a slot record of view V.
template <class V>
Field romField(ImageBlock scope) {
  Field f;
  f.key = "rom";
  f.label = "sensor's SN";
  f.type = FieldType::RomCode;
  f.scope = scope;
  f.hexHeader = RomCode::kSize;  // a code that failed its check travels as its bytes
  f.owned = [scope](const ConfigImage&, std::vector<Bits>& out) {
    for (std::size_t i = 0; i < RomCode::kSize; ++i) out.push_back({scope.offset + i, 0xFF});
  };
  f.decode = [scope](const ConfigImage& image) {
    const V view(const_cast<ConfigImage&>(image).slice(scope));  // only read
    return Value::ofText(view.romCode().text());
  };
  f.encode = [scope](ConfigImage& image, const Value& v) -> std::optional<std::string> {
    if (v.form != Value::Form::Text) return std::string("takes a ROM code");
    const auto code = RomCode::parse(v.text);
    if (!code) return "\"" + v.text + "\" is no ROM code (16 hexadecimal digits)";
    V(image.slice(scope)).setRomCode(*code);
    return std::nullopt;
  };
  return f;
}

std::vector<Field> sensorFields(int channel, std::size_t slot) {
  const ImageBlock table = channel == 0 ? image::SensorSlots1 : image::SensorSlots2;
  const ImageBlock aliases = channel == 0 ? image::SensorAliases1 : image::SensorAliases2;
  const ImageBlock scope{table.offset + slot * ThermoSensorRecord::kSize, ThermoSensorRecord::kSize};
  const std::size_t at = scope.offset;
  using R = ThermoSensorRecord;
  std::vector<Field> fields;
  fields.push_back(romField<R>(scope));
  fields.push_back(integerField("slotNumber", "Slot number",
                                viewAccessor(scope, &R::slotNumber, &R::setSlotNumber, {{at + 8, 0xFF}}, 0xFF), scope));
  // Byte 9: bit 0 react, bits 1..6 the count; bit 7 is no field's.
  fields.push_back(booleanField("reacts", "React to errors",
                                viewAccessor(scope, &R::reacts, &R::setReacts, {{at + 9, 0x01}}, 1), scope));
  fields.push_back(integerField(
      "requests", "thermo-requests",
      viewAccessor(scope, &R::requestCount, &R::setRequestCount, {{at + 9, 0x7E}}, R::kMaxRequests), scope));
  fields.push_back(aliasField("alias", "Thermosensor Alias", aliases.offset + slot * image::kAliasRecordSize));
  return fields;
}

std::vector<Field> keyFields(std::size_t slot) {
  const ImageBlock scope{image::KeySlots.offset + slot * IButtonKeyRecord::kSize, IButtonKeyRecord::kSize};
  const std::size_t at = scope.offset;
  using R = IButtonKeyRecord;
  std::vector<Field> fields;
  fields.push_back(romField<R>(scope));
  std::vector<Item> types;
  for (const KeyType& t : KeyTypeTable) types.push_back({t.code, std::string(t.name)});
  // Byte 9 is no field's.
  fields.push_back(choiceField("keyType", "Key Type",
                               viewAccessor(scope, &R::keyType, &R::setKeyType, {{at + 8, 0xFF}}, 0xFF),
                               std::move(types), scope));
  const CommentView comment{
      IButtonCommentRecord::kMaxLength,
      [](std::span<std::uint8_t> b) { return IButtonCommentRecord(b).text(); },
      [](std::span<std::uint8_t> b, std::u16string_view text) { IButtonCommentRecord(b).store(text); },
  };
  fields.push_back(
      commentField("comment", "IButton comment", image::KeyComments.offset + slot * IButtonCommentRecord::kSize, comment));
  return fields;
}

}  // namespace

void describeOneWire(Description& description) {
  for (int channel = 0; channel < onewire::kSensorChannelCount; ++channel) {
    description.addSection(channel == 0 ? "sensors1" : "sensors2",
                           channel == 0 ? "1Wire channel 1" : "1Wire channel 2");
    for (std::size_t slot = 0; slot < onewire::kSlotCount; ++slot)
      description.addRecord(static_cast<int>(slot + 1), sensorFields(channel, slot));
  }
  description.addSection("keys", "1Wire channel 3 (ext.key)");
  for (std::size_t slot = 0; slot < onewire::kSlotCount; ++slot)
    description.addRecord(static_cast<int>(slot + 1), keyFields(slot));
}

}  // namespace wk::config
