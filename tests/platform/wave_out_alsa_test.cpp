// Test labels: threads (one feeder thread per open stream)
#include "platform/wave_out_alsa.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/wave_out_gain.h"
#include "tests/platform/wave_out_test_util.h"
#include "tests/support/temp_dir.h"

namespace platform {
namespace {

using wavetest::MakePage;
using wavetest::Page;
using wavetest::PcmFormat;
using wavetest::WaitUntil;

// Output devices d0..d2 and "default" are `file` PCMs over `null`: no sound card needed, and
// each writes the raw bytes it is given to its own file. "gone" names a PCM the configuration
// lacks.
class AlsaWaveOutTest : public ::testing::Test {
 protected:
  AlsaWaveOutTest() {
    const std::string config = wavetest::AlsaFilePcmConfig(
        {"default", "d0", "d1", "d2"}, [this](const std::string& name) { return Capture(name); });
    dev_ = std::make_unique<AlsaWaveOut>(
        StandardErrorLog(),
        std::vector<WaveDeviceEntry>{
            {"Out 0", "d0"}, {"Out 1", "d1"}, {"Out 2", "d2"}, {"Gone", "gone"}},
        std::vector<WaveDeviceEntry>{{"In 0", "c0"}}, config);
  }

  std::string Capture(const std::string& pcm) const { return dir_.Sub(pcm + ".raw"); }
  std::vector<uint8_t> Captured(const std::string& pcm) const {
    const std::string bytes = testsupport::ReadWholeFile(Capture(pcm));
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
  }
  WaveHandle OpenOk(int32_t device, const WaveFormat& f) {
    return wavetest::OpenOk(*dev_, device, f);
  }
  void Queue(WaveHandle h, Page& page) { wavetest::Queue(*dev_, h, page); }
  uint64_t PositionFrames(WaveHandle h) { return wavetest::PositionFrames(*dev_, h); }

  testsupport::TempDir dir_;
  std::unique_ptr<AlsaWaveOut> dev_;
};

TEST_F(AlsaWaveOutTest, DeviceListsAndFailedOpens) {
  EXPECT_EQ(dev_->NumDevs(), 4);
  WaveDeviceCaps caps;
  ASSERT_EQ(dev_->GetDevCaps(2, &caps), kWaveNoError);
  EXPECT_EQ(caps.name, "Out 2");
  EXPECT_EQ(dev_->GetDevCaps(4, &caps), kWaveBadDeviceId);

  WaveHandle h = 7;
  EXPECT_EQ(dev_->Open(&h, 4, PcmFormat(16, 2)), kWaveBadDeviceId);
  EXPECT_EQ(dev_->Open(&h, 0, PcmFormat(32, 2)), kWaveBadFormat);
  EXPECT_EQ(dev_->Open(&h, 3, PcmFormat(16, 2)), kWaveNoDriver);
  EXPECT_EQ(h, 0u);
  EXPECT_EQ(dev_->Write(12345, nullptr), kWaveInvalidHandle);
  WaveHealth health;
  EXPECT_EQ(dev_->GetHealth(12345, &health), kWaveInvalidHandle);
}

// Each layout reaches the PCM byte for byte: the format handed to ALSA matches the pages.
TEST_F(AlsaWaveOutTest, PlaysEveryFormatByteForByte) {
  struct Case {
    uint16_t bits;
    uint16_t channels;
    bool extensible;
  };
  const Case cases[] = {
      {8, 1, false}, {16, 2, false}, {24, 1, false}, {16, 6, true}, {24, 8, true}};
  for (const Case& c : cases) {
    WaveFormat f = PcmFormat(c.bits, c.channels, 48000);
    if (c.extensible) {
      f.format_tag = kWaveFormatExtensible;
      f.channel_mask = 0x3F;
      f.valid_bits_per_sample = c.bits;
    }
    const WaveHandle h = OpenOk(0, f);
    auto a = MakePage(f, 1000, 1);
    auto b = MakePage(f, 37, 2);
    auto empty = MakePage(f, 0, 3);
    auto d = MakePage(f, 3000, 4);
    for (Page* p : {a.get(), b.get(), empty.get(), d.get()}) Queue(h, *p);
    ASSERT_TRUE(WaitUntil([&] { return d->header.done(); })) << c.bits << "x" << c.channels;
    EXPECT_TRUE(a->header.done() && b->header.done() && empty->header.done());
    WavePosition pos;
    ASSERT_EQ(dev_->GetPosition(h, &pos), kWaveNoError);
    EXPECT_EQ(pos.frames, 4037u);
    EXPECT_EQ(pos.bytes, 4037u * f.block_align);
    WaveHealth health;
    ASSERT_EQ(dev_->GetHealth(h, &health), kWaveNoError);
    EXPECT_EQ(health, WaveHealth{}) << "a device that keeps up reports nothing";
    EXPECT_EQ(dev_->GetHealth(h, nullptr), kWaveInvalidParam);
    ASSERT_EQ(dev_->Close(h), kWaveNoError);
    EXPECT_EQ(Captured("d0"), wavetest::Joined({a.get(), b.get(), d.get()}))
        << c.bits << "-bit x" << c.channels;
  }
}

// The device volume is a software gain on the frames of that device's streams only; other
// devices, and the mapper, play at full level. Both streams run at the same time.
TEST_F(AlsaWaveOutTest, VolumeIsAppliedPerDevice) {
  const uint32_t volume = 0x2000C000u;  // left 0.75, right 0.125
  ASSERT_EQ(dev_->SetVolume(1, volume), kWaveNoError);
  EXPECT_EQ(dev_->SetVolume(9, volume), kWaveBadDeviceId);

  for (uint16_t bits : {8, 16, 24}) {
    const WaveFormat f = PcmFormat(bits, 2, 44100);
    const WaveHandle quiet = OpenOk(1, f);
    const WaveHandle loud = OpenOk(kWaveMapper, f);
    auto q = MakePage(f, 2500, 5);
    auto l = MakePage(f, 2500, 5);
    Queue(quiet, *q);
    Queue(loud, *l);
    ASSERT_TRUE(WaitUntil([&] { return q->header.done() && l->header.done(); }));
    ASSERT_EQ(dev_->Close(quiet), kWaveNoError);
    ASSERT_EQ(dev_->Close(loud), kWaveNoError);

    std::vector<uint8_t> want = q->bytes;
    ApplyWaveGain(want.data(), 2500, f, WaveVolumeToGain(volume));
    EXPECT_EQ(Captured("d1"), want) << bits;
    EXPECT_EQ(Captured("default"), l->bytes) << bits;
  }
}

TEST_F(AlsaWaveOutTest, ResetFreesQueuedPagesAndUnpauses) {
  const WaveFormat f = PcmFormat(16, 2, 44100);
  const WaveHandle h = OpenOk(2, f);
  ASSERT_EQ(dev_->Pause(h), kWaveNoError);
  auto a = MakePage(f, 4000, 1);
  auto b = MakePage(f, 4000, 2);
  Queue(h, *a);
  Queue(h, *b);
  EXPECT_FALSE(a->header.done());  // a paused stream takes nothing
  EXPECT_EQ(dev_->UnprepareHeader(h, &a->header), kWaveStillPlaying);

  ASSERT_EQ(dev_->Reset(h), kWaveNoError);
  EXPECT_TRUE(a->header.done());
  EXPECT_TRUE(b->header.done());
  EXPECT_EQ(dev_->UnprepareHeader(h, &a->header), kWaveNoError);
  EXPECT_EQ(PositionFrames(h), 0u);

  // No Restart needed after a reset.
  auto c = MakePage(f, 500, 3);
  Queue(h, *c);
  ASSERT_TRUE(WaitUntil([&] { return c->header.done(); }));
  EXPECT_EQ(PositionFrames(h), 500u);

  // Pause and restart in the middle of a run lose nothing.
  ASSERT_EQ(dev_->Pause(h), kWaveNoError);
  auto d = MakePage(f, 700, 4);
  Queue(h, *d);
  EXPECT_FALSE(d->header.done());
  ASSERT_EQ(dev_->Restart(h), kWaveNoError);
  ASSERT_TRUE(WaitUntil([&] { return d->header.done(); }));
  ASSERT_EQ(dev_->Close(h), kWaveNoError);
  EXPECT_EQ(Captured("d2"), wavetest::Joined({c.get(), d.get()}));
}

// Closing (or dropping the whole device) with pages still queued ends the feeder threads and
// hands every page back.
TEST_F(AlsaWaveOutTest, CloseWithPagesQueued) {
  const WaveFormat f = PcmFormat(24, 2, 48000);
  std::vector<std::unique_ptr<Page>> pages;
  std::vector<WaveHandle> handles;
  for (int32_t device : {0, 0, 1}) {  // one device opened twice
    const WaveHandle h = OpenOk(device, f);
    handles.push_back(h);
    ASSERT_EQ(dev_->Pause(h), kWaveNoError);
    for (int i = 0; i < 3; ++i) {
      pages.push_back(MakePage(f, 2000, uint8_t(i)));
      Queue(h, *pages.back());
    }
  }
  ASSERT_EQ(dev_->Close(handles[0]), kWaveNoError);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(pages[size_t(i)]->header.done());
  EXPECT_FALSE(pages[3]->header.done());
  EXPECT_EQ(dev_->Pause(handles[0]), kWaveInvalidHandle);

  dev_.reset();
  for (const auto& p : pages) EXPECT_TRUE(p->header.done());
}

}  // namespace
}  // namespace platform
