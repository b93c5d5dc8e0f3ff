#include "foundation/server_reachability.h"

#include <errno.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "foundation/app_globals.h"
#include "foundation/debug_log.h"
#include "tests/fakes/platform/fake_pinger.h"
#include "tests/fakes/platform/simulated_clock.h"
#include "tests/foundation/reachability_seams.h"
#include "tests/support/app_test_env.h"

namespace foundation {
namespace {

class ReachabilityTest : public ::testing::Test {
 protected:
  testsupport::ReachabilitySeams seams_;
  platform::FakePinger& pinger_ = seams_.pinger;
  platform::SimulatedClock& clock_ = seams_.clock;
};

TEST_F(ReachabilityTest, HostOfPathAndLocalPathsNeedNoEcho) {
  seams_.mounts = {{"/", "ext4", "/dev/sda1"},
                   {"/mnt/audio", "cifs", "//Audio01/share"},
                   {"/mnt/audio/deep", "nfs4", "nas2:/export/deep"},
                   {"/srv/nfs", "nfs", "10.0.0.7:/export"}};
  const std::pair<const char*, const char*> cases[] = {
      {"\\\\Audio01\\share\\", "audio01"},
      {"//AUDIO01/share/sched/", "audio01"},
      {"\\\\srv", "srv"},  // no share: the host is still what answers
      {"/mnt/audio/sched/", "audio01"},
      {"\\mnt\\audio\\", "audio01"},
      {"/mnt//audio/./x", "audio01"},
      {"/mnt/audio/deep/x", "nas2"},  // the innermost mount serves it
      {"/srv/nfs", "10.0.0.7"},
      {"/mnt/audiobook/", ""},  // a name that only starts like the mount point
      {"/srv/", ""},
  };
  for (const auto& [path, host] : cases) {
    EXPECT_EQ(ServerHostOfPath(path, seams_.mounts), host) << path;
  }

  for (const char* path : {"C:\\audio\\", "/home/station/", "conf\\conf.ini", "", "relative/x"}) {
    EXPECT_EQ(IsServerReachable(path, 500, 300), 1) << path;
  }
  EXPECT_EQ(pinger_.CallCount(), 0);
  EXPECT_EQ(PingCacheSize(), 0u);
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

  clock_.Advance(1000);  // 301 s: asked again, and the failure is kept
  EXPECT_EQ(IsServerReachable("\\\\AUDIO01\\share\\", 1500, 300), 0);
  EXPECT_EQ(pinger_.CallCount(), 2);
  EXPECT_EQ(pinger_.Calls()[1].second, 1500);
  clock_.Advance(10000);
  EXPECT_EQ(IsServerReachable("\\\\audio01\\share\\", 500, 300), 0);
  EXPECT_EQ(pinger_.CallCount(), 2);
  EXPECT_EQ(PingCacheSize(), 1u);

  // Setting the PC clock changes nothing: ages run on monotonic time.
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
  seams_.mounts = {{"/", "ext4", "/dev/sda1"}, {"/mnt/radio", "nfs4", "NAS1:/export/radio"}};
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
  if (r.error_code == EPERM || r.error_code == EACCES) {
    GTEST_SKIP() << "ICMP sockets not allowed here: " << r.error;
  }
  ClearPingCache();
  EXPECT_EQ(PingHost("127.0.0.1", 2000), 1);
  EXPECT_EQ(IsServerReachable("\\\\127.0.0.1\\share\\", 2000, 300), 1);
  EXPECT_EQ(PingCacheSize(), 1u);
  EXPECT_EQ(PingHost("bad host;rm", 200), 0);
  ClearPingCache();
}

// A pinger whose echo fails inside.
struct ThrowingPinger final : platform::Pinger {
  platform::PingResult Ping(const std::string&, int32_t) override {
    throw std::runtime_error("echo failed");
  }
};

TEST_F(ReachabilityTest, FailuresCountAsNoAnswerAndAreLogged) {
  testsupport::AppTestEnv env;
  Globals().LogError = 1;
  Globals().DebugLogPath = env.dir().Sub("log");
  const auto errors = [] {
    return testsupport::ReadWholeFile(DebugLogFilePath(platform::LogSeverity::kError));
  };

  // Silence is an answer, not a failure of this PC.
  pinger_.Script(false);
  EXPECT_EQ(IsServerReachable("\\\\quiet\\share\\", 500, 300), 0);
  EXPECT_EQ(errors(), "");

  // An echo that could not be sent at all.
  pinger_.Script(platform::PingResult{false, 0, EPERM, "cannot open an ICMP socket"});
  EXPECT_EQ(IsServerReachable("\\\\nosocket\\share\\", 500, 300), 0);
  EXPECT_NE(errors().find("PingHost nosocket: cannot open an ICMP socket"), std::string::npos);

  // A pinger that throws: no answer, cached like one.
  ThrowingPinger throwing;
  SetPinger(&throwing);
  EXPECT_EQ(IsServerReachable("\\\\broken\\share\\", 500, 300), 0);
  EXPECT_NE(errors().find("PingHost broken echo failed"), std::string::npos);
  EXPECT_EQ(IsServerReachable("\\\\broken\\share\\", 500, 300), 0);

  // A mount table that cannot be read: no answer either.
  SetMountTableSource(
      []() -> std::vector<platform::MountEntry> { throw std::runtime_error("no mount table"); });
  EXPECT_EQ(IsServerReachable("/srv/audio/", 500, 300), 0);
  EXPECT_NE(errors().find("IsServerReachable /srv/audio/ no mount table"), std::string::npos);
  SetPinger(&pinger_);
}

}  // namespace
}  // namespace foundation
