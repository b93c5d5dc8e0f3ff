#pragma once

#include <string>

#include "devices/midi_system.h"

namespace devices {

// The ALSA sequencer: devices are the sequencer ports other clients offer for subscription,
// named by their port names, in client and port order (the system's own client left out).
// Each connection is a client of its own, named `clientName`, with one port subscribed to the
// device's. Input is queued by the sequencer until drained, so nothing is lost or reordered
// between two drains short of the sequencer's own pool running over. Without a sequencer
// (/dev/snd/seq) there are no devices and nothing opens.
class AlsaMidiSystem final : public MidiSystem {
 public:
  explicit AlsaMidiSystem(std::string clientName) : clientName_(std::move(clientName)) {}

  std::vector<std::string> DeviceNames(bool input) override;
  std::unique_ptr<MidiOutConnection> OpenOutput(int32_t deviceId) override;
  std::unique_ptr<MidiInConnection> OpenInput(int32_t deviceId) override;

 private:
  std::string clientName_;
};

}  // namespace devices
