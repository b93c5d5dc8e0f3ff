#include "platform/line_append.h"

#include <fcntl.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "platform/file_lock.h"
#include "platform/file_system.h"
#include "platform/unique_fd.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/temp_dir.h"

namespace platform {
namespace {

using testsupport::ReadWholeFile;
using testsupport::TempDir;

TEST(LineAppendTest, LineStartsOnALineOfItsOwn) {
  // What a file may end in (a crash or an older program may have torn its last line).
  struct Case {
    const char* before;
    const char* line;
    const char* after;
  } cases[] = {
      {"", "L\r\n", "L\r\n"},
      {"a\r\n", "L\r\n", "a\r\nL\r\n"},
      {"a", "L\r\n", "a\r\nL\r\n"},
      {"a\r", "L\r\n", "a\r\nL\r\n"},
      {"a", "L\n", "a\nL\n"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    const std::string path = dir.WriteFile("f.txt", c.before);
    const LineAppendResult result = AppendWholeLine(path, c.line);
    EXPECT_TRUE(result.ok()) << c.before;
    EXPECT_EQ(ReadWholeFile(path), c.after) << c.before;
  }
  TempDir dir;
  EXPECT_EQ(AppendWholeLine(dir.path(), "L\r\n").openError, EISDIR);
  EXPECT_EQ(AppendWholeLine(dir.Sub("none/f.txt"), "L\r\n").openError, ENOENT);
}

TEST(LineAppendTest, WithoutTheLockAFailedPartStaysAndTheNextLineStartsFresh) {
  TempDir dir;
  const std::string path = dir.WriteFile("f.txt", "a\r\n");
  UniqueFd holder;
  ASSERT_EQ(OpenRegularFile(path, O_RDONLY, holder), 0);
  ASSERT_TRUE(LockFileWithin(holder.get(), FileLockKind::kExclusive));
  // Another holder keeps the lock: the line still goes in, after the wait.
  ASSERT_TRUE(AppendWholeLine(path, "b\r\n").ok());
  const int status = testsupport::RunWithFileSizeLimit(6 + 5, [&] {
    return AppendWholeLine(path, "0123456789\r\n").writeError == EFBIG ? 0 : 1;
  });
  EXPECT_EQ(status, 0);
  // A line of the other holder's may follow the torn part, so it is not cut back.
  EXPECT_EQ(ReadWholeFile(path), "a\r\nb\r\n01234");
  UnlockFile(holder.get());
  ASSERT_TRUE(AppendWholeLine(path, "c\r\n").ok());
  EXPECT_EQ(ReadWholeFile(path), "a\r\nb\r\n01234\r\nc\r\n");
}

}  // namespace
}  // namespace platform
