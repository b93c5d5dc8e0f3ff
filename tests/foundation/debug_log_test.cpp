#include "foundation/debug_log.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iterator>
#include <optional>
#include <regex>
#include <stdexcept>
#include <string>
#include <vector>

#include "foundation/app_globals.h"
#include "foundation/date_stamp.h"
#include "foundation/error_traps.h"
#include "foundation/settings_store.h"
#include "foundation/waits.h"
#include "platform/cp932.h"
#include "tests/support/app_test_env.h"
#include "tests/support/non_files.h"

namespace foundation {
namespace {

using platform::LogSeverity::kError;
using platform::LogSeverity::kInfo;
using testsupport::AppTestEnv;
using testsupport::PathExists;
using testsupport::ReadWholeFile;

// The log's lines without their CR LF; a torn last line is kept as it is.
std::vector<std::string> Lines(const std::string& bytes) {
  std::vector<std::string> lines;
  for (size_t start = 0, end = 0; start < bytes.size(); start = end + 2) {
    end = std::min(bytes.find("\r\n", start), bytes.size());
    lines.push_back(bytes.substr(start, end - start));
  }
  return lines;
}

// What follows the "yyyy/mm/dd hh:nn:ss " stamp of a line; nullopt when it has none.
std::optional<std::string> AfterStamp(const std::string& line) {
  static const std::regex kStamp(R"(\d{4}/\d\d/\d\d \d\d:\d\d:\d\d (.*))");
  std::smatch m;
  if (!std::regex_match(line, m, kStamp)) return std::nullopt;
  return m[1].str();
}

// A program with the log switched on and its log folder in the temporary program folder.
class DebugLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Globals().LogError = 1;
    Globals().SettingsName = "OndrakeB";
  }
  std::string LogFolder() const { return env_.programFolder() + "log/"; }
  std::string Computer() const { return GetComputerNameText(); }

  AppTestEnv env_;
};

TEST_F(DebugLogTest, FileNamesFollowProgramKindAndDay) {
  const std::string today = FormatDateStamp(0, 0, 1, 1);
  ASSERT_EQ(today.size(), 8u);
  struct Case {
    bool companion;
    int32_t daily;
    platform::LogSeverity severity;
    std::string settingsName;
    std::string name;
  };
  const Case cases[] = {
      {false, 0, kInfo, "OndrakeB", Computer() + " - OndrakeB.log"},
      {false, 1, kInfo, "OndrakeB", today + " - " + Computer() + " - OndrakeB.log"},
      {false, 1, kError, "OndrakeB", today + " - " + Computer() + " - OndrakeB.err"},
      {false, 0, kInfo, "", Computer() + " - Ondrake.log"},
      {true, 1, kError, "FerluneB", "FerluneB" + today + ".err"},
      {true, 1, kInfo, "", "Ferlune" + today + ".log"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Globals().IsCompanion = c.companion;
    Globals().ProgramTitle = c.companion ? "Ferlune" : "Ondrake";
    Globals().DailyLog = c.daily;
    Globals().SettingsName = c.settingsName;
    EXPECT_EQ(DebugLogFilePath(c.severity), LogFolder() + c.name);
    DebugLog().Write("x", c.severity);  // the program's log writes through WriteLog
    EXPECT_TRUE(PathExists(LogFolder() + c.name));
  }
}

TEST_F(DebugLogTest, LineIsStampBlankTextCrLfInCp932) {
  WriteLog("Play /snd/a.wav");
  WriteLog("ファイルが存在しない x", kError);
  WriteLog("second");
  const std::string log = ReadWholeFile(LogFolder() + Computer() + " - OndrakeB.log");
  const std::vector<std::string> lines = Lines(log);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(AfterStamp(lines[0]), "Play /snd/a.wav") << lines[0];
  EXPECT_EQ(AfterStamp(lines[1]), "second") << lines[1];
  EXPECT_EQ(log.substr(log.size() - 2), "\r\n");

  const std::string err = ReadWholeFile(LogFolder() + Computer() + " - OndrakeB.err");
  ASSERT_EQ(err.size(), 20 + platform::Utf8ToCp932("ファイルが存在しない x").size() + 2);
  EXPECT_EQ(err.substr(19), " " + platform::Utf8ToCp932("ファイルが存在しない x") + "\r\n");
}

TEST_F(DebugLogTest, WritesOnlyWhenSwitchedOnAndTheFolderCanBeMade) {
  Globals().LogError = 0;
  WriteLog("off");
  EXPECT_FALSE(PathExists(LogFolder())) << "no folder while logging is off";
  WriteLog("forced", kInfo, 1);
  EXPECT_EQ(Lines(ReadWholeFile(DebugLogFilePath(kInfo))).size(), 1u);

  // A missing folder whose parent exists is made; a deeper one is not, and the line is lost.
  Globals().LogError = 1;
  Globals().DebugLogPath = env_.dir().Sub("logs");
  WriteLog("made");
  EXPECT_TRUE(PathExists(DebugLogFilePath(kInfo)));
  Globals().DebugLogPath = env_.dir().Sub("missing/logs");
  WriteLog("dropped");
  EXPECT_FALSE(PathExists(env_.dir().Sub("missing")));
  // A folder given with '\' separators is the same folder.
  Globals().DebugLogPath = env_.dir().Sub("logs").substr(0) + "\\";
  for (char& c : Globals().DebugLogPath) c = c == '/' ? '\\' : c;
  WriteLog("again");
  EXPECT_EQ(Lines(ReadWholeFile(env_.dir().Sub("logs/") + Computer() + " - OndrakeB.log")).size(),
            2u);
}

TEST_F(DebugLogTest, SomethingOtherThanAFileAtTheLogsPathIsPassedOver) {
  // A FIFO (with or without a reader), a socket or a device where the log file should be takes
  // no line and never holds the program; the next log of another kind still gets its line.
  Globals().DebugLogPath = env_.dir().Sub("logs");
  WriteLog("folder made");
  for (const testsupport::NonFile kind : testsupport::kNonFiles) {
    SCOPED_TRACE(testsupport::NonFileName(kind));
    ASSERT_EQ(::unlink(DebugLogFilePath(kInfo).c_str()), 0);  // the file, or the last kind's entry
    const testsupport::NonFileAt entry(kind, DebugLogFilePath(kInfo));
    ASSERT_TRUE(entry.ok());
    WriteLog("not written");
    EXPECT_TRUE(entry.StillThere());
    WriteLog("error line", kError);
  }
  EXPECT_EQ(Lines(ReadWholeFile(DebugLogFilePath(kError))).size(),
            std::size(testsupport::kNonFiles));
}

TEST_F(DebugLogTest, OversizedLogIsRetiredPastTheLimit) {
  struct Case {
    const char* what;
    size_t size;
    int32_t errorCatch;
    bool companion;
    int32_t daily;
    size_t linesAfter;  // lines of the log after one more line
    bool numbered;      // the old content moved to <name>003.log
  };
  const Case cases[] = {
      {"exactly the limit is kept", 1024000, 0, false, 0, 2, false},
      {"one past is deleted", 1024001, 0, false, 0, 1, false},
      {"with ErrorCatch it is numbered", 1024001, 1, false, 0, 1, true},
      {"the companion always deletes", 1024001, 1, true, 0, 1, false},
      {"a daily log is never retired", 1024001, 0, false, 1, 2, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    AppTestEnv env;
    Globals().LogError = 1;
    Globals().ErrorCatch = c.errorCatch;
    Globals().IsCompanion = c.companion;
    Globals().DailyLog = c.daily;
    Globals().SettingsName = "X";
    const std::string path = DebugLogFilePath(kInfo);
    const std::string stem = path.substr(0, path.size() - 4);
    const std::string old = std::string(c.size - 2, 'o') + "\r\n";
    env.dir().WriteFile(path.substr(env.dir().path().size() + 1), old);
    env.dir().WriteFile(stem.substr(env.dir().path().size() + 1) + "001.log", "1");
    env.dir().WriteFile(stem.substr(env.dir().path().size() + 1) + "002.log", "2");

    int hookCalls = 0;
    SetPendingWorkHook([&hookCalls] {
      ++hookCalls;
      WriteLog("from the hook");
    });
    WriteLog("new");
    SetPendingWorkHook(nullptr);

    EXPECT_EQ(hookCalls, 0) << "the log never runs pending work";
    EXPECT_EQ(Lines(ReadWholeFile(path)).size(), c.linesAfter);
    EXPECT_EQ(ReadWholeFile(stem + "003.log"), c.numbered ? old : "");
    EXPECT_EQ(ReadWholeFile(stem + "001.log"), "1");
  }
}

TEST_F(DebugLogTest, TwoProcessesAppendWholeLines) {
  constexpr int kLines = 1000;
  const std::string padding(120, 'p');
  pid_t children[2];
  for (int p = 0; p < 2; ++p) {
    children[p] = ::fork();
    ASSERT_GE(children[p], 0);
    if (children[p] == 0) {
      for (int i = 0; i < kLines; ++i)
        WriteLog("P" + std::to_string(p) + " " + std::to_string(i) + " " + padding);
      ::_exit(0);
    }
  }
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  const std::vector<std::string> lines = Lines(ReadWholeFile(DebugLogFilePath(kInfo)));
  ASSERT_EQ(lines.size(), 2u * kLines);
  int next[2] = {0, 0};
  for (const std::string& line : lines) {
    // "P<process> <number> <padding>", whole, and each process's lines in order.
    const std::optional<std::string> rest = AfterStamp(line);
    ASSERT_TRUE(rest && (rest->starts_with("P0 ") || rest->starts_with("P1 "))) << line;
    const int p = (*rest)[1] - '0';
    ASSERT_EQ(rest->substr(3), std::to_string(next[p]++) + " " + padding);
  }
}

TEST(ErrorText, SystemTextsByNumber) {
  errno = EACCES;
  EXPECT_EQ(GetWin32ErrorText(0), std::strerror(EACCES));
  errno = 0;
  EXPECT_EQ(GetWin32ErrorText(0), "");
  EXPECT_EQ(GetWin32ErrorText(-5), "");
}

TEST(ErrorTraps, ErrorCatchFromSettingOrMarkerFile) {
  {
    AppTestEnv env;
    EXPECT_EQ(InitErrorTraps(), 0);
    env.dir().WriteFile("bin/ec.txt", "");
    EXPECT_EQ(InitErrorTraps(), 1);
    EXPECT_EQ(Globals().ErrorCatch, 1);
  }
  {
    AppTestEnv env;
    SaveSettingValue("ErrorCatch", 2);
    env.dir().WriteFile("bin/ec.txt", "");
    EXPECT_EQ(InitErrorTraps(), 2);
  }
  {
    // What a trapped entry point throws goes to the error log, and the caller goes on.
    AppTestEnv env;
    Globals().LogError = 1;
    EXPECT_TRUE(RunTrapped("TimerClock_Timer", [] {}));
    EXPECT_FALSE(RunTrapped("TimerClock_Timer", [] { throw std::runtime_error("bad index"); }));
    EXPECT_FALSE(RunTrapped("TextOA_MouseUD", [] { throw 5; }));
    const std::vector<std::string> lines = Lines(ReadWholeFile(DebugLogFilePath(kError)));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].substr(19), " TimerClock_Timer bad index");
    EXPECT_EQ(lines[1].substr(19), " TextOA_MouseUD unknown error");
  }
}

}  // namespace
}  // namespace foundation
