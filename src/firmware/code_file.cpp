#include "firmware/code_file.h"

#include <algorithm>

#include "firmware/code_filler.h"
#include "util/file_io.h"

namespace wk::firmware {

std::optional<CodeFile> parseCodeFile(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kHeaderSize) return std::nullopt;
  CodeFile file;
  std::copy_n(bytes.begin(), kHeaderSize, file.header.begin());
  const auto code = bytes.subspan(kHeaderSize, std::min(bytes.size() - kHeaderSize, kCodeBufferSize));
  file.code.assign(code.begin(), code.end());
  return file;
}

CodeFileRead readCodeFile(const std::string& path) {
  CodeFileRead result;
  const auto bytes = readFileHead(path, kHeaderSize + kCodeBufferSize, &result.reason);
  if (!bytes) return result;
  result.fileSize = bytes->size();
  const auto file = parseCodeFile(*bytes);
  if (!file) {
    result.status = CodeFileRead::Status::TooShort;
    return result;
  }
  result.status = CodeFileRead::Status::Read;
  result.file = *file;
  return result;
}

std::vector<std::uint8_t> codeImage(const CodeFile& file, CodeFiller& filler) {
  std::vector<std::uint8_t> image(kCodeBufferSize);
  filler.fill(image);
  std::copy_n(file.code.begin(), std::min(file.code.size(), image.size()), image.begin());
  return image;
}

std::uint8_t blockChecksum(std::span<const std::uint8_t> block) {
  unsigned sum = 0;
  for (const std::uint8_t b : block) sum += b;
  return static_cast<std::uint8_t>(sum & 0xFF);
}

}  // namespace wk::firmware
