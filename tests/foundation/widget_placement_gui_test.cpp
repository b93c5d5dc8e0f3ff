#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "foundation/app_globals.h"
#include "foundation/view/widget_placement.h"
#include "foundation/window_placement.h"

namespace foundation {
namespace {

TEST(WidgetPlacement, TwipsMapToPixelsAndStates) {
  ResetGlobalsForTest();
  QWidget window;
  window.move(40, 60);
  window.resize(640, 480);
  WidgetPlacementForm form(window);
  EXPECT_EQ(form.Left(), 600);
  EXPECT_EQ(form.Top(), 900);
  EXPECT_EQ(form.Width(), 9600);
  EXPECT_EQ(form.Height(), 7200);
  EXPECT_EQ(form.WindowState(), PlacementForm::kNormal);

  form.SetLeft(1507.5);  // 100.5 px: halves go to even
  form.SetTop(-30);
  form.SetWidth(4500);
  form.SetHeight(-100);  // no negative sizes
  EXPECT_EQ(window.x(), 100);
  EXPECT_EQ(window.y(), -2);
  EXPECT_EQ(window.width(), 300);
  EXPECT_GE(window.height(), 0);

  form.SetWindowState(PlacementForm::kMaximized);
  EXPECT_EQ(form.WindowState(), PlacementForm::kMaximized);
  form.SetWindowState(PlacementForm::kMinimized);
  EXPECT_EQ(form.WindowState(), PlacementForm::kMinimized);
  form.SetWindowState(PlacementForm::kNormal);
  EXPECT_EQ(form.WindowState(), PlacementForm::kNormal);
}

TEST(WidgetPlacement, DesktopExtentFromTheScreens) {
  ResetGlobalsForTest();
  InstallScreenMonitorProvider();
  int right = 0;
  int bottom = 0;
  for (const QScreen* screen : QGuiApplication::screens()) {
    right = std::max(right, screen->geometry().x() + screen->geometry().width());
    bottom = std::max(bottom, screen->geometry().y() + screen->geometry().height());
  }
  ASSERT_GT(right, 0);
  EXPECT_EQ(GetDesktopExtent(0, true), right);
  EXPECT_EQ(GetDesktopExtent(1, true), bottom);
  EXPECT_EQ(GetDesktopExtent(0, false), right * 15);
  SetMonitorProvider({});
}

}  // namespace
}  // namespace foundation
