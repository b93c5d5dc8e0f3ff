#pragma once

#include <deque>
#include <map>
#include <memory>
#include <vector>

#include "devices/midi_system.h"

namespace devices {

// A MIDI system for tests: named devices, every message sent recorded per output device, input
// queued per input device by the script. An output may be looped to an input, as a desk that
// echoes its faders would be.
class FakeMidiSystem final : public MidiSystem {
 public:
  FakeMidiSystem(std::vector<std::string> inputs, std::vector<std::string> outputs);

  std::vector<std::string> DeviceNames(bool input) override;
  std::unique_ptr<MidiOutConnection> OpenOutput(int32_t deviceId) override;
  std::unique_ptr<MidiInConnection> OpenInput(int32_t deviceId) override;

  // Messages each output device received, as bytes.
  std::vector<std::vector<uint8_t>>& Sent(int32_t output) { return state_->sent[output]; }
  // Queues a message for an input device.
  void Receive(int32_t input, uint32_t message) { state_->queued[input].push_back(message); }
  // What goes out on `output` comes in on `input` from now on.
  void Loop(int32_t output, int32_t input) { state_->loops[output] = input; }
  // Devices that refuse to open.
  void Refuse(bool input, int32_t deviceId) {
    (input ? refusedIn_ : refusedOut_).push_back(deviceId);
  }
  int32_t OpenConnections() const { return state_.use_count() - 1; }

 private:
  struct State {
    std::map<int32_t, std::vector<std::vector<uint8_t>>> sent;
    std::map<int32_t, std::deque<uint32_t>> queued;
    std::map<int32_t, int32_t> loops;
  };

  std::vector<std::string> inputs_;
  std::vector<std::string> outputs_;
  std::vector<int32_t> refusedIn_;
  std::vector<int32_t> refusedOut_;
  std::shared_ptr<State> state_ = std::make_shared<State>();
};

}  // namespace devices
