#include "support/link_doubles.h"

#include <gtest/gtest.h>

#include <algorithm>


namespace wk::test {

TestClock::TestClock(int speedup, std::function<bool()> quiet)
    : start_(std::chrono::steady_clock::now()), lastLook_(start_), speedup_(speedup), quiet_(std::move(quiet)) {}

void TestClock::sleepFor(std::chrono::milliseconds duration) {
  sleeps.push_back(duration);
  slept_ += duration;
}

// The wall time since the last look counts fast when the peer is quiet now:
// whatever it sent before is on the line by then, for the wait's last look
// to find.
std::chrono::steady_clock::time_point TestClock::now() {
  const auto wall = std::chrono::steady_clock::now();
  const auto step = wall - lastLook_;
  lastLook_ = wall;
  passed_ += !quiet_ || quiet_() ? step * speedup_ : step;
  return start_ + passed_ + slept_;
}

std::chrono::steady_clock::duration TestClock::wallTimeUntil(std::chrono::steady_clock::time_point t) {
  constexpr auto kLook = std::chrono::milliseconds(5);
  return std::clamp<std::chrono::steady_clock::duration>(t - now(), std::chrono::steady_clock::duration::zero(), kLook);
}

std::chrono::milliseconds TestClock::elapsed() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(now() - start_);
}

ScriptedPeer& ScriptedPeer::expect(const std::string& sentHex, const std::string& replyHex,
                                   const std::string& lateHex) {
  return expect(hex(sentHex), hex(replyHex), hex(lateHex));
}

ScriptedPeer& ScriptedPeer::expect(std::vector<std::uint8_t> sent, std::vector<std::uint8_t> reply,
                                   std::vector<std::uint8_t> late) {
  script_.push_back({std::move(sent), std::move(reply), std::move(late), 0, 0});
  return *this;
}

ScriptedPeer& ScriptedPeer::expectBaud(int baud) {
  script_.push_back({{}, {}, {}, baud, 0});
  return *this;
}

link::OpenStatus ScriptedPeer::open(const std::string& device, int baud) {
  events.push_back("open " + device + " " + std::to_string(baud));
  open_ = openResult.ok();
  return openResult;
}

void ScriptedPeer::close() {
  if (open_) events.push_back("close");
  open_ = false;
}

bool ScriptedPeer::setBaudRate(int baud) {
  events.push_back("baud " + std::to_string(baud));
  if (broken_) return true;
  if (script_.empty() || script_.front().baud != baud) {
    ADD_FAILURE() << "unexpected speed change to " << baud;
    broken_ = true;
  } else {
    script_.pop_front();
  }
  return true;
}

std::size_t ScriptedPeer::write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds timeout) {
  const std::vector<std::uint8_t> sent(bytes.begin(), bytes.end());
  events.push_back("write " + hexOf(sent) + " " + std::to_string(timeout.count()) + "ms");
  EXPECT_TRUE(open_) << "write on a closed port";
  for (std::uint8_t b : sent) {
    if (broken_) break;
    if (script_.empty() || script_.front().baud != 0) {
      ADD_FAILURE() << "unexpected byte " << hexOf({b}) << " sent";
      broken_ = true;
      break;
    }
    Step& step = script_.front();
    if (step.sent[step.matched] != b) {
      ADD_FAILURE() << "sent " << hexOf({b}) << " where the script expects " << hexOf(step.sent) << " (byte "
                    << step.matched << ")";
      broken_ = true;
      break;
    }
    if (++step.matched == step.sent.size()) {
      incoming_.insert(incoming_.end(), step.reply.begin(), step.reply.end());
      late_.insert(late_.end(), step.late.begin(), step.late.end());
      script_.pop_front();
    }
  }
  return bytes.size();
}

std::size_t ScriptedPeer::read(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout) {
  const std::size_t n = std::min(buffer.size(), incoming_.size());
  std::copy_n(incoming_.begin(), n, buffer.begin());
  incoming_.erase(incoming_.begin(), incoming_.begin() + static_cast<long>(n));
  events.push_back("read " + std::to_string(buffer.size()) + " " + std::to_string(timeout.count()) + "ms");
  if (n < buffer.size()) {
    incoming_.insert(incoming_.end(), late_.begin(), late_.end());
    late_.clear();
  }
  return n;
}

void ScriptedPeer::discardInput() {
  events.push_back("discard");
  incoming_.clear();
}

namespace {

// Which editor each slot holds, by the slots' names.
struct NamedSlot {
  EditorSlot slot;
  const char* name;
};
constexpr NamedSlot kNamedSlots[] = {
    {EditorSlot::Reports, "reports"},       {EditorSlot::Miscellaneous, "misc"},
    {EditorSlot::IButtonKeys, "keys"},      {EditorSlot::ThermoChannel2, "thermo2"},
    {EditorSlot::ThermoChannel1, "thermo1"}, {EditorSlot::Outputs, "outputs"},
    {EditorSlot::UserEvents, "userevents"}, {EditorSlot::MainChannels, "channels"},
    {EditorSlot::SmsData, "sms"},
};
static_assert(std::size(kNamedSlots) == kEditorSlotCount);

}  // namespace

RecordingEditors::RecordingEditors(C4410Doc& doc) : doc_(doc) {
  for (std::size_t i = 0; i < kEditorSlotCount; ++i) {
    editors_[i].log = &log;
    editors_[i].name = kNamedSlots[i].name;
    doc_.registerEditor(kNamedSlots[i].slot, &editors_[i]);
  }
}

RecordingEditors::~RecordingEditors() {
  for (const NamedSlot& named : kNamedSlots) doc_.registerEditor(named.slot, nullptr);
}

std::vector<std::string> RecordingEditors::everyEditor(int direction) {
  // SMS data, main channels, user events, outputs, thermosensor channels 1
  // and 2, iButton keys, miscellaneous settings, reports.
  std::vector<std::string> out;
  for (const char* name : {"sms", "channels", "userevents", "outputs", "thermo1", "thermo2", "keys", "misc", "reports"})
    out.push_back(std::string(name) + " " + std::to_string(direction));
  return out;
}

void RecordingEditors::Editor::TransferImage(TransferDirection direction) {
  log->push_back(name + " " + std::to_string(static_cast<int>(direction)));
}

}  // namespace wk::test
