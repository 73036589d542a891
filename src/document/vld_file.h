#pragma once
// The .vld configuration file: a 16-bit format version, then the controller's
// whole SEE-Data memory (the image's SEE part padded with zeros to 65536
// bytes), then EE-Data 0..973. Version 105 is written; 104 is converted.
#include <cstdint>
#include <span>
#include <vector>

#include "document/config_image.h"

namespace wk::vld {

inline constexpr std::uint16_t kVersion = 105;
inline constexpr std::uint16_t kOldVersion = 104;
inline constexpr std::size_t kVersionSize = 2;
inline constexpr std::size_t kFileSize = kVersionSize + image::kSeeMemorySize + image::kEePartSize;  // 66512
// Version 104 kept each SMS record in a 256-byte slot and no other SEE region.
inline constexpr std::size_t kOldSlotSize = 256;

std::vector<std::uint8_t> serialize(const ConfigImage& image);

enum class ParseOutcome {
  Current,        // version 105
  ConvertedOld,   // version 104, converted
  NewerVersion,   // above 105: fallback contents
  OlderVersion,   // below 104: fallback contents
  TooShort,       // no version word: nothing was changed
};

// Fills image from the file's bytes. The caller passes the image the file is
// read into; where the file does not reach, the image keeps what it held. A
// file that ends early fills what it has.
ParseOutcome parse(std::span<const std::uint8_t> file, ConfigImage& image);

}  // namespace wk::vld
