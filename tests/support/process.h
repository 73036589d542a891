#pragma once
#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace wk::test {

struct ProcessResult {
  int exitStatus = -1;  // -1 when the program did not exit normally
  int signal = 0;       // the signal that ended it, if one did
  bool timedOut = false;  // still running after the bound: killed
  std::string out;
  std::string err;
};

// Runs a program to its end with the given arguments and captures both
// streams. One still running after bound is killed: a guard against a hang,
// not a measure of speed.
ProcessResult runProcess(const std::string& program, const std::vector<std::string>& args,
                         std::chrono::milliseconds bound = std::chrono::minutes(1));

// Runs body in a forked copy of this process and returns how the copy ended
// (exitStatus is body's result). For what a test must not do to itself:
// lower its resource limits, hang on a file, die of a signal.
ProcessResult runInChild(const std::function<int()>& body,
                         std::chrono::milliseconds bound = std::chrono::minutes(1));

}  // namespace wk::test
