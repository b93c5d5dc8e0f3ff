#include "audio/pcm24.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace audio {
namespace {

inline int32_t Unpack(const uint8_t* b) {
  int32_t v = b[0] | (b[1] << 8) | (b[2] << 16);
  if (v > kPcm24Max) v -= 0x1000000;
  return v;
}

// Clamps the value in place (callers see the value that was written) and packs it.
inline void Pack(int32_t& value, uint8_t* b) {
  value = std::clamp(value, kPcm24Min, kPcm24Max);
  const uint32_t u = static_cast<uint32_t>(value) & 0xFFFFFF;
  b[0] = static_cast<uint8_t>(u);
  b[1] = static_cast<uint8_t>(u >> 8);
  b[2] = static_cast<uint8_t>(u >> 16);
}

// value x gain rounded half to even, kept inside 32 bits.
int32_t ScaleRounded(double value, float gain) {
  const double scaled = std::nearbyint(value * static_cast<double>(gain));
  if (!(scaled >= std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
  if (scaled > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(scaled);
}

}  // namespace

void Unpack24BitStereo(const std::vector<Pcm24Stereo>& in, std::vector<StereoSample>& out) {
  if (out.size() != in.size()) out.resize(in.size());
  for (size_t i = 0; i < in.size(); ++i) {
    out[i].Left = Unpack(in[i].b);
    out[i].Right = Unpack(in[i].b + 3);
  }
}

void Unpack24BitMono(const std::vector<Pcm24Mono>& in, std::vector<int32_t>& out) {
  if (out.size() != in.size()) out.resize(in.size());
  for (size_t i = 0; i < in.size(); ++i) out[i] = Unpack(in[i].b);
}

void Pack24BitStereo(std::vector<StereoSample>& in, std::vector<Pcm24Stereo>& out) {
  const size_t count = std::min(in.size(), out.size());
  for (size_t i = 0; i < count; ++i) {
    Pack(in[i].Left, out[i].b);
    Pack(in[i].Right, out[i].b + 3);
  }
}

void Pack24BitMono(std::vector<int32_t>& in, std::vector<Pcm24Mono>& out) {
  const size_t count = std::min(in.size(), out.size());
  for (size_t i = 0; i < count; ++i) Pack(in[i], out[i].b);
}

int32_t Read24BitSample(std::span<const uint8_t> bytes, float gain) {
  if (bytes.size() < 3) return 0;
  return ScaleRounded(Unpack(bytes.data()), gain);
}

int32_t Write24BitSample(int32_t value, std::span<uint8_t> bytes, float gain) {
  if (bytes.size() < 3) return 0;
  int32_t scaled = ScaleRounded(value, gain);
  Pack(scaled, bytes.data());
  return 0;
}

}  // namespace audio
