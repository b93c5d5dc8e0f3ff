// Starting the chosen queue row: skipped rows, lateness, the sound file, the move on air, the
// player's set-up with the cue markers, and the play.
#include <vector>

#include "audio/wave_cue_chunks.h"
#include "audio/wave_header.h"
#include "foundation/date_stamp.h"
#include "foundation/files.h"
#include "platform/ascii_text.h"
#include "platform/native_path.h"
#include "playout/log_text.h"
#include "playout/playout_engine.h"

namespace playout {

namespace {

// A play window shorter than this is not played.
constexpr int32_t kMinPlayMs = 500;

}  // namespace

void PlayoutEngine::DropQueueRow0() {
  lists_[kListQueue].DeleteItem(0);
  RefreshList();
  SaveCueSnapshot();
}

PlayoutEngine::StartOutcome PlayoutEngine::StartItem(Pass& p) {
  lists::ListModel& queue = lists_[kListQueue];
  Log("PlayReq=" + std::to_string(p.PlayReq) + " PlayItem=" + std::to_string(p.PlayItem) +
      " StartBy=" + std::to_string(CodeOf(p.StartBy)) +
      " AUX_COM=" + ConstPlayRow(queue, 0).CommandIndex().Text() + p.TickTag);
  for (int32_t n = 0; n < p.PlayItem && queue.ItemCount() > 0; ++n) {
    WritePlayLog("SKIP", kListQueue, 0);
    queue.DeleteItem(0);
  }
  QueueChanged();
  Log("pt1 " + p.TickTag);
  if (queue.ItemCount() == 0) return StartOutcome::kEndPass;

  int32_t startMS = 0;
  if (p.StartBy == StartCause::kTime) {
    const int32_t late =
        foundation::DiffDateStamps(ConstPlayRow(queue, 0).Stamp(), state_.LastClockText);
    if (late > 0) {
      if (settings_.OverSec > 0 && late <= settings_.OverSec) {
        // Late by at most OverSec: skipped, not played; the next pass looks at the new row 0.
        WritePlayLog("SKIP", kListQueue, 0);
        DropQueueRow0();
        return StartOutcome::kEndPass;
      }
      // Later than that: played from the point it would have reached by now.
      startMS = late > INT32_MAX / 1000 ? INT32_MAX : late * 1000;
      Log("Start From(ms)=" + std::to_string(startMS) + p.TickTag);
    }
  }
  Log("pt2 " + p.TickTag);

  std::string file;
  if (!ConstPlayRow(queue, 0).IsCommand()) {
    const std::string path = ConstPlayRow(queue, 0).Path();
    file = ports_.station->LocalPath + path;
    if (foundation::FileExists(file) == 0) {
      if (ports_.server->CheckServerAlive() == 0) {
        file.clear();
      } else {
        const foundation::StationSettings& st = *ports_.station;
        const int32_t server = st.CurrentServer >= 0 && st.CurrentServer < foundation::kServerCount
                                   ? st.CurrentServer
                                   : 0;
        file = st.SrvPath[static_cast<size_t>(server)] + path;
      }
      if (foundation::FileExists(file) == 0) {
        Log("ファイルが存在しない " + file + p.TickTag, platform::LogSeverity::kError);
        DropQueueRow0();
        return StartOutcome::kEndPass;
      }
    }
  }

  Log("pt3 " + p.TickTag);
  lists::ListModel& onAir = lists_[kListOnAir];
  onAir.DeleteAll();
  onAir.AddItem(1);
  onAir.SetDispColor(0, queue.DispColor(0));
  PlayRow(onAir, 0).CopyFrom(ConstPlayRow(queue, 0));
  Log("pt4 " + p.TickTag);
  queue.DeleteItem(0);
  RefreshList();
  Log("pt5 " + p.TickTag);

  if (ConstPlayRow(onAir, 0).IsCommand()) {
    RunCommandItem(p);
  } else {
    PlaySoundItem(p, file, startMS);
  }
  return StartOutcome::kGoOn;
}

void PlayoutEngine::RunCommandItem(const Pass& p) {
  const lists::ListModel& onAir = lists_[kListOnAir];
  // Looked up by name now: the command list may have been reloaded since the schedule came in.
  const std::vector<foundation::ScheduleEntry>& entries = ports_.commands->List();
  const foundation::ScheduleEntry* entry = CommandEntryOf(ConstPlayRow(onAir, 0));
  if (entry == nullptr) {
    Log("コマンドが見つからない " + ConstPlayRow(onAir, 0).CommandName() + p.TickTag,
        platform::LogSeverity::kError);
    WritePlayLog("SKIP", kListOnAir, 0);
    return;
  }
  const std::string name = entry->Name;
  Log("コマンド再生" + p.TickTag);
  OutCommand(static_cast<int32_t>(entry - entries.data()));
  Log("コマンド再生終了" + p.TickTag);
  WritePlayLog(name, kListOnAir, 0);
}

void PlayoutEngine::PlaySoundItem(Pass& p, const std::string& file, int32_t startMS) {
  audio::Player& player = Player();
  const audio::WaveInfo info = audio::ReadWaveHeader(file);
  // A format chunk that gives no sample rate leaves nothing to time the play by.
  if (info.Channels > 0 && info.SamplesPerSec <= 0) {
    Log("サンプリング周波数が0 " + file + p.TickTag, platform::LogSeverity::kError);
    WritePlayLog("SKIP", kListOnAir, 0);
    return;
  }
  state_.StopReq = 0;
  state_.TimerStopFade = 0;
  ClearFadeState();
  // Stored paths may hold '\' or a server name: the player gets the file-system path.
  player.SetFileName(platform::ToNativePath(file));
  player.SetAttenuation(0);
  player.SetFromMS(startMS);
  if (info.Valid == 1) ApplyCueMarkers(file, startMS, info.SamplesPerSec);

  if (player.ToMS() - player.FromMS() < kMinPlayMs) {
    Log("WOUTPlay再生長さ500ms未満 " + file + p.TickTag);
    WritePlayLog("SKIP", kListOnAir, 0);
    return;
  }
  ports_.view->BlockCaptionClick(1);
  if (!player.Play()) {
    Log("WOUTPlay再生失敗 " + file, platform::LogSeverity::kError);
    return;
  }
  state_.PlayStart.Arm(ports_.clock->MonotonicMs(), TimerNow());
  WritePlayLog(file, kListOnAir, 0);
  if (player.mode() == audio::Player::kModePlaying) {
    Log("Play " + file);
  } else {
    Log("WOUTPlay再生モード反映されず " + file, platform::LogSeverity::kError);
  }
}

void PlayoutEngine::ApplyCueMarkers(const std::string& file, int32_t startMS,
                                    int32_t samplesPerSec) {
  if (samplesPerSec <= 0) return;
  const double rate = samplesPerSec;
  std::vector<audio::CuePoint> cues;
  const int32_t count = audio::ReadWaveCueChunks(file, 0, cues);
  audio::Player& player = Player();
  int32_t endSample = 0;
  for (int32_t i = 0; i < count && i < static_cast<int32_t>(cues.size()); ++i) {
    const audio::CuePoint& cue = cues[static_cast<size_t>(i)];
    if (cue.SampleOffset <= 0) continue;
    const std::string label = platform::UpperAscii(cue.Label);
    if (label == "BC$STANDBY" && settings_.CueActive[0] != 0) {
      // The play starts at the standby point, moved on by a late start.
      if (IsWaveOut()) {
        player_.waveOut->SetFromSample(CLng(cue.SampleOffset + startMS / 1000.0 * rate));
      } else {
        player.SetFromMS(CLng(cue.SampleOffset / rate * 1000.0 + startMS));
      }
    } else if (label == "BC$END" && settings_.CueActive[1] != 0) {
      endSample = cue.SampleOffset;
    } else if (label == "BC$STOP" && settings_.CueActive[2] == 1 && endSample <= 0) {
      endSample = cue.SampleOffset;
    }
  }
  if (endSample <= 0) return;
  if (IsWaveOut()) {
    player_.waveOut->SetToSample(endSample);
  } else {
    player.SetToMS(CLng(endSample / rate * 1000.0));
  }
}

}  // namespace playout
