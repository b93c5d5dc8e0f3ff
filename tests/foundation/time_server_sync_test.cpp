// Test labels: threads (the sync and its name look-up run on threads of their own)
#include "foundation/time_server_sync.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <string>

#include "foundation/app_globals.h"
#include "foundation/debug_log.h"
#include "foundation/server_config.h"
#include "foundation/settings_store.h"
#include "platform/ascii_text.h"
#include "platform/cp932.h"
#include "tests/fakes/platform/fake_clock_setter.h"
#include "tests/support/app_test_env.h"

namespace foundation {
namespace {

// A UDP socket on 127.0.0.1 that the test answers by hand as a time server.
struct TimeServerSocket {
  TimeServerSocket() {
    fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&addr), len) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) == 0) {
      port = ntohs(addr.sin_port);
    }
  }
  ~TimeServerSocket() {
    if (fd >= 0) ::close(fd);
  }

  // Answers one request with a clock `leadSec` ahead of ours; false when none came.
  bool AnswerOne(int leadSec) const {
    pollfd p{fd, POLLIN, 0};
    unsigned char request[68];
    sockaddr_in from{};
    socklen_t fromLen = sizeof from;
    if (::poll(&p, 1, 5000) != 1 || ::recvfrom(fd, request, sizeof request, 0,
                                               reinterpret_cast<sockaddr*>(&from), &fromLen) < 48) {
      return false;
    }
    unsigned char reply[48] = {0x24, 2};       // version 4, server; stratum 2
    std::memcpy(reply + 24, request + 40, 8);  // origin = the client's transmit time
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    now.tv_sec += leadSec;
    uint64_t stamp = platform::ToNtpTimestamp(now);
    for (int i = 7; i >= 0; --i, stamp >>= 8) reply[32 + i] = reply[40 + i] = stamp & 0xFF;
    return ::sendto(fd, reply, sizeof reply, 0, reinterpret_cast<sockaddr*>(&from), fromLen) ==
           sizeof reply;
  }

  int fd = -1;
  uint16_t port = 0;
};

class TimeServerSyncTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Conf() = ConfTables{};
    Globals().LogError = 1;
    Globals().DebugLogPath = env_.dir().Sub("log");
  }
  void TearDown() override {
    SetTimeSyncSeams(nullptr);
    Conf() = ConfTables{};
  }
  static std::string Log(platform::LogSeverity severity) {
    return platform::Cp932ToUtf8(testsupport::ReadWholeFile(DebugLogFilePath(severity)));
  }

  testsupport::AppTestEnv env_;
  std::shared_ptr<platform::FakeClockSetter> setter_ =
      std::make_shared<platform::FakeClockSetter>();
};

TEST_F(TimeServerSyncTest, NothingStartsForNoServerThisComputerOrABadName) {
  SetTimeSyncSeams(setter_);
  EXPECT_FALSE(SyncClockWithTimeServer().valid());
  const std::string upper = platform::UpperAscii(GetComputerNameText());
  ASSERT_FALSE(upper.empty());
  for (const std::string& name :
       {GetComputerNameText(), upper, std::string("ntp; rm -rf /"), std::string("$(reboot)"),
        std::string("host\tname"), std::string("-ntp")}) {
    Conf().TimeSrv = name;
    EXPECT_FALSE(SyncClockWithTimeServer().valid()) << name;
  }
  const std::string err = Log(platform::LogSeverity::kError);
  EXPECT_NE(err.find("time sync: not a valid server name: \"ntp; rm -rf /\""), std::string::npos);
  EXPECT_NE(err.find("\"host?name\""), std::string::npos);
  EXPECT_TRUE(setter_->Corrections().empty());
}

TEST_F(TimeServerSyncTest, CorrectsThroughSetterAndLogsOutcome) {
  TimeServerSocket server;
  ASSERT_NE(server.port, 0);
  platform::SntpOptions options;
  options.port = server.port;
  options.timeout_ms = 3000;
  SetTimeSyncSeams(setter_, options);
  Conf().TimeSrv = "127.0.0.1";

  std::future<platform::TimeSyncOutcome> done = SyncClockWithTimeServer();
  ASSERT_TRUE(done.valid());
  EXPECT_TRUE(server.AnswerOne(5));
  const platform::TimeSyncOutcome outcome = done.get();
  EXPECT_EQ(outcome.status, platform::TimeSyncStatus::kApplied) << outcome.message;
  ASSERT_EQ(setter_->Corrections().size(), 1u);
  EXPECT_NEAR(std::chrono::duration<double>(setter_->Corrections()[0]).count(), 5.0, 1.0);
  EXPECT_NE(Log(platform::LogSeverity::kInfo).find(" time sync with 127.0.0.1: offset +"),
            std::string::npos);

  // No server answers on the next try: the failure goes to the error log.
  options.timeout_ms = 200;
  SetTimeSyncSeams(setter_, options);
  EXPECT_EQ(SyncClockWithTimeServer().get().status, platform::TimeSyncStatus::kQueryFailed);
  EXPECT_NE(Log(platform::LogSeverity::kError).find(" time sync with 127.0.0.1: "),
            std::string::npos);
  EXPECT_EQ(setter_->Corrections().size(), 1u);
}

TEST_F(TimeServerSyncTest, OneSyncAtATime) {
  // A resolver that holds the first sync until released keeps it running.
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  platform::SntpOptions options;
  options.timeout_ms = 5000;
  options.resolver = [released](const std::string&, platform::SocketAddress*, std::string* error) {
    released.wait();
    *error = "no such host (test)";
    return false;
  };
  SetTimeSyncSeams(setter_, options);
  Conf().TimeSrv = "ntp.example";
  std::future<platform::TimeSyncOutcome> first = SyncClockWithTimeServer();
  ASSERT_TRUE(first.valid());
  EXPECT_FALSE(SyncClockWithTimeServer().valid());
  release.set_value();
  EXPECT_EQ(first.get().status, platform::TimeSyncStatus::kQueryFailed);
  // Once done, the next one may start.
  std::future<platform::TimeSyncOutcome> next = SyncClockWithTimeServer();
  ASSERT_TRUE(next.valid());
  next.get();
}

}  // namespace
}  // namespace foundation
