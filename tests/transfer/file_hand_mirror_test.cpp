// Test labels: threads (the FileHand worker)
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <filesystem>
#include <string>

#include "foundation/debug_log.h"
#include "foundation/station_settings.h"
#include "tests/support/temp_dir.h"
#include "tests/transfer/transfer_fixture.h"
#include "transfer/file_hand.h"
#include "transfer/system_folders.h"

namespace transfertest {
namespace {

using testsupport::ReadWholeFile;
using transfer::FileHand;

constexpr int64_t kHour = 3600;
constexpr int64_t kDay = 86400;

class FileHandMirrorTest : public ::testing::Test {
 protected:
  FileHandMirrorTest() : hand_(log_, transfer::PlayoutVariant(), fs_) {
    std::filesystem::create_directories(src_);
    std::filesystem::create_directories(dst_);
  }
  // A file of the given bytes under the test's folder, last written `age` seconds before the
  // test began: ages of files made in one test differ by exactly what they say, whenever the
  // clock's second turns.
  std::string Aged(const std::string& path, const std::string& bytes, int64_t age = kHour) {
    const std::string full = dir_.WriteFile(path, bytes);
    SetWriteTime(full, start_ - age);
    return full;
  }

  const int64_t start_ = std::time(nullptr);
  testsupport::TempDir dir_;
  std::string src_ = dir_.Sub("src");
  std::string dst_ = dir_.Sub("dst");
  FaultyFileSystem fs_;
  foundation::DebugLog log_;
  FileHand hand_;
};

// Which source files are copied: by age (at least 20 s, or pFileCheckMinute minutes; at most
// pFileCheckDate days), and for an existing target by size and date (2 s of tolerance), never
// with pNoOW.
TEST_F(FileHandMirrorTest, CopyRules) {
  struct Case {
    const char* what;
    int64_t sourceAge;
    const char* target;  // nullptr: no target file
    int64_t targetAge;
    int32_t checkDate, checkMinute, noOW;
    bool copied;
  } const cases[] = {
      {"new, 10 s old", 10, nullptr, 0, 0, 0, 0, false},
      {"new, 25 s old", 25, nullptr, 0, 0, 0, 0, true},
      {"new, 50 s old, one minute asked", 50, nullptr, 0, 0, 1, 0, false},
      {"new, 70 s old, one minute asked", 70, nullptr, 0, 0, 1, 0, true},
      {"new, two days old, one day asked", 2 * kDay, nullptr, 0, 1, 0, 0, false},
      {"new, an hour old, one day asked", kHour, nullptr, 0, 1, 0, 0, true},
      {"same size, 2 s off", kHour, "TTTT", kHour + 2, 0, 0, 0, false},
      {"same size, 3 s off", kHour, "TTTT", kHour + 3, 0, 0, 0, true},
      {"same time, other size", kHour, "TTTTT", kHour, 0, 0, 0, true},
      {"other size, no overwrite", kHour, "TTTTT", kHour, 0, 0, 1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove_all(dst_);
    std::filesystem::create_directories(dst_);
    Aged("src/a.wav", "SSSS", c.sourceAge);
    if (c.target) Aged("dst/a.wav", c.target, c.targetAge);
    EXPECT_EQ(hand_.MirrorFolder(src_, dst_, 1, 0, 0, 0, 0, c.checkDate, 0, c.checkMinute, c.noOW),
              1);
    EXPECT_EQ(ReadWholeFile(dst_ + "/a.wav") == "SSSS", c.copied);
  }
}

// What the delete pass removes: target files the source lacks, within the age window; target
// folders the source lacks, whole; nothing with pNoDel, no folders with pNoSubFolder.
TEST_F(FileHandMirrorTest, DeleteRules) {
  struct Case {
    const char* what;
    int64_t age;
    int32_t noDel, checkDate, noSubFolder;
    bool fileGone, folderGone;
  } const cases[] = {
      {"10 s old", 10, 0, 0, 0, false, true},
      {"25 s old", 25, 0, 0, 0, true, true},
      {"two days old, one day asked", 2 * kDay, 0, 1, 0, false, true},
      {"an hour old, one day asked", kHour, 0, 1, 0, true, true},
      {"nothing deleted", kHour, 1, 0, 0, false, false},
      {"this folder only", kHour, 0, 0, 1, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string stale = Aged("dst/stale.wav", "x", c.age);
    Aged("dst/old/deep/f.wav", "x");
    EXPECT_EQ(hand_.MirrorFolder(src_, dst_, c.noDel, 0, 0, 0, 0, c.checkDate, c.noSubFolder, 0, 0),
              1);
    EXPECT_EQ(!Exists(stale), c.fileGone);
    EXPECT_EQ(!Exists(dst_ + "/old"), c.folderGone);
  }
}

// A server that cannot be listed, or that cannot say whether a file is gone, deletes nothing
// here; a missing source folder deletes nothing at all.
TEST_F(FileHandMirrorTest, ServerTroubleNeverDeletesLocalFiles) {
  Aged("src/kept.wav", "k");
  struct Case {
    const char* what;
    Call call;
    std::string path;
    int err;
  } const cases[] = {
      {"listing fails", Call::kList, src_, EIO},
      {"look-ups time out", Call::kStat, src_ + "/", ETIMEDOUT},
      {"server gone", Call::kStat, src_ + "/", EHOSTDOWN},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs_.Reset();
    const std::string stale = Aged("dst/stale.wav", "x");
    Aged("dst/old/f.wav", "x");
    fs_.Fail(c.call, c.path, c.err);
    hand_.MirrorFolder(src_, dst_, 0);
    EXPECT_TRUE(Exists(stale));
    EXPECT_TRUE(Exists(dst_ + "/old/f.wav"));
  }
  fs_.Reset();
  const std::string stale = Aged("dst/stale.wav", "x");
  EXPECT_EQ(hand_.MirrorFolder(dir_.Sub("unmounted"), dst_, 0), 0);
  EXPECT_TRUE(Exists(stale));
  EXPECT_EQ(hand_.ErrorCode(), 0);
}

// Names a Windows server cannot hold are neither copied nor deleted, a pipe is not waited on,
// and stored paths may be written with '\'.
TEST_F(FileHandMirrorTest, NamesAndStoredPaths) {
  Aged("src/nul.wav", "n");
  Aged("src/a\\b.wav", "s");
  Aged("src/plain.wav", "p");
  const std::string device = Aged("dst/CON.txt", "c");
  // A pipe where a file should be is refused at its open, never waited on.
  ASSERT_EQ(::mkfifo((src_ + "/pipe.wav").c_str(), 0644), 0);
  SetAge(src_ + "/pipe.wav", kHour);
  std::string stored = dst_;
  std::replace(stored.begin(), stored.end(), '/', '\\');
  EXPECT_EQ(hand_.MirrorFolder(src_, stored, 0), 1);
  EXPECT_TRUE(Exists(dst_ + "/plain.wav"));
  EXPECT_FALSE(Exists(dst_ + "/nul.wav"));
  EXPECT_FALSE(Exists(dst_ + "/a\\b.wav"));
  EXPECT_TRUE(Exists(device));
  EXPECT_FALSE(Exists(dst_ + "/pipe.wav"));
}

// Sub-folders are mirrored to any depth; links to folders are never followed, on either side,
// so a loop ends and nothing outside the trees is touched.
TEST_F(FileHandMirrorTest, TreesAndLinks) {
  Aged("src/a/b/c.wav", "deep");
  std::filesystem::create_directory_symlink(src_, src_ + "/a/loop");
  const std::string outside = Aged("outside/keep.wav", "keep");
  std::filesystem::create_directory_symlink(dir_.Sub("outside"), dst_ + "/gone");
  std::filesystem::create_directories(dst_ + "/x");
  std::filesystem::create_directory_symlink(dir_.Sub("outside"), dst_ + "/x/y");
  Aged("src/x/y/new.wav", "new");

  EXPECT_EQ(hand_.MirrorFolder(src_, dst_, 0), 1);
  EXPECT_EQ(ReadWholeFile(dst_ + "/a/b/c.wav"), "deep");
  EXPECT_FALSE(Exists(dst_ + "/a/loop"));
  EXPECT_EQ(ReadWholeFile(outside), "keep");
  EXPECT_FALSE(Exists(dir_.Sub("outside/new.wav")));

  // A target inside its own source is not mirrored into itself.
  std::filesystem::create_directories(src_ + "/copy");
  EXPECT_EQ(hand_.MirrorFolder(src_, src_ + "/copy", 1), 1);
  EXPECT_EQ(ReadWholeFile(src_ + "/copy/a/b/c.wav"), "deep");
  EXPECT_FALSE(Exists(src_ + "/copy/copy"));
}

// System folders are whole path components, in any case; with pNoSysFolder they are neither
// copied nor made, and a source inside one is refused.
TEST_F(FileHandMirrorTest, SystemFolders) {
  const std::pair<const char*, bool> paths[] = {
      {"/srv/$RECYCLE.BIN/S-1-5", true},
      {"\\\\host\\share\\system volume information", true},
      {"D:\\Recycled", true},
      {"/mnt/RECYCLER/x", true},
      {"/srv/$Recycle.Bin2", false},
      {"/srv/MyRecycled/x", false},
      {"/srv/data", false},
  };
  for (const auto& [path, system] : paths) EXPECT_EQ(transfer::IsInSystemFolder(path), system);

  Aged("src/$Recycle.Bin/x.wav", "x");
  Aged("src/System Volume Information/y.wav", "y");
  Aged("src/music/z.wav", "z");
  EXPECT_EQ(hand_.MirrorFolder(src_, dst_, 0, 0, 0, 0, 1), 1);
  EXPECT_FALSE(Exists(dst_ + "/$Recycle.Bin"));
  EXPECT_FALSE(Exists(dst_ + "/System Volume Information"));
  EXPECT_TRUE(Exists(dst_ + "/music/z.wav"));
  EXPECT_EQ(hand_.MirrorOnlyFolder(src_, dir_.Sub("only"), 0, 1), 0);  // no target folder
  std::filesystem::create_directories(dir_.Sub("only"));
  EXPECT_EQ(hand_.MirrorOnlyFolder(src_, dir_.Sub("only"), 0, 1), 1);
  EXPECT_TRUE(Exists(dir_.Sub("only/music")));
  EXPECT_FALSE(Exists(dir_.Sub("only/$Recycle.Bin")));
  EXPECT_EQ(hand_.MirrorFolder(src_ + "/$Recycle.Bin", dst_, 0, 0, 0, 0, 1), 0);
  // Without pNoSysFolder they are ordinary folders.
  EXPECT_EQ(hand_.MirrorFolder(src_, dst_, 0), 1);
  EXPECT_TRUE(Exists(dst_ + "/$Recycle.Bin/x.wav"));
}

// A name that changed kind: a target file where the source now has a folder goes by the rule
// for files the source lacks, and the folder is then mirrored; while the file is kept (outside
// the age window, or pNoDel) it is left whole and code 2 says the folder could not be made. A
// link there stays. A target folder where the source now has a file is replaced by the file.
TEST_F(FileHandMirrorTest, NameThatChangedKind) {
  struct Case {
    const char* what;
    char target;  // what dst/y is: 'f' a file, 'l' a link to a folder, 'd' a folder (source: file)
    int64_t targetAge;
    int32_t noDel, checkDate;
    bool companion, mirrored;
    int32_t code;
  } const cases[] = {
      {"old file", 'f', kHour, 0, 0, false, true, 0},
      {"file 10 s old", 'f', 10, 0, 0, false, false, 2},
      {"file 10 s old, companion", 'f', 10, 0, 0, true, true, 0},
      {"file two days old, one day asked", 'f', 2 * kDay, 0, 1, false, false, 2},
      {"nothing deleted", 'f', kHour, 1, 0, false, false, 2},
      {"old link", 'l', kHour, 0, 0, false, false, 0},
      {"old folder, file in source", 'd', kHour, 0, 0, false, true, 0},
  };
  FileHand companion(log_, transfer::CompanionVariant(), fs_);
  const std::string elsewhere = Aged("elsewhere/keep.wav", "keep");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove_all(src_);
    std::filesystem::remove_all(dst_);
    std::filesystem::create_directories(dst_);
    Aged(c.target == 'd' ? "src/y" : "src/y/inner.wav", "new", 2 * kHour);
    const std::string y = dst_ + "/y";
    if (c.target == 'f') Aged("dst/y", "old file", c.targetAge);
    if (c.target == 'd') Aged("dst/y/inner.wav", "old folder", c.targetAge);
    if (c.target == 'l') {
      std::filesystem::create_directory_symlink(dir_.Sub("elsewhere"), y);
      SetWriteTime(y, start_ - c.targetAge, true);
    }
    FileHand& hand = c.companion ? companion : hand_;
    EXPECT_EQ(hand.MirrorFolder(src_, dst_, c.noDel, 0, -1, 0, 0, c.checkDate), 1);
    EXPECT_EQ(hand.ErrorCode(), c.code);
    EXPECT_EQ(ReadWholeFile(c.target == 'd' ? y : y + "/inner.wav") == "new", c.mirrored);
    if (!c.mirrored && c.target == 'f') {
      EXPECT_EQ(ReadWholeFile(y), "old file");
    }
    if (c.target == 'l') {
      EXPECT_TRUE(std::filesystem::is_symlink(y));
    }
  }
  EXPECT_FALSE(Exists(dir_.Sub("elsewhere/inner.wav")));
  EXPECT_EQ(ReadWholeFile(elsewhere), "keep");
}

// The structure alone: folders the target lacks are made (and walked), folders it has are
// not entered, folders the source lacks go; files stay as they are.
TEST_F(FileHandMirrorTest, MirrorOnlyFolderCopiesTheStructure) {
  Aged("src/A/A1/f.wav", "f");
  Aged("src/B/B1/B2/g.wav", "g");
  std::filesystem::create_directories(dst_ + "/A");
  Aged("dst/C/h.wav", "h");
  EXPECT_EQ(hand_.MirrorOnlyFolder(src_, dst_), 1);
  EXPECT_TRUE(std::filesystem::is_directory(dst_ + "/B/B1/B2"));
  EXPECT_FALSE(Exists(dst_ + "/B/B1/B2/g.wav"));
  EXPECT_FALSE(Exists(dst_ + "/A/A1"));
  EXPECT_FALSE(Exists(dst_ + "/C"));
}

// A server root that is missing is made neither by a transfer into it nor by a mirror whose
// target holds it; below a root that is there, missing folders are made.
TEST_F(FileHandMirrorTest, NoServerRootIsMadeByATransferOrAMirror) {
  const std::string root = dst_ + "/srv";
  foundation::Station().SrvPath[0] = root + "/";
  const std::string source = Aged("src/srv/log/x.txt", "x");
  EXPECT_EQ(hand_.TranspFile(source, root + "/log/x.txt", 1, 0), 0);
  EXPECT_EQ(hand_.ErrorCode(), 2);
  EXPECT_EQ(hand_.MirrorOnlyFolder(src_, dst_), 1);
  EXPECT_EQ(hand_.MirrorFolder(src_, dst_, 0, 0, 0, 0, 0, 0, 0, 0), 1);
  EXPECT_FALSE(Exists(root));
  std::filesystem::create_directories(root);
  EXPECT_EQ(hand_.TranspFile(source, root + "/log/x.txt", 1, 0), 1);
  EXPECT_EQ(ReadWholeFile(root + "/log/x.txt"), "x");
  foundation::Station() = foundation::StationSettings{};
}

// One folder's walk stops past its entry limit with code 14 and still succeeds; a cancel at an
// entry stops the whole tree with code 1; with DispFN the entries are shown in name order and
// the panel is cleared at the end. The names are made out of order, so the disk's own order
// differs from the walk's.
TEST_F(FileHandMirrorTest, WalkLimitCancelAndMessages) {
  for (const char* name : {"d", "b", "e", "a", "c"}) Aged(std::string("src/") + name, name);
  // ".", ".." and three names.
  FileHand limited(log_, transfer::PlayoutVariant(), fs_, {5, 100});
  EXPECT_EQ(limited.MirrorFolder(src_, dst_, 1), 1);
  EXPECT_EQ(limited.ErrorCode(), 14);
  EXPECT_TRUE(Exists(dst_ + "/c"));
  EXPECT_FALSE(Exists(dst_ + "/d"));

  // The panel's messages reach us while the walk goes on: the copy of c waits in its pause
  // (which a cancel ends) until the cancel made on seeing "Check c" is in.
  Recorder events;
  events.then = [this](const Recorder::Item& item) {
    if (item.text == "Check c") hand_.ProcCancel();
  };
  hand_.SetObserver(&events);
  hand_.SetDispFN(1);
  std::filesystem::remove(dst_ + "/c");
  Aged("dst/z", "z");
  EXPECT_EQ(hand_.MirrorFolder(src_, dst_, 0, 0, 600000), 0);
  EXPECT_EQ(hand_.ErrorCode(), 1);
  EXPECT_FALSE(Exists(dst_ + "/z"));
  EXPECT_FALSE(Exists(dst_ + "/d"));
  std::vector<std::string> texts = events.Messages();
  ASSERT_GE(texts.size(), 7u);
  EXPECT_EQ(texts.back(), "");
  texts.resize(6);
  EXPECT_EQ(texts, (std::vector<std::string>{"Check Del a", "Check Del b", "Check Del z", "Check a",
                                             "Check b", "Check c"}));
}

// The companion copies only files more than 29 seconds old, deletes without a minimum age, and
// ignores the two parameters it does not have.
TEST_F(FileHandMirrorTest, CompanionRules) {
  FileHand companion(log_, transfer::CompanionVariant(), fs_);
  Aged("src/young.wav", "y", 25);
  Aged("src/old.wav", "o", 35);
  const std::string fresh = Aged("dst/fresh.wav", "f", 5);
  Aged("dst/old.wav", "other");
  EXPECT_EQ(companion.MirrorFolder(src_, dst_, 0, 0, 0, 0, 0, 0, 0, 1, 1), 1);
  EXPECT_FALSE(Exists(dst_ + "/young.wav"));
  EXPECT_EQ(ReadWholeFile(dst_ + "/old.wav"), "o");
  EXPECT_FALSE(Exists(fresh));
}

}  // namespace
}  // namespace transfertest
