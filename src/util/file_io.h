#pragma once
// Whole-file reads with an upper bound, and saves that never destroy the
// previous file.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace wk {

// Reads at most maxBytes from the start of the file. Returns nothing when the
// file cannot be opened or read; *error then holds the system's reason.
std::optional<std::vector<std::uint8_t>> readFileHead(const std::string& path, std::size_t maxBytes,
                                                      std::string* error = nullptr);

// Writes data to a temporary file beside path, flushes it to the disk and only
// then renames it over path. On any failure the previous file is left as it
// was, the temporary file is removed, and false is returned with the reason in
// *error. A symbolic link is followed, so the file it points to is replaced.
bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> data,
                         std::string* error = nullptr);

}  // namespace wk
