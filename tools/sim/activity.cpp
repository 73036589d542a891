#include "activity.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <new>

namespace gzsim {

ActivityFile::ActivityFile(const std::string& path, bool create) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | (create ? O_CREAT : 0), 0600);
  if (fd < 0) return;
  struct stat st {};
  void* p = MAP_FAILED;
  const bool sized = create ? ::ftruncate(fd, sizeof(LineActivity)) == 0
                            : ::fstat(fd, &st) == 0 && st.st_size >= static_cast<off_t>(sizeof(LineActivity));
  if (sized)
    p = ::mmap(nullptr, sizeof(LineActivity), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  ::close(fd);
  if (p == MAP_FAILED) return;
  // A new file is all zeros, which is what a fresh LineActivity holds.
  activity_ = create ? new (p) LineActivity : static_cast<LineActivity*>(p);
}

ActivityFile::~ActivityFile() {
  if (activity_) ::munmap(activity_, sizeof(LineActivity));
}

}  // namespace gzsim
