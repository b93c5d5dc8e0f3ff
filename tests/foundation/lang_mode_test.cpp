#include "foundation/lang_mode.h"

#include <gtest/gtest.h>

#include <string>

#include "foundation/app_globals.h"
#include "tests/support/app_test_env.h"

namespace foundation {
namespace {

class LangModeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetLangModeForTest();
    ini_ = env_.dir().WriteFile("bin/Ondrake.ini", "[conf]\r\n");
    Globals().IniPath = ini_;
  }
  void TearDown() override { ResetLangModeForTest(); }

  // A Japanese system whose toolkit files lie in folders of the temp tree.
  LangEnvironment Japanese() const {
    LangEnvironment e;
    e.systemJapanese = true;
    e.programFolder = env_.programFolder();
    e.systemLibraryFolder = env_.dir().Sub("lib") + "/";
    e.systemTranslationFolder = env_.dir().Sub("tr") + "/";
    return e;
  }

  testsupport::AppTestEnv env_;
  std::string ini_;
};

TEST_F(LangModeTest, NonJapaneseSystemGetsEnglishOnceAndForAll) {
  LangEnvironment english = Japanese();
  english.systemJapanese = false;
  DetectLangMode(english);
  EXPECT_EQ(LangMode(), kLangEnglish);
  EXPECT_EQ(LangResourceMissing(), 0);
  // Decided once: a later call changes nothing.
  DetectLangMode(Japanese());
  EXPECT_EQ(LangMode(), kLangEnglish);
  // The setting was not even read (a missing key would have been written back).
  EXPECT_EQ(testsupport::ReadWholeFile(ini_).find("LangMode"), std::string::npos);
}

TEST_F(LangModeTest, JapaneseSystemFollowsTheSettingAndChecksTheTranslation) {
  struct Case {
    const char* name;
    bool programResource, programRuntime, systemResource, systemRuntime;
    int32_t missing;
  };
  const Case cases[] = {
      {"library without translation beside the program", false, true, true, true, 1},
      {"system holds both", false, false, true, true, 0},
      {"program holds both", true, true, false, false, 0},
      {"system lacks the translation", false, false, false, true, 1},
      {"translation alone beside the program", true, false, false, false, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ResetLangModeForTest();
    testsupport::TempDir tree;
    LangEnvironment e;
    e.systemJapanese = true;
    e.programFolder = tree.Sub("p") + "/";
    e.systemLibraryFolder = tree.Sub("lib") + "/";
    e.systemTranslationFolder = tree.Sub("tr") + "/";
    tree.WriteFile("p/.keep", "");
    if (c.programResource) tree.WriteFile(std::string("p/") + kLangResourceFile, "x");
    if (c.programRuntime) tree.WriteFile(std::string("p/") + kLangRuntimeFile, "x");
    if (c.systemResource) tree.WriteFile(std::string("tr/") + kLangResourceFile, "x");
    if (c.systemRuntime) tree.WriteFile(std::string("lib/") + kLangRuntimeFile, "x");
    DetectLangMode(e);
    EXPECT_EQ(LangMode(), kLangJapanese);
    EXPECT_EQ(LangResourceMissing(), c.missing);
  }
  // The missing key was written back with its default.
  EXPECT_NE(testsupport::ReadWholeFile(ini_).find("LangMode=0"), std::string::npos);

  // A Japanese system set to English texts skips the file check.
  ResetLangModeForTest();
  env_.dir().WriteFile("bin/Ondrake.ini", "[conf]\r\nLangMode=1\r\n");
  DetectLangMode(Japanese());
  EXPECT_EQ(LangMode(), kLangEnglish);
  EXPECT_EQ(LangResourceMissing(), 0);
}

TEST_F(LangModeTest, PickByLangModeChoosesTheTextForTheMode) {
  struct Case {
    int32_t mode;
    const char* english;
    const char* expected;
  };
  const Case cases[] = {
      {0, "Start", "開始"}, {1, "Start", "Start"}, {1, "", "開始"}, {2, "Start", ""}, {-1, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    SetLangModeForTest(c.mode);
    EXPECT_EQ(PickByLangMode("開始", c.english), c.expected);
  }
}

}  // namespace
}  // namespace foundation
