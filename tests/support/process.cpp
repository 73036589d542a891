#include "support/process.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <stdexcept>

extern char** environ;

namespace wk::test {

namespace {

using Clock = std::chrono::steady_clock;

void finish(pid_t pid, ProcessResult& result) {
  int status = 0;
  ::waitpid(pid, &status, 0);
  result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
}

}  // namespace

ProcessResult runProcess(const std::string& program, const std::vector<std::string>& args,
                         std::chrono::milliseconds bound) {
  int outPipe[2], errPipe[2];
  if (::pipe2(outPipe, O_CLOEXEC) != 0 || ::pipe2(errPipe, O_CLOEXEC) != 0)
    throw std::runtime_error("pipe failed");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
  posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int rc = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(outPipe[1]);
  ::close(errPipe[1]);
  if (rc != 0) {
    ::close(outPipe[0]);
    ::close(errPipe[0]);
    throw std::runtime_error("cannot start " + program);
  }
  ProcessResult result;
  const auto deadline = Clock::now() + bound;
  pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
  std::string* sinks[2] = {&result.out, &result.err};
  int open = 2;
  while (open > 0) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    const int ready = left.count() > 0 ? ::poll(fds, 2, static_cast<int>(left.count())) : 0;
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0) break;
    if (ready == 0) {
      result.timedOut = true;
      ::kill(pid, SIGKILL);
      for (pollfd& fd : fds)
        if (fd.fd >= 0) ::close(fd.fd);
      break;
    }
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      char buffer[4096];
      const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        sinks[i]->append(buffer, static_cast<std::size_t>(n));
      } else {
        ::close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
  finish(pid, result);
  return result;
}

ProcessResult runInChild(const std::function<int()>& body, std::chrono::milliseconds bound) {
  const pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) ::_exit(body());
  ProcessResult result;
  // The pidfd becomes readable when the child ends.
  const int pidFd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
  if (pidFd >= 0) {
    pollfd fd{pidFd, POLLIN, 0};
    int ready = 0;
    do {
      ready = ::poll(&fd, 1, static_cast<int>(bound.count()));
    } while (ready < 0 && errno == EINTR);
    ::close(pidFd);
    if (ready == 0) {
      result.timedOut = true;
      ::kill(pid, SIGKILL);
    }
  }
  finish(pid, result);
  return result;
}

}  // namespace wk::test
