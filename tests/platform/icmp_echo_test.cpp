// Test labels: threads (name look-ups on their own threads; pings from several threads)
#include "platform/icmp_echo.h"

#include <errno.h>
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace platform {
namespace {

// Skips the test when this machine allows neither kind of ICMP socket to us.
#define SKIP_WITHOUT_ICMP(result)                                        \
  if ((result).error_code == EPERM || (result).error_code == EACCES) {   \
    GTEST_SKIP() << "ICMP sockets not allowed here: " << (result).error; \
  }

TEST(IcmpPingerTest, EchoToLoopbackComesBack) {
  IcmpPinger pinger;
  const PingResult r = pinger.Ping("127.0.0.1", 2000);
  SKIP_WITHOUT_ICMP(r);
  ASSERT_TRUE(r.success) << r.error;
  EXPECT_GE(r.round_trip_ms, 0.0);

  // Back to back from several threads: each takes its own reply, none steals another's.
  std::vector<std::thread> threads;
  std::atomic<int> successes{0};
  for (int i = 0; i < 4; ++i) {
    threads.emplace_back([&] {
      if (pinger.Ping("127.0.0.1", 2000).success) ++successes;
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(successes.load(), 4);

  // "localhost" is in the hosts file: resolved without any name server.
  const PingResult named = pinger.Ping("localhost", 2000);
  EXPECT_TRUE(named.success) << named.error;
}

TEST(IcmpPingerTest, Ipv6LoopbackWhenAvailable) {
  IcmpPinger pinger;
  const PingResult r = pinger.Ping("::1", 2000);
  SKIP_WITHOUT_ICMP(r);
  if (r.error_code == EAFNOSUPPORT || r.error_code == EADDRNOTAVAIL ||
      r.error_code == ENETUNREACH || r.error_code == EPROTONOSUPPORT) {
    GTEST_SKIP() << "no IPv6 loopback: " << r.error;
  }
  EXPECT_TRUE(r.success) << r.error;
}

TEST(IcmpPingerTest, BadHostsFailCleanlyWithoutLookUp) {
  int lookUps = 0;
  IcmpPinger pinger([&](const std::string&, SocketAddress*, std::string*) {
    ++lookUps;
    return false;
  });
  for (const char* host :
       {"", "host name", "a;rm -rf /", "$(reboot)", "-x", "999.1.1.1", "name\n"}) {
    const PingResult r = pinger.Ping(host, 100);
    EXPECT_FALSE(r.success) << host;
    EXPECT_FALSE(r.error.empty()) << host;
  }
  EXPECT_EQ(lookUps, 0);

  // A well-formed name the resolver does not know.
  const PingResult unknown = pinger.Ping("no-such-host.invalid", 100);
  EXPECT_FALSE(unknown.success);
  EXPECT_EQ(lookUps, 1);
}

// A resolver that hangs until released, standing for a dead name server.
struct HangingResolver {
  std::mutex mutex;
  std::condition_variable cv;
  bool released = false;
  int calls = 0;
};

TEST(IcmpPingerTest, HungNameLookUpIsCutOffAtTheTimeOut) {
  auto state = std::make_shared<HangingResolver>();
  IcmpPinger pinger([state](const std::string&, SocketAddress*, std::string*) {
    std::unique_lock<std::mutex> lock(state->mutex);
    ++state->calls;
    state->cv.wait(lock, [&] { return state->released; });
    return false;
  });
  // Returns while the look-up is still hanging; the call would never end otherwise.
  const PingResult r = pinger.Ping("slow.example", 50);
  EXPECT_FALSE(r.success);
  EXPECT_NE(r.error.find("timed out"), std::string::npos) << r.error;

  // Hung helpers are capped: further names fail at once rather than piling up threads.
  for (int i = 0; i < 6; ++i) EXPECT_FALSE(pinger.Ping("slow.example", 10).success);
  {
    std::lock_guard<std::mutex> lock(state->mutex);
    EXPECT_LE(state->calls, 4);
    state->released = true;
  }
  state->cv.notify_all();
}

}  // namespace
}  // namespace platform
