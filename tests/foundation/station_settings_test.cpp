#include "foundation/station_settings.h"

#include <gtest/gtest.h>
#include <stdio.h>

#include <string>

#include "foundation/app_globals.h"
#include "foundation/debug_log.h"
#include "foundation/folders.h"
#include "platform/cp932.h"
#include "tests/fakes/platform/fake_pinger.h"
#include "tests/foundation/reachability_seams.h"
#include "tests/support/app_test_env.h"

namespace foundation {
namespace {

using testsupport::ReadWholeFile;

class StationSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Station() = StationSettings{};
    Globals().IniPath = env_.programFolder() + "Ondrake.ini";
    Globals().LogError = 1;
    Globals().DebugLogPath = env_.dir().Sub("log");
  }
  void TearDown() override { Station() = StationSettings{}; }

  void WriteIni(const std::string& utf8Lines) {
    env_.dir().WriteFile("bin/Ondrake.ini", platform::Utf8ToCp932(utf8Lines));
  }
  std::string Ini() const { return platform::Cp932ToUtf8(ReadWholeFile(Globals().IniPath)); }
  std::string Log() const {
    return platform::Cp932ToUtf8(ReadWholeFile(DebugLogFilePath(platform::LogSeverity::kInfo)));
  }

  testsupport::AppTestEnv env_;
  testsupport::ReachabilitySeams seams_;
};

TEST_F(StationSettingsTest, LoadDerivesFoldersAndForcesCurrentServer) {
  const std::string srv = env_.dir().Sub("srv");
  const std::string local = env_.dir().Sub("local");
  WriteIni("[conf]\r\nSrvPath_1=" + srv + "\r\nSrvName_1=本社\r\nSaveTip_1=0\r\nSrvRO_1=1\r\n" +
           "SrvRO_2=1\r\nSrvPath_3=\\\\nas\\radio\\\r\nUseSubFolder_2=0\r\nLocalPath=" + local +
           "\r\n");
  LoadServerSettings(0);
  const StationSettings& s = Station();

  EXPECT_EQ(s.SrvPath[0], srv + "/");
  EXPECT_EQ(s.SrvName[0], "本社");
  EXPECT_EQ(s.SaveTip[0], 1);
  EXPECT_EQ(s.SrvRO[0], 0);
  EXPECT_EQ(s.SrvRO[1], 1);                     // only the current server is forced
  EXPECT_EQ(s.SrvPath[2], "\\\\nas\\radio\\");  // kept as written
  EXPECT_EQ(s.UseSubFolder[0], 1);
  EXPECT_EQ(s.UseSubFolder[1], 0);
  EXPECT_EQ(s.ServerConfFolder[0], srv + "/conf/");
  EXPECT_EQ(s.ServerConfFolder[1], "conf/");
  EXPECT_EQ(s.ServerConfFolder[2], "\\\\nas\\radio\\conf/");
  EXPECT_EQ(s.ServerSchedFolder, srv + "/sched/");
  EXPECT_EQ(s.ServerCommandFolder, srv + "/command/");
  // LocalPath stored without its separator still gets one.
  EXPECT_EQ(s.LocalPath, local + "/");
  EXPECT_EQ(s.LocalConfFolder, local + "/conf/");
  EXPECT_EQ(s.LocalLogFolder, local + "/log/");

  // Missing keys were written back with their defaults; one log line per entry, with the path
  // as used.
  const std::string ini = Ini();
  EXPECT_NE(ini.find("SrvName_4=***\r\n"), std::string::npos);
  EXPECT_NE(ini.find("UseSubFolder_4=1\r\n"), std::string::npos);
  const std::string log = Log();
  EXPECT_NE(log.find(" SrvPath_1=" + srv + "/\r\n"), std::string::npos);
  EXPECT_NE(log.find(" SrvPath_4=\r\n"), std::string::npos);

  // Empty paths keep the folders derived earlier.
  WriteIni("[conf]\r\nSrvPath_1=\r\nLocalPath=\r\n");
  LoadServerSettings(0);
  EXPECT_EQ(s.SrvPath[0], "");
  EXPECT_EQ(s.LocalPath, "");
  EXPECT_EQ(s.ServerSchedFolder, srv + "/sched/");
  EXPECT_EQ(s.LocalConfFolder, local + "/conf/");
}

TEST_F(StationSettingsTest, DrivePathsAreRefusedWithALogLine) {
  WriteIni(
      "[conf]\r\nSrvPath_1=D:\\audio\\\r\nSrvPath_2=d:/x\r\nSrvPath_3=\\\\nas\\a\\\r\n"
      "LocalPath=D:\r\n");
  LoadServerSettings(0);
  const StationSettings& s = Station();
  EXPECT_EQ(s.SrvPath[0], "");
  EXPECT_EQ(s.SrvPath[1], "");
  EXPECT_EQ(s.SrvPath[2], "\\\\nas\\a\\");
  EXPECT_EQ(s.ServerConfFolder[0], "conf/");
  EXPECT_EQ(s.ServerSchedFolder, "");
  EXPECT_EQ(s.LocalPath, "");
  EXPECT_EQ(s.LocalConfFolder, "");
  const std::string log = Log();
  for (const char* line :
       {" SrvPath_1 refused, a drive path names no folder here: D:\\audio\\\r\n",
        " SrvPath_2 refused, a drive path names no folder here: d:/x\r\n",
        " LocalPath refused, a drive path names no folder here: D:\r\n", " SrvPath_1=\r\n"}) {
    EXPECT_NE(log.find(line), std::string::npos) << line;
  }
  EXPECT_EQ(log.find("SrvPath_3 refused"), std::string::npos);
}

TEST_F(StationSettingsTest, SaveWritesTableAsItStands) {
  StationSettings& s = Station();
  s.SrvPath[0] = "/srv/a/";
  s.SrvName[2] = "";
  s.SrvName[1] = "予備";
  s.SrvRO[3] = 1;
  s.UseSubFolder[0] = 1;
  s.LocalPath = "/local/";
  LoadServerSettings(1);
  const std::string ini = Ini();
  for (const char* line :
       {"SrvPath_1=/srv/a/\r\n", "SrvName_2=予備\r\n", "SrvName_3=***\r\n", "SrvRO_4=1\r\n",
        "UseSubFolder_1=1\r\n", "SaveTip_1=0\r\n", "LocalPath=/local/\r\n"}) {
    EXPECT_NE(ini.find(line), std::string::npos) << line;
  }

  // The companion neither stores nor reads UseSubFolder.
  Globals().IsCompanion = true;
  Globals().IniPath = env_.programFolder() + "Ferlune.ini";
  LoadServerSettings(1);
  s.UseSubFolder[0] = 7;
  LoadServerSettings(0);
  EXPECT_EQ(s.UseSubFolder[0], 7);
  EXPECT_EQ(Ini().find("UseSubFolder"), std::string::npos);
}

TEST_F(StationSettingsTest, EnsureWorkFoldersOnlyUnderExistingLocalPath) {
  const std::string local = env_.dir().Sub("local");
  WriteIni("[conf]\r\nLocalPath=" + local + "/\r\n");
  LoadServerSettings(0);
  EnsureWorkFolders();
  EXPECT_EQ(FolderExists(local), 0);  // a missing LocalPath is not created

  MakeFolder(local);
  // A file where a folder should be is left alone, and said.
  env_.dir().WriteFile("local/log", "");
  EnsureWorkFolders();
  for (const char* sub : {"conf", "sched", "command"}) {
    EXPECT_EQ(FolderExists(local + "/" + sub), 1) << sub;
  }
  EXPECT_NE(ReadWholeFile(DebugLogFilePath(platform::LogSeverity::kError))
                .find("EnsureWorkFolders " + local + "/log/ "),
            std::string::npos);
}

TEST_F(StationSettingsTest, CheckServerAliveSetsFlagAndLogs) {
  platform::FakePinger& pinger = seams_.pinger;
  CheckServerAlive();  // no path: not alive, nothing asked, nothing logged
  EXPECT_EQ(Station().ServerAlive, 0);
  EXPECT_EQ(pinger.CallCount(), 0);
  EXPECT_EQ(Log().find("サーバー迷子"), std::string::npos);

  // The share is mounted: its host is what answers.
  seams_.mounts = {{env_.dir().Sub("share"), "cifs", "//Audio01/share"}};
  MakeFolder(env_.dir().Sub("share"));
  Station().SrvPath[0] = "\\\\Audio01\\share\\";
  pinger.Script(true);
  CheckServerAlive();
  EXPECT_EQ(Station().ServerAlive, 1);
  ASSERT_EQ(pinger.CallCount(), 1);
  EXPECT_EQ(pinger.Calls()[0], (std::pair<std::string, int32_t>{"audio01", 500}));

  seams_.clock.Advance(301000);
  pinger.Script(false);
  CheckServerAlive();
  EXPECT_EQ(Station().ServerAlive, 0);
  EXPECT_NE(Log().find(" サーバー迷子\r\n"), std::string::npos);

  // A local server folder answers without an echo, while it is there. Its going and its coming
  // back are logged once each, however many passes see it.
  const std::string srv = env_.dir().Sub("srv");
  MakeFolder(srv);
  Station().SrvPath[0] = srv + "/";
  for (bool there : {true, false, false, true, true}) {
    const std::string away = srv + ".away";
    if (there && FolderExists(srv) == 0) {
      ASSERT_EQ(::rename(away.c_str(), srv.c_str()), 0);
    }
    if (!there && FolderExists(srv) != 0) {
      ASSERT_EQ(::rename(srv.c_str(), away.c_str()), 0);
    }
    CheckServerAlive();
    EXPECT_EQ(Station().ServerAlive, there ? 1 : 0);
  }
  EXPECT_EQ(pinger.CallCount(), 2);
  const std::string log = Log();
  EXPECT_EQ(log.find(" サーバー迷子\r\n"), log.rfind(" サーバー迷子\r\n"));
  EXPECT_NE(log.find(" サーバーフォルダなし " + srv + "/\r\n"), std::string::npos);
  EXPECT_EQ(log.find(" サーバーフォルダなし "), log.rfind(" サーバーフォルダなし "));
  EXPECT_NE(log.find(" サーバーフォルダ発見 " + srv + "/\r\n"), std::string::npos);
  EXPECT_EQ(log.find(" サーバーフォルダ発見 "), log.rfind(" サーバーフォルダ発見 "));
}

}  // namespace
}  // namespace foundation
