// The lists set up the way the settings dialog and the companion set theirs up, driven the way
// they drive them.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QSignalSpy>
#include <array>

#include "foundation/app_globals.h"
#include "foundation/list_layout_keys.h"
#include "foundation/server_config.h"
#include "foundation/settings_store.h"
#include "platform/cp932.h"
#include "tests/controls/lists/list_view_fixture.h"
#include "tests/support/app_test_env.h"

namespace lists {
namespace {

using testing::kTpp;
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
