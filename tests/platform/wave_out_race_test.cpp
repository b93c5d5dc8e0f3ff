// Test labels: threads (writes racing closes and resets from other threads)
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
  backends.push_back({"virtual", std::make_unique<VirtualWaveOut>(StandardErrorLog(), options)});
  const std::string config = wavetest::AlsaFilePcmConfig(
      {"d0"}, [&](const std::string& name) { return dir.Sub(name + ".raw"); });
  backends.push_back({"alsa", std::make_unique<AlsaWaveOut>(
                                  StandardErrorLog(), std::vector<WaveDeviceEntry>{{"Out 0", "d0"}},
                                  std::vector<WaveDeviceEntry>{}, config)});
  return backends;
}

using Pages = std::vector<std::unique_ptr<Page>>;

// Short prepared pages, so that some are played while others are still being written.
Pages PreparedPages(WaveOutDevice& dev, WaveHandle h, const WaveFormat& f, int count) {
  Pages pages;
  for (int i = 0; i < count; ++i) {
    pages.push_back(MakePage(f, 64, static_cast<uint8_t>(i)));
    EXPECT_EQ(dev.PrepareHeader(h, &pages.back()->header), kWaveNoError);
  }
  return pages;
}

// On every backend, `rounds` times: a fresh stream with `count` prepared pages, written one by
// one from one thread while `other` runs on a second (both released together); `check` then
// sees the pages and what each Write answered.
void RaceRounds(int rounds, int count, const std::function<void(WaveOutDevice&, WaveHandle)>& other,
                const std::function<void(WaveOutDevice&, WaveHandle, const Pages&,
                                         const std::vector<WaveResult>&)>& check) {
  testsupport::TempDir dir;
  const WaveFormat f = PcmFormat(16, 2, 48000);
  for (Backend& backend : Backends(dir)) {
    SCOPED_TRACE(backend.name);
    WaveOutDevice& dev = *backend.device;
    for (int round = 0; round < rounds; ++round) {
      const WaveHandle h = wavetest::OpenOk(dev, 0, f);
      const Pages pages = PreparedPages(dev, h, f, count);
      std::vector<WaveResult> results(pages.size(), -1);
      std::atomic<bool> go{false};
      std::thread writer([&] {
        while (!go.load()) std::this_thread::yield();
        for (size_t i = 0; i < pages.size(); ++i) results[i] = dev.Write(h, &pages[i]->header);
      });
      std::thread second([&] {
        while (!go.load()) std::this_thread::yield();
        other(dev, h);
      });
      go.store(true);
      writer.join();
      second.join();
      check(dev, h, pages, results);
    }
  }
}

TEST(WaveOutRace, WriteRacingCloseStrandsNoPage) {
  RaceRounds(
      20, 16, [](WaveOutDevice& dev, WaveHandle h) { EXPECT_EQ(dev.Close(h), kWaveNoError); },
      [](WaveOutDevice&, WaveHandle, const Pages& pages, const std::vector<WaveResult>& results) {
        for (size_t i = 0; i < pages.size(); ++i) {
          SCOPED_TRACE(i);
          EXPECT_EQ(pages[i]->header.flags.load() & kWaveHeaderInQueue, 0u);
          if (results[i] == kWaveNoError) {
            EXPECT_TRUE(pages[i]->header.done());
          } else {
            EXPECT_EQ(results[i], kWaveInvalidHandle);
          }
        }
      });
}

TEST(WaveOutRace, ResetDuringWritesFinishesEveryPage) {
  RaceRounds(
      10, 32,
      [](WaveOutDevice& dev, WaveHandle h) {
        for (int i = 0; i < 5; ++i) EXPECT_EQ(dev.Reset(h), kWaveNoError);
      },
      [](WaveOutDevice& dev, WaveHandle h, const Pages& pages,
         const std::vector<WaveResult>& results) {
        for (WaveResult r : results) EXPECT_EQ(r, kWaveNoError);
        // Each page was either cleared by a reset or queued behind it, and then plays out.
        EXPECT_TRUE(wavetest::WaitUntil([&] {
          for (const auto& page : pages) {
            if (!page->header.done()) return false;
          }
          return true;
        }));
        EXPECT_EQ(dev.Close(h), kWaveNoError);
      });
}

}  // namespace
}  // namespace platform
