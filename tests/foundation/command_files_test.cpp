#include "foundation/command_files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/app_globals.h"
#include "foundation/debug_log.h"
#include "foundation/station_settings.h"
#include "platform/file_system.h"
#include "tests/support/app_test_env.h"

namespace foundation {
namespace {

using testsupport::ReadWholeFile;

class CommandFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Station() = StationSettings{};
    Station().ServerCommandFolder = env_.dir().Sub("srv/command") + "/";
    Station().LocalCommandFolder = env_.dir().Sub("local/command") + "/";
    ScheduleList().clear();
    Globals().LogError = 1;
    Globals().DebugLogPath = env_.dir().Sub("log");
  }
  void TearDown() override {
    Station() = StationSettings{};
    ScheduleList().clear();
  }

  std::string WriteScm(const std::string& where, const std::string& body) {
    return env_.dir().WriteFile(where, "[conf]\r\n" + body);
  }

  testsupport::AppTestEnv env_;
};

TEST_F(CommandFilesTest, ListsClampedRecordsInNameOrder) {
  WriteScm("srv/command/switch.scm",
           "OutFade=1\r\nOutTime=500\r\nInFade=2\r\nInTime=-300\r\nInCh=9\r\nFOMS=3\r\nFIMS=4\r\n");
  WriteScm("srv/command/B.SCM", "OutTime=-2000\r\nInTime=-3000\r\nInCh=8\r\n");
  const std::string news = WriteScm("srv/command/news.scm", "InCh=2\r\n");
  const std::string locked = WriteScm("srv/command/locked.scm", "InCh=3\r\n");
  ASSERT_EQ(platform::SetReadOnly(locked, true), 0);
  env_.dir().WriteFile("srv/command/dir.scm/inner.scm", "");
  env_.dir().WriteFile("srv/command/readme.txt", "");
  WriteScm("local/command/local.scm", "");

  LoadScheduleList(0);
  const std::vector<ScheduleEntry>& list = ScheduleList();
  std::vector<std::string> names;
  for (const ScheduleEntry& e : list) names.push_back(e.Name);
  ASSERT_EQ(names, std::vector<std::string>({"B", "locked", "news", "switch"}));

  // InCh 9 becomes 1, OutTime 500 becomes 0, InTime -300 rises to it.
  const ScheduleEntry& s = list[3];
  EXPECT_EQ(
      std::vector<int32_t>({s.InCh, s.OutTime, s.InTime, s.OutFade, s.InFade, s.FOMS, s.FIMS}),
      std::vector<int32_t>({1, 0, 0, 1, 2, 3, 4}));
  EXPECT_EQ(std::vector<int32_t>({list[0].OutTime, list[0].InTime, list[0].InCh}),
            std::vector<int32_t>({-2000, -2000, 8}));

  // Missing keys are written back as 0; a read-only file is only read.
  EXPECT_EQ(ReadWholeFile(news),
            "[conf]\r\nInCh=2\r\nOutFade=0\r\nOutTime=0\r\nInFade=0\r\nInTime=0\r\nFOMS=0\r\n"
            "FIMS=0\r\n");
  EXPECT_EQ(ReadWholeFile(locked), "[conf]\r\nInCh=3\r\n");
  EXPECT_EQ(list[1].InCh, 3);

  LoadScheduleList(1);
  ASSERT_EQ(ScheduleList().size(), 1u);
  EXPECT_EQ(ScheduleList()[0].Name, "local");
}

TEST_F(CommandFilesTest, MissingUnsetOrUnlistableFolderGivesEmptyList) {
  ScheduleList().push_back(ScheduleEntry{"old"});
  LoadScheduleList(0);  // the folder does not exist
  EXPECT_TRUE(ScheduleList().empty());

  Station().LocalCommandFolder = "";
  env_.dir().WriteFile("bin/stray.scm", "");
  LoadScheduleList(1);
  EXPECT_TRUE(ScheduleList().empty());
  EXPECT_EQ(FindScheduleIndex("stray"), -1);
  // Neither is a failure.
  EXPECT_EQ(ReadWholeFile(DebugLogFilePath(platform::LogSeverity::kError)), "");

  // A file where the folder should be cannot be listed: that is one.
  Station().ServerCommandFolder = env_.dir().WriteFile("srv/command", "") + "/";
  ScheduleList().push_back(ScheduleEntry{"old"});
  LoadScheduleList(0);
  EXPECT_TRUE(ScheduleList().empty());
  EXPECT_NE(ReadWholeFile(DebugLogFilePath(platform::LogSeverity::kError))
                .find("LoadScheduleList " + Station().ServerCommandFolder + ": "),
            std::string::npos);
}

TEST_F(CommandFilesTest, FindIgnoresCaseAndExtension) {
  ScheduleList() = {ScheduleEntry{"news"}, ScheduleEntry{"Switch.scm"}, ScheduleEntry{"ニュース"}};
  const struct {
    const char* name;
    int32_t index;
  } cases[] = {
      {"NEWS.SCM", 0}, {"news", 0}, {"switch", 1},        {"ニュース.scm", 2},
      {"new", -1},     {"", -1},    {"news.scm.scm", -1},
  };
  for (const auto& c : cases) EXPECT_EQ(FindScheduleIndex(c.name), c.index) << c.name;
}

}  // namespace
}  // namespace foundation
