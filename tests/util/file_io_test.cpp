// Reading and saving files at unusual paths: FIFOs, devices, sockets,
// read-only files, links to nothing, and a file-size limit. The tests run as
// root too, so read-only files are made by their mode, which root's access()
// ignores.
#include "util/file_io.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>

#include "support/process.h"
#include "support/temp_dir.h"

namespace wk {
namespace {

using namespace std::chrono_literals;
using test::TempDir;

const std::vector<std::uint8_t> kOld = {1, 2, 3, 4, 5};
const std::vector<std::uint8_t> kNew(66512, 0x69);

std::vector<std::string> entries(const TempDir& dir) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir.path())) names.push_back(e.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

bool isFifo(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 && S_ISFIFO(st.st_mode);
}

// A listening socket bound to path, closed when it goes.
class UnixSocket {
 public:
  explicit UnixSocket(const std::string& path) : fd_(::socket(AF_UNIX, SOCK_STREAM, 0)) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
  }
  ~UnixSocket() { ::close(fd_); }

 private:
  int fd_;
};

// -- reading ------------------------------------------------------------------

TEST(ReadFileHead, ReadsUpToTheBoundThroughLinks) {
  TempDir dir;
  test::writeBytes(dir.file("f"), kNew);
  std::filesystem::create_symlink("f", dir.file("link"));
  EXPECT_EQ(readFileHead(dir.file("link"), 100000), kNew);
  EXPECT_EQ(readFileHead(dir.file("f"), 3), (std::vector<std::uint8_t>{0x69, 0x69, 0x69}));
  test::writeBytes(dir.file("empty"), {});
  EXPECT_EQ(readFileHead(dir.file("empty"), 10), std::vector<std::uint8_t>{});
}

TEST(ReadFileHead, RefusesAFifoAtOnceInsteadOfWaitingForAWriter) {
  TempDir dir;
  ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0644), 0);
  // In a child, so that a read that waits cannot hang the tests.
  const auto child = test::runInChild([&] {
    std::string error;
    const auto data = readFileHead(dir.file("fifo"), 100, &error);
    return !data && error == "cannot read " + dir.file("fifo") + ": not a regular file" ? 0 : 1;
  });
  EXPECT_FALSE(child.timedOut) << "the read waited for a writer";
  EXPECT_EQ(child.exitStatus, 0);
}

TEST(ReadFileHead, RefusesDevicesSocketsAndFolders) {
  TempDir dir;
  const UnixSocket socket(dir.file("socket"));
  std::string error;
  EXPECT_FALSE(readFileHead("/dev/null", 10, &error));
  EXPECT_EQ(error, "cannot read /dev/null: not a regular file");
  EXPECT_FALSE(readFileHead(dir.file("socket"), 10, &error));
  EXPECT_EQ(error, "cannot read " + dir.file("socket") + ": not a regular file");
  EXPECT_FALSE(readFileHead(dir.path(), 10, &error));
  EXPECT_EQ(error, "cannot read " + dir.path() + ": Is a directory");
  EXPECT_FALSE(readFileHead(dir.file("missing"), 10, &error));
  EXPECT_EQ(error, "cannot open " + dir.file("missing") + ": No such file or directory");
}

// -- saving -------------------------------------------------------------------

TEST(WriteFileAtomically, RefusesAReadOnlyFileWithTheSystemsReason) {
  TempDir dir;
  const std::string target = dir.file("old.vld");
  test::writeBytes(target, kOld);
  for (const mode_t mode : {0444, 0400, 0000}) {
    ::chmod(target.c_str(), mode);
    std::string error;
    EXPECT_FALSE(writeFileAtomically(target, kNew, &error)) << std::oct << mode;
    EXPECT_EQ(error, "cannot write " + target + ": Permission denied");
    ::chmod(target.c_str(), 0644);
    EXPECT_EQ(test::readBytes(target), kOld);
    EXPECT_EQ(entries(dir), std::vector<std::string>{"old.vld"}) << "no temporary file is left";
  }
  // Writable by its owner only: replaced, keeping the mode.
  ::chmod(target.c_str(), 0600);
  EXPECT_TRUE(writeFileAtomically(target, kNew));
  EXPECT_EQ(test::readBytes(target), kNew);
  struct stat st {};
  ::stat(target.c_str(), &st);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
}

TEST(WriteFileAtomically, NeverReplacesWhatIsNoRegularFile) {
  TempDir dir;
  ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0644), 0);
  const UnixSocket socket(dir.file("socket"));
  std::filesystem::create_directory(dir.file("folder"));
  std::filesystem::create_symlink("fifo", dir.file("to-fifo"));  // as /dev/stdout is a link to a pipe
  // A device node of our own, like /dev/null, where this user may make one.
  const bool device = ::mknod(dir.file("null").c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0;

  std::vector<std::string> targets = {"fifo", "socket", "to-fifo"};
  if (device) targets.push_back("null");
  for (const std::string& name : targets) {
    // In a child first, so that a write that waits for a reader cannot hang the tests.
    const auto child = test::runInChild([&] { return writeFileAtomically(dir.file(name), kNew) ? 1 : 0; });
    EXPECT_FALSE(child.timedOut) << name;
    EXPECT_EQ(child.exitStatus, 0) << name << " was written";
    std::string error;
    EXPECT_FALSE(writeFileAtomically(dir.file(name), kNew, &error));
    const std::string refused = name == "to-fifo" ? "fifo" : name;  // what the link names
    EXPECT_EQ(error, "cannot write " + dir.file(refused) + ": not a regular file");
  }
  EXPECT_TRUE(isFifo(dir.file("fifo")));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.file("to-fifo")));
  EXPECT_TRUE(std::filesystem::is_socket(dir.file("socket")));
  if (device) {
    EXPECT_TRUE(std::filesystem::is_character_file(dir.file("null")));
  }

  std::string error;
  EXPECT_FALSE(writeFileAtomically(dir.file("folder"), kNew, &error));
  EXPECT_EQ(error, "cannot write " + dir.file("folder") + ": Is a directory");
  EXPECT_TRUE(std::filesystem::is_empty(dir.file("folder")));
  std::vector<std::string> expected = {"fifo", "folder", "socket", "to-fifo"};
  if (device) expected.insert(expected.begin() + 2, "null");
  EXPECT_EQ(entries(dir), expected) << "no temporary file is left";
}

TEST(WriteFileAtomically, ALinkToNothingCreatesTheFileItNames) {
  TempDir dir;
  std::filesystem::create_directory(dir.file("sub"));
  std::filesystem::create_symlink("sub/site.vld", dir.file("link.vld"));
  std::filesystem::create_symlink(dir.file("link.vld"), dir.file("link-to-link.vld"));
  ASSERT_TRUE(writeFileAtomically(dir.file("link-to-link.vld"), kNew));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.vld")));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link-to-link.vld")));
  EXPECT_EQ(test::readBytes(dir.file("sub/site.vld")), kNew);
  // Saved again through the link: the file it names is replaced.
  ASSERT_TRUE(writeFileAtomically(dir.file("link.vld"), kOld));
  EXPECT_EQ(test::readBytes(dir.file("sub/site.vld")), kOld);
  EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.vld")));

  // A link into a folder that does not exist, and links in a circle, fail and stay.
  std::filesystem::create_symlink("nowhere/site.vld", dir.file("lost.vld"));
  std::string error;
  EXPECT_FALSE(writeFileAtomically(dir.file("lost.vld"), kNew, &error));
  EXPECT_EQ(error, "cannot create a file in " + dir.path() + "/nowhere: No such file or directory");
  std::filesystem::create_symlink("b", dir.file("a"));
  std::filesystem::create_symlink("a", dir.file("b"));
  EXPECT_FALSE(writeFileAtomically(dir.file("a"), kNew, &error));
  EXPECT_EQ(error, "cannot write " + dir.file("a") + ": Too many levels of symbolic links");
  EXPECT_EQ(entries(dir), (std::vector<std::string>{"a", "b", "link-to-link.vld", "link.vld", "lost.vld", "sub"}));
}

TEST(WriteFileAtomically, AFileSizeLimitFailsTheSaveWithoutEndingTheProgram) {
  TempDir dir;
  const std::string target = dir.file("old.vld");
  test::writeBytes(target, kOld);
  // In a child with the limit and the default action of SIGXFSZ (ending the
  // process), as a user's shell would start the program.
  const auto child = test::runInChild([&] {
    std::signal(SIGXFSZ, SIG_DFL);
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = 4096;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::string error;
    if (writeFileAtomically(target, kNew, &error)) return 1;
    if (error.find(": File too large") == std::string::npos) return 2;
    // The signal is neither left blocked nor left pending.
    sigset_t blocked, pending;
    ::sigprocmask(SIG_BLOCK, nullptr, &blocked);
    ::sigpending(&pending);
    if (sigismember(&blocked, SIGXFSZ) || sigismember(&pending, SIGXFSZ)) return 3;
    return 0;
  });
  EXPECT_EQ(child.signal, 0) << "ended by signal " << child.signal;
  EXPECT_EQ(child.exitStatus, 0);
  EXPECT_EQ(test::readBytes(target), kOld);
  EXPECT_EQ(entries(dir), std::vector<std::string>{"old.vld"}) << "no temporary file is left";
}

TEST(CanWriteFileAtomically, SaysWhatTheSaveWouldSayAndLeavesNothing) {
  TempDir dir;
  test::writeBytes(dir.file("old.vld"), kOld);
  EXPECT_TRUE(canWriteFileAtomically(dir.file("old.vld")));
  EXPECT_TRUE(canWriteFileAtomically(dir.file("new.vld")));
  std::filesystem::create_symlink("made-by-save.vld", dir.file("link.vld"));
  EXPECT_TRUE(canWriteFileAtomically(dir.file("link.vld")));
  ::chmod(dir.file("old.vld").c_str(), 0444);
  std::string error;
  EXPECT_FALSE(canWriteFileAtomically(dir.file("old.vld"), &error));
  EXPECT_EQ(error, "cannot write " + dir.file("old.vld") + ": Permission denied");
  ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0644), 0);
  EXPECT_FALSE(canWriteFileAtomically(dir.file("fifo"), &error));
  EXPECT_EQ(error, "cannot write " + dir.file("fifo") + ": not a regular file");
  EXPECT_FALSE(canWriteFileAtomically(dir.file("no/folder.vld"), &error));
  EXPECT_EQ(error, "cannot create a file in " + dir.file("no") + ": No such file or directory");
  EXPECT_EQ(entries(dir), (std::vector<std::string>{"fifo", "link.vld", "old.vld"}));
  EXPECT_EQ(test::readBytes(dir.file("old.vld")), kOld);
}

}  // namespace
}  // namespace wk
