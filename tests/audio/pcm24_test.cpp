#include "audio/pcm24.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <vector>

namespace audio {
namespace {

struct Pattern {
  uint8_t b[3];
  int32_t value;
};
const Pattern kPatterns[] = {
    {{0x00, 0x00, 0x00}, 0},        {{0x56, 0x34, 0x12}, 0x123456}, {{0xFF, 0xFF, 0x7F}, 8388607},
    {{0x00, 0x00, 0x80}, -8388608}, {{0xFF, 0xFF, 0xFF}, -1},       {{0x00, 0x01, 0xFF}, -65280},
};
constexpr size_t kCount = std::size(kPatterns);

TEST(Pcm24, UnpackAndPackRoundTrip) {
  // Stereo frames carry pattern i on the left and the patterns backwards on the right.
  std::vector<Pcm24Mono> mono;
  std::vector<Pcm24Stereo> stereo;
  for (size_t i = 0; i < kCount; ++i) {
    const uint8_t* l = kPatterns[i].b;
    const uint8_t* r = kPatterns[kCount - 1 - i].b;
    mono.push_back({{l[0], l[1], l[2]}});
    stereo.push_back({{l[0], l[1], l[2], r[0], r[1], r[2]}});
  }
  std::vector<int32_t> values(2, 99);  // resized to the input
  Unpack24BitMono(mono, values);
  std::vector<StereoSample> pairs;
  Unpack24BitStereo(stereo, pairs);
  ASSERT_EQ(values.size(), kCount);
  ASSERT_EQ(pairs.size(), kCount);
  for (size_t i = 0; i < kCount; ++i) {
    EXPECT_EQ(values[i], kPatterns[i].value) << i;
    EXPECT_EQ(pairs[i].Left, kPatterns[i].value) << i;
    EXPECT_EQ(pairs[i].Right, kPatterns[kCount - 1 - i].value) << i;
  }

  std::vector<Pcm24Mono> monoOut(kCount);
  Pack24BitMono(values, monoOut);
  std::vector<Pcm24Stereo> stereoOut(kCount);
  Pack24BitStereo(pairs, stereoOut);
  for (size_t i = 0; i < kCount; ++i) {
    EXPECT_TRUE(std::equal(mono[i].b, mono[i].b + 3, monoOut[i].b)) << i;
    EXPECT_TRUE(std::equal(stereo[i].b, stereo[i].b + 6, stereoOut[i].b)) << i;
  }
}

TEST(Pcm24, PackingClampsTheInputInPlace) {
  std::vector<int32_t> values = {
      9000000, -9000000, 8388608, -8388609, std::numeric_limits<int32_t>::min(), 5};
  // The count comes from the byte array: the last value is left alone.
  std::vector<Pcm24Mono> out(5);
  Pack24BitMono(values, out);
  EXPECT_EQ(values, (std::vector<int32_t>{8388607, -8388608, 8388607, -8388608, -8388608, 5}));
  for (size_t i = 0; i < out.size(); ++i)
    EXPECT_EQ(Read24BitSample(out[i].b, 1.0f), values[i]) << i;

  std::vector<StereoSample> pairs = {{10000000, -10000000}};
  std::vector<Pcm24Stereo> stereo(3);  // longer than the samples: only what there is
  Pack24BitStereo(pairs, stereo);
  EXPECT_EQ(pairs[0].Left, 8388607);
  EXPECT_EQ(pairs[0].Right, -8388608);
  EXPECT_EQ(stereo[0].b[2], 0x7F);
  EXPECT_EQ(stereo[0].b[5], 0x80);
  EXPECT_EQ(stereo[1].b[0], 0);
}

TEST(Pcm24, SingleSamplesWithGain) {
  uint8_t bytes[4] = {0xAA, 0xAA, 0xAA, 0xAA};
  EXPECT_EQ(Write24BitSample(-1, bytes, 1.0f), 0);
  EXPECT_EQ(bytes[2], 0xFF);
  EXPECT_EQ(bytes[3], 0xAA) << "only three bytes are written";

  struct Case {
    int32_t value;
    float writeGain, readGain;
    int32_t result;
  };
  const Case cases[] = {
      {3, 0.5f, 1, 2},  // 1.5 -> 2
      {5, 0.5f, 1, 2},  // 2.5 -> 2 (half to even)
      {-5, 0.5f, 1, -2},
      {5, 1, 0.5f, 2},  // the same on reading
      {7, 1, 0.5f, 4},  // 3.5 -> 4
      {8388607, 2.0f, 1, 8388607},
      {-8388608, 2.0f, 1, -8388608},
      {std::numeric_limits<int32_t>::max(), 1e30f, 1, 8388607},
      {1000, std::numeric_limits<float>::quiet_NaN(), 1, -8388608},
  };
  for (const Case& c : cases) {
    Write24BitSample(c.value, bytes, c.writeGain);
    EXPECT_EQ(Read24BitSample(bytes, c.readGain), c.result) << c.value << " x " << c.writeGain;
  }

  // Fewer than three bytes: nothing read or written.
  uint8_t two[2] = {1, 2};
  EXPECT_EQ(Read24BitSample(std::span<const uint8_t>(two, 2), 1.0f), 0);
  EXPECT_EQ(Write24BitSample(7, std::span<uint8_t>(two, 2), 1.0f), 0);
  EXPECT_EQ(two[0], 1);
}

}  // namespace
}  // namespace audio
