#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "platform/wave_out_device.h"

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
