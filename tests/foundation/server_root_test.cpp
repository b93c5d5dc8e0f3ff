// Server roots: when one counts as there, what is logged when it goes and comes back, and that
// no folder at or above one is ever made, on real temporary folders and a simulated mount table.
#include "foundation/server_root.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <optional>
#include <string>
#include <vector>

#include "foundation/folders.h"
#include "foundation/station_settings.h"
#include "tests/foundation/reachability_seams.h"
#include "tests/support/app_test_env.h"

namespace foundation {
namespace {

bool IsDir(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

class ServerRootTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Station() = StationSettings{};
    ForgetServerRoots();
  }
  void TearDown() override {
    Station() = StationSettings{};
    ForgetServerRoots();
  }
  // The lines CheckServerRoot logs.
  RootLog Recorder() {
    return [this](const std::string& line) { lines_.push_back(line); };
  }

  testsupport::AppTestEnv env_;
  testsupport::ReachabilitySeams seams_;
  std::vector<std::string> lines_;
};

TEST_F(ServerRootTest, AMissingRootIsUnreachableAndNeverMade) {
  const std::string d = env_.dir().path();
  struct Case {
    const char* what;
    std::string root;                           // the stored SrvPath
    std::vector<std::string> folders;           // made before the check
    std::vector<platform::MountEntry> mounted;  // the mount table at the check
    std::vector<platform::MountEntry> seenOn;   // the table at an earlier check, if any
    bool present;
    std::string make;     // a folder below the root MakeFolderTree is asked for ("": none)
    bool made;            // whether it is there afterwards
    std::string notMade;  // the topmost folder that must not appear ("": none)
  } cases[] = {
      {"plain root, log missing",
       d + "/a/srv/",
       {d + "/a/srv"},
       {},
       {},
       true,
       d + "/a/srv/log",
       true,
       ""},
      {"plain root missing",
       d + "/b/srv/",
       {d + "/b"},
       {},
       {},
       false,
       d + "/b/srv/log",
       false,
       d + "/b/srv"},
      {"root and parent missing",
       d + "/c/x/srv/",
       {},
       {},
       {},
       false,
       d + "/c/x/srv/log/",
       false,
       d + "/c"},
      {"UNC share not mounted",
       "\\\\nas\\radio\\station\\",
       {},
       {},
       {},
       false,
       "\\\\nas\\radio\\station\\log",
       false,
       ""},
      {"UNC share mounted",
       "\\\\NAS\\Radio\\station\\",
       {d + "/m1/station"},
       {{d + "/m1", "cifs", "//nas/radio"}},
       {},
       true,
       d + "/m1/station/log",
       true,
       ""},
      {"UNC folder missing on the share",
       "//nas/radio/gone/",
       {d + "/m2"},
       {{d + "/m2", "cifs", "//nas/radio"}},
       {},
       false,
       d + "/m2/gone/log",
       false,
       d + "/m2/gone"},
      // The empty mount point left behind is no server, though folders could be made in it.
      {"share unmounted from its mount point",
       d + "/mp/",
       {d + "/mp"},
       {},
       {{d + "/mp", "nfs", "nas:/export"}},
       false,
       "",
       false,
       ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    lines_.clear();
    for (const std::string& f : c.folders) ASSERT_EQ(MakeFolderTree(f), 1) << f;
    if (!c.seenOn.empty()) {
      seams_.mounts = c.seenOn;
      EXPECT_EQ(CheckServerRoot(c.root, Recorder()), 1);
    }
    seams_.mounts = c.mounted;
    Station().SrvPath[0] = c.root;
    EXPECT_EQ(CheckServerRoot(c.root, Recorder()), c.present ? 1 : 0);
    EXPECT_EQ(lines_, c.present ? std::vector<std::string>{}
                                : std::vector<std::string>{"サーバーフォルダなし " + c.root});
    if (!c.make.empty()) {
      EXPECT_EQ(MakeFolderTree(c.make), c.made ? 1 : 0);
      EXPECT_EQ(FolderExists(c.make), c.made ? 1 : 0);
    }
    if (!c.notMade.empty()) {
      EXPECT_FALSE(IsDir(c.notMade)) << c.notMade;
    }
    Station().SrvPath[0].clear();
  }
}

TEST_F(ServerRootTest, NothingAtOrAboveARootIsMade) {
  Station().SrvPath[0] = "/srv/Station/";
  Station().SrvPath[2] = "\\\\nas\\radio\\";
  seams_.mounts = {{"/mnt/radio", "cifs", "//NAS/radio"}};
  const std::pair<const char*, bool> cases[] = {
      {"/srv/Station", true},
      {"/srv/station/", true},  // names match ignoring case
      {"\\srv\\Station", true},
      {"/srv", true},
      {"/", true},
      {"/srv/x/../Station", true},
      {"/srv//./Station/", true},
      {"/srv/Station/log", false},
      {"/srv/Stationery", false},
      {"/srv/other", false},
      {"/mnt/radio", true},
      {"/mnt", true},  // the UNC root where it is mounted
      {"//nas/radio", true},
      {"/mnt/radio/log", false},
      {"", false},
  };
  for (const auto& [path, refused] : cases) EXPECT_EQ(IsAtOrAboveServerRoot(path), refused) << path;

  // Not mounted, a UNC root guards the folders its text names under the local root.
  seams_.mounts.clear();
  EXPECT_TRUE(IsAtOrAboveServerRoot("/nas/radio"));
  EXPECT_FALSE(IsAtOrAboveServerRoot("/mnt/radio"));
  Station() = StationSettings{};
  EXPECT_FALSE(IsAtOrAboveServerRoot("/srv"));
}

}  // namespace
}  // namespace foundation
