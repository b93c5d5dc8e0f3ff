// Test labels: threads (the sync runs on a worker thread)
#include "platform/time_sync.h"

#include <arpa/inet.h>
#include <errno.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>

#include "tests/fakes/platform/fake_clock_setter.h"
#include "tests/support/scoped_env.h"

namespace platform {
namespace {

using std::chrono::milliseconds;
using std::chrono::nanoseconds;
using std::chrono::seconds;

constexpr nanoseconds kServerAhead = seconds(10);
constexpr nanoseconds kServerProcessing = milliseconds(50);
constexpr nanoseconds kClientRoundTrip = milliseconds(200);
// ((t1 - t0) + (t2 - t3)) / 2 with t1 = t0 + 10 s, t2 = t1 + 50 ms, t3 = t0 + 200 ms.
constexpr nanoseconds kExpectedOffset = milliseconds(9925);
constexpr nanoseconds kExpectedDelay = milliseconds(150);

uint64_t ReadStamp(const uint8_t* p) {
  uint64_t v = 0;
  for (int i = 0; i < 8; ++i) v = (v << 8) | p[i];
  return v;
}

void WriteStamp(uint8_t* p, uint64_t v) {
  for (int i = 7; i >= 0; --i, v >>= 8) p[i] = static_cast<uint8_t>(v & 0xFF);
}

uint64_t StampPlus(uint64_t stamp, nanoseconds span) {
  return stamp + static_cast<uint64_t>((static_cast<__int128>(span.count()) << 32) / 1000000000);
}

// A well-formed server reply to `request`, with the server 10 s ahead of the client.
std::string GoodReply(const std::string& request) {
  uint8_t reply[48] = {};
  reply[0] = (0 << 6) | (4 << 3) | 4;  // no leap, version 4, server
  reply[1] = 2;                        // stratum
  const uint64_t t0 =
      request.size() >= 48 ? ReadStamp(reinterpret_cast<const uint8_t*>(request.data()) + 40) : 0;
  const uint64_t t1 = StampPlus(t0, kServerAhead);
  WriteStamp(reply + 24, t0);
  WriteStamp(reply + 32, t1);
  WriteStamp(reply + 40, StampPlus(t1, kServerProcessing));
  return std::string(reinterpret_cast<char*>(reply), sizeof reply);
}

// A time server on 127.0.0.1 at a free port. Each request is answered by `craft`. Stops by
// itself when destroyed.
class FakeNtpServer {
 public:
  using Craft = std::function<std::string(const std::string& request)>;

  explicit FakeNtpServer(Craft craft = GoodReply) : craft_(std::move(craft)) {
    fd_ = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    thread_ = std::thread([this] { Serve(); });
  }
  ~FakeNtpServer() {
    stop_ = true;
    thread_.join();
    close(fd_);
  }

  uint16_t port() const { return port_; }
  int requests() const { return requests_; }
  // While held, requests are taken but not answered.
  void Hold(bool held) { held_ = held; }

 private:
  void Serve() {
    std::string pending;
    sockaddr_in pendingFrom{};
    bool havePending = false;
    for (int rounds = 0; !stop_ && rounds < 3000; ++rounds) {  // at most ~30 s
      if (havePending && !held_) {
        const std::string reply = craft_(pending);
        sendto(fd_, reply.data(), reply.size(), 0, reinterpret_cast<sockaddr*>(&pendingFrom),
               sizeof pendingFrom);
        havePending = false;
      }
      pollfd pfd{fd_, POLLIN, 0};
      if (poll(&pfd, 1, 10) <= 0) continue;
      char buffer[512];
      socklen_t len = sizeof pendingFrom;
      const ssize_t n =
          recvfrom(fd_, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&pendingFrom), &len);
      if (n < 0) continue;
      ++requests_;
      pending.assign(buffer, static_cast<size_t>(n));
      havePending = true;
    }
  }

  Craft craft_;
  int fd_ = -1;
  uint16_t port_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<bool> held_{false};
  std::atomic<int> requests_{0};
  std::thread thread_;
};

// A client clock that reads T on the first call and T + 200 ms on every later one.
SntpOptions OptionsFor(uint16_t port) {
  SntpOptions options;
  options.port = port;
  options.timeout_ms = 5000;
  auto calls = std::make_shared<std::atomic<int>>(0);
  options.realtime = [calls] {
    timespec t{1700000000, 123456789};
    if ((*calls)++ > 0) t.tv_nsec += static_cast<long>(kClientRoundTrip.count());
    return t;
  };
  return options;
}

void ExpectNear(nanoseconds actual, nanoseconds expected) {
  EXPECT_LE(std::abs((actual - expected).count()), 5) << actual.count();
}

TEST(SntpClientTest, OffsetAndDelayFromAGoodReply) {
  std::string seen;
  FakeNtpServer server([&](const std::string& request) {
    seen = request;
    return GoodReply(request);
  });
  const SntpResult r = QuerySntp("127.0.0.1", OptionsFor(server.port()));
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.stratum, 2);
  ExpectNear(r.offset, kExpectedOffset);
  ExpectNear(r.delay, kExpectedDelay);
  EXPECT_EQ(server.requests(), 1);
  // The request is a version-4 client packet stamped with our own time.
  ASSERT_EQ(seen.size(), 48u);
  EXPECT_EQ(static_cast<uint8_t>(seen[0]), 0x23);
  EXPECT_EQ(ReadStamp(reinterpret_cast<const uint8_t*>(seen.data()) + 40),
            ToNtpTimestamp(timespec{1700000000, 123456789}));

  // A server behind us gives a negative offset.
  FakeNtpServer behind([](const std::string& request) {
    std::string reply = GoodReply(request);
    auto* p = reinterpret_cast<uint8_t*>(reply.data());
    const uint64_t t0 = ReadStamp(p + 24);
    const uint64_t t1 = t0 - (uint64_t{3600} << 32);
    WriteStamp(p + 32, t1);
    WriteStamp(p + 40, t1);
    return reply;
  });
  const SntpResult late = QuerySntp("127.0.0.1", OptionsFor(behind.port()));
  ASSERT_TRUE(late.ok) << late.error;
  ExpectNear(late.offset, -seconds(3600) - milliseconds(100));
}

TEST(SntpClientTest, BadRepliesAreRejected) {
  using Mutate = std::function<void(std::string&)>;
  struct Case {
    const char* name;
    Mutate mutate;
    const char* error;
  };
  auto byte = [](size_t i, uint8_t v) { return [=](std::string& r) { r[i] = char(v); }; };
  const Case cases[] = {
      {"wrong origin", [](std::string& r) { r[31] ^= 1; }, "origin"},
      {"client mode", byte(0, (4 << 3) | 3), "mode 3"},
      {"stratum 0", byte(1, 0), "stratum 0"},
      {"stratum 16", byte(1, 16), "stratum 16"},
      {"unsynchronised", byte(0, (3 << 6) | (4 << 3) | 4), "not synchronised"},
      {"zero transmit", [](std::string& r) { std::fill(r.begin() + 40, r.end(), 0); },
       "no server time"},
      {"short", [](std::string& r) { r.resize(47); }, "too short (47 bytes)"},
      {"garbage", [](std::string& r) { r.assign(48, '\xFF'); }, "mode 7"},
      {"text", [](std::string& r) { r = "HTTP/1.0 400 Bad Request\r\n"; }, "too short"},
  };
  for (const Case& c : cases) {
    FakeNtpServer server([&](const std::string& request) {
      std::string reply = GoodReply(request);
      c.mutate(reply);
      return reply;
    });
    const SntpResult r = QuerySntp("127.0.0.1", OptionsFor(server.port()));
    EXPECT_FALSE(r.ok) << c.name;
    EXPECT_NE(r.error.find(c.error), std::string::npos) << c.name << ": " << r.error;
    EXPECT_EQ(r.offset.count(), 0) << c.name;
  }
}

TEST(SntpClientTest, NoAnswerFailsAtTheTimeOut) {
  FakeNtpServer silent;
  silent.Hold(true);
  SntpOptions options = OptionsFor(silent.port());
  options.timeout_ms = 100;
  const SntpResult quiet = QuerySntp("127.0.0.1", options);
  EXPECT_FALSE(quiet.ok);
  EXPECT_NE(quiet.error.find("no answer"), std::string::npos) << quiet.error;

  // An invalid name is refused before anything is sent.
  EXPECT_FALSE(QuerySntp("bad host", options).ok);
}

TEST(SntpClientTest, NtpTimestampsAndEraArithmetic) {
  EXPECT_EQ(ToNtpTimestamp(timespec{0, 0}), uint64_t{2208988800} << 32);
  EXPECT_EQ(ToNtpTimestamp(timespec{0, 500000000}), (uint64_t{2208988800} << 32) | 0x80000000u);
  // 2036-02-07 06:28:16 UTC starts NTP era 1: seconds wrap to 0.
  EXPECT_EQ(ToNtpTimestamp(timespec{2085978496, 0}), 0u);
  EXPECT_EQ(NtpSpan(0xFFFFFFFF00000000ULL, 0x0000000100000000ULL), seconds(2));
  EXPECT_EQ(NtpSpan(0x0000000100000000ULL, 0xFFFFFFFF00000000ULL), -seconds(2));
  EXPECT_EQ(NtpSpan(0, 0x80000000u), milliseconds(500));
}

TEST(ClockSetterTest, FormatCorrectionUsesMillisecondsRoundedHalfToEven) {
  EXPECT_EQ(FormatCorrection(milliseconds(1250)), "+1.250 s");
  EXPECT_EQ(FormatCorrection(-milliseconds(4)), "-0.004 s");
  EXPECT_EQ(FormatCorrection(nanoseconds(500000)), "+0.000 s");
  EXPECT_EQ(FormatCorrection(nanoseconds(1500000)), "+0.002 s");
}

// The real setter is only exercised where the environment guarantees a dry run.
#define REQUIRE_DRY_RUN()                                                          \
  if (!ClockDryRunRequested()) {                                                   \
    GTEST_SKIP() << kClockDryRunVariable << " is not set: not touching the clock"; \
  }

// Wall clock minus monotonic clock: changes only when someone steps the wall clock.
int64_t WallClockStepSeconds() {
  timespec wall{}, mono{};
  clock_gettime(CLOCK_REALTIME, &wall);
  clock_gettime(CLOCK_MONOTONIC, &mono);
  return static_cast<int64_t>(wall.tv_sec) - static_cast<int64_t>(mono.tv_sec);
}

TEST(ClockSetterTest, RealSetterInDryRunOnlyReports) {
  REQUIRE_DRY_RUN();
  const int64_t before = WallClockStepSeconds();
  SystemClockSetter setter;
  const ClockSetResult r = setter.Correct(std::chrono::hours(5));
  EXPECT_EQ(r.status, ClockSetStatus::kDryRun);
  EXPECT_NE(r.message.find("dry run"), std::string::npos) << r.message;
  EXPECT_NE(r.message.find("+18000.000 s"), std::string::npos) << r.message;
  // A five-hour step would show here; the dry run made none.
  EXPECT_LT(std::llabs(WallClockStepSeconds() - before), 3600);
}

TEST(ClockSetterTest, RealSetterLimitAndFailureTexts) {
  REQUIRE_DRY_RUN();
  std::vector<timespec> asked;
  int answer = 0;
  SystemClockSetter setter([&](const timespec& t) {
    asked.push_back(t);
    return answer;
  });

  const ClockSetResult tooFar = setter.Correct(kMaxClockCorrection + nanoseconds(1));
  EXPECT_EQ(tooFar.status, ClockSetStatus::kRefused);
  EXPECT_NE(tooFar.message.find("13-hour"), std::string::npos) << tooFar.message;
  EXPECT_EQ(setter.Correct(-kMaxClockCorrection - seconds(1)).status, ClockSetStatus::kRefused);
  EXPECT_TRUE(asked.empty());

  // Exactly 13 hours is allowed: the clock is asked to read 13 h later than now.
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  const ClockSetResult applied = setter.Correct(-kMaxClockCorrection);
  EXPECT_EQ(applied.status, ClockSetStatus::kApplied);
  EXPECT_EQ(applied.message, "clock corrected by -46800.000 s");
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_NEAR(static_cast<double>(asked[0].tv_sec - now.tv_sec), -46800.0, 60.0);
  EXPECT_LT(static_cast<uint64_t>(asked[0].tv_nsec), 1000000000u);  // normalised

  answer = EPERM;
  const ClockSetResult denied = setter.Correct(seconds(2));
  EXPECT_EQ(denied.status, ClockSetStatus::kFailed);
  EXPECT_NE(denied.message.find("CAP_SYS_TIME"), std::string::npos) << denied.message;
}

TEST(ClockSetterTest, DryRunVariableValues) {
  REQUIRE_DRY_RUN();
  const struct {
    const char* value;
    bool dryRun;
  } cases[] = {{"1", true}, {"yes", true}, {"00", true}, {"0", false}, {"", false}};
  for (const auto& c : cases) {
    testsupport::ScopedEnv scoped(kClockDryRunVariable, c.value);
    EXPECT_EQ(ClockDryRunRequested(), c.dryRun) << '"' << c.value << '"';
  }
  EXPECT_TRUE(ClockDryRunRequested());
}

TimeSyncOutcome Await(std::future<TimeSyncOutcome>& future) {
  // A guard against a hang, not a measure of speed.
  if (future.wait_for(seconds(30)) != std::future_status::ready) {
    ADD_FAILURE() << "time sync never finished";
    return {};
  }
  return future.get();
}

TEST(TimeSyncTest, CorrectsThroughTheSetterWithoutBlockingTheCaller) {
  FakeNtpServer server;
  server.Hold(true);
  auto setter = std::make_shared<FakeClockSetter>();
  std::atomic<int> callbacks{0};
  std::string callbackMessage;
  std::future<TimeSyncOutcome> future =
      StartTimeSync("127.0.0.1", setter, OptionsFor(server.port()), [&](const TimeSyncOutcome& o) {
        callbackMessage = o.message;
        ++callbacks;
      });
  // The server has not answered yet, and still the call has returned.
  EXPECT_EQ(future.wait_for(seconds(0)), std::future_status::timeout);
  server.Hold(false);

  const TimeSyncOutcome outcome = Await(future);
  EXPECT_EQ(outcome.status, TimeSyncStatus::kApplied);
  ExpectNear(outcome.offset, kExpectedOffset);
  EXPECT_EQ(outcome.message,
            "time sync with 127.0.0.1: offset +9.925 s; fake clock correction by +9.925 s");
  EXPECT_EQ(callbacks.load(), 1);
  EXPECT_EQ(callbackMessage, outcome.message);
  ASSERT_EQ(setter->Corrections().size(), 1u);
  EXPECT_EQ(setter->Corrections()[0], outcome.offset);
}

TEST(TimeSyncTest, FailuresAreReportedAndNeverReachTheClock) {
  auto setter = std::make_shared<FakeClockSetter>();

  std::future<TimeSyncOutcome> bad = StartTimeSync("srv;reboot", setter);
  const TimeSyncOutcome invalid = Await(bad);
  EXPECT_EQ(invalid.status, TimeSyncStatus::kInvalidHost);
  EXPECT_EQ(invalid.message, "time sync: not a valid server name: \"srv;reboot\"");

  FakeNtpServer kissOfDeath([](const std::string& request) {
    std::string reply = GoodReply(request);
    reply[1] = 0;
    return reply;
  });
  std::future<TimeSyncOutcome> refusedByServer =
      StartTimeSync("127.0.0.1", setter, OptionsFor(kissOfDeath.port()));
  const TimeSyncOutcome failed = Await(refusedByServer);
  EXPECT_EQ(failed.status, TimeSyncStatus::kQueryFailed);
  EXPECT_EQ(failed.message.rfind("time sync with 127.0.0.1: bad reply", 0), 0u) << failed.message;
  EXPECT_TRUE(setter->Corrections().empty());

  std::future<TimeSyncOutcome> noSetter = StartTimeSync("127.0.0.1", nullptr);
  EXPECT_EQ(Await(noSetter).status, TimeSyncStatus::kSetFailed);

  // The setter's verdict becomes the outcome.
  FakeNtpServer server;
  setter->SetStatus(ClockSetStatus::kRefused);
  std::future<TimeSyncOutcome> refused =
      StartTimeSync("127.0.0.1", setter, OptionsFor(server.port()));
  EXPECT_EQ(Await(refused).status, TimeSyncStatus::kRefused);
}

}  // namespace
}  // namespace platform
