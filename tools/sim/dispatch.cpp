#include "dispatch.h"

#include <cstdio>
#include <cstdlib>

namespace gzsim {

void CommandTable::route(char letter, Handler& handler) {
  Handler*& slot = routes_[static_cast<unsigned char>(letter)];
  if (slot) {
    std::fprintf(stderr, "gz4410-sim: command '%c' routed to %s and %s\n", letter, slot->name().c_str(),
                 handler.name().c_str());
    std::abort();
  }
  slot = &handler;
}

std::optional<Bytes> Exchange::getBytes(std::size_t count, std::chrono::milliseconds timeout) {
  Bytes out;
  out.reserve(count);
  while (out.size() < count) {
    const auto b = get(timeout);
    if (!b) return std::nullopt;
    out.push_back(*b);
  }
  return out;
}

void Exchange::closeWith(Bytes& reply, std::uint8_t end) {
  if (fault(fault::kNoEnd)) return;
  reply.push_back(fault(fault::kWrongEnd) ? kWrongByte : end);
}

}  // namespace gzsim
