#pragma once
// A scripted controller for the firmware procedures, with one log in which
// the progress window's calls, the messages (and whether the port was still
// open when each came) appear in the order they happened.
#include <memory>
#include <string>
#include <vector>

#include "firmware/code_filler.h"
#include "link/device_session.h"
#include "seams/settings.h"
#include "support/link_doubles.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace wk::firmware::test {

using namespace wk::test;

// The filler as the bootloader's images were always padded, written out from
// the formula rather than taken from the program: from state 1,
// state = state * 214013 + 2531011 (mod 2^32), byte = low 8 bits of bits 16..30.
inline std::vector<std::uint8_t> referenceFiller(std::size_t from, std::size_t count) {
  std::uint32_t state = 1;
  std::vector<std::uint8_t> out;
  for (std::size_t i = 0; i < from + count; ++i) {
    state = state * 214013u + 2531011u;
    if (i >= from) out.push_back(static_cast<std::uint8_t>(state >> 16));
  }
  return out;
}

class LoggingPrompter : public ScriptedPrompter {
 public:
  LoggingPrompter(std::vector<std::string>& log, const ScriptedPeer& peer) : log_(log), peer_(peer) {}
  Answer message(const std::string& text, MessageIcon icon, MessageButtons buttons) override {
    log_.push_back("message " + text + (peer_.isOpen() ? " (port open)" : ""));
    return ScriptedPrompter::message(text, icon, buttons);
  }

 private:
  std::vector<std::string>& log_;
  const ScriptedPeer& peer_;
};

struct Rig {
  ScriptedPeer peer;
  MemorySettings settings;
  std::vector<std::string> log;  // progress calls and messages
  LoggingPrompter prompter{log, peer};
  TestClock clock;
  int progressWindows = 0;
  CodeFiller filler;
  TempDir dir;

  link::DeviceLink link() {
    return {peer, prompter, settings, clock, [this] {
              ++progressWindows;
              return std::make_unique<RecordingProgress>(log);
            }};
  }
  std::string codeFile(const std::vector<std::uint8_t>& bytes, const std::string& name = "fw.cod") {
    writeBytes(dir.file(name), bytes);
    return dir.file(name);
  }
};

// A file of a header (bytes 0xA0 + i) and codeBytes bytes of code (i * 7 + 3).
inline std::vector<std::uint8_t> sampleFile(std::size_t codeBytes) {
  std::vector<std::uint8_t> out;
  for (std::size_t i = 0; i < 128; ++i) out.push_back(static_cast<std::uint8_t>(0xA0 + i));
  for (std::size_t i = 0; i < codeBytes; ++i) out.push_back(static_cast<std::uint8_t>(i * 7 + 3));
  return out;
}

inline std::uint8_t sumOf(const std::uint8_t* bytes, std::size_t n) {
  unsigned s = 0;
  for (std::size_t i = 0; i < n; ++i) s += bytes[i];
  return static_cast<std::uint8_t>(s);
}

// What the PC sends for a whole update of header and the 32256 code bytes
// after "U" and "W" have been answered; each block is answered with its
// checksum.
inline void expectUpdate(ScriptedPeer& peer, const std::vector<std::uint8_t>& header,
                         const std::vector<std::uint8_t>& code, int blocks = 252) {
  peer.expect("55", "55").expect("57", "57").expect(header, {});
  for (int k = 0; k < blocks; ++k) {
    std::vector<std::uint8_t> block(code.begin() + k * 128, code.begin() + (k + 1) * 128);
    const std::uint8_t checksum = sumOf(block.data(), block.size());
    block.push_back(checksum);
    peer.expect(block, {checksum});
  }
}

// The progress of a whole update: the window, then a position per block.
inline std::vector<std::string> wholeUpdateProgress() {
  std::vector<std::string> log{"caption Update in progress...", "status Write to flash", "range 252"};
  for (int k = 0; k < 252; ++k) log.push_back("pos " + std::to_string(k));
  return log;
}

}  // namespace wk::firmware::test
