#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

#include "audio/view/wave_error_box.h"
#include "audio/wave_error.h"
#include "foundation/app_globals.h"
#include "foundation/debug_log.h"
#include "platform/wave_out_device.h"
#include "tests/support/app_test_env.h"

namespace audio {
namespace {

TEST(WaveErrorBox, ShowsTheErrorWithoutHoldingUpTheCaller) {
  testsupport::AppTestEnv env;
  foundation::DebugLog log;
  QWidget owner;
  InstallWaveErrorBox(&owner);
  EXPECT_EQ(NotifyWaveError(log, 0), 0);
  EXPECT_TRUE(owner.findChildren<QMessageBox*>().isEmpty());

  // The call returns with the box up; no event loop ran in between.
  EXPECT_EQ(NotifyWaveError(log, platform::kWaveAllocated), 1);
  const auto boxes = owner.findChildren<QMessageBox*>();
  ASSERT_EQ(boxes.size(), 1);
  QMessageBox* box = boxes.front();
  EXPECT_TRUE(box->isVisible());
  EXPECT_FALSE(box->isModal());
  EXPECT_EQ(box->text().toStdString(), platform::WaveOutErrorText(platform::kWaveAllocated));
  EXPECT_EQ(box->windowTitle().toStdString(), foundation::Globals().ProgramTitle);
  box->close();
  SetWaveErrorNotifier(nullptr);
}

}  // namespace
}  // namespace audio
