// Test labels: threads (a thread reaps each detached child)
#include "platform/process_launcher.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

#include "tests/support/temp_dir.h"

namespace platform {
namespace {

// The state letter of /proc/<pid>/stat ('Z' for a zombie), or 0 when the pid is gone.
char ProcessState(int pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string stat;
  if (!std::getline(in, stat)) return 0;
  const size_t close = stat.rfind(')');
  if (close == std::string::npos || close + 2 >= stat.size()) return 0;
  return stat[close + 2];
}

TEST(ProcessLauncher, RunAndWaitReportsExitStatus) {
  std::string error;
  EXPECT_EQ(RunAndWait("/bin/true", {}, -1, &error), 0);
  EXPECT_EQ(RunAndWait("/bin/sh", {"-c", "exit 3"}, 10000, &error), 3);
  EXPECT_EQ(RunAndWait("true", {}, 10000, &error), 0);  // found through PATH

  // Arguments are passed as they are: nothing is split or expanded.
  testsupport::TempDir dir;
  const std::string out = dir.Sub("args.txt");
  EXPECT_EQ(RunAndWait("/bin/sh", {"-c", "printf '%s|' \"$@\" > \"$0\"", out, "a b", "$HOME", "*"},
                       10000, &error),
            0);
  EXPECT_EQ(testsupport::ReadWholeFile(out), "a b|$HOME|*|");

  error.clear();
  EXPECT_EQ(RunAndWait("/nonexistent/program", {}, 1000, &error), -1);
  EXPECT_NE(error.find("/nonexistent/program"), std::string::npos);
  EXPECT_EQ(RunAndWait("", {}, 1000, &error), -1);
  EXPECT_EQ(RunAndWait("/bin/sh", {"-c", "kill -9 $$"}, 10000, &error), -1);
}

TEST(ProcessLauncher, RunAndWaitStopsAProgramPastItsLimit) {
  std::string error;
  EXPECT_EQ(RunAndWait("/bin/sleep", {"30"}, 50, &error), -1);
  EXPECT_FALSE(error.empty());
}

TEST(ProcessLauncher, SpawnDetachedLeavesNoZombie) {
  std::string error;
  const int pid = SpawnDetached("/bin/true", {}, &error);
  ASSERT_GT(pid, 0) << error;
  // Poll until the background reaper has collected it; the bound is generous on purpose.
  char state = ProcessState(pid);
  for (int i = 0; i < 2000 && state != 0; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    state = ProcessState(pid);
  }
  EXPECT_EQ(state, 0) << "process " << pid << " still listed in state " << state;

  EXPECT_EQ(SpawnDetached("/nonexistent/program", {}, &error), -1);
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace platform
