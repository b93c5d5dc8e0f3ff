#include "foundation/folders.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <string>

#include "tests/support/app_test_env.h"

namespace foundation {
namespace {

using testsupport::IsFolder;
using testsupport::PathExists;

// Sets the last-write (and access) time of the path itself, a link included, `days` days back.
void SetAgeDays(const std::string& path, int days) {
  const time_t when = ::time(nullptr) - static_cast<time_t>(days) * 86400;
  const struct timespec times[2] = {{when, 0}, {when, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << path;
}

TEST(Folders, ExistsMakeAndRemove) {
  testsupport::TempDir dir;
  const std::string file = dir.WriteFile("file.txt", "x");
  EXPECT_EQ(FolderExists(dir.path()), 1);
  EXPECT_EQ(FolderExists("/"), 1);
  EXPECT_EQ(FolderExists(file), 0);
  EXPECT_EQ(FolderExists(dir.Sub("missing")), 0);

  EXPECT_EQ(MakeFolder(dir.Sub("one/")), 1);
  EXPECT_TRUE(IsFolder(dir.Sub("one")));
  EXPECT_EQ(MakeFolder(dir.Sub("one")), 0) << "exists already";
  EXPECT_EQ(MakeFolder(dir.Sub("no/parent")), 0);

  EXPECT_EQ(RemoveFolder(dir.Sub("one/")), 1);
  EXPECT_FALSE(PathExists(dir.Sub("one")));
  EXPECT_EQ(RemoveFolder(dir.Sub("one")), 1) << "never there counts as gone";
  EXPECT_EQ(RemoveFolder(file + "/sub"), 1) << "under a file nothing can exist";
  dir.WriteFile("full/x.txt", "x");
  EXPECT_EQ(RemoveFolder(dir.Sub("full")), 0) << "not empty";
  EXPECT_EQ(RemoveFolder(file), 0) << "a file is no folder";
  EXPECT_TRUE(PathExists(file));
}

TEST(Folders, MakeFolderTree) {
  testsupport::TempDir dir;
  EXPECT_EQ(MakeFolderTree(dir.Sub("a/b/c/d")), 1);
  EXPECT_EQ(MakeFolderTree(dir.Sub("a/b/c/d/")), 1) << "an existing folder";
  // Stored paths may carry '\' separators.
  EXPECT_EQ(MakeFolderTree(dir.path() + "\\w\\x\\y\\"), 1);
  EXPECT_TRUE(IsFolder(dir.Sub("w/x/y")));
  // A file in the way cannot become a folder.
  dir.WriteFile("blocker", "x");
  EXPECT_EQ(MakeFolderTree(dir.Sub("blocker/deeper/still")), 0);
  EXPECT_EQ(MakeFolderTree(""), 0);
}

TEST(Folders, FolderHasEntries) {
  testsupport::TempDir dir;
  const std::string empty = dir.Sub("empty");
  ASSERT_EQ(::mkdir(empty.c_str(), 0755), 0);
  dir.WriteFile("folders/inner/x.txt", "x");
  dir.WriteFile("files/a.txt", "x");
  const struct {
    std::string folder;
    std::string ext;
    int32_t mode;
    int32_t expected;
  } cases[] = {
      {empty, "", 0, 0},
      {dir.Sub("folders"), "", 0, 1},
      {dir.Sub("folders/"), "", 1, 1},
      {dir.Sub("files"), "", 1, 0},
      {dir.Sub("files"), "txt", 0, 1},
      {dir.Sub("files"), "wav", 0, 0},
      {dir.Sub("missing"), "", 0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FolderHasEntries(c.folder, c.ext, "", c.mode), c.expected)
        << c.folder << " ext " << c.ext << " mode " << c.mode;
  }
}

TEST(Folders, PurgeByAgeKeepsRecentFilesAndNeverLeavesTheTree) {
  testsupport::TempDir dir;
  const std::string top = dir.Sub("top");
  // Outside the tree: a folder and a file that links inside point at.
  const std::string outsideFile = dir.WriteFile("outside/victim.wav", "keep");
  SetAgeDays(outsideFile, 100);
  SetAgeDays(dir.Sub("outside"), 100);

  for (const char* name : {"top/old.wav", "top/old.txt", "top/sub/old.wav", "top/deep/a/old.wav"})
    SetAgeDays(dir.WriteFile(name, "x"), 100);
  for (const char* name : {"top/new.wav", "top/keep/new.wav"})
    SetAgeDays(dir.WriteFile(name, "x"), 10);
  ASSERT_EQ(::symlink(dir.Sub("outside").c_str(), dir.Sub("top/dirlink").c_str()), 0);
  ASSERT_EQ(::symlink(outsideFile.c_str(), dir.Sub("top/filelink.wav").c_str()), 0);
  ASSERT_EQ(::symlink(dir.Sub("outside").c_str(), dir.Sub("top/newlink").c_str()), 0);
  SetAgeDays(dir.Sub("top/dirlink"), 100);
  SetAgeDays(dir.Sub("top/filelink.wav"), 100);
  SetAgeDays(dir.Sub("top/newlink"), 10);
  // A name that would read as a path out of the tree if '\\' counted as a separator.
  const std::string tricky = dir.WriteFile("top/..\\outside\\victim.wav", "x");
  SetAgeDays(tricky, 100);

  EXPECT_EQ(PurgeFolderTree(top, true, 90, "", false), 1);
  EXPECT_FALSE(PathExists(dir.Sub("top/old.wav")));
  EXPECT_FALSE(PathExists(dir.Sub("top/old.txt")));
  EXPECT_TRUE(PathExists(dir.Sub("top/new.wav")));
  EXPECT_FALSE(PathExists(dir.Sub("top/sub"))) << "emptied subfolders are removed";
  EXPECT_FALSE(PathExists(dir.Sub("top/deep")));
  EXPECT_TRUE(PathExists(dir.Sub("top/keep/new.wav")));
  // Old links are deleted as entries by their own time, a recent one stays; no link is followed.
  EXPECT_FALSE(PathExists(dir.Sub("top/dirlink")));
  EXPECT_FALSE(PathExists(dir.Sub("top/filelink.wav")));
  EXPECT_TRUE(PathExists(dir.Sub("top/newlink")));
  EXPECT_FALSE(PathExists(tricky));
  EXPECT_EQ(testsupport::ReadWholeFile(outsideFile), "keep");
  EXPECT_TRUE(IsFolder(top)) << "keepFolder";

  // Without days everything goes, the folder itself too; the link target still stays.
  EXPECT_EQ(PurgeFolderTree(top + "/", false, 0, "", false), 1);
  EXPECT_FALSE(PathExists(top));
  EXPECT_EQ(testsupport::ReadWholeFile(outsideFile), "keep");
  EXPECT_EQ(PurgeFolderTree(top, true, 0, "", false), 0) << "a missing folder";
}

TEST(Folders, PurgeFiltersByExtensionAndSubfolders) {
  testsupport::TempDir dir;
  const std::string top = dir.Sub("top");
  for (const char* name : {"top/a.wav", "top/b.txt", "top/sub/c.wav", "top/x.wav/d.wav"})
    SetAgeDays(dir.WriteFile(name, "x"), 100);

  // The pattern filters folders too: only a folder whose name matches "*.wav" is visited.
  EXPECT_EQ(PurgeFolderTree(top, true, 90, "wav", false), 1);
  EXPECT_FALSE(PathExists(dir.Sub("top/a.wav")));
  EXPECT_TRUE(PathExists(dir.Sub("top/b.txt")));
  EXPECT_TRUE(PathExists(dir.Sub("top/sub/c.wav")));
  EXPECT_FALSE(PathExists(dir.Sub("top/x.wav")));

  // noSubfolders: files go, folders are left alone.
  EXPECT_EQ(PurgeFolderTree(top, true, 0, ".txt", true), 1);
  EXPECT_FALSE(PathExists(dir.Sub("top/b.txt")));
  EXPECT_TRUE(PathExists(dir.Sub("top/sub/c.wav")));
  // Without keepFolder the result is whether the folder could be removed.
  EXPECT_EQ(PurgeFolderTree(top, false, 0, "", true), 0);
  EXPECT_TRUE(IsFolder(top));
}

TEST(Folders, PurgeRefusesTheRoot) {
  testsupport::TempDir dir;
  // Were the refusal missing, these calls would only look for a name no file has.
  const std::string ext = ".no-file-has-this-extension";
  EXPECT_EQ(PurgeFolderTree("/", true, 1, ext, true), 0);
  EXPECT_EQ(PurgeFolderTree("//", true, 1, ext, true), 0);
  ASSERT_EQ(::symlink("/", dir.Sub("rootlink").c_str()), 0);
  EXPECT_EQ(PurgeFolderTree(dir.Sub("rootlink"), true, 1, ext, true), 0);
  EXPECT_EQ(PurgeFolderTree(dir.path() + "/../../../../../../../../..", true, 1, ext, true), 0);
}

}  // namespace
}  // namespace foundation
