#include "foundation/time_server_sync.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

#include "foundation/app_globals.h"
#include "foundation/debug_log.h"
#include "foundation/server_config.h"
#include "foundation/settings_store.h"
#include "platform/cp932.h"
#include "tests/foundation/app_test_env.h"

namespace foundation {
namespace {

using namespace std::chrono_literals;

// A time server on 127.0.0.1 that answers one request with its clock `lead` ahead of ours.
class FakeSntpServer {
 public:
  explicit FakeSntpServer(std::chrono::seconds lead) : lead_(lead) {
    fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&addr), len) != 0 ||
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
      return;
    port_ = ntohs(addr.sin_port);
    thread_ = std::thread([this] { AnswerOne(); });
  }
  ~FakeSntpServer() {
    if (thread_.joinable()) thread_.join();
    if (fd_ >= 0) ::close(fd_);
  }
  uint16_t port() const { return port_; }

 private:
  static void PutStamp(unsigned char* at, uint64_t stamp) {
    for (int i = 7; i >= 0; --i, stamp >>= 8) at[i] = static_cast<unsigned char>(stamp & 0xFF);
  }
  void AnswerOne() {
    pollfd p{fd_, POLLIN, 0};
    if (::poll(&p, 1, 5000) != 1) return;
    unsigned char request[68];
    sockaddr_in from{};
    socklen_t fromLen = sizeof from;
    const ssize_t n =
        ::recvfrom(fd_, request, sizeof request, 0, reinterpret_cast<sockaddr*>(&from), &fromLen);
    if (n < 48) return;
    unsigned char reply[48] = {};
    reply[0] = 0x24;                           // version 4, server
    reply[1] = 2;                              // stratum
    std::memcpy(reply + 24, request + 40, 8);  // origin = the client's transmit time
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    now.tv_sec += lead_.count();
    const uint64_t stamp = platform::ToNtpTimestamp(now);
    PutStamp(reply + 32, stamp);
    PutStamp(reply + 40, stamp);
    ::sendto(fd_, reply, sizeof reply, 0, reinterpret_cast<sockaddr*>(&from), fromLen);
  }

  std::chrono::seconds lead_;
  int fd_ = -1;
  uint16_t port_ = 0;
  std::thread thread_;
};

class TimeServerSyncTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Conf() = ConfTables{};
    Globals().LogError = 1;
    Globals().DebugLogPath = env_.dir().Sub("log");
    setter_ = std::make_shared<platform::FakeClockSetter>();
  }
  void TearDown() override {
    SetTimeSyncSeams(nullptr);
    Conf() = ConfTables{};
  }
  static std::string Log(int32_t kind) {
    return platform::Cp932ToUtf8(testsupport::ReadWholeFile(DebugLogFilePath(kind)));
  }

  testsupport::AppTestEnv env_;
  std::shared_ptr<platform::FakeClockSetter> setter_;
};

TEST_F(TimeServerSyncTest, NothingStartsForNoServerOrThisComputer) {
  SetTimeSyncSeams(setter_);
  EXPECT_FALSE(SyncClockWithTimeServer().valid());
  const std::string self = GetComputerNameText();
  ASSERT_FALSE(self.empty());
  std::string upper = self;
  for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  for (const std::string& name : {self, upper}) {
    Conf().TimeSrv = name;
    EXPECT_FALSE(SyncClockWithTimeServer().valid()) << name;
  }
  EXPECT_TRUE(setter_->Corrections().empty());
}

TEST_F(TimeServerSyncTest, InvalidNamesAreRefusedAndLogged) {
  SetTimeSyncSeams(setter_);
  for (const char* bad : {"ntp; rm -rf /", "a b", "$(reboot)", "host\tname", "-ntp"}) {
    Conf().TimeSrv = bad;
    EXPECT_FALSE(SyncClockWithTimeServer().valid()) << bad;
  }
  const std::string err = Log(1);
  EXPECT_NE(err.find("time sync: not a valid server name: \"ntp; rm -rf /\""), std::string::npos);
  EXPECT_NE(err.find("\"host?name\""), std::string::npos);
  EXPECT_TRUE(setter_->Corrections().empty());
}

TEST_F(TimeServerSyncTest, CorrectsThroughSetterAndLogsOutcome) {
  FakeSntpServer server(5s);
  ASSERT_NE(server.port(), 0);
  platform::SntpOptions options;
  options.port = server.port();
  options.timeout_ms = 3000;
  SetTimeSyncSeams(setter_, options);
  Conf().TimeSrv = "127.0.0.1";

  std::future<platform::TimeSyncOutcome> done = SyncClockWithTimeServer();
  ASSERT_TRUE(done.valid());
  const platform::TimeSyncOutcome outcome = done.get();
  EXPECT_EQ(outcome.status, platform::TimeSyncStatus::kApplied) << outcome.message;
  ASSERT_EQ(setter_->Corrections().size(), 1u);
  EXPECT_NEAR(std::chrono::duration<double>(setter_->Corrections()[0]).count(), 5.0, 1.0);
  EXPECT_NE(Log(0).find(" time sync with 127.0.0.1: offset +"), std::string::npos);

  // No server answers on the next try: the failure goes to the error log.
  options.timeout_ms = 200;
  SetTimeSyncSeams(setter_, options);
  const platform::TimeSyncOutcome failed = SyncClockWithTimeServer().get();
  EXPECT_EQ(failed.status, platform::TimeSyncStatus::kQueryFailed);
  EXPECT_NE(Log(1).find(" time sync with 127.0.0.1: "), std::string::npos);
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
