#pragma once
// The commands of watchkeep-cli that talk to the controller.
#include <optional>
#include <string>

#include "diagnostics/input_lines.h"

namespace wk::cli {

// Every device command from now on traces its serial line to path
// (--trace); without it the variable WATCHKEEP_TRACE may name a file. False,
// with why, when path cannot be written.
bool traceTo(const std::string& path, std::string& why);

// Read-all into a new document, saved as outPath only when the read completed.
// An outPath that cannot be written fails at once, before the port opens.
int readAll(const std::optional<std::string>& port, const std::string& outPath);

// Write-all of the file's image as it is. keepGsmManaged is the
// --save-ports-output flag; without it the "SavePortsOutput" setting decides.
int writeAll(const std::optional<std::string>& port, const std::string& path, bool keepGsmManaged);

// Writes only the blocks of write-all where the controller differs from the
// file, in one session, and reads them back. With backupPath the read that
// finds them is saved there first; nothing is written when that fails.
int writeChanged(const std::optional<std::string>& port, const std::string& path, bool keepGsmManaged,
                 const std::optional<std::string>& backupPath);

// The devices on 1-Wire bus channel (1..3 as the user counts them), one line
// each: position from 1, ROM code, part names, description, tab-separated.
int sensors(const std::optional<std::string>& port, int channel);

// count readings of the sensor, one line each in degrees Celsius.
int temperature(const std::optional<std::string>& port, const std::string& romText, int count);

// The controller's model, serial number and firmware version, as one line.
int systemInfo(const std::optional<std::string>& port);

// The code file through the controller's bootloader, with a progress bar on
// a terminal. A file that cannot be used is a file error: nothing is sent.
int flash(const std::optional<std::string>& port, const std::string& path);

// The eight health counters as "name<TAB>value" lines, after setting them to
// zero when reset. Nothing is printed when they were not all read.
int health(const std::optional<std::string>& port, bool reset);

// count polls of the input readings, 100 ms apart, each printed as the eight
// lines of the resistance dialog in mode.
int inputs(const std::optional<std::string>& port, diag::InputMode mode, int count);

}  // namespace wk::cli
