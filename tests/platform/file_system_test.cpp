#include "platform/file_system.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>

#include "platform/file_lock.h"
#include "platform/line_append.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/non_files.h"
#include "tests/support/temp_dir.h"

namespace platform {
namespace {

using testsupport::NonFile;
using testsupport::NonFileAt;
using testsupport::NonFileName;
using testsupport::ReadWholeFile;
using testsupport::TempDir;

std::vector<std::string> SortedNames(const std::string& folder) {
  std::vector<std::string> names;
  if (std::optional<std::vector<DirEntry>> entries = ListDirectory(folder))
    for (const DirEntry& e : *entries) names.push_back(e.name);
  std::sort(names.begin(), names.end());
  return names;
}

// Clears the injected rename failure however the test ends.
struct HookReset {
  ~HookReset() { SetRenameFailureHook(nullptr); }
};

TEST(FileHandle, ReadsAndWritesPastFourGigabytes) {
  TempDir dir;
  const std::string path = dir.Sub("sparse.bin");
  constexpr int64_t kOffset = int64_t{5} << 30;  // 5 GiB: beyond 32-bit offsets
  {
    const int fd = ::open(path.c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0);
    const bool made = ::ftruncate(fd, kOffset + 1) == 0 && ::pwrite(fd, "Z", 1, kOffset) == 1;
    ::close(fd);
    if (!made) GTEST_SKIP() << "the temporary file system holds no 5 GiB sparse file";
  }
  FileHandle file;
  ASSERT_EQ(file.Open(path, OpenMode::ReadWriteCreate), 0);
  EXPECT_EQ(file.Size(), kOffset + 1);
  ASSERT_TRUE(file.Seek(kOffset));
  char buf[8] = {};
  EXPECT_EQ(file.Read(buf, sizeof buf), 1);  // short at the end of the file
  EXPECT_EQ(buf[0], 'Z');
  EXPECT_EQ(file.Read(buf, sizeof buf), 0);

  ASSERT_TRUE(file.Seek(kOffset - 2));
  EXPECT_EQ(file.Write("xy", 2), 2);
  ASSERT_TRUE(file.Seek(kOffset - 2));
  EXPECT_EQ(file.Read(buf, 3), 3);
  EXPECT_EQ(std::string(buf, 3), "xyZ");
  EXPECT_FALSE(file.Seek(-1));
}

TEST(FileHandle, OpenFailuresAndOwnership) {
  TempDir dir;
  FileHandle file;
  EXPECT_EQ(file.Open(dir.Sub("missing"), OpenMode::Read), ENOENT);
  char c;
  EXPECT_EQ(file.Read(&c, 1), -1);

  // WriteCreate creates but does not truncate.
  const std::string path = dir.WriteFile("keep.txt", "abcdef");
  ASSERT_EQ(file.Open(path, OpenMode::WriteCreate), 0);
  EXPECT_EQ(file.Write("XY", 2), 2);
  EXPECT_NE(::fcntl(file.fd(), F_GETFD) & FD_CLOEXEC, 0);  // never leaks into children

  FileHandle moved(std::move(file));
  EXPECT_FALSE(file.IsOpen());
  const int fd = moved.fd();
  moved = FileHandle();
  EXPECT_EQ(::fcntl(fd, F_GETFD), -1);  // closed by the move assignment
  EXPECT_EQ(ReadWholeFile(path), "XYcdef");
}

TEST(FileSystem, RenameNoReplaceAndReplace) {
  TempDir dir;
  HookReset reset;
  const std::string a = dir.WriteFile("a.txt", "A");
  const std::string b = dir.WriteFile("b.txt", "B");

  EXPECT_EQ(RenameNoReplace(a, b), EEXIST);
  EXPECT_EQ(ReadWholeFile(a), "A");
  EXPECT_EQ(ReadWholeFile(b), "B");
  EXPECT_EQ(RenameNoReplace(dir.Sub("none"), dir.Sub("x")), ENOENT);

  EXPECT_EQ(RenameNoReplace(a, dir.Sub("c.txt")), 0);
  EXPECT_EQ(RenameReplace(dir.Sub("c.txt"), b), 0);
  EXPECT_EQ(ReadWholeFile(b), "A");
  EXPECT_FALSE(StatPath(a).has_value());

  // The injected failure comes first and touches nothing.
  std::string seenFrom, seenTo;
  SetRenameFailureHook([&](const std::string& from, const std::string& to) {
    seenFrom = from;
    seenTo = to;
    return EACCES;
  });
  EXPECT_EQ(RenameReplace(b, dir.Sub("z.txt")), EACCES);
  EXPECT_EQ(RenameNoReplace(b, dir.Sub("z.txt")), EACCES);
  EXPECT_EQ(seenFrom, b);
  EXPECT_EQ(seenTo, dir.Sub("z.txt"));
  EXPECT_EQ(ReadWholeFile(b), "A");
  EXPECT_FALSE(StatPath(dir.Sub("z.txt")).has_value());
}

TEST(FileSystem, RenameNoReplaceToASecondLinkOfTheSameFile) {
  // Two names of one file are what a case-insensitive file system shows for a name and its
  // other-case spelling; a true second link on this one must still count as an existing target
  // and leave both names as they were.
  TempDir dir;
  const std::string a = dir.WriteFile("a.txt", "A");
  ASSERT_EQ(::link(a.c_str(), dir.Sub("A.TXT").c_str()), 0);
  EXPECT_EQ(RenameNoReplace(a, dir.Sub("A.TXT")), EEXIST);
  EXPECT_EQ(SortedNames(dir.path()), (std::vector<std::string>{"A.TXT", "a.txt"}));

  // A change of case on this case-sensitive file system is a plain rename.
  EXPECT_EQ(RenameNoReplace(a, dir.Sub("b.txt")), 0);
  EXPECT_EQ(RenameNoReplace(dir.Sub("b.txt"), dir.Sub("B.txt")), 0);
  EXPECT_EQ(SortedNames(dir.path()), (std::vector<std::string>{"A.TXT", "B.txt"}));
}

TEST(FileSystem, CopyKeepsWriteTimeAndRefusesWithoutReplace) {
  TempDir dir;
  HookReset reset;
  const std::string src = dir.WriteFile("src.wav", std::string(300000, 'q'));
  const struct timespec times[2] = {{1600000000, 123456789}, {1500000000, 987654321}};
  ASSERT_EQ(::utimensat(AT_FDCWD, src.c_str(), times, 0), 0);

  const std::string dst = dir.Sub("dst.wav");
  ASSERT_EQ(CopyFileKeepTime(src, dst, false), 0);
  EXPECT_EQ(ReadWholeFile(dst), ReadWholeFile(src));
  std::optional<FileInfo> info = StatPath(dst);
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(info->writeSec, 1500000000);
  EXPECT_EQ(info->writeNsec, 987654321);

  const std::string other = dir.WriteFile("other.wav", "new");
  EXPECT_EQ(CopyFileKeepTime(other, dst, false), EEXIST);
  EXPECT_EQ(ReadWholeFile(dst).size(), 300000u);
  EXPECT_EQ(CopyFileKeepTime(other, dst, true), 0);
  EXPECT_EQ(ReadWholeFile(dst), "new");

  EXPECT_EQ(CopyFileKeepTime(dir.path(), dir.Sub("x"), true), EISDIR);

  // A failing final rename leaves the old target and no temporary file behind.
  SetRenameFailureHook([](const std::string&, const std::string&) { return EIO; });
  EXPECT_EQ(CopyFileKeepTime(src, dst, true), EIO);
  EXPECT_EQ(ReadWholeFile(dst), "new");
  EXPECT_EQ(SortedNames(dir.path()), (std::vector<std::string>{"dst.wav", "other.wav", "src.wav"}));
}

TEST(FileSystem, OnlyARegularFileOpensAndNothingAtThePathHolds) {
  TempDir dir;
  const std::string file = dir.WriteFile("file.txt", "data");
  const OpenMode modes[] = {OpenMode::Read, OpenMode::WriteCreate, OpenMode::ReadWriteCreate,
                            OpenMode::AppendCreate};
  for (const NonFile kind : testsupport::kNonFiles) {
    SCOPED_TRACE(NonFileName(kind));
    TempDir place;
    const std::string path = place.Sub("entry");
    const NonFileAt entry(kind, path);
    ASSERT_TRUE(entry.ok());
    for (const OpenMode mode : modes) {
      FileHandle handle;
      EXPECT_NE(handle.Open(path, mode), 0) << static_cast<int>(mode);
      EXPECT_FALSE(handle.IsOpen());
    }
    // Neither a copy's source nor its target, with or without replace; nothing is left behind.
    EXPECT_NE(CopyFileKeepTime(path, place.Sub("copy"), true), 0);
    EXPECT_NE(CopyFileKeepTime(file, path, true), 0);
    EXPECT_NE(CopyFileKeepTime(file, path, false), 0);
    EXPECT_TRUE(entry.StillThere());
    EXPECT_EQ(SortedNames(place.path()), std::vector<std::string>{"entry"});
  }

  // A folder is refused the same way, by its own error.
  for (const OpenMode mode : modes) {
    FileHandle handle;
    EXPECT_EQ(handle.Open(dir.path(), mode), EISDIR) << static_cast<int>(mode);
  }
  EXPECT_EQ(CopyFileKeepTime(file, dir.path(), true), EISDIR);

  // A file opens blocking as usual, and appends go to its end.
  FileHandle handle;
  ASSERT_EQ(handle.Open(file, OpenMode::AppendCreate), 0);
  EXPECT_EQ(::fcntl(handle.fd(), F_GETFL) & O_NONBLOCK, 0);
  EXPECT_EQ(handle.Write("+more", 5), 5);
  EXPECT_EQ(ReadWholeFile(file), "data+more");
}

TEST(FileSystem, StatReadOnlyListAndSpace) {
  TempDir dir;
  const std::string f = dir.WriteFile("f.txt", "12345");
  ASSERT_EQ(MakeDirectory(dir.Sub("sub")), 0);
  EXPECT_EQ(MakeDirectory(dir.Sub("sub")), EEXIST);
  ASSERT_EQ(::symlink("f.txt", dir.Sub("link").c_str()), 0);

  std::optional<FileInfo> info = StatPath(f);
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(info->size, 5);
  EXPECT_FALSE(info->isDirectory);
  EXPECT_FALSE(info->readOnly);
  EXPECT_GT(info->birthSec, 0);

  std::optional<FileInfo> viaLink = StatPath(dir.Sub("link"));
  ASSERT_TRUE(viaLink.has_value());
  EXPECT_TRUE(viaLink->isSymlink);  // a tree walk must see the link even when following it

  errno = 0;
  EXPECT_FALSE(StatPath(dir.Sub("missing")).has_value());
  EXPECT_EQ(errno, ENOENT);

  EXPECT_EQ(SetReadOnly(f, true), 0);
  EXPECT_TRUE(StatPath(f)->readOnly);
  EXPECT_EQ(SetReadOnly(f, false), 0);
  EXPECT_FALSE(StatPath(f)->readOnly);

  std::optional<std::vector<DirEntry>> entries = ListDirectory(dir.path());
  ASSERT_TRUE(entries.has_value());
  ASSERT_EQ(entries->size(), 3u);
  for (const DirEntry& e : *entries) {
    EXPECT_EQ(e.isDirectory, e.name == "sub") << e.name;
    EXPECT_EQ(e.isSymlink, e.name == "link") << e.name;
  }
  EXPECT_FALSE(ListDirectory(dir.Sub("missing")).has_value());

  std::optional<DiskSpace> space = GetDiskSpace(dir.path());
  ASSERT_TRUE(space.has_value());
  EXPECT_GE(space->totalBytes, space->freeBytes);
  EXPECT_FALSE(GetDiskSpace(dir.Sub("missing")).has_value());

  EXPECT_EQ(DeleteFilePath(f), 0);
  EXPECT_EQ(DeleteFilePath(f), ENOENT);
}

// A folder lists the same way on every run, whatever order the disk keeps: by the bytes of
// the names, so CP932 and UTF-8 names (lead bytes from 0x81) come after every ASCII name.
TEST(FileSystem, ListsInByteOrderOfNames) {
  TempDir dir;
  const char* const created[] = {"a.wav",       "\xc3\xa9.wav", "b", "a b", "~tmp0001.tmp", "9",
                                 "_x",          "\x83\x5c.wav", "B", "a",   "10",           "Z9",
                                 "\x82\xa0.wav"};
  for (const char* name : created) dir.WriteFile(name, "");
  const std::optional<std::vector<DirEntry>> entries = ListDirectory(dir.path());
  ASSERT_TRUE(entries.has_value());
  std::vector<std::string> listed;
  for (const DirEntry& e : *entries) listed.push_back(e.name);
  EXPECT_EQ(listed, (std::vector<std::string>{"10", "9", "B", "Z9", "_x", "a", "a b", "a.wav", "b",
                                              "~tmp0001.tmp", "\x82\xa0.wav", "\x83\x5c.wav",
                                              "\xc3\xa9.wav"}));
}

TEST(WildcardMatch, WindowsRules) {
  struct Case {
    const char* pattern;
    const char* name;
    bool match;
  };
  const Case cases[] = {
      {"*", "", true},
      {"*.*", "noext", true},       // "*.*" finds names without a dot
      {"*.wav", "SONG.WAV", true},  // ASCII case ignored
      {"*.wav", "song.wave", false},
      {"*.wav", "wav", false},
      {"abc.*", "abc", true},  // trailing ".*" may match nothing
      {"abc.*", "abcd", false},
      {"a?c", "ABC", true},
      {"a?c", "ac", false},
      {"*b*b*b*b*b*b*b*b*b*b*b*c",
       "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb",
       false},  // must answer quickly, not explore every split
      {"ソ*.wav", "ソング.wav", true},
      // '?' is one character of a Japanese name, UTF-8 or CP932, never one byte of it.
      {"?.wav", "ソ.wav", true},
      {"???.wav", "ソ.wav", false},
      {"曲?", "曲名", true},
      {"*?.wav", "曲.wav", true},
      {"?.wav", "\x83\x5C.wav", true},
      {"??.wav", "\x83\x5C.wav", false},
      {"?\xB1", "\x83\x5C\xB1", true},  // a half-width kana is one byte and one character
      {"a?", "a\x83", true},            // a lead byte cut off at the end is a character
      // Only single-byte characters fold case: a CP932 trail byte 0x41 is no 'A'.
      {"\x83\x41.wav", "\x83\x61.WAV", false},
      {"\x83\x61.wav", "\x83\x61.WAV", true},
      {"", "", true},
      {"", "a", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(WildcardMatch(c.pattern, c.name), c.match) << c.pattern << " vs " << c.name;
}

TEST(FileNames, EqualIgnoringCaseCharacterByCharacter) {
  EXPECT_TRUE(FileNamesEqualIgnoringCase("Song.WAV", "sONG.wav"));
  EXPECT_TRUE(FileNamesEqualIgnoringCase("ソングA.wav", "ソングa.WAV"));
  EXPECT_TRUE(FileNamesEqualIgnoringCase("X\x83\x61", "x\x83\x61"));
  EXPECT_FALSE(FileNamesEqualIgnoringCase("\x83\x41", "\x83\x61"));  // ア and ャ
  EXPECT_FALSE(FileNamesEqualIgnoringCase("ab", "abc"));
  EXPECT_TRUE(FileNamesEqualIgnoringCase("", ""));
}

// Without the lock (another holder keeps it) a failed part may already be followed by another
// writer's line, so it stays; the next line starts on a line of its own all the same, as after
// a line a crash tore.
TEST(LineAppendTest, WithoutTheLockATornPartStaysAndTheNextLineStartsFresh) {
  TempDir dir;
  const std::string path = dir.WriteFile("f.txt", "a\r\n");
  UniqueFd holder;
  ASSERT_EQ(OpenRegularFile(path, O_RDONLY, holder), 0);
  ASSERT_TRUE(LockFileWithin(holder.get(), FileLockKind::kExclusive));
  EXPECT_EQ(testsupport::RunWithFileSizeLimit(
                3 + 5, [&] { return AppendWholeLine(path, "0123456789\r\n").writeError; }),
            EFBIG);
  EXPECT_EQ(ReadWholeFile(path), "a\r\n01234");
  UnlockFile(holder.get());
  ASSERT_TRUE(AppendWholeLine(path, "b\r\n").ok());
  ASSERT_TRUE(AppendWholeLine(path, "c\r\n").ok());
  EXPECT_EQ(ReadWholeFile(path), "a\r\n01234\r\nb\r\nc\r\n");
}

}  // namespace
}  // namespace platform
