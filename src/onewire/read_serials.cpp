#include "onewire/read_serials.h"

#include <algorithm>

#include "language/translate.h"
#include "link/port.h"
#include "link/protocol.h"
#include "onewire/crc8.h"
#include "seams/progress.h"
#include "seams/prompter.h"
#include "util/strformat.h"

namespace wk {

std::string_view onewire::busName(int bus) {
  switch (bus) {
    case 0: return "1Wire channel 1";
    case 1: return "1Wire channel 2";
    default: return "1Wire channel 3 (ext.key)";
  }
}

namespace {

std::string crcMessage(const RomCode& rom) {
  const auto& b = rom.bytes;
  return strprintf("CRC Error\n\rReaded laser ROM [%.2X]%.2X%.2X%.2X%.2X%.2X%.2X(%.2X)", b[0], b[1], b[2], b[3], b[4],
                   b[5], b[6], b[7]);
}

std::string tooManyMessage(int count) {
  return strprintf("%s %d %s", tr("The bus holds").c_str(), count,
                   tr("devices, more than a list can keep: only the first 16 were read.").c_str());
}

}  // namespace

int ReadChannelSerials(const link::DeviceLink& link, int bus, SerialList& list) {
  list.fill(RomCode{});
  if (bus < 0 || bus >= onewire::kBusCount) return -1;
  link::DeviceSession session(link);
  if (!session.open()) return -1;
  const std::unique_ptr<Progress> progress = session.startProgress();
  progress->setCaption(tr("Read Sensors SNs"));
  progress->setStatus(strprintf("%s %d", tr("Channel #").c_str(), bus + 1));

  link::Port& port = session.port();
  Prompter& ui = session.prompter();
  // Every failure is told first, then the port and the progress go.
  const auto fail = [&](const std::string& text, MessageIcon icon) {
    ui.message(text, icon);
    session.closePort();
    progress->close();
    return -1;
  };

  const auto digit = static_cast<std::uint8_t>('0' + bus);
  if (link::SendCommand(port, digit) != digit) return fail("ERROR 1", MessageIcon::Information);
  std::uint8_t count = 0;
  if (!port.readByte(count)) return fail("ERROR 2", MessageIcon::Information);
  const int kept = std::min<int>(count, static_cast<int>(list.size()));
  progress->setRange(kept);

  for (int i = 0; i < kept; ++i) {
    if (link::SendCommand(port, onewire::kNextDevice) != onewire::kNextDevice)
      return fail("ERROR 3", MessageIcon::Information);
    port.writeByte(static_cast<std::uint8_t>(i));
    progress->setPos(i + 1);
    RomCode rom;
    if (port.read(rom.bytes) < rom.bytes.size()) return fail("ERROR 4", MessageIcon::Information);
    if (OneWireCrc8(rom) != 0) return fail(crcMessage(rom), MessageIcon::Error);
    list[static_cast<std::size_t>(i)] = rom;
  }
  session.closePort();
  progress->close();
  if (count > kept) ui.message(tooManyMessage(count), MessageIcon::Warning);
  return kept;
}

}  // namespace wk
