#include "tests/fakes/devices/fake_midi_system.h"

#include <algorithm>

namespace devices {

namespace {

template <typename State>
class FakeOut final : public MidiOutConnection {
 public:
  FakeOut(std::shared_ptr<State> state, int32_t device)
      : state_(std::move(state)), device_(device) {}
  bool Send(std::span<const uint8_t> bytes) override {
    state_->sent[device_].emplace_back(bytes.begin(), bytes.end());
    if (const auto loop = state_->loops.find(device_); loop != state_->loops.end()) {
      state_->queued[loop->second].push_back(PackShortMessage(
          bytes[0], bytes.size() > 1 ? bytes[1] : 0, bytes.size() > 2 ? bytes[2] : 0));
    }
    return true;
  }

 private:
  std::shared_ptr<State> state_;
  int32_t device_;
};

template <typename State>
class FakeIn final : public MidiInConnection {
 public:
  FakeIn(std::shared_ptr<State> state, int32_t device)
      : state_(std::move(state)), device_(device) {}
  void Drain(std::vector<uint32_t>& messages) override {
    std::deque<uint32_t>& queue = state_->queued[device_];
    messages.insert(messages.end(), queue.begin(), queue.end());
    queue.clear();
  }

 private:
  std::shared_ptr<State> state_;
  int32_t device_;
};

bool Listed(const std::vector<int32_t>& ids, int32_t id) {
  return std::find(ids.begin(), ids.end(), id) != ids.end();
}

}  // namespace

FakeMidiSystem::FakeMidiSystem(std::vector<std::string> inputs, std::vector<std::string> outputs)
    : inputs_(std::move(inputs)), outputs_(std::move(outputs)) {}

std::vector<std::string> FakeMidiSystem::DeviceNames(bool input) {
  return input ? inputs_ : outputs_;
}

std::unique_ptr<MidiOutConnection> FakeMidiSystem::OpenOutput(int32_t deviceId) {
  if (deviceId < 0 || static_cast<size_t>(deviceId) >= outputs_.size() ||
      Listed(refusedOut_, deviceId)) {
    return nullptr;
  }
  return std::make_unique<FakeOut<State>>(state_, deviceId);
}

std::unique_ptr<MidiInConnection> FakeMidiSystem::OpenInput(int32_t deviceId) {
  if (deviceId < 0 || static_cast<size_t>(deviceId) >= inputs_.size() ||
      Listed(refusedIn_, deviceId)) {
    return nullptr;
  }
  return std::make_unique<FakeIn<State>>(state_, deviceId);
}

}  // namespace devices
