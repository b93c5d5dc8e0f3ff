#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace devices {

// The MIDI fader desk's dialects: eight channel faders that go out as control changes on MIDI
// channel 0 (mode 0, a 7-bit controller, or a 14-bit pair of controller and controller + 32)
// or as one pitch bend per MIDI channel (mode 1), and fader buttons that come in as
// controllers 64 and up.

struct MidiFaderConfig {
  int32_t MidiMode = 0;
  int32_t MIDIChOffset = 1;    // first channel or controller, from 1
  int32_t MIDIStereo = 0;      // non-zero: every channel is a pair of faders
  int32_t MidifReso = 14;      // bits of a level, 5..16
  int32_t MidifMax = 16384;    // 2 ^ MidifReso: the number of steps of a level
  int32_t FaderLevel = 13184;  // the level of a channel that is on, the top of every level
};

// The settings' values with what follows from them: the resolution kept within 5..16 (always
// 14 in mode 1), MidifMax, and FaderLevel (13376 in mode 1, else MidifMax * 824 / 1024
// rounded, the same point of the fader's travel at every resolution).
MidiFaderConfig MakeMidiFaderConfig(int32_t midiMode, int32_t chOffset, int32_t stereo,
                                    int32_t reso);

struct MidiShortMessage {
  int32_t kind = 0;  // as MidiPorts::MidiOutSend takes it: 0 control change, 6 pitch bend
  int32_t channel = 0;
  int32_t d1 = 0;
  int32_t d2 = 0;
  bool operator==(const MidiShortMessage&) const = default;
};

// The messages that set fader `ch` (0..7) to `level` (0..FaderLevel): in mode 0 a level takes
// one controller when the resolution is 7 bits or fewer and a controller pair otherwise, and
// is scaled from the resolution to the controllers' 7 or 14 bits. None for a channel outside
// 0..7.
std::vector<MidiShortMessage> FaderMessages(const MidiFaderConfig& config, int32_t ch,
                                            int32_t level);

// Incoming messages read one at a time; keeps the high halves of 14-bit levels until their low
// halves come.
class MidiFaderInput {
 public:
  struct Event {
    int32_t fader = -1;  // 0..7 when the message set a fader's level
    int32_t level = 0;   // that level, 0..FaderLevel
    int32_t button = 0;  // 1..8 when the message pressed a fader button
  };

  explicit MidiFaderInput(const MidiFaderConfig& config) : config_(config) { msb_.fill(-1); }

  // What one packed message (status in bits 0-7, data in 8-15 and 16-23) means; a message that
  // names no fader gives an empty event.
  Event Handle(uint32_t message);

 private:
  // The fader a number counted from the offset names, or -1 (never a negative one halved).
  int32_t FaderIndex(int32_t number) const;
  int32_t LevelOf(int32_t wire, int32_t wireBits) const;

  MidiFaderConfig config_;
  std::array<int32_t, 8> msb_{};  // -1: no high half waiting
};

}  // namespace devices
