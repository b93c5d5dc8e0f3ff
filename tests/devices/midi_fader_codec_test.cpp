#include "devices/midi_fader_codec.h"

#include <gtest/gtest.h>

#include <vector>

#include "devices/midi_system.h"

namespace devices {
namespace {

using Messages = std::vector<MidiShortMessage>;

TEST(MidiFaderCodecTest, ConfigFollowsTheResolution) {
  const struct {
    int32_t mode, reso;
    int32_t usedReso, max, level;
  } cases[] = {
      {0, 14, 14, 16384, 13184}, {0, 20, 16, 65536, 52736}, {0, 3, 5, 32, 26},
      {0, 7, 7, 128, 103},       {0, 10, 10, 1024, 824},    {1, 7, 14, 16384, 13376},
  };
  for (const auto& c : cases) {
    const MidiFaderConfig config = MakeMidiFaderConfig(c.mode, 1, 0, c.reso);
    EXPECT_EQ(config.MidifReso, c.usedReso) << c.reso;
    EXPECT_EQ(config.MidifMax, c.max) << c.reso;
    EXPECT_EQ(config.FaderLevel, c.level) << c.reso;
  }
}

// A control change on MIDI channel 0, and a pitch bend.
MidiShortMessage Cc(int32_t controller, int32_t value) { return {0, 0, controller, value}; }
MidiShortMessage Bend(int32_t channel, int32_t lsb, int32_t msb) { return {6, channel, lsb, msb}; }

TEST(MidiFaderCodecTest, LevelsGoOut) {
  const struct {
    const char* what;
    int32_t mode, offset, stereo, reso, ch, level;
    Messages out;
  } cases[] = {
      {"14-bit pair", 0, 1, 0, 14, 0, 13184, {Cc(1, 103), Cc(33, 0)}},
      {"over the top is the top", 0, 1, 0, 14, 2, 99999, {Cc(3, 103), Cc(35, 0)}},
      {"below 0 is 0", 0, 1, 0, 14, 0, -4, {Cc(1, 0), Cc(33, 0)}},
      {"7 bits: one controller", 0, 1, 0, 7, 1, 103, {Cc(2, 103)}},
      {"5 bits scaled to 7", 0, 1, 0, 5, 0, 26, {Cc(1, 104)}},
      {"10 bits scaled to 14", 0, 1, 0, 10, 0, 824, {Cc(1, 103), Cc(33, 0)}},
      {"16 bits scaled to 14", 0, 1, 0, 16, 0, 52736, {Cc(1, 103), Cc(33, 0)}},
      {"stereo pairs", 0, 3, 1, 14, 1, 129, {Cc(5, 1), Cc(37, 1), Cc(6, 1), Cc(38, 1)}},
      {"pitch bend", 1, 1, 0, 14, 3, 13376, {Bend(3, 64, 104)}},
      {"pitch bend stereo", 1, 1, 1, 14, 1, 200, {Bend(2, 72, 1), Bend(3, 72, 1)}},
      {"no such channel", 0, 1, 0, 14, 8, 100, {}},
      {"no such channel", 1, 1, 0, 14, -1, 100, {}},
  };
  for (const auto& c : cases) {
    const MidiFaderConfig config = MakeMidiFaderConfig(c.mode, c.offset, c.stereo, c.reso);
    EXPECT_EQ(FaderMessages(config, c.ch, c.level), c.out) << c.what;
  }
}

// A control change on channel 0 as it arrives, and any short message.
uint32_t InCc(uint8_t controller, uint8_t value) {
  return PackShortMessage(0xB0, controller, value);
}
constexpr auto In = PackShortMessage;

TEST(MidiFaderCodecTest, MessagesComeIn) {
  struct Step {
    uint32_t message;
    int32_t fader, level, button;
  };
  struct Config {
    int32_t mode, offset, stereo, reso;
  };
  const struct {
    const char* what;
    Config config;
    std::vector<Step> steps;
  } cases[] = {
      {"LSB waits for its MSB",
       {0, 1, 0, 14},
       {{InCc(33, 5), -1, 0, 0},
        {InCc(1, 100), -1, 0, 0},
        {InCc(33, 7), 0, 12807, 0},
        {InCc(33, 9), -1, 0, 0}}},
      {"a level above the top is the top",
       {0, 1, 0, 14},
       {{InCc(2, 127), -1, 0, 0}, {InCc(34, 127), 1, 13184, 0}}},
      {"7 bits: the controller alone",
       {0, 1, 0, 7},
       {{InCc(3, 90), 2, 90, 0}, {InCc(35, 1), -1, 0, 0}}},
      {"6 bits scaled down", {0, 1, 0, 6}, {{InCc(1, 90), 0, 45, 0}}},
      {"buttons",
       {0, 1, 0, 14},
       {{InCc(64, 127), -1, 0, 1},
        {InCc(71, 1), -1, 0, 8},
        {InCc(72, 127), -1, 0, 0},
        {InCc(65, 0), -1, 0, 0}}},
      {"other channels and kinds",
       {0, 1, 0, 14},
       {{In(0xB1, 1, 100), -1, 0, 0}, {In(0x90, 64, 127), -1, 0, 0}}},
      {"stereo halves, never a negative index",
       {0, 2, 1, 7},
       {{InCc(1, 100), -1, 0, 0},  // 1 - 2 = -1: no fader
        {InCc(5, 100), 1, 100, 0},
        {InCc(64, 1), -1, 0, 0},  // 64 - 2 - 63 = -1
        {InCc(65, 1), -1, 0, 1}}},
      {"pitch bend",
       {1, 5, 0, 14},
       {{In(0xE2, 72, 1), 2, 200, 0},
        {In(0xE8, 0, 0), -1, 0, 0},
        {0x5A7F9F, -1, 0, 0},
        {In(0xE0, 127, 127), 0, 13376, 0}}},
      {"pitch bend stereo",
       {1, 1, 1, 14},
       {{In(0xE3, 0, 2), 1, 256, 0}, {In(0xDF, 0, 2), -1, 0, 0}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const Config& f = c.config;
    MidiFaderInput input(MakeMidiFaderConfig(f.mode, f.offset, f.stereo, f.reso));
    for (const Step& s : c.steps) {
      const MidiFaderInput::Event e = input.Handle(s.message);
      EXPECT_EQ(e.fader, s.fader) << std::hex << s.message;
      if (s.fader >= 0) {
        EXPECT_EQ(e.level, s.level);
      }
      EXPECT_EQ(e.button, s.button) << std::hex << s.message;
    }
  }
}

}  // namespace
}  // namespace devices
