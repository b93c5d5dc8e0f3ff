#include "foundation/sub_class.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "foundation/app_globals.h"
#include "foundation/debug_log.h"
#include "foundation/sub_class_receiver.h"
#include "platform/message_channel.h"
#include "platform/window_registry.h"
#include "platform/window_registry_folder.h"
#include "tests/support/app_test_env.h"
#include "tests/support/forked_child.h"

namespace foundation {
namespace {

using testsupport::ForkedChild;

class SubClassTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetSubClassTableForTest(); }
  void TearDown() override { ResetSubClassTableForTest(); }
};

TEST_F(SubClassTest, KeepsTheLatestPayloadAndHandsItOutOnce) {
  constexpr int32_t kWindow = 0x1234;
  SubClassHook(kWindow);
  // Each row: the messages that arrive before one fetch, and the text that fetch gives (the
  // companion process test below covers NONE, an empty message and a NUL in the middle).
  struct Case {
    const char* what;
    std::vector<std::string> messages;
    std::string text;
  };
  const std::string schedule = "\"1\",\"a\"\\n\"2\",\"b\"";
  const Case cases[] = {
      {"two before one fetch", {"first", "second"}, "second"},
      {"empty then new", {"", "again"}, "again"},
      {"NUL first", {std::string("\0xyz", 4)}, ""},
      {"schedule text kept as sent", {schedule + std::string(1, '\0')}, schedule},
      {"CP932 converted", {std::string("\x94\xd4\x91\x67\x95\x5c", 6)}, "番組表"},
      {"lead byte before the NUL", {std::string("a\x81\0b", 4)}, "a?"},
      {"nothing sent", {}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (const std::string& m : c.messages) EXPECT_EQ(ReceiveCopyData(kWindow, m), 1);
    EXPECT_EQ(GetCopyDataText(kWindow), c.text);
    EXPECT_EQ(GetCopyDataText(kWindow), "") << "fetched once";
  }

  // Messages for a window that is not hooked are answered with 0 and not kept.
  EXPECT_EQ(ReceiveCopyData(0x999, "lost"), 0);
  SubClassHook(0x999);
  EXPECT_EQ(GetCopyDataText(0x999), "");
  EXPECT_EQ(GetCopyDataText(0), "");
}

TEST_F(SubClassTest, EntriesAreFoundFreedAndReused) {
  SubClassHook(0);
  EXPECT_EQ(SubClassTableSize(), 0);
  EXPECT_EQ(FindSubClassIndex(0), -1);
  EXPECT_EQ(FindSubClassIndex(11), -1);

  for (int32_t w : {11, 22, 33}) SubClassHook(w);
  EXPECT_EQ(FindSubClassIndex(33), 2);
  SubClassHook(22);  // a second hook adds no entry
  EXPECT_EQ(SubClassTableSize(), 3);

  ReceiveCopyData(22, "pending");
  SetBlockCaptionClick(22, 1);
  SubClassUnhook(22);
  SubClassUnhook(77);  // unknown: nothing happens
  EXPECT_EQ(FindSubClassIndex(22), -1);
  EXPECT_EQ(GetCopyDataText(22), "");
  EXPECT_EQ(SubClassTableSize(), 3);

  // The freed entry is the first free one and is taken by the next hook, clean.
  SubClassHook(44);
  EXPECT_EQ(FindSubClassIndex(44), 1);
  EXPECT_EQ(GetBlockCaptionClick(44), 0);
  EXPECT_EQ(GetCopyDataText(44), "");
  SubClassHook(22);
  EXPECT_EQ(FindSubClassIndex(22), 3);
  EXPECT_EQ(SubClassTableSize(), 4);
  EXPECT_EQ(ReceiveCopyData(22, "new"), 1);
  EXPECT_EQ(GetCopyDataText(22), "new");
}

TEST_F(SubClassTest, CaptionBlockIsOnlyKeptAndLogged) {
  testsupport::AppTestEnv env;
  Globals().LogError = 1;
  Globals().DebugLogPath = env.dir().Sub("log");
  SubClassHook(5);
  SetBlockCaptionClick(6, 1);  // unknown window: ignored, nothing logged
  EXPECT_EQ(GetBlockCaptionClick(6), 0);
  EXPECT_EQ(testsupport::ReadWholeFile(DebugLogFilePath(platform::LogSeverity::kInfo)), "");

  SetBlockCaptionClick(5, 1);
  EXPECT_EQ(GetBlockCaptionClick(5), 1);
  const std::string log =
      testsupport::ReadWholeFile(DebugLogFilePath(platform::LogSeverity::kInfo));
  EXPECT_NE(log.find("SetBlockCaptionClick"), std::string::npos) << log;
  SetBlockCaptionClick(5, 0);
  EXPECT_EQ(GetBlockCaptionClick(5), 0);
  EXPECT_EQ(testsupport::ReadWholeFile(DebugLogFilePath(platform::LogSeverity::kInfo)), log);
}

QCoreApplication& App() {
  static int argc = 1;
  static char name[] = "sub_class_test";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
  return app;
}

// Runs the event loop until the child has ended; the limit only keeps a broken build from
// hanging the run.
bool PumpUntilEnded(ForkedChild& child) {
  App();
  QEventLoop loop;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (child.Ended()) loop.quit();
  });
  poll.start(2);
  QTimer limit;
  limit.setSingleShot(true);
  QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
  limit.start(60000);
  if (!child.Ended()) loop.exec();
  return child.Ended();
}

// The companion's side in another process: finds the playout window by its caption and sends
// each payload; the exit status has bit i set when message i was not answered with `reply`.
int SendAll(const std::vector<std::string>& payloads, int64_t reply) {
  const auto window = platform::FindWindowExact("Ondrake - Tarnwick");
  if (!window) return 128;
  int failures = 0;
  for (size_t i = 0; i < payloads.size(); ++i) {
    const auto out = platform::SendWindowMessage(*window, 0, payloads[i]);
    if (!out.delivered || out.reply != reply) failures |= 1 << i;
  }
  return failures;
}

TEST_F(SubClassTest, ScheduleMessagesFromTheCompanionProcess) {
  App();
  testsupport::TempDir dir;
  platform::SetWindowRegistryFolder(dir.Sub("windows"));
  auto window = platform::WindowRegistration::Claim("Ondrake - Tarnwick");
  ASSERT_TRUE(window);
  auto receiver = CreateSubClassReceiver(*window);
  ASSERT_TRUE(receiver);
  const int32_t hWnd = SubClassWindowHandle(*window);
  ASSERT_NE(hWnd, 0);

  // Before the hook the window answers 0 and keeps nothing.
  {
    ForkedChild early([] { return SendAll({"too early"}, 0); });
    ASSERT_TRUE(PumpUntilEnded(early));
    EXPECT_EQ(early.Wait(), 0);
    SubClassHook(hWnd);
    EXPECT_EQ(GetCopyDataText(hWnd), "");
  }
  struct Round {
    const char* what;
    std::vector<std::string> payloads;
    std::string text;
  };
  const Round rounds[] = {
      {"two before one fetch", {std::string("first\0", 6), std::string("second\0", 7)}, "second"},
      {"NONE", {std::string("NONE\0", 5)}, "NONE"},
      {"empty clears", {std::string("x\0", 2), ""}, ""},
      {"NUL in the middle", {std::string("ab\0cd\0", 6)}, "ab"},
  };
  for (const Round& r : rounds) {
    ForkedChild companion([&] { return SendAll(r.payloads, 1); });
    ASSERT_TRUE(PumpUntilEnded(companion)) << r.what;
    EXPECT_EQ(companion.Wait(), 0) << r.what;
    EXPECT_EQ(GetCopyDataText(hWnd), r.text) << r.what;
    EXPECT_EQ(GetCopyDataText(hWnd), "") << r.what;
  }

  // Unhooked again: messages are answered with 0 and a later hook finds nothing pending.
  SubClassUnhook(hWnd);
  ForkedChild late([] { return SendAll({"late"}, 0); });
  ASSERT_TRUE(PumpUntilEnded(late));
  EXPECT_EQ(late.Wait(), 0);
  SubClassHook(hWnd);
  EXPECT_EQ(GetCopyDataText(hWnd), "");

  receiver.reset();
  window.reset();
  platform::SetWindowRegistryFolder("");
}

}  // namespace
}  // namespace foundation
