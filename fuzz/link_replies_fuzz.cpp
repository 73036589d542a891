// The replies of the controller to one command at a time: the version query,
// the speed change, SEE-Data and EE-Data block reads and writes. The input
// chooses a run of commands (each from one byte and its parameters) and, in
// between, what the peer answers (see support/fuzzed_peer.h).
#include <cstdint>
#include <span>
#include <vector>

#include "link/port.h"
#include "link/protocol.h"
#include "seams/settings.h"
#include "support/fuzzed_peer.h"
#include "support/quiet_seams.h"

using namespace wk;
using namespace wk::link;

namespace {

constexpr int kMaxCommands = 32;
constexpr std::size_t kMaxSeeBlock = 1024;
constexpr std::size_t kMaxEeBlock = 16;

void checkBlock(const BlockReply& reply, std::size_t asked, bool hasClosingByte) {
  WK_FUZZ_CHECK(reply.dataBytes <= asked);
  if (!reply.echoed()) {
    WK_FUZZ_CHECK(reply.dataBytes == 0);
    WK_FUZZ_CHECK(!reply.endMark);
  }
  if (!hasClosingByte) WK_FUZZ_CHECK(!reply.endMark);
}

void blockRead(Port& port, fuzz::FuzzedPeer& peer, bool see) {
  const std::uint16_t address = peer.takeLe16();
  const std::size_t limit = see ? kMaxSeeBlock : kMaxEeBlock;
  std::vector<std::uint8_t> data(peer.takeLe16() % (limit + 1), 0xEE);
  const BlockReply reply = see ? ReadSee(port, address, data) : ReadEe(port, address, data);
  checkBlock(reply, data.size(), !see);
}

void blockWrite(Port& port, fuzz::FuzzedPeer& peer, bool see) {
  const std::uint16_t address = peer.takeLe16();
  const std::vector<std::uint8_t> data(see ? 128 : 2, peer.takeByte());
  const BlockReply reply = see ? WriteSee(port, address, data) : WriteEe(port, address, data);
  checkBlock(reply, 0, true);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzedPeer peer(std::span(data, size));
  fuzz::QuietPrompter prompter;
  fuzz::FakeClock clock;
  MemorySettings settings;
  Port port(peer, settings, prompter, clock);

  for (int i = 0; i < kMaxCommands && !peer.exhausted(); ++i) {
    if (!port.isOpen()) WK_FUZZ_CHECK(port.OpenPort());
    const std::uint8_t choice = peer.takeByte();
    const std::size_t shown = prompter.messages;
    switch (choice % 8) {
      case 0: {
        const std::uint16_t version = QueryVersion(port);
        if (version != 0) WK_FUZZ_CHECK(port.isOpen() && prompter.messages == shown);
        break;
      }
      case 1: {
        const bool right = CheckVersion(port);
        // Anything but the right version closes the port with a message.
        WK_FUZZ_CHECK(right == port.isOpen());
        WK_FUZZ_CHECK(right == (prompter.messages == shown));
        break;
      }
      case 2: {
        const SpeedCode code = choice & 0x08 ? SpeedCode::Baud57600 : SpeedCode::Baud460800;
        peer.failSpeedChange = (choice & 0x10) != 0;
        const bool switched = SetSpeed(port, code);
        peer.failSpeedChange = false;
        WK_FUZZ_CHECK(switched == port.isOpen());
        if (switched) WK_FUZZ_CHECK(peer.baud() == baudRate(code));
        else WK_FUZZ_CHECK(prompter.last == "Set Speed Error");
        break;
      }
      case 3: blockRead(port, peer, true); break;
      case 4: blockRead(port, peer, false); break;
      case 5: blockWrite(port, peer, true); break;
      case 6: blockWrite(port, peer, false); break;
      default: {
        const std::uint8_t letter = peer.takeByte();
        const auto echo = SendCommand(port, letter);
        (void)echo;
        break;
      }
    }
  }
  return 0;
}
