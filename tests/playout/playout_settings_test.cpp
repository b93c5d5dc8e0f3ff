// What start-up reads into the engine's settings from an INI written by hand.
#include "playout/playout_settings.h"

#include <gtest/gtest.h>

#include <string>

#include "foundation/app_globals.h"
#include "platform/cp932.h"
#include "tests/support/app_test_env.h"

namespace playout {
namespace {

// The instance's INI in the program folder, holding `text` (UTF-8 here, CP932 on disk).
struct IniFile {
  explicit IniFile(const std::string& text) {
    env.dir().WriteFile("bin/Ondrake.ini", platform::Utf8ToCp932(text));
    foundation::Globals().IniPath = env.programFolder() + "Ondrake.ini";
  }
  std::string Text() const {
    return platform::Cp932ToUtf8(testsupport::ReadWholeFile(foundation::Globals().IniPath));
  }
  testsupport::AppTestEnv env;
};

TEST(PlayoutSettingsTest, OddStoredValuesBecomeRunningValuesByTheirRules) {
  IniFile ini(
      "[conf]\r\n"
      "airid=Ｚ局\r\n"  // keys are found whatever their case
      "SelectedAir=-2147483648\r\n"
      "OverSec=-2147483648\r\n"
      "StopAdjMS= -250 \r\n"
      "PlayerType=7\r\n"
      "LVFontSize=12.5\r\n"
      "DefaultFadeTime=abc\r\n"
      "FadeMargin=&HFF\r\n"
      "CancelCNT=1e1\r\n"
      "CueActive_3=1\r\n"
      "CNTFunction_2_3=4\r\n"
      "CNTFunction_2_3=1\r\n");  // the first of two wins
  StoreSettingsReader reader;
  const PlayoutSettings s = LoadPlayoutSettings(reader);
  EXPECT_EQ(s.AirID, "Ｚ局");
  const struct {
    const char* what;
    int32_t value, expected;
  } cases[] = {
      // The lowest air number names no air, as the companion reads it too.
      {"SelectedAir", s.SelectedAir, INT32_MIN},
      {"OverSec", s.OverSec, INT32_MAX},
      {"StopAdjMS", s.StopAdjMS, -250},
      {"PlayerType", s.PlayerType, 1},
      {"LVFontSize", s.LVFontSize, 12},
      {"FadeTime", s.FadeTime, 6000},
      {"FadeMargin", s.FadeMargin, 255},
      {"CancelCNT", s.CancelCNT, 10},
      {"CueActive 3", s.CueActive[2], 1},
      {"シリアル2-3", s.CNTFunction[2 + 4 * 2], 4},
      {"シリアル2-2", s.CNTFunction[2 + 4 * 1], 0},
  };
  for (const auto& c : cases) EXPECT_EQ(c.value, c.expected) << c.what;
}

// A first start leaves the keys it read in the file, in the order it read them.
TEST(PlayoutSettingsTest, FirstStartWritesTheKeysInItsOrder) {
  IniFile ini("[conf]\r\n");
  StoreSettingsReader reader;
  (void)LoadPlayoutSettings(reader);
  std::string expected =
      "[conf]\r\nAirID=A\r\nSelectedAir=1\r\nStopAdjMS=0\r\nOverSec=0\r\nNoTimeSkip=0\r\n"
      "ForceLoad=0\r\nForceOA=0\r\nNoCNTSkip=0\r\nColorMode=0\r\nColorModeR=0\r\n"
      "LVFontSize=20\r\nUseFade=0\r\nDefaultFadeTime=6000\r\nFadeMargin=3000\r\n"
      "PlayerType=0\r\nWaveDeviceName=***\r\nCueActive_1=0\r\nCueActive_2=0\r\nCueActive_3=0\r\n"
      "AMinute=0\r\nASecond=0\r\nCancelCNT=0\r\nCommandMargin=0\r\nNoPlayMS=0\r\n"
      "CNTPulseMS=0\r\n";
  for (int g = 0; g < 4; ++g)
    for (int n = 1; n <= 8; ++n)
      expected += "CNTFunction_" + std::to_string(g) + "_" + std::to_string(n) + "=0\r\n";
  EXPECT_EQ(ini.Text(), expected);
}

}  // namespace
}  // namespace playout
