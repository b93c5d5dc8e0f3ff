#pragma once

#include <array>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "playout/playout_engine.h"
#include "tests/support/temp_dir.h"

// Hand-written fakes of the engine's outside world and a harness that builds an engine from
// them, a simulated clock and real temporary folders.
namespace playouttest {

using playout::PlayoutEngine;

class RecordingLog final : public playout::LogSink {
 public:
  void Write(const std::string& text, int32_t kind) override { lines.push_back({kind, text}); }
  // Lines (of either kind) that contain `part`.
  int Count(const std::string& part) const;
  bool Has(const std::string& part) const { return Count(part) > 0; }
  // Every line's text, joined by "\n".
  std::string All() const;
  void Clear() { lines.clear(); }

  struct Line {
    int32_t kind;
    std::string text;
  };
  std::vector<Line> lines;
};

// A player that plays by the simulated clock: it runs from FromMS until ToMS once Play is
// called. Length comes from the file's wave header, else `defaultLengthMs`.
class FakePlayer final : public audio::Player {
 public:
  FakePlayer(platform::Clock& clock, bool waveOut) : clock_(clock), waveOut_(waveOut) {}

  void Init() override {}
  std::string FileName() const override { return name_; }
  void SetFileName(const std::string& name) override;
  int32_t FromMS() const override { return from_; }
  void SetFromMS(int32_t ms) override { from_ = ms; }
  int32_t ToMS() const override { return to_; }
  void SetToMS(int32_t ms) override { to_ = ms; }
  int32_t Length() const override { return length_; }
  int32_t PanValue() override { return 0; }
  void SetPanValue(int32_t) override {}
  int32_t Attenuation() override { return attenuation; }
  void SetAttenuation(int32_t value) override;
  void SetVolMinLevel(int32_t) override {}
  bool Play() override;
  void Pause() override {}
  void StopIO(int32_t pNoMute = 0) override;
  int32_t Position(int32_t pMode = 0) override;
  int32_t mode() override;
  void CloseWave() override { playing_ = false; }

  void SetFromSample(int32_t value);
  void SetToSample(int32_t value);
  int32_t ProgressionPlay() {
    ++progressions;
    return 0;
  }
  bool IsWaveOut() const { return waveOut_; }

  // Script.
  bool playResult = true;
  bool reflectsPlay = true;  // false: mode() stays 1 after a successful Play
  int32_t defaultLengthMs = 30000;
  // Record.
  std::vector<std::string> plays;  // file of every Play that started
  std::vector<int32_t> attenuations;
  int32_t stops = 0;
  int32_t progressions = 0;
  int32_t fromSample = -1;
  int32_t toSample = -1;
  int32_t attenuation = 0;

 private:
  int32_t Elapsed() const;

  platform::Clock& clock_;
  bool waveOut_;
  std::string name_;
  int32_t rate_ = 0;
  int32_t from_ = 0;
  int32_t to_ = 0;
  int32_t length_ = 0;
  bool playing_ = false;
  int64_t startMs_ = 0;
};

class FakePlayerFactory final : public playout::PlayerFactory {
 public:
  explicit FakePlayerFactory(platform::Clock& clock) : clock_(clock) {}
  playout::PlayerSlot Create(int32_t playerType, const std::string&) override;
  FakePlayer* last = nullptr;

 private:
  platform::Clock& clock_;
};

class FakeServer final : public playout::ServerProbe {
 public:
  int32_t CheckServerAlive() override {
    ++checks;
    return alive;
  }
  int32_t alive = 1;
  int32_t checks = 0;
};

class FakeInbox final : public playout::ScheduleInbox {
 public:
  std::string Take() override;
  std::deque<std::string> messages;
};

class FakeContacts final : public playout::ContactSources {
 public:
  bool IsOpen(int32_t group) const override { return open[static_cast<size_t>(group)]; }
  int32_t Poll(int32_t group) override;
  std::array<bool, 4> open{};
  std::array<std::deque<int32_t>, 4> pending;
  std::array<int32_t, 4> polls{};
};

class RecordingDevices final : public playout::DeviceLink {
 public:
  bool TimeCodeOpen() const override { return timeCode; }
  bool HidOK() const override { return hid; }
  bool MidiPortsOpen() const override { return midi; }
  int32_t MidiMode() const override { return midiMode; }
  int32_t FaderLevel() const override { return faderLevel; }
  void ParseSerialTime() override { ++timeCodeReads; }
  void AdjustClockFromSerial() override { ++clockAdjusts; }
  void SwitchChannel(int32_t pIsOff, int32_t pFadeOn, int32_t pNextCh,
                     playout::SwitcherState& state) override;
  void SendMidiFader(int32_t channel, int32_t level) override;
  void EndHidPulse(int32_t port) override { pulseEnds.push_back(port); }

  bool timeCode = false, hid = false, midi = false;
  int32_t midiMode = 0;
  int32_t faderLevel = 13376;
  int32_t timeCodeReads = 0, clockAdjusts = 0;
  std::vector<std::string> switches;  // "off fade=0 ch=0", "on fade=1 ch=3"
  std::vector<std::pair<int32_t, int32_t>> faders;
  std::vector<int32_t> pulseEnds;
};

class CountingTimeSync final : public playout::TimeSync {
 public:
  void Start() override { ++starts; }
  int32_t starts = 0;
};

class RecordingNotices final : public playout::MessageNotices {
 public:
  void Post(const std::string& title, const std::string& text) override {
    posts.push_back(title + "|" + text);
  }
  std::vector<std::string> posts;
};

class RecordingView final : public playout::ViewNotifications {
 public:
  void ClockCell(int32_t cell, const std::string& text) override { cells[cell] = text; }
  void CountDown(int32_t colorType, int32_t seconds, const std::string& text) override;
  void OnAirBox(int32_t onAir) override { onAirBox = onAir; }
  void ListChanged(int32_t list) override { ++listChanges[static_cast<size_t>(list)]; }
  void OnAirStyle(int32_t fore, int32_t back) override { styles.push_back({fore, back}); }
  void Trace(const std::string& text) override { trace = text; }
  void LoadPanelText(const std::string& text) override { loadPanel = text; }
  void BlockCaptionClick(int32_t flag) override { captionBlocked = flag; }

  std::map<int32_t, std::string> cells;
  int32_t countColor = -1, countSeconds = -1;
  std::string countText;
  int32_t onAirBox = -1;
  std::array<int32_t, 3> listChanges{};
  std::vector<std::pair<int32_t, int32_t>> styles;
  std::string trace, loadPanel;
  int32_t captionBlocked = 0;
};

class FakeCommands final : public playout::CommandSchedules {
 public:
  const std::vector<foundation::ScheduleEntry>& List() const override { return list; }
  void ReloadLocal() override;
  std::vector<foundation::ScheduleEntry> list;
  // What a reload finds in the local command folder (empty: the list stays).
  std::vector<foundation::ScheduleEntry> onReload;
  int32_t reloads = 0;
};

// One schedule entry of the companion's message.
struct Entry {
  std::string time = "";
  std::string trigger = "0";
  std::string type = "0";
  std::string lengthMs = "30000";
  std::string folder = "";
  std::string file = "a.wav";
  std::string cue = "20240501080000_01.cue";
  std::string program = "Morning";
};
// The message text: the entries quoted, joined by backslash-n (`trailing` adds one at the end).
std::string Message(const std::vector<Entry>& entries, bool trailing = false);

// A mono 8-bit 8 kHz wave file of `ms` milliseconds, optionally with cue labels (offset in
// samples, label).
std::string WaveBytes(int32_t ms, const std::vector<std::pair<uint32_t, std::string>>& cues = {});

class EngineHarness {
 public:
  // The clock starts at 2024/05/01 09:00:00.000; the broadcast day starts at 05:00.
  EngineHarness();

  // Builds (or rebuilds) the engine with the current settings and ports.
  PlayoutEngine& Make(int32_t playerType = 0);
  PlayoutEngine& engine() { return *engine_; }
  FakePlayer& player() { return *players.last; }
  playout::PlayoutState& state() { return engine_->State(); }
  lists::ListModel& queue() { return engine_->LVS(playout::kListQueue); }
  lists::ListModel& onAir() { return engine_->LVS(playout::kListOnAir); }
  lists::ListModel& load() { return engine_->LVS(playout::kListLoad); }

  // Advances the clock by `stepMs` and runs one pass, `count` times.
  void Pass(int count = 1, int64_t stepMs = 50);
  // Passes of 50 ms until the wall clock reads hh:mm:ss (at most a day of passes).
  void PassUntil(int hour, int minute, int second);
  // The engine receives `text` as a schedule message, then runs one pass (on air, so the
  // triggers run).
  void Receive(const std::string& text);
  // Puts the entries straight into the queue as a manual load from row 0 would.
  void Queue(const std::vector<Entry>& entries);
  // A sound file under the local (or server) folder.
  std::string WriteLocal(const std::string& relative, const std::string& bytes);
  std::string WriteServer(const std::string& relative, const std::string& bytes);
  std::string PlayLog() const;
  std::string Snapshot() const;

  testsupport::TempDir dir;
  platform::SimulatedClock clock;
  RecordingLog log;
  foundation::ConfTables conf;
  foundation::StationSettings station;
  FakeCommands commands;
  FakePlayerFactory players{clock};
  FakeServer server;
  FakeInbox inbox;
  FakeContacts contacts;
  RecordingDevices devices;
  CountingTimeSync timeSync;
  RecordingNotices notices;
  RecordingView view;
  playout::PlayoutSettings settings;
  // Real parts in place of the fake player and inbox, when set.
  playout::PlayerFactory* playerFactory = nullptr;
  playout::ScheduleInbox* scheduleInbox = nullptr;

 private:
  std::unique_ptr<PlayoutEngine> engine_;
};

}  // namespace playouttest
