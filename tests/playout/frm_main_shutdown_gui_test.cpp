// Test labels: threads (the real-time virtual wave device's ticker)
// Closing the real main window: the question, the system's closes, and the unload's steps.
#include <QSignalSpy>
#include <csignal>

#include "controls/lists/view/uc_list_view.h"
#include "platform/window_registry.h"
#include "tests/playout/frm_main_rig.h"

namespace playouttest {
namespace {

// The operator closes the window: "No" keeps it running, "Yes" unloads it. The unload stores
// the lists' layout and the window's place, deletes the on-air snapshot, logs the normal end
// and gives the session's caption back.
TEST(FrmMainShutdownGuiTest, QuestionThenUnload) {
  FrmMainRig rig;
  rig.Ini();
  playout::FrmMain& w = rig.Start();
  rig.Show();
  QSignalSpy closed(&w, &playout::FrmMain::Closed);
  rig.dialogs.messageBoxAnswers = {platform::kIdNo, platform::kIdYes};
  w.close();
  ASSERT_EQ(rig.dialogs.messageBoxes.size(), 1u);
  const platform::MessageBoxRequest& asked = rig.dialogs.messageBoxes[0];
  EXPECT_EQ(asked.prompt, "終了しますか？");
  EXPECT_EQ(asked.title, "Ondrake");
  EXPECT_EQ(asked.style, platform::kMbYesNo | platform::kMbIconQuestion);
  EXPECT_FALSE(w.Unloaded());
  EXPECT_TRUE(w.isVisible());
  EXPECT_TRUE(w.TimerClock().isActive());

  const std::string snapshot = w.Engine().SnapshotPath();
  const std::string schedName = rig.station() + "sched/out_01A.cue";
  rig.env.dir().WriteFile("station/log/out_01A.cue", "x");
  rig.env.dir().WriteFile("station/sched/out_01A.cue", "x");
  ASSERT_TRUE(testsupport::PathExists(snapshot));
  w.Controls().LVS[playout::kListOnAir]->SetTabWidth(0, 1234);
  w.Controls().LVS[playout::kListLoad]->SetTabWidth(5, 4321);
  w.Controls().LVS[playout::kListOnAir]->SetTabOrder(0, 1);
  w.Controls().LVS[playout::kListOnAir]->SetTabOrder(1, 0);
  w.resize(w.width() + 40, w.height());
  QCoreApplication::processEvents();
  const int width = w.width();
  w.close();
  EXPECT_EQ(rig.dialogs.messageBoxes.size(), 2u);
  EXPECT_TRUE(w.Unloaded());
  EXPECT_EQ(closed.count(), 1);
  EXPECT_FALSE(w.TimerClock().isActive());
  // No pass runs once the unload has begun.
  const int64_t passes = w.PassCount();
  QTest::qWait(200);
  EXPECT_EQ(w.PassCount(), passes);

  const std::string ini = rig.IniText();
  for (const std::string& line :
       {std::string("TabWidth_LVS_1_1=1234\r\n"), std::string("TabWidth_LVS_3_6=4321\r\n"),
        std::string("TabOrder_LVS_1_1=1\r\n"), std::string("TabOrder_LVS_1_2=0\r\n"),
        "WindowWidth=" + std::to_string(width * 15) + "\r\n"}) {
    EXPECT_NE(ini.find(line), std::string::npos) << line;
  }
  EXPECT_FALSE(testsupport::PathExists(snapshot));
  EXPECT_FALSE(testsupport::PathExists(schedName));
  const std::string log = rig.DebugLog();
  EXPECT_LT(log.find("****起動****"), log.find("****正常終了****"));
  EXPECT_NE(log.find("****正常終了****"), std::string::npos);
  EXPECT_FALSE(platform::FindWindowExact("Ondrake - Tarnwick"));
  EXPECT_EQ(foundation::FindSubClassIndex(w.WindowHandle()), -1);
}

// SIGTERM and SIGINT are closes by the system: no question, the whole unload.
TEST(FrmMainShutdownGuiTest, SignalsCloseWithoutAQuestion) {
  for (const int signo : {SIGTERM, SIGINT}) {
    SCOPED_TRACE(signo);
    FrmMainRig rig;
    rig.Ini();
    playout::FrmMain& w = rig.Start();
    rig.Show();
    ::raise(signo);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.Unloaded(); }));
    EXPECT_TRUE(rig.dialogs.messageBoxes.empty());
    EXPECT_NE(rig.DebugLog().find("****正常終了****"), std::string::npos);
    EXPECT_FALSE(platform::FindWindowExact("Ondrake - Tarnwick"));
  }
}

}  // namespace
}  // namespace playouttest
