#include "util/file_io.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>

namespace wk {
namespace {

void setError(std::string* error, const std::string& what) {
  if (error) *error = what + ": " + std::strerror(errno);
}

void setReason(std::string* error, const std::string& what, const char* reason) {
  if (error) *error = what + ": " + reason;
}

constexpr const char* kNotRegular = "not a regular file";

std::string directoryOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string baseNameOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool writeAll(int fd, std::span<const std::uint8_t> data) {
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// The file a save replaces or creates: path with the symbolic links of its
// last part followed, a link to nothing included. False (errno set) when a
// link cannot be read or the links go round in a circle.
bool resolveTarget(const std::string& path, std::string& target) {
  std::string current = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
      target = current;
      return true;
    }
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink(current.c_str(), buffer, sizeof buffer);
    if (n < 0) return false;
    const std::string next(buffer, static_cast<std::size_t>(n));
    current = !next.empty() && next[0] == '/' ? next : directoryOf(current) + "/" + next;
  }
  errno = ELOOP;
  return false;
}

// What may be replaced: nothing yet, or a regular file this user may write
// and that is not marked read-only. *existing gets its status when it exists.
bool checkTarget(const std::string& target, struct stat* existing, bool* exists, std::string* error) {
  *exists = false;
  if (::stat(target.c_str(), existing) != 0) {
    if (errno == ENOENT) return true;
    setError(error, "cannot write " + target);
    return false;
  }
  *exists = true;
  if (S_ISDIR(existing->st_mode)) {
    errno = EISDIR;
    setError(error, "cannot write " + target);
    return false;
  }
  if (!S_ISREG(existing->st_mode)) {
    setReason(error, "cannot write " + target, kNotRegular);
    return false;
  }
  // A rename would go round the file's own permission bits; root passes
  // access() whatever they say, so a file without any write bit is refused
  // by its mode as well.
  if (::access(target.c_str(), W_OK) != 0) {
    setError(error, "cannot write " + target);
    return false;
  }
  if ((existing->st_mode & 0222) == 0) {
    errno = EACCES;
    setError(error, "cannot write " + target);
    return false;
  }
  return true;
}

// While it lives, a write past the file-size limit fails with EFBIG instead of
// ending the program with SIGXFSZ. Blocked in this thread only; a signal that
// the write raised meanwhile is taken off before the block is lifted.
class FileSizeSignalBlock {
 public:
  FileSizeSignalBlock() {
    sigemptyset(&set_);
    sigaddset(&set_, SIGXFSZ);
    sigset_t pending;
    sigemptyset(&pending);
    ::sigpending(&pending);
    pendingBefore_ = sigismember(&pending, SIGXFSZ) == 1;
    ::pthread_sigmask(SIG_BLOCK, &set_, &previous_);
  }
  ~FileSizeSignalBlock() {
    sigset_t pending;
    sigemptyset(&pending);
    if (!pendingBefore_ && ::sigpending(&pending) == 0 && sigismember(&pending, SIGXFSZ) == 1) {
      const timespec now{0, 0};
      ::sigtimedwait(&set_, nullptr, &now);
    }
    ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
  }
  FileSizeSignalBlock(const FileSizeSignalBlock&) = delete;
  FileSizeSignalBlock& operator=(const FileSizeSignalBlock&) = delete;

 private:
  sigset_t set_{};
  sigset_t previous_{};
  bool pendingBefore_ = false;
};

// A temporary file beside target, removed again unless kept.
class TempFile {
 public:
  explicit TempFile(const std::string& target)
      : directory_(directoryOf(target)), path_(directory_ + "/." + baseNameOf(target) + ".XXXXXX") {
    fd_ = ::mkostemp(path_.data(), O_CLOEXEC);
    created_ = fd_ >= 0;
  }
  ~TempFile() {
    const int saved = errno;
    if (fd_ >= 0) ::close(fd_);
    if (created_ && !kept_) ::unlink(path_.c_str());
    errno = saved;
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  bool created() const { return created_; }
  int fd() const { return fd_; }
  const std::string& path() const { return path_; }
  const std::string& directory() const { return directory_; }
  // Closes the file and reports whether that went well.
  bool close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result == 0;
  }
  void keep() { kept_ = true; }

 private:
  std::string directory_;
  std::string path_;
  int fd_ = -1;
  bool created_ = false;
  bool kept_ = false;
};

}  // namespace

std::optional<std::vector<std::uint8_t>> readFileHead(const std::string& path, std::size_t maxBytes,
                                                      std::string* error) {
  // Looked at before it is opened: opening a FIFO waits for a writer, and
  // opening a device can do things to it (a serial line, a tape).
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    setError(error, "cannot open " + path);
    return std::nullopt;
  }
  const auto refuse = [&](const struct stat& s) {
    if (S_ISDIR(s.st_mode)) {
      errno = EISDIR;
      setError(error, "cannot read " + path);
    } else {
      setReason(error, "cannot read " + path, kNotRegular);
    }
  };
  if (!S_ISREG(st.st_mode)) {
    refuse(st);
    return std::nullopt;
  }
  // Without waiting, in case it was swapped for a FIFO meanwhile.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    setError(error, "cannot open " + path);
    return std::nullopt;
  }
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    refuse(st);
    ::close(fd);
    return std::nullopt;
  }
  std::vector<std::uint8_t> data;
  // Room for what the file holds now (one byte more tells that it grew).
  const auto expected = static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 0);
  data.resize(std::min(maxBytes, expected + 1));
  std::size_t done = 0;
  while (done < maxBytes) {
    if (done == data.size()) data.resize(std::min(maxBytes, data.size() * 2 + 4096));
    const ssize_t n = ::read(fd, data.data() + done, data.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      setError(error, "cannot read " + path);
      ::close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  ::close(fd);
  data.resize(done);
  return data;
}

bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> data, std::string* error) {
  std::string target;
  if (!resolveTarget(path, target)) {
    setError(error, "cannot write " + path);
    return false;
  }
  struct stat existing {};
  bool exists = false;
  if (!checkTarget(target, &existing, &exists, error)) return false;

  const FileSizeSignalBlock noSignal;
  TempFile temp(target);
  if (!temp.created()) {
    setError(error, "cannot create a file in " + temp.directory());
    return false;
  }
  // Keep the permissions of the file being replaced; a new file gets the
  // usual 0666 less the umask instead of mkstemp's 0600.
  mode_t mode = 0;
  if (exists) {
    mode = existing.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  const bool written = (::fchmod(temp.fd(), mode) == 0 || errno == EPERM) && writeAll(temp.fd(), data) &&
                       ::fsync(temp.fd()) == 0;
  if (!written) {
    setError(error, "cannot write " + temp.path());
    return false;
  }
  if (!temp.close()) {
    setError(error, "cannot write " + temp.path());
    return false;
  }
  if (::rename(temp.path().c_str(), target.c_str()) != 0) {
    setError(error, "cannot replace " + target);
    return false;
  }
  temp.keep();
  // Make the rename itself durable.
  const int dirFd = ::open(temp.directory().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
  return true;
}

bool canWriteFileAtomically(const std::string& path, std::string* error) {
  std::string target;
  if (!resolveTarget(path, target)) {
    setError(error, "cannot write " + path);
    return false;
  }
  struct stat existing {};
  bool exists = false;
  if (!checkTarget(target, &existing, &exists, error)) return false;
  const TempFile probe(target);
  if (!probe.created()) {
    setError(error, "cannot create a file in " + probe.directory());
    return false;
  }
  return true;
}

bool sameFile(const std::string& a, const std::string& b) {
  struct stat sa {}, sb {};
  if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0) return a == b;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

}  // namespace wk
