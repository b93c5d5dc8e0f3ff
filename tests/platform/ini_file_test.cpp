#include "platform/ini_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <iterator>
#include <optional>
#include <string>

#include "platform/atomic_file_update.h"
#include "platform/cp932.h"
#include "tests/support/forked_child.h"
#include "tests/support/non_files.h"
#include "tests/support/temp_dir.h"

namespace {

using platform::ReadIniString;
using platform::WriteIniString;
using testsupport::ForkedChild;
using testsupport::NonFile;
using testsupport::ReadWholeFile;
using testsupport::TempDir;

constexpr size_t kBuffer = 254;

// Entries of a folder, so a test can see that no temporary file was left behind.
size_t CountEntries(const std::string& folder) {
  using std::filesystem::directory_iterator;
  return static_cast<size_t>(std::distance(directory_iterator(folder), directory_iterator()));
}

TEST(IniFile, ReadsAsTheProfileFunctionsDo) {
  const std::string aJp = platform::Utf8ToCp932("ア");   // 83 41: trail byte 'A'
  const std::string zoJp = platform::Utf8ToCp932("ゾ");  // 83 5D: trail byte ']'
  struct Case {
    const char* label;
    std::string file;
    const char* section;
    const char* key;
    std::optional<std::string> expected;
  };
  const Case cases[] = {
      {"case of section and key", "[Conf]\r\nMyKey=1\r\n", "CONF", "mykey", "1"},
      {"LF-only lines", "[conf]\na=1\nb=2\n", "conf", "b", "2"},
      {"blanks trimmed", "  [conf]  \r\n  k \t=  v w \t\r\n", "conf", "k", "v w"},
      {"first key wins", "[conf]\r\nk=1\r\nK=2\r\n", "conf", "k", "1"},
      {"only the first section counts", "[conf]\r\na=1\r\n[other]\r\n[CONF]\r\nb=2\r\n", "conf",
       "b", std::nullopt},
      {"double quotes stripped", "[conf]\r\nk= \"a b \" \r\n", "conf", "k", "a b "},
      {"one pair only", "[conf]\r\nk=\"\"x\"\"\r\n", "conf", "k", "\"x\""},
      {"unmatched quotes kept", "[conf]\r\nk=\"x'\r\n", "conf", "k", "\"x'"},
      {"empty value", "[conf]\r\nk=\r\n", "conf", "k", ""},
      {"no line end at the end", "[conf]\r\nk=v", "conf", "k", "v"},
      {"key before any section", "k=v\r\n[conf]\r\n", "conf", "k", std::nullopt},
      {"comment is no key", "[conf]\r\n;k=v\r\n", "conf", "k", std::nullopt},
      {"value after NUL dropped", std::string("[conf]\r\nk=ab\0cd\r\n", 17), "conf", "k", "ab"},
      {"Japanese value", "[conf]\r\nk=" + platform::Utf8ToCp932("日本語ソ表") + "\r\n", "conf", "k",
       "日本語ソ表"},
      {"Japanese key compared exactly", "[conf]\r\n" + aJp + "=1\r\n", "conf", "ヂ",
       std::nullopt},  // 83 61 would equal 83 41 if trail bytes were case-folded
      {"Japanese key found", "[conf]\r\n" + aJp + "=1\r\n", "conf", "ア", "1"},
      {"']' trail byte ends no header", "[conf]\r\n[" + zoJp + "\r\nk=1\r\n", "conf", "k", "1"},
  };
  TempDir dir;
  for (const Case& c : cases) {
    const std::string path = dir.WriteFile("t.ini", c.file);
    EXPECT_EQ(ReadIniString(path, c.section, c.key, kBuffer), c.expected) << c.label;
  }
  EXPECT_EQ(ReadIniString(dir.Sub("missing.ini"), "conf", "k", kBuffer), std::nullopt);
}

TEST(IniFile, ReadCutNeverSplitsADoubleByteCharacter) {
  TempDir dir;
  const std::string a253(253, 'a');
  struct Case {
    std::string value;  // UTF-8
    std::string expected;
  };
  const Case cases[] = {
      {a253 + "あ", a253},  // the lead byte would be byte 254
      {std::string(252, 'a') + "あ", std::string(252, 'a') + "あ"},  // exactly 254 bytes
      {std::string(300, 'b'), std::string(254, 'b')},
  };
  for (const Case& c : cases) {
    const std::string path = dir.Sub("cut.ini");
    ASSERT_EQ(WriteIniString(path, "conf", "k", c.value), 0);
    const std::optional<std::string> got = ReadIniString(path, "conf", "k", kBuffer);
    ASSERT_TRUE(got);
    EXPECT_EQ(*got, c.expected);
    EXPECT_LE(platform::Utf8ToCp932(*got).size(), kBuffer);
  }
  // Every double-byte value cut at 254 bytes keeps 127 whole characters.
  std::string kana;
  for (int i = 0; i < 200; ++i) kana += "ア";
  ASSERT_EQ(WriteIniString(dir.Sub("cut.ini"), "conf", "k", "x" + kana), 0);
  const std::optional<std::string> got = ReadIniString(dir.Sub("cut.ini"), "conf", "k", kBuffer);
  ASSERT_TRUE(got);
  EXPECT_EQ(platform::Utf8ToCp932(*got).size(), 253u);
  EXPECT_EQ(got->find('?'), std::string::npos);
}

TEST(IniFile, WriteChangesOnlyWhatItMust) {
  struct Case {
    const char* label;
    std::string before;
    const char* section;
    const char* key;
    const char* value;
    std::string after;
  };
  const std::string keep =
      "; settings\r\n\r\n[conf]\r\nA=1\r\nodd line\r\n  b = 2\r\na=dup\r\n\r\n[other]\nx=1\n";
  const Case cases[] = {
      {"new file", "", "conf", "k", "v", "[conf]\r\nk=v\r\n"},
      {"first key replaced, its spelling and every other byte kept", keep, "CONF", "a", "9",
       "; settings\r\n\r\n[conf]\r\nA=9\r\nodd line\r\n  b = 2\r\na=dup\r\n\r\n[other]\nx=1\n"},
      {"LF line end of the replaced line kept", keep, "other", "X", "5",
       "; settings\r\n\r\n[conf]\r\nA=1\r\nodd line\r\n  b = 2\r\na=dup\r\n\r\n[other]\nx=5\n"},
      {"missing key after the section's last key", keep, "conf", "New", "v",
       "; settings\r\n\r\n[conf]\r\nA=1\r\nodd line\r\n  b = 2\r\na=dup\r\nNew=v\r\n\r\n"
       "[other]\nx=1\n"},
      {"missing key in an empty section at the end", "[conf]", "conf", "k", "v",
       "[conf]\r\nk=v\r\n"},
      {"missing key after a last line without line end", "[conf]\r\na=1", "conf", "k", "v",
       "[conf]\r\na=1\r\nk=v\r\n"},
      // A CR alone ends no line: without a line end of its own the new key would join it.
      {"missing key after a last line ending in a lone CR", "[conf]\r\na=1\r", "conf", "k", "v",
       "[conf]\r\na=1\r\r\nk=v\r\n"},
      {"missing key after a header ending in a lone CR", "[conf]\r", "conf", "k", "v",
       "[conf]\r\r\nk=v\r\n"},
      {"missing section after a blank line", "[x]\r\na=1", "conf", "k", "v",
       "[x]\r\na=1\r\n\r\n[conf]\r\nk=v\r\n"},
      {"no second blank line", "[x]\r\na=1\r\n\r\n", "conf", "k", "v",
       "[x]\r\na=1\r\n\r\n[conf]\r\nk=v\r\n"},
      {"Japanese stored as CP932", "", "設定", "名前", "ソ表",
       "[" + platform::Utf8ToCp932("設定") + "]\r\n" + platform::Utf8ToCp932("名前") + "=" +
           "\x83\x5C\x95\x5C" + "\r\n"},
  };
  TempDir dir;
  for (const Case& c : cases) {
    const std::string path = dir.Sub("w.ini");
    std::filesystem::remove(path);
    if (!c.before.empty()) dir.WriteFile("w.ini", c.before);
    ASSERT_EQ(WriteIniString(path, c.section, c.key, c.value), 0) << c.label;
    EXPECT_EQ(ReadWholeFile(path), c.after) << c.label;
    const std::optional<std::string> back = ReadIniString(path, c.section, c.key, kBuffer);
    ASSERT_TRUE(back) << c.label;
  }
  EXPECT_EQ(CountEntries(dir.path()), 1u);  // no temporary files left behind
}

TEST(IniFile, RefusedWritesLeaveTheFileAsItWas) {
  TempDir dir;
  const std::string before = "[conf]\r\nk=1\r\n";
  const std::string path = dir.WriteFile("r.ini", before);
  const struct {
    const char* section;
    const char* key;
    const char* value;
  } invalid[] = {
      {"", "k", "v"},      {"conf", "", "v"},    {"conf", "k", "a\r\nb=1"},
      {"co]nf", "k", "v"}, {"conf", "a=b", "v"}, {"conf", ";k", "v"},
      {" conf", "k", "v"}, {"conf\t", "k", "v"},  // a header's name reads trimmed
  };
  for (const auto& c : invalid) EXPECT_EQ(WriteIniString(path, c.section, c.key, c.value), EINVAL);
  EXPECT_EQ(WriteIniString(path, "conf", std::string_view("k\0x", 3), "v"), EINVAL);

  ASSERT_EQ(chmod(path.c_str(), 0444), 0);  // the read-only attribute, honoured even for root
  EXPECT_EQ(WriteIniString(path, "conf", "k", "2"), EACCES);
  EXPECT_EQ(ReadWholeFile(path), before);
  EXPECT_EQ(WriteIniString(dir.Sub("no/such/folder.ini"), "conf", "k", "v"), ENOENT);

  if (geteuid() != 0) {  // root writes into any folder
    ASSERT_EQ(chmod(path.c_str(), 0644), 0);
    ASSERT_EQ(chmod(dir.path().c_str(), 0555), 0);
    EXPECT_EQ(WriteIniString(path, "conf", "k", "2"), EACCES);
    EXPECT_EQ(WriteIniString(dir.Sub("new.ini"), "conf", "k", "2"), EACCES);
    ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
    EXPECT_EQ(ReadWholeFile(path), before);
  }
  EXPECT_EQ(CountEntries(dir.path()), 1u);
}

TEST(IniFile, GarbageFilesNeitherCrashNorBlockWrites) {
  TempDir dir;
  std::string binary;
  for (int i = 0; i < 70000; ++i) binary += static_cast<char>((i * 7919) % 256);
  const std::string hugeLine = "[conf]\r\n" + std::string(3'000'000, '[') + "=x";
  const std::string nuls(5000, '\0');
  const std::string loneLead = "[conf]\r\nk=\x82";
  for (const std::string& garbage : {binary, hugeLine, nuls, loneLead}) {
    const std::string path = dir.WriteFile("g.ini", garbage);
    (void)ReadIniString(path, "conf", "k", kBuffer);
    ASSERT_EQ(WriteIniString(path, "conf", "written", "yes"), 0);
    EXPECT_EQ(ReadIniString(path, "conf", "written", kBuffer), "yes");
  }
  // A lead byte without its trail byte is no character: it is dropped, not cut in half.
  EXPECT_EQ(ReadIniString(dir.WriteFile("l.ini", loneLead), "conf", "k", kBuffer), "");
  // A pair the code page leaves undefined reads as one '?', never as '?' and a backslash.
  EXPECT_EQ(
      ReadIniString(dir.WriteFile("u.ini", "[conf]\r\nk=C:\x85\x5Cx\r\n"), "conf", "k", kBuffer),
      "C:?x");

  // A file past the size bound is refused for reading and writing and left alone.
  const std::string big = dir.WriteFile("big.ini", "[conf]\r\nk=1\r\n");
  ASSERT_EQ(truncate(big.c_str(), platform::kMaxUpdatableFileBytes + 1), 0);
  EXPECT_EQ(ReadIniString(big, "conf", "k", kBuffer), std::nullopt);
  EXPECT_EQ(WriteIniString(big, "conf", "k", "2"), EFBIG);
  struct stat st {};
  ASSERT_EQ(stat(big.c_str(), &st), 0);
  EXPECT_EQ(static_cast<size_t>(st.st_size), platform::kMaxUpdatableFileBytes + 1);

  // A folder, FIFO, socket or device where the file should be: refused, no hang, no crash, and
  // left as it was.
  std::filesystem::create_directory(dir.Sub("folder.ini"));
  EXPECT_EQ(ReadIniString(dir.Sub("folder.ini"), "conf", "k", kBuffer), std::nullopt);
  EXPECT_NE(WriteIniString(dir.Sub("folder.ini"), "conf", "k", "v"), 0);
  for (const NonFile kind : testsupport::kNonFiles) {
    SCOPED_TRACE(testsupport::NonFileName(kind));
    TempDir place;
    const testsupport::NonFileAt entry(kind, place.Sub("conf.ini"));
    ASSERT_TRUE(entry.ok());
    EXPECT_EQ(ReadIniString(place.Sub("conf.ini"), "conf", "k", kBuffer), std::nullopt);
    EXPECT_NE(WriteIniString(place.Sub("conf.ini"), "conf", "k", "v"), 0);
    EXPECT_TRUE(entry.StillThere());
    EXPECT_EQ(CountEntries(place.path()), 1u);
  }
}

TEST(IniFile, TwoProcessesWritingOneFileLoseNoKey) {
  TempDir dir;
  const std::string path = dir.WriteFile("shared.ini", "; shared by two programs\r\n");
  constexpr int kWrites = 1000;
  auto writer = [&](int c) {
    int failures = 0;
    for (int i = 0; i < kWrites; ++i) {
      const std::string key = "P" + std::to_string(c) + "_" + std::to_string(i);
      // Both also rewrite one common key, so every write races a rename of the other.
      failures += WriteIniString(path, "conf", key, std::to_string(i * 3 + c)) != 0;
      failures += WriteIniString(path, "conf", "Last", key) != 0;
    }
    return failures == 0 ? 0 : 1;
  };
  ForkedChild first([&] { return writer(0); });
  ForkedChild second([&] { return writer(1); });
  EXPECT_EQ(first.Wait(), 0);
  EXPECT_EQ(second.Wait(), 0);
  for (int c = 0; c < 2; ++c) {
    for (int i = 0; i < kWrites; ++i) {
      const std::string key = "P" + std::to_string(c) + "_" + std::to_string(i);
      ASSERT_EQ(ReadIniString(path, "conf", key, kBuffer), std::to_string(i * 3 + c)) << key;
    }
  }
  const std::string text = ReadWholeFile(path);
  EXPECT_EQ(text.rfind("; shared by two programs\r\n\r\n[conf]\r\n", 0), 0u);
  EXPECT_EQ(text.find("[conf]"), text.rfind("[conf]"));
  EXPECT_EQ(CountEntries(dir.path()), 1u);
}

}  // namespace
