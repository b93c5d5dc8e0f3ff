#pragma once

#include <QWidget>
#include <array>
#include <string>
#include <vector>

#include "controls/lists/view/uc_list_view.h"
#include "foundation/list_layout_keys.h"
#include "foundation/server_config.h"
#include "foundation/settings_store.h"
#include "foundation/view/qt_font_factory.h"
#include "tests/controls/lists/list_view_fixture.h"

namespace lists::testing {

// The playout window's three lists: the on-air list, the queue and the load list.
struct PlayoutLists {
  explicit PlayoutLists(int32_t colorMode = 1, int32_t colorModeR = 0) {
    foundation::InstallQtFontFactory();
    window.resize(760, 560);
    for (int i = 0; i < 3; ++i) lvs[i] = new UC_ListView(&window);
    lvs[0]->setGeometry(8, 8, 740, 60);
    lvs[1]->setGeometry(8, 80, 740, 200);
    lvs[2]->setGeometry(8, 300, 740, 200);
    const float lvFontSize = 12;
    const float sizeRate = 1.0F;
    if (colorMode != 0) {
      lvs[0]->SetStyle(lvFontSize, true, "", 0x000000, 0xFFFFFF);
      lvs[1]->SetStyle(lvFontSize, true, "", 0x000000, 0xFFFFFF);
    } else {
      lvs[0]->SetStyle(lvFontSize, true, "", 0xFFFFFF, 0x000000);
      lvs[1]->SetStyle(lvFontSize, true, "", 0xFFFFFF, 0x000000);
      lvs[1]->SetSelectedColorMode(15);
      lvs[1]->SetSelectedColor(0x404040);
    }
    if (colorModeR != 0) {
      lvs[2]->SetStyle(9 * sizeRate, false, "", 0x000000, 0xFFFFFF);
    } else {
      lvs[2]->SetStyle(9 * sizeRate, false, "", 0xFFFFFF, 0x000000);
      lvs[2]->SetSelectedColorMode(15);
      lvs[2]->SetSelectedColor(0x404040);
    }
    lvs[0]->SetClickDisabled(1);
    lvs[0]->SetUseTabOrder(1);
    lvs[0]->SetVbarDisabled(1);
    lvs[1]->SetTabDisabled(1);
    lvs[2]->SetNoMultiSelect(1);
    // The saved order serves all three lists; it is restored as one permutation.
    const std::vector<int32_t> order = foundation::LoadListColumnOrder("LVS_1_", 0, 6);
    for (int i = 0; i < 3; ++i) {
      UC_ListView& lv = *lvs[i];
      lv.SetNumData(6);
      lv.SetNumAux(6);
      lv.SetUseUCBar(1);
      lv.SetHbarDisabled(1);
      lv.SetSortDisabled(1);
      lv.SetIconDisabled(1);
      lv.Init();
      lv.InitTab();
      lv.RestoreTabOrder(order);
      const std::vector<int32_t> widths =
          foundation::LoadListColumnWidths("LVS_" + std::to_string(i + 1) + "_", 0, 6);
      for (int32_t j = 0; j < 6; ++j) {
        lv.SetTabName(j, foundation::Conf().DisplayColumnCaption[static_cast<size_t>(j)]);
        lv.SetTabWidth(j, widths[static_cast<size_t>(j)]);
        if (foundation::LoadSettingInt("ShowColumn_" + std::to_string(j + 1), 1) == 0) {
          lv.SetTabHidden(j, 1);
        }
      }
      lv.ReDrawTab(-1);
    }
    // The on-air list is one row high; the queue follows right under it.
    lvs[0]->resize(lvs[0]->width(), (lvs[0]->OneHeight() + 360) / kTpp);
    lvs[1]->move(lvs[1]->x(), lvs[0]->y() + lvs[0]->height() + 3);
    // The queue always has the on-air list's widths.
    QObject::connect(lvs[0], &UC_ListView::TabMoved, [this] {
      for (int32_t j = 0; j < 6; ++j) lvs[1]->SetTabWidth(j, lvs[0]->TabWidth(j));
      lvs[1]->ReDraw();
      lvs[1]->ReDrawTab(-1);
    });
    window.show();
  }

  // What the window keeps when it closes.
  void Unload() {
    foundation::SaveListColumnWidths(*lvs[0], "LVS_1_", 0, 1.0F);
    foundation::SaveListColumnWidths(*lvs[1], "LVS_2_", 0, 1.0F);
    foundation::SaveListColumnWidths(*lvs[2], "LVS_3_", 0, 1.0F);
    foundation::SaveListColumnOrder(*lvs[0], "LVS_1_", 0);
  }

  QWidget window;
  std::array<UC_ListView*, 3> lvs{};
};

// Fills a list with sample schedule rows: time, trigger, type, length, folder, title.
inline void AddScheduleRows(UC_ListView& lv, int32_t rows) {
  for (int32_t r = 0; r < rows; ++r) {
    lv.AddItem(1);
    const std::string values[6] = {
        "05:0" + std::to_string(r % 10) + ":00", "SEQ", "CM", "00:30", "cm",
        "スポット" + std::to_string(r)};
    for (int32_t k = 0; k < 6; ++k) lv.SetValue(-2, k, values[k]);
    lv.SetAuxID(-2, 3, "20240401050000_01A.cue");
  }
}

}  // namespace lists::testing
