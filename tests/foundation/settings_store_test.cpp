#include "foundation/settings_store.h"

#include <gtest/gtest.h>

#include <clocale>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "foundation/app_globals.h"
#include "foundation/debug_log.h"
#include "platform/cp932.h"
#include "platform/file_system.h"
#include "platform/user_registry.h"
#include "tests/support/app_test_env.h"

namespace foundation {
namespace {

using testsupport::AppTestEnv;
using testsupport::ReadWholeFile;

std::optional<std::string> RegValue(const std::string& keyPath, const std::string& name) {
  return platform::UserRegistry("Tarnwick").ReadValue(keyPath, name);
}

TEST(SettingsStore, ResolvesIniWhenPresentElseRegistry) {
  struct Case {
    const char* what;
    std::string settingsName, iniPath;  // IniPath relative to the program folder, "" for none
    std::string iniFile;                // the one INI file that exists, "" for none
    std::string name;
    int32_t mode, kind;
    std::string result;  // a leading '@' stands for the program folder
  };
  const Case cases[] = {
      {"nothing set", "", "", "", "", 0, kStoreRegistry, ""},
      {"settings name only", "OndrakeB", "", "OndrakeB.ini", "", 0, kStoreRegistry, "OndrakeB"},
      {"IniPath wins", "OndrakeB", "OndrakeB.ini", "OndrakeB.ini", "", 0, kStoreIni,
       "@OndrakeB.ini"},
      {"explicit name with its INI", "", "", "Ondrake.ini", "Ondrake", 0, kStoreIni,
       "@Ondrake.ini"},
      {"explicit name without INI", "FerluneB", "FerluneB.ini", "FerluneB.ini", "OndrakeB", 0,
       kStoreRegistry, "OndrakeB"},
      {"own title with INI", "OndrakeB", "", "Ondrake.ini", "", 1, kStoreIni, "@Ondrake.ini"},
      {"own title without INI", "OndrakeB", "", "", "", 1, kStoreRegistry, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    AppTestEnv env;
    if (!c.iniFile.empty()) env.dir().WriteFile("bin/" + c.iniFile, "");
    Globals().SettingsName = c.settingsName;
    if (!c.iniPath.empty()) Globals().IniPath = env.programFolder() + c.iniPath;
    int32_t kind = -1;
    const std::string result = ResolveSettingsStore(c.name, c.mode, kind);
    std::string expected = c.result;
    if (!expected.empty() && expected[0] == '@') {
      expected = env.programFolder() + expected.substr(1);
    }
    EXPECT_EQ(kind, c.kind);
    EXPECT_EQ(result, expected);
  }
}

TEST(SettingsStore, RegistryKeyIsLowerCasedCompanyAndName) {
  for (const auto& [title, settingsName, keyPath] :
       {std::tuple{"Ondrake", "OndrakeB", "Software\\tarnwick\\ondrakeb"},
        std::tuple{"Ferlune", "", "Software\\tarnwick\\ferlune"}}) {
    SCOPED_TRACE(keyPath);
    AppTestEnv env;
    Globals().ProgramTitle = title;
    Globals().SettingsName = settingsName;
    SaveSettingValue("AirID", "B");
    EXPECT_EQ(RegValue(keyPath, "AirID"), "B");
    EXPECT_EQ(LoadSettingValue("AirID", "A"), "B");
    // The file name of the key is lower-case whatever case the settings name has.
    const std::string file = platform::UserRegistry("Tarnwick").KeyFilePath(keyPath).value();
    EXPECT_EQ(file.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ", file.rfind('/')), std::string::npos);
  }

  // A key path given explicitly is used as it stands; a root other than the user's is no store.
  AppTestEnv env;
  EXPECT_EQ(WriteRegValue("DebugLogPath", "/var/log/x", "", 0, "Software\\Other\\Place"), 1);
  EXPECT_EQ(ReadRegValue("DebugLogPath", "", "", kHkeyCurrentUser, "software\\other\\place"),
            "/var/log/x");
  EXPECT_EQ(WriteRegValue("DebugLogPath", "x", "", 0x80000002u, "Software\\Other\\Place"), 0);
  EXPECT_EQ(ReadRegValue("DebugLogPath", "dflt", "", 0x80000002u, "Software\\Other\\Place"),
            "dflt");
  DeleteRegValue("DebugLogPath", "", 0, "Software\\Other\\Place");
  EXPECT_EQ(ReadRegValue("DebugLogPath", "gone", "", 0, "Software\\Other\\Place"), "gone");
  DeleteRegValue("Missing", "nokey");  // a missing key is no error
  // "common" is the shared key both programs read the log folder from.
  WriteRegValue("DebugLogPath", "/srv/log", "common");
  EXPECT_EQ(RegValue("Software\\tarnwick\\common", "DebugLogPath"), "/srv/log");
}

TEST(SettingsStore, EmptyValuesAndWriteBackOfMissingKeys) {
  AppTestEnv env;
  // Registry: an empty text is stored as "***" and reads back empty; a missing value gives the
  // default and writes nothing; values keep their whole length and lose surrounding blanks.
  SaveSettingValue("Caption", "");
  EXPECT_EQ(RegValue("Software\\tarnwick\\ondrake", "Caption"), "***");
  EXPECT_EQ(LoadSettingValue("Caption", "dflt"), "");
  EXPECT_EQ(LoadSettingValue("LogError", 1), "1");
  EXPECT_EQ(RegValue("Software\\tarnwick\\ondrake", "LogError"), std::nullopt);
  const std::string longText(400, 'x');
  WriteRegValue("Long", "  " + longText + "  ");
  EXPECT_EQ(LoadSettingValue("Long", ""), longText);

  // INI: a missing key, or one that holds the missing-key marker, is written with the default
  // ("" as "***"); other lines stay.
  const std::string ini =
      env.dir().WriteFile("bin/OndrakeB.ini", "; keep me\r\n[conf]\r\nA=ISDEFAULT\r\nB=7\r\n");
  Globals().IniPath = ini;
  EXPECT_EQ(LoadSettingValue("A", "first"), "first");
  EXPECT_EQ(LoadSettingValue("C", 42), "42");
  EXPECT_EQ(LoadSettingValue("B", 1), "7");
  EXPECT_EQ(LoadSettingValue("E", ""), "");
  SaveSettingValue("Caption", "");
  EXPECT_EQ(LoadSettingValue("Caption", "dflt"), "");
  EXPECT_EQ(ReadWholeFile(ini),
            "; keep me\r\n[conf]\r\nA=first\r\nB=7\r\nC=42\r\nE=***\r\nCaption=***\r\n");
  // The plain reader writes back only when asked.
  EXPECT_EQ(ReadIniValue("D", "d", ini, "other", 0), "d");
  EXPECT_EQ(ReadIniValue("D", "d", ini, "other", 1), "d");
  EXPECT_NE(ReadWholeFile(ini).find("\r\n\r\n[other]\r\nD=d\r\n"), std::string::npos);
  // Without a file the program's own INI is meant.
  WriteIniValue("E", 5);
  EXPECT_EQ(ReadWholeFile(env.programFolder() + "Ondrake.ini"), "[conf]\r\nE=5\r\n");
}

TEST(SettingsStore, IniValueIsCutWithoutSplittingACharacter) {
  AppTestEnv env;
  std::string japanese = "x";
  for (int i = 0; i < 130; ++i) japanese += "あ";  // 1 + 260 bytes in CP932
  Globals().IniPath =
      env.dir().WriteFile("bin/Ondrake.ini", "[conf]\r\nJ=" + platform::Utf8ToCp932(japanese) +
                                                 "\r\nA=" + std::string(300, 'a') + "\r\n");
  std::string expected = "x";
  for (int i = 0; i < 126; ++i) expected += "あ";  // 253 bytes: the 254th would be half of one
  EXPECT_EQ(LoadSettingValue("J", ""), expected);
  EXPECT_EQ(LoadSettingValue("A", ""), std::string(254, 'a'));
}

TEST(SettingsStore, NumbersAreWrittenWithPointAndReadBackOrDefault) {
  const std::pair<SettingValue, std::string> texts[] = {
      {SettingValue(int64_t{5000000000}), "5000000000"},
      {SettingValue(0.1f), "0.1"},
      {SettingValue(-0.0), "0"},
      {SettingValue(1234.0f), "1234"},
      {SettingValue(), ""},
  };
  for (const auto& [value, text] : texts) EXPECT_EQ(value.Text(), text);

  const std::pair<const char*, std::optional<int32_t>> parses[] = {
      {" 12 ", 12},
      {"2.5", 2},
      {"3.5", 4},
      {"1e3", 1000},
      {"&hff", 255},
      {"&HFFFFFFFF", -1},
      {"&H100000000", std::nullopt},
      {"", std::nullopt},
      {"1,5", std::nullopt},
      {"12abc", std::nullopt},
      {"nan", std::nullopt},
      {"2147483648", std::nullopt},
      {"-2147483648", INT32_MIN},
  };
  for (const auto& [text, value] : parses) EXPECT_EQ(ParseSettingInt(text), value) << text;

  // A stored value that does not read as a number gives the caller's default, and stays.
  AppTestEnv env;
  const std::string ini =
      env.dir().WriteFile("bin/Ondrake.ini", "[conf]\r\nN=abc\r\nD=1,5\r\nOK=9.5\r\n");
  Globals().IniPath = ini;
  EXPECT_EQ(LoadSettingInt("N", 3), 3);
  EXPECT_EQ(LoadSettingDouble("D", 0.25), 0.25);
  EXPECT_EQ(LoadSettingInt("OK", 0), 10);
  EXPECT_EQ(LoadSettingDouble("OK", 0), 9.5);
  EXPECT_EQ(ReadWholeFile(ini), "[conf]\r\nN=abc\r\nD=1,5\r\nOK=9.5\r\n");
}

TEST(SettingsStore, NumbersIgnoreTheLocale) {
  const char* chosen = nullptr;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8"}) {
    if (std::setlocale(LC_ALL, name)) {
      chosen = name;
      break;
    }
  }
  if (!chosen) GTEST_SKIP() << "no locale with a decimal comma is installed";
  AppTestEnv env;
  const std::string ini = env.dir().WriteFile("bin/Ondrake.ini", "[conf]\r\n");
  Globals().IniPath = ini;
  SaveSettingValue("Rate", 2.5);
  const double read = LoadSettingDouble("Rate", 0);
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(ReadWholeFile(ini), "[conf]\r\nRate=2.5\r\n") << chosen;
  EXPECT_EQ(read, 2.5);
}

// A store that fails gives the caller its documented result and leaves a line in the error log;
// a file, key or value that is merely missing leaves none.
TEST(SettingsStore, FailuresKeepTheirResultAndReachTheErrorLog) {
  const std::string keyFile = "config/tarnwick/software.tarnwick.ondrake.key";
  struct Case {
    const char* what;
    std::function<std::string(const AppTestEnv&)> run;  // the call's result as text
    std::string result;
    std::string logged;  // part of the error-log line; "" when nothing may be logged
  };
  const Case cases[] = {
      {"INI file is a folder",
       [](const AppTestEnv& env) {
         env.dir().WriteFile("bin/Ondrake.ini/inner", "");
         Globals().IniPath = env.dir().Sub("bin/Ondrake.ini");
         return LoadSettingValue("Key", "dflt");
       },
       "dflt", "ReadIniValue "},
      {"read-only INI file, missing key read",
       [](const AppTestEnv& env) {
         Globals().IniPath = env.dir().WriteFile("bin/Ondrake.ini", "[conf]\r\n");
         platform::SetReadOnly(Globals().IniPath, true);
         return LoadSettingValue("Key", "dflt") + "|" + ReadWholeFile(Globals().IniPath);
       },
       "dflt|[conf]\r\n", "Ondrake.ini [conf] Key: "},
      {"read-only INI file, save",
       [](const AppTestEnv& env) {
         Globals().IniPath = env.dir().WriteFile("bin/Ondrake.ini", "[conf]\r\n");
         platform::SetReadOnly(Globals().IniPath, true);
         SaveSettingValue("Key", "v");
         return ReadWholeFile(Globals().IniPath);
       },
       "[conf]\r\n", "WriteIniValue "},
      {"INI file in a missing folder",
       [](const AppTestEnv& env) {
         WriteIniValue("Key", 1, env.dir().Sub("none/x.ini"));
         return std::string(testsupport::PathExists(env.dir().Sub("none")) ? "made" : "");
       },
       "", "none/x.ini [conf] Key: "},
      {"missing INI key and file are no failure",
       [](const AppTestEnv& env) {
         Globals().IniPath = env.dir().WriteFile("bin/Ondrake.ini", "[conf]\r\n");
         const std::string key = LoadSettingValue("Key", "dflt");
         return key + ReadIniValue("K", "d", env.dir().Sub("no.ini"));
       },
       "dfltd", ""},
      {"registry key file is a folder, read",
       [&](const AppTestEnv& env) {
         env.dir().WriteFile(keyFile + "/inner", "");
         return LoadSettingValue("Key", "dflt");
       },
       "dflt", "ReadRegValue Software\\tarnwick\\ondrake: "},
      {"registry key file is a folder, write",
       [&](const AppTestEnv& env) {
         env.dir().WriteFile(keyFile + "/inner", "");
         return std::to_string(WriteRegValue("Key", "v"));
       },
       "0", "WriteRegValue Software\\tarnwick\\ondrake Key: "},
      {"read-only registry key file, delete",
       [&](const AppTestEnv& env) {
         WriteRegValue("Key", "v");
         platform::SetReadOnly(env.dir().Sub(keyFile), true);
         DeleteRegValue("Key");
         return LoadSettingValue("Key", "gone");
       },
       "v", "DeleteRegValue Software\\tarnwick\\ondrake Key: "},
      {"missing registry key and value are no failure",
       [](const AppTestEnv&) {
         DeleteRegValue("Key", "other");
         std::string out = LoadSettingValue("Key", "dflt");
         out += std::to_string(WriteRegValue("Key", "v"));
         return out + LoadSettingValue("Missing", "m");
       },
       "dflt1m", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    AppTestEnv env;
    Globals().LogError = 1;
    Globals().DebugLogPath = env.dir().Sub("log");
    EXPECT_EQ(c.run(env), c.result);
    const std::string errors = ReadWholeFile(DebugLogFilePath(platform::LogSeverity::kError));
    if (c.logged.empty()) {
      EXPECT_EQ(errors, "");
    } else {
      EXPECT_NE(errors.find(c.logged), std::string::npos) << errors;
    }
  }
}

}  // namespace
}  // namespace foundation
