#include <gtest/gtest.h>

#include <QComboBox>
#include <memory>
#include <string>

#include "audio/view/wave_device_combo.h"
#include "audio/wave_devices.h"
#include "foundation/app_globals.h"
#include "foundation/debug_log.h"
#include "foundation/user_dialogs.h"
#include "platform/cp932.h"
#include "platform/wave_out_backend.h"
#include "platform/wave_out_virtual.h"
#include "tests/fakes/platform/fake_dialog_service.h"
#include "tests/support/app_globals_reset.h"
#include "tests/support/temp_dir.h"

namespace audio {
namespace {

// A process with a scripted device list, a fake dialog service and a debug log in a temp
// folder.
class WaveDevices : public testing::Test {
 protected:
  void SetUp() override {
    testsupport::ResetAppGlobals();
    foundation::Globals().LogError = 1;
    foundation::Globals().DebugLogPath = dir_.path() + "/";
    foundation::SetDialogService(&dialogs_);
    platform::VirtualWaveOutOptions options;
    options.outputs = {"default", "Speakers (2- USB Audio Device)", "1- Line Out"};
    options.inputs = {"Mic (USB)", "Line In"};
    platform::SetCurrentWaveOut(
        std::make_shared<platform::VirtualWaveOut>(platform::StandardErrorLog(), options));
  }
  void TearDown() override {
    platform::SetCurrentWaveOut(nullptr);
    foundation::SetDialogService(nullptr);
    testsupport::ResetAppGlobals();
  }
  std::string Log(platform::LogSeverity severity) {
    return platform::Cp932ToUtf8(
        testsupport::ReadWholeFile(foundation::DebugLogFilePath(severity)));
  }

  testsupport::TempDir dir_;
  platform::FakeDialogService dialogs_;
  foundation::DebugLog log_;
};

TEST_F(WaveDevices, FindByNameReportsAMissingDevice) {
  // Found (outputs and inputs each in their own list) or a number: no box, no log.
  EXPECT_EQ(FindWaveDeviceByName(log_, 0, "SPEAKERS (USB AUDIO DEVICE)", 1), 1);
  EXPECT_EQ(FindWaveDeviceByName(log_, 1, "line in", 1), 1);
  EXPECT_EQ(FindWaveDeviceByName(log_, 0, "-1", 1), -1);
  EXPECT_TRUE(dialogs_.messageBoxes.empty());
  EXPECT_EQ(Log(platform::LogSeverity::kInfo), "");

  EXPECT_EQ(FindWaveDeviceByName(log_, 0, "HDMI Out", 0), -1);
  EXPECT_TRUE(dialogs_.messageBoxes.empty()) << "message flag 0: log only";
  EXPECT_EQ(FindWaveDeviceByName(log_, 1, "HDMI In", 1), -1);
  ASSERT_EQ(dialogs_.messageBoxes.size(), 1u);
  EXPECT_EQ(dialogs_.messageBoxes[0].prompt, std::string(kDeviceNotFoundText) + "\r\nHDMI In");
  EXPECT_EQ(dialogs_.messageBoxes[0].style, platform::kMbOk | platform::kMbIconStop);
  EXPECT_EQ(dialogs_.messageBoxes[0].title, "Ondrake");
  const std::string log = Log(platform::LogSeverity::kInfo);
  EXPECT_NE(log.find(std::string(kDeviceNotFoundText) + " HDMI Out\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find(std::string(kDeviceNotFoundText) + " HDMI In\r\n"), std::string::npos) << log;

  // Without any device the first one is taken, quietly.
  platform::VirtualWaveOutOptions none;
  none.outputs = {};
  platform::SetCurrentWaveOut(
      std::make_shared<platform::VirtualWaveOut>(platform::StandardErrorLog(), none));
  EXPECT_EQ(FindWaveDeviceByName(log_, 0, "HDMI Out", 1), 0);
  EXPECT_EQ(dialogs_.messageBoxes.size(), 1u);
}

TEST_F(WaveDevices, ErrorTextsGoToTheLogOrABox) {
  EXPECT_EQ(ShowWaveError(log_, 0, 1, 0), 0);
  EXPECT_TRUE(dialogs_.messageBoxes.empty());

  EXPECT_EQ(ShowWaveError(log_, platform::kWaveBadFormat, 1, 0), 1);
  ASSERT_EQ(dialogs_.messageBoxes.size(), 1u);
  EXPECT_EQ(dialogs_.messageBoxes[0].prompt, platform::WaveOutErrorText(platform::kWaveBadFormat));
  EXPECT_EQ(dialogs_.messageBoxes[0].title, "Ondrake");

  EXPECT_EQ(ShowWaveError(log_, platform::kWaveAllocated, 0, 1), 1);
  EXPECT_EQ(dialogs_.messageBoxes.size(), 1u);
  EXPECT_NE(
      Log(platform::LogSeverity::kError).find(platform::WaveInErrorText(platform::kWaveAllocated)),
      std::string::npos);
}

TEST_F(WaveDevices, ComboListsDevicesAndSelectsTheNamedOne) {
  QComboBox box;
  box.addItem("stale");
  FillWaveDeviceCombo(&box, 0, "Speakers (3- USB Audio Device)", 0);
  ASSERT_EQ(box.count(), 3);
  EXPECT_EQ(box.itemText(2).toStdString(), "1- Line Out");
  EXPECT_EQ(box.currentIndex(), 1);

  FillWaveDeviceCombo(&box, 1, " LINE IN ", 0);
  ASSERT_EQ(box.count(), 2);
  EXPECT_EQ(box.currentIndex(), 1);

  FillWaveDeviceCombo(&box, 0, "hdmi", 0);
  EXPECT_EQ(box.currentIndex(), -1);
  FillWaveDeviceCombo(&box, 0, "", 1);
  EXPECT_EQ(box.currentIndex(), 0);

  platform::VirtualWaveOutOptions none;
  none.outputs = {};
  platform::SetCurrentWaveOut(
      std::make_shared<platform::VirtualWaveOut>(platform::StandardErrorLog(), none));
  FillWaveDeviceCombo(&box, 0, "default", 1);
  EXPECT_EQ(box.count(), 0);
}

}  // namespace
}  // namespace audio
