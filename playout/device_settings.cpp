#include "playout/device_settings.h"

namespace playout {

DeviceSettings LoadDeviceSettings(SettingsReader& reader) {
  DeviceSettings s;
  for (int32_t n = 0; n < 3; ++n)
    s.SWType[n] = ReadSettingInt(reader, "SWType_" + std::to_string(n + 1));
  s.CNTPulseMS = ReadSettingInt(reader, "CNTPulseMS");
  s.USBHIDID = ReadSettingInt(reader, "USBHIDID");
  // Not in the dialog: only the unit's vendor of the device class is known here.
  s.USBHIDVendorID = reader.Int("USBHIDVendorID", devices::C_HID::kDefaultUnitVendorID);
  s.UseMIDIF = ReadSettingInt(reader, "UseMIDIF");
  if (s.UseMIDIF != 0) {
    s.MidiMode = ReadSettingInt(reader, "MidiMode");
    s.MidiInDeviceName = ReadSettingText(reader, "MidiInDeviceName");
    s.MidiOutDeviceName = ReadSettingText(reader, "MidiOutDeviceName");
    s.MIDIChOffset = ReadSettingInt(reader, "MIDIChOffset");
    s.MIDIStereo = ReadSettingInt(reader, "MIDIStereo");
    s.UseMidiIn = ReadSettingInt(reader, "UseMidiIn");
    if (s.MidiMode == 0) s.MidifReso = ReadSettingInt(reader, "MidifReso");
  }
  s.TimeAdjust =
      devices::LoadTimeAdjustSettings([&reader](const std::string& key, int32_t defaultValue) {
        return reader.Int(key, defaultValue);
      });
  return s;
}

}  // namespace playout
