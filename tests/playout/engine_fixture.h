#pragma once

#include <array>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "playout/playout_engine.h"
#include "tests/fakes/platform/simulated_clock.h"
#include "tests/playout/engine_state_builder.h"
#include "tests/support/recording_log.h"
#include "tests/support/temp_dir.h"

// Hand-written fakes of the engine's outside world, and a harness that builds an engine from
// them, a simulated clock and real temporary folders.
namespace playouttest {

using playout::PlayoutEngine;

using testsupport::RecordingLog;

// Plays by the simulated clock from FromMS to ToMS once Play is called. The length is the wave
// header's, else `defaultLengthMs`.
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
  void StopIO(int32_t = 0) override { playing_ = false; }
  int32_t Position(int32_t pMode = 0) override;
  int32_t mode() override;
  void CloseWave() override { playing_ = false; }
  void SetFromSample(int32_t value);
  void SetToSample(int32_t value);

  bool playResult = true;
  bool reflectsPlay = true;  // false: mode() stays 1 after a successful Play
  int32_t defaultLengthMs = 30000;
  std::vector<std::string> plays;  // the file of every Play that started
  std::vector<int32_t> attenuations;
  int32_t attenuation = 0, fromSample = -1, toSample = -1;

 private:
  int32_t Elapsed() const { return static_cast<int32_t>(clock_.MonotonicMs() - startMs_); }
  platform::Clock& clock_;
  bool waveOut_;
  std::string name_;
  int32_t rate_ = 0, from_ = 0, to_ = 0, length_ = 0;
  bool playing_ = false;
  int64_t startMs_ = 0;
};

struct FakePlayerFactory final : playout::PlayerFactory {
  explicit FakePlayerFactory(platform::Clock& c) : clock(c) {}
  playout::PlayerSlot Create(int32_t playerType, const std::string&) override;
  platform::Clock& clock;
  FakePlayer* last = nullptr;
};

struct FakeServer final : playout::ServerProbe {
  int32_t CheckServerAlive() override { return ++checks, alive; }
  int32_t alive = 1, checks = 0;
};

struct FakeInbox final : playout::ScheduleInbox {
  std::string Take() override;
  std::deque<std::string> messages;
};

struct FakeContacts final : playout::ContactSources {
  bool IsOpen(int32_t group) const override { return open[static_cast<size_t>(group)]; }
  int32_t Poll(int32_t group, playout::SwitcherState&) override;
  std::array<bool, 4> open{};
  std::array<std::deque<int32_t>, 4> pending;
};

struct RecordingDevices final : playout::DeviceLink {
  bool TimeCodeOpen() const override { return false; }
  bool HidOK() const override { return false; }
  bool MidiPortsOpen() const override { return midi; }
  int32_t MidiMode() const override { return 0; }
  int32_t FaderLevel() const override { return 13376; }
  void ParseSerialTime() override {}
  void AdjustClockFromSerial() override { ++clockAdjusts; }
  void SwitchChannel(int32_t pIsOff, int32_t pFadeOn, int32_t pNextCh,
                     playout::SwitcherState& state) override;
  void SendMidiFader(int32_t channel, int32_t level) override {
    faders.push_back({channel, level});
  }
  void EndHidPulse(int32_t) override {}
  bool midi = false;
  int32_t clockAdjusts = 0;
  std::vector<std::string> switches;  // "off fade=0 ch=0", "on fade=1 ch=3"
  std::vector<std::pair<int32_t, int32_t>> faders;
};

struct CountingTimeSync final : playout::TimeSync {
  void Start() override { ++starts; }
  int32_t starts = 0;
};

struct RecordingNotices final : playout::MessageNotices {
  void Post(const std::string& title, const std::string& text) override {
    posts.push_back(title + "|" + text);
  }
  std::vector<std::string> posts;
};

struct RecordingView final : playout::ViewNotifications {
  void ClockCell(int32_t cell, const std::string& text) override { cells[cell] = text; }
  void CountDown(int32_t colorType, int32_t seconds, const std::string& text) override {
    countColor = colorType, countSeconds = seconds, countText = text;
  }
  void OnAirBox(int32_t onAir) override { onAirBox = onAir; }
  void ListChanged(int32_t) override {}
  void OnAirStyle(int32_t, int32_t) override {}
  void Trace(const std::string& text) override { trace = text; }
  void LoadPanelText(const std::string& text) override { loadPanel = text; }
  void BlockCaptionClick(int32_t flag) override { captionBlocked = flag; }
  std::map<int32_t, std::string> cells;
  int32_t countColor = -1, countSeconds = -1, onAirBox = -1, captionBlocked = 0;
  std::string countText, trace, loadPanel;
};

struct FakeCommands final : playout::CommandSchedules {
  const std::vector<foundation::ScheduleEntry>& List() const override { return list; }
  void ReloadLocal() override;
  std::vector<foundation::ScheduleEntry> list;
  std::vector<foundation::ScheduleEntry> onReload;  // what a reload finds (empty: no change)
  int32_t reloads = 0;
};

// One entry of the companion's schedule message.
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
// The message text: entries quoted and joined by backslash-n (`trailing`: one more at the end).
std::string Message(const std::vector<Entry>& entries, bool trailing = false);
// Fields quoted and joined by commas, as the schedule, the snapshot and the play log write them.
std::string Quoted(const std::vector<std::string>& fields);

// A mono 8-bit 8 kHz wave file of `ms` milliseconds with optional cue labels (sample, label).
// The titles of the list's rows.
std::vector<std::string> Titles(const lists::ListModel& list);

std::string WaveBytes(int32_t ms, const std::vector<std::pair<uint32_t, std::string>>& cues = {});

class EngineHarness {
 public:
  // The clock starts at 2024/05/01 09:00:00.000; the broadcast day starts at 05:00.
  EngineHarness();

  // Builds (or rebuilds) the engine from the current settings and ports.
  PlayoutEngine& Make(int32_t playerType = 0);
  // Ends the engine ahead of the harness, while the real parts it was given still exist.
  void Drop() { engine_.reset(); }
  PlayoutEngine& engine() { return *engine_; }
  FakePlayer& player() { return *players.last; }
  const playout::PlayoutState& state() const { return engine_->State(); }
  playout::EngineStateBuilder Build() { return playout::EngineStateBuilder(*engine_); }
  lists::ListModel& queue() { return engine_->LVS(playout::kListQueue); }
  lists::ListModel& onAir() { return engine_->LVS(playout::kListOnAir); }
  lists::ListModel& load() { return engine_->LVS(playout::kListLoad); }

  // Advances the clock by `stepMs` and runs one pass, `count` times.
  void Pass(int count = 1, int64_t stepMs = 50);
  // Passes of 50 ms up to and including the one at which the clock reads hh:mm:ss.
  void PassUntil(int hour, int minute, int second);
  // Contact `n` arrives on the contact source `group` (which is then open).
  void Contact(int32_t group, int32_t n);
  // The schedule message arrives and one pass runs.
  void Receive(const std::string& text);
  // Reads the entries into the load list and loads the queue from its row 0.
  void Queue(const std::vector<Entry>& entries);
  std::string WriteLocal(const std::string& relative, const std::string& bytes);
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
  // The engine's outside world: the fakes above, or real parts a test puts in their place.
  playout::PlayoutPorts ports{&clock, &log,      &conf,    &station,  &commands, &players, &server,
                              &inbox, &contacts, &devices, &timeSync, &notices,  &view};

 private:
  std::unique_ptr<PlayoutEngine> engine_;
};

}  // namespace playouttest
