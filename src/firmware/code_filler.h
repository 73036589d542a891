#pragma once
// The bytes that pad a firmware image where the code file ends. They mean
// nothing to the bootloader, but the controllers in the field were flashed
// with exactly this sequence: a linear congruential generator that starts at
// state 1 when the program starts, is never seeded, and carries on from one
// update to the next.
#include <cstdint>
#include <span>

namespace wk::firmware {

class CodeFiller {
 public:
  explicit CodeFiller(std::uint32_t state = 1) : state_(state) {}

  // The program's one generator, shared by every update of this run.
  static CodeFiller& program();

  // state = state * 214013 + 2531011 (mod 2^32); the byte is the low 8 bits
  // of bits 16..30 of the new state.
  std::uint8_t next() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<std::uint8_t>((state_ >> 16) & 0x7FFFu);
  }
  void fill(std::span<std::uint8_t> bytes) {
    for (std::uint8_t& b : bytes) b = next();
  }

  std::uint32_t state() const { return state_; }
  // Tests only: back to the state of a fresh program.
  void resetForTests(std::uint32_t state = 1) { state_ = state; }

 private:
  std::uint32_t state_;
};

}  // namespace wk::firmware
