// Closing the main window: the question, then the unload's steps in their order.
#include "controls/lists/view/uc_list_view.h"
#include "foundation/app_globals.h"
#include "foundation/calendar.h"
#include "foundation/files.h"
#include "foundation/font_table.h"
#include "foundation/list_layout_keys.h"
#include "foundation/station_settings.h"
#include "foundation/sub_class.h"
#include "foundation/user_dialogs.h"
#include "foundation/view/widget_placement.h"
#include "playout/view/frm_main.h"
#include "playout/view/trapped_steps.h"

namespace playout {

namespace {

constexpr int32_t kYesNoQuestion = 36;
constexpr int32_t kAnswerYes = 6;

}  // namespace

int32_t FrmMain::Form_QueryUnload(int32_t unloadMode) {
  const bool byPerson = unloadMode == kCloseFromControlMenu || unloadMode == kCloseFromCode;
  if (!byPerson || foundation::Globals().ErrorCatch != 0) return 0;
  foundation::WidgetPlacementForm placement(*this);
  const int32_t answer = foundation::MsgBoxCentered(
      "終了しますか？", kYesNoQuestion, foundation::Globals().ProgramTitle, &placement, this);
  return answer == kAnswerYes ? 0 : 1;
}

void FrmMain::Form_Unload() {
  if (unloaded_) return;
  unloaded_ = true;
  TrappedSteps steps("Form_Unload", log_);
  // No pass may run on a player or a device that is being closed.
  steps.Run("TimerClock", [&] { timerClock_.stop(); });
  steps.Run("SaveListColumnWidths", [&] {
    foundation::SaveListColumnWidths(*ctl_.LVS[kListOnAir], "LVS_1_", 0, 1.0F);
    foundation::SaveListColumnWidths(*ctl_.LVS[kListQueue], "LVS_2_", 0, 1.0F);
    foundation::SaveListColumnWidths(*ctl_.LVS[kListLoad], "LVS_3_", 0, 1.0F);
  });
  steps.Run("SaveListColumnOrder",
            [&] { foundation::SaveListColumnOrder(*ctl_.LVS[kListOnAir], "LVS_1_", 0); });
  steps.Run("CloseDevices", [&] { Devices().Close(); });
  steps.Run("CloseWave", [&] { engine_->Player().CloseWave(); });
  steps.Run("ClearFadeState", [&] { engine_->ClearFadeState(); });
  steps.Run("DeleteCueSnapshot", [&] {
    // Where the snapshot is written, so that nothing shows an item on air after the end; and
    // the same name in the sched folder, as it was always deleted there.
    foundation::DeleteFileForce(engine_->SnapshotPath());
    const PlayoutSettings& s = engine_->Settings();
    const std::string sched = foundation::Station().LocalSchedFolder;
    if (!sched.empty()) {
      foundation::DeleteFileForce(
          sched + "out_" + foundation::PadNumber(static_cast<int64_t>(s.SelectedAir) + 1, 2) +
          s.AirID + ".cue");
    }
  });
  if (steps.Run("WriteLog",
                [&] { log_.Write("****正常終了****", platform::LogSeverity::kInfo); })) {
    emit FinalLineWritten();
  }
  steps.Run("SaveWindowPlacement", [&] {
    foundation::WidgetPlacementForm placement(*this);
    foundation::SaveWindowPlacement(placement);
  });
  steps.Run("DeleteFontHandles", [] { foundation::DeleteFontHandles(); });
  steps.Run("SubClassUnhook", [&] { foundation::SubClassUnhook(hWnd_); });
  // The caption goes back so that the next instance can take the session.
  receiver_.reset();
  session_.window.reset();
  emit Closed();
}

}  // namespace playout
