#include "companion/companion_settings.h"

#include <gtest/gtest.h>

#include "foundation/settings_store.h"
#include "platform/cp932.h"
#include "tests/support/app_test_env.h"

namespace companion {
namespace {

TEST(CompanionSettingsTest, NamesFollowTheSessionLetter) {
  struct Case {
    const char* arg;
    const char* playout;
    const char* caption;
    const char* own;
  } cases[] = {{"", "Ondrake", "Ondrake - Tarnwick", "Ferlune - Tarnwick"},
               {" B ", "OndrakeB", "OndrakeB - Tarnwick", "FerluneB - Tarnwick"}};
  for (const Case& c : cases) {
    const CompanionNames n = NamesForCommandLine(c.arg);
    EXPECT_EQ(n.PlayoutSettingsName, c.playout);
    EXPECT_EQ(n.PlayoutCaption, c.caption);
    EXPECT_EQ(n.Caption, c.own);
  }
}

TEST(CompanionSettingsTest, PlayoutKeysComeFromThePlayoutsOwnStore) {
  testsupport::AppTestEnv env;
  // Session B keeps its settings in its INI file; the file is read, never written.
  const std::string ini = env.dir().WriteFile(
      "bin/OndrakeB.ini", platform::Utf8ToCp932("[conf]\r\nAirID=C\r\nSelectedAir=3\r\n"));
  CompanionSettings b;
  ReadPlayoutKeys("OndrakeB", b);
  EXPECT_EQ(b.AirID, "C");
  EXPECT_EQ(b.SelectedAir, 2);
  EXPECT_EQ(b.PrepDay, 2);
  EXPECT_EQ(b.AirFileStem(), "03C");
  EXPECT_EQ(testsupport::ReadWholeFile(ini), "[conf]\r\nAirID=C\r\nSelectedAir=3\r\n");
  // Session 0 has no INI file: the registry, with PrepDay held within its limits.
  struct Case {
    const char* stored;
    int32_t prepDay;
  } cases[] = {{"0", 2}, {"1", 2}, {"5", 5}, {"100000", kMaxPrepDay}, {"x", 2}};
  for (const Case& c : cases) {
    foundation::WriteRegValue("PrepDay", c.stored, "Ondrake");
    CompanionSettings s;
    ReadPlayoutKeys("Ondrake", s);
    EXPECT_EQ(s.PrepDay, c.prepDay) << c.stored;
    EXPECT_EQ(s.AirFileStem(), "01A");
  }
}

}  // namespace
}  // namespace companion
