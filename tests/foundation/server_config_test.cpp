#include "foundation/server_config.h"

#include <gtest/gtest.h>

#include <string>

#include "foundation/app_globals.h"
#include "foundation/server_reachability.h"
#include "foundation/station_settings.h"
#include "platform/clock.h"
#include "platform/cp932.h"
#include "platform/file_system.h"
#include "platform/icmp_echo.h"
#include "tests/foundation/app_test_env.h"

namespace foundation {
namespace {

using testsupport::ReadWholeFile;

// A server tree <tmp>/srv with its conf folder, a local store <tmp>/local and the program
// folder <tmp>/bin; conf.ini files are written in CP932 with CR LF.
class ConfIniTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Station() = StationSettings{};
    Conf() = ConfTables{};
    platform::SetCurrentClock(&clock_);
    SetPinger(&pinger_);
    SetMountTableSource([] { return std::vector<platform::MountEntry>{}; });
    ClearPingCache();
    UseServer(env_.dir().Sub("srv") + "/");
    env_.dir().WriteFile("srv/conf/.keep", "");
    SetLocalPath(env_.dir().Sub("local") + "/");
    env_.dir().WriteFile("local/conf/.keep", "");
    SetColumnCaptions();
  }
  void TearDown() override {
    Station() = StationSettings{};
    Conf() = ConfTables{};
    ClearPingCache();
    SetMountTableSource({});
    SetPinger(nullptr);
    platform::SetCurrentClock(nullptr);
  }

  static void UseServer(const std::string& path) {
    Station().SrvPath[0] = path;
    Station().ServerConfFolder[0] = path + "conf/";
  }
  static void SetLocalPath(const std::string& path) {
    Station().LocalPath = path;
    Station().LocalConfFolder = path + "conf/";
  }
  std::string WriteConf(const std::string& where, const std::string& utf8Body) {
    return env_.dir().WriteFile(where, platform::Utf8ToCp932("[conf]\r\n" + utf8Body));
  }
  static std::string Text(const std::string& path) {
    return platform::Cp932ToUtf8(ReadWholeFile(path));
  }
  std::string LocalCopy() const { return env_.dir().Sub("local/conf/conf.ini"); }

  testsupport::AppTestEnv env_;
  platform::SimulatedClock clock_;
  platform::FakePinger pinger_;
};

TEST_F(ConfIniTest, ServerCopyFetchedThenReadWithDefaultsWrittenLocally) {
  const std::string server = WriteConf(
      "srv/conf/conf.ini",
      "TriggerString_1=\r\nTriggerString_3=CUE\r\nTriggerString_4=\r\nAirName_1=Studio\r\n"
      "AirName_3=\r\nNumRef=12\r\nTypeName_2=ニュース\r\nTypeColor_1=&H102030\r\n"
      "TypeColor_2=16777215\r\nTitleName=曲名\r\nFolderName=場所\r\nHourAdjust=90000\r\n"
      "TimeSrv=\\\\ntp1\r\nTabVisible_3=0\r\nUserCCUF=0\r\n");
  const std::string serverBytes = ReadWholeFile(server);
  Conf().TriggerString[5] = "kept";
  WriteConf("local/conf/conf.ini", "HourAdjust=3600\r\nStale=1\r\n");

  LoadConfIni(0);
  const ConfTables& c = Conf();

  EXPECT_EQ(ReadWholeFile(server), serverBytes);  // a load never writes the server copy
  const std::string local = Text(LocalCopy());
  EXPECT_EQ(local.find("Stale"), std::string::npos);  // replaced by the server copy
  EXPECT_NE(local.find("AirName_2=Air2\r\n"), std::string::npos);
  EXPECT_NE(local.find("CommandColor=6316128\r\n"), std::string::npos);
  EXPECT_NE(local.find("RefName_8=参照8\r\n"), std::string::npos);
  // Reading stopped at the first empty name: later keys neither read nor written.
  EXPECT_EQ(local.find("TriggerString_5"), std::string::npos);
  EXPECT_EQ(local.find("AirName_4"), std::string::npos);

  EXPECT_EQ(c.TriggerString[0], "TIME");  // an empty first name falls back
  EXPECT_EQ(c.TriggerString[1], "SEQ");
  EXPECT_EQ(c.TriggerString[2], "CUE");
  EXPECT_EQ(c.TriggerString[3], "");
  EXPECT_EQ(c.TriggerString[5], "kept");
  EXPECT_EQ(c.AirName[0], "Studio");
  EXPECT_EQ(c.AirName[1], "Air2");
  EXPECT_EQ(c.AirName[2], "");
  EXPECT_EQ(c.NumRef, 8);
  ASSERT_EQ(c.RefName.size(), 8u);
  EXPECT_EQ(c.RefName[7], "参照8");
  EXPECT_EQ(c.TypeName[0], "種別1");
  EXPECT_EQ(c.TypeName[1], "ニュース");
  EXPECT_EQ(c.TypeColor[0], 0x102030);
  EXPECT_EQ(c.TypeColorAlt[0], 0x4C5C6C);
  EXPECT_EQ(c.TypeColorAlt[1], 0xFFFFFF);  // channels stop at 255
  EXPECT_EQ(c.TypeColorAlt[2], 0xFFFFFF);  // no colour: white
  EXPECT_EQ(c.CommandName, "コマンド");
  EXPECT_EQ(c.CommandColor, 0x606060);
  EXPECT_EQ(c.CommandColorAlt, 0x9C9C9C);
  EXPECT_EQ(c.TabVisible[2], 0);
  EXPECT_EQ(c.TabVisible[8], 1);
  EXPECT_EQ(c.ColumnCaption[2], "曲名");
  EXPECT_EQ(c.ColumnCaption[0], "ドライブ");
  EXPECT_EQ(c.DisplayColumnCaption[0], "時刻");
  EXPECT_EQ(c.DisplayColumnCaption[1], "Q");
  EXPECT_EQ(c.DisplayColumnCaption[2], "種別");
  EXPECT_EQ(c.DisplayColumnCaption[3], "再生時間");
  EXPECT_EQ(c.DisplayColumnCaption[4], "場所");
  EXPECT_EQ(c.DisplayColumnCaption[5], "曲名");
  EXPECT_EQ(c.HourAdjust, 86399);
  EXPECT_EQ(c.TimeSrv, "ntp1");
  EXPECT_EQ(c.UserCCUF, 0);
  EXPECT_EQ(pinger_.CallCount(), 0);  // a local server folder needs no echo
}

TEST_F(ConfIniTest, ClampsOfCountsAndDayStart) {
  const struct {
    const char* numRef;
    int32_t refs;
    const char* hourAdjust;
    int32_t dayStart;
  } cases[] = {
      {"0", 1, "-5", 0},      {"12", 8, "86400", 86399},  {"5", 5, "18000", 18000},
      {"abc", 3, "x", 18000}, {"2.5", 2, "3600.5", 3600}, {"-3", 1, "0", 0},
  };
  for (const auto& c : cases) {
    WriteConf("srv/conf/conf.ini",
              std::string("NumRef=") + c.numRef + "\r\nHourAdjust=" + c.hourAdjust + "\r\n");
    LoadConfIni(0);
    EXPECT_EQ(Conf().NumRef, c.refs) << c.numRef;
    EXPECT_EQ(Conf().RefName.size(), static_cast<size_t>(c.refs)) << c.numRef;
    EXPECT_EQ(Conf().HourAdjust, c.dayStart) << c.hourAdjust;
  }
}

TEST_F(ConfIniTest, UnreachableServerLeavesProgramFolderCopyWithDefaults) {
  UseServer("\\\\audio01\\share\\");
  SetLocalPath(env_.dir().Sub("nowhere") + "/");  // no local conf folder
  pinger_.Script(false);
  LoadConfIni(0);
  EXPECT_EQ(pinger_.CallCount(), 1);
  EXPECT_EQ(pinger_.Calls()[0], (std::pair<std::string, int32_t>{"audio01", 1500}));

  const ConfTables& c = Conf();
  const char* triggers[] = {"TIME", "SEQ",  "CNT1", "CNT2", "CNT3",
                            "CNT4", "CNT5", "CNT6", "CNT7", "CNT8"};
  for (int i = 0; i < kTriggerCount; ++i) EXPECT_EQ(c.TriggerString[i], triggers[i]);
  EXPECT_EQ(c.AirName[7], "Air8");
  EXPECT_EQ(c.NumRef, 3);
  EXPECT_EQ(c.RefName[2], "参照3");
  EXPECT_EQ(c.TypeName[15], "種別16");
  EXPECT_EQ(c.TypeColorAlt[15], 0xFFFFFF);
  EXPECT_EQ(c.HourAdjust, 18000);
  EXPECT_EQ(c.TimeSrv, "");
  EXPECT_EQ(c.UserCCUF, 1);
  EXPECT_EQ(c.DisplayColumnCaption[4], "フォルダ");
  const std::string copy = Text(env_.programFolder() + "conf.ini");
  EXPECT_NE(copy.find("DriveName=ドライブ\r\n"), std::string::npos);
  EXPECT_NE(copy.find("TriggerString_10=CNT8\r\n"), std::string::npos);
  EXPECT_NE(copy.find("TimeSrv=***\r\n"), std::string::npos);
  EXPECT_NE(copy.find("DefaultClassGB=0\r\n"), std::string::npos);

  // Within the cache age the server is not asked again.
  LoadConfIni(0);
  EXPECT_EQ(pinger_.CallCount(), 1);
}

TEST_F(ConfIniTest, ReadOnlyLocalCopyIsOnlyRead) {
  WriteConf("srv/conf/conf.ini", "HourAdjust=7200\r\n");
  const std::string local = WriteConf("local/conf/conf.ini", "HourAdjust=3600\r\n");
  ASSERT_EQ(platform::SetReadOnly(local, true), 0);
  const std::string before = ReadWholeFile(local);
  LoadConfIni(0);
  EXPECT_EQ(ReadWholeFile(local), before);
  EXPECT_EQ(Conf().HourAdjust, 3600);
  EXPECT_EQ(Conf().TypeName[3], "種別4");
}

TEST_F(ConfIniTest, SaveReachesServerBeforeProgramFolderCopyGoes) {
  SetLocalPath(env_.dir().Sub("nowhere") + "/");
  LoadConfIni(0);  // defaults into the program folder's copy
  Conf().HourAdjust = 14400;
  Conf().TypeName[0] = "音楽";

  // A read-only server copy is left alone, and so is the program folder's copy.
  const std::string server = WriteConf("srv/conf/conf.ini", "HourAdjust=1\r\n");
  ASSERT_EQ(platform::SetReadOnly(server, true), 0);
  LoadConfIni(1);
  EXPECT_EQ(Text(server), "[conf]\r\nHourAdjust=1\r\n");
  const std::string programCopy = env_.programFolder() + "conf.ini";
  EXPECT_NE(Text(programCopy).find("HourAdjust=14400\r\n"), std::string::npos);

  ASSERT_EQ(platform::SetReadOnly(server, false), 0);
  LoadConfIni(1);
  const std::string saved = Text(server);
  EXPECT_NE(saved.find("HourAdjust=14400\r\n"), std::string::npos);
  EXPECT_NE(saved.find("TypeName_1=音楽\r\n"), std::string::npos);
  EXPECT_NE(saved.find("RefName_3=参照3\r\n"), std::string::npos);
  EXPECT_FALSE(platform::StatPath(programCopy).has_value());

  // With a local conf folder the local copy stays after the save.
  SetLocalPath(env_.dir().Sub("local") + "/");
  LoadConfIni(1);
  EXPECT_NE(Text(LocalCopy()).find("HourAdjust=14400\r\n"), std::string::npos);
}

TEST_F(ConfIniTest, NameAndIndexLookups) {
  LoadConfIni(0);
  Conf().TypeName[3] = "CM";
  const struct {
    const char* text;
    const char* type;
    const char* trigger;
  } byNumber[] = {
      {"3", "CM", "CNT2"},       {" 3 ", "CM", "CNT2"},    {"abc", "種別1", "TIME"},
      {"16", "種別1", "TIME"},   {"-1", "種別1", "TIME"},  {"", "種別1", "TIME"},
      {"15.5", "種別1", "TIME"}, {"2.5", "種別3", "CNT1"}, {"9", "種別10", "CNT8"},
      {"10", "種別11", "TIME"},
  };
  for (const auto& c : byNumber) {
    EXPECT_EQ(TypeNameFromIndex(c.text), c.type) << c.text;
    EXPECT_EQ(TriggerNameFromIndex(c.text), c.trigger) << c.text;
  }

  EXPECT_EQ(TypeIndexFromName("CM"), 3);
  EXPECT_EQ(TypeIndexFromName("cm"), 0);  // exact, case included
  EXPECT_EQ(TypeIndexFromName("none"), 0);
  EXPECT_EQ(TriggerIndexFromName(""), 0);
  EXPECT_EQ(TriggerIndexFromName("SEQ"), 1);
  EXPECT_EQ(TriggerIndexFromName("CNT8"), 9);
  EXPECT_EQ(TriggerIndexFromName("seq"), -1);
  EXPECT_EQ(TriggerIndexFromName("OTHER"), -1);
}

}  // namespace
}  // namespace foundation
