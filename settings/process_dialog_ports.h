#pragma once

#include <string>
#include <vector>

#include "devices/fct_midi.h"
#include "settings/dialog_ports.h"

namespace settings {

// The instance's own settings store (foundation's LoadSettingValue and SaveSettingValue) and the
// process's station settings.
class InstanceSettingsStore final : public SettingsStorePort {
 public:
  std::string Load(const std::string& key, const std::string& defaultText) override;
  void Save(const std::string& key, const std::string& text) override;
  // Saves foundation::Station() and makes its missing local work folders.
  void SaveStation() override;
};

// The process's wave output devices and the MIDI devices the program's MIDI ports reach.
class SystemDeviceLists final : public DeviceLists {
 public:
  explicit SystemDeviceLists(const devices::MidiPorts& midi) : midi_(midi) {}
  std::vector<std::string> WaveOutNames() override;
  std::vector<std::string> MidiNames(int32_t input) override;
  int32_t FindMidiDevice(int32_t input, const std::string& name) override;

 private:
  const devices::MidiPorts& midi_;
};

// The dialog's ports over the process: the instance store, the station tables (foundation's
// Conf() and Station()) and the given running settings and device lists.
DialogPorts ProcessDialogPorts(RunningSettings& running, DeviceLists& devices);

}  // namespace settings
