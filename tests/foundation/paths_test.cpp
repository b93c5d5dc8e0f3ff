#include "foundation/paths.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "tests/support/temp_dir.h"

namespace foundation {
namespace {

TEST(SplitPathTest, JoinsThePartsAskedFor) {
  struct Case {
    std::string path;
    bool folder, separator, base, dot, ext;
    int32_t caseMode;
    std::string expected;
  };
  const Case cases[] = {
      {"D:\\a\\b.c.wav", 0, 0, 0, 0, 1, 2, "WAV"},
      {"D:\\a\\b.c.wav", 1, 1, 1, 0, 0, 0, "D:\\a\\b.c"},
      {"D:\\a\\b.c.wav", 0, 0, 1, 1, 1, 0, "b.c.wav"},
      {"D:\\A\\B.WAV", 1, 1, 1, 1, 1, 1, "d:\\a\\b.wav"},
      {"/srv/a\\mixed.txt", 1, 0, 0, 0, 0, 0, "/srv/a"},
      // A name without a '.' has no extension and gets no dot.
      {"/srv/readme", 0, 0, 1, 1, 1, 0, "readme"},
      // A path ending in a separator has an empty name.
      {"/srv/a/", 0, 0, 1, 1, 1, 0, ""},
      {"/srv/a/", 1, 1, 0, 0, 0, 0, "/srv/a/"},
      // A bare name never gains a leading separator.
      {"b.wav", 1, 1, 1, 1, 1, 0, "b.wav"},
      // Case mapping leaves multibyte characters alone.
      {"/d/曲A.WAV", 0, 0, 1, 1, 1, 1, "曲a.wav"},
      {"", 1, 1, 1, 1, 1, 0, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SplitPath(c.path, c.folder, c.separator, c.base, c.dot, c.ext, c.caseMode),
              c.expected)
        << c.path << " " << c.folder << c.separator << c.base << c.dot << c.ext;
  }
}

TEST(EnsureExtensionTest, AppendsLowerCasedExtensionWhenMissing) {
  struct Case {
    std::string path, ext, expected;
  };
  const Case cases[] = {
      {"D:\\list", "CUE", "D:\\list.cue"},     {"/a/list", " .Txt ", "/a/list.txt"},
      {"/a/list", "   ", "/a/list"},           {"", "cue", ""},
      {"/a/listcue", "cue", "/a/listcue.cue"},
  };
  for (const Case& c : cases) EXPECT_EQ(EnsureExtension(c.path, c.ext), c.expected) << c.path;
}

TEST(IsDrivePathTest, ALetterAndAColonAtTheStart) {
  for (const char* path : {"D:\\x", "d:/x", "D:", "z:x", "A:\\"}) {
    EXPECT_TRUE(IsDrivePath(path)) << path;
  }
  for (const char* path :
       {"", "D", "/D:/x", "1:/x", "DD:/x", "\\\\srv\\D:", "http://h/", "\xef\xbc\xa4:"}) {
    EXPECT_FALSE(IsDrivePath(path)) << path;
  }
}

TEST(SetTrailingSeparatorTest, AddsOrRemovesOneSeparator) {
  struct Case {
    std::string path;
    bool remove;
    std::string expected;
  };
  const Case cases[] = {
      {"/srv/a", false, "/srv/a/"},
      {"D:\\a\\", false, "D:\\a\\"},
      {"http://host/dir", false, "http://host/dir/"},
      {"HTTP://host/dir/", false, "HTTP://host/dir/"},
      {"D:\\a\\", true, "D:\\a"},
      {"   ", false, ""},
      {" a ", false, " a /"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SetTrailingSeparator(c.path, c.remove), c.expected) << c.path;
  }
}

TEST(MakeNumberedFileNameTest, NumbersPastExistingFiles) {
  testsupport::TempDir dir;
  const std::string log = dir.Sub("run.log");

  // A missing file is its own name unless numbering is forced.
  EXPECT_EQ(MakeNumberedFileName(log, true, true, 3, false), log);
  EXPECT_EQ(MakeNumberedFileName(log, false, false, 3, false), "run");
  EXPECT_EQ(MakeNumberedFileName(log, true, true, 3, true), dir.Sub("run001.log"));

  dir.WriteFile("run.log", "x");
  EXPECT_EQ(MakeNumberedFileName(log, true, true, 3, false), dir.Sub("run001.log"));
  dir.WriteFile("run001.log", "x");
  EXPECT_EQ(MakeNumberedFileName(log, true, true, 3, true), dir.Sub("run002.log"));
  EXPECT_EQ(MakeNumberedFileName(log, false, false, 3, true), "run002");

  // Stored paths with '\' keep their separator.
  const std::string stored = dir.path() + "\\run.log";
  EXPECT_EQ(MakeNumberedFileName(stored, true, true, 3, true), dir.path() + "\\run002.log");

  // Past the pattern the number simply grows.
  for (int n = 2; n <= 999; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, "run%03d.log", n);
    dir.WriteFile(name, "");
  }
  EXPECT_EQ(MakeNumberedFileName(log, true, true, 3, true), dir.Sub("run1000.log"));
  // Names without an extension get no dot.
  EXPECT_EQ(MakeNumberedFileName(dir.Sub("plain"), true, true, 2, true), dir.Sub("plain01"));
}

TEST(MakeNumberedFileNameTest, BareNameStaysRelative) {
  testsupport::TempDir dir;
  char previous[4096];
  ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
  ASSERT_EQ(chdir(dir.path().c_str()), 0);
  dir.WriteFile("take.wav", "x");
  const std::string numbered = MakeNumberedFileName("take.wav", true, true, 3, false);
  const std::string plain = MakeNumberedFileName("other.wav", true, true, 3, false);
  ASSERT_EQ(chdir(previous), 0);
  EXPECT_EQ(numbered, "take001.wav");
  EXPECT_EQ(plain, "other.wav");
}

}  // namespace
}  // namespace foundation
