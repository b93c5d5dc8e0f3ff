#include "foundation/files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/file_system.h"
#include "tests/fakes/platform/simulated_clock.h"
#include "tests/support/app_test_env.h"
#include "tests/support/non_files.h"

namespace foundation {
namespace {

using testsupport::PathExists;
using testsupport::ReadWholeFile;

TEST(Files, FileExistsAndNameClasses) {
  testsupport::TempDir dir;
  EXPECT_EQ(FileExists(dir.WriteFile("a.txt", "x")), 1);
  EXPECT_EQ(FileExists(dir.path()), 0) << "a folder is no file";
  EXPECT_EQ(FileExists(dir.Sub("missing")), 0);
  EXPECT_EQ(FileExists("  \t"), 0);

  const std::pair<const char*, int32_t> devices[] = {
      {"nul.wav", 1}, {"C:\\x\\Con", 1}, {"/srv/a/lpt9.txt", 1}, {"clock$", 1},
      {"CONSOLE", 0}, {"com10", 0},      {"/srv/nul/a.wav", 0},  {"", 0},
  };
  for (const auto& [path, reserved] : devices) {
    EXPECT_EQ(IsReservedDeviceName(path), reserved) << path;
  }
  const std::pair<const char*, int32_t> folders[] = {
      {"D:\\$RECYCLE.BIN\\S-1-5", 1},
      {"E:/System Volume Information/x", 1},
      {"C:\\data\\Recycled", 0},
      {"/srv/recycled", 0},
  };
  for (const auto& [path, system] : folders) EXPECT_EQ(IsSystemFolderPath(path), system) << path;
}

TEST(Files, DeleteFileForce) {
  testsupport::TempDir dir;
  // A read-only file is deleted.
  const std::string readOnly = dir.WriteFile("ro.txt", "x");
  ASSERT_EQ(::chmod(readOnly.c_str(), 0444), 0);
  EXPECT_EQ(DeleteFileForce(readOnly), 1);
  EXPECT_FALSE(PathExists(readOnly));

  // Nothing there counts as gone: a missing name, and a name under a file (ENOTDIR).
  EXPECT_EQ(DeleteFileForce(dir.Sub("missing.txt")), 1);
  const std::string plain = dir.WriteFile("plain.txt", "x");
  EXPECT_EQ(DeleteFileForce(plain + "/child"), 1);
  EXPECT_TRUE(PathExists(plain));

  // Windows device names are ordinary names here and are deleted like any other.
  const std::string device = dir.WriteFile("nul.wav", "x");
  EXPECT_EQ(DeleteFileForce(device), 1);
  EXPECT_FALSE(PathExists(device));

  // A folder is not a file: it stays and the call fails.
  dir.WriteFile("folder/inner.txt", "x");
  EXPECT_EQ(DeleteFileForce(dir.Sub("folder")), 0);
  EXPECT_TRUE(PathExists(dir.Sub("folder/inner.txt")));

  // A link is deleted itself; its target stays.
  const std::string target = dir.WriteFile("target.txt", "keep");
  ASSERT_EQ(::symlink(target.c_str(), dir.Sub("link").c_str()), 0);
  EXPECT_EQ(DeleteFileForce(dir.Sub("link")), 1);
  EXPECT_FALSE(PathExists(dir.Sub("link")));
  EXPECT_EQ(ReadWholeFile(target), "keep");

  // A permission failure is no "gone" (root ignores folder permissions).
  if (::geteuid() != 0) {
    const std::string locked = dir.WriteFile("locked/f.txt", "x");
    ASSERT_EQ(::chmod(dir.Sub("locked").c_str(), 0555), 0);
    EXPECT_EQ(DeleteFileForce(locked), 0);
    EXPECT_TRUE(PathExists(locked));
    ::chmod(dir.Sub("locked").c_str(), 0755);
  }
}

TEST(Files, RenameFile) {
  testsupport::TempDir dir;
  const std::string a = dir.WriteFile("a.txt", "A");
  const std::string b = dir.WriteFile("b.txt", "B");
  EXPECT_EQ(RenameFile(a, b), 0) << "never replaces";
  EXPECT_EQ(ReadWholeFile(b), "B");
  EXPECT_EQ(RenameFile(a, dir.Sub("c.txt")), 1);
  EXPECT_EQ(ReadWholeFile(dir.Sub("c.txt")), "A");
  EXPECT_EQ(RenameFile(a, dir.Sub("d.txt")), 0) << "the source is gone";
}

// The names in a folder, sorted.
std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  if (const auto entries = platform::ListDirectory(folder))
    for (const platform::DirEntry& e : *entries) names.push_back(e.name);
  std::sort(names.begin(), names.end());
  return names;
}

TEST(Files, RenameToOtherLetterCaseRenames) {
  // The case-insensitive look-up of the new name finds the file itself; that is no target that
  // exists, and the file takes the new spelling. Each way of renaming does so, the old name
  // given in any case.
  testsupport::TempDir dir;
  platform::SimulatedClock clock;
  platform::SetCurrentClock(&clock);
  dir.WriteFile("Music/song.wav", "s");
  EXPECT_EQ(RenameFile(dir.Sub("Music/song.wav"), dir.Sub("Music/Song.wav")), 1);
  EXPECT_EQ(Names(dir.Sub("Music")), std::vector<std::string>{"Song.wav"});
  EXPECT_EQ(RenameFileRetry(dir.Sub("music/song.wav"), dir.Sub("MUSIC\\SONG.WAV"), false), 1);
  EXPECT_EQ(Names(dir.Sub("Music")), std::vector<std::string>{"SONG.WAV"});
  EXPECT_EQ(RenameFileRetry(dir.Sub("Music/SONG.WAV"), dir.Sub("Music/song.Wav"), true), 1);
  EXPECT_EQ(Names(dir.Sub("Music")), std::vector<std::string>{"song.Wav"});
  EXPECT_EQ(ReadWholeFile(dir.Sub("Music/song.Wav")), "s");

  // Another file that differs only in case is a target that exists.
  dir.WriteFile("Music/other.wav", "o");
  EXPECT_EQ(RenameFile(dir.Sub("Music/other.wav"), dir.Sub("Music/SONG.wav")), 0);
  EXPECT_EQ(Names(dir.Sub("Music")), (std::vector<std::string>{"other.wav", "song.Wav"}));
  platform::SetCurrentClock(nullptr);
}

// Runs RenameFileRetry with the first `failures` renames failing (EBUSY), on a simulated clock;
// returns the result and the simulated times of every try.
struct RetryRun {
  int32_t result;
  std::vector<int64_t> tryTimes;
};
RetryRun RunWithFailures(int failures, const std::string& from, const std::string& to,
                         bool deleteTargetFirst) {
  platform::SimulatedClock clock;
  platform::SetCurrentClock(&clock);
  RetryRun run{0, {}};
  platform::SetRenameFailureHook([&](const std::string&, const std::string&) {
    run.tryTimes.push_back(clock.MonotonicMs());
    return static_cast<int>(run.tryTimes.size()) <= failures ? EBUSY : 0;
  });
  run.result = RenameFileRetry(from, to, deleteTargetFirst);
  platform::SetRenameFailureHook(nullptr);
  platform::SetCurrentClock(nullptr);
  return run;
}

TEST(Files, RenameFileRetryBacksOffAndGivesUp) {
  testsupport::TempDir dir;
  const std::string from = dir.WriteFile("from.txt", "new");

  // Three failures, then success.
  RetryRun run = RunWithFailures(3, from, dir.Sub("to.txt"), false);
  EXPECT_EQ(run.result, 1);
  ASSERT_EQ(run.tryTimes.size(), 4u);
  EXPECT_EQ(ReadWholeFile(dir.Sub("to.txt")), "new");

  // Ten failures: 0, with waits of 10, 20, ... 90 ms (450 ms in all; each wait ends on the
  // first millisecond past its length) and no wait after the last try.
  const std::string again = dir.WriteFile("again.txt", "x");
  run = RunWithFailures(10, again, dir.Sub("never.txt"), false);
  EXPECT_EQ(run.result, 0);
  ASSERT_EQ(run.tryTimes.size(), 10u);
  for (size_t k = 1; k < run.tryTimes.size(); ++k) {
    const int64_t gap = run.tryTimes[k] - run.tryTimes[k - 1];
    EXPECT_GE(gap, static_cast<int64_t>(k) * 10) << k;
    EXPECT_LE(gap, static_cast<int64_t>(k) * 10 + 1) << k;
  }
  EXPECT_TRUE(PathExists(again));
  EXPECT_FALSE(PathExists(dir.Sub("never.txt")));

  // Replacing renames that all fail leave the old target in place: it is never deleted ahead.
  const std::string target = dir.WriteFile("target.txt", "old");
  run = RunWithFailures(10, again, target, true);
  EXPECT_EQ(run.result, 0);
  EXPECT_EQ(ReadWholeFile(target), "old");
}

TEST(Files, RenameFileRetryTargets) {
  testsupport::TempDir dir;
  platform::SimulatedClock clock;
  platform::SetCurrentClock(&clock);
  // Without deleteTargetFirst an existing target is kept and every try fails.
  const std::string from = dir.WriteFile("from.txt", "new");
  const std::string to = dir.WriteFile("to.txt", "old");
  EXPECT_EQ(RenameFileRetry(from, to, false), 0);
  EXPECT_EQ(ReadWholeFile(to), "old");

  // With it the target is replaced, a read-only one included.
  ASSERT_EQ(::chmod(to.c_str(), 0444), 0);
  EXPECT_EQ(RenameFileRetry(from, to, true), 1);
  EXPECT_EQ(ReadWholeFile(to), "new");
  EXPECT_FALSE(PathExists(from));

  // Device names are ordinary names.
  const std::string con = dir.WriteFile("con.txt", "c");
  EXPECT_EQ(RenameFileRetry(con, dir.Sub("aux.wav"), false), 1);
  EXPECT_EQ(ReadWholeFile(dir.Sub("aux.wav")), "c");
  platform::SetCurrentClock(nullptr);
}

TEST(Files, CopyFileOver) {
  testsupport::TempDir dir;
  const std::string source = dir.WriteFile("src.txt", "fresh");
  const struct timespec times[2] = {{1000000000, 0}, {1000000000, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, source.c_str(), times, 0), 0);

  // A new target gets the bytes and the last-write time.
  EXPECT_EQ(CopyFileOver(source, dir.Sub("new.txt"), false), 1);
  EXPECT_EQ(ReadWholeFile(dir.Sub("new.txt")), "fresh");
  auto info = platform::StatPath(dir.Sub("new.txt"));
  ASSERT_TRUE(info);
  EXPECT_EQ(info->writeSec, 1000000000);

  // An existing writable target is overwritten even without replace; a read-only one only with.
  const std::string old = dir.WriteFile("old.txt", "stale");
  EXPECT_EQ(CopyFileOver(source, old, false), 1);
  EXPECT_EQ(ReadWholeFile(old), "fresh");
  const std::string locked = dir.WriteFile("locked.txt", "stale");
  ASSERT_EQ(::chmod(locked.c_str(), 0444), 0);
  EXPECT_EQ(CopyFileOver(source, locked, false), 0);
  EXPECT_EQ(ReadWholeFile(locked), "stale");
  EXPECT_EQ(CopyFileOver(source, locked, true), 1);
  EXPECT_EQ(ReadWholeFile(locked), "fresh");

  // A missing source fails and never costs the target.
  EXPECT_EQ(CopyFileOver(dir.Sub("missing.txt"), old, true), 0);
  EXPECT_EQ(ReadWholeFile(old), "fresh");
}

TEST(Files, NoFileRoutineTakesAFifoSocketOrDeviceForAFile) {
  // As the server's conf.ini, as a copy's source or its target, with or without replace.
  testsupport::TempDir dir;
  const std::string file = dir.WriteFile("file.txt", "data");
  for (const testsupport::NonFile kind : testsupport::kNonFiles) {
    SCOPED_TRACE(testsupport::NonFileName(kind));
    testsupport::TempDir place;
    const std::string path = place.Sub("conf.ini");
    const testsupport::NonFileAt entry(kind, path);
    ASSERT_TRUE(entry.ok());
    EXPECT_EQ(FileExists(path), 0);
    EXPECT_EQ(CopyFileOver(path, place.Sub("local.ini"), false), 0);
    EXPECT_EQ(CopyFileOver(file, path, false), 0);
    EXPECT_EQ(CopyFileOver(file, path, true), 0);
    EXPECT_TRUE(entry.StillThere());
    EXPECT_EQ(Names(place.path()), std::vector<std::string>{"conf.ini"});
  }
}

}  // namespace
}  // namespace foundation
