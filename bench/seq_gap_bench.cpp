// The gap between SEQ items as it reaches the device: 20 SEQ items of 1 s, played by the
// playout engine with the waveOut player on the virtual wave device in real time. Passes come
// as the window's timer gives them: a single-shot 50 ms timer re-armed after each pass, on the
// real clock. For each of the 19 transitions the gap runs from the end of the last frame of one
// item to the first frame of the next, as the device stamped them (to its 5 ms step). Counters:
// gap_median_ms, gap_max_ms, and silence_max_ms, the most closing silence that went out
// between two items.
//
// What to expect: the pass that sees an item's end queues the closing silence, the next pass
// ends it (50 ms), the one after starts the next item; so two passes plus the wait from the
// end to the first pass after it. An end that falls within one device step before a pass is
// not yet marked played there and waits a pass more, which shows in gap_max_ms only.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "audio/wave_header.h"
#include "bench/engine_stand_ins.h"
#include "foundation/debug_log.h"
#include "platform/clock.h"
#include "platform/wave_out_virtual.h"
#include "playout/player_factory.h"
#include "playout/playout_engine.h"
#include "tools/media_fixtures/gst_media_writer.h"

namespace {

constexpr int kItems = 20;
constexpr int32_t kItemMs = 1000;
constexpr int64_t kPassMs = 50;
// Far more than 20 items and their gaps need: a run past it has stalled.
constexpr int64_t kRunLimitMs = 120 * 1000;

const std::string kFolder = "/tmp/ondrake_seq_gap_bench/";

std::string ItemName(int i) { return "seq" + std::to_string(i) + ".wav"; }

// Each item a square wave of its own pitch, written by GStreamer's encoder: no frame of it is
// silent, so the closing silence between two items shows as zeros.
bool WriteItems() {
  static const bool ok = [] {
    std::filesystem::create_directories(kFolder + "log");
    std::filesystem::create_directories(kFolder + "music");
    for (int i = 0; i < kItems; ++i) {
      if (!media_fixtures::EncodeTone("wavenc", kFolder + "music/" + ItemName(i), kItemMs,
                                      300 + 20 * i, "square"))
        return false;
    }
    return true;
  }();
  return ok;
}

// The frames of an item file as the device should play them.
std::string ItemData(int i, const audio::WaveInfo& info) {
  std::ifstream in(kFolder + "music/" + ItemName(i), std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const size_t offset = static_cast<size_t>(info.DataOffset);
  return offset < bytes.size() ? bytes.substr(offset, static_cast<size_t>(info.DataBytes)) : "";
}

std::string Schedule() {
  std::string text;
  for (int i = 0; i < kItems; ++i) {
    if (!text.empty()) text += "\\n";
    text += "\"06:00:00\",\"1\",\"1\",\"" + std::to_string(kItemMs) + "\",\"music\",\"" +
            ItemName(i) + "\",\"20240501060000_01.cue\",\"Bench\"";
  }
  return text;
}

// Every frame the device played, over all its streams in open order, with the runs that stamp
// them.
struct Played {
  std::string bytes;
  std::vector<platform::VirtualPlayedRun> runs;
  uint32_t blockAlign = 1;
  uint32_t rate = 1;

  explicit Played(const std::vector<platform::VirtualWaveStream>& streams) {
    if (!streams.empty()) {
      blockAlign = std::max<uint32_t>(streams[0].format.block_align, 1);
      rate = std::max<uint32_t>(streams[0].format.samples_per_sec, 1);
    }
    for (const platform::VirtualWaveStream& s : streams) {
      const uint64_t base = bytes.size() / blockAlign;
      for (platform::VirtualPlayedRun run : s.runs) {
        run.first_frame += base;
        runs.push_back(run);
      }
      bytes.append(s.played.begin(), s.played.end());
    }
  }
  uint64_t Frames() const { return bytes.size() / blockAlign; }
  bool Silent(uint64_t frame) const {
    const size_t at = static_cast<size_t>(frame) * blockAlign;
    return bytes.find_first_not_of('\0', at) >= at + blockAlign;
  }
  // When frame `frame` began to go out, in ms on the device's clock.
  double StartMs(uint64_t frame) const {
    auto run = std::upper_bound(
        runs.begin(), runs.end(), frame,
        [](uint64_t f, const platform::VirtualPlayedRun& r) { return f < r.first_frame; });
    if (run != runs.begin()) --run;
    return run->at_us / 1000.0 + static_cast<double>(frame - run->first_frame) * 1000.0 / rate;
  }
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void SeqGap(benchmark::State& state) {
  if (!WriteItems()) {
    state.SkipWithError("could not write the items");
    return;
  }
  benchrig::EngineStandIns rig(kFolder);
  platform::Clock& clock = platform::CurrentClock();
  platform::VirtualWaveOutOptions options;
  options.clock = platform::VirtualClockMode::kRealTime;
  auto device = std::make_shared<platform::VirtualWaveOut>(platform::StandardErrorLog(), options);
  foundation::DebugLog debugLog;
  playout::StandardPlayerFactory players(debugLog, device);
  playout::PlayoutPorts ports = rig.Ports(&clock, &players);
  playout::PlayoutSettings settings;
  settings.ForceLoad = 1;
  playout::PlayoutEngine engine(ports, settings);
  engine.TextOA_MouseUD(1, 0);  // ON AIR
  rig.inbox.text = Schedule();

  bool finished = false;
  for (auto _ : state) {
    const int64_t limit = clock.MonotonicMs() + kRunLimitMs;
    // Until every item has left the queue and the last one has stopped.
    while (clock.MonotonicMs() < limit) {
      engine.TimerClock_Timer();
      const bool loaded = engine.LVS(playout::kListLoad).ItemCount() == kItems;
      if (loaded && engine.LVS(playout::kListQueue).ItemCount() == 0 &&
          engine.Player().mode() != audio::Player::kModePlaying) {
        finished = true;
        break;
      }
      clock.Sleep(kPassMs);
    }
  }
  if (!finished) {
    state.SkipWithError("the items did not all play in time");
    return;
  }

  const Played played(device->Streams());
  std::vector<uint64_t> starts;
  std::vector<uint64_t> ends;
  uint64_t at = 0;
  for (int i = 0; i < kItems; ++i) {
    while (at < played.Frames() && played.Silent(at)) ++at;
    const audio::WaveInfo info = audio::ReadWaveHeader(kFolder + "music/" + ItemName(i));
    const std::string data = ItemData(i, info);
    if (data.empty() ||
        played.bytes.compare(static_cast<size_t>(at) * played.blockAlign, data.size(), data) != 0) {
      state.SkipWithError(("item " + std::to_string(i) + " did not play whole").c_str());
      return;
    }
    starts.push_back(at);
    at += data.size() / played.blockAlign;
    ends.push_back(at);
  }
  std::vector<double> gaps;
  std::vector<double> silences;
  for (int i = 0; i + 1 < kItems; ++i) {
    const double lastEndsMs = played.StartMs(ends[i] - 1) + 1000.0 / played.rate;
    gaps.push_back(played.StartMs(starts[i + 1]) - lastEndsMs);
    silences.push_back(static_cast<double>(starts[i + 1] - ends[i]) * 1000.0 / played.rate);
  }
  state.counters["gap_median_ms"] = Median(gaps);
  state.counters["gap_max_ms"] = *std::max_element(gaps.begin(), gaps.end());
  state.counters["silence_max_ms"] = *std::max_element(silences.begin(), silences.end());
}

BENCHMARK(SeqGap)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
