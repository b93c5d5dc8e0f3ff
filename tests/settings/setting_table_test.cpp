// The instance settings table as the dialog, start-up and the link use it.
#include "settings/setting_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "foundation/setting_value.h"

namespace settings {
namespace {

TEST(SettingTableTest, EveryKeyOnceWithADefaultOfItsKind) {
  std::set<std::string> keys;
  for (const Setting& s : InstanceSettings()) {
    EXPECT_TRUE(keys.insert(s.key).second) << s.key;
    const bool text = s.kind == FieldKind::kFolder || s.kind == FieldKind::kAirId ||
                      s.kind == FieldKind::kSizeRate || s.kind == FieldKind::kChoiceText ||
                      s.kind == FieldKind::kMidiDevice;
    if (!text) {
      EXPECT_TRUE(foundation::ParseSettingInt(s.defaultText).has_value()) << s.key;
    }
    // A value shown from the running one, or set by OK at once, has one to go to.
    if (s.shown == Shown::kRunning || s.atOnce) {
      RunningValues values;
      EXPECT_FALSE(std::holds_alternative<std::monostate>(RunningOf(s, values))) << s.key;
    }
  }
  EXPECT_THROW(SettingOf("NoSuchKey"), std::out_of_range);
}

// The dialog shows the inputs group by group, row 8g + n - 1; the playout keeps their
// functions input by input, at g + 4(n - 1).
TEST(SettingTableTest, ContactInputsInBothNumberings) {
  const struct {
    int32_t row;
    const char* key;
    int32_t index;
  } cases[] = {{0, "CNTFunction_0_1", 0},
               {7, "CNTFunction_0_8", 28},
               {8, "CNTFunction_1_1", 1},
               {10, "CNTFunction_1_3", 9},
               {31, "CNTFunction_3_8", 31}};
  for (const auto& c : cases) {
    const Setting& s = SettingOf(c.key);
    EXPECT_EQ(s.index, c.index) << c.key;
    const ContactInput input = ContactInput::AtRow(c.row);
    EXPECT_EQ(input.FunctionIndex(), c.index) << c.key;
    EXPECT_EQ("CNTFunction_" + std::to_string(input.group) + "_" + std::to_string(input.input),
              c.key);
    RunningValues values;
    values.CNTFunction[static_cast<size_t>(c.index)] = 3;
    EXPECT_EQ(*std::get<int32_t*>(RunningOf(s, values)), 3) << c.key;
  }
}

}  // namespace
}  // namespace settings
