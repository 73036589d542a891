#pragma once
// Doubles for the device link: a clock that never sleeps, a scripted byte peer
// in the place of the serial port, a progress that records what it is told,
// and editors that record when the document calls them.
#include <array>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "document/c4410_doc.h"
#include "link/transport.h"
#include "seams/clock.h"
#include "seams/progress.h"
#include "support/hex.h"

namespace wk::test {

// Sleeping only advances the time it tells; the time between sleeps passes
// speedup times faster than on the wall, so a time-out of the real port is
// over sooner without changing its length as the program measures it.
//
// Against a peer that runs on its own (the simulator), a fast clock must not
// end a wait for a reply that is merely slow to come, as it is on a busy
// machine: given quiet, the time runs fast only while quiet() says that
// nothing can come now, and at the wall's pace otherwise.
class TestClock : public Clock {
 public:
  explicit TestClock(int speedup = 1, std::function<bool()> quiet = {});
  void sleepFor(std::chrono::milliseconds duration) override;
  std::chrono::steady_clock::time_point now() override;
  // A wait looks at the clock at least every few milliseconds of the wall.
  std::chrono::steady_clock::duration wallTimeUntil(std::chrono::steady_clock::time_point t) override;
  // Time as told since construction.
  std::chrono::milliseconds elapsed();

  std::vector<std::chrono::milliseconds> sleeps;

 private:
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point lastLook_;
  std::chrono::steady_clock::duration passed_{0};  // told, between sleeps
  std::chrono::milliseconds slept_{0};
  int speedup_;
  std::function<bool()> quiet_;
};

// Stands in for the serial port. The script lists what the PC must send and
// what the peer answers to it; anything else fails the test. Every call is
// kept in events, in order.
class ScriptedPeer : public link::Transport {
 public:
  // The PC must send exactly these bytes next; then reply becomes readable.
  // late becomes readable only once a read has given up waiting: bytes that
  // arrive after the PC's time-out ran out.
  ScriptedPeer& expect(const std::string& sentHex, const std::string& replyHex = "", const std::string& lateHex = "");
  ScriptedPeer& expect(std::vector<std::uint8_t> sent, std::vector<std::uint8_t> reply,
                       std::vector<std::uint8_t> late = {});
  // The PC must switch its speed to baud next.
  ScriptedPeer& expectBaud(int baud);
  // True when every step of the script has happened.
  bool done() const { return script_.empty(); }

  link::OpenStatus openResult{link::OpenStatus::Kind::Opened, {}};
  std::vector<std::string> events;  // "open /dev/ttyS0 460800", "read 1 1002ms", "baud 57600", ...

  link::OpenStatus open(const std::string& device, int baud) override;
  void close() override;
  bool isOpen() const override { return open_; }
  bool setBaudRate(int baud) override;
  std::size_t write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds timeout) override;
  std::size_t read(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout) override;
  void discardInput() override;
  void drainOutput() override { events.push_back("drain"); }

 private:
  struct Step {
    std::vector<std::uint8_t> sent;
    std::vector<std::uint8_t> reply;
    std::vector<std::uint8_t> late;
    int baud = 0;  // a speed change instead of bytes
    std::size_t matched = 0;
  };
  std::deque<Step> script_;
  std::deque<std::uint8_t> incoming_;
  std::deque<std::uint8_t> late_;
  bool open_ = false;
  bool broken_ = false;
};

// Passes every call on to another transport and counts the reads, and the
// reads that came back short: each of those is a read time-out that ran out.
// Tests of a silent controller assert those counts, not the time taken.
class CountingTransport : public link::Transport {
 public:
  explicit CountingTransport(link::Transport& inner) : inner_(inner) {}

  int reads = 0;
  int timeouts = 0;
  std::uint64_t sent = 0;  // bytes the line took

  link::OpenStatus open(const std::string& device, int baud) override { return inner_.open(device, baud); }
  void close() override { inner_.close(); }
  bool isOpen() const override { return inner_.isOpen(); }
  bool setBaudRate(int baud) override { return inner_.setBaudRate(baud); }
  std::size_t write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds timeout) override {
    const std::size_t n = inner_.write(bytes, timeout);
    sent += n;
    return n;
  }
  std::size_t read(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout) override {
    const std::size_t n = inner_.read(buffer, timeout);
    ++reads;
    if (n < buffer.size()) ++timeouts;
    return n;
  }
  void discardInput() override { inner_.discardInput(); }
  void drainOutput() override { inner_.drainOutput(); }
  bool lineLost() const override { return inner_.lineLost(); }

 private:
  link::Transport& inner_;
};

class RecordingProgress : public Progress {
 public:
  explicit RecordingProgress(std::vector<std::string>& log) : log_(log) {}
  void setCaption(const std::string& caption) override { log_.push_back("caption " + caption); }
  void setRange(int upper) override { log_.push_back("range " + std::to_string(upper)); }
  void setPos(int pos) override { log_.push_back("pos " + std::to_string(pos)); }
  void setStatus(const std::string& text) override { log_.push_back("status " + text); }
  void close() override { log_.push_back("close"); }

 private:
  std::vector<std::string>& log_;
};

// All nine editors of a document, each registered for its slot by name and
// writing "<editor> <direction>" to log, e.g. "sms 0" or "thermo2 1".
class RecordingEditors {
 public:
  explicit RecordingEditors(C4410Doc& doc);
  ~RecordingEditors();
  std::vector<std::string> log;
  // The log of one full refresh (direction 0) or collection (direction 1), in
  // the document's fixed order, stated here and nowhere taken from the code.
  static std::vector<std::string> everyEditor(int direction);

 private:
  struct Editor : ImageEditor {
    std::vector<std::string>* log = nullptr;
    std::string name;
    void TransferImage(TransferDirection direction) override;
  };
  C4410Doc& doc_;
  std::array<Editor, kEditorSlotCount> editors_;
};

}  // namespace wk::test
