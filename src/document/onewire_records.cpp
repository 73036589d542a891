#include "document/onewire_records.h"

#include <algorithm>
#include <stdexcept>

#include "util/bytes.h"

namespace wk {
namespace {

constexpr unsigned kReactBit = 0;
constexpr unsigned kRequestsShift = 1;
constexpr unsigned kRequestsWidth = 6;

void requireSize(std::span<std::uint8_t> bytes, std::size_t size, const char* what) {
  if (bytes.size() != size) throw std::out_of_range(what);
}

ImageBlock sensorSlots(int channel) {
  if (channel == 0) return image::SensorSlots1;
  if (channel == 1) return image::SensorSlots2;
  throw std::out_of_range("thermosensor channel");
}

ImageBlock sensorAliases(int channel) {
  if (channel == 0) return image::SensorAliases1;
  if (channel == 1) return image::SensorAliases2;
  throw std::out_of_range("thermosensor channel");
}

}  // namespace

ThermoSensorRecord::ThermoSensorRecord(std::span<std::uint8_t> bytes) : b_(bytes) {
  requireSize(bytes, kSize, "sensor slot of the wrong size");
}

ThermoSensorRecord ThermoSensorRecord::at(ConfigImage& image, int channel, std::size_t slot) {
  return ThermoSensorRecord(image.record(sensorSlots(channel), kSize, slot));
}

void ThermoSensorRecord::setRomCode(const RomCode& code) { std::ranges::copy(code.bytes, b_.begin()); }

bool ThermoSensorRecord::reacts() const { return getBits(b_[9], kReactBit, 1) != 0; }
void ThermoSensorRecord::setReacts(bool on) { setBits(b_[9], kReactBit, 1, on ? 1 : 0); }
std::uint8_t ThermoSensorRecord::requestCount() const { return getBits(b_[9], kRequestsShift, kRequestsWidth); }
void ThermoSensorRecord::setRequestCount(unsigned count) { setBits(b_[9], kRequestsShift, kRequestsWidth, count); }

void ThermoSensorRecord::clearSensor() { std::fill_n(b_.begin(), RomCode::kSize + 1, 0); }

AliasRecord SensorAlias(ConfigImage& image, int channel, std::size_t slot) {
  return AliasRecord(image.record(sensorAliases(channel), AliasRecord::kSize, slot));
}

IButtonKeyRecord::IButtonKeyRecord(std::span<std::uint8_t> bytes) : b_(bytes) {
  requireSize(bytes, kSize, "key slot of the wrong size");
}

IButtonKeyRecord IButtonKeyRecord::at(ConfigImage& image, std::size_t slot) {
  return IButtonKeyRecord(image.record(image::KeySlots, kSize, slot));
}

void IButtonKeyRecord::setRomCode(const RomCode& code) { std::ranges::copy(code.bytes, b_.begin()); }

void IButtonKeyRecord::clearKey() { std::fill_n(b_.begin(), RomCode::kSize, 0); }

IButtonCommentRecord::IButtonCommentRecord(std::span<std::uint8_t> bytes) : b_(bytes) {
  requireSize(bytes, kSize, "key comment of the wrong size");
}

IButtonCommentRecord IButtonCommentRecord::at(ConfigImage& image, std::size_t slot) {
  return IButtonCommentRecord(image.record(image::KeyComments, kSize, slot));
}

std::size_t IButtonCommentRecord::length() const { return std::min<std::size_t>(b_[0], kMaxLength); }

std::u16string IButtonCommentRecord::text() const {
  std::u16string out;
  const std::size_t n = length();
  for (std::size_t i = 0; i < n; ++i) out += static_cast<char16_t>(readLe16(b_, 2 + 2 * i));
  return out;
}

void IButtonCommentRecord::store(std::u16string_view text) {
  b_[0] = 0;
  for (std::size_t i = 0; i < text.size() && i < kMaxLength && text[i] != u'\0'; ++i) {
    writeLe16(b_, 2 + 2 * i, text[i]);
    b_[0] = static_cast<std::uint8_t>(i + 1);
  }
}

}  // namespace wk
