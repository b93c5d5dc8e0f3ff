// The graph builder: which chain a type gets, which facts the registry gives, how pins are
// picked and what the log says when a connection cannot be made; and the renderer the player
// picks by device name.
#include <gtest/gtest.h>

#include "audio/c_fgraph.h"
#include "audio/gst/fct_quartz.h"
#include "audio/gst/gst_pads.h"
#include "tests/audio/fgraph_fixture.h"
#include "tests/audio/riff_fixture.h"
#include "tests/support/debug_log_fixture.h"

namespace {

using audio::FilterChainFor;
using audio::FilterGraphRec;
using Chain = std::vector<std::string>;

class FGraphBuilder : public testsupport::DebugLogTest {
 protected:
  void SetUp() override { ASSERT_TRUE(audio::EnsureGstInit()); }
};

TEST_F(FGraphBuilder, ChainsByTypeWordAndDecoderFacts) {
  struct Case {
    const char* type;
    int32_t alt;
    int32_t mp3, mp4, wma;
    bool riff;
    std::optional<Chain> chain;
  };
  const Case cases[] = {
      {"wav", 0, 1, 2, 1, false, Chain{"filesrc", "wavparse"}},
      // A name-only "wav" has no alternative; a RIFF file's is its data chunk as our reader finds
      // it.
      {"wav", 1, 1, 2, 1, false, std::nullopt},
      {"wav", 1, 1, 2, 1, true, Chain{"filerangesrc", "rawaudioparse"}},
      {"aif", 0, 1, 2, 1, false, Chain{"filesrc", "aiffparse"}},
      {"mp2", 0, 1, 2, 1, true, Chain{"filesrc", "wavparse", "mpegaudioparse", "mpg123audiodec"}},
      {"mp2", 1, 1, 2, 1, true, Chain{"filerangesrc", "mpegaudioparse", "mpg123audiodec"}},
      {"mpa", 1, 1, 2, 1, false, std::nullopt},
      {"mp3", 0, 1, 0, 0, false, Chain{"filesrc", "id3demux", "mpegaudioparse", "mpg123audiodec"}},
      {"mp3", 1, 1, 0, 0, false, Chain{"filesrc", "id3demux", "mpegaudioparse", "avdec_mp3"}},
      {"mp3", 0, 2, 0, 0, false, Chain{"filesrc", "id3demux", "mpegaudioparse", "avdec_mp3"}},
      // Neither MP3 decoder: the generic one in both attempts.
      {"mp3", 0, 0, 0, 0, false, Chain{"filesrc", "id3demux", "mpegaudioparse", "avdec_mp3"}},
      {"mp3", 1, 0, 0, 0, true, Chain{"filerangesrc", "mpegaudioparse", "avdec_mp3"}},
      {"m4a", 0, 0, 1, 0, false, Chain{"filesrc", "qtdemux", "aacparse", "faad"}},
      {"mp4", 1, 0, 2, 0, false, Chain{"filesrc", "qtdemux", "aacparse", "avdec_aac"}},
      // Neither MP4 decoder: source straight to the renderer.
      {"mp4", 0, 0, 0, 0, false, Chain{"filesrc"}},
      {"aac", 1, 0, 0, 0, false, Chain{"filesrc", "aacparse", "avdec_aac"}},
      {"ogg", 0, 0, 0, 0, false, Chain{"filesrc", "oggdemux", "vorbisdec"}},
      {"wma", 0, 0, 0, 1, false, Chain{"filesrc", "asfdemux", "avdec_wmav2"}},
      {"asf", 1, 0, 0, 1, false, Chain{"filesrc", "asfdemux", "avdec_wmav1"}},
      {"wmariff", 1, 0, 0, 0, true, Chain{"filesrc", "wavparse", "avdec_wmav2"}},
      {"mid", 0, 0, 0, 0, false, Chain{"filesrc", "midiparse", "fluiddec"}},
      {"flac", 0, 0, 0, 0, false, std::nullopt},
      {"", 0, 0, 0, 0, false, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.type) + " alt=" + std::to_string(c.alt));
    FilterGraphRec rec{log_};
    rec.Mp3Decoder = c.mp3;
    rec.Mp4Decoder = c.mp4;
    rec.HasWmaDmo = c.wma;
    bool unknown = false;
    EXPECT_EQ(FilterChainFor(c.type, c.alt, rec, c.riff, &unknown), c.chain);
    EXPECT_EQ(unknown, !c.chain.has_value() && c.alt != 1);
  }
}

TEST_F(FGraphBuilder, EnumAudioFiltersReadsTheRegistryAndPicksTheDefaultRenderer) {
  struct Case {
    std::vector<std::string> hidden;
    int32_t mode;
    const char* renderer;
    const char* device;
    int32_t mp3, mp4, wma;
  };
  const std::vector<std::string> decoders = {"mpg123audiodec", "avdec_mp3", "avdec_aac", "faad",
                                             "avdec_wmav2"};
  const Case cases[] = {
      {{}, 0, "default", "plug:default", 1, 2, 1},
      {{}, 1, "autoaudiosink", "", 1, 2, 1},
      {{"autoaudiosink"}, 1, "default", "plug:default", 1, 2, 1},
      {{"MPG123AUDIODEC", "avdec_aac"}, 0, "default", "plug:default", 2, 1, 1},
      {decoders, 0, "default", "plug:default", 0, 0, 0},
      // No default renderer registered: the name stays as it was.
      {{"default", "autoaudiosink"}, 0, "before", "", 1, 2, 1},
  };
  std::vector<std::string> needed = decoders;
  needed.push_back("autoaudiosink");
  const std::string missing = fgraphtest::MissingFactory(needed);
  if (!missing.empty()) GTEST_SKIP() << "GStreamer factory " << missing << " is not installed";
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.renderer) + " mode " + std::to_string(c.mode));
    FilterGraphRec rec{log_};
    rec.Seams.hidden_filters = c.hidden;
    rec.Seams.devices = [] {
      return std::vector<platform::WaveDeviceEntry>{{"default", "plug:default"}};
    };
    rec.RendererName = "before";
    audio::CreateFilterGraph(rec);
    audio::EnumAudioFilters(c.mode, rec);
    EXPECT_EQ(rec.RendererName, c.renderer);
    EXPECT_EQ(rec.RendererDevice, c.device);
    EXPECT_EQ(rec.Mp3Decoder, c.mp3);
    EXPECT_EQ(rec.Mp4Decoder, c.mp4);
    EXPECT_EQ(rec.HasWmaDmo, c.wma);
    audio::ReleaseFilterGraph(rec);
    EXPECT_FALSE(rec.Graph);
    EXPECT_FALSE(rec.RegFilters);
  }
}

TEST_F(FGraphBuilder, AudioPinIdentifiers) {
  const std::pair<const char*, int32_t> cases[] = {
      {"audio_0", 1},  {"A u d i o", 1}, {"Stream 1", 1}, {"stream_10", 1},
      {"Stream 2", 0}, {"src_1", 0},     {"", 0},
  };
  for (const auto& [id, expected] : cases) EXPECT_EQ(audio::IsAudioPinId(id), expected) << id;
}

TEST_F(FGraphBuilder, ConnectPinLogsTheSideThatFailed) {
  FilterGraphRec rec{log_};
  audio::CreateFilterGraph(rec);
  rec.Graph->AddFilter("filesrc", gst_element_factory_make("filesrc", nullptr));
  rec.Graph->AddFilter("fakesink", gst_element_factory_make("fakesink", nullptr));
  rec.Graph->AddFilter("identity", gst_element_factory_make("identity", nullptr));
  // Upstream missing; upstream without output pins; downstream missing; downstream without
  // input pins (a source); connected.
  EXPECT_EQ(audio::ConnectPin("nothere", "fakesink", rec), 0);
  EXPECT_TRUE(Logged("Pin not set nothere#fakesink l=0 tFound=0 tNumPin=0"));
  EXPECT_EQ(audio::ConnectPin("fakesink", "identity", rec), 0);
  EXPECT_TRUE(Logged("Pin not set fakesink#identity l=0 tFound=1 tNumPin=0"));
  EXPECT_EQ(audio::ConnectPin("filesrc", "nothere", rec), 0);
  EXPECT_TRUE(Logged("Pin not set filesrc#nothere l=1 tFound=0 tNumPin=0"));
  EXPECT_EQ(audio::ConnectPin("identity", "filesrc", rec), 0);
  EXPECT_TRUE(Logged("Pin not set identity#filesrc l=1 tFound=1 tNumPin=1"));
  // A filter is never its own downstream.
  EXPECT_EQ(audio::ConnectPin("identity", "identity", rec), 0);
  EXPECT_TRUE(Logged("Pin not set identity#identity l=1 tFound=0 tNumPin=0"));
  // Names match trimmed and in any case.
  EXPECT_EQ(audio::ConnectPin(" FileSrc", "IDENTITY ", rec), 1);
  EXPECT_EQ(rec.Graph->ConnectionState("filesrc", "identity"), 1);
  // The output pin is taken now: a second link from it is refused.
  EXPECT_EQ(audio::ConnectPin("filesrc", "fakesink", rec), 0);
  EXPECT_TRUE(Logged("ConnectPin err filesrc#fakesink"));
  audio::DisconnectAllPins(rec);
  EXPECT_TRUE(rec.Graph->FilterNames().empty());
  audio::ReleaseFilterGraph(rec);
  // No graph at all.
  EXPECT_EQ(audio::ConnectPin("a", "b", rec), 0);
  EXPECT_TRUE(Logged("ConnectPin err a#b"));
}

TEST_F(FGraphBuilder, RendererByDeviceNameFromTheSharedDeviceTable) {
  struct Case {
    const char* devName;
    int32_t devMode;
    const char* renderer;  // RendererName after Init
    const char* device;    // the PCM the sink was made for
  };
  const Case cases[] = {
      {"", 0, "default", "plug:default"},
      {"", 1, "autoaudiosink", ""},
      {"USB Audio", 1, "1- usb audio", "plug:usb"},
      {" sysdefault:card=pch ", 1, "sysdefault:card=pch", "plug:sysdefault:CARD=PCH"},
      {"1", 0, "sysdefault:card=pch", "plug:sysdefault:CARD=PCH"},
      {"not a device", 1, "autoaudiosink", ""},
      {"7", 0, "default", "plug:default"},
  };
  std::string missing = fgraphtest::MissingFactory({"autoaudiosink"});
  if (!missing.empty()) GTEST_SKIP() << "GStreamer factory " << missing << " is not installed";
  const std::string wav = dir_.WriteFile("short.wav", rifftest::SimpleWave(2, 44100, 16, 4410));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.devName);
    auto capture = std::make_shared<fgraphtest::Capture>();
    audio::GraphSeams seams = fgraphtest::CaptureSeams(capture);
    seams.devices = [] {
      return std::vector<platform::WaveDeviceEntry>{
          {"default", "plug:default"},
          {"sysdefault:CARD=PCH", "plug:sysdefault:CARD=PCH"},
          {"1- USB Audio", "plug:usb"}};
    };
    audio::C_FGraph player(log_, seams);
    player.SetDevMode(c.devMode);
    player.SetDevName(c.devName);
    player.Init();
    EXPECT_EQ(player.RendererName(), c.renderer);
    player.SetFileName(wav);
    ASSERT_EQ(player.FileName(), wav);
    EXPECT_EQ(capture->renderer_name(), c.renderer);
    EXPECT_EQ(capture->device(), c.device);
  }
}

TEST_F(FGraphBuilder, RendererIsReleasedWhetherTheFileLoadsOrNot) {
  struct Case {
    const char* name;
    const char* sinkFactory;  // nullptr: no sink at all
    bool loads;
  };
  // No sink; a "sink" without an input pin, so the renderer's parts cannot be linked; a sink.
  const Case cases[] = {{"no sink", nullptr, false},
                        {"sink without input", "fakesrc", false},
                        {"working sink", "fakesink", true}};
  const std::string wav = dir_.WriteFile("short.wav", rifftest::SimpleWave(2, 44100, 16, 4410));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // Declared before the player: the sinks it watches go with the player at the latest.
    fgraphtest::AliveCount sinks;
    audio::GraphSeams seams = fgraphtest::FakeSinkSeams(false);
    seams.make_sink = [&c, &sinks](const std::string&, const std::string&) {
      return c.sinkFactory == nullptr
                 ? nullptr
                 : sinks.Watch(gst_element_factory_make(c.sinkFactory, nullptr));
    };
    audio::C_FGraph player(log_, seams);
    player.Init();
    player.SetFileName(wav);
    if (!c.loads) {
      EXPECT_EQ(player.FileName(), "");
      EXPECT_EQ(player.Length(), 0);
      EXPECT_FALSE(player.Play());
      EXPECT_TRUE(Logged("Pin not set wavparse#default l=1 tFound=0 tNumPin=0"));
      EXPECT_TRUE(Logged("RenderPinsToDecode filesrc#default connect failed"));
      EXPECT_EQ(sinks.alive(), 0) << "a renderer that was never used is not kept";
      continue;
    }
    ASSERT_EQ(player.FileName(), wav);
    ASSERT_TRUE(player.Play());
    EXPECT_EQ(fgraphtest::PollUntilStopped(player).back(), 0);
    EXPECT_EQ(sinks.alive(), 1);
    player.CloseWave();
    EXPECT_EQ(sinks.alive(), 0) << "closing lets go of every reference to the renderer";
  }
}

}  // namespace
