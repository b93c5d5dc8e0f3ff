#include "platform/process_launcher.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <mutex>
#include <system_error>
#include <thread>

extern char** environ;

namespace platform {

namespace {

void SetError(std::string* error, std::string text) {
  if (error != nullptr) *error = std::move(text);
}

std::string ErrnoText(int err) { return std::system_category().message(err); }

// waitpid that survives signals; the status, or -1 when the child is not ours (any more).
int WaitBlocking(pid_t pid, int* status) {
  for (;;) {
    const pid_t r = ::waitpid(pid, status, 0);
    if (r == pid) return 0;
    if (r < 0 && errno == EINTR) continue;
    return -1;
  }
}

// Children whose reaper thread could not be started; swept without blocking on later calls.
std::mutex g_orphanMutex;
std::vector<pid_t> g_orphans;

void SweepOrphans() {
  std::lock_guard<std::mutex> lock(g_orphanMutex);
  for (size_t i = 0; i < g_orphans.size();) {
    const pid_t r = ::waitpid(g_orphans[i], nullptr, WNOHANG);
    if (r == 0) {
      ++i;
    } else {
      g_orphans[i] = g_orphans.back();
      g_orphans.pop_back();
    }
  }
}

// Sweeps finished orphans, then starts the program; the pid, or -1 with the reason in `error`.
pid_t Spawn(const std::string& program, const std::vector<std::string>& args, std::string* error) {
  SweepOrphans();
  if (program.empty()) {
    SetError(error, program + ": " + ErrnoText(ENOENT));
    return -1;
  }
  std::vector<char*> argv;
  argv.reserve(args.size() + 2);
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);

  // The child starts with no blocked signals and default dispositions for the signals a host
  // program commonly ignores or handles (an ignored SIGPIPE would otherwise be inherited).
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  sigset_t none, defaults;
  sigemptyset(&none);
  sigemptyset(&defaults);
  for (int sig : {SIGPIPE, SIGCHLD, SIGINT, SIGQUIT, SIGTERM, SIGHUP, SIGUSR1, SIGUSR2})
    sigaddset(&defaults, sig);
  posix_spawnattr_setsigmask(&attr, &none);
  posix_spawnattr_setsigdefault(&attr, &defaults);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

  pid_t pid = -1;
  const bool searchPath = program.find('/') == std::string::npos;
  const int err = searchPath
                      ? ::posix_spawnp(&pid, program.c_str(), nullptr, &attr, argv.data(), environ)
                      : ::posix_spawn(&pid, program.c_str(), nullptr, &attr, argv.data(), environ);
  posix_spawnattr_destroy(&attr);
  if (err != 0) {
    SetError(error, program + ": " + ErrnoText(err));
    return -1;
  }
  return pid;
}

}  // namespace

int SpawnDetached(const std::string& program, const std::vector<std::string>& args,
                  std::string* error) {
  const pid_t pid = Spawn(program, args, error);
  if (pid < 0) return -1;
  try {
    std::thread([pid] {
      int status = 0;
      WaitBlocking(pid, &status);
    }).detach();
  } catch (const std::system_error&) {
    std::lock_guard<std::mutex> lock(g_orphanMutex);
    g_orphans.push_back(pid);
  }
  return pid;
}

int RunAndWait(const std::string& program, const std::vector<std::string>& args, int timeoutMs,
               std::string* error) {
  const pid_t pid = Spawn(program, args, error);
  if (pid < 0) return -1;

  int status = 0;
  if (timeoutMs < 0) {
    if (WaitBlocking(pid, &status) != 0) {
      SetError(error, program + ": " + ErrnoText(errno));
      return -1;
    }
  } else {
    // Real elapsed time on purpose: a child process runs on the machine's clock, not on the
    // clock tests may substitute.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    auto pause = std::chrono::milliseconds(1);
    for (;;) {
      const pid_t r = ::waitpid(pid, &status, WNOHANG);
      if (r == pid) break;
      if (r < 0 && errno != EINTR) {
        SetError(error, program + ": " + ErrnoText(errno));
        return -1;
      }
      if (std::chrono::steady_clock::now() >= deadline) {
        ::kill(pid, SIGKILL);
        WaitBlocking(pid, &status);
        SetError(error,
                 program + ": still running after " + std::to_string(timeoutMs) + " ms; stopped");
        return -1;
      }
      std::this_thread::sleep_for(pause);
      if (pause < std::chrono::milliseconds(20)) pause *= 2;
    }
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) {
    SetError(error, program + ": ended by signal " + std::to_string(WTERMSIG(status)));
  } else {
    SetError(error, program + ": ended abnormally");
  }
  return -1;
}

}  // namespace platform
