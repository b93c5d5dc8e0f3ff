#include "platform/native_path.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "tests/support/temp_dir.h"

namespace platform {
namespace {

using testsupport::TempDir;

const char kMountInfo[] =
    "22 1 259:2 / / rw,relatime shared:1 - ext4 /dev/nvme0n1p2 rw\n"
    "98 22 0:50 / /mnt/on\\040air rw,relatime shared:60 - cifs //Studio-NAS/Music rw,vers=3.0\n"
    "99 22 0:51 / /mnt/cm rw,relatime - nfs4 archive:/export/cm rw\n"
    "100 22 0:52 / /mnt/old rw - cifs \\\\oldhost\\Share rw\n"
    "garbage line without separator\n"
    "1 2 3\n"
    "101 22 0:53 / /mnt/sub rw master:3 shared:4 - cifs //studio-nas/music/jingles rw\n";

TEST(MountTable, ParsesMountInfoWithEscapesAndOptionalFields) {
  const std::vector<MountEntry> mounts = ParseMountInfo(kMountInfo);
  ASSERT_EQ(mounts.size(), 5u);
  EXPECT_EQ(mounts[0].mountPoint, "/");
  EXPECT_EQ(mounts[1].mountPoint, "/mnt/on air");
  EXPECT_EQ(mounts[1].fsType, "cifs");
  EXPECT_EQ(mounts[1].source, "//Studio-NAS/Music");
  EXPECT_EQ(mounts[2].source, "archive:/export/cm");
  EXPECT_EQ(mounts[4].mountPoint, "/mnt/sub");

  // Garbage and truncated text parse to nothing rather than failing.
  EXPECT_TRUE(ParseMountInfo("").empty());
  EXPECT_TRUE(ParseMountInfo("1 2 3 4 5 6 -\n\\\\\\\n - - - -").empty());
  EXPECT_EQ(ParseMountInfo("1 2 3 / /x\\04 o - ext4 src\n").at(0).mountPoint, "/x\\04");

  // The live table always has the root.
  bool haveRoot = false;
  for (const MountEntry& m : ReadMountTable()) haveRoot |= m.mountPoint == "/";
  EXPECT_TRUE(haveRoot);
}

TEST(MountTable, ResolvesUncPathsThroughNetworkMounts) {
  const std::vector<MountEntry> mounts = ParseMountInfo(kMountInfo);
  struct Case {
    const char* unc;
    const char* expected;  // nullptr: unresolved
  };
  const Case cases[] = {
      {"\\\\studio-nas\\music\\A\\b.wav", "/mnt/on air/A/b.wav"},  // host and share case differ
      {"//STUDIO-NAS/MUSIC/x.wav", "/mnt/on air/x.wav"},
      {"\\\\studio-nas\\music", "/mnt/on air"},
      {"\\\\studio-nas\\music\\", "/mnt/on air/"},
      {"\\\\studio-nas\\Music\\Jingles\\j1.wav", "/mnt/sub/j1.wav"},  // deeper mount wins
      {"\\\\archive\\export\\cm\\list.txt", "/mnt/cm/list.txt"},      // nfs host:/path
      {"\\\\oldhost\\share\\f", "/mnt/old/f"},                        // backslash source
      {"\\\\studio-nas\\other\\x", nullptr},
      {"\\\\studio-nas", nullptr},
      {"/mnt/on air/x", nullptr},
      {"\\\\\\x", nullptr},
      {"", nullptr},
  };
  for (const Case& c : cases) {
    const std::optional<std::string> got = ResolveUncPath(c.unc, mounts);
    if (c.expected == nullptr) {
      EXPECT_FALSE(got.has_value()) << c.unc << " -> " << got.value_or("");
    } else {
      EXPECT_EQ(got.value_or("<none>"), c.expected) << c.unc;
    }
  }
  EXPECT_EQ(UncHost("\\\\Studio-NAS\\music\\x"), "Studio-NAS");
  EXPECT_EQ(UncHost("//host"), "host");
  EXPECT_EQ(UncHost("/mnt/x"), "");
  EXPECT_EQ(UncHost("\\\\"), "");

  EXPECT_EQ(NetworkSourceHost("/mnt/on air/a.wav", mounts), "Studio-NAS");
  EXPECT_EQ(NetworkSourceHost("/mnt/on air", mounts), "Studio-NAS");
  EXPECT_EQ(NetworkSourceHost("/mnt/cm/x", mounts), "archive");
  EXPECT_EQ(NetworkSourceHost("/mnt/sub/x", mounts), "studio-nas");
  EXPECT_EQ(NetworkSourceHost("/mnt/on airx/a.wav", mounts), "");  // not inside the mount
  EXPECT_EQ(NetworkSourceHost("/home/x", mounts), "");
}

TEST(NativePath, ConvertsSeparatorsAndFindsNamesIgnoringCase) {
  TempDir dir;
  dir.WriteFile("Music/Jingles/Open.WAV", "x");
  dir.WriteFile("Music/ソング.wav", "y");
  // CP932 names as a Windows tool writes them: the trail bytes 0x41 and 0x61 look like 'A' and
  // 'a', but ア and ャ are two different characters.
  dir.WriteFile("Music/\x83\x61.wav", "z");
  const std::string root = dir.path();
  const std::vector<MountEntry> none;

  struct Case {
    std::string stored;
    std::string expected;
  };
  const Case cases[] = {
      {root + "/music/JINGLES/open.wav", root + "/Music/Jingles/Open.WAV"},
      {root + "\\MUSIC\\ソング.WAV", root + "/Music/ソング.wav"},
      {root + "/music/new/Take.wav", root + "/Music/new/Take.wav"},  // missing kept as written
      {root + "/MUSIC/jingles/", root + "/Music/Jingles/"},
      {root + "//music/./jingles", root + "//Music/./Jingles"},
      {root + "/music/\x83\x61.WAV", root + "/Music/\x83\x61.wav"},
      {root + "/music/\x83\x41.wav", root + "/Music/\x83\x41.wav"},  // ア is no ャ
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ToNativePath(c.stored, none), c.expected) << c.stored;

  // A UNC path resolves through the table, then the case look-up runs under the mount point.
  const std::vector<MountEntry> mounts = {{root, "cifs", "//nas/share"}};
  EXPECT_EQ(ToNativePath("\\\\NAS\\Share\\music\\jingles\\OPEN.wav", mounts),
            root + "/Music/Jingles/Open.WAV");
  // Nothing mounted: just the '/' form, no look-up under the root folder.
  EXPECT_EQ(ToNativePath("\\\\other\\share\\x", mounts), "//other/share/x");

  // Hostile input does not hang or crash.
  EXPECT_EQ(ToNativePath(std::string(100000, '\\'), none), std::string(100000, '/'));
  const std::string longName = root + "/" + std::string(5000, 'a') + "/b";
  EXPECT_EQ(ToNativePath(longName, none), longName);
  const std::string withNul = root + "/Music" + std::string(1, '\0') + "x";
  EXPECT_EQ(ToNativePath(withNul, none), withNul);
}

TEST(NativePath, ProgramFolderHoldsThisTest) {
  const std::string folder = ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '/');
  EXPECT_EQ(::access((folder + "test_platform_native_path_test").c_str(), X_OK), 0);
}

}  // namespace
}  // namespace platform
