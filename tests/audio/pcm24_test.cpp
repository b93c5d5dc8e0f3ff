#include "audio/pcm24.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace audio {
namespace {

struct Pattern {
  uint8_t b0, b1, b2;
  int32_t value;
};
const Pattern kPatterns[] = {
    {0x00, 0x00, 0x00, 0},       {0x01, 0x00, 0x00, 1},        {0x56, 0x34, 0x12, 0x123456},
    {0xFF, 0xFF, 0x7F, 8388607}, {0x00, 0x00, 0x80, -8388608}, {0xFF, 0xFF, 0xFF, -1},
    {0x00, 0x01, 0xFF, -65280},
};

TEST(Pcm24, UnpackAndPackRoundTrip) {
  std::vector<Pcm24Mono> mono;
  std::vector<Pcm24Stereo> stereo;
  for (const Pattern& p : kPatterns) {
    mono.push_back({{p.b0, p.b1, p.b2}});
    stereo.push_back({{p.b0, p.b1, p.b2, p.b2, p.b1, p.b0}});
  }
  std::vector<int32_t> values(2, 99);  // resized to the input
  Unpack24BitMono(mono, values);
  std::vector<StereoSample> pairs;
  Unpack24BitStereo(stereo, pairs);
  ASSERT_EQ(values.size(), mono.size());
  ASSERT_EQ(pairs.size(), stereo.size());
  for (size_t i = 0; i < mono.size(); ++i) {
    EXPECT_EQ(values[i], kPatterns[i].value) << i;
    EXPECT_EQ(pairs[i].Left, kPatterns[i].value) << i;
    const uint8_t* b = stereo[i].b;
    EXPECT_EQ(pairs[i].Right, Read24BitSample(std::span<const uint8_t>(b + 3, 3), 1.0f)) << i;
  }

  std::vector<Pcm24Mono> monoOut(mono.size());
  Pack24BitMono(values, monoOut);
  std::vector<Pcm24Stereo> stereoOut(stereo.size());
  Pack24BitStereo(pairs, stereoOut);
  for (size_t i = 0; i < mono.size(); ++i) {
    EXPECT_EQ(std::vector<uint8_t>(monoOut[i].b, monoOut[i].b + 3),
              std::vector<uint8_t>(mono[i].b, mono[i].b + 3))
        << i;
    EXPECT_EQ(std::vector<uint8_t>(stereoOut[i].b, stereoOut[i].b + 6),
              std::vector<uint8_t>(stereo[i].b, stereo[i].b + 6))
        << i;
  }
}

TEST(Pcm24, PackingClampsTheInputInPlace) {
  std::vector<int32_t> values = {
      9000000, -9000000, 8388608, -8388609, std::numeric_limits<int32_t>::min(), 5};
  // The count comes from the byte array: the last value is left alone.
  std::vector<Pcm24Mono> out(5);
  Pack24BitMono(values, out);
  EXPECT_EQ(values, (std::vector<int32_t>{8388607, -8388608, 8388607, -8388608, -8388608, 5}));
  const uint8_t expected[5][3] = {{0xFF, 0xFF, 0x7F},
                                  {0x00, 0x00, 0x80},
                                  {0xFF, 0xFF, 0x7F},
                                  {0x00, 0x00, 0x80},
                                  {0x00, 0x00, 0x80}};
  for (size_t i = 0; i < out.size(); ++i) {
    for (size_t j = 0; j < 3; ++j) EXPECT_EQ(out[i].b[j], expected[i][j]) << i << "/" << j;
  }

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
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1], 0xFF);
  EXPECT_EQ(bytes[2], 0xFF);
  EXPECT_EQ(bytes[3], 0xAA) << "only three bytes are written";
  EXPECT_EQ(Read24BitSample(bytes, 1.0f), -1);

  struct Case {
    int32_t value;
    float gain;
    int32_t written;
  };
  const Case cases[] = {
      {3, 0.5f, 2},  // 1.5 -> 2
      {5, 0.5f, 2},  // 2.5 -> 2 (half to even)
      {-5, 0.5f, -2},
      {8388607, 2.0f, 8388607},
      {-8388608, 2.0f, -8388608},
      {std::numeric_limits<int32_t>::max(), 1e30f, 8388607},
      {1000, std::numeric_limits<float>::quiet_NaN(), -8388608},
  };
  for (const Case& c : cases) {
    Write24BitSample(c.value, bytes, c.gain);
    EXPECT_EQ(Read24BitSample(bytes, 1.0f), c.written) << c.value << " x " << c.gain;
  }
  Write24BitSample(5, bytes, 1.0f);
  EXPECT_EQ(Read24BitSample(bytes, 0.5f), 2);  // 2.5 -> 2
  Write24BitSample(7, bytes, 1.0f);
  EXPECT_EQ(Read24BitSample(bytes, 0.5f), 4);  // 3.5 -> 4

  // Fewer than three bytes: nothing read or written.
  uint8_t two[2] = {1, 2};
  EXPECT_EQ(Read24BitSample(std::span<const uint8_t>(two, 2), 1.0f), 0);
  EXPECT_EQ(Write24BitSample(7, std::span<uint8_t>(two, 2), 1.0f), 0);
  EXPECT_EQ(two[0], 1);
}

}  // namespace
}  // namespace audio
