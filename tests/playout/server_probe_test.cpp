// Test labels: threads (the probe runs asynchronously)
#include "playout/server_probe.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <thread>

#include "foundation/server_root.h"
#include "tests/foundation/reachability_seams.h"
#include "tests/playout/engine_fixture.h"
#include "tests/support/temp_dir.h"

namespace playouttest {
namespace {

// Asks until the answer is `want` (the echo runs on a worker thread); false after two seconds.
bool AnswersSoon(playout::CachedServerProbe& probe, int32_t want) {
  for (int i = 0; i < 2000; ++i) {
    if (probe.CheckServerAlive() == want) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return false;
}

TEST(ServerProbeTest, AnswersAtOnceAndRenewsInTheBackground) {
  testsupport::ReachabilitySeams seams;
  testsupport::TempDir dir;
  const std::string share = dir.Sub("share");
  ASSERT_EQ(::mkdir(share.c_str(), 0700), 0);
  seams.mounts = {{share, "cifs", "//fileserver/share"}};
  foundation::ForgetServerRoots();
  foundation::StationSettings station;
  station.SrvPath[0] = "//fileserver/share/";
  station.ServerAlive = 1;  // what start-up found
  RecordingLog log;
  playout::CachedServerProbe probe(station, seams.clock, log);

  seams.pinger.Script(false);
  EXPECT_EQ(probe.CheckServerAlive(), 1);
  ASSERT_TRUE(AnswersSoon(probe, 0));
  EXPECT_TRUE(log.Has("サーバー迷子"));
  EXPECT_EQ(seams.pinger.CallCount(), 1);  // a fresh answer is not renewed

  seams.clock.Advance(301 * 1000);
  seams.pinger.Script(true);
  EXPECT_EQ(probe.CheckServerAlive(), 0);  // the old answer while the echo runs
  ASSERT_TRUE(AnswersSoon(probe, 1));
  EXPECT_EQ(seams.pinger.CallCount(), 2);
  EXPECT_EQ(seams.pinger.Calls()[1].first, "fileserver");

  // A host that answers, its share unmounted: unreachable, said once when it goes and once
  // when it is back, without a new echo.
  seams.mounts.clear();
  EXPECT_EQ(probe.CheckServerAlive(), 0);
  EXPECT_EQ(probe.CheckServerAlive(), 0);
  seams.mounts = {{share, "cifs", "//fileserver/share"}};
  EXPECT_EQ(probe.CheckServerAlive(), 1);
  EXPECT_EQ(log.Count("サーバーフォルダなし //fileserver/share/"), 1);
  EXPECT_EQ(log.Count("サーバーフォルダ発見 //fileserver/share/"), 1);
  EXPECT_EQ(seams.pinger.CallCount(), 2);

  station.SrvPath[0].clear();
  EXPECT_EQ(probe.CheckServerAlive(), 0);
}

}  // namespace
}  // namespace playouttest
