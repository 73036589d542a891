// Every command letter the controller answers, and the subsystem that
// answers it. A new command is one line here and its case in its handler.
#include "bootloader_handler.h"
#include "config_handler.h"
#include "diagnostics_handler.h"
#include "dispatch.h"
#include "onewire_handler.h"

namespace gzsim {

void buildCommandTable(CommandTable& table) {
  // The configuration memories, the version and the line speed.
  auto& config = table.add<ConfigHandler>();
  table.route('v', config);
  table.route('R', config);
  table.route('s', config);
  table.route('S', config);
  table.route('e', config);
  table.route('E', config);

  // The 1-Wire buses: the search of each, the devices found, the temperature.
  auto& onewire = table.add<OneWireHandler>();
  table.route('0', onewire);
  table.route('1', onewire);
  table.route('2', onewire);
  table.route('n', onewire);
  table.route('T', onewire);

  // System information and the bootloader (the version is the config's 'v').
  auto& bootloader = table.add<BootloaderHandler>();
  table.route('M', bootloader);
  table.route('N', bootloader);
  table.route('U', bootloader);
  table.route('W', bootloader);

  // The raw input readings; the health counters are EE-Data of config.
  auto& diagnostics = table.add<DiagnosticsHandler>(config);
  table.route('a', diagnostics);
}

}  // namespace gzsim
