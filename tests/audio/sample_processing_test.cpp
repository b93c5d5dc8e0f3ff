#include "audio/sample_processing.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "tests/audio/riff_fixture.h"

namespace audio {
namespace {

std::vector<uint8_t> Bytes16(const std::vector<int32_t>& samples) {
  const std::string bytes = rifftest::Samples16(samples);
  return {bytes.begin(), bytes.end()};
}

std::vector<uint8_t> Bytes24(const std::vector<int32_t>& samples) {
  const std::string bytes = rifftest::Samples24(samples);
  return {bytes.begin(), bytes.end()};
}

TEST(SampleProcessing, GainRoundsHalfToEvenAndKeepsSamplesInRange) {
  struct Case {
    const char* what;
    int32_t kind;
    std::vector<uint8_t> in;
    PageGains gains;
    std::vector<uint8_t> out;
  };
  const Case cases[] = {
      // 127 x 0.5 + 128 = 191.5 -> 192; -128 x 0.5 + 128 = 64.
      {"8-bit half", 0, {0, 255, 128}, {0.5f, 0.5f, 1}, {64, 192, 128}},
      {"8-bit stereo pan", 1, {255, 255}, {1.0f, 0.0f, 1}, {255, 128}},
      {"16-bit full scale", 2, Bytes16({-32768, 32767}), {1, 1, 1}, Bytes16({-32767, 32767})},
      {"16-bit over", 3, Bytes16({30000, -30000}), {2, 2, 1}, Bytes16({32767, -32767})},
      {"16-bit halves", 2, Bytes16({3, 5, -3}), {0.5f, 1, 1}, Bytes16({2, 2, -2})},
      {"24-bit limits", 5, Bytes24({8000000, -8000000}), {2, 2, 1}, Bytes24({8388607, -8388608})},
      {"24-bit half", 4, Bytes24({-8388608, 7}), {0.5f, 1, 1}, Bytes24({-4194304, 4})},
      // Products past the 32-bit range are held at its edge before the 24-bit limit.
      {"24-bit huge gain", 4, Bytes24({8388607, -1}), {1e30f, 1, 1}, Bytes24({8388607, -8388608})},
      {"16-bit 6ch in place",
       6,
       Bytes16({1, 2, 3, 4, 5, -32768}),
       {9, 9, 1},
       Bytes16({1, 2, 3, 4, 5, -32767})},
      {"24-bit 8ch in place",
       9,
       Bytes24({1, -1, 8388607, -8388608, 4, 5, 6, 7}),
       {9, 9, 2},
       Bytes24({2, -2, 8388607, -8388608, 8, 10, 12, 14})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<uint8_t> page = c.in;
    const SampleLayout layout = SampleLayoutOf(c.kind);
    const int32_t frames =
        static_cast<int32_t>(page.size()) / (layout.Channels * layout.BitsPerSample / 8);
    ProcessPageSamples(c.kind, page, frames, c.gains, true, {});
    EXPECT_EQ(page, c.out);
  }
}

TEST(SampleProcessing, MetersPerChannelOnA128Scale) {
  // 16-bit stereo: left peaks at 25600 (100 on the scale), right is a steady 12800 (RMS 50).
  std::vector<uint8_t> page = Bytes16({25600, 12800, -256, -12800, 0, 12800, 0, -12800});
  PageMeters m = ProcessPageSamples(3, page, 4, {}, true, {});
  EXPECT_EQ(m.Peak[0], 100);
  EXPECT_EQ(m.Peak[1], 50);
  EXPECT_EQ(m.RMS[1], 50);
  // sqrt((25600^2 + 256^2) / 4) / 256 = 50.002 -> 50
  EXPECT_EQ(m.RMS[0], 50);
  for (int c = 2; c < 8; ++c) {
    EXPECT_EQ(m.Peak[c], m.Peak[0]);
    EXPECT_EQ(m.RMS[c], m.RMS[0]);
  }

  // 8-bit mono: the meter value is the stored byte - 128; a mono file fills all eight.
  std::vector<uint8_t> mono = {0, 255};
  m = ProcessPageSamples(0, mono, 2, {0.5f, 0.5f, 1}, true, {});
  for (int c = 0; c < 8; ++c) EXPECT_EQ(m.Peak[c], 64);

  // 24-bit: the meters see the value before the 24-bit limit.
  std::vector<uint8_t> wide = Bytes24({8388607});
  m = ProcessPageSamples(4, wide, 1, {2, 2, 1}, true, {});
  EXPECT_EQ(m.Peak[0], 256);

  // Nothing to process, unknown layouts: all zero and nothing touched.
  std::vector<uint8_t> keep = {1, 2, 3, 4};
  EXPECT_EQ(ProcessPageSamples(3, keep, 0, {}, true, {}).Peak[0], 0);
  EXPECT_EQ(ProcessPageSamples(42, keep, 1, {}, true, {}).Peak[0], 0);
  EXPECT_EQ(keep, (std::vector<uint8_t>{1, 2, 3, 4}));
}

TEST(SampleProcessing, SplitsChannelPairsAndStaysInsideTheBuffers) {
  // Two frames of 8-channel 16-bit audio into four stereo pages, gain 0.5.
  std::vector<int32_t> samples;
  for (int f = 0; f < 2; ++f) {
    for (int c = 0; c < 8; ++c) samples.push_back((f * 8 + c) * 100);
  }
  std::vector<uint8_t> page = Bytes16(samples);
  const std::vector<uint8_t> original = page;
  std::array<std::vector<uint8_t>, 4> outs;
  for (auto& o : outs) o.assign(8, 0xEE);
  std::array<std::span<uint8_t>, 4> split;
  for (int o = 0; o < 4; ++o) split[o] = outs[o];
  ProcessPageSamples(7, page, 2, {1, 1, 0.5f}, false, split);
  EXPECT_EQ(page, original);
  for (int o = 0; o < 4; ++o) {
    EXPECT_EQ(outs[o], Bytes16({o * 100, o * 100 + 50, 400 + o * 100, 450 + o * 100})) << o;
  }

  // 6-channel 24-bit with one split page only one frame long: one frame is processed.
  std::vector<uint8_t> wide = Bytes24({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
  std::array<std::vector<uint8_t>, 3> pairs = {std::vector<uint8_t>(12, 0xEE),
                                               std::vector<uint8_t>(6, 0xEE),
                                               std::vector<uint8_t>(12, 0xEE)};
  std::array<std::span<uint8_t>, 3> pairSpans = {pairs[0], pairs[1], pairs[2]};
  ProcessPageSamples(8, wide, 2, {1, 1, 1}, false, pairSpans);
  std::vector<uint8_t> firstPair = Bytes24({1, 2});
  firstPair.resize(12, 0xEE);
  EXPECT_EQ(pairs[0], firstPair);
  EXPECT_EQ(pairs[1], Bytes24({3, 4}));
  // Too few split pages: nothing is written.
  std::array<std::span<uint8_t>, 2> tooFew = {pairs[0], pairs[1]};
  EXPECT_EQ(ProcessPageSamples(8, wide, 2, {1, 1, 1}, false, tooFew).Peak[0], 0);
}

}  // namespace
}  // namespace audio
