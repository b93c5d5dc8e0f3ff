#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace audio {

// 24-bit little-endian two's-complement PCM samples and their signed 32-bit values.
struct Pcm24Mono {
  uint8_t b[3];
};
// The left sample's 3 bytes, then the right sample's.
struct Pcm24Stereo {
  uint8_t b[6];
};
struct StereoSample {
  int32_t Left;
  int32_t Right;
};

constexpr int32_t kPcm24Max = 8388607;   // 0x7FFFFF
constexpr int32_t kPcm24Min = -8388608;  // -0x800000

// Unpack: the output is resized to the input's length when it differs (the only allocation),
// then every element is written.
void Unpack24BitStereo(const std::vector<Pcm24Stereo>& in, std::vector<StereoSample>& out);
void Unpack24BitMono(const std::vector<Pcm24Mono>& in, std::vector<int32_t>& out);

// Pack: the count is the byte array's length (never more than the sample array holds). Each
// input value is first clamped in place to [-8388608, 8388607], then written.
void Pack24BitStereo(std::vector<StereoSample>& in, std::vector<Pcm24Stereo>& out);
void Pack24BitMono(std::vector<int32_t>& in, std::vector<Pcm24Mono>& out);

// The sample in bytes 0-2 times the gain, rounded half to even (0 when fewer than 3 bytes are
// given; results beyond 32 bits are clamped).
int32_t Read24BitSample(std::span<const uint8_t> bytes, float gain);
// value x gain, rounded half to even, clamped to [-8388608, 8388607] and written to bytes 0-2
// (nothing is written when fewer than 3 bytes are given). Returns 0.
int32_t Write24BitSample(int32_t value, std::span<uint8_t> bytes, float gain);

}  // namespace audio
