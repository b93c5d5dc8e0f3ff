// What the operator does with the mouse: the operator buttons, the ON AIR box, the load panel,
// clicks on the lists, the delete buttons, and the trace. None of it plays anything: it sets
// requests that the next pass acts on, or edits the lists.
#include <algorithm>

#include "foundation/date_text.h"
#include "foundation/text_fields.h"
#include "playout/log_text.h"
#include "playout/playout_engine.h"

namespace playout {

namespace {

// The trace keeps about this many characters; older lines go.
constexpr size_t kTraceKeepChars = 300;

}  // namespace

void PlayoutEngine::OPButtons_ButtonClicked(int32_t clickedIndex) {
  // Without a remote device the strip has no CNT button, so its buttons start at START.
  OperatorFunction(static_cast<OpFunction>(state_.NoRemoteDevice + clickedIndex));
}

void PlayoutEngine::OperatorFunction(OpFunction function) {
  Guarded("OPButtons_ButtonClicked", [&] {
    const bool queued = state_.OnAir > 0 && lists_[kListQueue].ItemCount() > 0;
    switch (function) {
      case OpFunction::kCnt:
        if (!queued) return;
        state_.SimCNT = 1;
        Log("OP SimCNT");
        break;
      case OpFunction::kStart:
        if (!queued) return;
        state_.FSReq = 1;
        Log("OP FSReq");
        break;
      case OpFunction::kStop:
        if (Player().mode() != audio::Player::kModePlaying) return;
        state_.StopReq = 1;
        Log("OP StopReq");
        break;
      case OpFunction::kFadeOut:
        if (settings_.UseFade != 1 || Player().mode() != audio::Player::kModePlaying) return;
        ClearFadeState();
        state_.FadeMS = settings_.FadeTime;
        state_.FadeNoStop = 0;
        state_.FadeOn = 1;
        Log("OP FadeOnReq");
        break;
      default:
        break;
    }
  });
}

void PlayoutEngine::TextOA_MouseUD(int32_t button, int32_t isDown) {
  if (button != 1 || isDown != 0) return;
  Guarded("TextOA_MouseUD", [&] {
    if (state_.OnAir != 0) {
      // Requests made a moment ago are dropped with ON AIR.
      state_.OnAir = 0;
      state_.SimCNT = 0;
      state_.FSReq = 0;
      ports_.view->ClockCell(kClockDate, "OAオフ");
      ports_.view->ClockCell(kClockProgramme, "");
    } else {
      state_.OnAir = 1;
      ShowItemInfo();
    }
    ports_.view->OnAirBox(state_.OnAir);
    Log("OP TextOA_MouseUD OAActive=" + std::to_string(state_.OnAir));
  });
}

void PlayoutEngine::LoadButton_ButtonClicked(int32_t clickedIndex) {
  if (clickedIndex != kLoadButtonLoad) return;
  Guarded("LoadButton_ButtonClicked", [&] {
    const int32_t row = lists_[kListLoad].CurrentRow();
    if (row < 0) return;
    LoadFromRow(row, "");
    state_.SimCNT = 0;
    state_.FSReq = 0;
    SetCurrentAndNextItem(kListLoad, kListLoad, row - 1, row - 1);
    if (settings_.ForceOA != 0) return;
    // A new schedule leaves ON AIR off unless the program is forced on air.
    state_.OnAir = 0;
    ports_.view->ClockCell(kClockDate, "OAオフ");
    ports_.view->ClockCell(kClockProgramme, "");
    ports_.view->OnAirBox(state_.OnAir);
  });
}

void PlayoutEngine::LVS_DblClicked(int32_t index) {
  if (index == kListLoad) LoadButton_ButtonClicked(kLoadButtonLoad);
}

void PlayoutEngine::LVS_RightClicked(int32_t index) {
  if (index != kListQueue) return;
  lists_[kListQueue].UnSelectAll();
  ports_.view->ListChanged(kListQueue);
}

void PlayoutEngine::LVS_Clicked(int32_t index) {
  if (index != kListLoad) return;
  const lists::ListModel& load = lists_[kListLoad];
  const int32_t current = load.CurrentRow();
  if (current < 0) return;
  const ConstPlayRow row(load, current);
  const std::string cue = row.ScheduleFile();
  ports_.view->LoadPanelText(" " + foundation::FormatDateJapanese(cue.substr(0, 14), 0, 3) +
                             row.Programme() + " (" + row.BroadcastDate() + ")");
}

void PlayoutEngine::DelButton_ButtonClicked(int32_t clickedIndex) {
  Guarded("DelButton_ButtonClicked", [&] {
    lists::ListModel& queue = lists_[kListQueue];
    if (clickedIndex == kDelButtonUpToHere) {
      const int32_t s = queue.SelectedItem();
      if (s < 0) return;
      // Exactly the rows from the top down to the selected one; rows selected below it stay.
      queue.DeleteItemEx(0, std::min(s, queue.ItemCount() - 1));
      queue.SetSelectedItem(-1);
    } else if (clickedIndex == kDelButtonSelection) {
      queue.DeleteSelected();
    }
    ports_.view->ListChanged(kListQueue);
    RefreshList();
    SaveCueSnapshot();
  });
}

void PlayoutEngine::AddTraceLine(const std::string& text) {
  std::string kept = state_.TraceText;
  if (foundation::CharCount(kept) > kTraceKeepChars) {
    // The oldest (last) line goes.
    if (kept.size() >= 2 && kept.compare(kept.size() - 2, 2, "\r\n") == 0)
      kept.resize(kept.size() - 2);
    const size_t cut = kept.rfind("\r\n");
    kept = cut == std::string::npos ? std::string() : kept.substr(0, cut + 2);
  }
  state_.TraceText = FormatFixed(TimerNow(), 2) + text + "\r\n" + kept;
  ports_.view->Trace(state_.TraceText);
}

}  // namespace playout
