#include "playout/midi_fader_link.h"

#include <algorithm>

namespace playout {

void MidiFaderLink::Open(const DeviceSettings& s) {
  if (s.UseMIDIF == 0) return;
  config_ = devices::MakeMidiFaderConfig(s.MidiMode, s.MIDIChOffset, s.MIDIStereo, s.MidifReso);
  input_.emplace(config_);
  opened_ = true;
  useMidiIn_ = s.UseMidiIn;
  ports_.SetInDeviceID(0, ports_.FindMidiDeviceByName(1, s.MidiInDeviceName, 0));
  ports_.SetOutDeviceID(0, ports_.FindMidiDeviceByName(0, s.MidiOutDeviceName, 0));
  if (ports_.MidiOutOpenPort(0) > 0) {
    const int32_t open = s.UseMidiIn == 0 || ports_.MidiInOpenPort(0) > 0 ? 1 : 0;
    ports_.SetMidiPortsOpen(0, open);
    for (int32_t ch = 0; ch < 8; ++ch) SendLevel(ch, 0);
  }
  if (!Active()) {
    ports_.MidiInClosePort(0);
    ports_.MidiOutClosePort(0);
  }
}

void MidiFaderLink::Close() {
  ports_.MidiInClosePort(0);
  ports_.MidiOutClosePort(0);
  ports_.SetMidiPortsOpen(0, 0);
}

void MidiFaderLink::SetMidiFader(int32_t ch, int32_t level, std::array<MidiFaderState, 8>& faders) {
  if (ch < 0 || ch > 7) return;
  level = std::clamp(level, 0, FaderLevel());
  faders[static_cast<size_t>(ch)].Level = level;
  SendLevel(ch, level);
}

void MidiFaderLink::SendLevel(int32_t ch, int32_t level) {
  for (const devices::MidiShortMessage& m : devices::FaderMessages(config_, ch, level))
    ports_.MidiOutSend(0, m.kind, m.channel, m.d1, m.d2);
}

int32_t MidiFaderLink::PollMidiFaders(std::array<MidiFaderState, 8>& faders) {
  if (!InputActive() || !input_) return 0;
  std::vector<uint32_t> messages;
  ports_.MidiInRead(0, messages);
  int32_t button = 0;
  for (const uint32_t m : messages) {
    const devices::MidiFaderInput::Event e = input_->Handle(m);
    if (e.fader >= 0) faders[static_cast<size_t>(e.fader)].Level = e.level;
    if (e.button != 0) button = e.button;
  }
  return button;
}

}  // namespace playout
