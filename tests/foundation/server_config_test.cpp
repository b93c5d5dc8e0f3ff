#include "foundation/server_config.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "foundation/app_globals.h"
#include "foundation/debug_log.h"
#include "foundation/station_settings.h"
#include "platform/cp932.h"
#include "platform/file_system.h"
#include "tests/foundation/reachability_seams.h"
#include "tests/support/app_test_env.h"

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
    UseServer(env_.dir().Sub("srv") + "/");
    env_.dir().WriteFile("srv/conf/.keep", "");
    SetLocalPath(env_.dir().Sub("local") + "/");
    env_.dir().WriteFile("local/conf/.keep", "");
    SetColumnCaptions();
    Globals().LogError = 1;
    Globals().DebugLogPath = env_.dir().Sub("log");
  }
  void TearDown() override {
    Station() = StationSettings{};
    Conf() = ConfTables{};
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
  static bool Has(const std::string& text, const std::string& line) {
    return text.find(line) != std::string::npos;
  }
  static std::string Errors() {
    return ReadWholeFile(DebugLogFilePath(platform::LogSeverity::kError));
  }

  testsupport::AppTestEnv env_;
  testsupport::ReachabilitySeams seams_;
};

TEST_F(ConfIniTest, ServerCopyFetchedThenReadWithDefaultsWrittenLocally) {
  const std::string server = WriteConf(
      "srv/conf/conf.ini",
      "TriggerString_1=\r\nTriggerString_3=CUE\r\nTriggerString_4=\r\nAirName_1=Studio\r\n"
      "AirName_3=\r\nNumRef=12\r\nTypeName_2=ニュース\r\nTypeColor_1=&H102030\r\n"
      "TypeColor_2=16777215\r\nTitleName=曲名\r\nFolderName=場所\r\nHourAdjust=90000\r\n"
      "TimeSrv=\\\\ntp1\r\nTabVisible_3=0\r\nUserCCUF=0\r\nTypeName_3=\r\nRefName_2=\r\n");
  const std::string serverBytes = ReadWholeFile(server);
  Conf().TriggerString[5] = "kept";
  WriteConf("local/conf/conf.ini", "HourAdjust=3600\r\nStale=1\r\n");

  LoadConfIni(0);
  const ConfTables& c = Conf();

  EXPECT_EQ(ReadWholeFile(server), serverBytes);  // a load never writes the server copy
  const std::string local = Text(env_.dir().Sub("local/conf/conf.ini"));
  EXPECT_FALSE(Has(local, "Stale"));  // replaced by the server copy
  EXPECT_TRUE(Has(local, "AirName_2=Air2\r\n"));
  EXPECT_TRUE(Has(local, "RefName_8=参照8\r\n"));
  // Reading stopped at the first empty name: later keys neither read nor written.
  EXPECT_FALSE(Has(local, "TriggerString_5"));
  EXPECT_FALSE(Has(local, "AirName_4"));

  EXPECT_EQ(c.TriggerString[0], "TIME");  // an empty first name falls back
  EXPECT_EQ(c.TriggerString[2], "CUE");
  EXPECT_EQ(c.TriggerString[3], "");
  EXPECT_EQ(c.TriggerString[5], "kept");
  EXPECT_EQ(c.AirName[1], "Air2");
  EXPECT_EQ(c.AirName[2], "");
  EXPECT_EQ(c.NumRef, 8);
  EXPECT_EQ(c.RefName.size(), 8u);
  EXPECT_EQ(c.TypeName[1], "ニュース");
  EXPECT_EQ(c.TypeName[2], "");  // an empty name is kept and ends no list
  EXPECT_EQ(c.RefName[1], "");
  EXPECT_EQ(c.TypeName[3], "種別4");
  EXPECT_EQ(c.TypeColorAlt[0], 0x4C5C6C);
  EXPECT_EQ(c.TypeColorAlt[1], 0xFFFFFF);  // channels stop at 255
  EXPECT_EQ(c.TypeColorAlt[2], 0xFFFFFF);  // no colour: white
  EXPECT_EQ(c.CommandColorAlt, 0x9C9C9C);
  EXPECT_EQ(c.TabVisible[2], 0);
  EXPECT_EQ(c.TabVisible[8], 1);
  EXPECT_EQ(c.ColumnCaption[2], "曲名");
  EXPECT_EQ(c.DisplayColumnCaption[4], "場所");
  EXPECT_EQ(c.DisplayColumnCaption[5], "曲名");
  EXPECT_EQ(c.TimeSrv, "ntp1");
  EXPECT_EQ(seams_.pinger.CallCount(), 0);  // a local server folder needs no echo
}

TEST_F(ConfIniTest, ClampsOfCountsAndDayStart) {
  const struct {
    const char *numRef, *hourAdjust;
    int32_t refs, dayStart;
  } cases[] = {
      {"0", "-5", 1, 0},      {"12", "86400", 8, 86399},  {"5", "7200", 5, 7200},
      {"abc", "x", 3, 18000}, {"2.5", "3600.5", 2, 3600}, {"-3", "0", 1, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.numRef << " " << c.hourAdjust);
    WriteConf("srv/conf/conf.ini",
              std::string("NumRef=") + c.numRef + "\r\nHourAdjust=" + c.hourAdjust + "\r\n");
    LoadConfIni(0);
    EXPECT_EQ(Conf().NumRef, c.refs);
    EXPECT_EQ(Conf().RefName.size(), static_cast<size_t>(c.refs));
    EXPECT_EQ(Conf().HourAdjust, c.dayStart);
  }
}

TEST_F(ConfIniTest, UnreachableServerLeavesProgramFolderCopyWithDefaults) {
  UseServer("\\\\audio01\\share\\");
  SetLocalPath(env_.dir().Sub("nowhere") + "/");  // no local conf folder
  seams_.pinger.Script(false);
  LoadConfIni(0);
  ASSERT_EQ(seams_.pinger.CallCount(), 1);
  EXPECT_EQ(seams_.pinger.Calls()[0], (std::pair<std::string, int32_t>{"audio01", 1500}));

  const ConfTables& c = Conf();
  EXPECT_EQ(c.TriggerString[kTriggerCount - 1], "CNT8");
  EXPECT_EQ(c.NumRef, 3);
  EXPECT_EQ(c.TypeName[15], "種別16");
  EXPECT_EQ(c.HourAdjust, 18000);
  EXPECT_EQ(c.UserCCUF, 1);
  const std::string copy = Text(env_.programFolder() + "conf.ini");
  EXPECT_TRUE(Has(copy, "DriveName=ドライブ\r\n"));
  EXPECT_TRUE(Has(copy, "TimeSrv=***\r\n"));

  // Within the cache age the server is not asked again.
  LoadConfIni(0);
  EXPECT_EQ(seams_.pinger.CallCount(), 1);
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
  EXPECT_TRUE(Has(Errors(), "srv/conf/conf.ini not copied to " + local)) << Errors();
}

TEST_F(ConfIniTest, SaveReachesServerBeforeProgramFolderCopyGoes) {
  SetLocalPath(env_.dir().Sub("nowhere") + "/");
  LoadConfIni(0);  // defaults into the program folder's copy
  Conf().HourAdjust = 14400;
  Conf().TypeName[0] = "音楽";

  // A read-only server copy is left alone, and so is the program folder's copy.
  const std::string server = WriteConf("srv/conf/conf.ini", "HourAdjust=1\r\n");
  ASSERT_EQ(platform::SetReadOnly(server, true), 0);
  EXPECT_EQ(Errors(), "");
  LoadConfIni(1);
  EXPECT_EQ(Text(server), "[conf]\r\nHourAdjust=1\r\n");
  const std::string programCopy = env_.programFolder() + "conf.ini";
  EXPECT_TRUE(Has(Text(programCopy), "HourAdjust=14400\r\n"));
  EXPECT_TRUE(Has(Errors(), "conf.ini not copied to " + server)) << Errors();

  ASSERT_EQ(platform::SetReadOnly(server, false), 0);
  LoadConfIni(1);
  const std::string saved = Text(server);
  EXPECT_TRUE(Has(saved, "HourAdjust=14400\r\n"));
  EXPECT_TRUE(Has(saved, "TypeName_1=音楽\r\n"));
  EXPECT_FALSE(platform::StatPath(programCopy).has_value());

  // With a local conf folder the local copy stays after the save.
  SetLocalPath(env_.dir().Sub("local") + "/");
  LoadConfIni(1);
  EXPECT_TRUE(Has(Text(env_.dir().Sub("local/conf/conf.ini")), "HourAdjust=14400\r\n"));
}

TEST_F(ConfIniTest, EverySavedKeyReadsBack) {
  ConfTables& c = Conf();
  for (int32_t i = 0; i < kTriggerCount; ++i) c.TriggerString[i] = "トリガ" + std::to_string(i);
  for (int32_t i = 0; i < kAirCount; ++i) c.AirName[i] = "air " + std::to_string(i);
  c.NumRef = 5;
  c.RefName = {"r1", "r2", "r3", "r4", "r5"};
  for (int32_t i = 0; i < kTypeCount; ++i) {
    c.TypeName[i] = "type" + std::to_string(i);
    c.TypeColor[i] = 0x010203 * (i + 1);
  }
  c.CommandName = "cmd";
  c.CommandColor = 0x123456;
  for (int32_t i = 0; i < kTabCount; ++i) c.TabVisible[i] = i % 2;
  for (int32_t i = 0; i < kColumnCaptionCount; ++i) c.ColumnCaption[i] = "col" + std::to_string(i);
  c.HourAdjust = 3600;
  c.TimeSrv = "ntp.example";
  c.UseTime = 1;
  c.UseUser = 1;
  c.UserCCUF = 0;
  c.DefaultClassGB = 2;
  const ConfTables saved = c;
  LoadConfIni(1);

  Conf() = ConfTables{};
  SetColumnCaptions();
  LoadConfIni(0);
  const auto keyed = [](const ConfTables& t) {
    return std::tie(t.TriggerString, t.AirName, t.NumRef, t.RefName, t.TypeName, t.TypeColor,
                    t.CommandName, t.CommandColor, t.TabVisible, t.ColumnCaption, t.HourAdjust,
                    t.TimeSrv, t.UseTime, t.UseUser, t.UserCCUF, t.DefaultClassGB);
  };
  EXPECT_EQ(keyed(c), keyed(saved));
  EXPECT_EQ(c.DisplayColumnCaption[5], "col2");
}

TEST_F(ConfIniTest, NameAndIndexLookups) {
  LoadConfIni(0);
  Conf().TypeName[3] = "CM";
  const struct {
    const char *text, *type, *trigger;
  } byNumber[] = {
      {"3", "CM", "CNT2"},     {" 3 ", "CM", "CNT2"},    {"abc", "種別1", "TIME"},
      {"16", "種別1", "TIME"}, {"-1", "種別1", "TIME"},  {"2.5", "種別3", "CNT1"},
      {"9", "種別10", "CNT8"}, {"10", "種別11", "TIME"},
  };
  for (const auto& c : byNumber) {
    EXPECT_EQ(TypeNameFromIndex(c.text), c.type) << c.text;
    EXPECT_EQ(TriggerNameFromIndex(c.text), c.trigger) << c.text;
  }

  EXPECT_EQ(TypeIndexFromName("CM"), 3);
  EXPECT_EQ(TypeIndexFromName("cm"), 0);  // exact, case included
  EXPECT_EQ(TriggerIndexFromName(""), 0);
  EXPECT_EQ(TriggerIndexFromName("CNT8"), 9);
  EXPECT_EQ(TriggerIndexFromName("seq"), -1);
}

}  // namespace
}  // namespace foundation
