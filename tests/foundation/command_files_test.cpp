#include "foundation/command_files.h"

#include <gtest/gtest.h>

#include <string>

#include "foundation/station_settings.h"
#include "platform/file_system.h"
#include "tests/foundation/app_test_env.h"

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
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(list[0].Name, "B");
  EXPECT_EQ(list[1].Name, "locked");
  EXPECT_EQ(list[2].Name, "news");
  EXPECT_EQ(list[3].Name, "switch");

  // InCh 9 becomes 1, OutTime 500 becomes 0, InTime -300 rises to it.
  const ScheduleEntry& s = list[3];
  EXPECT_EQ(s.InCh, 1);
  EXPECT_EQ(s.OutTime, 0);
  EXPECT_EQ(s.InTime, 0);
  EXPECT_EQ(s.OutFade, 1);
  EXPECT_EQ(s.InFade, 2);
  EXPECT_EQ(s.FOMS, 3);
  EXPECT_EQ(s.FIMS, 4);
  EXPECT_EQ(list[0].OutTime, -2000);
  EXPECT_EQ(list[0].InTime, -2000);
  EXPECT_EQ(list[0].InCh, 8);

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

TEST_F(CommandFilesTest, MissingOrUnsetFolderGivesEmptyList) {
  ScheduleList().push_back(ScheduleEntry{"old"});
  LoadScheduleList(0);  // the folder does not exist
  EXPECT_TRUE(ScheduleList().empty());

  Station().LocalCommandFolder = "";
  env_.dir().WriteFile("bin/stray.scm", "");
  LoadScheduleList(1);
  EXPECT_TRUE(ScheduleList().empty());
  EXPECT_EQ(FindScheduleIndex("stray"), -1);
}

TEST_F(CommandFilesTest, FindIgnoresCaseAndExtension) {
  ScheduleList() = {ScheduleEntry{"news"}, ScheduleEntry{"Switch.scm"}, ScheduleEntry{"ニュース"}};
  const struct {
    const char* name;
    int32_t index;
  } cases[] = {
      {"NEWS.SCM", 0},     {"news", 0}, {"News.scm", 0}, {"switch", 1},        {"SWITCH.SCM", 1},
      {"ニュース.scm", 2}, {"new", -1}, {"", -1},        {"news.scm.scm", -1},
  };
  for (const auto& c : cases) EXPECT_EQ(FindScheduleIndex(c.name), c.index) << c.name;
}

}  // namespace
}  // namespace foundation
