// The graph player over every file type it has a chain for: each file is encoded at test time,
// loaded, measured and played to its end into a capturing sink.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "audio/c_fgraph.h"
#include "tests/audio/fgraph_fixture.h"
#include "tests/support/debug_log_fixture.h"

namespace {

using audio::C_FGraph;
using fgraphtest::Capture;

struct FormatCase {
  const char* file;
  const char* encode;             // gst-launch fragment after the raw tone
  std::vector<std::string> need;  // factories the encode and the play need
  int32_t lengthSlackMs;          // coders add priming and padding
  bool fallback = false;          // no chain for the type: the decodebin fallback plays it
};

using FGraphFormats = testsupport::DebugLogTest;

TEST_F(FGraphFormats, EachTypeLoadsWithItsLengthAndPlaysToTheEnd) {
  const FormatCase cases[] = {
      {"tone.wav", "wavenc", {"wavenc", "wavparse"}, 0},
      {"tone.mp3",
       "audioconvert ! lamemp3enc target=bitrate cbr=true bitrate=128",
       {"lamemp3enc", "mpegaudioparse"},
       80},
      {"tone.m4a", "audioconvert ! avenc_aac ! mp4mux", {"avenc_aac", "mp4mux", "qtdemux"}, 80},
      {"tone.ogg", "audioconvert ! vorbisenc ! oggmux", {"vorbisenc", "oggmux", "vorbisdec"}, 80},
      {"tone.wma",
       "audioconvert ! avenc_wmav2 ! asfmux",
       {"avenc_wmav2", "asfmux", "asfdemux"},
       120},
      {"tone.aiff", "audioconvert ! aiffmux", {"aiffmux", "aiffparse"}, 0},
      {"tone.flac", "flacenc", {"flacenc", "flacparse"}, 0, true},
  };
  for (const FormatCase& c : cases) {
    SCOPED_TRACE(c.file);
    std::string missing = fgraphtest::MissingFactory(c.need);
    if (!missing.empty()) {
      std::cout << "[  SKIPPED ] " << c.file << ": GStreamer factory " << missing
                << " is not installed\n";
      continue;
    }
    std::string path = dir_.Sub(c.file);
    ASSERT_TRUE(fgraphtest::EncodeTone(c.encode, path, 1500));
    auto capture = std::make_shared<Capture>();
    C_FGraph player(log_, fgraphtest::CaptureSeams(capture));
    player.SetDevMode(1);
    player.Init();
    player.SetFileName(path);
    ASSERT_EQ(player.FileName(), path);
    if (c.fallback) {
      EXPECT_TRUE(Logged("SetupPinsToDecode Unknown Filetype #" + path));
    }
    EXPECT_NEAR(player.Length(), 1500, c.lengthSlackMs + 1);
    EXPECT_EQ(player.ToMS(), player.Length());
    ASSERT_TRUE(player.Play());
    std::vector<int32_t> modes = fgraphtest::PollUntilStopped(player);
    EXPECT_EQ(modes.back(), 0) << "the poll that meets the end reads 0";
    EXPECT_EQ(player.mode(), 1) << "then stopped";
    // Every frame of the file reached the renderer (coders may add a little).
    EXPECT_NEAR(capture->Frames() / 44.1, 1500.0, c.lengthSlackMs + 12.0);
    EXPECT_GT(fgraphtest::ChannelRms(capture->Samples(), 0), 0.2);
  }
}

}  // namespace
