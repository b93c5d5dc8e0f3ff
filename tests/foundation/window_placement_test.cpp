#include "foundation/window_placement.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "foundation/app_globals.h"
#include "foundation/debug_log.h"
#include "platform/file_system.h"
#include "tests/support/app_test_env.h"

namespace foundation {
namespace {

using testsupport::FakeForm;
using testsupport::ReadWholeFile;

// A program with its settings in an INI file and one full-HD monitor at 15 twips per pixel
// (28800 x 16200 twips).
class PlacementTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ini_ = Store("[conf]\r\n");
    Globals().IniPath = ini_;
    SetMonitorProvider([] { return std::vector<MonitorRect>{{0, 0, 1920, 1080}}; });
  }
  std::string Store(const std::string& text) {
    return env_.dir().WriteFile("bin/Ondrake.ini", text);
  }

  testsupport::AppTestEnv env_;
  std::string ini_;
};

TEST_F(PlacementTest, DesktopExtentIsTheUnionOfMonitorsAndKept) {
  EXPECT_EQ(GetDesktopExtent(0, false), 28800);
  EXPECT_EQ(GetDesktopExtent(2, true), 0);

  int calls = 0;
  SetMonitorProvider([&calls] {
    ++calls;
    return std::vector<MonitorRect>{
        {0, 0, 1920, 1080}, {1920, -200, 3200, 824}, {-1280, 0, 0, 1200}};
  });
  EXPECT_EQ(GetDesktopExtent(0, true), 3200);
  EXPECT_EQ(GetDesktopExtent(1, true), 1200);
  EXPECT_EQ(calls, 1) << "monitors are looked up once";

  // Nothing known yet: asked again next time.
  calls = 0;
  SetMonitorProvider([&calls] {
    ++calls;
    return std::vector<MonitorRect>{};
  });
  EXPECT_EQ(GetDesktopExtent(0, false), 0);
  EXPECT_EQ(GetDesktopExtent(0, false), 0);
  EXPECT_EQ(calls, 2);
}

TEST_F(PlacementTest, StoredPositionIsKeptOnTheDesktop) {
  struct Case {
    const char* stored;
    double left, top;
  };
  // Limits: right edge 28800 - 600, bottom edge 16200 - 900.
  const Case cases[] = {
      {"WindowLeft=28200\r\nWindowTop=15300", 28200, 15300},
      {"WindowLeft=28201\r\nWindowTop=15301", 0, 0},
      {"WindowLeft=-15\r\nWindowTop=-1", 0, 0},
      {"WindowLeft=1200.5\r\nWindowTop=1201.5", 1200, 1202},
      {"WindowLeft=junk\r\nWindowTop=1e12", 300, 450},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    Store(std::string("[conf]\r\n") + c.stored + "\r\n");
    FakeForm form(300, 450);
    LoadWindowPlacement(form, "", false, false, false);
    EXPECT_EQ(form.left, c.left);
    EXPECT_EQ(form.top, c.top);
  }
}

TEST_F(PlacementTest, MissingKeysAreWrittenWithTheFormsValues) {
  FakeForm form(120, 240, 9000, 6000.5);
  LoadWindowPlacement(form, "Dlg", false, false, false);
  EXPECT_EQ(ReadWholeFile(ini_),
            "[conf]\r\nWindowLeftDlg=120\r\nWindowTopDlg=240\r\nWindowHeightDlg=6000.5\r\n"
            "WindowWidthDlg=9000\r\nWindowStateDlg=0\r\n");

  // The keep flags leave their keys alone.
  Store("[conf]\r\n");
  LoadWindowPlacement(form, "", true, true, true);
  EXPECT_EQ(ReadWholeFile(ini_), "[conf]\r\n");
  SaveWindowPlacement(form, "", true, true);
  EXPECT_EQ(ReadWholeFile(ini_), "[conf]\r\nWindowLeft=120\r\nWindowTop=240\r\n");
}

TEST_F(PlacementTest, MaximisedWindowKeepsItsNormalPlacement) {
  FakeForm form(1500, 900, 12000, 8000);
  SaveWindowPlacement(form);
  // Maximised at shutdown: the normal placement in the store stays.
  form = FakeForm(0, 0, 28800, 16200);
  form.state = PlacementForm::kMaximized;
  SaveWindowPlacement(form);
  EXPECT_EQ(ReadWholeFile(ini_),
            "[conf]\r\nWindowLeft=1500\r\nWindowTop=900\r\nWindowHeight=8000\r\n"
            "WindowWidth=12000\r\nWindowState=2\r\n");

  FakeForm next(10, 20);
  LoadWindowPlacement(next);
  EXPECT_EQ(next.left, 1500);
  EXPECT_EQ(next.width, 12000);
  EXPECT_EQ(next.state, PlacementForm::kMaximized);

  // A window that is not normal only takes the state; a state no window has is ignored.
  FakeForm minimised;
  minimised.state = PlacementForm::kMinimized;
  Store("[conf]\r\nWindowLeft=1500\r\nWindowState=7\r\n");
  LoadWindowPlacement(minimised);
  EXPECT_EQ(minimised.left, 0);
  EXPECT_EQ(minimised.state, PlacementForm::kMinimized);
}

// A window whose height cannot be set, as a view half torn down might be.
struct BrokenForm : FakeForm {
  using FakeForm::FakeForm;
  void SetHeight(double) override { throw std::runtime_error("no window"); }
};

TEST_F(PlacementTest, FailuresAreLoggedAndLeaveTheWindowAsItStands) {
  Globals().LogError = 1;
  Globals().DebugLogPath = env_.dir().Sub("log");
  const auto errors = [] { return ReadWholeFile(DebugLogFilePath(platform::LogSeverity::kError)); };

  // An error part-way keeps what was applied before it and goes no further.
  Store("[conf]\r\nWindowLeft=100\r\nWindowHeight=5000\r\nWindowState=2\r\n");
  BrokenForm broken(300, 450, 900, 600);
  LoadWindowPlacement(broken);
  EXPECT_EQ(broken.left, 100);
  EXPECT_EQ(broken.state, PlacementForm::kNormal);
  EXPECT_NE(errors().find("LoadWindowPlacement no window"), std::string::npos) << errors();

  // A store that cannot be written leaves it as it was, and says so.
  platform::SetReadOnly(Store("[conf]\r\n"), true);
  FakeForm form(10, 20, 30, 40);
  SaveWindowPlacement(form);
  EXPECT_EQ(ReadWholeFile(ini_), "[conf]\r\n");
  EXPECT_NE(errors().find("[conf] WindowLeft: "), std::string::npos) << errors();

  // A failing monitor look-up gives no extent.
  SetMonitorProvider([]() -> std::vector<MonitorRect> { throw std::runtime_error("no screen"); });
  EXPECT_EQ(GetDesktopExtent(0), 0);
  EXPECT_NE(errors().find("GetDesktopExtent no screen"), std::string::npos) << errors();
}

}  // namespace
}  // namespace foundation
