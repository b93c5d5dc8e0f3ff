// Refilling one 2000 ms page of the waveOut player through its software path (gain, limits,
// meters, and the split into stereo outputs), next to a plain copy of the same bytes. The
// x_realtime counter is page seconds processed per second of one core; the feed needs >= 100.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "audio/sample_processing.h"

namespace {

constexpr int32_t kRate = 48000;
constexpr int32_t kPageFrames = kRate * 2 - (kRate * 2) % 256;  // 2000 ms cut to 256 frames

std::vector<uint8_t> NoisePage(size_t bytes) {
  std::vector<uint8_t> page(bytes);
  uint32_t x = 12345;
  for (uint8_t& b : page) {
    x = x * 1664525u + 1013904223u;
    b = static_cast<uint8_t>(x >> 24);
  }
  return page;
}

void SetPageCounters(benchmark::State& state, size_t bytes) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
  state.counters["x_realtime"] =
      benchmark::Counter(2.0 * kPageFrames / (kRate * 2) * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate);
}

// 8-channel 24-bit, split into four stereo outputs (the player's layout without extensible).
void BM_Feed8ch24bitGainSplit(benchmark::State& state) {
  const size_t bytes = static_cast<size_t>(kPageFrames) * 24;
  std::vector<uint8_t> page = NoisePage(bytes);
  std::array<std::vector<uint8_t>, 4> outputs;
  std::array<std::span<uint8_t>, 4> split;
  for (int o = 0; o < 4; ++o) {
    outputs[o].assign(static_cast<size_t>(kPageFrames) * 6, 0);
    split[o] = outputs[o];
  }
  const audio::PageGains gains{1.0f, 1.0f, 0.7071f};
  for (auto _ : state) {
    audio::PageMeters m = audio::ProcessPageSamples(9, page, kPageFrames, gains, false, split);
    benchmark::DoNotOptimize(m);
    benchmark::DoNotOptimize(outputs[3].data());
  }
  SetPageCounters(state, bytes);
}
BENCHMARK(BM_Feed8ch24bitGainSplit)->Unit(benchmark::kMillisecond);

// One page of `sampleKind` processed in place, refilled with the same noise before each run.
void FeedInPlace(benchmark::State& state, int32_t sampleKind, size_t bytesPerFrame,
                 const audio::PageGains& gains) {
  const size_t bytes = static_cast<size_t>(kPageFrames) * bytesPerFrame;
  const std::vector<uint8_t> source = NoisePage(bytes);
  std::vector<uint8_t> page = source;
  for (auto _ : state) {
    state.PauseTiming();
    std::memcpy(page.data(), source.data(), bytes);
    state.ResumeTiming();
    audio::PageMeters m = audio::ProcessPageSamples(sampleKind, page, kPageFrames, gains, true, {});
    benchmark::DoNotOptimize(m);
    benchmark::DoNotOptimize(page.data());
  }
  SetPageCounters(state, bytes);
}

// The same page processed in place (extensible: one 8-channel output).
void BM_Feed8ch24bitGainInPlace(benchmark::State& state) {
  FeedInPlace(state, 9, 24, audio::PageGains{1.0f, 1.0f, 0.7071f});
}
BENCHMARK(BM_Feed8ch24bitGainInPlace)->Unit(benchmark::kMillisecond);

// 16-bit stereo with gain and pan (UsePeakVol 1).
void BM_Feed16bitStereoGain(benchmark::State& state) {
  FeedInPlace(state, 3, 4, audio::PageGains{0.7071f, 0.5f, 0.7071f});
}
BENCHMARK(BM_Feed16bitStereoGain)->Unit(benchmark::kMillisecond);

// The yardstick: a plain copy of the same page bytes.
void BM_MemcpyPage(benchmark::State& state) {
  const size_t bytes = static_cast<size_t>(state.range(0));
  const std::vector<uint8_t> source = NoisePage(bytes);
  std::vector<uint8_t> page(bytes);
  for (auto _ : state) {
    std::memcpy(page.data(), source.data(), bytes);
    benchmark::DoNotOptimize(page.data());
    benchmark::ClobberMemory();
  }
  SetPageCounters(state, bytes);
}
BENCHMARK(BM_MemcpyPage)
    ->Arg(kPageFrames * 24)  // 8-channel 24-bit page
    ->Arg(kPageFrames * 4)   // 16-bit stereo page
    ->Unit(benchmark::kMillisecond);

}  // namespace
