// Test labels: threads (the FileHand worker)
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "foundation/debug_log.h"
#include "tests/support/temp_dir.h"
#include "tests/transfer/transfer_fixture.h"
#include "transfer/file_hand.h"

namespace transfertest {
namespace {

using transfer::FileHand;

constexpr int64_t kHour = 3600;
constexpr int64_t kDay = 86400;

// Only files of the exact temporary form that are more than a day old go, in every sub-folder;
// links are never followed out of the tree, and a loop ends.
TEST(FileHandCleanup, DeletesDayOldTemporaryFiles) {
  testsupport::TempDir dir;
  const std::string root = dir.Sub("store");
  struct Case {
    const char* name;
    int64_t age;
    bool deleted;
  } const cases[] = {
      {"~tmp0042.tmp", 2 * kDay, true},          {"~tmp0043.tmp", kHour, false},
      {"~tmp00421.tmp", 2 * kDay, false},        {"~TMP0042.TMP", 2 * kDay, false},
      {"a/b/~tmp0001.tmp", 2 * kDay, true},      {"a/song.wav", 2 * kDay, false},
      {"outside/~tmp0002.tmp", 2 * kDay, false},
  };
  for (const Case& c : cases) {
    const std::string prefix = std::string(c.name).rfind("outside", 0) == 0 ? "" : "store/";
    SetAge(dir.WriteFile(prefix + c.name, "x"), c.age);
  }
  std::filesystem::create_directory_symlink(root, root + "/a/loop");
  std::filesystem::create_directory_symlink(dir.Sub("outside"), root + "/link");

  foundation::DebugLog log;
  FileHand hand(log);
  EXPECT_EQ(hand.DelAllTempfile(root, 0, 0), 1);
  for (const Case& c : cases) {
    const std::string prefix = std::string(c.name).rfind("outside", 0) == 0 ? "" : "store/";
    EXPECT_EQ(!Exists(dir.Sub(prefix + c.name)), c.deleted) << c.name;
  }
  EXPECT_EQ(hand.DelAllTempfile(dir.Sub("missing"), 0, 0), 0);
}

// A sub-folder's walk keeps the caller's state: the walk-limit code of sub-folder a is not
// cleared by the walk of b.
TEST(FileHandCleanup, SubFoldersKeepTheCallersState) {
  testsupport::TempDir dir;
  for (const char* name : {"a/1", "a/2", "a/3", "a/4", "b/1"}) dir.WriteFile(name, "x");
  foundation::DebugLog log;
  FileHand limited(log, transfer::PlayoutVariant(), transfer::DiskFileSystem(), {5, 100});
  EXPECT_EQ(limited.DelAllTempfile(dir.path(), 0, 0), 1);
  EXPECT_EQ(limited.ErrorCode(), 14);

  // An outer call with pSaiki 1 keeps a cancel made before it.
  FileHand hand(log);
  hand.ProcCancel();
  EXPECT_EQ(hand.DelAllTempfile(dir.path(), 1, 1), 0);  // pSaiki 1 keeps the cancel
  EXPECT_EQ(hand.ErrorCode(), 1);
}

}  // namespace
}  // namespace transfertest
