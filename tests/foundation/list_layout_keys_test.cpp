#include "foundation/list_layout_keys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/app_globals.h"
#include "foundation/settings_store.h"
#include "tests/support/app_test_env.h"

namespace foundation {
namespace {

// A list layout of plain numbers.
struct FakeLayout : ListColumnLayout {
  std::vector<int32_t> widths, positions;
  int32_t NumData() const override { return static_cast<int32_t>(widths.size()); }
  int32_t TabWidth(int32_t c) const override { return widths.at(static_cast<size_t>(c)); }
  int32_t TabOrder(int32_t c) const override { return positions.at(static_cast<size_t>(c)); }
};

// An INI settings file in the program folder, so what was written can be read as text.
struct IniEnv {
  IniEnv() {
    env.dir().WriteFile("bin/Ondrake.ini", "[conf]\r\n");
    Globals().IniPath = env.programFolder() + "Ondrake.ini";
  }
  std::string Text() const { return testsupport::ReadWholeFile(Globals().IniPath); }
  testsupport::AppTestEnv env;
};

TEST(ListLayoutKeysTest, SavesOneKeyPerColumn) {
  IniEnv ini;
  FakeLayout nine;
  for (int32_t i = 0; i < 9; ++i) {
    nine.widths.push_back(600 + 15 * i);
    nine.positions.push_back(8 - i);
  }
  SaveListColumnWidths(nine, "LVS_2_", 0, 1.0F);
  SaveListColumnOrder(nine, "LVS_1_", 0);
  for (int32_t j = 1; j <= 9; ++j) {
    EXPECT_EQ(LoadSettingValue("TabWidth_LVS_2_" + std::to_string(j), SettingValue()),
              std::to_string(600 + 15 * (j - 1)));
    EXPECT_EQ(LoadSettingValue("TabOrder_LVS_1_" + std::to_string(j), SettingValue()),
              std::to_string(9 - j));
  }
  EXPECT_EQ(ini.Text().find("TabWidth_LVS_2_10"), std::string::npos);
  EXPECT_EQ(ini.Text().find("TabWidth_LVS_2_0"), std::string::npos);
  // Read back through the readers; an offset numbers on from offset + 1.
  EXPECT_EQ(LoadListColumnWidths("LVS_2_", 0, 9), nine.widths);
  EXPECT_EQ(LoadListColumnOrder("LVS_1_", 0, 9), nine.positions);
  SaveListColumnWidths(nine, "LVcue_", 2, 1.5F);
  EXPECT_EQ(LoadSettingValue("TabWidth_LVcue_3", SettingValue()), "400");
  EXPECT_EQ(LoadSettingValue("TabWidth_LVcue_4", SettingValue()), "410");
}

TEST(ListLayoutKeysTest, WritesNothingWithoutColumnsOrRate) {
  IniEnv ini;
  FakeLayout none;
  SaveListColumnWidths(none, "LVS_1_", 0, 1.0F);
  SaveListColumnOrder(none, "LVS_1_", 0);
  FakeLayout one;
  one.widths = {700};
  one.positions = {0};
  for (float rate : {0.0F, -1.0F, std::numeric_limits<float>::quiet_NaN()}) {
    SaveListColumnWidths(one, "LVS_1_", 0, rate);
  }
  EXPECT_EQ(ini.Text(), "[conf]\r\n");
  // Missing keys read as their defaults (and are written back, as every setting read is).
  EXPECT_EQ(LoadListColumnWidths("LVS_3_", 0, 2), (std::vector<int32_t>{600, 600}));
  EXPECT_EQ(LoadListColumnOrder("LVS_1_", 0, 3), (std::vector<int32_t>{0, 1, 2}));
  EXPECT_NE(ini.Text().find("TabWidth_LVS_3_2=600"), std::string::npos);
}

}  // namespace
}  // namespace foundation
