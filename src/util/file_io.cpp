#include "util/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace wk {
namespace {

void setError(std::string* error, const std::string& what) {
  if (error) *error = what + ": " + std::strerror(errno);
}

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

// The file that a save replaces: the target of a symbolic link, else the path.
std::string resolveTarget(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved)) return resolved;
  }
  return path;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> readFileHead(const std::string& path, std::size_t maxBytes,
                                                      std::string* error) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    setError(error, "cannot open " + path);
    return std::nullopt;
  }
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    errno = EISDIR;
    setError(error, "cannot read " + path);
    return std::nullopt;
  }
  std::vector<std::uint8_t> data;
  data.resize(maxBytes);
  std::size_t done = 0;
  while (done < maxBytes) {
    const ssize_t n = ::read(fd, data.data() + done, maxBytes - done);
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

bool writeFileAtomically(const std::string& path, std::span<const std::uint8_t> data,
                         std::string* error) {
  const std::string target = resolveTarget(path);
  const std::string directory = directoryOf(target);
  std::string temp = directory + "/." + baseNameOf(target) + ".XXXXXX";
  const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) {
    setError(error, "cannot create a file in " + directory);
    return false;
  }
  // Keep the permissions of the file being replaced; a new file gets the
  // usual 0666 less the umask instead of mkstemp's 0600.
  mode_t mode = 0;
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0) {
    mode = st.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  bool ok = ::fchmod(fd, mode) == 0 || errno == EPERM;
  ok = ok && writeAll(fd, data) && ::fsync(fd) == 0;
  if (!ok) setError(error, "cannot write " + temp);
  if (::close(fd) != 0 && ok) {
    setError(error, "cannot write " + temp);
    ok = false;
  }
  if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
    setError(error, "cannot replace " + target);
    ok = false;
  }
  if (!ok) {
    const int saved = errno;
    ::unlink(temp.c_str());
    errno = saved;
    return false;
  }
  // Make the rename itself durable.
  const int dirFd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
  return true;
}

}  // namespace wk
