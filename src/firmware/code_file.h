#pragma once
// A bootloader code file (.cod): a 128-byte header that goes to the
// controller as it is, then the code image. The bootloader takes 252 blocks
// of 128 code bytes, each with its checksum; code the file does not reach is
// padded with filler.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace wk::firmware {

class CodeFiller;

inline constexpr std::size_t kHeaderSize = 128;
// The code buffer: no more code than this is ever read from a file.
inline constexpr std::size_t kCodeBufferSize = 32768;
inline constexpr std::size_t kBlockSize = 128;
inline constexpr int kBlockCount = 252;
// Code positions 0 to 0x7DFF are sent; the rest of the buffer never is.
inline constexpr std::size_t kSentCodeSize = kBlockSize * kBlockCount;

struct CodeFile {
  std::array<std::uint8_t, kHeaderSize> header{};
  std::vector<std::uint8_t> code;  // what the file holds after the header, at most kCodeBufferSize
};

// From the file's bytes; nothing when they cannot hold the header. Code
// beyond kCodeBufferSize is dropped.
std::optional<CodeFile> parseCodeFile(std::span<const std::uint8_t> bytes);

struct CodeFileRead {
  enum class Status { Read, Unreadable, TooShort };
  Status status = Status::Unreadable;
  CodeFile file;
  std::size_t fileSize = 0;  // bytes read (at most header and code buffer)
  std::string reason;        // the system's reason when unreadable
};

// Reads at most kHeaderSize + kCodeBufferSize bytes of the file.
CodeFileRead readCodeFile(const std::string& path);

// The code buffer as it is sent: kCodeBufferSize bytes of filler taken from
// the generator, then the file's code over them from position 0.
std::vector<std::uint8_t> codeImage(const CodeFile& file, CodeFiller& filler);

// The sum of the block's bytes modulo 256.
std::uint8_t blockChecksum(std::span<const std::uint8_t> block);

}  // namespace wk::firmware
