// What the graph player's own MPEG length count costs on load: a 10-minute variable-rate MP3
// without an info frame (every frame header is walked) next to the same encoding with a Xing
// frame (the count is read from the first frame), each as the frame walk alone and as the whole
// load (Init and FileName, up to the prerolled graph). The counters give the Length found.
#include <benchmark/benchmark.h>
#include <gst/gst.h>

#include <string>

#include "audio/c_fgraph.h"
#include "audio/gst/fct_quartz.h"
#include "audio/mpeg_audio_scan.h"
#include "foundation/debug_log.h"
#include "tools/media_fixtures/gst_media_writer.h"

namespace {

const char* kPlainPath = "/tmp/ondrake_mp3_length_bench_vbr.mp3";
const char* kXingPath = "/tmp/ondrake_mp3_length_bench_vbr_xing.mp3";
constexpr int32_t kTenMinutesMs = 10 * 60 * 1000;
// Pink noise keeps a variable-rate encoder near the top of its range, as dense music does.
const std::string kEncode = "audioconvert ! lamemp3enc target=quality quality=2";

bool Files() {
  static const bool ok =
      media_fixtures::EncodeTone(kEncode, kPlainPath, kTenMinutesMs, 441, "pink-noise") &&
      media_fixtures::EncodeTone(kEncode + " ! xingmux", kXingPath, kTenMinutesMs, 441,
                                 "pink-noise");
  return ok;
}

void FrameWalk(benchmark::State& state, const char* path) {
  if (!Files()) {
    state.SkipWithError("could not encode the test files");
    return;
  }
  audio::MpegAudioInfo info;
  for (auto _ : state) {
    info = audio::ScanMpegAudioFile(path);
    benchmark::DoNotOptimize(info);
  }
  state.counters["length_ms"] = info.LengthMs();
  state.counters["walked"] = info.fromHeader ? 0 : 1;
}

void Load(benchmark::State& state, const char* path) {
  if (!Files()) {
    state.SkipWithError("could not encode the test files");
    return;
  }
  int32_t length = 0;
  for (auto _ : state) {
    audio::GraphSeams seams;
    seams.make_sink = [](const std::string&, const std::string&) {
      GstElement* sink = gst_element_factory_make("fakesink", nullptr);
      g_object_set(sink, "sync", FALSE, nullptr);
      return sink;
    };
    foundation::DebugLog log;
    audio::C_FGraph player(log, seams);
    player.SetDevMode(1);
    player.Init();
    player.SetFileName(path);
    length = player.Length();
    if (player.FileName().empty()) {
      state.SkipWithError("the file did not load");
      break;
    }
  }
  state.counters["length_ms"] = length;
}

BENCHMARK_CAPTURE(FrameWalk, vbr_without_xing, kPlainPath)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FrameWalk, vbr_with_xing, kXingPath)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Load, vbr_without_xing, kPlainPath)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Load, vbr_with_xing, kXingPath)->Unit(benchmark::kMillisecond);

}  // namespace
