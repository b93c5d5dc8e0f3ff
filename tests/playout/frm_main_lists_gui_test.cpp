// Test labels: threads (the real-time virtual wave device's ticker)
// The main window's three lists: their layout kept in the settings between two starts, the
// operator moving and widening columns, and the lists at work.
#include <QMenu>
#include <QSignalSpy>

#include "controls/lists/view/uc_list_view.h"
#include "controls/widgets/view/uc_buttons.h"
#include "tests/playout/engine_fixture.h"
#include "tests/playout/frm_main_rig.h"

namespace playouttest {
namespace {

using playout::kListLoad;
using playout::kListOnAir;
using playout::kListQueue;

constexpr int kTpp = 15;

lists::UC_ListView& Lv(FrmMainRig& rig, int32_t i) { return *rig.window->Controls().LVS[i]; }

std::vector<int32_t> Orders(const lists::UC_ListView& lv) {
  std::vector<int32_t> out;
  for (int32_t j = 0; j < lv.NumData(); ++j) out.push_back(lv.TabOrder(j));
  return out;
}

// The value of `key` in an INI text, "missing" when it has none.
std::string Key(const std::string& ini, const std::string& key) {
  const size_t at = ini.find("\r\n" + key + "=");
  if (at == std::string::npos) return "missing";
  const size_t from = at + key.size() + 3;
  return ini.substr(from, ini.find("\r\n", from) - from);
}

// The column layout lines of an INI text, to start a second window with.
std::string LayoutLines(const std::string& ini) {
  std::string out;
  for (size_t at = 0; at < ini.size();) {
    const size_t end = ini.find("\r\n", at);
    const std::string line = ini.substr(at, end - at);
    if (line.rfind("Tab", 0) == 0 || line.rfind("ShowColumn_", 0) == 0) out += line + "\r\n";
    if (end == std::string::npos) break;
    at = end + 2;
  }
  return out;
}

// A point in the middle of row slot `slot` of a list's rows area.
QPoint RowPoint(const lists::UC_ListView& lv, int32_t slot) {
  return QPoint(100, (slot * lv.OneHeight() + lv.OneHeight() / 2) / kTpp + 4);
}

TEST(FrmMainListsGuiTest, LayoutKeptBetweenStarts) {
  std::string saved;
  {
    FrmMainRig rig;
    // An order that setting each column's position in turn would not give back.
    rig.Ini(
        "TabOrder_LVS_1_1=2\r\nTabOrder_LVS_1_2=0\r\nTabOrder_LVS_1_3=1\r\n"
        "TabOrder_LVS_1_4=5\r\nTabOrder_LVS_1_5=3\r\nTabOrder_LVS_1_6=4\r\n"
        "TabWidth_LVS_1_1=900\r\nTabWidth_LVS_1_6=2400\r\nTabWidth_LVS_3_1=1200\r\n"
        "ShowColumn_3=0\r\n");
    playout::FrmMain& w = rig.Start();
    rig.Show();
    for (int32_t i = 0; i < playout::kListCount; ++i) {
      SCOPED_TRACE(i);
      const lists::UC_ListView& lv = Lv(rig, i);
      EXPECT_EQ(Orders(lv), (std::vector<int32_t>{2, 0, 1, 5, 3, 4}));
      EXPECT_EQ(lv.TabName(0), "時刻");
      // Column 2 is hidden in every list: zero wide where the column before it ends.
      const lists::ListColumn* hidden = lv.Model().Columns().Column(2);
      EXPECT_EQ(hidden->TabLeft, hidden->TabRight);
    }
    lists::UC_ListView& onAir = Lv(rig, kListOnAir);
    EXPECT_EQ(onAir.TabWidth(0), 900);
    EXPECT_EQ(onAir.TabWidth(1), 600);
    EXPECT_EQ(Lv(rig, kListLoad).TabWidth(0), 1200);
    // Position 0 holds column 1, then column 2 (hidden), then column 0.
    EXPECT_EQ(onAir.Model().Columns().Column(1)->TabLeft, 0);
    EXPECT_EQ(onAir.Model().Columns().Column(0)->TabLeft, 600);

    // The operator moves column 5 to the left edge of the on-air list and widens column 0.
    QSignalSpy reordered(&onAir, &lists::UC_ListView::TabReOrderd);
    const double col5 = onAir.Model().Columns().Column(5)->TabLeft + 300.0;
    QTest::mouseClick(&onAir.PictureTab(), Qt::RightButton, {}, QPoint(int(col5 / kTpp), 8));
    onAir.MenuRCTab().actions()[0]->trigger();
    onAir.MenuRCTab().hide();
    EXPECT_EQ(reordered.count(), 1);
    EXPECT_EQ(onAir.TabOrder(5), 0);
    const int border = onAir.Model().Columns().Column(0)->TabRight / kTpp;
    QTest::mouseMove(&onAir.PictureTab(), QPoint(border, 8));
    ASSERT_EQ(onAir.MousePointer(), 9);
    QTest::mousePress(&onAir.PictureTab(), Qt::LeftButton, {}, QPoint(border, 8));
    QTest::mouseMove(&onAir.PictureTab(), QPoint(border + 40, 8));
    QTest::mouseRelease(&onAir.PictureTab(), Qt::LeftButton, {}, QPoint(border + 40, 8));
    EXPECT_EQ(onAir.TabWidth(0), 900 + 40 * kTpp + 3 * kTpp);
    // The queue took the on-air list's widths.
    for (int32_t j = 0; j < 6; ++j) EXPECT_EQ(Lv(rig, kListQueue).TabWidth(j), onAir.TabWidth(j));
    rig.dialogs.messageBoxAnswers = {platform::kIdYes};
    w.close();
    ASSERT_TRUE(w.Unloaded());
    saved = rig.IniText();
  }
  // What was saved: widths of all three lists, the order of the on-air list only.
  const std::vector<int32_t> moved = {3, 1, 2, 5, 4, 0};
  for (int32_t j = 1; j <= 6; ++j) {
    const std::string n = std::to_string(j);
    EXPECT_EQ(Key(saved, "TabOrder_LVS_1_" + n), std::to_string(moved[static_cast<size_t>(j - 1)]));
    EXPECT_EQ(Key(saved, "TabWidth_LVS_2_" + n), Key(saved, "TabWidth_LVS_1_" + n));
    EXPECT_NE(Key(saved, "TabWidth_LVS_3_" + n), "missing");
  }
  EXPECT_EQ(Key(saved, "TabWidth_LVS_1_1"), "1545");
  EXPECT_EQ(Key(saved, "TabWidth_LVS_1_3"), "600");  // a hidden column keeps its width
  EXPECT_EQ(saved.find("TabOrder_LVS_2_"), std::string::npos);
  EXPECT_EQ(saved.find("TabOrder_LVS_3_"), std::string::npos);

  FrmMainRig again;
  again.Ini(LayoutLines(saved));
  again.Start();
  for (int32_t i = 0; i < playout::kListCount; ++i) EXPECT_EQ(Orders(Lv(again, i)), moved);
  EXPECT_EQ(Lv(again, kListOnAir).TabWidth(0), 1545);
  EXPECT_EQ(Lv(again, kListQueue).TabWidth(0), 1545);
  EXPECT_EQ(Lv(again, kListLoad).TabWidth(0), 1200);
}

TEST(FrmMainListsGuiTest, AnOrderThatIsNoPermutationFallsBackToTheDefault) {
  FrmMainRig rig;
  rig.Ini(
      "TabOrder_LVS_1_1=1\r\nTabOrder_LVS_1_2=1\r\nTabOrder_LVS_1_3=2\r\n"
      "TabOrder_LVS_1_4=3\r\nTabOrder_LVS_1_5=9\r\nTabOrder_LVS_1_6=x\r\n");
  rig.Start();
  for (int32_t i = 0; i < playout::kListCount; ++i) {
    EXPECT_EQ(Orders(Lv(rig, i)), (std::vector<int32_t>{0, 1, 2, 3, 4, 5}));
  }
}

// The on-air list shows one row, never a bar, and ignores clicks; the queue has no header; the
// load list selects one row at a time, also with Shift, and the queue is filled from it.
TEST(FrmMainListsGuiTest, ListsAtWork) {
  FrmMainRig rig;
  rig.Ini();
  playout::FrmMain& w = rig.Start();
  rig.Show();
  std::vector<Entry> entries;
  for (int32_t r = 0; r < 30; ++r) {
    entries.push_back({"23:" + std::to_string(20 + r) + ":00", "1", "1", "30000", "",
                       "spot" + std::to_string(r) + ".wav"});
  }
  rig.Deliver(Message(entries));
  lists::UC_ListView& onAir = Lv(rig, kListOnAir);
  lists::UC_ListView& queue = Lv(rig, kListQueue);
  lists::UC_ListView& load = Lv(rig, kListLoad);
  EXPECT_TRUE(queue.PictureTab().isHidden());
  EXPECT_EQ(queue.PictureList().y(), 2);

  w.Controls().MenuLoad->trigger();
  QTest::mouseClick(&load.PictureList(), Qt::LeftButton, {}, RowPoint(load, 2));
  QTest::mouseClick(&load.PictureList(), Qt::LeftButton, Qt::ShiftModifier, RowPoint(load, 5));
  EXPECT_EQ(load.NumSelectedItems(), 1);
  EXPECT_EQ(load.SelectedItem(), 5);
  emit w.Controls().LoadButton->ButtonClicked(0);
  ASSERT_EQ(queue.ItemCount(), 25);
  EXPECT_EQ(playout::ConstPlayRow(queue.Model(), 0).StartTime(),
            playout::ConstPlayRow(load.Model(), 5).StartTime());
  queue.Refresh();
  EXPECT_TRUE(queue.VBar()->Visible());
  queue.ShowItem(24);
  EXPECT_EQ(queue.TopItem(), queue.VBar()->Max());

  onAir.AddItem(3);
  onAir.Refresh();
  EXPECT_EQ(onAir.VisibleRows(), 1);
  EXPECT_FALSE(onAir.VBar()->Visible());
  EXPECT_TRUE(onAir.VBar()->IsSlider());
  QTest::mouseClick(&onAir.PictureList(), Qt::LeftButton, {}, RowPoint(onAir, 0));
  EXPECT_EQ(onAir.SelectedItem(), -1);
}

}  // namespace
}  // namespace playouttest
