#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "devices/fct_midi.h"
#include "devices/midi_fader_codec.h"
#include "playout/device_settings.h"
#include "playout/engine_ports.h"

namespace playout {

// The MIDI fader desk on MIDI port 0: the switcher's eight channels mirrored on eight faders,
// fader moves on the desk taken into the faders' levels, and the desk's fader buttons as
// contact inputs.
class MidiFaderLink {
 public:
  // The ports write their refusals to `log`.
  MidiFaderLink(platform::LogSink& log, devices::MidiSystem& system) : ports_(log, system) {}

  // With UseMIDIF: finds the devices by name, opens the output and (with UseMidiIn) the
  // input, and sends level 0 on every fader. The link is active only when everything wanted
  // opened; otherwise both ports are closed again.
  void Open(const DeviceSettings& settings);
  // Closes the input, then the output.
  void Close();

  bool Active() const { return ports_.MidiPortsOpen(0) != 0; }
  bool InputActive() const { return Active() && useMidiIn_ != 0; }
  int32_t MidiMode() const { return config_.MidiMode; }
  // The level of a channel that is on (0 until the link is set up).
  int32_t FaderLevel() const { return opened_ ? config_.FaderLevel : 0; }

  // SetMidiFader: channel `ch` (0..7) to `level`, clamped to 0..FaderLevel, kept in the
  // fader's record and sent.
  void SetMidiFader(int32_t ch, int32_t level, std::array<MidiFaderState, 8>& faders);
  // Sends a level the caller keeps itself.
  void SendLevel(int32_t ch, int32_t level);
  // PollMidiFaders: takes in everything the desk sent since the last call, oldest first
  // (fader moves set the records' levels); the last fader button pressed (1..8), or 0.
  int32_t PollMidiFaders(std::array<MidiFaderState, 8>& faders);

  devices::MidiPorts& Ports() { return ports_; }

 private:
  devices::MidiPorts ports_;
  devices::MidiFaderConfig config_;
  std::optional<devices::MidiFaderInput> input_;
  int32_t useMidiIn_ = 0;
  bool opened_ = false;
};

}  // namespace playout
