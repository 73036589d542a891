#pragma once
// Seams that show nothing and never wait, for fuzz targets: the core talks to
// them as to the user, the clock and the progress window.
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "seams/clock.h"
#include "seams/progress.h"
#include "seams/prompter.h"

namespace wk::fuzz {

// Stops the run with a message when a property of the code under test does
// not hold; libFuzzer keeps the input that did it. Unlike assert it stays in
// every build.
#define WK_FUZZ_CHECK(condition)                                                          \
  do {                                                                                    \
    if (!(condition)) {                                                                   \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                       \
    }                                                                                     \
  } while (0)

// Every box is closed with the same answer; the boxes are only counted.
class QuietPrompter : public Prompter {
 public:
  explicit QuietPrompter(Answer answer = Answer::Yes) : answer_(answer) {}
  Answer message(const std::string& text, MessageIcon icon, MessageButtons buttons) override;
  std::size_t messages = 0;
  std::string last;

 private:
  Answer answer_;
};

// Sleeping advances the time it tells and returns at once.
class FakeClock : public Clock {
 public:
  void sleepFor(std::chrono::milliseconds duration) override { now_ += duration; }
  std::chrono::steady_clock::time_point now() override { return now_; }

 private:
  std::chrono::steady_clock::time_point now_{};
};

class NullProgress : public Progress {
 public:
  void setCaption(const std::string&) override {}
  void setRange(int) override {}
  void setPos(int) override {}
  void setStatus(const std::string&) override {}
  void close() override {}
};

}  // namespace wk::fuzz
