#include "devices/fct_serial.h"

#include <gtest/gtest.h>

#include <memory>

#include "foundation/debug_log.h"
#include "foundation/lang_mode.h"
#include "foundation/settings_store.h"
#include "foundation/user_dialogs.h"
#include "tests/devices/pty_pair.h"
#include "tests/fakes/platform/fake_dialog_service.h"
#include "tests/support/app_test_env.h"
#include "tests/support/scoped_env.h"

namespace devices {
namespace {

TEST(OpenComBySettingsTest, PortsFromTheSettings) {
  testsupport::AppTestEnv env;
  platform::FakeDialogService dialogs;
  foundation::SetDialogService(&dialogs);
  testsupport::PtyPair pty;
  ASSERT_TRUE(pty.ok());
  testsupport::ScopedEnv com3("ONDRAKE_COM3", pty.path().c_str());
  testsupport::ScopedEnv com5("ONDRAKE_COM5", "/nonexistent/tty");
  foundation::SaveSettingValue("ComNo_2", 3);
  foundation::SaveSettingValue("ComBaud_2", 9600);
  foundation::SaveSettingValue("ComNo_3", 5);

  foundation::DebugLog log;
  std::unique_ptr<C_Com> port;
  EXPECT_EQ(OpenComBySettings(log, port, kComModeLink, "_1"), 0);  // ComNo 0: not used
  EXPECT_TRUE(dialogs.messageBoxes.empty());
  ASSERT_EQ(OpenComBySettings(log, port, kComModeLink, "_2"), 1);
  EXPECT_EQ(port->BaudRate(), 9600);
  EXPECT_EQ(port->DataSize(), 1);
  ASSERT_EQ(OpenComBySettings(log, port, kComModeLink, "_2", -1, -1, 37), 1);  // the old one closed
  EXPECT_EQ(port->DataSize(), 37);

  for (const int32_t lang : {foundation::kLangJapanese, foundation::kLangEnglish}) {
    foundation::SetLangModeForTest(lang);
    EXPECT_EQ(OpenComBySettings(log, port, kComModeLink, "_3"), 0);
  }
  ASSERT_EQ(dialogs.messageBoxes.size(), 2u);
  EXPECT_EQ(dialogs.messageBoxes[0].prompt, "Com5が開けません");
  EXPECT_EQ(dialogs.messageBoxes[1].prompt, "Can not open Com5");
  foundation::ResetLangModeForTest();
  foundation::SetDialogService(nullptr);

  EXPECT_EQ(BaudRateList().size(), 13u);
  EXPECT_EQ(ComPortList(),
            (std::vector<std::string>{"NA", "Com1", "Com2", "Com3", "Com4", "Com5", "Com6"}));
}

}  // namespace
}  // namespace devices
