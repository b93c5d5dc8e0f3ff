#include "companion/companion_files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "companion/companion_ports.h"
#include "companion/schedule_files.h"
#include "platform/file_lock.h"
#include "platform/file_system.h"
#include "platform/line_append.h"
#include "tests/companion/companion_fixture.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/temp_dir.h"

namespace companion {
namespace {

using testsupport::ReadWholeFile;
using testsupport::TempDir;

struct CountingPauses final : Pauses {
  void Wait(int32_t) override { ++waits; }
  void Pump() override {}
  int waits = 0;
};

TEST(CompanionFilesTest, CompareFilesBySizeAndStamp) {
  companiontest::Harness h;  // for Age()
  const std::string a = h.dir.WriteFile("a", "12345");
  const std::string b = h.dir.WriteFile("b", "12345");
  const std::string c = h.dir.WriteFile("c", "123");
  struct Case {
    int64_t ageA, ageB;
    std::string other;
    bool sizesOnly;
    int32_t result;
  } cases[] = {
      {10, 12, b, false, 0},  // 2 seconds apart counts as equal
      {10, 13, b, false, 1},  // 3 seconds do not
      {10, 13, b, true, 0},   // unless only sizes count
      {10, 10, c, false, 1},  // sizes differ
      {10, 10, h.dir.Sub("none"), false, -1},
  };
  for (const Case& k : cases) {
    h.Age(a, k.ageA);
    if (k.other != h.dir.Sub("none")) h.Age(k.other, k.ageB);
    EXPECT_EQ(CompareFiles(a, k.other, k.sizesOnly), k.result) << k.ageA << " " << k.ageB;
  }
}

TEST(CompanionFilesTest, AppendFileTail) {
  TempDir dir;
  CountingPauses pauses;
  std::string source(9u << 20, '\0');
  for (size_t i = 0; i < source.size(); ++i) source[i] = static_cast<char>(i * 31 % 251);
  const std::string src = dir.WriteFile("src", source);
  const std::string tgt = dir.WriteFile("tgt", source.substr(0, 1000));
  // 9 MiB less 1000 bytes: steps of 4, 4 and the rest, a pause between two steps.
  EXPECT_EQ(AppendFileTail(src, tgt, 5, &pauses), 1);
  EXPECT_EQ(pauses.waits, 2);
  EXPECT_EQ(ReadWholeFile(tgt), source);
  // Nothing more to append; a longer target is left alone; a missing one is created.
  EXPECT_EQ(AppendFileTail(src, tgt, 0, nullptr), 0);
  const std::string longer = dir.WriteFile("longer", source + "x");
  EXPECT_EQ(AppendFileTail(src, longer, 0, nullptr), 0);
  EXPECT_EQ(ReadWholeFile(longer).size(), source.size() + 1);
  EXPECT_EQ(AppendFileTail(dir.WriteFile("small", "abc"), dir.Sub("new"), 0, nullptr), 1);
  EXPECT_EQ(ReadWholeFile(dir.Sub("new")), "abc");
  EXPECT_EQ(AppendFileTail(dir.WriteFile("empty", ""), dir.Sub("new2"), 0, nullptr), 0);
}

TEST(CompanionFilesTest, ServerPlayLogStaysAPrefixThroughAFailedAppend) {
  TempDir dir;
  const std::string local = dir.WriteFile("local.txt", "\"13:16:54\"\r\n");
  const std::string server = dir.Sub("server.txt");
  const int64_t size = 12;
  // The disk fills in the middle of the playout's next line.
  testsupport::RunWithFileSizeLimit(
      size + 5, [&] { return platform::AppendWholeLine(local, "\"13:17:37\"\r\n").writeError; });
  // A writer holds the log with a line half written: nothing is taken from it meanwhile.
  platform::UniqueFd writer;
  ASSERT_EQ(platform::OpenRegularFile(local, O_WRONLY | O_APPEND, writer), 0);
  ASSERT_TRUE(platform::LockFileWithin(writer.get(), platform::FileLockKind::kExclusive));
  ASSERT_EQ(::write(writer.get(), "\"13:1", 5), 5);
  EXPECT_EQ(AppendFileTail(local, server, 0, nullptr), 0);
  ASSERT_EQ(::ftruncate(writer.get(), size), 0);
  writer.reset();
  EXPECT_EQ(AppendFileTail(local, server, 0, nullptr), 1);
  ASSERT_TRUE(platform::AppendWholeLine(local, "\"13:18:02\"\r\n").ok());
  EXPECT_EQ(AppendFileTail(local, server, 0, nullptr), 1);
  EXPECT_EQ(ReadWholeFile(server), "\"13:16:54\"\r\n\"13:18:02\"\r\n");
}

TEST(CompanionFilesTest, FoldersAndListings) {
  TempDir dir;
  for (const char* f : {"root/a/b/c/x", "root/log/x", "root/Sched/x", "root/keep/x"})
    ::unlink(dir.WriteFile(f, "").c_str());
  dir.WriteFile("root/keep/s.wav", "1");
  dir.WriteFile("root/keep/s.wav.tip", "1");
  dir.WriteFile("root/top.WAV", "1");
  dir.WriteFile("root/keep.wav", "1");
  dir.WriteFile("root/keep b.wav", "1");
  EXPECT_EQ(RemoveEmptyFolders(dir.Sub("root"), false, {"log", "sched"}), 0);
  EXPECT_FALSE(companiontest::Exists(dir.Sub("root/a")));
  EXPECT_TRUE(companiontest::Exists(dir.Sub("root/log")));  // empty work folders stay
  EXPECT_TRUE(companiontest::Exists(dir.Sub("root/Sched")));
  // In walk order, by names: "keep" comes before "keep b.wav" and "keep.wav".
  EXPECT_EQ(ListFilesBelow(dir.Sub("root") + "/", "tip"),
            (std::vector<std::string>{"keep/s.wav", "keep b.wav", "keep.wav", "top.WAV"}));
}

TEST(CompanionFilesTest, FieldsPathsAndNames) {
  struct FieldCase {
    const char* line;
    const char* field;
    size_t rest;
  } fields[] = {{"\"朝, 昼\",x", "朝, 昼", 11},
                {"  title ,a", "title", 9},
                {"plain", "plain", 5},
                {"\"open", "open", 5}};
  for (const FieldCase& c : fields) {
    size_t rest = 0;
    EXPECT_EQ(FirstField(c.line, &rest), c.field);
    EXPECT_EQ(rest, c.rest) << c.line;
  }
  for (const char* ok : {"a.wav", "music\\jazz\\a.wav", "a..b.wav", "x/..y/z"})
    EXPECT_TRUE(IsContainedRelativePath(ok)) << ok;
  // The system reads a path only up to a NUL: "..\0.wav" names the folder above.
  using std::string_literals::operator""s;
  for (const std::string& bad : {""s, "..\\a.wav"s, "music/../../a"s, "\\a.wav"s, "/etc/x"s,
                                 "C:\\a"s, "a\\.."s, "..\0.wav"s, "a\0/../../b"s})
    EXPECT_FALSE(IsContainedRelativePath(bad)) << bad;

  // 02:00 belongs to the broadcast day before (the day starts at 05:00).
  const std::vector<std::string> dates = PrepDayDates({2024, 5, 2, 2, 0, 0, 0}, 18000, 2);
  EXPECT_EQ(dates, (std::vector<std::string>{"20240501", "20240502"}));
  struct NameCase {
    const char* name;
    bool schedule, cue;
  } names[] = {
      {"20240501050000_01.cue", true, true},   {"20240502050000_01.tmc", true, false},
      {"20240501050000_02.cue", false, true},  {"20240501050000_01.cuex", false, false},
      {"20240503050000_01.cue", false, false}, {"20240501050000_01.CUE", false, false},
      {"20240501abcdef_01.cue", true, true},
  };
  for (const NameCase& c : names) {
    EXPECT_EQ(IsScheduleFileName(c.name, "01", dates), c.schedule) << c.name;
    EXPECT_EQ(IsCueInPrepDays(c.name, dates), c.cue) << c.name;
  }
}

TEST(CompanionFilesTest, RowsSortByFileThenNumber) {
  lists::ListModel list;
  list.SetNumData(6);
  list.Init();
  for (const char* id : {"b.cue_1000", "B.cue_999", "a.cue_002", "a.cue_010"}) {
    list.AddItem(1);
    ScheduleRow(list, -2).SetId(id);
  }
  SortRowsById(list);
  std::vector<std::string> ids;
  for (int32_t r = 0; r < list.ItemCount(); ++r) ids.push_back(ConstScheduleRow(list, r).Id());
  EXPECT_EQ(ids, (std::vector<std::string>{"a.cue_002", "a.cue_010", "B.cue_999", "b.cue_1000"}));
}

}  // namespace
}  // namespace companion
