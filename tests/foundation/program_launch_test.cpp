// Test labels: threads (a thread reaps each started program)
#include "foundation/program_launch.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "foundation/app_globals.h"
#include "foundation/debug_log.h"
#include "tests/support/app_test_env.h"

namespace foundation {
namespace {

TEST(RunProgram, CommandLineQuotingAndArgumentVector) {
  struct Case {
    std::string path, arguments;
    int32_t style;
    std::string extra;
    std::string commandLine;
    std::string program;
    std::vector<std::string> args;
    int32_t windowStyle;
  };
  const Case cases[] = {
      {"/opt/st/Ferlune", "", 6, "", "/opt/st/Ferlune", "/opt/st/Ferlune", {}, 6},
      {"/opt/my st/Ferlune",
       "B",
       0,
       "",
       "\"/opt/my st/Ferlune\" B",
       "/opt/my st/Ferlune",
       {"B"},
       1},
      {"/my p", "a b", 6, "x y", "\"/my p\" \"a b\" x y", "/my p", {"a b", "x y"}, 6},
      {"/bin/p", "-v", 2, "B", "/bin/p -v B", "/bin/p", {"-v", "B"}, 2},
      {"C:\\st\\Ferlune", "", 0, "C", "C:\\st\\Ferlune C", "C:/st/Ferlune", {"C"}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const ProgramLaunch launch = BuildProgramLaunch(c.path, c.arguments, c.style, c.extra);
    EXPECT_EQ(launch.commandLine, c.commandLine);
    EXPECT_EQ(launch.program, c.program);
    EXPECT_EQ(launch.args, c.args);
    EXPECT_EQ(launch.windowStyle, c.windowStyle);
  }
}

TEST(RunProgram, StartsRealProgramsAndReportsFailureAsZero) {
  testsupport::AppTestEnv env;
  EXPECT_GT(RunProgram("/bin/true", "", 6, ""), 0);

  // A program in a folder with a blank, given an argument with a blank and extra text: each
  // arrives as one argument. The script writes what it got next to itself.
  const std::string script =
      env.dir().WriteFile("my tools/args.sh",
                          "#!/bin/sh\nprintf '%s|%s|%s' \"$#\" \"$1\" \"$2\" > \"$0.tmp\" && mv "
                          "\"$0.tmp\" \"$0.out\"\n");
  ASSERT_EQ(chmod(script.c_str(), 0755), 0);
  const double task = RunProgram(script, "a b", 6, "B");
  ASSERT_GT(task, 0);
  std::string got;
  for (int i = 0; i < 6000 && got.empty(); ++i) {  // only a bound on a broken run
    got = testsupport::ReadWholeFile(script + ".out");
    if (got.empty()) usleep(10000);
  }
  EXPECT_EQ(got, "2|a b|B");

  Globals().LogError = 1;
  Globals().DebugLogPath = env.dir().Sub("log");
  EXPECT_EQ(RunProgram(env.dir().Sub("missing/prog"), "", 0, ""), 0);
  EXPECT_EQ(RunProgram("", "", 0, ""), 0);
  const std::string log =
      testsupport::ReadWholeFile(DebugLogFilePath(platform::LogSeverity::kInfo));
  EXPECT_NE(log.find("RunProgram " + env.dir().Sub("missing/prog") + " failed"), std::string::npos)
      << log;

  EXPECT_EQ(ShellOpen(""), 1);
}

}  // namespace
}  // namespace foundation
