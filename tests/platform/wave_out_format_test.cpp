#include <gtest/gtest.h>

#include "platform/wave_out_device.h"
#include "platform/wave_out_gain.h"
#include "platform/wave_page_queue.h"
#include "tests/platform/wave_out_test_util.h"

namespace platform {
namespace {

using wavetest::PcmFormat;

TEST(WaveOutFormat, PlayableFormats) {
  struct Case {
    uint16_t tag;
    uint16_t bits;
    uint16_t channels;
    int block_align_delta;
    uint32_t rate;
    bool sub_pcm;
    WaveResult want;
  };
  const Case cases[] = {
      {kWaveFormatPcm, 8, 1, 0, 44100, true, kWaveNoError},
      {kWaveFormatPcm, 16, 2, 0, 48000, true, kWaveNoError},
      {kWaveFormatPcm, 24, 6, 0, 96000, true, kWaveNoError},
      {kWaveFormatExtensible, 24, 8, 0, 192000, true, kWaveNoError},
      {kWaveFormatExtensible, 16, 8, 0, 48000, false, kWaveBadFormat},  // not PCM inside
      {3, 16, 2, 0, 44100, true, kWaveBadFormat},                       // float
      {kWaveFormatPcm, 32, 2, 0, 44100, true, kWaveBadFormat},
      {kWaveFormatPcm, 16, 3, 0, 44100, true, kWaveBadFormat},
      {kWaveFormatPcm, 16, 0, 0, 44100, true, kWaveBadFormat},
      {kWaveFormatPcm, 16, 2, 1, 44100, true, kWaveBadFormat},  // block align lies
      {kWaveFormatPcm, 16, 2, 0, 0, true, kWaveBadFormat},
      {kWaveFormatPcm, 16, 2, 0, 768001, true, kWaveBadFormat},
  };
  for (const Case& c : cases) {
    WaveFormat f = PcmFormat(c.bits, c.channels, c.rate);
    f.format_tag = c.tag;
    f.sub_format_pcm = c.sub_pcm;
    f.block_align = static_cast<uint16_t>(f.block_align + c.block_align_delta);
    EXPECT_EQ(CheckWaveFormat(f), c.want) << c.tag << " " << c.bits << " " << c.channels;
    EXPECT_EQ(WaveFormatProblem(f).empty(), c.want == kWaveNoError);
  }
  EXPECT_EQ(WaveFormatProblem(PcmFormat(16, 2, 0x7FFFFFFF)),
            "sample rate 2147483647 outside 1 to 768000");
}

TEST(WaveOutFormat, UnknownCodesGetTheBadErrorNumberText) {
  EXPECT_NE(WaveOutErrorText(kWaveBadFormat), WaveOutErrorText(kWaveBadErrorNumber));
  EXPECT_EQ(WaveOutErrorText(12345), WaveOutErrorText(kWaveBadErrorNumber));
  EXPECT_EQ(WaveOutErrorText(-1), WaveOutErrorText(kWaveBadErrorNumber));
}

TEST(WaveOutGain, ScalesEachSampleKindWithRoundingAndLimits) {
  struct Case {
    uint16_t bits;
    uint16_t channels;
    std::vector<uint8_t> in;
    uint32_t volume;
    std::vector<uint8_t> want;
  };
  const uint32_t half = 0x80008000u;  // 32768 / 65535, a hair over 0.5
  const Case cases[] = {
      // 8-bit is unsigned around 128: 0 -> 64, 255 -> 128 + 63.5.. -> 192, 128 stays; just
      // under half, 255 -> 128 + 63.49.. -> 191.
      {8, 1, {0, 255, 128}, half, {64, 192, 128}},
      {8, 1, {255}, 0x7FFF7FFFu, {191}},
      {8, 2, {0, 0}, 0x0000FFFFu, {0, 128}},  // right silenced
      // 16-bit: 1000 x 0.5000076 -> 500; 32767 at unity stays, a silenced side is 0.
      {16, 1, {0xE8, 0x03}, half, {0xF4, 0x01}},
      {16, 2, {0x00, 0x80, 0xFF, 0x7F}, 0xFFFF0000u, {0x00, 0x00, 0xFF, 0x7F}},
      // 24-bit: -2 x 0.5000076 -> -1; -8388608 at unity stays.
      {24, 1, {0xFE, 0xFF, 0xFF}, half, {0xFF, 0xFF, 0xFF}},
      {24,
       2,
       {0xFF, 0xFF, 0x7F, 0x00, 0x00, 0x80},
       0xFFFF0000u,
       {0x00, 0x00, 0x00, 0x00, 0x00, 0x80}},
      // Unity leaves bytes untouched.
      {16, 2, {1, 2, 3, 4}, kWaveFullVolume, {1, 2, 3, 4}},
  };
  for (const Case& c : cases) {
    const WaveFormat f = PcmFormat(c.bits, c.channels);
    std::vector<uint8_t> bytes = c.in;
    ApplyWaveGain(bytes.data(), bytes.size() / f.block_align, f, WaveVolumeToGain(c.volume));
    EXPECT_EQ(bytes, c.want) << c.bits << "-bit x" << c.channels << " volume " << c.volume;
  }
  // Six channels: even channels take the left gain, odd ones the right.
  const WaveFormat six = PcmFormat(8, 6);
  std::vector<uint8_t> frame = {0, 0, 0, 0, 0, 0};
  ApplyWaveGain(frame.data(), 1, six, WaveVolumeToGain(0xFFFF0000u));
  EXPECT_EQ(frame, (std::vector<uint8_t>{128, 0, 128, 0, 128, 0}));
}

TEST(WaveOutHeaders, PrepareWriteUnprepareRules) {
  WaveHeader h;
  EXPECT_EQ(PrepareWaveHeader(nullptr), kWaveInvalidParam);
  EXPECT_EQ(PrepareWaveHeader(&h), kWaveNoError);
  h.flags.fetch_or(kWaveHeaderInQueue);
  EXPECT_EQ(CheckWaveWrite(&h), kWaveStillPlaying);
  const WaveHeader copy = h;  // a copy is prepared but not queued
  EXPECT_EQ(CheckWaveWrite(&copy), kWaveNoError);
  h.flags.fetch_and(~kWaveHeaderInQueue);
  EXPECT_EQ(UnprepareWaveHeader(&h), kWaveNoError);
  EXPECT_EQ(h.flags.load() & kWaveHeaderPrepared, 0u);
}

TEST(WavePageQueue, TakesInOrderAndMarksDoneByPlayedFrames) {
  const WaveFormat f = PcmFormat(16, 1);
  auto a = wavetest::MakePage(f, 3, 1);
  auto empty = wavetest::MakePage(f, 0, 2);
  auto b = wavetest::MakePage(f, 2, 3);
  b->header.buffer_length += 1;  // a trailing partial frame is skipped
  WavePageQueue q(f.block_align);
  for (auto* p : {a.get(), empty.get(), b.get()}) q.Push(&p->header);
  EXPECT_EQ(q.untaken_frames(), 5u);
  EXPECT_EQ(a->header.flags.load() & kWaveHeaderInQueue, kWaveHeaderInQueue);

  std::vector<uint8_t> out(10 * f.block_align);
  EXPECT_EQ(q.Take(out.data(), 4), 4u);
  EXPECT_TRUE(std::equal(a->bytes.begin(), a->bytes.end(), out.begin()));
  EXPECT_TRUE(std::equal(b->bytes.begin(), b->bytes.begin() + 2, out.begin() + 6));
  q.MarkPlayed(2);
  EXPECT_FALSE(a->header.done());
  q.MarkPlayed(3);  // a and the empty page behind it
  EXPECT_TRUE(a->header.done());
  EXPECT_TRUE(empty->header.done());
  EXPECT_EQ(a->header.flags.load() & kWaveHeaderInQueue, 0u);
  EXPECT_FALSE(b->header.done());
  // The page's address was taken at Push: pointing its header elsewhere changes nothing.
  auto other = wavetest::MakePage(f, 2, 9);
  b->header.data = other->bytes.data();
  EXPECT_EQ(q.Take(out.data(), 10), 1u);
  EXPECT_TRUE(std::equal(b->bytes.begin() + 2, b->bytes.begin() + 4, out.begin()));
  EXPECT_EQ(q.Take(out.data(), 10), 0u);

  auto c = wavetest::MakePage(f, 4, 4);
  q.Push(&c->header);
  q.Clear();
  EXPECT_TRUE(b->header.done());
  EXPECT_TRUE(c->header.done());
  EXPECT_TRUE(q.empty());
  EXPECT_EQ(q.taken_frames(), 0u);
}

}  // namespace
}  // namespace platform
