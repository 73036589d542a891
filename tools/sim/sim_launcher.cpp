#include "sim_launcher.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>

extern char** environ;

namespace wk::sim {
namespace {

using SteadyClock = std::chrono::steady_clock;
constexpr auto kStartAndStopBound = std::chrono::seconds(10);

int waitForExit(pid_t pid, SteadyClock::time_point deadline) {
  for (;;) {
    int status = 0;
    const pid_t r = ::waitpid(pid, &status, WNOHANG);
    if (r == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (r < 0) return -1;
    if (SteadyClock::now() >= deadline) return -2;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

}  // namespace

bool writeState(const std::string& path, const Memories& m) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(m.see.data()), static_cast<std::streamsize>(m.see.size()));
  out.write(reinterpret_cast<const char*>(m.ee.data()), static_cast<std::streamsize>(m.ee.size()));
  return static_cast<bool>(out);
}

bool readState(const std::string& path, Memories& m) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::uint8_t> all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (all.size() != kSeeSize + kEeSize) return false;
  m.see.assign(all.begin(), all.begin() + kSeeSize);
  m.ee.assign(all.begin() + kSeeSize, all.end());
  return true;
}

Simulator::Simulator(const std::vector<std::string>& args, const std::string& program) {
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) return;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
  std::vector<std::string> argvStrings{program};
  argvStrings.insert(argvStrings.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& s : argvStrings) argv.push_back(s.data());
  argv.push_back(nullptr);
  const int spawned = ::posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipeFds[1]);
  out_ = pipeFds[0];
  if (spawned != 0) {
    pid_ = -1;
    return;
  }
  const auto deadline = SteadyClock::now() + kStartAndStopBound;
  std::string line;
  while (SteadyClock::now() < deadline) {
    pollfd p{out_, POLLIN, 0};
    if (::poll(&p, 1, 100) <= 0) continue;
    char c = 0;
    if (::read(out_, &c, 1) != 1) break;
    if (c == '\n') {
      device_ = line;
      break;
    }
    line += c;
  }
}

Simulator::~Simulator() {
  stop();
  if (out_ >= 0) ::close(out_);
}

int Simulator::stop() {
  if (pid_ < 0) return -1;
  ::kill(pid_, SIGTERM);
  int status = waitForExit(pid_, SteadyClock::now() + kStartAndStopBound);
  if (status == -2) {
    ::kill(pid_, SIGKILL);
    waitForExit(pid_, SteadyClock::now() + kStartAndStopBound);
    status = -1;
  }
  pid_ = -1;
  return status;
}

}  // namespace wk::sim
