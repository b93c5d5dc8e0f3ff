#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "foundation/app_globals.h"
#include "foundation/view/widget_placement.h"
#include "foundation/window_placement.h"
#include "tests/support/app_globals_reset.h"

namespace foundation {
namespace {

TEST(WidgetPlacement, TwipsMapToPixelsAndStates) {
  testsupport::ResetAppGlobals();
  QWidget window;
  window.move(40, 60);
  window.resize(640, 480);
  WidgetPlacementForm form(window);
  EXPECT_EQ(form.Left(), 600);
  EXPECT_EQ(form.Height(), 7200);

  form.SetLeft(1507.5);  // 100.5 px: halves go to even
  form.SetTop(-30);
  form.SetHeight(-100);  // no negative sizes
  EXPECT_EQ(window.x(), 100);
  EXPECT_EQ(window.y(), -2);
  EXPECT_GE(window.height(), 0);

  for (int16_t state :
       {PlacementForm::kMaximized, PlacementForm::kMinimized, PlacementForm::kNormal}) {
    form.SetWindowState(state);
    EXPECT_EQ(form.WindowState(), state);
  }
}

TEST(WidgetPlacement, DesktopExtentFromTheScreens) {
  testsupport::ResetAppGlobals();
  InstallScreenMonitorProvider();
  int right = 0;
  int bottom = 0;
  for (const QScreen* screen : QGuiApplication::screens()) {
    right = std::max(right, screen->geometry().x() + screen->geometry().width());
    bottom = std::max(bottom, screen->geometry().y() + screen->geometry().height());
  }
  ASSERT_GT(right, 0);
  EXPECT_EQ(GetDesktopExtent(0, true), right);
  EXPECT_EQ(GetDesktopExtent(1, false), bottom * 15);
  SetMonitorProvider({});
}

}  // namespace
}  // namespace foundation
