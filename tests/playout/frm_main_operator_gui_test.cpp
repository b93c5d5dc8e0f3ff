// Test labels: threads (the real-time virtual wave device's ticker)
// The operator's handlers of the real main window, reached through its controls' events.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPlainTextEdit>

#include "controls/lists/view/uc_list_view.h"
#include "controls/widgets/view/uc_buttons.h"
#include "controls/widgets/view/uc_text_picture.h"
#include "platform/view/picture_box.h"
#include "tests/playout/engine_fixture.h"
#include "tests/playout/frm_main_rig.h"

namespace playouttest {
namespace {

using playout::kListLoad;
using playout::kListOnAir;
using playout::kListQueue;

// Three items far ahead in the day, so that nothing starts by itself.
std::string ThreeItems() {
  return Message({{"23:50:00", "0", "1", "30000", "", "a.wav"},
                  {"23:51:00", "1", "1", "30000", "", "b.wav"},
                  {"23:52:00", "1", "1", "30000", "", "c.wav"}});
}

// A window with the three items received, queued from the first, ON AIR off.
class OperatorWindow {
 public:
  explicit OperatorWindow(const std::string& ini = "") {
    rig.Ini(ini);
    rig.Start();
    rig.Deliver(ThreeItems());
  }
  playout::FrmMain& w() { return *rig.window; }
  const playout::PlayoutState& state() { return w().Engine().State(); }
  const playout::FrmMainControls& c() { return w().Controls(); }
  lists::ListModel& list(int32_t i) { return w().Engine().LVS(i); }
  // A press and release of the left button on the ON AIR box.
  void ClickOnAir() {
    emit c().TextOA->MouseUD(1, true, 0);
    emit c().TextOA->MouseUD(1, false, 0);
  }

  FrmMainRig rig;
};

// Each click is checked before any pass can act on what it requested.
TEST(FrmMainOperatorGuiTest, OperatorStripAndOnAirBox) {
  OperatorWindow o("UseFade=1\r\n");
  ASSERT_EQ(o.list(kListQueue).ItemCount(), 3);
  o.ClickOnAir();
  EXPECT_EQ(o.state().OnAir, 1);
  EXPECT_EQ(o.c().TextOA->Model().CurrentSet, 1);
  // No remote device: button 0 is START.
  emit o.c().OPButtons->ButtonClicked(0);
  EXPECT_EQ(o.state().FSReq, 1);
  // STOP and FO while nothing plays do nothing.
  emit o.c().OPButtons->ButtonClicked(1);
  emit o.c().OPButtons->ButtonClicked(2);
  EXPECT_EQ(o.state().StopReq, 0);
  EXPECT_EQ(o.state().FadeOn, 0);
  // ON AIR off drops the START requested a moment ago.
  o.ClickOnAir();
  EXPECT_EQ(o.state().OnAir, 0);
  EXPECT_EQ(o.state().FSReq, 0);
  EXPECT_EQ(o.c().TextClock->TextMes(2), "OAオフ");
  EXPECT_EQ(o.c().TextOA->Model().CurrentSet, 0);
  const std::string log = o.rig.DebugLog();
  EXPECT_NE(log.find("OP FSReq"), std::string::npos);
  EXPECT_EQ(log.find("OP StopReq"), std::string::npos);
  EXPECT_EQ(log.find("OP FadeOnReq"), std::string::npos);
}

// The load panel: opened and closed by its menu, hidden by any of its buttons, loading from the
// chosen row of its list (also by a double click there, never on the queue).
TEST(FrmMainOperatorGuiTest, LoadPanel) {
  OperatorWindow o;
  QWidget& panel = *o.c().PictureLoad;
  const auto queueHeads = [&] { return playout::ConstPlayRow(o.list(kListQueue), 0).Path(); };
  o.c().MenuLoad->trigger();
  EXPECT_TRUE(panel.isVisibleTo(&o.w()));
  o.c().MenuLoad->trigger();
  EXPECT_FALSE(panel.isVisibleTo(&o.w()));

  const struct {
    const char* what;
    int32_t selectedRow;  // in the load list, -1 none
    int32_t button;       // of the panel; -1: a double click on `list`
    int32_t list;
    int32_t queueRows;
  } cases[] = {
      {"load without a row", -1, 0, 0, 3},
      {"cancel", 1, 1, 0, 3},
      {"double click on the queue", 1, -1, kListQueue, 3},
      {"load from row 1", 1, 0, 0, 2},
      {"double click on row 2", 2, -1, kListLoad, 1},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.what);
    o.c().MenuLoad->trigger();
    o.list(kListLoad).SetSelectedItem(k.selectedRow);
    if (k.button >= 0) {
      emit o.c().LoadButton->ButtonClicked(k.button);
    } else {
      emit o.c().LVS[k.list]->DblClicked();
    }
    EXPECT_EQ(o.list(kListQueue).ItemCount(), k.queueRows);
    const bool doubleClickOnQueue = k.button < 0 && k.list == kListQueue;
    EXPECT_EQ(panel.isVisibleTo(&o.w()), doubleClickOnQueue);
    if (doubleClickOnQueue) o.c().MenuLoad->trigger();
  }
  EXPECT_NE(queueHeads().find("c.wav"), std::string::npos);
  EXPECT_EQ(o.state().OnAir, 0);  // loading leaves ON AIR off
}

// Clicks on the lists: a right click clears the queue's selection, a column border dragged on
// the on-air list gives the queue its widths, the trace box shows the newest line first.
TEST(FrmMainOperatorGuiTest, ListsAndTrace) {
  OperatorWindow o;
  o.list(kListQueue).SetIsSelected(1, 1);
  emit o.c().LVS[kListOnAir]->RightClicked(0, 0);
  EXPECT_EQ(o.list(kListQueue).NumSelectedItems(), 1);
  emit o.c().LVS[kListQueue]->RightClicked(0, 0);
  EXPECT_EQ(o.list(kListQueue).NumSelectedItems(), 0);

  o.c().LVS[kListOnAir]->SetTabWidth(5, 2345);
  emit o.c().LVS[kListQueue]->TabMoved();
  EXPECT_NE(o.c().LVS[kListQueue]->TabWidth(5), 2345);
  emit o.c().LVS[kListOnAir]->TabMoved();
  EXPECT_EQ(o.c().LVS[kListQueue]->TabWidth(5), 2345);

  o.w().AddTraceLine("COM1 41");
  o.w().AddTraceLine("HID 7");
  const std::string trace = o.c().TextCom->toPlainText().toStdString();
  EXPECT_LT(trace.find("HID 7"), trace.find("COM1 41"));
}

// A channel button switches at once and the next pass completes the switch; the button of the
// live channel is selected.
TEST(FrmMainOperatorGuiTest, ChannelButtons) {
  OperatorWindow o;
  emit o.c().SWButtons->ButtonClicked(2);
  EXPECT_EQ(o.state().Switcher.SWClicked, 2);
  EXPECT_TRUE(QTest::qWaitFor([&] { return o.state().Switcher.CurSWCh == 3; }));
  EXPECT_EQ(o.c().SWButtons->SelectedButton(), 2);
  // From the menu: "FO/FI" on channel 5.
  emit o.c().SWButtons->RightClicked(4);
  o.c().MenuRCSWP->hide();
  o.c().MenuRCSWP->actions()[3]->trigger();
  EXPECT_NE(o.rig.DebugLog().find("SwitchChannel Start pIsOff=1 pFadeOn=1"), std::string::npos);
}

}  // namespace
}  // namespace playouttest
