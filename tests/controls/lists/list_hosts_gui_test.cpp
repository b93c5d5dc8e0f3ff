// The lists set up the way the playout, its settings dialog and the companion set theirs up,
// driven the way they drive them, and their layout kept in the settings between two starts.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QMenu>
#include <QSignalSpy>
#include <array>

#include "foundation/app_globals.h"
#include "foundation/list_layout_keys.h"
#include "foundation/server_config.h"
#include "foundation/settings_store.h"
#include "platform/cp932.h"
#include "tests/controls/lists/list_view_fixture.h"
#include "tests/controls/lists/playout_lists_fixture.h"
#include "tests/support/app_test_env.h"

namespace lists {
namespace {

using testing::AddScheduleRows;
using testing::kTpp;
using testing::PlayoutLists;
using testing::RowPoint;

class ListHostsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    foundation::Conf() = foundation::ConfTables{};
    foundation::SetColumnCaptions();
    foundation::Globals().IniPath = env_.programFolder() + "Ondrake.ini";
  }
  void TearDown() override { foundation::Conf() = foundation::ConfTables{}; }
  void WriteIni(const std::string& utf8) {
    env_.dir().WriteFile("bin/Ondrake.ini", platform::Utf8ToCp932("[conf]\r\n" + utf8));
  }
  std::string Ini() const {
    return platform::Cp932ToUtf8(testsupport::ReadWholeFile(foundation::Globals().IniPath));
  }
  std::string Key(const std::string& key) {
    return foundation::LoadSettingValue(key, foundation::SettingValue("missing"));
  }
  testsupport::AppTestEnv env_;
};

std::vector<int32_t> Orders(const UC_ListView& lv) {
  std::vector<int32_t> out;
  for (int32_t j = 0; j < lv.NumData(); ++j) out.push_back(lv.TabOrder(j));
  return out;
}

TEST_F(ListHostsTest, PlayoutListsKeepTheirLayoutBetweenStarts) {
  // An order that setting each column's position in turn would not give back.
  WriteIni(
      "TabOrder_LVS_1_1=2\r\nTabOrder_LVS_1_2=0\r\nTabOrder_LVS_1_3=1\r\n"
      "TabOrder_LVS_1_4=5\r\nTabOrder_LVS_1_5=3\r\nTabOrder_LVS_1_6=4\r\n"
      "TabWidth_LVS_1_1=900\r\nTabWidth_LVS_1_6=2400\r\nTabWidth_LVS_3_1=1200\r\n"
      "ShowColumn_3=0\r\n");
  const std::vector<int32_t> saved = {2, 0, 1, 5, 3, 4};
  {
    PlayoutLists p;
    for (UC_ListView* lv : p.lvs) {
      EXPECT_EQ(Orders(*lv), saved);
      EXPECT_EQ(lv->TabName(0), "時刻");
      // Column 2 is hidden in every list: zero wide where the column before it ends.
      const ListColumn* hidden = lv->Model().Columns().Column(2);
      EXPECT_EQ(hidden->TabLeft, hidden->TabRight);
    }
    UC_ListView& onAir = *p.lvs[0];
    EXPECT_EQ(onAir.TabWidth(0), 900);
    EXPECT_EQ(onAir.TabWidth(1), 600);
    EXPECT_EQ(p.lvs[2]->TabWidth(0), 1200);
    // Position 0 holds column 1, then column 2 (hidden), then column 0.
    EXPECT_EQ(onAir.Model().Columns().Column(1)->TabLeft, 0);
    EXPECT_EQ(onAir.Model().Columns().Column(0)->TabLeft, 600);
    // The on-air list shows exactly one row and never a vertical bar; the queue has no header.
    AddScheduleRows(onAir, 3);
    onAir.Refresh();
    EXPECT_EQ(onAir.VisibleRows(), 1);
    EXPECT_FALSE(onAir.VBar()->Visible());
    EXPECT_TRUE(onAir.VBar()->IsSlider());
    EXPECT_TRUE(p.lvs[1]->PictureTab().isHidden());
    EXPECT_EQ(p.lvs[1]->PictureList().y(), 2);

    // The operator moves column 5 to the left edge of the on-air list and widens column 0.
    QSignalSpy reordered(&onAir, &UC_ListView::TabReOrderd);
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
    for (int32_t j = 0; j < 6; ++j) EXPECT_EQ(p.lvs[1]->TabWidth(j), onAir.TabWidth(j));
    p.Unload();
  }
  // What was saved: widths of all three lists, the order of the on-air list only.
  const std::vector<int32_t> moved = {3, 1, 2, 5, 4, 0};
  for (int32_t j = 1; j <= 6; ++j) {
    const std::string n = std::to_string(j);
    EXPECT_EQ(Key("TabOrder_LVS_1_" + n), std::to_string(moved[static_cast<size_t>(j - 1)]));
    EXPECT_EQ(Key("TabWidth_LVS_2_" + n), Key("TabWidth_LVS_1_" + n));
    EXPECT_NE(Key("TabWidth_LVS_3_" + n), "missing");
  }
  EXPECT_EQ(Key("TabWidth_LVS_1_1"), "1545");
  EXPECT_EQ(Key("TabWidth_LVS_1_3"), "600");  // a hidden column keeps its width
  EXPECT_EQ(Ini().find("TabOrder_LVS_2_"), std::string::npos);
  EXPECT_EQ(Ini().find("TabOrder_LVS_3_"), std::string::npos);
  {
    PlayoutLists again;
    for (UC_ListView* lv : again.lvs) EXPECT_EQ(Orders(*lv), moved);
    EXPECT_EQ(again.lvs[0]->TabWidth(0), 1545);
    EXPECT_EQ(again.lvs[1]->TabWidth(0), 1545);
    EXPECT_EQ(again.lvs[2]->TabWidth(0), 1200);
  }
}

TEST_F(ListHostsTest, AnOrderThatIsNoPermutationFallsBackToTheDefault) {
  WriteIni(
      "TabOrder_LVS_1_1=1\r\nTabOrder_LVS_1_2=1\r\nTabOrder_LVS_1_3=2\r\n"
      "TabOrder_LVS_1_4=3\r\nTabOrder_LVS_1_5=9\r\nTabOrder_LVS_1_6=x\r\n");
  PlayoutLists p;
  for (UC_ListView* lv : p.lvs) EXPECT_EQ(Orders(*lv), (std::vector<int32_t>{0, 1, 2, 3, 4, 5}));
}

TEST_F(ListHostsTest, PlayoutListsAtWork) {
  PlayoutLists p(0, 0);
  UC_ListView& onAir = *p.lvs[0];
  UC_ListView& queue = *p.lvs[1];
  UC_ListView& load = *p.lvs[2];
  AddScheduleRows(load, 30);
  load.Refresh();
  // The load list selects one row at a time, also with Shift.
  QTest::mouseClick(&load.PictureList(), Qt::LeftButton, {}, RowPoint(load, 2));
  QTest::mouseClick(&load.PictureList(), Qt::LeftButton, Qt::ShiftModifier, RowPoint(load, 5));
  EXPECT_EQ(load.NumSelectedItems(), 1);
  EXPECT_EQ(load.SelectedItem(), 5);
  // The queue is filled from the chosen row on, twelve values a row.
  for (int32_t r = load.SelectedItem(); r < load.ItemCount(); ++r) {
    queue.AddItem(1);
    for (int32_t k = 0; k < 6; ++k) {
      queue.SetValue(-2, k, load.Value(r, k));
      queue.SetAuxID(-2, k, load.AuxID(r, k));
    }
  }
  queue.Refresh();
  EXPECT_TRUE(queue.VBar()->Visible());
  queue.ShowItem(24);
  EXPECT_EQ(queue.TopItem(), queue.VBar()->Max());
  // A start moves queue row 0 into the on-air list; the queue shrinks and follows its bar.
  onAir.DeleteAll();
  onAir.AddItem(1);
  for (int32_t k = 0; k < 6; ++k) onAir.SetValue(0, k, queue.Value(0, k));
  queue.DeleteItemEx(0, 22);
  queue.SetVbarParm();
  EXPECT_EQ(queue.TopItem(), 0);
  EXPECT_EQ(queue.ItemCount(), 2);
  onAir.ReDraw();
  queue.ReDraw();
  EXPECT_EQ(onAir.Value(0, 5).Text(), "スポット5");
  // A right click on the queue clears its selection (the host's handler).
  QObject::connect(&queue, &UC_ListView::RightClicked, [&] {
    queue.UnSelectAll();
    queue.ReDraw();
  });
  QTest::mouseClick(&queue.PictureList(), Qt::LeftButton, {}, RowPoint(queue, 1));
  QTest::mouseClick(&queue.PictureList(), Qt::RightButton, {}, RowPoint(queue, 1));
  EXPECT_EQ(queue.SelectedItem(), -1);
  // Clicks on the on-air list do nothing.
  QTest::mouseClick(&onAir.PictureList(), Qt::LeftButton, {}, RowPoint(onAir, 0));
  EXPECT_EQ(onAir.SelectedItem(), -1);
}

TEST_F(ListHostsTest, SettingsDialogFunctionTable) {
  foundation::InstallQtFontFactory();
  UC_ListView lvsc;
  lvsc.resize(420, 300);
  lvsc.SetNumData(2);
  lvsc.SetSortDisabled(1);
  lvsc.SetIconDisabled(1);
  lvsc.Init();
  lvsc.SetTabName(1, "機能");
  lvsc.SetTabWidth(0, 1200);
  lvsc.SetTabWidth(1, 1500);
  lvsc.SetUseTextCombo(1, kEditorList);
  lvsc.InitTab();
  const char* functions[] = {"コマンド", "START", "STOP", "FO", "時刻較正"};
  for (const char* name : functions) lvsc.AddListItem(1, name);
  for (int32_t g = 0; g < 4; ++g) {
    for (int32_t n = 1; n <= 8; ++n) {
      std::string name = g == 0   ? "MIDI-" + std::to_string(n)
                         : g == 3 ? "HID-" + std::to_string(n)
                                  : "シリアル" + std::to_string(g) + "-" + std::to_string(n);
      lvsc.AddItem(1);
      lvsc.SetValue(-2, 0, name);
      lvsc.SetValue(-2, 1, functions[(g + n) % 5]);
    }
  }
  lvsc.show();
  lvsc.Refresh();
  EXPECT_EQ(lvsc.ItemCount(), 32);
  EXPECT_EQ(lvsc.Value(8, 0).Text(), "シリアル1-1");
  EXPECT_EQ(lvsc.ListLV(0)->count(), 5);
  EXPECT_EQ(lvsc.OneHeight(), (lvsc.ListLV(0)->height() + 2) * kTpp);
  // Column 1 has no header caption set for column 0 and sorts nothing on a header click.
  QTest::mouseClick(&lvsc.PictureTab(), Qt::LeftButton, {}, QPoint(20, 8));
  EXPECT_EQ(lvsc.Value(0, 0).Text(), "MIDI-1");
  // A row is chosen and its function picked from the drop-down list.
  QSignalSpy changed(&lvsc, &UC_ListView::ComboChaged);
  QTest::mouseClick(&lvsc.PictureList(), Qt::LeftButton, {}, RowPoint(lvsc, 1));
  ASSERT_EQ(lvsc.SelectedItem(), 1);
  QComboBox* list = lvsc.ListLV(0);
  EXPECT_TRUE(list->isVisible());
  EXPECT_EQ(list->currentText().toStdString(), "STOP");
  EXPECT_EQ(changed.count(), 0);
  QTest::keyClick(list, Qt::Key_Down);
  EXPECT_EQ(changed.count(), 1);
  EXPECT_EQ(lvsc.Value(1, 1).Text(), "FO");
}

TEST_F(ListHostsTest, CompanionListsSaveTheirWidths) {
  WriteIni("TabWidth_LVS_1_5=3000\r\nTabWidth_LVmes_2=4000\r\n");
  foundation::InstallQtFontFactory();
  QWidget window;
  window.resize(700, 700);
  UC_ListView* lvs[2] = {new UC_ListView(&window), new UC_ListView(&window)};
  const char* names[] = {"cue", "prog", "tmc", "checked", "sound", "ID"};
  for (int i = 0; i < 2; ++i) {
    UC_ListView& lv = *lvs[i];
    lv.setGeometry(8, 8 + 160 * i, 680, 150);
    lv.SetNumData(6);
    if (i == 0) lv.SetNumAux(6);
    lv.SetIconDisabled(1);
    lv.SetUseTabOrder(0);
    lv.Init();
    const std::vector<int32_t> widths = foundation::LoadListColumnWidths("LVS_1_", 0, 6);
    for (int32_t j = 0; j < 6; ++j) {
      lv.SetTabName(j, names[j]);
      lv.SetTabWidth(j, widths[static_cast<size_t>(j)]);
    }
    lv.InitTab();
    lv.ReDrawTab(-1);
  }
  auto* mes = new UC_ListView(&window);
  mes->setGeometry(8, 340, 680, 150);
  mes->SetStyle(9, false, "", 0x407060, 0xD5FFF1);
  mes->SetNumData(2);
  mes->SetIconDisabled(1);
  mes->Init();
  const std::vector<int32_t> mesWidths = foundation::LoadListColumnWidths("LVmes_", 0, 2);
  mes->SetTabName(0, "Time");
  mes->SetTabName(1, "Message");
  for (int32_t j = 0; j < 2; ++j) mes->SetTabWidth(j, mesWidths[static_cast<size_t>(j)]);
  mes->ReDrawTab(-1);
  mes->InitTab();
  // The copy queue and the server file list take their widths the same way; InitTab gives them
  // their row height (without it a list has no rows to show).
  UC_ListView* copy = new UC_ListView(&window);
  UC_ListView* cue = new UC_ListView(&window);
  const std::pair<UC_ListView*, std::array<const char*, 4>> fours[] = {
      {copy, {"lv", "source", "target", "done"}}, {cue, {"cue", "time", "prog", "checked"}}};
  const char* infixes[] = {"LVCopy_", "LVcue_"};
  for (int i = 0; i < 2; ++i) {
    UC_ListView& lv = *fours[i].first;
    lv.setGeometry(8, 500 + 90 * i, 680, 85);
    lv.SetNumData(4);
    if (i == 0) lv.SetNumAux(1);
    lv.SetIconDisabled(1);
    lv.Init();
    const std::vector<int32_t> widths = foundation::LoadListColumnWidths(infixes[i], 0, 4);
    for (int32_t j = 0; j < 4; ++j) {
      lv.SetTabName(j, fours[i].second[static_cast<size_t>(j)]);
      lv.SetTabWidth(j, widths[static_cast<size_t>(j)]);
    }
    lv.InitTab();
  }
  window.show();
  EXPECT_EQ(lvs[1]->TabWidth(4), 3000);
  EXPECT_EQ(mes->TabWidth(1), 4000);
  EXPECT_EQ(mes->PictureList().Surface().BackColor(), 0xD5FFF1);

  // The status list: newest first, at most 11 rows.
  for (int32_t k = 0; k < 14; ++k) {
    if (mes->ItemCount() > 10) mes->DeleteItem(mes->ItemCount() - 1);
    mes->InsertItem(0, 1);
    mes->SetValue(0, 0, "05:00:" + std::to_string(10 + k));
    mes->SetValue(0, 1, "動作OK");
    mes->Refresh();
  }
  EXPECT_EQ(mes->ItemCount(), 11);
  EXPECT_EQ(mes->Value(0, 0).Text(), "05:00:23");
  EXPECT_EQ(mes->DispColor(0), 0);  // inserted rows are blank, colour 0
  // The schedule contents sorted by ID.
  for (const char* id : {"b_002", "a_001", "b_001"}) {
    lvs[0]->AddItem(1);
    lvs[0]->SetValue(-2, 5, id);
  }
  lvs[0]->ReOrder(5, 1);
  lvs[0]->Refresh();
  EXPECT_EQ(lvs[0]->Value(0, 5).Text(), "a_001");
  EXPECT_EQ(lvs[0]->Value(2, 5).Text(), "b_002");

  foundation::SaveListColumnWidths(*lvs[0], "LVS_1_", 0, 1.0F);
  foundation::SaveListColumnWidths(*cue, "LVcue_", 0, 1.0F);
  foundation::SaveListColumnWidths(*copy, "LVCopy_", 0, 1.0F);
  foundation::SaveListColumnWidths(*mes, "LVmes_", 0, 1.0F);
  EXPECT_EQ(Key("TabWidth_LVS_1_5"), "3000");
  EXPECT_EQ(Key("TabWidth_LVmes_2"), "4000");
  EXPECT_EQ(Key("TabWidth_LVcue_4"), "600");
  EXPECT_EQ(Key("TabWidth_LVCopy_1"), "600");
  EXPECT_EQ(Ini().find("TabWidth_LVS_2_"), std::string::npos);
  window.grab().save(testing::GalleryDir() + "/companion_lists.png");
}

}  // namespace
}  // namespace lists
