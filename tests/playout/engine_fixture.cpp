#include "tests/playout/engine_fixture.h"

#include "audio/wave_header.h"
#include "platform/cp932.h"
#include "tests/audio/riff_fixture.h"

namespace playouttest {

void FakePlayer::SetFileName(const std::string& name) {
  playing_ = false;
  name_ = name;
  const audio::WaveInfo info = audio::ReadWaveHeader(name);
  rate_ = info.Valid == 1 ? info.SamplesPerSec : 0;
  length_ = info.Valid == 1 ? info.LengthMS : defaultLengthMs;
  from_ = 0;
  to_ = length_;
}

void FakePlayer::SetAttenuation(int32_t value) {
  attenuation = value;
  attenuations.push_back(value);
}

bool FakePlayer::Play() {
  if (!playResult) return false;
  plays.push_back(name_);
  playing_ = reflectsPlay;
  startMs_ = clock_.MonotonicMs();
  return true;
}

int32_t FakePlayer::Position(int32_t pMode) {
  if (!playing_) return 0;
  if (pMode == 2) return to_ - from_ - Elapsed();
  return from_ + Elapsed();
}

int32_t FakePlayer::mode() {
  if (playing_ && from_ + Elapsed() >= to_) playing_ = false;
  return playing_ ? 3 : 1;
}

void FakePlayer::SetFromSample(int32_t value) {
  fromSample = value;
  if (rate_ > 0) from_ = static_cast<int32_t>(int64_t{value} * 1000 / rate_);
}

void FakePlayer::SetToSample(int32_t value) {
  toSample = value;
  if (rate_ > 0) to_ = static_cast<int32_t>(int64_t{value} * 1000 / rate_);
}

namespace {

class FakeWaveOutMembers final : public playout::WaveOutMembers {
 public:
  explicit FakeWaveOutMembers(FakePlayer& player) : player_(player) {}
  void SetFromSample(int32_t value) override { player_.SetFromSample(value); }
  void SetToSample(int32_t value) override { player_.SetToSample(value); }
  int32_t ProgressionPlay() override { return 0; }

 private:
  FakePlayer& player_;
};

}  // namespace

playout::PlayerSlot FakePlayerFactory::Create(int32_t playerType, const std::string&) {
  auto player = std::make_unique<FakePlayer>(clock, playerType == 0);
  last = player.get();
  playout::PlayerSlot slot;
  if (playerType == 0) slot.waveOut = std::make_unique<FakeWaveOutMembers>(*player);
  slot.player = std::move(player);
  return slot;
}

namespace {

template <typename T>
T PopOr(std::deque<T>& queue, T none) {
  if (queue.empty()) return none;
  T value = queue.front();
  queue.pop_front();
  return value;
}

}  // namespace

std::string FakeInbox::Take() { return PopOr<std::string>(messages, ""); }

int32_t FakeContacts::Poll(int32_t group, playout::SwitcherState&) {
  return PopOr(pending[static_cast<size_t>(group)], 0);
}

void RecordingDevices::SwitchChannel(int32_t pIsOff, int32_t pFadeOn, int32_t pNextCh,
                                     playout::SwitcherState& state) {
  switches.push_back(std::string(pIsOff != 0 ? "off" : "on") + " fade=" + std::to_string(pFadeOn) +
                     " ch=" + std::to_string(pNextCh));
  if (pIsOff == 0) state.CurSWCh = pNextCh;
}

void FakeCommands::ReloadLocal() {
  ++reloads;
  if (!onReload.empty()) list = onReload;
}

std::string Quoted(const std::vector<std::string>& fields) {
  std::string text;
  for (const std::string& f : fields) text += (text.empty() ? "\"" : ",\"") + f + "\"";
  return text;
}

std::string Message(const std::vector<Entry>& entries, bool trailing) {
  std::string text;
  for (const Entry& e : entries) {
    if (!text.empty()) text += "\\n";
    text += Quoted({e.time, e.trigger, e.type, e.lengthMs, e.folder, e.file, e.cue, e.program});
  }
  if (trailing) text += "\\n";
  return text;
}

std::vector<std::string> Titles(const lists::ListModel& list) {
  std::vector<std::string> titles;
  for (int32_t r = 0; r < list.ItemCount(); ++r)
    titles.push_back(playout::ConstPlayRow(list, r).Title());
  return titles;
}

std::string WaveBytes(int32_t ms, const std::vector<std::pair<uint32_t, std::string>>& cues) {
  const uint32_t frames = static_cast<uint32_t>(ms) * 8;
  std::string body = rifftest::Chunk("fmt ", rifftest::FmtData(1, 1, 8000, 8)) +
                     rifftest::Chunk("data", std::string(frames, '\x80'));
  if (!cues.empty()) {
    std::vector<rifftest::CueEntry> points;
    std::string labels;
    for (size_t i = 0; i < cues.size(); ++i) {
      points.push_back({static_cast<uint32_t>(i + 1), cues[i].first});
      labels += rifftest::LablSubChunk(static_cast<uint32_t>(i + 1), cues[i].second);
    }
    body +=
        rifftest::Chunk("cue ", rifftest::CueData(points)) + rifftest::ListChunk("adtl", labels);
  }
  return rifftest::Riff(body);
}

EngineHarness::EngineHarness() : clock(platform::WallTime{2024, 5, 1, 9, 0, 0, 0}) {
  conf.TriggerString = {"TIME", "SEQ",  "CNT1", "CNT2", "CNT3",
                        "CNT4", "CNT5", "CNT6", "CNT7", "CNT8"};
  for (int32_t i = 0; i < foundation::kTypeCount; ++i) {
    conf.TypeName[static_cast<size_t>(i)] = "Type" + std::to_string(i);
    conf.TypeColor[static_cast<size_t>(i)] = 0x100 + i;
    conf.TypeColorAlt[static_cast<size_t>(i)] = 0x200 + i;
  }
  conf.CommandName = "コマンド";
  conf.CommandColor = 0x606060;
  conf.CommandColorAlt = 0xC0C0C0;
  conf.HourAdjust = 18000;
  station.LocalPath = dir.Sub("local") + "/";
  station.LocalLogFolder = station.LocalPath + "log/";
  station.SrvPath[0] = dir.Sub("server") + "/";
  dir.WriteFile("local/log/.keep", "");
  dir.WriteFile("server/.keep", "");
}

PlayoutEngine& EngineHarness::Make(int32_t playerType) {
  settings.PlayerType = playerType;
  engine_.reset();
  engine_ = std::make_unique<PlayoutEngine>(ports, settings);
  return *engine_;
}

void EngineHarness::Pass(int count, int64_t stepMs) {
  for (int i = 0; i < count; ++i) {
    clock.Advance(stepMs);
    engine_->TimerClock_Timer();
  }
}

void EngineHarness::PassUntil(int hour, int minute, int second) {
  for (int i = 0; i < 24 * 3600 * 20; ++i) {
    const platform::WallTime now = clock.Now();
    if (now.hour == hour && now.minute == minute && now.second == second) return;
    Pass();
  }
}

void EngineHarness::Contact(int32_t group, int32_t n) {
  contacts.open[static_cast<size_t>(group)] = true;
  contacts.pending[static_cast<size_t>(group)].push_back(n);
}

void EngineHarness::Receive(const std::string& text) {
  inbox.messages.push_back(text);
  Pass();
}

void EngineHarness::Queue(const std::vector<Entry>& entries) {
  inbox.messages.push_back(Message(entries));
  engine_->ReceiveSchedule();
  engine_->LoadFromRow(0, "");
}

std::string EngineHarness::WriteLocal(const std::string& relative, const std::string& bytes) {
  return dir.WriteFile("local/" + relative, bytes);
}

std::string EngineHarness::PlayLog() const {
  return platform::Cp932ToUtf8(testsupport::ReadWholeFile(engine_->PlayLogPath()));
}

std::string EngineHarness::Snapshot() const {
  return platform::Cp932ToUtf8(testsupport::ReadWholeFile(engine_->SnapshotPath()));
}

}  // namespace playouttest
