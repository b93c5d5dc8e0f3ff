#include "platform/window_registry.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "platform/window_registry_folder.h"
#include "tests/support/forked_child.h"
#include "tests/support/scoped_env.h"
#include "tests/support/temp_dir.h"

namespace {

using platform::EnumerateWindows;
using platform::FindWindowByHandle;
using platform::FindWindowByPrefix;
using platform::FindWindowExact;
using platform::WindowInfo;
using platform::WindowRegistration;
using testsupport::ForkedChild;
using testsupport::Pipe;

bool Exists(const std::string& path) {
  struct stat st {};
  return lstat(path.c_str(), &st) == 0;
}

// Every test gets its own registry folder.
class WindowRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { platform::SetWindowRegistryFolder(dir_.Sub("windows")); }
  void TearDown() override { platform::SetWindowRegistryFolder(""); }
  std::string Folder() const { return dir_.Sub("windows"); }

  testsupport::TempDir dir_;
};

TEST_F(WindowRegistryTest, FindsExactlyAndByPrefixOldestFirst) {
  // The other process registers first, so its window is the oldest.
  Pipe ready;
  Pipe gate;
  ForkedChild child([&] {
    gate.CloseWrite();
    auto reg = WindowRegistration::Claim("OndrakeB - Tarnwick");
    ready.WriteByte(reg ? 1 : 0);
    gate.WaitOpen();
    return 0;
  });
  ASSERT_TRUE(child.started());
  ready.CloseWrite();
  ASSERT_EQ(ready.ReadByte(), 1);

  const std::string longCaption(300, 'L');
  std::vector<std::unique_ptr<WindowRegistration>> mine;
  for (const std::string caption :
       {"Ondrake - Tarnwick", "Ferlune - Tarnwick", "番組表 - Tarnwick", "a/../b"}) {
    mine.push_back(WindowRegistration::Claim(caption));
    ASSERT_TRUE(mine.back()) << caption;
  }
  mine.push_back(WindowRegistration::Claim(longCaption));
  ASSERT_TRUE(mine.back());

  const pid_t other = child.pid();
  const pid_t self = getpid();
  struct ExactCase {
    std::string caption;
    std::optional<pid_t> owner;
  };
  const ExactCase exact[] = {
      {"OndrakeB - Tarnwick", other},
      {"Ondrake - Tarnwick", self},
      {"a/../b", self},
      {longCaption, self},
      {"Ondrake", std::nullopt},
      {"ondrake - tarnwick", std::nullopt},
      {std::string(299, 'L'), std::nullopt},
  };
  for (const ExactCase& c : exact) {
    const auto found = FindWindowExact(c.caption);
    ASSERT_EQ(found.has_value(), c.owner.has_value()) << c.caption;
    if (found) {
      EXPECT_EQ(found->caption, c.caption);
      EXPECT_EQ(found->pid, *c.owner) << c.caption;
    }
  }

  struct PrefixCase {
    std::string prefix;
    std::optional<std::string> caption;
  };
  const PrefixCase prefixes[] = {
      {"Ondrake", "OndrakeB - Tarnwick"},  // both match; the oldest wins
      {"Ondrake - ", "Ondrake - Tarnwick"},
      {"番組", "番組表 - Tarnwick"},
      {"", "OndrakeB - Tarnwick"},
      {"ferlune", std::nullopt},
      {"Ondrake - Tarnwick and more", std::nullopt},
  };
  for (const PrefixCase& c : prefixes) {
    const auto found = FindWindowByPrefix(c.prefix);
    ASSERT_EQ(found.has_value(), c.caption.has_value()) << c.prefix;
    if (found) {
      EXPECT_EQ(found->caption, *c.caption) << c.prefix;
    }
  }

  const std::vector<WindowInfo> all = EnumerateWindows();
  ASSERT_EQ(all.size(), 6u);
  EXPECT_EQ(all[0].caption, "OndrakeB - Tarnwick");
  for (size_t i = 1; i < all.size(); ++i) {
    EXPECT_EQ(all[i].handle, mine[i - 1]->handle());
  }
  const auto byHandle = FindWindowByHandle(mine[1]->handle());
  ASSERT_TRUE(byHandle);
  EXPECT_EQ(byHandle->caption, "Ferlune - Tarnwick");
  EXPECT_FALSE(FindWindowByHandle(0));

  // A window that closes is no longer found, and its files are gone.
  const std::string endpoint = mine[0]->endpoint();
  mine[0].reset();
  EXPECT_FALSE(FindWindowExact("Ondrake - Tarnwick"));
  EXPECT_FALSE(Exists(endpoint));
  gate.Open();
  EXPECT_EQ(child.Wait(), 0);
  EXPECT_FALSE(FindWindowExact("OndrakeB - Tarnwick"));
  EXPECT_EQ(EnumerateWindows().size(), 4u);
}

TEST_F(WindowRegistryTest, SessionClaimRaceNeverSharesACaption) {
  const std::vector<std::string> sessions = {"X", "XB", "XC", "XD"};
  constexpr int kRacers = 5;  // one more than there are sessions
  for (int round = 0; round < 8; ++round) {
    Pipe start;
    Pipe release;
    Pipe results;
    std::vector<std::unique_ptr<ForkedChild>> racers;
    for (int i = 0; i < kRacers; ++i) {
      racers.push_back(std::make_unique<ForkedChild>([&] {
        release.CloseWrite();
        results.CloseRead();
        start.WaitOpen();
        size_t index = 0;
        auto reg = WindowRegistration::ClaimFirstFree(sessions, &index);
        results.WriteByte(reg ? static_cast<char>(index) : 'n');
        release.WaitOpen();  // keep the session until every racer has reported
        return 0;
      }));
      ASSERT_TRUE(racers.back()->started());
    }
    results.CloseWrite();
    start.Open();
    std::multiset<int> got;
    for (int i = 0; i < kRacers; ++i) got.insert(results.ReadByte());
    EXPECT_EQ(got, (std::multiset<int>{0, 1, 2, 3, 'n'})) << "round " << round;
    EXPECT_EQ(EnumerateWindows().size(), sessions.size());
    release.Open();
    for (auto& racer : racers) EXPECT_EQ(racer->Wait(), 0);
    EXPECT_TRUE(EnumerateWindows().empty());
  }
}

TEST_F(WindowRegistryTest, StaleEntriesAreClearedAndReclaimed) {
  // A window whose process is killed leaves its files behind; nobody finds it, and the
  // caption can be claimed again with a new handle.
  Pipe ready;
  ForkedChild victim([&] {
    auto reg = WindowRegistration::Claim("Stale - Tarnwick");
    ready.WriteByte(reg ? 1 : 0);
    pause();
    return 0;
  });
  ready.CloseWrite();
  ASSERT_EQ(ready.ReadByte(), 1);
  const auto before = FindWindowExact("Stale - Tarnwick");
  ASSERT_TRUE(before);
  victim.Kill();
  EXPECT_TRUE(Exists(before->endpoint));
  EXPECT_FALSE(FindWindowExact("Stale - Tarnwick"));
  auto again = WindowRegistration::Claim("Stale - Tarnwick");
  ASSERT_TRUE(again);
  EXPECT_GT(again->handle(), before->handle);
  EXPECT_EQ(FindWindowExact("Stale - Tarnwick")->pid, getpid());

  // A socket file nobody listens on and a lock file nobody holds, with garbage in it.
  const std::string stem = platform::CaptionFileStem("Orphan");
  const std::string orphanSocket = Folder() + "/" + stem + ".sock";
  {
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strcpy(addr.sun_path, orphanSocket.c_str());
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)), 0);
    close(fd);
  }
  dir_.WriteFile("windows/" + stem + ".lock", std::string("window\n\xff\xfe garbage"));
  dir_.WriteFile("windows/" + platform::CaptionFileStem("Lonely") + ".sock", "not a socket");
  EXPECT_FALSE(FindWindowExact("Orphan"));
  EXPECT_EQ(EnumerateWindows().size(), 1u);  // and the stale files go on the way
  EXPECT_FALSE(Exists(orphanSocket));
  EXPECT_FALSE(Exists(Folder() + "/" + platform::CaptionFileStem("Lonely") + ".sock"));
  auto orphan = WindowRegistration::Claim("Orphan");
  ASSERT_TRUE(orphan);
  EXPECT_TRUE(FindWindowExact("Orphan"));

  // A live window keeps its caption against a second claim, even from its own process.
  bool taken = false;
  std::string error;
  EXPECT_FALSE(WindowRegistration::Claim("Orphan", &error, &taken));
  EXPECT_TRUE(taken);
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(FindWindowExact("Orphan"));  // the failed claim removed nothing
}

TEST_F(WindowRegistryTest, CaptionsMapToSafeFileNames) {
  struct Case {
    std::string caption;
    std::string stem;
  };
  const Case cases[] = {
      {"Ondrake - Tarnwick", "Ondrake%20-%20Tarnwick"},
      {"..", "%2E."},
      {"a/b", "a%2Fb"},
      {"%", "%25"},
      {"é", "%C3%A9"},
  };
  for (const Case& c : cases) EXPECT_EQ(platform::CaptionFileStem(c.caption), c.stem);
  const std::string longA = platform::CaptionFileStem(std::string(60, 'a'));
  const std::string longB = platform::CaptionFileStem(std::string(60, 'a') + "b");
  EXPECT_EQ(longA.size(), 41u);
  EXPECT_EQ(longA[0], '#');
  EXPECT_NE(longA, longB);

  // Captions that cannot be registered.
  for (const std::string& bad : {std::string(), std::string("a\0b", 3), std::string(1025, 'c')}) {
    bool taken = true;
    EXPECT_FALSE(WindowRegistration::Claim(bad, nullptr, &taken));
    EXPECT_FALSE(taken);
  }
  EXPECT_TRUE(WindowRegistration::Claim(std::string(1024, 'c')));
}

TEST_F(WindowRegistryTest, FolderIsPrivateAndFollowsTheEnvironment) {
  // Our own folder left open to others is closed again when used.
  ASSERT_EQ(mkdir(Folder().c_str(), 0755), 0);
  ASSERT_TRUE(WindowRegistration::Claim("Any"));
  struct stat st {};
  ASSERT_EQ(stat(Folder().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);

  platform::SetWindowRegistryFolder("");
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && *runtime == '/') {
    EXPECT_EQ(platform::WindowRegistryFolder(), std::string(runtime) + "/Tarnwick/windows");
  }
  {
    testsupport::ScopedEnv env(platform::kWindowRegistryDirEnv, dir_.Sub("env").c_str());
    EXPECT_EQ(platform::WindowRegistryFolder(), dir_.Sub("env"));
    platform::SetWindowRegistryFolder(Folder());  // the folder set by code wins
    EXPECT_EQ(platform::WindowRegistryFolder(), Folder());
  }

  EXPECT_FALSE(platform::EnsureWindowRegistryFolder("relative/windows"));
  dir_.WriteFile("file", "x");
  EXPECT_FALSE(platform::EnsureWindowRegistryFolder(dir_.Sub("file")));
}

}  // namespace
