#pragma once
// The configuration memories: SEE-Data (65536 bytes) and EE-Data (1024 bytes:
// the configuration at 0..973, the health counters at 974..981, the rest
// spare), with the commands that read and write them in blocks, the version
// query and the speed change.
//
//   v          echo, version low, high, 'd'
//   R code     echo; code 0 switches to 460800 baud, 7 to 57600
//   s n a      echo, n bytes of SEE-Data from a
//   S n a d..  echo, n bytes to SEE-Data at a, then 'S'
//   e n a      echo, n bytes of EE-Data from a, then 'e'
//   E n a d..  echo, n bytes to EE-Data at a, then 'E'
//
// n and a are 16 bits, low byte first. Bytes past the end of a memory read
// as 0xFF; writes there are lost. The fault bad-store makes S and E store the
// block's last byte inverted and acknowledge it all the same.
#include <span>

#include "handler.h"

namespace gzsim {

class ConfigHandler : public Handler {
 public:
  static constexpr std::size_t kSeeSize = 65536;
  static constexpr std::size_t kEeSize = 1024;

  std::string name() const override { return "config"; }
  void handle(Exchange& x) override;
  std::vector<Option> options() const override;
  bool setOption(const std::string& name, const std::string& value, std::string& why) override;
  // SEE-Data, then EE-Data: the 66560 bytes of the simulator's first state files.
  std::optional<Bytes> saveState() const override;
  bool loadState(std::span<const std::uint8_t> section, std::string& why) override;

  // For handlers whose data lives in EE-Data (the health counters).
  std::span<std::uint8_t> ee() { return ee_; }

 private:
  void version(Exchange& x);
  void speed(Exchange& x);
  void readBlock(Exchange& x, const Bytes& memory, bool closed);
  void writeBlock(Exchange& x, Bytes& memory);

  Bytes see_ = Bytes(kSeeSize, 0);
  Bytes ee_ = Bytes(kEeSize, 0);
  long version_ = 105;
};

}  // namespace gzsim
