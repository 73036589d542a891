#include "diagnostics/health.h"

#include <span>

#include "language/translate.h"
#include "link/port.h"
#include "link/protocol.h"
#include "seams/prompter.h"
#include "util/strformat.h"
#include "util/utf.h"

namespace wk::diag {
namespace {

constexpr std::array<std::string_view, kHealthCounterCount> kNames = {
    "WDT Resets",      "Power Lost times", "Modem Errors",   "1-Wire Errors",
    "Software resets", "Net Lost times",   "---Reserved---", "---Reserved---"};

// What a message shows for a byte that never came.
constexpr std::uint8_t kNoEcho = 'y';
constexpr std::uint8_t kNoEndMark = 'x';

std::uint16_t addressOf(int row) { return static_cast<std::uint16_t>(kHealthFirstAddress + row); }

// Shows the failure of a one-byte exchange, if it failed. dataBytes: how
// many data bytes the reply must have carried.
bool exchangeWentThrough(link::Port& port, const link::BlockReply& reply, std::size_t dataBytes) {
  const auto report = [&port](const char* text, std::uint8_t got) {
    port.prompter().message(tr(text) + " " + byteAsCharacter(got), MessageIcon::Error);
  };
  if (!reply.echoed()) {
    report("Comunication error11111", reply.echo.value_or(kNoEcho));
    return false;
  }
  if (!reply.closed()) {
    report("READ error111", reply.endMark.value_or(kNoEndMark));
    return false;
  }
  // A data byte that came too late was taken for the end mark: no value arrived.
  if (reply.dataBytes < dataBytes) {
    report("READ error111", kNoEndMark);
    return false;
  }
  return true;
}

}  // namespace

std::string_view healthCounterName(int row) { return kNames.at(static_cast<std::size_t>(row)); }

std::string HealthCounters::text(int row) const {
  const auto& value = values.at(static_cast<std::size_t>(row));
  return value ? strprintf("%u", static_cast<unsigned>(*value)) : std::string();
}

bool HealthCounters::complete() const {
  for (const auto& value : values)
    if (!value) return false;
  return true;
}

bool ReadHealthCounters(link::Port& port, HealthCounters& counters) {
  for (int row = 0; row < kHealthCounterCount; ++row) {
    std::uint8_t byte = 0;
    const link::BlockReply reply = link::ReadEe(port, addressOf(row), std::span(&byte, 1));
    if (!exchangeWentThrough(port, reply, 1)) return false;
    counters.values[static_cast<std::size_t>(row)] = byte;
  }
  return true;
}

bool ResetHealthCounters(link::Port& port) {
  for (int row = 0; row < kHealthCounterCount; ++row) {
    const std::uint8_t zero = 0;
    if (!exchangeWentThrough(port, link::WriteEe(port, addressOf(row), std::span(&zero, 1)), 0)) return false;
  }
  return true;
}

HealthReport ReadStatus(const link::DeviceLink& link) {
  link::DeviceSession session(link);
  HealthReport report;
  report.opened = session.open();
  if (!report.opened) return report;
  report.completed = ReadHealthCounters(session.port(), report.counters);
  session.closePort();
  return report;
}

HealthReport ResetStatus(const link::DeviceLink& link) {
  link::DeviceSession session(link);
  HealthReport report;
  if (!session.open()) return report;
  const bool reset = ResetHealthCounters(session.port());
  session.closePort();
  // The same session keeps the operation claimed for the read that follows.
  report.opened = session.open();
  if (!report.opened) return report;
  report.completed = ReadHealthCounters(session.port(), report.counters) && reset;
  session.closePort();
  return report;
}

}  // namespace wk::diag
