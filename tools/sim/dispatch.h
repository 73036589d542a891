#pragma once
// The dispatch table: each command letter routed to the handler of its
// subsystem. The table itself, the one list of handlers and letters, is
// buildCommandTable in command_table.cpp.
#include <array>
#include <memory>
#include <utility>
#include <vector>

#include "handler.h"

namespace gzsim {

class CommandTable {
 public:
  // Creates a handler, which the table keeps.
  template <typename H, typename... Args>
  H& add(Args&&... args) {
    auto handler = std::make_unique<H>(std::forward<Args>(args)...);
    H& ref = *handler;
    handlers_.push_back(std::move(handler));
    return ref;
  }
  // Commands with this letter go to handler. A letter routed twice is a
  // mistake in the table: the simulator stops at once.
  void route(char letter, Handler& handler);

  // The handler of a command letter; nullptr for a letter the controller
  // does not know.
  Handler* find(std::uint8_t letter) const { return routes_[letter]; }
  const std::vector<std::unique_ptr<Handler>>& handlers() const { return handlers_; }

 private:
  std::vector<std::unique_ptr<Handler>> handlers_;
  std::array<Handler*, 256> routes_{};
};

// Fills the table with every handler and the letters it answers.
void buildCommandTable(CommandTable& table);

}  // namespace gzsim
