#include "foundation/file_times.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <string>

#include "platform/file_system.h"
#include "tests/support/temp_dir.h"

namespace foundation {
namespace {

class FileTimes : public ::testing::Test {
 protected:
  void SetUp() override {
    // The expected texts are Japan's local time (no daylight saving).
    ::setenv("TZ", "Asia/Tokyo", 1);
    ::tzset();
  }
};

TEST_F(FileTimes, FileTimeToText) {
  const std::pair<int64_t, const char*> cases[] = {
      {0, "1970/01/01 09:00:00"},
      {1767225599, "2026/01/01 08:59:59"},
      {-20000000000LL, ""},  // before the first file time
      {300000000000LL, ""},  // past four-digit years
      {INT64_MAX, ""},
  };
  for (const auto& [sec, expected] : cases) EXPECT_EQ(FileTimeToText(sec), expected) << sec;
}

TEST_F(FileTimes, GetFileTimeTextStylesHandlesAndMissingFiles) {
  testsupport::TempDir dir;
  const std::string path = dir.WriteFile("f.wav", "x");
  // Written 2001/09/09 10:46:40, read 2026/01/01 08:59:59 (local).
  const struct timespec times[2] = {{1767225599, 0}, {1000000000, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);

  const struct {
    int32_t which, parts, style;
    const char* expected;
  } cases[] = {
      {2, 3, 1, "2001/09/09 10:46:40"},
      {2, 3, 0, "20010909104640"},
      {2, 3, 2, "2001年09月09日 10時46分40秒"},
      {2, 1, 1, "2001/09/09"},
      {2, 2, 2, "10時46分40秒"},
      {2, 0, 1, ""},
      {1, 3, 1, "2026/01/01 08:59:59"},
      {7, 3, 1, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GetFileTimeText(path, c.which, c.parts, c.style), c.expected)
        << c.which << " " << c.parts << " " << c.style;
  }
  // Creation time: the birth time where the file system keeps one, else the last-write time.
  auto info = platform::StatPath(path);
  ASSERT_TRUE(info);
  EXPECT_EQ(GetFileTimeText(path, 0, 3, 1), FileTimeToText(info->birthSec));
  EXPECT_NE(GetFileTimeText(path, 0, 3, 1), "");

  // A given handle is used (the path is not needed) and stays open.
  FileHandleId handle = OpenFileHandle(path, 0);
  ASSERT_GT(handle, 0);
  EXPECT_EQ(GetFileTimeText("", 2, 3, 1, handle), "2001/09/09 10:46:40");
  EXPECT_EQ(GetFileSizeOfHandle(handle), 1) << "still open";
  CloseFileHandle(handle);
  EXPECT_EQ(GetFileTimeText(path, 2, 3, 1, 987654321), "") << "an unknown handle";
  EXPECT_EQ(GetFileTimeText(dir.Sub("missing.wav"), 2, 3, 1), "");
  EXPECT_EQ(GetFileTimeText(dir.path(), 2, 3, 1), "") << "a folder does not open as a file";
}

}  // namespace
}  // namespace foundation
