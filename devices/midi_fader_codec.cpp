#include "devices/midi_fader_codec.h"

#include <algorithm>
#include <cmath>

namespace devices {

namespace {

constexpr int32_t kMinReso = 5;
constexpr int32_t kMaxReso = 16;
constexpr int32_t kTotalMixReso = 14;
constexpr int32_t kTotalMixLevel = 13376;  // 0x3440, the mixer's 0 dB
constexpr int32_t kControlChange = 0;
constexpr int32_t kPitchBend = 6;

// `value` moved from `fromBits` to `toBits` of resolution.
int32_t Rescale(int32_t value, int32_t fromBits, int32_t toBits) {
  return fromBits <= toBits ? value << (toBits - fromBits) : value >> (fromBits - toBits);
}

}  // namespace

MidiFaderConfig MakeMidiFaderConfig(int32_t midiMode, int32_t chOffset, int32_t stereo,
                                    int32_t reso) {
  MidiFaderConfig c;
  c.MidiMode = midiMode;
  c.MIDIChOffset = chOffset;
  c.MIDIStereo = stereo;
  c.MidifReso = midiMode != 0 ? kTotalMixReso : std::clamp(reso, kMinReso, kMaxReso);
  c.MidifMax = 1 << c.MidifReso;
  c.FaderLevel = midiMode != 0 ? kTotalMixLevel
                               : static_cast<int32_t>(std::nearbyint(c.MidifMax * 824.0 / 1024.0));
  return c;
}

std::vector<MidiShortMessage> FaderMessages(const MidiFaderConfig& config, int32_t ch,
                                            int32_t level) {
  std::vector<MidiShortMessage> out;
  if (ch < 0 || ch > 7) return out;
  level = std::clamp(level, 0, config.FaderLevel);
  const int32_t n = config.MIDIStereo != 0 ? 2 * ch : ch;
  const int32_t c = n + config.MIDIChOffset - 1;
  const int32_t sides = config.MIDIStereo != 0 ? 2 : 1;
  for (int32_t side = 0; side < sides; ++side) {
    if (config.MidiMode == 1) {
      out.push_back({kPitchBend, c + side, level & 127, level >> 7});
    } else if (config.MidifReso <= 7) {
      out.push_back(
          {kControlChange, 0, c + 1 + side, std::min(Rescale(level, config.MidifReso, 7), 127)});
    } else {
      const int32_t wire = std::min(Rescale(level, config.MidifReso, 14), 16383);
      out.push_back({kControlChange, 0, c + 1 + side, wire >> 7});
      out.push_back({kControlChange, 0, c + 33 + side, wire & 127});
    }
  }
  return out;
}

int32_t MidiFaderInput::FaderIndex(int32_t number) const {
  if (number < 0) return -1;
  const int32_t idx = config_.MIDIStereo != 0 ? number / 2 : number;
  return idx < 8 ? idx : -1;
}

int32_t MidiFaderInput::LevelOf(int32_t wire, int32_t wireBits) const {
  return std::clamp(Rescale(wire, wireBits, config_.MidifReso), 0, config_.FaderLevel);
}

MidiFaderInput::Event MidiFaderInput::Handle(uint32_t message) {
  Event e;
  const int32_t status = static_cast<int32_t>(message & 0xFF);
  const int32_t d1 = static_cast<int32_t>((message >> 8) & 0xFF);
  const int32_t d2 = static_cast<int32_t>((message >> 16) & 0xFF);
  if (config_.MidiMode == 1) {
    // Only pitch bends are faders; the mixer's note messages (0x5A7F9F among them) are not.
    if (status < 0xE0 || status > 0xEF) return e;
    const int32_t idx = FaderIndex(status - 0xE0);
    if (idx < 0) return e;
    e.fader = idx;
    e.level = std::clamp(d2 * 128 + d1, 0, config_.FaderLevel);
    return e;
  }
  if (status != 0xB0) return e;
  const bool sevenBit = config_.MidifReso <= 7;
  if (d1 >= 1 && d1 <= 24) {
    const int32_t idx = FaderIndex(d1 - config_.MIDIChOffset);
    if (idx < 0) return e;
    msb_[static_cast<size_t>(idx)] = d2;
    if (sevenBit) {
      e.fader = idx;
      e.level = LevelOf(d2, 7);
    }
  } else if (d1 >= 33 && d1 <= 56 && !sevenBit) {
    const int32_t idx = FaderIndex(d1 - config_.MIDIChOffset - 32);
    if (idx < 0) return e;
    int32_t& msb = msb_[static_cast<size_t>(idx)];
    if (msb != -1) {
      e.fader = idx;
      e.level = LevelOf(msb * 128 + d2, 14);
      msb = -1;
    }
  } else if (d1 >= 64 && d1 <= 87) {
    const int32_t idx = FaderIndex(d1 - config_.MIDIChOffset - 63);
    if (idx >= 0 && d2 != 0) e.button = idx + 1;
  }
  return e;
}

}  // namespace devices
