#include "foundation/server_reachability.h"

#include <errno.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/clock.h"

namespace foundation {
namespace {

// Every test runs on a simulated monotonic clock with a fake pinger and a fixed mount table.
class ReachabilityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetCurrentClock(&clock_);
    SetPinger(&pinger_);
    SetMountTableSource([this] { return mounts_; });
    ClearPingCache();
  }
  void TearDown() override {
    ClearPingCache();
    SetMountTableSource({});
    SetPinger(nullptr);
    platform::SetCurrentClock(nullptr);
  }

  platform::SimulatedClock clock_;
  platform::FakePinger pinger_;
  std::vector<platform::MountEntry> mounts_;
};

TEST_F(ReachabilityTest, LocalPathsAreReachableWithoutEcho) {
  mounts_ = {{"/", "ext4", "/dev/sda1"}, {"/mnt/audio", "cifs", "//Audio01/share"}};
  for (const char* path : {"C:\\audio\\", "/home/station/", "conf\\conf.ini", "", "relative/x"}) {
    EXPECT_EQ(IsServerReachable(path, 500, 300), 1) << path;
  }
  EXPECT_EQ(pinger_.CallCount(), 0);
  EXPECT_EQ(PingCacheSize(), 0u);
}

TEST_F(ReachabilityTest, HostOfPath) {
  mounts_ = {{"/", "ext4", "/dev/sda1"},
             {"/mnt/audio", "cifs", "//Audio01/share"},
             {"/mnt/audio/deep", "nfs4", "nas2:/export/deep"},
             {"/srv/nfs", "nfs", "10.0.0.7:/export"}};
  const struct {
    const char* path;
    const char* host;
  } cases[] = {
      {"\\\\Audio01\\share\\", "audio01"},
      {"//AUDIO01/share/sched/", "audio01"},
      {"\\\\10.1.2.3\\share\\", "10.1.2.3"},
      {"\\\\srv", "srv"},  // no share: the host is still what answers
      {"/mnt/audio/sched/", "audio01"},
      {"\\mnt\\audio\\", "audio01"},
      {"/mnt//audio/./x", "audio01"},
      {"/mnt/audio/deep/x", "nas2"},  // the innermost mount serves it
      {"/srv/nfs", "10.0.0.7"},
      {"/mnt/audiobook/", ""},  // a name that only starts like the mount point
      {"/srv/", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ServerHostOfPath(c.path, mounts_), c.host) << c.path;
}

TEST_F(ReachabilityTest, CachedAnswerWithinAgeThenExpiry) {
  pinger_.Script(true);
  EXPECT_EQ(IsServerReachable("\\\\Audio01\\share\\", 500, 300), 1);
  ASSERT_EQ(pinger_.CallCount(), 1);
  EXPECT_EQ(pinger_.Calls()[0], (std::pair<std::string, int32_t>{"audio01", 500}));

  // Another path on the same server in another case shares the record.
  pinger_.Script(false);
  clock_.Advance(300000);  // exactly the maximum age: still fresh
  EXPECT_EQ(IsServerReachable("//audio01/other/", 1500, 300), 1);
  EXPECT_EQ(pinger_.CallCount(), 1);
  EXPECT_EQ(PingCacheSize(), 1u);

  clock_.Advance(1000);  // 301 s: asked again, and the failure is kept
  EXPECT_EQ(IsServerReachable("\\\\AUDIO01\\share\\", 1500, 300), 0);
  EXPECT_EQ(pinger_.CallCount(), 2);
  EXPECT_EQ(pinger_.Calls()[1].second, 1500);

  // An unreachable server asked again within the age: no echo, 0 again.
  clock_.Advance(10000);
  EXPECT_EQ(IsServerReachable("\\\\audio01\\share\\", 500, 300), 0);
  EXPECT_EQ(pinger_.CallCount(), 2);
  EXPECT_EQ(PingCacheSize(), 1u);

  // Setting the PC clock back or forward changes nothing: ages run on monotonic time.
  platform::WallTime t = clock_.Now();
  t.year += 1;
  clock_.SetNow(t);
  EXPECT_EQ(IsServerReachable("\\\\audio01\\share\\", 500, 300), 0);
  EXPECT_EQ(pinger_.CallCount(), 2);

  // A maximum age of 0 or less always asks.
  pinger_.Script(true);
  EXPECT_EQ(IsServerReachable("\\\\audio01\\share\\", 500, -1), 1);
  EXPECT_EQ(pinger_.CallCount(), 3);
}

TEST_F(ReachabilityTest, NetworkMountPingsSourceHost) {
  mounts_ = {{"/", "ext4", "/dev/sda1"}, {"/mnt/radio", "nfs4", "NAS1:/export/radio"}};
  pinger_.Script(true);
  EXPECT_EQ(IsServerReachable("/mnt/radio/conf/conf.ini", 1500, 300), 1);
  ASSERT_EQ(pinger_.CallCount(), 1);
  EXPECT_EQ(pinger_.Calls()[0].first, "nas1");
  // The UNC spelling of the same host uses the same record.
  EXPECT_EQ(IsServerReachable("\\\\nas1\\radio\\", 500, 300), 1);
  EXPECT_EQ(pinger_.CallCount(), 1);
}

TEST_F(ReachabilityTest, CacheIsBounded) {
  pinger_.SetDefault(platform::PingResult{true, 1.0, 0, ""});
  for (size_t i = 0; i < kPingCacheCapacity + 5; ++i) {
    EXPECT_EQ(IsServerReachable("\\\\host" + std::to_string(i) + "\\s\\", 100, 300), 1);
    clock_.Advance(10);
  }
  EXPECT_EQ(PingCacheSize(), kPingCacheCapacity);
  const int sent = pinger_.CallCount();
  // The newest hosts are still cached; the oldest made room and is asked again.
  IsServerReachable("\\\\host" + std::to_string(kPingCacheCapacity + 4) + "\\s\\", 100, 300);
  EXPECT_EQ(pinger_.CallCount(), sent);
  IsServerReachable("\\\\host0\\s\\", 100, 300);
  EXPECT_EQ(pinger_.CallCount(), sent + 1);
  EXPECT_EQ(PingCacheSize(), kPingCacheCapacity);
}

TEST(ReachabilityRealEchoTest, LoopbackAnswers) {
  platform::IcmpPinger probe;
  const platform::PingResult r = probe.Ping("127.0.0.1", 2000);
  if (r.error_code == EPERM || r.error_code == EACCES)
    GTEST_SKIP() << "ICMP sockets not allowed here: " << r.error;
  ClearPingCache();
  EXPECT_EQ(PingHost("127.0.0.1", 2000), 1);
  EXPECT_EQ(IsServerReachable("\\\\127.0.0.1\\share\\", 2000, 300), 1);
  EXPECT_EQ(PingCacheSize(), 1u);
  EXPECT_EQ(PingHost("bad host;rm", 200), 0);
  ClearPingCache();
}

}  // namespace
}  // namespace foundation
