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
#include "platform/fake_dialog_service.h"
#include "platform/wave_out_backend.h"
#include "platform/wave_out_virtual.h"
#include "tests/support/temp_dir.h"

namespace audio {
namespace {

// A process with a scripted device list, a fake dialog service and a debug log in a temp
// folder.
class WaveDevices : public testing::Test {
 protected:
  void SetUp() override {
    foundation::ResetGlobalsForTest();
    foundation::Globals().LogError = 1;
    foundation::Globals().DebugLogPath = dir_.path() + "/";
    foundation::SetDialogService(&dialogs_);
    platform::VirtualWaveOutOptions options;
    options.outputs = {"default", "Speakers (2- USB Audio Device)", "1- Line Out"};
    options.inputs = {"Mic (USB)", "Line In"};
    platform::SetCurrentWaveOut(std::make_shared<platform::VirtualWaveOut>(options));
  }
  void TearDown() override {
    platform::SetCurrentWaveOut(nullptr);
    foundation::SetDialogService(nullptr);
    foundation::ResetGlobalsForTest();
  }
  std::string Log(int32_t kind) {
    return platform::Cp932ToUtf8(testsupport::ReadWholeFile(foundation::DebugLogFilePath(kind)));
  }

  testsupport::TempDir dir_;
  platform::FakeDialogService dialogs_;
};

TEST_F(WaveDevices, FindByNameReportsAMissingDevice) {
  // Found (outputs and inputs each in their own list) or a number: no box, no log.
  EXPECT_EQ(FindWaveDeviceByName(0, "SPEAKERS (USB AUDIO DEVICE)", 1), 1);
  EXPECT_EQ(FindWaveDeviceByName(1, "line in", 1), 1);
  EXPECT_EQ(FindWaveDeviceByName(0, "-1", 1), -1);
  EXPECT_TRUE(dialogs_.messageBoxes.empty());
  EXPECT_EQ(Log(0), "");

  EXPECT_EQ(FindWaveDeviceByName(0, "HDMI Out", 0), -1);
  EXPECT_TRUE(dialogs_.messageBoxes.empty()) << "message flag 0: log only";
  EXPECT_EQ(FindWaveDeviceByName(1, "HDMI In", 1), -1);
  ASSERT_EQ(dialogs_.messageBoxes.size(), 1u);
  EXPECT_EQ(dialogs_.messageBoxes[0].prompt, std::string(kDeviceNotFoundText) + "\r\nHDMI In");
  EXPECT_EQ(dialogs_.messageBoxes[0].style, platform::kMbOk | platform::kMbIconStop);
  EXPECT_EQ(dialogs_.messageBoxes[0].title, "Ondrake");
  const std::string log = Log(0);
  EXPECT_NE(log.find(std::string(kDeviceNotFoundText) + " HDMI Out\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find(std::string(kDeviceNotFoundText) + " HDMI In\r\n"), std::string::npos) << log;

  // Without any device the first one is taken, quietly.
  platform::VirtualWaveOutOptions none;
  none.outputs = {};
  platform::SetCurrentWaveOut(std::make_shared<platform::VirtualWaveOut>(none));
  EXPECT_EQ(FindWaveDeviceByName(0, "HDMI Out", 1), 0);
  EXPECT_EQ(dialogs_.messageBoxes.size(), 1u);
}

TEST_F(WaveDevices, ErrorTextsGoToTheLogOrABox) {
  EXPECT_EQ(ShowWaveError(0, 1, 0), 0);
  EXPECT_TRUE(dialogs_.messageBoxes.empty());

  EXPECT_EQ(ShowWaveError(platform::kWaveBadFormat, 1, 0), 1);
  ASSERT_EQ(dialogs_.messageBoxes.size(), 1u);
  EXPECT_EQ(dialogs_.messageBoxes[0].prompt, platform::WaveOutErrorText(platform::kWaveBadFormat));
  EXPECT_EQ(dialogs_.messageBoxes[0].title, "Ondrake");

  EXPECT_EQ(ShowWaveError(platform::kWaveAllocated, 0, 1), 1);
  EXPECT_EQ(dialogs_.messageBoxes.size(), 1u);
  EXPECT_NE(Log(1).find(platform::WaveInErrorText(platform::kWaveAllocated)), std::string::npos);
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
  platform::SetCurrentWaveOut(std::make_shared<platform::VirtualWaveOut>(none));
  FillWaveDeviceCombo(&box, 0, "default", 1);
  EXPECT_EQ(box.count(), 0);
}

}  // namespace
}  // namespace audio
