#include "playout/device_settings.h"

namespace playout {

DeviceSettings LoadDeviceSettings(SettingsReader& reader) {
  DeviceSettings s;
  for (int32_t n = 0; n < 3; ++n) s.SWType[n] = reader.Int("SWType_" + std::to_string(n + 1), 0);
  s.CNTPulseMS = reader.Int("CNTPulseMS", 0);
  s.USBHIDID = reader.Int("USBHIDID", 0);
  s.USBHIDVendorID = reader.Int("USBHIDVendorID", devices::C_HID::kDefaultUnitVendorID);
  s.UseMIDIF = reader.Int("UseMIDIF", 0);
  if (s.UseMIDIF != 0) {
    s.MidiMode = reader.Int("MidiMode", 0);
    s.MidiInDeviceName = reader.Text("MidiInDeviceName", "");
    s.MidiOutDeviceName = reader.Text("MidiOutDeviceName", "");
    s.MIDIChOffset = reader.Int("MIDIChOffset", 1);
    s.MIDIStereo = reader.Int("MIDIStereo", 0);
    s.UseMidiIn = reader.Int("UseMidiIn", 0);
    if (s.MidiMode == 0) s.MidifReso = reader.Int("MidifReso", 14);
  }
  s.TimeAdjust =
      devices::LoadTimeAdjustSettings([&reader](const std::string& key, int32_t defaultValue) {
        return reader.Int(key, defaultValue);
      });
  return s;
}

}  // namespace playout
