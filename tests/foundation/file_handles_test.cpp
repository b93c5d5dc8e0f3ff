#include "foundation/file_handles.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/support/non_files.h"
#include "tests/support/temp_dir.h"

namespace foundation {
namespace {

TEST(FileHandles, OpenModesAndClose) {
  testsupport::TempDir dir;
  const std::string path = dir.Sub("new.bin");

  EXPECT_EQ(OpenFileHandle(path, 0), 0) << "mode 0 opens existing files only";
  EXPECT_EQ(OpenFileHandle(dir.path(), 0), 0) << "a folder is no file";

  FileHandleId writer = OpenFileHandle(path, 1);
  ASSERT_GT(writer, 0);
  EXPECT_EQ(WriteFileHandle(writer, "abcdef", 6), 6);
  FileHandleId reader = OpenFileHandle(path, 0);
  ASSERT_GT(reader, 0);
  EXPECT_EQ(GetFileSizeOfHandle(reader), 6) << "both openers share the file";
  EXPECT_EQ(WriteFileHandle(reader, "x", 1), -1) << "mode 0 is read only";

  const FileHandleId closed = writer;
  CloseFileHandle(writer);
  EXPECT_EQ(writer, 0);
  EXPECT_EQ(GetFileSizeOfHandle(closed), -1);

  // Ids are never reused: a stale handle cannot reach a file opened later.
  FileHandleId again = OpenFileHandle(path, 2);
  EXPECT_GT(again, reader);
  EXPECT_EQ(SeekFileAt(again, -1), -1);
  CloseFileHandle(again);
  CloseFileHandle(reader);

  EXPECT_EQ(GetFileSizeByPath(path), 6);
  EXPECT_EQ(GetFileSizeByPath(dir.Sub("missing")), 0);
}

TEST(FileHandles, NothingButAFileOpensAndNothingHolds) {
  // A FIFO, socket or device where a sound file or a schedule should be gives no handle in any
  // mode, and reads through the path fail at once instead of waiting on it.
  for (const testsupport::NonFile kind : testsupport::kNonFiles) {
    SCOPED_TRACE(testsupport::NonFileName(kind));
    testsupport::TempDir dir;
    const std::string path = dir.Sub("sound.wav");
    const testsupport::NonFileAt entry(kind, path);
    ASSERT_TRUE(entry.ok());
    for (int32_t mode = 0; mode <= 2; ++mode) EXPECT_EQ(OpenFileHandle(path, mode), 0) << mode;
    EXPECT_EQ(GetFileSizeByPath(path), 0);
    char buf[4];
    FileHandleId handle = 0;
    EXPECT_EQ(ReadFileToMemEx(buf, sizeof buf, 0, handle, path, true), 0);
    EXPECT_TRUE(entry.StillThere());
  }
}

TEST(FileHandles, ReadSeriesAndCloseAfter) {
  testsupport::TempDir dir;
  const std::string path = dir.WriteFile("data.bin", "0123456789");

  // A byte count of 0 opens the file for a series of reads.
  FileHandleId handle = 0;
  const FileHandleId opened = ReadFileToMemEx(nullptr, 0, 0, handle, path, false);
  ASSERT_GT(opened, 0);
  EXPECT_EQ(handle, opened);

  char buf[4] = {};
  int64_t got = -1;
  EXPECT_EQ(ReadFileToMemEx(buf, 4, 3, handle, path, false, &got), opened);
  EXPECT_EQ(std::string(buf, 4), "3456");
  EXPECT_EQ(got, 4);
  EXPECT_EQ(ReadFileToMemEx(buf, 2, 0, handle, "", true, &got), 1);
  EXPECT_EQ(std::string(buf, 2), "01");
  EXPECT_EQ(handle, 0) << "closeAfter closes the caller's handle";
  EXPECT_EQ(GetFileSizeOfHandle(opened), -1);

  // A missing file fails at once.
  EXPECT_EQ(ReadFileToMemEx(buf, 3, 0, handle, dir.Sub("missing"), true, &got), 0);
  EXPECT_EQ(got, 0);
}

TEST(FileHandles, ShortReadZeroFillsAndCounts) {
  testsupport::TempDir dir;
  const std::string path = dir.WriteFile("short.bin", "abcde");
  struct Case {
    int64_t offset;
    int64_t count;
    std::string expected;
    int64_t read;
  };
  const Case cases[] = {
      {3, 6, std::string("de\0\0\0\0", 6), 2},
      {5, 4, std::string(4, '\0'), 0},
      {1000, 3, std::string(3, '\0'), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.offset);
    std::vector<char> buf(c.count, 'Z');
    FileHandleId handle = 0;
    int64_t got = -1;
    EXPECT_EQ(ReadFileToMemEx(buf.data(), c.count, c.offset, handle, path, true, &got), 1);
    EXPECT_EQ(std::string(buf.begin(), buf.end()), c.expected);
    EXPECT_EQ(got, c.read);
  }
}

TEST(FileHandles, FailureClosesTheCallersHandle) {
  testsupport::TempDir dir;
  const std::string path = dir.WriteFile("f.bin", "abc");
  char buf[4];

  // A failed seek closes a handle the caller passed in and zeroes the caller's variable.
  FileHandleId handle = OpenFileHandle(path, 0);
  ASSERT_GT(handle, 0);
  const FileHandleId original = handle;
  int64_t got = -1;
  EXPECT_EQ(ReadFileToMemEx(buf, 2, -5, handle, path, false, &got), 0);
  EXPECT_EQ(handle, 0);
  EXPECT_EQ(got, 0);
  EXPECT_EQ(GetFileSizeOfHandle(original), -1) << "the handle is closed";

  // A handle that is not (or no longer) open fails without touching the path.
  handle = original;
  EXPECT_EQ(ReadFileToMemEx(buf, 2, 0, handle, path, false), 0);
  EXPECT_EQ(handle, 0);
}

TEST(FileHandles, SparseOffsetsPastFourGigabytes) {
  testsupport::TempDir dir;
  const std::string path = dir.Sub("sparse.bin");
  const int64_t kOffset = 5000000000LL;  // high word 1, low word 705032704
  const int64_t kSize = 5LL * 1024 * 1024 * 1024 + 16;
  {
    const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    if (::ftruncate(fd, kSize) != 0) {
      ::close(fd);
      GTEST_SKIP() << "the file system does not take a sparse 5 GiB file";
    }
    ASSERT_EQ(::pwrite(fd, "MARK", 4, kOffset), 4);
    ::close(fd);
  }
  EXPECT_EQ(GetFileSizeByPath(path), kSize);

  FileHandleId handle = 0;
  char buf[8] = {};
  int64_t got = 0;
  ASSERT_GT(ReadFileToMemEx(buf, 4, kOffset, handle, path, false, &got), 0);
  EXPECT_EQ(std::string(buf, 4), "MARK");
  EXPECT_EQ(GetFileSizeOfHandle(handle), kSize);

  // Reading across the end: the tail of the buffer is zero and the count tells what was read.
  std::memset(buf, 'Z', sizeof buf);
  ASSERT_GT(ReadFileToMemEx(buf, 8, kSize - 3, handle, path, false, &got), 0);
  EXPECT_EQ(std::string(buf, 8), std::string(8, '\0'));
  EXPECT_EQ(got, 3);

  // Writing through a handle at a large offset.
  FileHandleId writer = OpenFileHandle(path, 2);
  ASSERT_EQ(SeekFileAt(writer, kOffset + 4), 0);
  EXPECT_EQ(WriteFileHandle(writer, "TAIL", 4), 4);
  CloseFileHandle(writer);
  EXPECT_EQ(ReadFileToMemEx(buf, 8, kOffset, handle, path, true, &got), 1);
  EXPECT_EQ(std::string(buf, 8), "MARKTAIL");
  EXPECT_EQ(handle, 0);
}

}  // namespace
}  // namespace foundation
