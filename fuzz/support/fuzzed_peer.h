#pragma once
// A controller made of fuzz bytes, in the place of the serial port. Whatever
// the program sends is taken and forgotten; each read is answered by the next
// bytes of the fuzz input, which say how the peer replies:
//
//   one control byte c, then what it needs. n = c & 0x3F; the reply is n bytes
//   (at most what the read asks for), or as many as asked for when n is 0.
//     c >> 6 == 0   the reply's bytes follow in the input
//     c >> 6 == 1   one byte follows; the reply repeats it
//     c >> 6 == 2   the reply repeats the last command letter sent (the last
//                   single-byte write), so echoes and closing bytes are cheap
//     c >> 6 == 3   nothing arrives: the read times out
//   When the input is used up, every read times out.
//
// So a whole read-all fits in a few kilobytes of input: an echo is one byte
// (0x81), a 1024-byte block two (0x40 and the value).
//
// A target may take bytes of its own off the same input (takeByte) to choose
// what to do, before or between the exchanges.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "link/transport.h"

namespace wk::fuzz {

class FuzzedPeer : public link::Transport {
 public:
  explicit FuzzedPeer(std::span<const std::uint8_t> input) : input_(input) {}

  // The next input byte, or 0 when the input is used up.
  std::uint8_t takeByte();
  std::uint16_t takeLe16();
  bool exhausted() const { return at_ >= input_.size(); }

  // Set by the target to take the failure paths of the line itself.
  bool failOpen = false;
  bool failSpeedChange = false;

  std::size_t bytesWritten() const { return written_; }
  int baud() const { return baud_; }

  link::OpenStatus open(const std::string& device, int baud) override;
  void close() override { open_ = false; }
  bool isOpen() const override { return open_; }
  bool setBaudRate(int baud) override;
  std::size_t write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds timeout) override;
  std::size_t read(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout) override;
  void discardInput() override {}
  void drainOutput() override {}

 private:
  std::span<const std::uint8_t> input_;
  std::size_t at_ = 0;
  bool open_ = false;
  int baud_ = 0;
  std::uint8_t lastLetter_ = 0;
  std::size_t written_ = 0;
};

}  // namespace wk::fuzz
