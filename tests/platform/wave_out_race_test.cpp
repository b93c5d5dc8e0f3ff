// Writes racing a Close or a Reset from another thread, on every backend. Whatever the
// interleaving, a page the device accepted is marked done and a refused page is left alone:
// no page is ever stranded in a queue that nobody will play or clear. These tests assert no
// timing, only what must hold after the threads are done.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/wave_out_alsa.h"
#include "platform/wave_out_virtual.h"
#include "tests/platform/wave_out_test_util.h"
#include "tests/support/temp_dir.h"

namespace platform {
namespace {

using wavetest::MakePage;
using wavetest::Page;
using wavetest::PcmFormat;

struct Backend {
  const char* name;
  std::unique_ptr<WaveOutDevice> device;
};

// The real-time virtual device (its own clock thread plays as the test writes) and ALSA over
// `file` PCMs on `null`.
std::vector<Backend> Backends(const testsupport::TempDir& dir) {
  VirtualWaveOutOptions options;
  options.clock = VirtualClockMode::kRealTime;
  options.record = false;
  std::vector<Backend> backends;
  backends.push_back({"virtual", std::make_unique<VirtualWaveOut>(options)});
  const std::string config = wavetest::AlsaFilePcmConfig(
      {"d0"}, [&](const std::string& name) { return dir.Sub(name + ".raw"); });
  backends.push_back(
      {"alsa", std::make_unique<AlsaWaveOut>(std::vector<WaveDeviceEntry>{{"Out 0", "d0"}},
                                             std::vector<WaveDeviceEntry>{}, config)});
  return backends;
}

// Short prepared pages, so that some are played while others are still being written.
std::vector<std::unique_ptr<Page>> PreparedPages(WaveOutDevice& dev, WaveHandle h,
                                                 const WaveFormat& f, int count) {
  std::vector<std::unique_ptr<Page>> pages;
  for (int i = 0; i < count; ++i) {
    pages.push_back(MakePage(f, 64, static_cast<uint8_t>(i)));
    EXPECT_EQ(dev.PrepareHeader(h, &pages.back()->header), kWaveNoError);
  }
  return pages;
}

// Runs `a` and `b` on two threads released together.
void RunTogether(const std::function<void()>& a, const std::function<void()>& b) {
  std::atomic<bool> go{false};
  std::thread ta([&] {
    while (!go.load()) std::this_thread::yield();
    a();
  });
  std::thread tb([&] {
    while (!go.load()) std::this_thread::yield();
    b();
  });
  go.store(true);
  ta.join();
  tb.join();
}

TEST(WaveOutRace, WriteRacingCloseStrandsNoPage) {
  testsupport::TempDir dir;
  const WaveFormat f = PcmFormat(16, 2, 48000);
  for (Backend& backend : Backends(dir)) {
    SCOPED_TRACE(backend.name);
    WaveOutDevice& dev = *backend.device;
    for (int round = 0; round < 20; ++round) {
      const WaveHandle h = wavetest::OpenOk(dev, 0, f);
      auto pages = PreparedPages(dev, h, f, 16);
      std::vector<WaveResult> results(pages.size(), -1);
      RunTogether(
          [&] {
            for (size_t i = 0; i < pages.size(); ++i) results[i] = dev.Write(h, &pages[i]->header);
          },
          [&] { EXPECT_EQ(dev.Close(h), kWaveNoError); });
      for (size_t i = 0; i < pages.size(); ++i) {
        const uint32_t flags = pages[i]->header.flags.load();
        EXPECT_EQ(flags & kWaveHeaderInQueue, 0u) << "page " << i;
        if (results[i] == kWaveNoError) {
          EXPECT_TRUE(pages[i]->header.done()) << "page " << i;
        } else {
          EXPECT_EQ(results[i], kWaveInvalidHandle) << "page " << i;
        }
      }
    }
  }
}

TEST(WaveOutRace, ResetDuringWritesFinishesEveryPage) {
  testsupport::TempDir dir;
  const WaveFormat f = PcmFormat(16, 2, 48000);
  for (Backend& backend : Backends(dir)) {
    SCOPED_TRACE(backend.name);
    WaveOutDevice& dev = *backend.device;
    for (int round = 0; round < 10; ++round) {
      const WaveHandle h = wavetest::OpenOk(dev, 0, f);
      auto pages = PreparedPages(dev, h, f, 32);
      std::vector<WaveResult> results(pages.size(), -1);
      RunTogether(
          [&] {
            for (size_t i = 0; i < pages.size(); ++i) results[i] = dev.Write(h, &pages[i]->header);
          },
          [&] {
            for (int i = 0; i < 5; ++i) EXPECT_EQ(dev.Reset(h), kWaveNoError);
          });
      for (WaveResult r : results) EXPECT_EQ(r, kWaveNoError);
      // Each page was either cleared by a reset or queued behind it, and then plays out.
      EXPECT_TRUE(wavetest::WaitUntil([&] {
        for (const auto& page : pages) {
          if (!page->header.done()) return false;
        }
        return true;
      }));
      EXPECT_EQ(dev.Close(h), kWaveNoError);
    }
  }
}

}  // namespace
}  // namespace platform
