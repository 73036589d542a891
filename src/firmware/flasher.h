#pragma once
// "Flash it!": a code file into the controller through its bootloader.
//
//   PC                               controller
//   'U', 10 ms                       'U'   (the bootloader takes over)
//   'W'                              'W'
//   the 128 header bytes
//   block k = 0..251: 128 code bytes and their checksum
//                                    1 byte; 'B' reports a bad block
//
// The file is read before a byte is sent: a controller must never be left
// waiting in its bootloader for a file that cannot be read.
#include <cstdint>
#include <string>

#include "firmware/outcome.h"
#include "link/device_session.h"

namespace wk::firmware {

class CodeFiller;

namespace command {
inline constexpr std::uint8_t kEnterUpdate = 'U';
inline constexpr std::uint8_t kStartWriting = 'W';
inline constexpr std::uint8_t kBadBlock = 'B';
}  // namespace command

// Runs the update with the program's filler. Every way out closes the port
// and takes the progress window down; success is reported only when every
// block was answered and none was refused.
Outcome FlashFirmware(const link::DeviceLink& link, const std::string& path);
// The same with a given filler (tests).
Outcome FlashFirmware(const link::DeviceLink& link, const std::string& path, CodeFiller& filler);

}  // namespace wk::firmware
