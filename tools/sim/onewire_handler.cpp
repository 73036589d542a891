#include "onewire_handler.h"

#include <algorithm>
#include <cstdlib>

namespace gzsim {
namespace {

constexpr std::uint8_t kVersion = 1;
constexpr std::size_t kManyDevices = 20;
constexpr std::uint32_t kDriftPeriod = 120;  // readings
constexpr int kDriftStep = 5;                 // hundredths a reading

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string romText(const OneWireHandler::Rom& rom) {
  std::string s;
  for (std::uint8_t b : rom) s += format("%02X", b);
  return s;
}

bool isThermometer(std::uint8_t family) {
  return family == 0x10 || family == 0x22 || family == 0x25 || family == 0x28;
}

// "-2.5", "21.37": degrees with up to two decimals, into hundredths.
bool parseCelsius(const std::string& text, int& centi) {
  std::size_t i = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (negative || (!text.empty() && text[0] == '+')) ++i;
  long whole = 0;
  std::size_t digits = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) whole = whole * 10 + (text[i] - '0');
  if (digits == 0 || digits > 3) return false;
  long hundredths = 0;
  if (i < text.size() && text[i] == '.') {
    ++i;
    int decimals = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9' && decimals < 2; ++i, ++decimals)
      hundredths = hundredths * 10 + (text[i] - '0');
    if (decimals == 0) return false;
    if (decimals == 1) hundredths *= 10;
  }
  if (i != text.size()) return false;
  const long value = (negative ? -1 : 1) * (whole * 100 + hundredths);
  if (value < -32768 || value > 32767) return false;
  centi = static_cast<int>(value);
  return true;
}

// A made-up DS18B20 for the fault "many": distinct, with a correct CRC.
OneWireHandler::Rom madeUp(std::size_t index) {
  OneWireHandler::Rom rom{0x28, 0xEE, static_cast<std::uint8_t>(index), 0, 0, 0, 0, 0};
  rom[7] = OneWireHandler::crc8(std::span(rom).first(7));
  return rom;
}

}  // namespace

OneWireHandler::OneWireHandler() : devices_(defaultDevices()) {}

const std::vector<OneWireHandler::Device>& OneWireHandler::defaultDevices() {
  static const std::vector<Device> devices = {
      {0, {0x28, 0x61, 0x64, 0x12, 0x3C, 0x7C, 0x2F, 0x27}, false, 2150, 0},
      {0, {0x28, 0x3A, 0x9E, 0x45, 0x92, 0x10, 0x02, 0x7F}, false, 2310, 0},
      {0, {0x28, 0xB7, 0x2C, 0x79, 0x97, 0x04, 0x03, 0xF5}, false, 1875, 0},
      {1, {0x28, 0x05, 0xD1, 0x07, 0x0B, 0x00, 0x00, 0x21}, false, 520, 0},
      {1, {0x28, 0xE4, 0x4A, 0x16, 0x0B, 0x00, 0x00, 0x4F}, false, -350, 0},
      {2, {0x01, 0x6E, 0x3F, 0x58, 0x13, 0x00, 0x00, 0x6C}, false, 0, 0},
      {2, {0x01, 0xA9, 0x8B, 0x12, 0x0F, 0x00, 0x00, 0x2C}, false, 0, 0},
  };
  return devices;
}

std::uint8_t OneWireHandler::crc8(std::span<const std::uint8_t> bytes) {
  std::uint8_t crc = 0;
  for (std::uint8_t byte : bytes) {
    for (int bit = 0; bit < 8; ++bit) {
      const bool mix = ((crc ^ byte) & 1) != 0;
      crc = static_cast<std::uint8_t>(crc >> 1);
      if (mix) crc ^= 0x8C;
      byte = static_cast<std::uint8_t>(byte >> 1);
    }
  }
  return crc;
}

int OneWireHandler::temperatureAfter(const Device& device, std::uint32_t n) {
  if (device.fixed) return device.base;
  const std::uint32_t phase = n % kDriftPeriod;
  const int drift = kDriftStep * static_cast<int>(phase <= kDriftPeriod / 2 ? phase : kDriftPeriod - phase);
  return std::clamp(device.base + drift, -32768, 32767);
}

std::vector<Option> OneWireHandler::options() const {
  return {{"--onewire-device", "CH:ROM[@T]",
           "a device on 1-Wire bus CH (1 and 2 sensors, 3 keys); ROM is 16\n"
           "hex digits with a correct CRC byte, or 14 and the CRC is added;\n"
           "@T holds a sensor at T degrees Celsius (e.g. @-2.00), else it\n"
           "drifts. Repeatable; replaces the default devices (three DS18B20\n"
           "on bus 1, two on bus 2, two DS1990A keys on bus 3)"},
          {"--onewire-none", "", "no devices on any 1-Wire bus"}};
}

bool OneWireHandler::setOption(const std::string& name, const std::string& value, std::string& why) {
  if (!devicesGiven_) devices_.clear();
  devicesGiven_ = true;
  if (name == "--onewire-none") return true;
  Device d;
  const std::size_t colon = value.find(':');
  const std::size_t at = value.find('@');
  if (colon != 1 || value[0] < '1' || value[0] > '3') {
    why = "bad bus in --onewire-device " + value + " (1, 2 or 3)";
    return false;
  }
  d.bus = value[0] - '1';
  const std::string hex = value.substr(2, at == std::string::npos ? std::string::npos : at - 2);
  if (hex.size() != 14 && hex.size() != 16) {
    why = "bad ROM code in --onewire-device " + value + " (14 or 16 hex digits)";
    return false;
  }
  for (std::size_t i = 0; i < hex.size() / 2; ++i) {
    const int high = hexDigit(hex[2 * i]), low = hexDigit(hex[2 * i + 1]);
    if (high < 0 || low < 0) {
      why = "bad ROM code in --onewire-device " + value;
      return false;
    }
    d.rom[i] = static_cast<std::uint8_t>(high * 16 + low);
  }
  if (hex.size() == 14) d.rom[7] = crc8(std::span(d.rom).first(7));
  if (crc8(d.rom) != 0) {
    why = format("wrong CRC byte in --onewire-device %s (it would be %02X)", value.c_str(),
                 crc8(std::span(d.rom).first(7)));
    return false;
  }
  if (at != std::string::npos) {
    if (!parseCelsius(value.substr(at + 1), d.base)) {
      why = "bad temperature in --onewire-device " + value;
      return false;
    }
    d.fixed = true;
  }
  devices_.push_back(d);
  return true;
}

std::vector<FaultKind> OneWireHandler::faultKinds() const {
  return {{"bad-crc", "n: the ROM code's CRC byte is wrong"},
          {"many", "0 1 2: the bus reports at least 20 devices"},
          {"no-reading", "T: the echo, then no temperature"}};
}

// Version, count (16 bits), then per device: bus, ROM, fixed, base (16 bits),
// readings taken (32 bits), all low byte first.
// Nothing while the buses hold the default devices.
std::optional<Bytes> OneWireHandler::saveState() const {
  const auto& defaults = defaultDevices();
  const auto same = [](const Device& a, const Device& b) {
    return a.bus == b.bus && a.rom == b.rom && a.fixed == b.fixed && a.base == b.base;
  };
  if (std::equal(devices_.begin(), devices_.end(), defaults.begin(), defaults.end(), same)) return std::nullopt;
  Bytes out{kVersion, static_cast<std::uint8_t>(devices_.size()), static_cast<std::uint8_t>(devices_.size() >> 8)};
  for (const Device& d : devices_) {
    out.push_back(static_cast<std::uint8_t>(d.bus));
    out.insert(out.end(), d.rom.begin(), d.rom.end());
    out.push_back(d.fixed ? 1 : 0);
    const auto base = static_cast<std::uint16_t>(d.base);
    out.push_back(static_cast<std::uint8_t>(base));
    out.push_back(static_cast<std::uint8_t>(base >> 8));
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(d.readings >> (8 * i)));
  }
  return out;
}

bool OneWireHandler::loadState(std::span<const std::uint8_t> s, std::string& why) {
  constexpr std::size_t kEach = 1 + 8 + 1 + 2 + 4;
  if (s.size() < 3 || s[0] != kVersion) {
    why = "unknown layout";
    return false;
  }
  const std::size_t count = s[1] | (s[2] << 8);
  if (s.size() != 3 + count * kEach) {
    why = format("%zu bytes for %zu devices", s.size(), count);
    return false;
  }
  if (devicesGiven_) return true;  // the command line's devices win
  devices_.clear();
  for (std::size_t k = 0; k < count; ++k) {
    const auto* p = s.data() + 3 + k * kEach;
    Device d;
    d.bus = p[0] % kBuses;
    std::copy_n(p + 1, 8, d.rom.begin());
    d.fixed = p[9] != 0;
    d.base = static_cast<std::int16_t>(p[10] | (p[11] << 8));
    d.readings = static_cast<std::uint32_t>(p[12] | (p[13] << 8) | (p[14] << 16)) | (static_cast<std::uint32_t>(p[15]) << 24);
    devices_.push_back(d);
  }
  return true;
}

std::vector<const OneWireHandler::Device*> OneWireHandler::devicesOn(int bus) const {
  std::vector<const Device*> out;
  for (const Device& d : devices_)
    if (d.bus == bus) out.push_back(&d);
  return out;
}

void OneWireHandler::handle(Exchange& x) {
  switch (x.letter()) {
    case '0':
    case '1':
    case '2': search(x); break;
    case 'n': next(x); break;
    case 'T': measure(x); break;
  }
}

void OneWireHandler::search(Exchange& x) {
  searched_ = x.letter() - '0';
  std::size_t count = devicesOn(searched_).size();
  many_ = x.fault("many");
  if (many_) count = std::max(count, kManyDevices);
  count = std::min<std::size_t>(count, 255);
  if (!x.fault(fault::kShort)) x.put({static_cast<std::uint8_t>(count)});
  x.trace(format("%c %zu", x.letter(), count));
}

void OneWireHandler::next(Exchange& x) {
  const auto index = x.get();
  if (!index) {
    x.trace("n timeout");
    return;
  }
  const auto on = devicesOn(searched_);
  Rom rom{};
  if (*index < on.size())
    rom = on[*index]->rom;
  else if (many_)
    rom = madeUp(*index);
  if (x.fault("bad-crc")) rom[7] ^= 0x01;
  Bytes reply(rom.begin(), rom.end());
  if (x.fault(fault::kShort)) reply.pop_back();
  x.put(reply);
  x.trace(format("n %d %s", *index, romText(rom).c_str()));
}

void OneWireHandler::measure(Exchange& x) {
  const auto code = x.getBytes(8);
  if (!code) {
    x.trace("T timeout");
    return;
  }
  Rom rom;
  std::copy_n(code->begin(), 8, rom.begin());
  const auto found = std::find_if(devices_.begin(), devices_.end(),
                                  [&](const Device& d) { return d.rom == rom && isThermometer(rom[0]); });
  if (found == devices_.end() || x.fault("no-reading")) {
    x.trace(format("T %s none", romText(rom).c_str()));
    return;
  }
  const int t = temperatureAfter(*found, found->readings++);
  const auto v = static_cast<std::uint16_t>(t);
  Bytes reply{static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)};
  if (x.fault(fault::kShort)) reply.pop_back();
  x.put(reply);
  x.trace(format("T %s %d", romText(rom).c_str(), t));
}

}  // namespace gzsim
