#pragma once
// The thermosensor pages on a document, with a scripted controller, user,
// settings and clock behind their page context, and a way to act on the
// modal selector once it is up.
#include <QApplication>
#include <QTimer>
#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include "document/c4410_doc.h"
#include "onewire/ui/dlg_prop_thermo.h"
#include "seams/seams.h"
#include "seams/settings.h"
#include "support/hex.h"
#include "support/link_doubles.h"
#include "support/scripted_prompter.h"
#include "support/gui/when_modal.h"

namespace wk::test {

struct ThermoPagesRig {
  C4410Doc doc;
  ScriptedPeer peer;
  ScriptedPrompter prompter;
  MemorySettings settings;
  TestClock clock;
  std::vector<std::string> progressLog;
  PageContext context{doc, Seams{prompter, settings, clock, peer},
                      [this] { return std::make_unique<RecordingProgress>(progressLog); }};
  std::unique_ptr<CDlgPropThermo> host = std::make_unique<CDlgPropThermo>(context, nullptr);

  ThermoPagesRig() {
    doc.makeNew();
    host->resize(820, 520);
  }
  // Bytes of the image, as "28 10 ...".
  std::string bytes(std::size_t offset, std::size_t size) const {
    const auto s = doc.image().slice(offset, size);
    return hexOf({s.begin(), s.end()});
  }
  void put(std::size_t offset, const std::string& hexBytes) {
    const auto b = hex(hexBytes);
    std::copy(b.begin(), b.end(), doc.image().slice(offset, b.size()).begin());
  }
};

// The search of a bus answered with these devices.
inline void scriptSearch(ScriptedPeer& peer, int bus, const std::vector<std::string>& codes) {
  const std::string digit = hexOf({static_cast<std::uint8_t>('0' + bus)});
  peer.expect(digit, digit + " " + hexOf({static_cast<std::uint8_t>(codes.size())}));
  for (std::size_t i = 0; i < codes.size(); ++i)
    peer.expect("6E", "6E").expect(hexOf({static_cast<std::uint8_t>(i)}), codes[i]);
}

// "T" and the code, answered with reply after its last byte.
inline void scriptRequest(ScriptedPeer& peer, const std::string& code, const std::string& reply = "") {
  peer.expect("54", "54");
  const auto bytes = hex(code);
  for (std::size_t i = 0; i + 1 < bytes.size(); ++i) peer.expect(std::vector<std::uint8_t>{bytes[i]}, {});
  peer.expect(std::vector<std::uint8_t>{bytes.back()}, hex(reply));
}

}  // namespace wk::test
