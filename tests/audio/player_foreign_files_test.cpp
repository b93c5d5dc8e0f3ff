// Both players on files as station libraries hold them: MPEG audio written by an encoder and
// wrapped by tag editors, and wave files with the chunks broadcast tools add. Each file either
// loads with the length it really plays for and plays to its end, or is refused at load with a
// log line; a player never claims a file it then leaves silent.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "audio/c_fgraph.h"
#include "audio/wave_out.h"
#include "platform/clock.h"
#include "platform/wave_out_virtual.h"
#include "tests/audio/fgraph_fixture.h"
#include "tests/audio/mp3_tag_fixture.h"
#include "tests/audio/riff_fixture.h"
#include "tests/fakes/platform/simulated_clock.h"
#include "tests/support/debug_log_fixture.h"

namespace {

using namespace rifftest;
using namespace std::string_literals;
using mp3test::Id3v2;
using mp3test::Picture;

constexpr double kMp3FrameMs = 1152 * 1000.0 / 44100;

// `seconds` of a 441 Hz tone at `rate` in the sample width and channel count asked for, as
// little-endian sample bytes (8-bit unsigned, else signed).
std::string ToneSamples(double seconds, uint32_t rate, uint16_t channels, uint16_t bits) {
  std::string out;
  const auto frames = static_cast<size_t>(seconds * rate);
  for (size_t f = 0; f < frames; ++f) {
    const double v = 0.5 * std::sin(2.0 * M_PI * 441.0 * static_cast<double>(f) / rate);
    for (uint16_t c = 0; c < channels; ++c) {
      const auto full = static_cast<int64_t>(std::nearbyint(v * 2147483647.0));
      if (bits == 8) {
        out.push_back(static_cast<char>(128 + (full >> 24)));
      } else {
        for (int b = 4 - bits / 8; b < 4; ++b) out.push_back(static_cast<char>(full >> (8 * b)));
      }
    }
  }
  return out;
}

// The first `seconds` loud noise, the rest a quiet tone: a variable-rate encoder spends far more
// bytes on the start than on the rest, so the start's bit rate says nothing of the whole.
std::string LoudStartWave(double seconds) {
  std::string samples;
  uint32_t state = 7;
  for (size_t f = 0; f < static_cast<size_t>(seconds * 44100); ++f) {
    int32_t v = 0;
    if (f < 44100) {
      state = state * 1664525u + 1013904223u;
      v = static_cast<int16_t>(state >> 16) / 2;
    } else {
      v = static_cast<int32_t>(2000 *
                               std::sin(2.0 * M_PI * 441.0 * static_cast<double>(f) / 44100));
    }
    samples += Samples16({v, v});
  }
  return PcmWave(2, 44100, 16, samples);
}

// A PCM format chunk with the byte-rate and block-align fields as a writer filled them in.
std::string FmtFields(uint16_t channels, uint32_t rate, uint32_t byteRate, uint16_t align,
                      uint16_t bits) {
  return Le16(1) + Le16(channels) + Le32(rate) + Le32(byteRate) + Le16(align) + Le16(bits);
}

// What one file should do on both players.
struct Row {
  std::string file;
  std::string bytes;  // made at test time; empty when an encoder failed
  double playsMs;     // what it holds; 0 when both players must refuse it
  uint32_t rate;      // of the file as stored (ms of one sample is the WAV tolerance)
  bool mpeg;          // MPEG audio: the tolerance is one frame
  bool waveOutPlays;  // C_WaveOut plays PCM of its ten layouts only
};

class ForeignFiles : public testsupport::DebugLogTest {
 protected:
  ForeignFiles() { platform::SetCurrentClock(&clock_); }
  ~ForeignFiles() override { platform::SetCurrentClock(nullptr); }

  std::string Encoded(const std::string& name, const std::string& encode, const std::string& in) {
    const std::string wave = dir_.WriteFile(name + ".src.wav", in);
    const std::string out = dir_.Sub(name);
    return media_fixtures::EncodeWave(wave, encode, out) ? testsupport::ReadWholeFile(out) : "";
  }
  std::string Tone(const std::string& name, const std::string& encode, int32_t ms) {
    const std::string out = dir_.Sub(name);
    return fgraphtest::EncodeTone(encode, out, ms) ? testsupport::ReadWholeFile(out) : "";
  }

  // Frames C_WaveOut sent to its first output, or -1 when it refused the file.
  int64_t PlayOnWaveOut(const std::string& path, int32_t* lengthMs) {
    platform::VirtualWaveOutOptions options;
    options.outputs = {"out0", "out1", "out2", "out3"};
    auto device = std::make_shared<platform::VirtualWaveOut>(platform::StandardErrorLog(), options);
    audio::C_WaveOut player(log_, device);
    player.SetBufferPagemsec(100);
    player.SetNumBufferPages(5);
    for (int32_t o = 0; o < 4; ++o) player.SetExtDeviceID(o, o);
    player.Init();
    player.SetFileName(path);
    *lengthMs = player.Length();
    if (player.FileName().empty()) {
      EXPECT_FALSE(player.Play());
      return -1;
    }
    EXPECT_TRUE(player.Play());
    for (int i = 0; i < 5000 && player.mode() == 3; ++i) {
      clock_.Advance(50);
      player.ProgressionPlay();
    }
    EXPECT_EQ(player.mode(), 1);
    const auto streams = device->Streams();
    if (streams.empty() || streams[0].format.block_align == 0) return 0;
    return static_cast<int64_t>(streams[0].played.size() / streams[0].format.block_align);
  }

  // Frames (44.1 kHz) C_FGraph delivered to its renderer, or -1 when it refused the file.
  int64_t PlayOnGraph(const std::string& path, int32_t* lengthMs) {
    auto capture = std::make_shared<fgraphtest::Capture>();
    audio::C_FGraph player(log_, fgraphtest::CaptureSeams(capture));
    player.SetDevMode(1);
    player.Init();
    player.SetFileName(path);
    *lengthMs = player.Length();
    if (player.FileName().empty()) {
      EXPECT_FALSE(player.Play());
      return -1;
    }
    EXPECT_EQ(player.ToMS(), player.Length());
    EXPECT_TRUE(player.Play());
    EXPECT_EQ(fgraphtest::PollUntilStopped(player).back(), 0) << "ends by itself";
    return static_cast<int64_t>(capture->Frames());
  }

  platform::SimulatedClock clock_;
};

TEST_F(ForeignFiles, EachFileLoadsWithTheLengthItPlaysForOrIsRefusedByBoth) {
  ASSERT_EQ(fgraphtest::MissingFactory({"lamemp3enc", "xingmux", "id3v2mux", "id3mux", "wavenc",
                                        "taginject", "mpegaudioparse", "wavparse"}),
            "");
  const std::string lame = "audioconvert ! lamemp3enc target=bitrate cbr=true bitrate=128";
  const std::string lameVbr = "audioconvert ! lamemp3enc target=quality quality=2";
  const std::string cbr = Tone("cbr.mp3", lame, 3000);
  const std::string vbr = Encoded("vbr.mp3", lameVbr, LoudStartWave(5.0));
  const std::string vbrXing = Encoded("vbrx.mp3", lameVbr + " ! xingmux", LoudStartWave(5.0));
  const std::string tagged =
      Tone("tagged.mp3", lame + " ! taginject tags=\"title=Station ID\" ! id3v2mux", 3000);
  const std::string bothTags =
      Tone("v1v2.mp3", lame + " ! taginject tags=\"title=Jingle\" ! id3mux write-v1=true", 3000);
  for (const std::string* made : {&cbr, &vbr, &vbrXing, &tagged, &bothTags}) {
    ASSERT_FALSE(made->empty()) << "an encoder failed";
  }
  const std::string cover4 =
      Id3v2(4, {{"TIT2", mp3test::Text("Cover")}, {"APIC", Picture(4, 300000)}});
  const std::string cover3 = Id3v2(3, {{"APIC", Picture(3, 250000)}});
  const std::string cover2 = Id3v2(2, {{"TT2", mp3test::Text("Old")}, {"PIC", Picture(2, 200000)}});
  const std::string junk = "Xing? no. " + std::string(700, '\0') + "\xFF\xFB\x00\x00 junk \xFF\xF3";

  const std::string bext = Chunk("bext", std::string(602, ' ') + "\x01");  // odd: a pad byte
  const std::string list = ListChunk("INFO", Chunk("INAM", "Morning news\0"s));
  const std::string cue = Chunk("cue ", CueData({{1, 1000}, {2, 8000}}));
  const std::string smpl = Chunk("smpl", std::string(36, '\0'));
  const std::string mono8 = ToneSamples(2.0, 16000, 1, 8);
  const std::string mono24 = ToneSamples(2.0, 16000, 1, 24);
  const std::string stereo16 = ToneSamples(1.5, 44100, 2, 16);
  const std::string wavenc = "audioconvert ! audioresample ! audio/x-raw,";

  const Row rows[] = {
      // MPEG audio. C_WaveOut plays none of it.
      {"cbr.mp3", cbr, 3000, 44100, true, false},
      {"id3v24-cover.mp3", cover4 + cbr, 3000, 44100, true, false},
      {"id3v23-cover-v1.mp3", cover3 + cbr + mp3test::Id3v1("Promo"), 3000, 44100, true, false},
      {"id3v22-cover.mp3", cover2 + cbr, 3000, 44100, true, false},
      {"id3v2mux.mp3", tagged, 3000, 44100, true, false},
      {"id3mux-v1v2.mp3", bothTags, 3000, 44100, true, false},
      {"junk-first.mp3", junk + cbr, 3000, 44100, true, false},
      {"vbr.mp3", vbr, 5000, 44100, true, false},
      {"vbr-xing.mp3", vbrXing, 5000, 44100, true, false},
      {"lame-gapless.mp3", mp3test::WithLameTag(vbrXing, 576, 1500), 5000 - 47, 44100, true, false},
      {"mp3-in-riff.wav", fgraphtest::RiffWrapped(cbr, 0x55), 3000, 44100, true, false},
      // Wave files from GStreamer's writer.
      {"wavenc-u8-mono.wav",
       Tone("u8.wav", wavenc + "format=U8,channels=1,rate=16000 ! wavenc", 1500), 1500, 16000,
       false, true},
      {"wavenc-s24-mono.wav",
       Tone("s24.wav", wavenc + "format=S24LE,channels=1,rate=22050 ! wavenc", 1500), 1500, 22050,
       false, true},
      {"wavenc-s32.wav", Tone("s32.wav", wavenc + "format=S32LE ! wavenc", 1500), 1500, 44100,
       false, false},
      {"wavenc-f32.wav", Tone("f32.wav", wavenc + "format=F32LE ! wavenc", 1500), 1500, 44100,
       false, false},
      {"wavenc-6ch.wav",
       Tone("6ch.wav", wavenc + "channels=6,channel-mask=(bitmask)0x3f ! wavenc", 1500), 1500,
       44100, false, true},
      {"wavenc-8ch-s24.wav",
       Tone("8ch.wav", wavenc + "format=S24LE,channels=8,channel-mask=(bitmask)0x63f ! wavenc",
            1500),
       1500, 44100, false, true},
      {"bwf-mono8.wav", Riff(bext + Chunk("fmt ", FmtData(1, 1, 16000, 8)) + Chunk("data", mono8)),
       2000, 16000, false, true},
      {"bwf-mono24.wav",
       Riff(bext + Chunk("fmt ", FmtData(1, 1, 16000, 24)) + Chunk("data", mono24)), 2000, 16000,
       false, true},
      {"bwf-mono8-avg0.wav",
       Riff(bext + Chunk("fmt ", FmtFields(1, 16000, 0, 1, 8)) + Chunk("data", mono8)), 2000, 16000,
       false, true},
      {"bwf-mono8-align0.wav",
       Riff(bext + Chunk("fmt ", FmtFields(1, 16000, 16000, 0, 8)) + Chunk("data", mono8)), 2000,
       16000, false, true},
      {"data-first.wav", Riff(Chunk("data", mono24) + Chunk("fmt ", FmtData(1, 1, 16000, 24))),
       2000, 16000, false, true},
      {"data-first-6ch.wav",
       Riff(Chunk("data", ToneSamples(1.0, 48000, 6, 16)) +
            Chunk("fmt ", FmtData(1, 6, 48000, 16))),
       1000, 48000, false, true},
      {"chunks-around.wav",
       Riff(list + Chunk("fmt ", FmtData(1, 2, 44100, 16)) + cue + smpl + Chunk("data", stereo16) +
            ListChunk("adtl", LablSubChunk(1, "Intro"))),
       1500, 44100, false, true},
      {"odd-data.wav",
       Riff(Chunk("fmt ", FmtData(1, 1, 16000, 8)) + Chunk("data", mono8.substr(1)) + list),
       (32000 - 1) / 16.0, 16000, false, true},
      {"extensible.wav",
       Riff(Chunk("fmt ", FmtExtensibleData(2, 44100, 16, 1)) + Chunk("data", stereo16)), 1500,
       44100, false, true},
      {"truncated.wav",
       Riff(Chunk("fmt ", FmtData(1, 2, 44100, 16)) +
            ChunkWithSize("data", 400000, stereo16.substr(0, 44100 * 4))),
       1000, 44100, false, true},
      // Nothing to play: both refuse.
      {"no-data.wav", Riff(Chunk("fmt ", FmtData(1, 2, 44100, 16)) + list), 0, 44100, false, false},
      {"error-page.mp3", "<html><body>404 Not Found</body></html>" + std::string(20000, '\0'), 0,
       44100, true, false},
  };

  for (const Row& row : rows) {
    SCOPED_TRACE(row.file);
    ASSERT_FALSE(row.bytes.empty()) << "material not made";
    const std::string path = dir_.WriteFile("in/" + row.file, row.bytes);
    const std::string logBefore = Log();

    int32_t graphLength = 0;
    const int64_t graphFrames = PlayOnGraph(path, &graphLength);
    int32_t waveLength = 0;
    const int64_t waveFrames = PlayOnWaveOut(path, &waveLength);

    if (row.playsMs == 0) {
      EXPECT_EQ(graphFrames, -1) << "the graph player refuses it";
      EXPECT_EQ(waveFrames, -1) << "C_WaveOut refuses it";
      EXPECT_EQ(graphLength, 0);
      EXPECT_NE(Log().size(), logBefore.size()) << "refusals are logged";
      continue;
    }
    // The graph player plays everything that holds audio.
    ASSERT_GE(graphFrames, 0) << "the graph player refused it";
    const double graphMs = graphFrames / 44.1;
    const double tolerance = row.mpeg ? kMp3FrameMs : 1000.0 / row.rate;
    EXPECT_NEAR(graphLength, graphMs, tolerance + 0.5) << "Length is what plays";
    // Coders add their priming and padding; nothing may be missing.
    EXPECT_NEAR(graphMs, row.playsMs, row.mpeg ? 3 * kMp3FrameMs : tolerance + 0.5);

    if (!row.waveOutPlays) {
      EXPECT_EQ(waveFrames, -1) << "C_WaveOut plays PCM of its own layouts only";
      continue;
    }
    ASSERT_GE(waveFrames, 0) << "C_WaveOut refused it";
    const double waveMs = waveFrames * 1000.0 / row.rate;
    EXPECT_NEAR(waveMs, row.playsMs, tolerance);
    EXPECT_NEAR(waveLength, waveMs, tolerance + 0.5);
  }
}

}  // namespace
