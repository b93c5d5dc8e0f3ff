// Feeds arbitrary bytes to the playout as the companion's schedule message: received for the
// hooked main window, fetched as text and read into the load list, as each pass does with it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "controls/lists/list_model.h"
#include "foundation/command_files.h"
#include "foundation/server_config.h"
#include "foundation/sub_class.h"
#include "playout/play_list_rows.h"
#include "playout/schedule_intake.h"

namespace {

constexpr int32_t kWindow = 1;

// Two commands; a name not among them reloads once, as the local folder would.
class FixedCommands final : public playout::CommandSchedules {
 public:
  FixedCommands() {
    list_.push_back(foundation::ScheduleEntry{"CM_IN", 0, 0, 0, 0, 1, 0, 0});
    list_.push_back(foundation::ScheduleEntry{"コマンド", -2, -5, 3, 0, 8, 10, 20});
  }
  const std::vector<foundation::ScheduleEntry>& List() const override { return list_; }
  void ReloadLocal() override {}

 private:
  std::vector<foundation::ScheduleEntry> list_;
};

const foundation::ConfTables& Tables() {
  static const foundation::ConfTables tables = [] {
    foundation::ConfTables t;
    t.TriggerString = {"TIME", "SEQ",  "CNT1", "CNT2", "CNT3",
                       "CNT4", "CNT5", "CNT6", "CNT7", "CNT8"};
    for (size_t i = 0; i < t.TypeName.size(); ++i) {
      t.TypeName[i] = "種別" + std::to_string(i + 1);
      t.TypeColor[i] = static_cast<int32_t>(i * 0x111111);
      t.TypeColorAlt[i] = 0xFFFFFF;
    }
    t.CommandName = "コマンド";
    return t;
  }();
  return tables;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool hooked = [] {
    foundation::SubClassHook(kWindow);
    return true;
  }();
  (void)hooked;
  if (foundation::ReceiveCopyData(kWindow,
                                  std::string_view(reinterpret_cast<const char*>(data), size)) != 1)
    std::abort();
  const std::string text = foundation::GetCopyDataText(kWindow);
  if (!foundation::GetCopyDataText(kWindow).empty()) std::abort();  // fetched once
  if (text.empty() || text == "NONE") return 0;

  const std::vector<std::string> entries = playout::SplitScheduleEntries(text);
  FixedCommands commands;
  playout::IntakeContext context;
  context.conf = &Tables();
  context.commands = &commands;
  context.ColorMode = size & 1;
  context.ColorModeR = (size >> 1) & 1;
  context.LoadListLineColor = 0x00FF00;
  lists::ListModel load;
  playout::SetupPlayList(load, 0);
  playout::ReadScheduleRows(text, load, context);

  if (static_cast<size_t>(load.ItemCount()) > entries.size()) std::abort();
  const int32_t count = static_cast<int32_t>(commands.List().size());
  for (int32_t row = 0; row < load.ItemCount(); ++row) {
    const playout::ConstPlayRow item(load, row);
    const double command = item.CommandIndex().Number().value_or(-2);
    if (command < -1 || command >= count) std::abort();
    if (item.Seq().Number().value_or(-1) < 0) std::abort();
  }
  return 0;
}
