#pragma once

#include <array>
#include <cstdint>

#include "playout/device_settings.h"
#include "playout/external_devices.h"
#include "playout/playout_engine.h"
#include "settings/dialog_ports.h"

namespace playout {

// The engine's running settings as the settings dialog sees them: the play rules and contact
// timing of the engine, the switcher protocols, the MIDI port-0 devices and the hourly clock
// correction of the external devices. Without external devices the link keeps the protocols
// start-up read (`loaded`, used only then) and the MIDI devices (none, -1) itself.
class EngineRunningSettings final : public settings::RunningSettings {
 public:
  EngineRunningSettings(PlayoutEngine& engine, ExternalDevices* devices,
                        const DeviceSettings& loaded = {})
      : engine_(engine), devices_(devices), swType_(loaded.SWType) {}

  settings::RunningValues Read() const override;
  // The new values act from the next pass on; no port is reopened.
  void Apply(const settings::RunningValues& values) override;

 private:
  PlayoutEngine& engine_;
  ExternalDevices* devices_;
  // Used without external devices.
  std::array<int32_t, 3> swType_{};
  int32_t midiOut_ = -1;
  int32_t midiIn_ = -1;
};

}  // namespace playout
