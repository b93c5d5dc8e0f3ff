// Start-up time of the graph player: from writing FileName (and Play) to the first sample the
// renderer is handed, for a 3-minute MP3 and a 3-minute WAV, next to a programmatic playbin
// (what gst-launch-1.0 playbin builds) on the same file into the same sink. Each figure is one
// load-and-start per repetition; read the median of the 20 repetitions.
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "audio/c_fgraph.h"
#include "audio/gst/fct_quartz.h"
#include "audio/gst/gst_graph.h"
#include "audio/gst/gst_ptr.h"
#include "foundation/debug_log.h"
#include "tools/media_fixtures/gst_media_writer.h"

namespace {

using Clock = std::chrono::steady_clock;

const char* kWavPath = "/tmp/ondrake_fgraph_bench_3min.wav";
const char* kMp3Path = "/tmp/ondrake_fgraph_bench_3min.mp3";

constexpr int32_t kToneMs = 3 * 60 * 1000;

bool Files() {
  static const bool ok =
      media_fixtures::EncodeTone("wavenc", kWavPath, kToneMs) &&
      media_fixtures::EncodeTone("audioconvert ! lamemp3enc target=bitrate cbr=true bitrate=192",
                                 kMp3Path, kToneMs);
  return ok;
}

void OnHandoff(GstElement*, GstBuffer*, GstPad*, gpointer data) {
  auto* first = static_cast<std::atomic<int64_t>*>(data);
  int64_t expected = 0;
  first->compare_exchange_strong(expected, Clock::now().time_since_epoch().count());
}

// The same sink for both: a fakesink that does not wait for the clock and reports its first
// rendered buffer.
GstElement* FirstSampleSink(std::atomic<int64_t>* first) {
  GstElement* sink = gst_element_factory_make("fakesink", nullptr);
  g_object_set(sink, "sync", FALSE, "signal-handoffs", TRUE, nullptr);
  g_signal_connect(sink, "handoff", G_CALLBACK(OnHandoff), first);
  return sink;
}

// Waits (bounded) for the first rendered buffer; seconds from `start`, or -1.
double WaitFirst(const std::atomic<int64_t>& first, Clock::time_point start) {
  auto deadline = start + std::chrono::seconds(10);
  while (first.load() == 0 && Clock::now() < deadline) std::this_thread::yield();
  if (first.load() == 0) return -1.0;
  return std::chrono::duration<double>(Clock::duration(first.load()) - start.time_since_epoch())
      .count();
}

void GraphPlayer(benchmark::State& state, const char* path) {
  if (!Files()) {
    state.SkipWithError("could not encode the test files");
    return;
  }
  for (auto _ : state) {
    std::atomic<int64_t> first{0};
    audio::GraphSeams seams;
    seams.make_sink = [&first](const std::string&, const std::string&) {
      return FirstSampleSink(&first);
    };
    foundation::DebugLog log;
    audio::C_FGraph player(log, seams);
    player.SetDevMode(1);
    player.Init();
    auto start = Clock::now();
    player.SetFileName(path);
    player.Play();
    double seconds = WaitFirst(first, start);
    if (seconds < 0) {
      state.SkipWithError("no sample came out");
      break;
    }
    state.SetIterationTime(seconds);
    player.CloseWave();
  }
}

void Playbin(benchmark::State& state, const char* path) {
  if (!Files()) {
    state.SkipWithError("could not encode the test files");
    return;
  }
  std::string uri = std::string("file://") + path;
  for (auto _ : state) {
    std::atomic<int64_t> first{0};
    auto start = Clock::now();
    audio::GstPtr<GstElement> playbin =
        audio::GstSink(gst_element_factory_make("playbin", nullptr));
    if (playbin == nullptr) {
      state.SkipWithError("no playbin");
      break;
    }
    g_object_set(playbin.get(), "uri", uri.c_str(), "audio-sink", FirstSampleSink(&first),
                 "video-sink", gst_element_factory_make("fakesink", nullptr), nullptr);
    gst_element_set_state(playbin.get(), GST_STATE_PLAYING);
    double seconds = WaitFirst(first, start);
    gst_element_set_state(playbin.get(), GST_STATE_NULL);
    if (seconds < 0) {
      state.SkipWithError("no sample came out");
      break;
    }
    state.SetIterationTime(seconds);
  }
}

// One load-and-start per repetition, timed by the benchmark itself.
void StartUpRuns(benchmark::internal::Benchmark* b) {
  b->UseManualTime()->Iterations(1)->Repetitions(20)->Unit(benchmark::kMillisecond);
}

BENCHMARK_CAPTURE(GraphPlayer, wav_3min, kWavPath)->Apply(StartUpRuns);
BENCHMARK_CAPTURE(Playbin, wav_3min, kWavPath)->Apply(StartUpRuns);
BENCHMARK_CAPTURE(GraphPlayer, mp3_3min, kMp3Path)->Apply(StartUpRuns);
BENCHMARK_CAPTURE(Playbin, mp3_3min, kMp3Path)->Apply(StartUpRuns);

}  // namespace
