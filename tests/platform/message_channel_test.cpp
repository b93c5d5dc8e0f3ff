// Test labels: threads (senders on several threads at once)
#include "platform/message_channel.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <atomic>
#include <cstring>
#include <functional>
#include <latch>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/message_receiver.h"
#include "platform/window_registry.h"
#include "platform/window_registry_folder.h"
#include "tests/support/forked_child.h"
#include "tests/support/temp_dir.h"

namespace {

using platform::MessageReceiver;
using platform::SendWindowMessage;
using platform::WindowInfo;
using platform::WindowRegistration;
using testsupport::ForkedChild;

QCoreApplication& App() {
  static int argc = 1;
  static char name[] = "message_channel_test";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
  return app;
}

// Runs the event loop until `done` holds. The limit only keeps a broken build from hanging
// the test run; it is far above anything a passing run needs.
bool PumpUntil(const std::function<bool()>& done) {
  App();
  QEventLoop loop;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (done()) loop.quit();
  });
  poll.start(2);
  QTimer limit;
  limit.setSingleShot(true);
  QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
  limit.start(60000);
  if (!done()) loop.exec();
  return done();
}

// Opens a raw connection to a window's socket, for frames no honest sender would write.
int RawConnect(const std::string& endpoint) {
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::strncpy(addr.sun_path, endpoint.c_str(), sizeof(addr.sun_path) - 1);
  if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

// Writes `bytes`, then reports whether the receiver answered (true) or hung up (false).
bool RawExchange(const std::string& endpoint, const std::string& bytes, bool halfClose) {
  const int fd = RawConnect(endpoint);
  if (fd < 0) return false;
  (void)send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
  if (halfClose) shutdown(fd, SHUT_WR);
  char buf[platform::kMessageAckBytes];
  const ssize_t n = recv(fd, buf, sizeof(buf), MSG_WAITALL);
  close(fd);
  return n > 0;
}

struct Received {
  uint64_t dataType;
  std::string payload;
};

class MessageChannelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    platform::SetWindowRegistryFolder(dir_.Sub("windows"));
  }
  void TearDown() override { platform::SetWindowRegistryFolder(""); }

  // Registers the playout window of session 0 and records what reaches it.
  void OpenPlayoutWindow() {
    window_ = WindowRegistration::Claim("Ondrake - Tarnwick");
    ASSERT_TRUE(window_);
    receiver_ = std::make_unique<MessageReceiver>(
        *window_, [this](uint64_t dataType, const std::string& payload) {
          received_.push_back({dataType, payload});
          return static_cast<int64_t>(payload.size()) + 1000;
        });
    ASSERT_TRUE(receiver_->listening());
  }

  testsupport::TempDir dir_;
  std::unique_ptr<WindowRegistration> window_;
  std::unique_ptr<MessageReceiver> receiver_;
  std::vector<Received> received_;
};

TEST_F(MessageChannelTest, DeliversMessagesFromAnotherProcessInOrder) {
  OpenPlayoutWindow();
  const std::string none("NONE\0\0", 6);
  const std::string big(100 * 1000, 'q');
  const std::string largest(platform::kMaxMessageBytes, 'z');
  // The companion's side: finds the playout by the start of its caption and sends. Each failed
  // expectation sets one bit of the exit status.
  ForkedChild companion([&] {
    const auto playout = platform::FindWindowByPrefix("Ondrake");
    if (!playout) return 64;
    int failures = 0;
    auto send = [&](int bit, uint64_t dataType, const std::string& payload) {
      const auto out = SendWindowMessage(*playout, dataType, payload);
      if (!out.delivered || out.reply != static_cast<int64_t>(payload.size()) + 1000) {
        failures |= bit;
      }
    };
    send(1, 0, none);
    send(2, 0, "first");  // two messages before the window looks at either
    send(2, 0, "second");
    send(4, 7, "");
    send(8, 0, big);
    send(16, 0, largest);
    if (SendWindowMessage(*playout, 0, largest + "z").delivered) failures |= 32;
    return failures;
  });
  ASSERT_TRUE(companion.started());
  ASSERT_TRUE(PumpUntil([&] { return companion.Ended(); }));
  EXPECT_EQ(companion.Wait(), 0);

  ASSERT_EQ(received_.size(), 6u);
  const std::pair<uint64_t, const std::string*> expected[] = {
      {0, &none}, {0, nullptr}, {0, nullptr}, {7, nullptr}, {0, &big}, {0, &largest}};
  const std::string texts[] = {"", "first", "second", ""};
  for (size_t i = 0; i < received_.size(); ++i) {
    EXPECT_EQ(received_[i].dataType, expected[i].first) << i;
    const std::string& want = expected[i].second ? *expected[i].second : texts[i];
    EXPECT_TRUE(received_[i].payload == want) << i << ": " << received_[i].payload.size();
  }
  EXPECT_EQ(receiver_->openConnections(), 0u);
}

TEST_F(MessageChannelTest, TwoSendersAtOnceAreEachDeliveredWholeAndInOrder) {
  OpenPlayoutWindow();
  // Frames far larger than one read, so the receiver gathers both connections piece by piece
  // at the same time; each frame's bytes differ, so a mix-up of the two shows.
  constexpr int kSenders = 2;
  constexpr size_t kRounds = 3;
  std::vector<std::vector<std::string>> payloads(kSenders);
  for (int s = 0; s < kSenders; ++s) {
    for (size_t round = 0; round < kRounds; ++round) {
      std::string bytes(1000 * 1000 + s * 7 + round, '\0');
      for (size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(i * (s + 3) + round * 11 + (i >> 10));
      }
      payloads[s].push_back(std::move(bytes));
    }
  }
  std::vector<std::vector<platform::SendOutcome>> outcomes(kSenders);
  std::atomic<int> finished{0};
  std::latch start(kSenders);
  std::vector<std::thread> senders;
  for (int s = 0; s < kSenders; ++s) {
    senders.emplace_back([&, s] {
      start.arrive_and_wait();
      const auto playout = platform::FindWindowByPrefix("Ondrake");
      for (size_t round = 0; playout && round < kRounds; ++round) {
        outcomes[s].push_back(SendWindowMessage(*playout, s * 100 + round, payloads[s][round]));
      }
      ++finished;
    });
  }
  const bool ended = PumpUntil([&] { return finished == kSenders; });
  for (std::thread& t : senders) t.join();
  ASSERT_TRUE(ended);

  for (int s = 0; s < kSenders; ++s) {
    ASSERT_EQ(outcomes[s].size(), kRounds) << "sender " << s;
    for (size_t round = 0; round < kRounds; ++round) {
      const platform::SendOutcome& out = outcomes[s][round];
      EXPECT_TRUE(out.delivered) << s << "/" << round << ": " << out.error;
      EXPECT_EQ(out.reply, static_cast<int64_t>(payloads[s][round].size()) + 1000);
    }
  }
  ASSERT_EQ(received_.size(), kSenders * kRounds);
  std::vector<size_t> nextRound(kSenders, 0);
  for (const Received& r : received_) {
    const size_t s = r.dataType / 100;
    ASSERT_LT(s, payloads.size());
    const size_t round = r.dataType % 100;
    EXPECT_EQ(round, nextRound[s]++) << "sender " << s;
    ASSERT_LT(round, kRounds);
    EXPECT_TRUE(r.payload == payloads[s][round]) << s << "/" << round;
  }
  EXPECT_EQ(receiver_->openConnections(), 0u);
}

TEST_F(MessageChannelTest, DropsOversizeAndGarbageFramesAndKeepsServing) {
  OpenPlayoutWindow();
  const std::string endpoint = window_->endpoint();
  const int64_t handle = window_->handle();
  ForkedChild sender([&] {
    int failures = 0;
    // A sender that stalls half-way through its header holds up nobody else.
    const int stalled = RawConnect(endpoint);
    if (stalled < 0 || send(stalled, "ODWM\x0a\0", 6, MSG_NOSIGNAL) != 6) failures |= 64;
    platform::MessageHeader header;
    header.length = static_cast<uint32_t>(platform::kMaxMessageBytes + 1);
    const std::string oversize = platform::EncodeMessageHeader(header);
    if (RawExchange(endpoint, oversize + std::string(1000, 'o'), false)) failures |= 1;
    if (RawExchange(endpoint, std::string(24, '\xff'), false)) failures |= 2;
    header.length = 10;
    header.target = handle + 1;  // meant for an earlier owner of the caption
    if (RawExchange(endpoint, platform::EncodeMessageHeader(header) + "0123456789", false)) {
      failures |= 4;
    }
    header.target = handle;
    if (RawExchange(endpoint, platform::EncodeMessageHeader(header) + "01234", true)) {
      failures |= 8;  // cut short: the sender hung up mid-frame
    }
    if (RawExchange(endpoint, "ODW", true)) failures |= 16;
    WindowInfo info;
    info.endpoint = endpoint;
    info.handle = handle;
    const auto out = SendWindowMessage(info, 3, "still here");
    if (!out.delivered || out.reply != 1010) failures |= 32;
    close(stalled);
    return failures;
  });
  ASSERT_TRUE(sender.started());
  ASSERT_TRUE(PumpUntil([&] { return sender.Ended(); }));
  EXPECT_EQ(sender.Wait(), 0);
  ASSERT_EQ(received_.size(), 1u);
  EXPECT_EQ(received_[0].dataType, 3u);
  EXPECT_EQ(received_[0].payload, "still here");
  ASSERT_TRUE(PumpUntil([&] { return receiver_->openConnections() == 0; }));
}

TEST_F(MessageChannelTest, SendFailsWhenTheWindowCannotTakeIt) {
  // A window whose process never reads its socket: the send gives up at its timeout.
  testsupport::Pipe ready;
  testsupport::Pipe gate;
  ForkedChild hung([&] {
    gate.CloseWrite();
    auto reg = WindowRegistration::Claim("Hung - Tarnwick");
    ready.WriteByte(reg ? 1 : 0);
    gate.WaitOpen();
    return 0;
  });
  ready.CloseWrite();
  ASSERT_EQ(ready.ReadByte(), 1);
  const auto target = platform::FindWindowExact("Hung - Tarnwick");
  ASSERT_TRUE(target);
  for (const size_t size : {size_t{5}, size_t{4} * 1024 * 1024}) {
    const auto out = SendWindowMessage(*target, 0, std::string(size, 'h'), 200);
    EXPECT_FALSE(out.delivered) << size;
    EXPECT_FALSE(out.error.empty());
  }
  gate.Open();
  EXPECT_EQ(hung.Wait(), 0);

  // Refused before anything is sent: too big, no socket, or not a socket.
  WindowInfo nowhere;
  nowhere.endpoint = dir_.Sub("windows/none.sock");
  EXPECT_FALSE(SendWindowMessage(nowhere, 0, "x").delivered);
  nowhere.endpoint = dir_.WriteFile("plain.sock", "");
  EXPECT_FALSE(SendWindowMessage(nowhere, 0, "x").delivered);
  EXPECT_FALSE(
      SendWindowMessage(*target, 0, std::string(platform::kMaxMessageBytes + 1, 'x')).delivered);
}

TEST_F(MessageChannelTest, HandlerFailureStillAnswersAndReceiverMayGoFirst) {
  OpenPlayoutWindow();
  receiver_->SetHandler(
      [](uint64_t, const std::string&) -> int64_t { throw std::runtime_error("boom"); });
  const WindowInfo target = window_->info();
  ForkedChild sender([&] {
    const auto out = SendWindowMessage(target, 0, "x");
    return out.delivered && out.reply == 0 ? 0 : 1;
  });
  ASSERT_TRUE(PumpUntil([&] { return sender.Ended(); }));
  EXPECT_EQ(sender.Wait(), 0);
  // The receiver listens on its own copy of the socket: either object may be destroyed first.
  receiver_.reset();
  EXPECT_TRUE(platform::FindWindowExact("Ondrake - Tarnwick"));
  window_.reset();
  EXPECT_FALSE(platform::FindWindowExact("Ondrake - Tarnwick"));
}

}  // namespace
