#include "settings/process_dialog_ports.h"

#include "audio/wave_devices.h"
#include "foundation/settings_store.h"
#include "platform/wave_out_backend.h"

namespace settings {

std::string InstanceSettingsStore::Load(const std::string& key, const std::string& defaultText) {
  return foundation::LoadSettingValue(key, defaultText);
}

void InstanceSettingsStore::Save(const std::string& key, const std::string& text) {
  foundation::SaveSettingValue(key, text);
}

void InstanceSettingsStore::SaveStation() {
  foundation::LoadServerSettings(1);
  foundation::EnsureWorkFolders();
}

std::vector<std::string> SystemDeviceLists::WaveOutNames() {
  const std::shared_ptr<platform::WaveOutDevice> device = platform::CurrentWaveOut();
  return device ? audio::WaveDeviceNames(*device, 0) : std::vector<std::string>{};
}

std::vector<std::string> SystemDeviceLists::MidiNames(int32_t input) {
  return midi_.DeviceNames(input);
}

int32_t SystemDeviceLists::FindMidiDevice(int32_t input, const std::string& name) {
  return midi_.FindMidiDeviceByName(input, name, 0);
}

DialogPorts ProcessDialogPorts(RunningSettings& running, DeviceLists& devices) {
  static InstanceSettingsStore store;
  return DialogPorts{&store, &running, &devices, &foundation::Conf(), &foundation::Station()};
}

}  // namespace settings
