#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "controls/lists/list_model.h"
#include "playout/engine_ports.h"
#include "playout/pass_codes.h"
#include "playout/play_list_rows.h"
#include "playout/playout_settings.h"
#include "playout/playout_state.h"

namespace playout {

// The playout main window without its display: the window state, the three play lists, the one
// player and the 50 ms pass that drives them. The window owns one engine, calls
// TimerClock_Timer from a single-shot timer that it re-arms after each pass, forwards the
// operator's commands, and draws what the view notifications report.
//
// Everything runs on the user-interface thread and never throws to the caller: the pass and
// every command catch what goes wrong and write it to the error log.
class PlayoutEngine {
 public:
  // Sets up the lists, makes the player of settings.PlayerType and takes the clock text of now.
  PlayoutEngine(const PlayoutPorts& ports, const PlayoutSettings& settings);
  PlayoutEngine(const PlayoutEngine&) = delete;
  PlayoutEngine& operator=(const PlayoutEngine&) = delete;

  // ---- the pass -------------------------------------------------------------------------
  // One pass: contacts, timers, clock, requests, fades and progress, a new schedule, the
  // count-down, triggers and the start of an item. Passes never nest.
  void TimerClock_Timer();

  // ---- operator commands (the window's handlers) -----------------------------------------
  // Button `clickedIndex` of the operator strip (CNT only when a remote device is present).
  void OPButtons_ButtonClicked(int32_t clickedIndex);
  // The operator function itself; a number that names none does nothing.
  void OperatorFunction(OpFunction function);
  // Release of mouse button `button` on the ON AIR box toggles ON AIR (left button only).
  void TextOA_MouseUD(int32_t button, int32_t isDown);
  // The load panel's buttons: kLoadButtonLoad loads from the load list's selected row, the other
  // cancels. The window hides the panel after any click.
  void LoadButton_ButtonClicked(int32_t clickedIndex);
  void LVS_DblClicked(int32_t index);
  void LVS_RightClicked(int32_t index);
  // A click on the load list shows the selected row's schedule in the load panel's text.
  void LVS_Clicked(int32_t index);
  // kDelButtonUpToHere: the selected queue row and every row above it; kDelButtonSelection: the
  // selected rows.
  void DelButton_ButtonClicked(int32_t clickedIndex);
  // Puts a line on top of the trace (serial and HID traffic).
  void AddTraceLine(const std::string& text);

  // ---- the channel buttons (channel_buttons.cpp) -----------------------------------------
  // The operator's switcher channel buttons (button k is channel k + 1) and their menu: items
  // 0 "CO/CI", 1 "FO/CI", 2 "CO/FI", 3 "FO/FI" (cut or fade out the live channel, cut or fade
  // in the chosen one). The channel going live does so from the next pass on, after the fade
  // time when the old one fades out.
  // A plain click: cut out and cut in.
  void SWButtons_ButtonClicked(int32_t clickedIndex);
  // A right click chooses the channel; the window then pops up the menu.
  void SWButtons_RightClicked(int32_t clickedIndex);
  // A SwitchMenuItem (channel_buttons.h) for the chosen channel; nothing while a channel switch
  // or a timed stop is pending.
  void MenuRCSW_Click(int32_t index);

  // ---- start-up and the settings dialog --------------------------------------------------
  // 1 until a serial link or the HID unit is open (the operator strip then has no CNT button).
  void SetNoRemoteDevice(int32_t noRemoteDevice);
  // Whether the hourly clock sync with the time server runs.
  void SetUseTimeSync(int32_t useTimeSync);
  // The clock text of now becomes the last one shown.
  void ResetClockText();
  // The clock starts: no command timer is armed, and the first pass is measured from now.
  void StartClock();
  // The running settings as the settings dialog read and changed them; they act from the next
  // pass on.
  void ApplyRunningSettings(const PlayoutSettings& settings);

  // ---- lists and their files -------------------------------------------------------------
  // Reads a received schedule into the load list; 1 when a text other than "" and "NONE" was
  // read.
  int32_t ReceiveSchedule();
  // Replaces the queue (or, with a date key, its rows of that date and later) by the load list
  // from `pRow` on; 0 when there is no such row.
  int32_t LoadFromRow(int32_t pRow, const std::string& pKey);
  // The load-list row to continue from; -1 when none.
  int32_t PickLoadRow(LoadPick pMode);
  void SaveCueSnapshot();
  void WritePlayLog(const std::string& pEvent, int32_t pList, int32_t pRow);
  void RefreshList();
  void ClearFadeState();
  void ShowItemInfo();
  void SetCurrentAndNextItem(int32_t listA, int32_t listB, int32_t rowA, int32_t startRow);
  // Starts command `pIndex` of the command list: switch out, arm the switch-in and stop timers.
  void OutCommand(int32_t pIndex);

  // ---- what the window and the tests read ----------------------------------------------
  // The lists are the views' store: the window's list views show and select in them.
  lists::ListModel& LVS(int32_t index) { return lists_[Clamp(index)]; }
  const lists::ListModel& LVS(int32_t index) const { return lists_[Clamp(index)]; }
  const PlayoutState& State() const { return state_; }
  const PlayoutSettings& Settings() const { return settings_; }
  audio::Player& Player() { return *player_.player; }
  // The snapshot and today's play log, in the local log folder.
  std::string SnapshotPath() const;
  std::string PlayLogPath() const;

 private:
  // Values of one pass.
  struct Pass {
    platform::WallTime now;
    double tTimer = 0;
    int64_t monoMs = 0;
    std::string TickTag;
    int32_t newSecond = 0;
    int32_t mode = 0;
    int32_t remainMS = 0;
    int32_t remainSec = 99999;
    int32_t tRetCom = 0;
    int32_t PlayReq = 0;
    int32_t PlayItem = 0;
    StartCause StartBy = StartCause::kNone;
  };
  // How an item start ends the pass.
  enum class StartOutcome { kGoOn, kEndPass };

  static int32_t Clamp(int32_t index) { return index < 0 ? 0 : (index > 2 ? 2 : index); }

  // clock_pass.cpp
  void RunPass();
  void MeasureTick(Pass& p);
  void PollContacts(Pass& p);
  void StepMidiFaders();
  void StepHidPulses();
  void RunCommandTimer(const Pass& p);
  void KeepClock(Pass& p);
  void AutoLoad(const Pass& p);
  void FinishStart(const Pass& p);
  // triggers.cpp
  int32_t CancelCntWindow() const;
  void ScanTriggers(Pass& p);
  int32_t CommandOutTime(const ConstPlayRow& row) const;
  // item_start.cpp
  StartOutcome StartItem(Pass& p);
  void PlaySoundItem(Pass& p, const std::string& file, int32_t startMS);
  void ApplyCueMarkers(const std::string& file, int32_t startMS, int32_t samplesPerSec);
  void RunCommandItem(const Pass& p);
  void DropQueueRow0();
  // fades.cpp
  void HandleStopRequest(Pass& p);
  void StepFade(Pass& p);
  void NotePlayModeChange(const Pass& p);
  void ReadRemaining(Pass& p);
  void ShowCountDown(Pass& p);
  int32_t NearestDatedRowSec();
  void AutoFadeBeforeTimedItem(const Pass& p);

  // The entry of a command row, looked up by its file name; null when none.
  const foundation::ScheduleEntry* CommandEntryOf(const ConstPlayRow& row) const;
  // The item on air and the one after it, as the state holds them.
  HeldItem CurrentItem() { return HeldItem(state_.CurValue, state_.CurAux); }
  HeldItem NextItem() { return HeldItem(state_.NextValue, state_.NextAux); }
  // Runs `work` for an entry point; anything thrown goes to the error log.
  void Guarded(const char* where, const std::function<void()>& work);
  void Log(const std::string& text, platform::LogSeverity severity = platform::LogSeverity::kInfo) {
    ports_.log->Write(text, severity);
  }
  // The wall clock's seconds since midnight, as the window's Timer gives it.
  double TimerNow() const;
  int32_t RemainingMs();
  bool IsWaveOut() const { return player_.waveOut != nullptr; }
  // The queue changed: the count-down's nearest dated row is found anew.
  void QueueChanged() { ++queueRevision_; }
  std::string AirFileStem() const;
  std::string PlayLogPathAt(const platform::WallTime& now) const;

  // Tests build states no command reaches in a few steps through it (tests/playout).
  friend class EngineStateBuilder;

  PlayoutPorts ports_;
  PlayoutSettings settings_;
  PlayoutState state_;
  std::array<lists::ListModel, kListCount> lists_;
  PlayerSlot player_;
  int32_t listLineColor_ = 0;
  int32_t loadListLineColor_ = 0;
  bool inPass_ = false;
  // The count-down's dated queue rows: their distance in seconds from datedClock_, kept until
  // the queue changes.
  uint64_t queueRevision_ = 0;
  uint64_t datedRevision_ = UINT64_MAX;
  int32_t datedCount_ = -1;
  std::string datedClock_;
  std::vector<int32_t> datedOffsets_;
};

}  // namespace playout
