#include "playout/playout_engine.h"

#include <algorithm>
#include <optional>

#include "foundation/calendar.h"
#include "foundation/command_files.h"
#include "foundation/date_stamp.h"
#include "foundation/date_text.h"
#include "foundation/error_traps.h"
#include "playout/cue_snapshot.h"
#include "playout/play_log.h"

namespace playout {

PlayoutEngine::PlayoutEngine(const PlayoutPorts& ports, const PlayoutSettings& settings)
    : ports_(ports), settings_(settings) {
  // A white background draws black text and a near-black line between schedule files.
  const int32_t queueFore = settings_.ColorMode != 0 ? 0x000000 : 0xFFFFFF;
  const int32_t loadFore = settings_.ColorModeR != 0 ? 0x000000 : 0xFFFFFF;
  listLineColor_ = settings_.ColorMode != 0 ? 0x010101 : 0xFFFFFF;
  loadListLineColor_ = settings_.ColorModeR != 0 ? 0x010101 : 0xFFFFFF;
  SetupPlayList(lists_[kListOnAir], queueFore);
  SetupPlayList(lists_[kListQueue], queueFore);
  SetupPlayList(lists_[kListLoad], loadFore);

  const int32_t playerType =
      std::clamp<int32_t>(settings_.PlayerType, kPlayerWaveOut, kPlayerGraph);
  state_.AttFloor = playerType == kPlayerWaveOut ? 4000 : 10000;
  CurrentItem().SetNone();
  NextItem().SetNone();
  player_ = ports_.players->Create(playerType, settings_.WaveDeviceName);

  const platform::WallTime now = ports_.clock->Now();
  state_.LastClockText = foundation::FormatDateStampAt(now, ports_.conf->HourAdjust);
  state_.LastTickMs = ports_.clock->MonotonicMs();
}

void PlayoutEngine::Guarded(const char* where, const std::function<void()>& work) {
  if (const std::optional<std::string> failure = foundation::CatchFailure(work))
    Log(std::string(where) + " " + *failure, platform::LogSeverity::kError);
}

double PlayoutEngine::TimerNow() const { return ports_.clock->Now().SecondsSinceMidnight(); }

int32_t PlayoutEngine::RemainingMs() {
  audio::Player& player = *player_.player;
  if (IsWaveOut()) return player.Position(2);
  return player.ToMS() - player.Position(0);
}

std::string PlayoutEngine::AirFileStem() const {
  return foundation::PadNumber(static_cast<int64_t>(settings_.SelectedAir) + 1, 2) +
         settings_.AirID;
}

std::string PlayoutEngine::SnapshotPath() const {
  return ports_.station->LocalLogFolder + "out_" + AirFileStem() + ".cue";
}

std::string PlayoutEngine::PlayLogPath() const { return PlayLogPathAt(ports_.clock->Now()); }

std::string PlayoutEngine::PlayLogPathAt(const platform::WallTime& now) const {
  const std::string day = foundation::FormatDateStampAt(now, ports_.conf->HourAdjust, 0, 1, 1);
  return ports_.station->LocalLogFolder + day + "_" + AirFileStem() + ".txt";
}

void PlayoutEngine::SaveCueSnapshot() {
  // A failed write keeps the previous file; the next change writes it again.
  ReplaceFileAtomically(SnapshotPath(),
                        CueSnapshotText(lists_[kListOnAir], lists_[kListQueue], *ports_.conf));
}

void PlayoutEngine::WritePlayLog(const std::string& pEvent, int32_t pList, int32_t pRow) {
  const platform::WallTime now = ports_.clock->Now();
  const std::string time = foundation::FormatDateStampAt(now, ports_.conf->HourAdjust, 0, 0, 2);
  const std::string error =
      AppendToFile(PlayLogPathAt(now), PlayLogLine(time, LVS(pList), pRow, pEvent));
  if (!error.empty()) Log("ログ出力err=" + error, platform::LogSeverity::kError);
}

const foundation::ScheduleEntry* PlayoutEngine::CommandEntryOf(const ConstPlayRow& row) const {
  const std::vector<foundation::ScheduleEntry>& entries = ports_.commands->List();
  const int32_t index = foundation::FindScheduleIndex(entries, row.CommandName());
  if (index < 0 || static_cast<size_t>(index) >= entries.size()) return nullptr;
  return &entries[static_cast<size_t>(index)];
}

void PlayoutEngine::TimerClock_Timer() {
  // The window's timer is single-shot and re-armed after the pass, so a pass can only nest
  // when something inside it runs the event loop; such a pass is dropped.
  if (inPass_) return;
  inPass_ = true;
  Guarded("TimerClock_Timer", [this] { RunPass(); });
  inPass_ = false;
}

void PlayoutEngine::SetNoRemoteDevice(int32_t noRemoteDevice) {
  state_.NoRemoteDevice = noRemoteDevice;
}

void PlayoutEngine::SetUseTimeSync(int32_t useTimeSync) { state_.UseTimeSync = useTimeSync; }

void PlayoutEngine::ResetClockText() {
  state_.LastClockText =
      foundation::FormatDateStampAt(ports_.clock->Now(), ports_.conf->HourAdjust);
}

void PlayoutEngine::StartClock() {
  state_.TimerStop.Disarm();
  state_.TimerCom.Disarm();
  state_.LastTickMs = ports_.clock->MonotonicMs();
}

void PlayoutEngine::ApplyRunningSettings(const PlayoutSettings& settings) { settings_ = settings; }

void PlayoutEngine::ClearFadeState() {
  state_.FadeOn = 0;
  state_.FadeAtt = 0;
}

void PlayoutEngine::RefreshList() {
  MarkScheduleFiles(lists_[kListQueue], listLineColor_);
  QueueChanged();
  ports_.view->ListChanged(kListOnAir);
  ports_.view->ListChanged(kListQueue);
}

void PlayoutEngine::ShowItemInfo() {
  const ConstPlayRow item(lists_[kListOnAir], 0);
  const std::string cue = item.ScheduleFile();
  std::string date;
  if (!cue.empty()) date = foundation::FormatDateJapanese(cue.substr(0, 14), 0, 3);
  ports_.view->ClockCell(kClockDate, date);
  ports_.view->ClockCell(kClockProgramme, item.Programme());
}

void PlayoutEngine::SetCurrentAndNextItem(int32_t listA, int32_t listB, int32_t rowA,
                                          int32_t startRow) {
  const lists::ListModel& a = LVS(listA);
  const lists::ListModel& b = LVS(listB);
  if (rowA < 0) {
    CurrentItem().Clear(a);
  } else {
    CurrentItem().Take(ConstPlayRow(a, rowA));
  }
  // Row -1 is the list's current row here, as the list's addressing has it.
  const std::string key = ConstPlayRow(a, rowA).BroadcastDate();
  NextItem().SetNone();
  if (b.ItemCount() <= startRow) return;
  for (int32_t r = startRow; r < b.ItemCount(); ++r) {
    const ConstPlayRow row(b, r);
    if (row.BroadcastDate() != key) continue;
    NextItem().Take(row);
    return;
  }
}

}  // namespace playout
