#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/wave_out_device.h"

// Helpers shared by the tests of every wave output backend.
namespace wavetest {

inline platform::WaveFormat PcmFormat(uint16_t bits, uint16_t channels, uint32_t rate = 44100) {
  platform::WaveFormat f;
  f.format_tag = platform::kWaveFormatPcm;
  f.channels = channels;
  f.samples_per_sec = rate;
  f.bits_per_sample = bits;
  f.block_align = static_cast<uint16_t>(channels * bits / 8);
  f.avg_bytes_per_sec = rate * f.block_align;
  return f;
}

// A page with its own bytes: a byte pattern that differs per page (seed) and per position.
struct Page {
  std::vector<uint8_t> bytes;
  platform::WaveHeader header;
};

inline std::unique_ptr<Page> MakePage(const platform::WaveFormat& f, size_t frames, uint8_t seed) {
  auto page = std::make_unique<Page>();
  page->bytes.resize(frames * f.block_align);
  for (size_t i = 0; i < page->bytes.size(); ++i) {
    page->bytes[i] = static_cast<uint8_t>(seed * 37 + i * 13 + (i >> 8));
  }
  page->header.data = page->bytes.data();
  page->header.buffer_length = static_cast<uint32_t>(page->bytes.size());
  return page;
}

// The pages' bytes one after another, the last one cut to `last_bytes`.
inline std::vector<uint8_t> Joined(std::initializer_list<const Page*> pages,
                                   size_t last_bytes = SIZE_MAX) {
  std::vector<uint8_t> all;
  size_t i = 0;
  for (const Page* p : pages) {
    const size_t n =
        (++i == pages.size()) ? std::min(last_bytes, p->bytes.size()) : p->bytes.size();
    all.insert(all.end(), p->bytes.begin(), p->bytes.begin() + static_cast<std::ptrdiff_t>(n));
  }
  return all;
}

inline platform::WaveHandle OpenOk(platform::WaveOutDevice& dev, int32_t device,
                                   const platform::WaveFormat& f) {
  platform::WaveHandle h = 0;
  EXPECT_EQ(dev.Open(&h, device, f), platform::kWaveNoError);
  EXPECT_NE(h, 0u);
  return h;
}

inline void Queue(platform::WaveOutDevice& dev, platform::WaveHandle h, Page& page) {
  ASSERT_EQ(dev.PrepareHeader(h, &page.header), platform::kWaveNoError);
  ASSERT_EQ(dev.Write(h, &page.header), platform::kWaveNoError);
}

// The stream's position in frames; UINT64_MAX when the device refuses to tell.
inline uint64_t PositionFrames(platform::WaveOutDevice& dev, platform::WaveHandle h) {
  platform::WavePosition pos;
  return dev.GetPosition(h, &pos) == platform::kWaveNoError ? pos.frames : UINT64_MAX;
}

// ALSA configuration text defining each of `pcms` as a `file` PCM over a `null` sink: no
// sound card needed, and each writes the raw bytes it is given to file_of(name).
inline std::string AlsaFilePcmConfig(
    const std::vector<std::string>& pcms,
    const std::function<std::string(const std::string&)>& file_of) {
  std::string config = "pcm.sink { type null }\n";
  for (const std::string& name : pcms) {
    config += "pcm." + name + " { type file slave.pcm \"sink\" file \"" + file_of(name) +
              "\" format \"raw\" }\n";
  }
  return config;
}

// Polls `done` until it holds or a generous deadline passes; never asserts a duration.
inline bool WaitUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds limit = std::chrono::seconds(10)) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

}  // namespace wavetest
