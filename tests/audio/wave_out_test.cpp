#include "audio/wave_out.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "audio/volume_curve.h"
#include "audio/wave_error.h"
#include "foundation/app_globals.h"
#include "foundation/conversions.h"
#include "foundation/debug_log.h"
#include "foundation/waits.h"
#include "platform/clock.h"
#include "platform/wave_out_virtual.h"
#include "tests/audio/riff_fixture.h"
#include "tests/fakes/platform/simulated_clock.h"
#include "tests/support/app_test_env.h"
#include "tests/support/recording_log.h"
#include "tests/support/temp_dir.h"

namespace audio {
namespace {

using platform::VirtualClockMode;
using platform::VirtualFault;
using platform::VirtualWaveOut;
using platform::WaveCall;

constexpr uint32_t kRate = 8000;
// 100 ms at 8 kHz is 800 frames, cut to 768 per page.
constexpr int32_t kPageFrames = 768;

// Sample bytes that never repeat within a page, so a page played twice or out of order shows.
std::string PatternBytes(size_t count) {
  std::string bytes(count, '\0');
  for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<char>(i * 7 + i / 251 + 3);
  return bytes;
}

std::string WaveFile(uint16_t channels, uint16_t bits, const std::string& data, uint16_t tag = 1) {
  return rifftest::PcmWave(channels, kRate, bits, data, tag);
}

// What output `o` carries of a file split into stereo pairs: the o-th pair of every frame.
std::string PairOf(const std::string& data, size_t channels, size_t sampleBytes, size_t o) {
  const size_t align = channels * sampleBytes;
  std::string pair;
  for (size_t at = o * 2 * sampleBytes; at + 2 * sampleBytes <= data.size(); at += align)
    pair += data.substr(at, 2 * sampleBytes);
  return pair;
}

class WaveOutTest : public ::testing::Test {
 protected:
  WaveOutTest() {
    platform::SetCurrentClock(&clock_);
    foundation::Globals().LogError = 1;
    foundation::Globals().DebugLogPath = env_.dir().Sub("log") + "/";
  }
  ~WaveOutTest() override {
    platform::SetCurrentClock(nullptr);
    SetWaveErrorNotifier(nullptr);
  }

  // A fresh device of four outputs and a player on it set up the way the playout does it, with
  // short pages.
  std::unique_ptr<C_WaveOut> MakePlayer(VirtualClockMode mode, int32_t muteMs = 0) {
    platform::VirtualWaveOutOptions options;
    options.outputs = {"out0", "out1", "out2", "out3"};
    options.clock = mode;
    device_ = std::make_shared<VirtualWaveOut>(deviceLog_, options);
    auto player = std::make_unique<C_WaveOut>(log_, device_);
    player->SetBufferPagemsec(100);
    player->SetNumBufferPages(5);
    player->SetDeviceID(0);
    for (int32_t o = 1; o < 4; ++o) player->SetExtDeviceID(o, o);
    player->SetMuteMS(muteMs);
    player->Init();
    player->SetAttenuation(0);
    return player;
  }

  std::string Write(const std::string& name, const std::string& bytes) {
    return env_.dir().WriteFile(name, bytes);
  }

  // Plays and polls until the player stops.
  void PlayToEnd(C_WaveOut& player) {
    EXPECT_TRUE(player.Play());
    PollToEnd(player);
  }

  // One pass of the playout's tick: the device plays on and the clock moves by `ms`.
  void Pass(C_WaveOut& player, int64_t ms = 50) {
    if (device_) device_->AdvanceMs(ms);
    clock_.Advance(ms);
    player.ProgressionPlay();
  }

  // Polls the way the playout's tick does until the player stops (bounded).
  void PollToEnd(C_WaveOut& player, int64_t msPerPoll = 50, int maxPolls = 2000) {
    for (int i = 0; i < maxPolls && player.mode() == 3; ++i) Pass(player, msPerPoll);
  }

  // The calls of stream `stream` from call `from` on.
  std::vector<WaveCall> CallsOf(size_t stream, size_t from = 0) {
    const auto streams = device_->Streams();
    std::vector<WaveCall> calls;
    if (stream >= streams.size()) return calls;
    for (size_t i = from; i < streams[stream].calls.size(); ++i) {
      calls.push_back(streams[stream].calls[i].call);
    }
    return calls;
  }

  std::string Played(size_t stream) {
    const auto streams = device_->Streams();
    if (stream >= streams.size()) return {};
    return std::string(streams[stream].played.begin(), streams[stream].played.end());
  }

  std::vector<int64_t> WriteLengths() {
    std::vector<int64_t> lengths;
    const auto streams = device_->Streams();
    for (const auto& call : streams[0].calls) {
      if (call.call == WaveCall::kWrite) lengths.push_back(call.value);
    }
    return lengths;
  }

  std::string ErrorLog() {
    return testsupport::ReadWholeFile(foundation::DebugLogFilePath(platform::LogSeverity::kError));
  }

  testsupport::AppTestEnv env_;
  platform::SimulatedClock clock_;
  foundation::DebugLog log_;
  // What the device itself says (its underruns and failures).
  testsupport::RecordingLog deviceLog_;
  std::shared_ptr<VirtualWaveOut> device_;
};

TEST_F(WaveOutTest, PlaysTheRangeByteForByte) {
  struct Case {
    uint16_t channels, bits;
    bool software;  // UsePeakVol 1 runs the gain path at unity gain: same bytes
  };
  const Case cases[] = {{1, 8, false},  {2, 8, false},  {1, 16, false}, {2, 16, false},
                        {1, 24, false}, {2, 24, false}, {1, 8, true},   {2, 8, true},
                        {2, 24, true},  {1, 24, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.channels << " ch " << c.bits << " bit sw " << c.software);
    const size_t align = c.channels * c.bits / 8;
    const std::string data = PatternBytes(5000 * align);
    auto player = MakePlayer(VirtualClockMode::kInstant);
    player->SetUsePeakVol(c.software ? 1 : 0);
    player->SetFileName(Write("a.wav", WaveFile(c.channels, c.bits, data)));
    player->SetFromSample(123);
    player->SetToSample(4567);
    ASSERT_TRUE(player->Play());
    EXPECT_EQ(player->mode(), 3);
    PollToEnd(*player);
    EXPECT_EQ(player->mode(), 1);
    ASSERT_EQ(device_->Streams().size(), 1u);
    EXPECT_EQ(Played(0), data.substr(123 * align, (4567 - 123) * align));
    EXPECT_EQ(device_->OpenStreamCount(), 0);
  }
}

TEST_F(WaveOutTest, MultichannelFilesSplitIntoStereoOutputs) {
  for (const auto& [channels, bits] :
       std::vector<std::pair<uint16_t, uint16_t>>{{6, 16}, {8, 16}, {6, 24}, {8, 24}}) {
    SCOPED_TRACE(testing::Message() << channels << " ch " << bits << " bit");
    const size_t sample = bits / 8;
    const std::string data = PatternBytes(2000 * channels * sample);
    auto player = MakePlayer(VirtualClockMode::kInstant);
    player->SetFileName(Write("m.wav", WaveFile(channels, bits, data)));
    PlayToEnd(*player);
    const auto streams = device_->Streams();
    ASSERT_EQ(streams.size(), channels / 2u);
    for (size_t o = 0; o < streams.size(); ++o) {
      EXPECT_EQ(streams[o].device_id, static_cast<int32_t>(o));
      EXPECT_EQ(Played(o), PairOf(data, channels, sample, o)) << "output " << o;
    }
  }

  // With the extensible format one output carries every channel as the file has them.
  const std::string data = PatternBytes(1500 * 24);
  auto player = MakePlayer(VirtualClockMode::kInstant);
  player->SetUseExtensible(1);
  player->SetFileName(Write("x.wav", WaveFile(8, 24, data)));
  PlayToEnd(*player);
  ASSERT_EQ(device_->Streams().size(), 1u);
  EXPECT_EQ(device_->Streams()[0].format.format_tag, platform::kWaveFormatExtensible);
  EXPECT_EQ(device_->Streams()[0].format.channels, 8);
  EXPECT_EQ(Played(0), data);
}

TEST_F(WaveOutTest, AttenuationThroughDeviceVolumeOrSoftwareGainAndPan) {
  std::string data;
  for (int i = 0; i < 1000; ++i) data += rifftest::Samples16({20000, -20000});
  const std::string path = Write("s.wav", WaveFile(2, 16, data));
  const float gain = VolumeCurveGain(0.5f);  // -2000 of -4000

  // Device volume: the samples go out as read, the device scales them.
  auto mixer = MakePlayer(VirtualClockMode::kManual);
  mixer->SetUseMixer(1);
  mixer->SetFileName(path);
  mixer->SetAttenuation(-2000);
  const uint32_t m = static_cast<uint32_t>(std::floor(gain * 65535.0));
  uint32_t volume = 0;
  ASSERT_EQ(device_->GetVolume(0, &volume), 0);
  EXPECT_EQ(volume, m * 0x10001u);
  mixer->SetAttenuation(100);
  EXPECT_EQ(mixer->Attenuation(), 0);
  device_->GetVolume(0, &volume);
  EXPECT_EQ(volume, 0xFFFFFFFFu);
  mixer->SetAttenuation(-9000);
  EXPECT_EQ(mixer->Attenuation(), -4000);

  // Software gain with pan: each channel's own gain, rounded half to even.
  struct Case {
    int32_t pan;
    double left, right;
  };
  const Case cases[] = {{0, gain, gain},
                        {-10000, gain, 0.0},
                        {-5000, gain, gain * foundation::DbToGain(-30.0)},
                        {10000, 0.0, gain}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pan);
    auto player = MakePlayer(VirtualClockMode::kInstant);
    player->SetUsePeakVol(1);
    player->SetFileName(path);
    player->SetPanValue(c.pan);
    player->SetAttenuation(-2000);
    PlayToEnd(*player);
    const std::string out = Played(0);
    ASSERT_EQ(out.size(), data.size());
    const auto sampleAt = [&](size_t i) {
      return static_cast<int16_t>(static_cast<uint8_t>(out[2 * i]) |
                                  (static_cast<uint8_t>(out[2 * i + 1]) << 8));
    };
    const float left = static_cast<float>(c.left), right = static_cast<float>(c.right);
    EXPECT_EQ(sampleAt(0), static_cast<int16_t>(std::nearbyint(20000.0 * left)));
    EXPECT_EQ(sampleAt(1), static_cast<int16_t>(std::nearbyint(-20000.0 * right)));
    EXPECT_EQ(sampleAt(1998), sampleAt(0));
  }

  // A stereo file without the software path plays at full level whatever Attenuation says.
  auto plain = MakePlayer(VirtualClockMode::kInstant);
  plain->SetFileName(path);
  plain->SetAttenuation(-3000);
  PlayToEnd(*plain);
  EXPECT_EQ(Played(0), data);
}

TEST_F(WaveOutTest, ClosingSilenceRunsOnThePassesWithoutHoldingTheCaller) {
  auto player = MakePlayer(VirtualClockMode::kManual, 120);
  const std::string path = Write("a.wav", WaveFile(2, 16, PatternBytes(20000 * 4)));
  player->SetFileName(path);
  int ticks = 0;
  int pendingWork = 0;
  foundation::SetPendingWorkHook([&] { ++pendingWork; });
  player->SetMuteTick([&] {
    ++ticks;
    EXPECT_EQ(player->WhileMute(), 1);
  });
  ASSERT_TRUE(player->Play());
  device_->AdvanceMs(30);
  const size_t callsBefore = device_->Streams()[0].calls.size();
  const int64_t before = clock_.MonotonicMs();
  player->StopIO(0);

  // StopIO returns at once; the player stays busy through the silence.
  EXPECT_EQ(clock_.MonotonicMs(), before);
  EXPECT_EQ(player->WhileMute(), 1);
  EXPECT_EQ(player->mode(), 3);
  EXPECT_EQ(player->Position(0), player->Length());
  // Reset, then silence on pages 0, 2 and 4.
  EXPECT_EQ(CallsOf(0, callsBefore), (std::vector<WaveCall>{WaveCall::kReset, WaveCall::kWrite,
                                                            WaveCall::kWrite, WaveCall::kWrite}));
  EXPECT_EQ(device_->Streams()[0].calls[callsBefore + 1].value, kPageFrames * 4);

  // The 50 ms passes keep their rhythm: MuteTick every 10 ms, the stop finished by the pass
  // that finds 120 ms gone.
  Pass(*player);
  EXPECT_EQ(ticks, 5);
  EXPECT_EQ(player->WhileMute(), 1);
  Pass(*player);
  EXPECT_EQ(ticks, 10);
  EXPECT_EQ(player->mode(), 3);
  Pass(*player);
  EXPECT_EQ(ticks, 12);
  foundation::SetPendingWorkHook(nullptr);
  EXPECT_EQ(pendingWork, 0) << "the silence never runs pending window work";
  EXPECT_EQ(player->WhileMute(), 0);
  EXPECT_EQ(player->mode(), 1);
  EXPECT_FALSE(device_->Streams()[0].open);
  // After the silence: the reset, five unprepares, the close.
  EXPECT_EQ(CallsOf(0, callsBefore + 4),
            (std::vector<WaveCall>{WaveCall::kReset, WaveCall::kUnprepare, WaveCall::kUnprepare,
                                   WaveCall::kUnprepare, WaveCall::kUnprepare, WaveCall::kUnprepare,
                                   WaveCall::kClose}));

  // CancelMute ends the silence: from the tick handler within the pass, or set between passes
  // at the next pass.
  C_WaveOut* raw = player.get();
  ticks = 0;
  player->SetMuteTick([&] {
    ++ticks;
    raw->SetCancelMute(1);
  });
  ASSERT_TRUE(player->Play());
  player->StopIO(0);
  Pass(*player);
  EXPECT_EQ(ticks, 1);
  EXPECT_EQ(player->mode(), 1);
  ASSERT_TRUE(player->Play());
  player->StopIO(0);
  player->SetCancelMute(1);
  Pass(*player, 5);
  EXPECT_EQ(ticks, 1);
  EXPECT_EQ(player->mode(), 1);
  EXPECT_EQ(device_->OpenStreamCount(), 0);
}

// What each member does while the closing silence runs: the setters, Pause and the feed do
// nothing; FileName, Play, Init, CloseWave and an immediate stop finish the stop and go on.
TEST_F(WaveOutTest, MembersDuringTheClosingSilence) {
  const std::string data = PatternBytes(20000 * 2);
  const std::string path = Write("a.wav", WaveFile(1, 16, data));
  struct Case {
    const char* name;
    std::function<void(C_WaveOut&)> call;
    bool endsSilence;
    std::function<void(C_WaveOut&)> check;
  };
  const Case cases[] = {
      {"StopIO(0)", [](C_WaveOut& p) { p.StopIO(0); }, false, nullptr},
      {"Pause", [](C_WaveOut& p) { p.Pause(); }, false, nullptr},
      {"ProgressionPlay", [](C_WaveOut& p) { p.ProgressionPlay(); }, false, nullptr},
      {"FromSample", [](C_WaveOut& p) { p.SetFromSample(800); }, false,
       [](C_WaveOut& p) { EXPECT_EQ(p.FromSample(), 0); }},
      {"Attenuation", [](C_WaveOut& p) { p.SetAttenuation(-1000); }, false,
       [](C_WaveOut& p) { EXPECT_EQ(p.Attenuation(), 0); }},
      {"StopIO(1)", [](C_WaveOut& p) { p.StopIO(1); }, true, nullptr},
      {"Init", [](C_WaveOut& p) { p.Init(); }, true, nullptr},
      {"CloseWave", [](C_WaveOut& p) { p.CloseWave(); }, true,
       [](C_WaveOut& p) { EXPECT_EQ(p.FileName(), ""); }},
      {"FileName", [&](C_WaveOut& p) { p.SetFileName(path); }, true,
       [&](C_WaveOut& p) {
         EXPECT_EQ(p.FileName(), path);
         p.SetFromSample(800);
         EXPECT_EQ(p.FromSample(), 800);
       }},
      {"Play", [](C_WaveOut& p) { EXPECT_TRUE(p.Play()); }, true, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto player = MakePlayer(VirtualClockMode::kManual, 50);
    player->SetFileName(path);
    ASSERT_TRUE(player->Play());
    player->StopIO(0);
    ASSERT_EQ(player->WhileMute(), 1);
    c.call(*player);
    EXPECT_EQ(player->WhileMute(), c.endsSilence ? 0 : 1);
    EXPECT_FALSE(device_->Streams()[0].open && c.endsSilence) << "the stopped output closes";
    if (c.check) c.check(*player);
    if (std::string(c.name) == "Play") {
      // The new play is not cut by the stop it ended: it plays from the start.
      EXPECT_EQ(player->mode(), 3);
      ASSERT_EQ(device_->Streams().size(), 2u);
      device_->AdvanceMs(50);
      EXPECT_EQ(Played(1), data.substr(0, 400 * 2));
      player->StopIO(1);
    } else if (!c.endsSilence) {
      EXPECT_EQ(player->mode(), 3);
      Pass(*player);
      EXPECT_EQ(player->WhileMute(), 0) << "the next pass still ends the silence";
    }
    EXPECT_EQ(player->mode(), 1);
  }
  // The player's end finishes a running silence too, leaving no output open.
  auto player = MakePlayer(VirtualClockMode::kManual, 50);
  player->SetFileName(path);
  ASSERT_TRUE(player->Play());
  player->StopIO(0);
  player.reset();
  EXPECT_EQ(device_->OpenStreamCount(), 0);
}

TEST_F(WaveOutTest, FeedReportsTheEndAndStops) {
  auto player = MakePlayer(VirtualClockMode::kManual, 50);
  const std::string data = PatternBytes(5000 * 2);
  player->SetFileName(Write("a.wav", WaveFile(1, 16, data)));
  // A range shorter than one page: one short page, then the end.
  player->SetFromSample(1000);
  player->SetToSample(1400);
  ASSERT_TRUE(player->Play());
  EXPECT_EQ(WriteLengths(), std::vector<int64_t>{400 * 2});
  EXPECT_EQ(player->Position(2), 50);  // 400 frames at 8 kHz

  // -3: the end is reached but the page still plays, so the player goes on.
  device_->AdvanceMs(20);
  EXPECT_EQ(player->ProgressionPlay(), 0);
  EXPECT_EQ(player->mode(), 3);
  EXPECT_EQ(player->Position(0), 145);  // 1000 + 160 frames
  EXPECT_EQ(player->Position(2), 30);
  // -4 once the devices have played it: stopped with the mute, next play from the start.
  device_->AdvanceMs(40);
  EXPECT_EQ(player->ProgressionPlay(), 0);
  EXPECT_EQ(player->WhileMute(), 1);
  Pass(*player);
  EXPECT_EQ(player->mode(), 1);
  EXPECT_EQ(Played(0), data.substr(2000, 800) + std::string(400 * 2, '\0'))
      << "the range, then the closing silence";
  EXPECT_EQ(player->FromSample(), 1000);
  EXPECT_EQ(player->Position(0), 0);
  EXPECT_EQ(player->ProgressionPlay(), 0);

  // Polls queue the pages not yet written: (8000 div 768) div 3 = 3 pages per call at most.
  player = MakePlayer(VirtualClockMode::kManual);
  player->SetFileName(Write("b.wav", WaveFile(1, 16, data)));
  ASSERT_TRUE(player->Play());
  EXPECT_EQ(WriteLengths().size(), 2u);
  player->ProgressionPlay();
  EXPECT_EQ(WriteLengths().size(), 5u);
  player->ProgressionPlay();
  EXPECT_EQ(WriteLengths().size(), 5u) << "every page is queued";
  PollToEnd(*player, 10);
  EXPECT_EQ(Played(0), data);
}

TEST_F(WaveOutTest, LoopsFromTheEndPointToTheLoopPointWithoutAGap) {
  auto player = MakePlayer(VirtualClockMode::kInstant);
  const std::string data = PatternBytes(4000);
  player->SetFileName(Write("a.wav", WaveFile(1, 8, data)));
  player->SetFromSample(100);
  player->SetToSample(2000);
  player->SetStbyPoint(1500);
  player->SetLoopOn(1);
  ASSERT_TRUE(player->Play());
  for (int i = 0; i < 40; ++i) player->ProgressionPlay();
  EXPECT_EQ(player->mode(), 3);
  std::string expected = data.substr(100, 1900);
  while (expected.size() < Played(0).size()) expected += data.substr(1500, 500);
  const std::string played = Played(0);
  EXPECT_GT(played.size(), 1900u + 3 * 500u);
  EXPECT_EQ(played, expected.substr(0, played.size()));
  player->StopIO(1);
  EXPECT_EQ(player->mode(), 1);
}

TEST_F(WaveOutTest, EveryOutputFinishesAPageBeforeItIsRefilled) {
  auto player = MakePlayer(VirtualClockMode::kManual);
  const std::string data = PatternBytes(3000 * 12);
  player->SetFileName(Write("a.wav", WaveFile(6, 16, data)));
  ASSERT_TRUE(player->Play());
  // Output 1 holds back; the others run on to the end of the file.
  device_->Pause(player->hWave(1));
  PollToEnd(*player, 50, 40);
  EXPECT_EQ(player->mode(), 3) << "output 1 still has pages to play";
  EXPECT_EQ(Played(1), "");
  device_->Restart(player->hWave(1));
  PollToEnd(*player);
  EXPECT_EQ(player->mode(), 1);
  for (size_t o = 0; o < 3; ++o) EXPECT_EQ(Played(o), PairOf(data, 6, 2, o)) << "output " << o;
}

// A dropout reaches the debug log at the pass after it happened; the pages of a failed device
// still finish, and the next play opens the output anew and is heard.
TEST_F(WaveOutTest, DeviceHealthReachesTheLogAtThePass) {
  auto player = MakePlayer(VirtualClockMode::kManual, 50);
  player->SetNoClose(1);  // as the playout sets it: the failed output must not be kept
  const std::string data = PatternBytes(5000 * 2);
  const std::string path = Write("a.wav", WaveFile(1, 16, data));
  player->SetFileName(path);
  // An underrun at 125 ms, the device gone at 237.5 ms.
  device_->ScriptFault(VirtualFault::kUnderrun, 1000);
  device_->ScriptFault(VirtualFault::kDeviceFailure, 1900);
  ASSERT_TRUE(player->Play());

  const std::string underrunLine = "C_WaveOut Output 0 (out0) underruns 1 dropped frames 0 " + path;
  const std::string failedLine = "C_WaveOut Output 0 (out0) device failed, underruns 1";
  const auto logged = [&](const std::string& line) {
    return ErrorLog().find(line) != std::string::npos;
  };
  for (int pass = 1; pass <= 5; ++pass) {
    Pass(*player);
    SCOPED_TRACE(pass);
    EXPECT_EQ(logged(underrunLine), pass >= 3);
    EXPECT_EQ(logged(failedLine), pass >= 5);
  }
  EXPECT_TRUE(player->Health(0).failed);
  EXPECT_EQ(player->Health(0).underruns, 1u);

  // Nothing waits for the dead device: the pages finish and the player stops by itself, with
  // a last line counting what was never heard.
  PollToEnd(*player, 50, 100);
  EXPECT_EQ(player->mode(), 1);
  EXPECT_EQ(Played(0), data.substr(0, 1900 * 2));
  EXPECT_GE(player->Health(0).dropped_frames, 5000u - 1900u);
  EXPECT_TRUE(logged("C_WaveOut Output 0 (out0) device failed, underruns 1 dropped frames " +
                     std::to_string(player->Health(0).dropped_frames) + " " + path));
  // The device said it too, once each, with its name.
  EXPECT_EQ(deviceLog_.Texts(),
            (std::vector<std::string>{
                "wave output \"out0\": underrun, restarted (1 so far)",
                "wave output \"out0\": device failed (scripted failure); its pages are dropped "
                "from now on"}));

  ASSERT_TRUE(player->Play());
  EXPECT_EQ(device_->OpenStreamCount(), 1);
  EXPECT_EQ(player->Health(0), platform::WaveHealth{});
  PollToEnd(*player);
  EXPECT_EQ(Played(1).substr(0, data.size()), data);

  // A page the device refuses is done all the same: the play still comes to its end.
  device_->ScriptFailure(WaveCall::kWrite, platform::kWaveError, 2);
  ASSERT_TRUE(player->Play());
  PollToEnd(*player, 50, 100);
  EXPECT_EQ(player->mode(), 1);
  EXPECT_NE(ErrorLog().find("waveOutWrite (Start1) Failed r=1 " + path), std::string::npos);
}

TEST_F(WaveOutTest, RefusesWhatItCannotPlay) {
  auto player = MakePlayer(VirtualClockMode::kInstant);
  const auto extensible = [&](const std::string& name, uint16_t subFormat) {
    return Write(name, rifftest::Riff(rifftest::Chunk("fmt ", rifftest::FmtExtensibleData(
                                                                  2, kRate, 16, subFormat)) +
                                      rifftest::Chunk("data", PatternBytes(400))));
  };
  const auto atRate = [&](const std::string& name, uint32_t rate) {
    return Write(name, rifftest::PcmWave(2, rate, 16, PatternBytes(400)));
  };
  const std::string floatFile = Write("f.wav", WaveFile(2, 16, PatternBytes(400), 3));
  const std::string extFloat = extensible("e.wav", 3);
  const std::string extPcm = extensible("p.wav", 1);
  // A rate no output takes is refused before pages are made to its measure (gigabytes).
  struct Case {
    std::string path;
    std::string reason;  // "" for a file whose header is not read at all
  };
  const Case cases[] = {
      {floatFile, "format tag 3 is not PCM"},
      {extFloat, "format tag -2 is not PCM"},
      {atRate("huge.wav", 0x7FFFFFFF), "sample rate 2147483647 outside 1 to 768000"},
      {atRate("over.wav", 768001), "sample rate 768001 outside 1 to 768000"},
      {env_.dir().Sub("missing.wav"), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    player->SetFileName(c.path);
    EXPECT_EQ(player->FileName(), "");
    EXPECT_FALSE(player->Play());
    const std::string log = ErrorLog();
    EXPECT_NE(log.find("C_WaveOut Let FileName Fail " + c.path), std::string::npos);
    const std::string reason = "C_WaveOut FileName no output plays " + c.reason + " " + c.path;
    EXPECT_EQ(log.find(reason) != std::string::npos, !c.reason.empty());
  }
  EXPECT_EQ(device_->Streams().size(), 0u);
  const std::string fastest = atRate("top.wav", 768000);
  player->SetFileName(fastest);
  EXPECT_EQ(player->FileName(), fastest);
  // The same empty name again does not count as loaded.
  player->SetFileName("");
  EXPECT_FALSE(player->Play());
  player->SetFileName(extPcm);
  EXPECT_EQ(player->FileName(), extPcm);
  EXPECT_TRUE(player->Play());
  EXPECT_EQ(device_->Streams().size(), 1u);
}

TEST_F(WaveOutTest, ReadsThatComeUpShortPlaySilence) {
  for (int32_t diskPages : {1, 3}) {
    for (uint16_t bits : {8, 16}) {
      SCOPED_TRACE(testing::Message() << diskPages << " disk pages, " << bits << " bit");
      const char silence = bits == 8 ? '\x80' : '\0';
      auto player = MakePlayer(VirtualClockMode::kManual);
      player->SetNumDiskBufferPages(diskPages);
      player->SetNumBufferToPlay(3);
      player->Init();
      const size_t align = bits / 8;
      const std::string data = PatternBytes(6000 * align);
      const std::string path = Write("a.wav", WaveFile(1, bits, data));
      player->SetFileName(path);
      ASSERT_TRUE(player->Play());
      // The file loses its tail while it plays: only 3000 frames are left.
      std::filesystem::resize_file(path, 44 + 3000 * align);
      PollToEnd(*player);
      const std::string played = Played(0);
      ASSERT_EQ(played.size(), data.size());
      // The pages queued at the start (or read ahead) hold real audio; past that only silence,
      // never a page's earlier audio.
      const size_t real = played.find_last_not_of(silence) + 1;
      EXPECT_GE(real, 3u * kPageFrames * align);
      EXPECT_LE(real, 3000u * align);
      EXPECT_EQ(played.substr(0, real), data.substr(0, real));
    }
  }

  // A file gone before the first read: Play fails and leaves nothing open or queued.
  auto player = MakePlayer(VirtualClockMode::kManual);
  const std::string path = Write("b.wav", WaveFile(6, 16, PatternBytes(3000 * 12)));
  player->SetFileName(path);
  std::filesystem::remove(path);
  EXPECT_FALSE(player->Play());
  EXPECT_EQ(device_->OpenStreamCount(), 0);
  EXPECT_EQ(player->mode(), 1);
  const std::string log = ErrorLog();
  EXPECT_NE(log.find("C_WaveOut ReadFileToMemEx Failed " + path + "#0#"), std::string::npos);
  EXPECT_NE(log.find("C_WaveOut AddPlayBuffer(Start) Failed " + path), std::string::npos);
}

TEST_F(WaveOutTest, OpenFailureIsReportedWithoutBlockingAndReleasesTheOutputs) {
  std::vector<std::string> shown;
  SetWaveErrorNotifier([&](const std::string& text, const std::string&) { shown.push_back(text); });
  auto player = MakePlayer(VirtualClockMode::kManual);
  player->SetFileName(Write("a.wav", WaveFile(8, 16, PatternBytes(2000 * 16))));
  device_->ScriptFailure(WaveCall::kOpen, platform::kWaveAllocated, 1, 2);
  EXPECT_FALSE(player->Play());
  EXPECT_EQ(device_->OpenStreamCount(), 0);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], platform::WaveOutErrorText(platform::kWaveAllocated));
  EXPECT_NE(ErrorLog().find(shown[0]), std::string::npos);
  // The next try opens all four.
  EXPECT_TRUE(player->Play());
  EXPECT_EQ(device_->OpenStreamCount(), 4);
}

TEST_F(WaveOutTest, StartPageSizeAndOutputReuse) {
  auto player = MakePlayer(VirtualClockMode::kManual);
  player->SetNoClose(1);
  const std::string data = PatternBytes(5000 * 2);
  const std::string a = Write("a.wav", WaveFile(1, 16, data));
  player->SetFileName(a);
  // A start before the file plays from its first frame.
  player->SetFromMS(-500);
  EXPECT_EQ(player->FromMS(), -500);
  ASSERT_TRUE(player->Play());
  EXPECT_EQ(player->Position(0), 0);
  device_->AdvanceMs(150);
  EXPECT_EQ(player->Position(0), 150);
  EXPECT_EQ(player->Position(1), 625 - 150);
  player->StopIO(1);
  EXPECT_EQ(Played(0).substr(0, 10), data.substr(0, 10));

  // NoClose: a file of the same format keeps the output; another format opens a new one.
  const platform::WaveHandle first = player->hWave(0);
  EXPECT_NE(first, 0u);
  player->SetFileName(Write("b.wav", WaveFile(1, 16, PatternBytes(800))));
  ASSERT_TRUE(player->Play());
  EXPECT_EQ(player->hWave(0), first);
  player->SetFileName(Write("c.wav", WaveFile(2, 16, PatternBytes(800))));
  EXPECT_EQ(player->hWave(0), 0u);
  ASSERT_TRUE(player->Play());
  EXPECT_EQ(device_->OpenStreamCount(), 1);

  // A page length too short for 256 frames is raised to 256.
  player = MakePlayer(VirtualClockMode::kManual);
  player->SetBufferPagemsec(1);
  player->SetFileName(Write("d.wav", WaveFile(1, 16, data)));
  ASSERT_TRUE(player->Play());
  EXPECT_EQ(device_->Streams()[0].calls.back().value, 256 * 2);
  player->CloseWave();
  EXPECT_EQ(player->FileName(), "");
  EXPECT_FALSE(player->Play());
}

TEST_F(WaveOutTest, LeadingSilenceReloadPauseAndLoopPosition) {
  const std::string data = PatternBytes(5000 * 2);
  const std::string path = Write("a.wav", WaveFile(1, 16, data));

  // DelayMS: one page of silence ahead of the audio on the output; the position counts it.
  auto player = MakePlayer(VirtualClockMode::kManual);
  player->SetDelayMS(50);
  player->Init();
  player->SetFileName(path);
  ASSERT_TRUE(player->Play());
  ASSERT_FALSE(WriteLengths().empty());
  EXPECT_EQ(WriteLengths()[0], 400 * 2);
  device_->AdvanceMs(60);
  EXPECT_EQ(Played(0), std::string(800, '\0') + data.substr(0, 80 * 2));
  EXPECT_EQ(player->Position(0), 60);

  // Paused while playing reads 2; the same file again stops, keeps the output and resets the
  // range to the whole file.
  player = MakePlayer(VirtualClockMode::kManual);
  player->SetNoClose(1);
  player->SetFileName(path);
  player->SetFromSample(100);
  player->SetToSample(3000);
  ASSERT_TRUE(player->Play());
  player->Pause();
  EXPECT_EQ(player->mode(), 2);
  player->Pause();
  EXPECT_EQ(player->mode(), 3);
  const platform::WaveHandle first = player->hWave(0);
  player->SetFileName(path);
  EXPECT_EQ(player->mode(), 1);
  EXPECT_EQ(player->FromSample(), 0);
  EXPECT_EQ(player->ToSample(), 5000);
  EXPECT_EQ(player->hWave(0), first);
  // A new device number opens the output there, the old stream closed.
  player->SetDeviceID(2);
  ASSERT_TRUE(player->Play());
  EXPECT_NE(player->hWave(0), first);
  EXPECT_EQ(device_->OpenStreamCount(), 1);
  EXPECT_EQ(device_->Streams().back().device_id, 2);
  player->StopIO(1);

  // Looping: a position past the end point folds back by whole loop spans.
  player = MakePlayer(VirtualClockMode::kManual);
  player->SetFileName(path);
  player->SetFromSample(100);
  player->SetToSample(2000);
  player->SetStbyPoint(1500);
  player->SetLoopOn(1);
  ASSERT_TRUE(player->Play());
  for (int i = 0; i < 6; ++i) {
    device_->AdvanceMs(50);
    player->ProgressionPlay();
  }
  EXPECT_EQ(player->Position(0), 250);  // 100 + 2400 = 2500 -> 2000, not past the end point
  device_->AdvanceFrames(508);
  EXPECT_EQ(player->Position(0), 188);  // 3008 - 3 x 500 = 1508 = 188.5 ms, to even
}

}  // namespace
}  // namespace audio
