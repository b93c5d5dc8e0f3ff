#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "devices/fct_midi.h"
#include "devices/midi_fader_codec.h"

namespace devices {

// Sends fader levels out of port 0 of `ports`, in both dialects, to a desk that echoes them,
// and expects each to come back in as the same level; `read(count)` gathers what came back.
template <typename Read>
void ExpectFaderLevelsComeBack(MidiPorts& ports, int32_t fader, Read read) {
  for (const int32_t mode : {0, 1}) {
    const MidiFaderConfig config = MakeMidiFaderConfig(mode, 1, 0, 14);
    MidiFaderInput input(config);
    for (const int32_t level : {0, 1, 200, 8191, config.FaderLevel}) {
      const std::vector<MidiShortMessage> out = FaderMessages(config, fader, level);
      for (const MidiShortMessage& m : out)
        ASSERT_EQ(ports.MidiOutSend(0, m.kind, m.channel, m.d1, m.d2), 1);
      const std::vector<uint32_t> got = read(out.size());
      ASSERT_EQ(got.size(), out.size()) << mode;
      MidiFaderInput::Event last;
      for (const uint32_t m : got) last = input.Handle(m);
      EXPECT_EQ(last.fader, fader) << mode;
      EXPECT_EQ(last.level, level) << mode;
    }
  }
}

}  // namespace devices
