// Test labels: threads (the real-time virtual device's ticker)
#include "platform/wave_out_virtual.h"

#include <gtest/gtest.h>

#include "platform/clock.h"
#include "platform/steady_deadline.h"
#include "platform/wave_out_gain.h"
#include "tests/fakes/platform/simulated_clock.h"
#include "tests/platform/wave_out_test_util.h"
#include "tests/support/recording_log.h"

namespace platform {
namespace {

using wavetest::Joined;
using wavetest::MakePage;
using wavetest::OpenOk;
using wavetest::PcmFormat;
using wavetest::PositionFrames;
using wavetest::Queue;

VirtualWaveOutOptions Options(VirtualClockMode clock) {
  VirtualWaveOutOptions o;
  o.outputs = {"Speakers (2- USB Audio Device)", "Line Out", "HDMI"};
  o.inputs = {"Mic In"};
  o.clock = clock;
  return o;
}

TEST(VirtualWaveOut, DeviceCapsAndMisuse) {
  VirtualWaveOut dev(StandardErrorLog(), Options(VirtualClockMode::kManual));
  WaveDeviceCaps caps;
  ASSERT_EQ(dev.GetDevCaps(kWaveMapper, &caps), kWaveNoError);
  EXPECT_EQ(caps.name, "default");
  ASSERT_EQ(dev.GetInDevCaps(0, &caps), kWaveNoError);
  EXPECT_EQ(caps.name, "Mic In");
  EXPECT_EQ(dev.GetDevCaps(3, &caps), kWaveBadDeviceId);
  EXPECT_EQ(dev.GetDevCaps(-2, &caps), kWaveBadDeviceId);
  EXPECT_EQ(dev.GetDevCaps(0, nullptr), kWaveInvalidParam);

  const WaveFormat f = PcmFormat(16, 2);
  WaveHandle h = 99;
  EXPECT_EQ(dev.Open(&h, 3, f), kWaveBadDeviceId);
  EXPECT_EQ(h, 0u);
  EXPECT_EQ(dev.Open(&h, 0, PcmFormat(16, 3)), kWaveBadFormat);
  EXPECT_EQ(dev.Open(nullptr, 0, f), kWaveInvalidParam);
  EXPECT_EQ(dev.OpenStreamCount(), 0);

  h = OpenOk(dev, kWaveMapper, f);
  auto page = MakePage(f, 10, 1);
  EXPECT_EQ(dev.Write(h, &page->header), kWaveUnprepared);
  EXPECT_EQ(dev.Write(h, nullptr), kWaveInvalidParam);
  Queue(dev, h, *page);
  EXPECT_EQ(dev.Write(h, &page->header), kWaveStillPlaying);
  EXPECT_EQ(dev.UnprepareHeader(h, &page->header), kWaveStillPlaying);
  EXPECT_EQ(dev.Close(h), kWaveNoError);
  EXPECT_EQ(dev.UnprepareHeader(h, &page->header), kWaveInvalidHandle);
  EXPECT_EQ(dev.Close(h), kWaveInvalidHandle);

  // Every call is on the record, failed ones with their result.
  const auto calls = dev.Calls();
  ASSERT_GE(calls.size(), 4u);
  EXPECT_EQ(calls[0].call, WaveCall::kOpen);
  EXPECT_EQ(calls[0].result, kWaveBadDeviceId);
  const auto stream = dev.Stream(h);
  ASSERT_EQ(stream.calls.size(), 8u);
  EXPECT_EQ(stream.calls[1].call, WaveCall::kWrite);
  EXPECT_EQ(stream.calls[1].result, kWaveUnprepared);
}

TEST(VirtualWaveOut, ManualClockMarksPagesDoneOnlyWhenPlayed) {
  VirtualWaveOut dev(StandardErrorLog(), Options(VirtualClockMode::kManual));
  const WaveFormat f = PcmFormat(16, 2, 1000);  // one frame per millisecond
  const WaveHandle h = OpenOk(dev, 0, f);
  auto a = MakePage(f, 100, 1);
  auto b = MakePage(f, 50, 2);
  Queue(dev, h, *a);
  Queue(dev, h, *b);

  dev.AdvanceMs(99);
  EXPECT_FALSE(a->header.done());
  dev.AdvanceMs(1);
  EXPECT_TRUE(a->header.done());
  EXPECT_FALSE(b->header.done());
  EXPECT_EQ(dev.UnprepareHeader(h, &a->header), kWaveNoError);

  // Running out of pages: time passes, the position stays at what was played.
  dev.AdvanceMs(500);
  EXPECT_TRUE(b->header.done());
  WavePosition pos;
  ASSERT_EQ(dev.GetPosition(h, &pos), kWaveNoError);
  EXPECT_EQ(pos.frames, 150u);
  EXPECT_EQ(pos.bytes, 600u);

  auto c = MakePage(f, 10, 3);
  Queue(dev, h, *c);
  dev.AdvanceFrames(4);
  EXPECT_EQ(PositionFrames(dev, h), 154u);
  EXPECT_FALSE(c->header.done());
  EXPECT_EQ(dev.Stream(h).played, Joined({a.get(), b.get(), c.get()}, 4 * 4));
  // Each run of frames keeps the time it went out: the idle time before c shows there.
  EXPECT_EQ(dev.Stream(h).runs,
            (std::vector<VirtualPlayedRun>{
                {0, 99, 0}, {99, 1, 99000}, {100, 50, 100000}, {150, 4, 600000}}));

  // Fractions of a frame carry over between advances (44.1 frames per ms).
  const WaveFormat cd = PcmFormat(8, 1, 44100);
  const WaveHandle h2 = OpenOk(dev, 1, cd);
  auto d = MakePage(cd, 1000, 4);
  Queue(dev, h2, *d);
  for (int i = 0; i < 10; ++i) dev.AdvanceMs(1);
  EXPECT_EQ(PositionFrames(dev, h2), 441u);
  // Hand the pages still queued back before they go out of scope.
  EXPECT_EQ(dev.Close(h), kWaveNoError);
  EXPECT_EQ(dev.Close(h2), kWaveNoError);
  EXPECT_TRUE(c->header.done() && d->header.done());
}

TEST(VirtualWaveOut, VolumeScalesFramesAsTheyGoOut) {
  VirtualWaveOut dev(StandardErrorLog(), Options(VirtualClockMode::kManual));
  const WaveFormat f = PcmFormat(16, 2, 1000);
  const WaveHandle on0 = OpenOk(dev, 0, f);
  const WaveHandle on1 = OpenOk(dev, 1, f);
  auto p0 = MakePage(f, 20, 1);
  auto p1 = MakePage(f, 20, 1);
  Queue(dev, on0, *p0);
  Queue(dev, on1, *p1);

  dev.AdvanceMs(10);
  const uint32_t quarter = 0x40004000u;
  EXPECT_EQ(dev.SetVolume(0, quarter), kWaveNoError);  // device 0 only, queued pages included
  EXPECT_EQ(dev.SetVolume(7, quarter), kWaveBadDeviceId);
  dev.AdvanceMs(10);

  std::vector<uint8_t> want = p0->bytes;
  ApplyWaveGain(want.data() + 10 * 4, 10, f, WaveVolumeToGain(quarter));
  EXPECT_EQ(dev.Stream(on0).played, want);
  EXPECT_EQ(dev.Stream(on1).played, p1->bytes);

  // The volume belongs to the device number: a later stream on it starts attenuated.
  uint32_t volume = 0;
  ASSERT_EQ(dev.GetVolume(kWaveMapper, &volume), kWaveNoError);
  EXPECT_EQ(volume, kWaveFullVolume);
  const WaveHandle again = OpenOk(dev, 0, f);
  auto p2 = MakePage(f, 5, 2);
  Queue(dev, again, *p2);
  dev.AdvanceMs(5);
  want = p2->bytes;
  ApplyWaveGain(want.data(), 5, f, WaveVolumeToGain(quarter));
  EXPECT_EQ(dev.Stream(again).played, want);
}

TEST(VirtualWaveOut, PauseRestartAndReset) {
  VirtualWaveOut dev(StandardErrorLog(), Options(VirtualClockMode::kInstant));
  const WaveFormat f = PcmFormat(24, 1, 1000);
  const WaveHandle h = OpenOk(dev, 0, f);
  auto a = MakePage(f, 10, 1);
  EXPECT_EQ(dev.Pause(h), kWaveNoError);
  Queue(dev, h, *a);
  EXPECT_FALSE(a->header.done());
  EXPECT_EQ(dev.Restart(h), kWaveNoError);
  EXPECT_TRUE(a->header.done());
  EXPECT_EQ(dev.Restart(h), kWaveNoError);  // harmless when not paused

  dev.SetClockMode(VirtualClockMode::kManual);
  auto b = MakePage(f, 10, 2);
  auto c = MakePage(f, 10, 3);
  Queue(dev, h, *b);
  Queue(dev, h, *c);
  dev.AdvanceMs(3);
  EXPECT_EQ(dev.Pause(h), kWaveNoError);
  dev.AdvanceMs(100);
  EXPECT_EQ(PositionFrames(dev, h), 13u);

  // Reset: every page done, position back to 0, and the pause is gone.
  EXPECT_EQ(dev.Reset(h), kWaveNoError);
  EXPECT_TRUE(b->header.done());
  EXPECT_TRUE(c->header.done());
  EXPECT_EQ(PositionFrames(dev, h), 0u);
  EXPECT_FALSE(dev.Stream(h).paused);
  auto d = MakePage(f, 4, 4);
  Queue(dev, h, *d);
  dev.AdvanceMs(4);
  EXPECT_TRUE(d->header.done());
  std::vector<uint8_t> want = Joined({a.get(), b.get()}, 3 * 3);
  want.insert(want.end(), d->bytes.begin(), d->bytes.end());
  EXPECT_EQ(dev.Stream(h).played, want);
  // A switch to instant plays what is queued at once.
  auto e = MakePage(f, 4, 5);
  Queue(dev, h, *e);
  dev.SetClockMode(VirtualClockMode::kInstant);
  EXPECT_TRUE(e->header.done());
}

TEST(VirtualWaveOut, ScriptedFailures) {
  VirtualWaveOut dev(StandardErrorLog(), Options(VirtualClockMode::kInstant));
  const WaveFormat f = PcmFormat(16, 2);
  dev.ScriptFailure(WaveCall::kOpen, kWaveAllocated, 1, 2);
  WaveHandle h = 0;
  EXPECT_EQ(dev.Open(&h, 2, f), kWaveAllocated);
  const WaveHandle h1 = OpenOk(dev, 1, f);
  const WaveHandle h2 = OpenOk(dev, 2, f);  // the failure was used up

  dev.ScriptFailure(WaveCall::kWrite, kWaveError);
  auto a = MakePage(f, 8, 1);
  ASSERT_EQ(dev.PrepareHeader(h1, &a->header), kWaveNoError);
  EXPECT_EQ(dev.Write(h1, &a->header), kWaveError);
  EXPECT_EQ(a->header.flags.load() & kWaveHeaderInQueue, 0u);  // nothing queued
  EXPECT_EQ(dev.Write(h1, &a->header), kWaveNoError);

  dev.ScriptFailure(WaveCall::kReset, kWaveNoDriver, -1);  // every time
  EXPECT_EQ(dev.Reset(h1), kWaveNoDriver);
  EXPECT_EQ(dev.Reset(h2), kWaveNoDriver);
  dev.ClearFailures();
  EXPECT_EQ(dev.Reset(h1), kWaveNoError);
}

// An underrun and a failure in the middle of a play: counted, logged once with the device's
// name, the failed stream's frames dropped at the clock's pace so its pages still finish.
TEST(VirtualWaveOut, ScriptedFaultsInTheMiddleOfAPlay) {
  testsupport::RecordingLog log;
  SimulatedClock clock;
  SetCurrentClock(&clock);
  VirtualWaveOut dev(log, Options(VirtualClockMode::kManual));
  const WaveFormat f = PcmFormat(16, 2, 1000);
  const WaveHandle h0 = OpenOk(dev, 0, f);
  const WaveHandle h1 = OpenOk(dev, 1, f);
  dev.ScriptFault(VirtualFault::kUnderrun, 30, 0);
  dev.ScriptFault(VirtualFault::kDeviceFailure, 60, 0);
  dev.ScriptFault(VirtualFault::kDeviceFailure, 1000, 2);  // never reached
  auto a = MakePage(f, 50, 1);
  auto b = MakePage(f, 50, 2);
  auto c = MakePage(f, 100, 3);
  Queue(dev, h0, *a);
  Queue(dev, h0, *b);
  Queue(dev, h1, *c);
  const auto health = [&](WaveHandle h) {
    WaveHealth out;
    EXPECT_EQ(dev.GetHealth(h, &out), kWaveNoError);
    return out;
  };

  dev.AdvanceMs(40);
  EXPECT_EQ(health(h0).underruns, 1u);
  EXPECT_FALSE(health(h0).failed);
  clock.Advance(20);
  dev.AdvanceMs(40);
  EXPECT_TRUE(health(h0).failed);
  EXPECT_EQ(health(h0).failed_at_ms, clock.MonotonicMs());
  EXPECT_EQ(health(h0).dropped_frames, 20u);
  dev.AdvanceMs(100);
  EXPECT_TRUE(a->header.done() && b->header.done()) << "nothing waits for a dead device";
  EXPECT_EQ(PositionFrames(dev, h0), 100u);
  EXPECT_EQ(health(h0).dropped_frames, 40u);
  EXPECT_EQ(dev.Stream(h0).played, Joined({a.get(), b.get()}, 10 * 4));
  EXPECT_EQ(dev.Stream(h1).played, c->bytes) << "the other device plays on";
  EXPECT_EQ(health(h1), WaveHealth{});
  // The counts outlive a reset; the failure is logged once however many pages follow.
  auto d = MakePage(f, 10, 4);
  EXPECT_EQ(dev.Reset(h0), kWaveNoError);
  Queue(dev, h0, *d);
  dev.AdvanceMs(10);
  EXPECT_EQ(health(h0).dropped_frames, 50u);
  EXPECT_EQ(log.Texts(),
            (std::vector<std::string>{
                "wave output \"Speakers (2- USB Audio Device)\": underrun, restarted (1 so "
                "far)",
                "wave output \"Speakers (2- USB Audio Device)\": device failed (scripted "
                "failure); its pages are dropped from now on"}));

  WaveHealth unused;
  EXPECT_EQ(dev.GetHealth(12345, &unused), kWaveInvalidHandle);
  EXPECT_EQ(dev.GetHealth(h1, nullptr), kWaveInvalidParam);
  EXPECT_EQ(dev.Close(h0), kWaveNoError);
  EXPECT_EQ(dev.GetHealth(h0, &unused), kWaveInvalidHandle);
  SetCurrentClock(nullptr);
}

TEST(VirtualWaveOut, CloseDropsQueuedPagesAndKeepsTheRecord) {
  VirtualWaveOut dev(StandardErrorLog(), Options(VirtualClockMode::kManual));
  const WaveFormat f = PcmFormat(8, 2, 8000);
  const WaveHandle h = OpenOk(dev, 0, f);
  auto a = MakePage(f, 100, 1);
  auto b = MakePage(f, 100, 2);
  Queue(dev, h, *a);
  Queue(dev, h, *b);
  dev.AdvanceFrames(30);
  EXPECT_EQ(dev.Close(h), kWaveNoError);
  EXPECT_TRUE(a->header.done());
  EXPECT_TRUE(b->header.done());
  EXPECT_EQ(dev.OpenStreamCount(), 0);
  const auto streams = dev.Streams();
  ASSERT_EQ(streams.size(), 1u);
  EXPECT_FALSE(streams[0].open);
  EXPECT_EQ(streams[0].played.size(), 60u);
}

TEST(VirtualWaveOut, RealTimeClockPlaysAtTheSampleRate) {
  const int64_t startMs = SteadyNowMs();
  VirtualWaveOut dev(StandardErrorLog(), Options(VirtualClockMode::kRealTime));
  const WaveFormat f = PcmFormat(16, 1, 48000);
  const WaveHandle h = OpenOk(dev, 0, f);
  auto a = MakePage(f, 480, 1);
  auto b = MakePage(f, 480, 2);
  Queue(dev, h, *a);
  Queue(dev, h, *b);
  ASSERT_TRUE(wavetest::WaitUntil([&] { return b->header.done(); }));
  const int64_t doneMs = SteadyNowMs();
  EXPECT_TRUE(a->header.done());
  EXPECT_EQ(PositionFrames(dev, h), 960u);
  const VirtualWaveStream stream = dev.Stream(h);
  EXPECT_EQ(stream.played, Joined({a.get(), b.get()}));
  // The runs cover every frame in order, stamped on the monotonic clock, never going back.
  uint64_t frames = 0;
  int64_t lastUs = startMs * 1000;
  for (const VirtualPlayedRun& run : stream.runs) {
    EXPECT_EQ(run.first_frame, frames);
    EXPECT_GE(run.at_us, lastUs);
    frames += run.frames;
    lastUs = run.at_us;
  }
  EXPECT_EQ(frames, 960u);
  EXPECT_LT(lastUs, (doneMs + 1) * 1000);
}

}  // namespace
}  // namespace platform
