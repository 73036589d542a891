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
// file cannot be opened or read; *error then holds the system's reason. Only
// regular files are read: a FIFO, a device or a folder is refused without
// being opened, so a read never waits for a writer that does not come.
std::optional<std::vector<std::uint8_t>> readFileHead(const std::string& path, std::size_t maxBytes,
                                                      std::string* error = nullptr);

// Writes data to a temporary file beside path, flushes it to the disk and only
// then renames it over path. On any failure the previous file is left as it
// was, the temporary file is removed, and false is returned with the reason in
// *error; a file-size limit is such a failure, not the end of the program.
//
// What path names decides what happens:
// - a regular file that may be written is replaced, keeping its permissions;
//   one that may not (no write permission bit at all, or none for this user)
//   is refused with "Permission denied", whoever runs the program;
// - anything else that exists (a device, a FIFO, a socket, a folder) is
//   refused and left alone: it is never replaced by a regular file;
// - a symbolic link is followed, so the file it points to is replaced or, for
//   a link to nothing, created; the link itself stays.
bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> data,
                         std::string* error = nullptr);

// Whether writeFileAtomically(path, ...) would get as far as writing: the
// same checks of the target, and a file can be created in its folder. Leaves
// nothing behind. False with the reason in *error.
bool canWriteFileAtomically(const std::string& path, std::string* error = nullptr);

// Whether the two paths name one file: the same one through a symbolic or a
// hard link counts. Paths that do not both exist are compared as given.
bool sameFile(const std::string& a, const std::string& b);

}  // namespace wk
