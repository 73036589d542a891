#pragma once
// A pseudo-terminal of the test's own: the test plays the controller on its
// master side, byte by byte, and can close it the way an unplugged adapter
// goes away. Plain POSIX, nothing of the program's link code.
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace wk::test {

class PtyLine {
 public:
  PtyLine();  // path() is empty when no pseudo-terminal could be had
  ~PtyLine();
  PtyLine(const PtyLine&) = delete;
  PtyLine& operator=(const PtyLine&) = delete;

  // The device the program opens.
  const std::string& path() const { return path_; }

  void send(const std::vector<std::uint8_t>& bytes);
  // Up to n bytes from the program, waiting at most timeout for them all.
  std::vector<std::uint8_t> receive(std::size_t n, std::chrono::milliseconds timeout = std::chrono::seconds(10));
  // Bytes sent to the program that it has not read yet.
  int unread() const;
  // Closes the master side: the program's line hangs up.
  void hangUp();

 private:
  int master_ = -1;
  int slave_ = -1;  // held open, never read: keeps the line up between opens
  std::string path_;
};

// CPU time that the calling thread has used, user and system.
std::chrono::microseconds threadCpuTime();

}  // namespace wk::test
