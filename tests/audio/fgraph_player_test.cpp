// The graph player as the playout drives it: start point, end-point watch, play states,
// attenuation and balance measured on the delivered samples, repeats of the same file, and the
// way a chain that cannot be built gives way to the next.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cmath>
#include <thread>
#include <utility>

#include "audio/c_fgraph.h"
#include "tests/audio/fgraph_fixture.h"
#include "tests/audio/riff_fixture.h"
#include "tests/support/debug_log_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

using audio::C_FGraph;
using fgraphtest::Capture;

constexpr int kFramesPerStep = 441;  // 10 ms at 44.1 kHz
constexpr int kStepSize = 100;       // left sample value added per 10 ms step

// A 16-bit stereo 44.1 kHz WAV of `ms` milliseconds; `frame` gives each frame's left and right.
template <typename FrameFn>
std::string StereoWav(int ms, FrameFn frame) {
  std::vector<int32_t> samples;
  for (int f = 0; f < ms / 10 * kFramesPerStep; ++f) {
    const auto [left, right] = frame(f);
    samples.push_back(left);
    samples.push_back(right);
  }
  return rifftest::PcmWave(2, 44100, 16, rifftest::Samples16(samples));
}

// The left channel says where it is: 100 x (ms / 10), a staircase; the right is silent.
std::string StaircaseWav(int ms) {
  return StereoWav(ms, [](int f) { return std::pair((f / kFramesPerStep) * kStepSize, 0); });
}

// A 441 Hz sine at half scale on both channels; the same size as the staircase.
std::string ToneWav(int ms) {
  return StereoWav(ms, [](int f) {
    const auto v = static_cast<int32_t>(std::nearbyint(16384.0 * std::sin(f * 2.0 * M_PI / 100.0)));
    return std::pair(v, v);
  });
}

// The 10 ms step a delivered left sample belongs to.
int StepOf(float sample) { return static_cast<int>(std::nearbyint(sample * 32768.0 / kStepSize)); }

class FGraphPlayer : public testsupport::DebugLogTest {
 protected:
  void SetUp() override { ASSERT_TRUE(audio::EnsureGstInit()); }
  std::unique_ptr<C_FGraph> NewPlayer(audio::GraphSeams seams) {
    auto player = std::make_unique<C_FGraph>(log_, std::move(seams));
    player->SetDevMode(1);
    player->SetVolMinLevel(-10000);
    player->Init();
    return player;
  }

  // What the renderer of a player made with CaptureSeams(capture_) delivered.
  std::shared_ptr<Capture> capture_ = std::make_shared<Capture>();
};

TEST_F(FGraphPlayer, PlayStartsAtFromMsWithNothingOfTheOldPositionHeard) {
  std::string path = dir_.WriteFile("stairs.wav", StaircaseWav(3000));
  auto player = NewPlayer(fgraphtest::CaptureSeams(capture_));
  player->SetFileName(path);
  ASSERT_EQ(player->Length(), 3000);
  for (int32_t from : {1000, 0, 2500, 1230}) {
    SCOPED_TRACE(from);
    capture_->Clear();
    player->SetFromMS(from);
    ASSERT_TRUE(player->Play());
    std::vector<int32_t> modes = fgraphtest::PollUntilStopped(*player);
    EXPECT_EQ(modes.back(), 0);
    std::vector<float> samples = capture_->Samples();
    ASSERT_GE(samples.size(), 2u);
    EXPECT_EQ(StepOf(samples[0]), from / 10) << "first sample heard";
    EXPECT_EQ(StepOf(samples[samples.size() - 2]), 299) << "last sample heard";
    EXPECT_NEAR(static_cast<double>(capture_->Frames()), (3000 - from) * 44.1, 1.0);
  }
}

TEST_F(FGraphPlayer, EndPointWatchStopsOnTheFirstPollPastToMs) {
  std::string path = dir_.WriteFile("stairs.wav", StaircaseWav(3000));
  auto player = NewPlayer(fgraphtest::FakeSinkSeams(true));
  player->SetFileName(path);
  player->SetFromMS(200);
  player->SetToMS(700);
  ASSERT_TRUE(player->Play());
  std::vector<int32_t> positions;
  std::vector<int32_t> remaining;
  for (int i = 0; i < 500 && player->mode() == 3; ++i) {
    remaining.push_back(player->Position(2));
    positions.push_back(700 - remaining.back());
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ASSERT_GE(positions.size(), 2u);
  // The stopping poll read a position past 700 ms; its remaining time rounds to 0 or below.
  EXPECT_GE(positions.back(), 700) << "the stopping poll is at or past the end point";
  for (size_t i = 0; i + 1 < positions.size(); ++i) {
    EXPECT_LE(positions[i], 700) << "no poll past the point went by without stopping";
    EXPECT_GE(positions[i], 200);
  }
  EXPECT_EQ(player->mode(), 1) << "stopped by the watch, not at the end of the file";
  EXPECT_EQ(player->Position(0), 0);

  // ToMS equal to Length (as after a load) or 0: no watch; the file plays to its end.
  for (int32_t to : {3000, 0}) {
    player->SetFromMS(2700);
    player->SetToMS(to);
    ASSERT_TRUE(player->Play());
    int32_t last = 0;
    int polls = 0;
    while (player->mode() == 3 && polls++ < 500) {
      last = std::max(last, player->Position(0));
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_GE(last, 2700);
    EXPECT_EQ(player->mode(), 1);
  }
}

TEST_F(FGraphPlayer, ModeSequencePauseAndStop) {
  std::string path = dir_.WriteFile("stairs.wav", StaircaseWav(1000));
  auto player = NewPlayer(fgraphtest::FakeSinkSeams(true));
  EXPECT_FALSE(player->Play()) << "nothing loaded";
  EXPECT_EQ(player->mode(), 1);
  player->SetFileName(path);
  EXPECT_EQ(player->mode(), 1);
  EXPECT_EQ(player->Position(0), 0) << "loaded, not playing";
  ASSERT_TRUE(player->Play());
  EXPECT_EQ(player->mode(), 3);
  player->Pause();
  EXPECT_EQ(player->mode(), 2);
  int32_t paused = player->Position(0);
  EXPECT_EQ(player->Position(1), player->Length() - paused);
  player->Pause();
  EXPECT_EQ(player->mode(), 3);
  player->StopIO();
  EXPECT_EQ(player->mode(), 1);
  player->Pause();
  EXPECT_EQ(player->mode(), 1) << "a stopped graph does not start by Pause";
  ASSERT_TRUE(player->Play());
  std::vector<int32_t> modes = fgraphtest::PollUntilStopped(*player);
  ASSERT_GE(modes.size(), 2u);
  EXPECT_EQ(modes.front(), 3);
  EXPECT_EQ(modes.back(), 0) << "0 once in the poll that meets the end";
  EXPECT_EQ(player->mode(), 1);
  player->CloseWave();
  EXPECT_EQ(player->FileName(), "");
  EXPECT_EQ(player->Length(), 0);
  EXPECT_FALSE(player->Play());
}

TEST_F(FGraphPlayer, AttenuationAndBalanceOnTheDeliveredSamples) {
  std::string path = dir_.Sub("tone.wav");
  ASSERT_TRUE(fgraphtest::EncodeTone("wavenc", path, 500));
  const double full = 0.5 / std::sqrt(2.0);  // RMS of the 0.5 sine
  struct Case {
    int32_t written;
    int32_t level;    // read back
    int32_t balance;  // hundredths of a dB off the other side
    bool whileLoaded;
  };
  const Case cases[] = {
      {0, 0, 0, false},           {-5000, -2500, 0, false}, {-10000, -10000, 0, true},
      {3000, -900, 0, false},     {0, 0, -6000, true},      {0, 0, 10000, true},
      {-5000, -2500, 2000, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.written) + " / " + std::to_string(c.balance));
    capture_->Clear();
    auto player = NewPlayer(fgraphtest::CaptureSeams(capture_));
    if (c.whileLoaded) player->SetFileName(path);
    player->SetAttenuation(c.written);
    player->SetPanValue(c.balance);
    if (!c.whileLoaded) player->SetFileName(path);
    EXPECT_EQ(player->Attenuation(), c.level);
    EXPECT_EQ(player->PanValue(), c.balance);
    ASSERT_TRUE(player->Play());
    fgraphtest::PollUntilStopped(*player);
    std::vector<float> samples = capture_->Samples();
    double gain = std::pow(10.0, c.level / 2000.0);
    double left = gain * (c.balance > 0 ? std::pow(10.0, -c.balance / 2000.0) : 1.0);
    double right = gain * (c.balance < 0 ? std::pow(10.0, c.balance / 2000.0) : 1.0);
    EXPECT_NEAR(fgraphtest::ChannelRms(samples, 0) / full, left, left * 0.01 + 1e-4);
    EXPECT_NEAR(fgraphtest::ChannelRms(samples, 1) / full, right, right * 0.01 + 1e-4);
  }
}

TEST_F(FGraphPlayer, VolMinLevelShapesTheCurveAndMustBeNegative) {
  auto player = NewPlayer(fgraphtest::FakeSinkSeams(false));
  struct Case {
    int32_t minLevel;
    int32_t written;
    int32_t level;
  };
  const Case cases[] = {
      {-10000, -5000, -2500},
      {-10000, 0, 0},
      {-10000, -2147483647 - 1, -10000},
      // Halves round to even: 4.5 -> 4, 12.5 -> 12.
      {-200, -30, -4},
      {-200, -50, -12},
      {-4000, -5000, -4000},
      // 0 and 25 are refused: the curve of -4000 stays.
      {0, -5000, -4000},
      {25, -2000, -1000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.minLevel) + " " + std::to_string(c.written));
    player->SetVolMinLevel(c.minLevel);
    player->SetAttenuation(c.written);
    EXPECT_EQ(player->Attenuation(), c.level);
  }
  EXPECT_EQ(player->VolMinLevel(), -4000) << "0 and 25 were refused";
  for (float speed : {0.0f, -2.0f}) {
    player->SetPlaySpeed(speed);
    EXPECT_EQ(player->PlaySpeed(), 0.1f);
  }
  player->SetPlaySpeed(1.5f);
  EXPECT_EQ(player->PlaySpeed(), 1.5f);
}

TEST_F(FGraphPlayer, SameFileAgainPlaysItsWholeLengthUnlessRewritten) {
  std::string path = dir_.WriteFile("stairs.wav", StaircaseWav(1000));
  auto player = NewPlayer(fgraphtest::CaptureSeams(capture_));
  player->SetFileName(path);
  ASSERT_EQ(player->Length(), 1000);
  player->SetFromMS(300);
  player->SetToMS(600);
  ASSERT_TRUE(player->Play());
  fgraphtest::PollUntilStopped(*player);
  player->SetFileName(path);
  EXPECT_EQ(player->FromMS(), 0);
  EXPECT_EQ(player->ToMS(), 1000) << "a back-to-back repeat is not 'shorter than 500 ms'";
  EXPECT_GE(player->ToMS() - player->FromMS(), 500);

  // Rewritten longer: the new length.
  dir_.WriteFile("stairs.wav", StaircaseWav(2000));
  player->SetFileName(path);
  EXPECT_EQ(player->Length(), 2000);
  EXPECT_EQ(player->ToMS(), 2000);

  // Rewritten with the same size but other content and time: the new content plays.
  std::string toneBytes = ToneWav(2000);
  ASSERT_EQ(toneBytes.size(), testsupport::ReadWholeFile(path).size());
  dir_.WriteFile("stairs.wav", toneBytes);
  struct timespec times[2] = {{0, UTIME_OMIT}, {1000000, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  player->SetFileName(path);
  capture_->Clear();
  ASSERT_TRUE(player->Play());
  fgraphtest::PollUntilStopped(*player);
  EXPECT_GT(fgraphtest::ChannelRms(capture_->Samples(), 1), 0.2) << "the tone, not the stairs";

  // Gone from the disk: nothing loaded.
  std::remove(path.c_str());
  player->SetFileName(path);
  EXPECT_EQ(player->FileName(), "");
  EXPECT_EQ(player->Length(), 0);
  EXPECT_FALSE(player->Play());
}

TEST_F(FGraphPlayer, ChainThatCannotBeBuiltGivesWayToTheNext) {
  struct Case {
    const char* name;
    std::string file;  // made below
    std::vector<std::string> hidden;
    std::vector<std::string> lines;  // log lines the load writes
    bool plays;
  };
  std::string missing = fgraphtest::MissingFactory(
      {"lamemp3enc", "avenc_wmav1", "asfmux", "avdec_wmav1", "avdec_mp3", "mpg123audiodec"});
  if (!missing.empty()) GTEST_SKIP() << "GStreamer factory " << missing << " is not installed";
  std::string mp3 = dir_.Sub("tone.mp3");
  ASSERT_TRUE(fgraphtest::EncodeTone(
      "audioconvert ! lamemp3enc target=bitrate cbr=true bitrate=128", mp3, 1000));
  std::string wma1 = dir_.Sub("tone1.wma");
  ASSERT_TRUE(fgraphtest::EncodeTone("audioconvert ! avenc_wmav1 ! asfmux", wma1, 1000));
  std::string riffMp3 =
      dir_.WriteFile("riffmp3.wav", fgraphtest::RiffWrapped(testsupport::ReadWholeFile(mp3), 0x55));
  std::string garbage = dir_.WriteFile("noise.xyz", std::string(5000, '\x5a'));
  std::string mp3Named = dir_.WriteFile("mp3named.wav", testsupport::ReadWholeFile(mp3));
  const Case cases[] = {
      {"mp3 without mpg123", mp3, {"mpg123audiodec"}, {}, true},
      {"mp3 without decoders",
       mp3,
       {"mpg123audiodec", "avdec_mp3"},
       {"Pin not set mpegaudioparse#avdec_mp3 l=1 tFound=0 tNumPin=0",
        "SetupPinsToDecode mpegaudioparse#avdec_mp3 connect failed"},
       true},
      {"wma v1 into the v2 decoder first",
       wma1,
       {},
       {"ConnectPin err asfdemux#avdec_wmav2",
        "SetupPinsToDecode asfdemux#avdec_wmav2 connect failed"},
       true},
      {"mpeg in riff", riffMp3, {}, {}, true},
      {"wav parser hidden",
       dir_.WriteFile("stairs.wav", StaircaseWav(1000)),
       {"wavparse"},
       {"Pin not set filesrc#wavparse l=1 tFound=0 tNumPin=0",
        "SetupPinsToDecode filesrc#wavparse connect failed"},
       true},
      {"mp3 bytes under a wav name",
       mp3Named,
       {},
       {"SetupPinsToDecode filesrc#wavparse connect failed"},
       true},
      {"garbage",
       garbage,
       {},
       {"SetupPinsToDecode Unknown Filetype #" + garbage,
        "RenderPinsToDecode filesrc#autoaudiosink connect failed"},
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    capture_->Clear();
    audio::GraphSeams seams = fgraphtest::CaptureSeams(capture_);
    seams.hidden_filters = c.hidden;
    auto player = NewPlayer(seams);
    player->SetFileName(c.file);
    for (const std::string& line : c.lines) EXPECT_TRUE(Logged(line)) << line;
    if (!c.plays) {
      EXPECT_EQ(player->FileName(), "");
      EXPECT_EQ(player->Length(), 0);
      EXPECT_FALSE(player->Play());
      continue;
    }
    ASSERT_EQ(player->FileName(), c.file);
    EXPECT_NEAR(player->Length(), 1000, 80);
    ASSERT_TRUE(player->Play());
    EXPECT_EQ(fgraphtest::PollUntilStopped(*player).back(), 0);
    EXPECT_NEAR(capture_->Frames() / 44.1, 1000.0, 90.0);
  }
}

TEST_F(FGraphPlayer, MidiFileIsSynthesisedIntoTheRenderer) {
  std::string missing = fgraphtest::MissingFactory({"midiparse", "fluiddec"});
  if (!missing.empty()) GTEST_SKIP() << "GStreamer factory " << missing << " is not installed";
  // One note of 1 s at 120 bpm, 480 ticks per quarter.
  std::string track = std::string("\x00\xFF\x51\x03\x07\xA1\x20", 7) +
                      std::string("\x00\xC0\x00\x00\x90\x45\x64", 7) +
                      std::string("\x87\x40\x80\x45\x00\x00\xFF\x2F\x00", 9);
  auto be32 = [](uint32_t v) {
    return std::string{static_cast<char>(v >> 24), static_cast<char>(v >> 16),
                       static_cast<char>(v >> 8), static_cast<char>(v)};
  };
  std::string midi = "MThd" + be32(6) + std::string("\x00\x00\x00\x01\x01\xE0", 6) + "MTrk" +
                     be32(static_cast<uint32_t>(track.size())) + track;
  std::string path = dir_.WriteFile("note.mid", midi);
  auto player = NewPlayer(fgraphtest::CaptureSeams(capture_));
  player->SetFileName(path);
  ASSERT_EQ(player->FileName(), path);
  EXPECT_NEAR(player->Length(), 1000, 50);
  ASSERT_TRUE(player->Play());
  EXPECT_EQ(fgraphtest::PollUntilStopped(*player).back(), 0);
  if (fgraphtest::ChannelRms(capture_->Samples(), 0) == 0.0) {
    GTEST_SKIP() << "no General MIDI sound font for fluiddec (install timgm6mb-soundfont)";
  }
}

TEST_F(FGraphPlayer, PipelineErrorWhilePlayingCountsAsTheEnd) {
  std::string path = dir_.WriteFile("stairs.wav", StaircaseWav(3000));
  audio::GraphSeams seams = fgraphtest::FakeSinkSeams(true);
  // A renderer that fails after a few buffers, as a device that goes away does.
  seams.make_sink = [](const std::string&, const std::string&) {
    GstElement* bin = gst_parse_bin_from_description("identity error-after=20 ! fakesink sync=true",
                                                     TRUE, nullptr);
    return bin;
  };
  auto player = NewPlayer(seams);
  player->SetFileName(path);
  ASSERT_EQ(player->Length(), 3000);
  ASSERT_TRUE(player->Play());
  std::vector<int32_t> modes = fgraphtest::PollUntilStopped(*player);
  EXPECT_EQ(modes.back(), 0);
  EXPECT_EQ(player->mode(), 1);
  EXPECT_TRUE(Logged("C_FGraph stream error " + path + "#"));
}

}  // namespace
