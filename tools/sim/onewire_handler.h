#pragma once
// The three 1-Wire buses: sensors on buses 1 and 2, iButton keys on bus 3 (as
// the user counts them; the command digits are 0, 1 and 2). The controller
// searches a bus on its digit and hands over the devices it found one at a
// time; it measures one sensor on "T".
//
//   0 1 2      echo, the number of devices on that bus (which 'n' then reads)
//   n i        echo, the 8 bytes of device i of the bus searched last
//              (8 zero bytes past its end)
//   T r0..r7   echo, then the sensor's temperature in hundredths of a degree
//              Celsius, 16 bits signed, low byte first; nothing for a code
//              that is no thermometer on a bus (families 10, 22, 25, 28)
//
// The devices are kept in the state file unless they are the default ones.
// A sensor's temperature drifts slowly with the readings taken of it: up by
// 0.05 degrees a reading to 3 degrees above its base, then back down, every
// 120 readings; the same sequence every run, so tests can predict it. A
// temperature given with the device holds still.
//
// Faults of its own: bad-crc (n: the code's CRC byte is wrong), many (a
// digit: the bus reports at least 20 devices; made-up DS18B20s follow the
// real ones), no-reading (T: the echo, then nothing). The generic short cuts
// the count (a digit), the code to 7 bytes (n) or the reading to 1 byte (T).
#include <array>
#include <cstdint>
#include <vector>

#include "handler.h"

namespace gzsim {

class OneWireHandler : public Handler {
 public:
  static constexpr int kBuses = 3;
  using Rom = std::array<std::uint8_t, 8>;

  struct Device {
    int bus = 0;  // 0..2
    Rom rom{};
    bool fixed = false;   // the temperature holds still
    int base = 2150;      // hundredths of a degree
    std::uint32_t readings = 0;
  };

  OneWireHandler();

  std::string name() const override { return "onewire"; }
  void handle(Exchange& x) override;
  std::vector<Option> options() const override;
  bool setOption(const std::string& name, const std::string& value, std::string& why) override;
  std::vector<FaultKind> faultKinds() const override;
  std::optional<Bytes> saveState() const override;
  bool loadState(std::span<const std::uint8_t> section, std::string& why) override;

  // The 1-Wire CRC-8 (X^8 + X^5 + X^4 + 1, reflected): 0 over a valid code.
  static std::uint8_t crc8(std::span<const std::uint8_t> bytes);
  // What the sensor reads after n readings.
  static int temperatureAfter(const Device& device, std::uint32_t n);
  static const std::vector<Device>& defaultDevices();

 private:
  void search(Exchange& x);
  void next(Exchange& x);
  void measure(Exchange& x);
  std::vector<const Device*> devicesOn(int bus) const;

  std::vector<Device> devices_;
  bool devicesGiven_ = false;  // on the command line: the state file's list is not used
  int searched_ = 0;           // the bus 'n' reads
  bool many_ = false;          // the last search reported made-up devices
};

}  // namespace gzsim
