#include "sim_launcher.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
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
  std::vector<std::uint8_t> memories(m.see);
  memories.insert(memories.end(), m.ee.begin(), m.ee.end());
  return writeStateSections(path, {{gzsim::kFirstStateSection, memories}});
}

bool readState(const std::string& path, Memories& m) {
  const StateSections sections = readStateSections(path);
  const auto found = sections.find(gzsim::kFirstStateSection);
  if (found == sections.end() || found->second.size() != kSeeSize + kEeSize) return false;
  const auto& all = found->second;
  m.see.assign(all.begin(), all.begin() + kSeeSize);
  m.ee.assign(all.begin() + kSeeSize, all.end());
  return true;
}

bool writeStateSections(const std::string& path, const StateSections& sections) {
  return gzsim::writeStateFile(path, sections);
}

StateSections readStateSections(const std::string& path) {
  StateSections sections;
  std::string why;
  if (gzsim::readStateFile(path, sections, why) != gzsim::StateRead::Read) sections.clear();
  return sections;
}

void ActivityWatch::writing(std::size_t size) {
  gzsim::LineActivity* a = file_.get();
  if (!a) return;
  // The end last: the simulator takes the stamp only once it matches.
  a->pcTo.store(0);
  a->pcFrom.store(sent_);
  a->pcAt.store(std::chrono::duration_cast<std::chrono::nanoseconds>(SteadyClock::now().time_since_epoch()).count());
  a->pcTo.store(sent_ + size);
}

// received before waiting: the simulator clears waiting before it takes
// bytes, so waiting seen after all bytes were taken is a wait that began
// later.
bool ActivityWatch::quiet() const {
  const gzsim::LineActivity* a = file_.get();
  if (!a) return false;
  const bool all = a->received.load() == sent_;
  return all && a->waiting.load() == 1;
}

std::chrono::nanoseconds ActivityWatch::late() const {
  const gzsim::LineActivity* a = file_.get();
  return std::chrono::nanoseconds(a ? static_cast<std::int64_t>(a->lateNs.load()) : 0);
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
