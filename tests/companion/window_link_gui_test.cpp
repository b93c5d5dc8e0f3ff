// Test labels: threads (the message is sent from another thread)
// The schedule message through the real window registry and channel into the playout's
// receipt table, byte for byte.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <chrono>
#include <future>

#include "companion/process_ports.h"
#include "companion/schedule_message.h"
#include "foundation/debug_log.h"
#include "foundation/sub_class.h"
#include "foundation/sub_class_receiver.h"
#include "platform/window_registry.h"
#include "platform/window_registry_folder.h"
#include "tests/support/temp_dir.h"

namespace companion {
namespace {

TEST(WindowLinkGuiTest, TheMessageReachesThePlayoutWindow) {
  testsupport::TempDir windows;
  platform::SetWindowRegistryFolder(windows.Sub("windows"));
  foundation::DebugLog log;
  RegistryWindowLink link(log);
  EXPECT_EQ(link.FindExact("Ondrake - Tarnwick"), 0);
  EXPECT_EQ(link.SendCopyData("Ondrake - Tarnwick", "NONE"), 0);
  // A caption with more after it takes the message, but does not count as the window itself.
  auto window = platform::WindowRegistration::Claim("Ondrake - Tarnwick (test)");
  ASSERT_TRUE(window);
  auto receiver = foundation::CreateSubClassReceiver(*window);
  ASSERT_TRUE(receiver);
  const int32_t hWnd = foundation::SubClassWindowHandle(*window);
  foundation::SubClassHook(hWnd);
  EXPECT_EQ(link.FindExact("Ondrake - Tarnwick"), 0);

  const std::string text = R"("05:00:00","0","1","1500","jingle\news","ア.wav","a.cue","朝")";
  auto sent = std::async(std::launch::async, [&] {
    return link.SendCopyData("Ondrake - Tarnwick", ScheduleMessagePayload(text));
  });
  while (sent.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready)
    QCoreApplication::processEvents();
  EXPECT_EQ(sent.get(), window->handle());
  EXPECT_EQ(foundation::GetCopyDataText(hWnd), text);

  foundation::SubClassUnhook(hWnd);
  receiver.reset();
  window.reset();
  platform::SetWindowRegistryFolder("");
}

}  // namespace
}  // namespace companion
