#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "devices/c_hid.h"
#include "devices/serial_clock_adjust.h"
#include "playout/playout_settings.h"

namespace playout {

// What start-up reads for the external equipment: the serial links' switcher types, the HID
// unit, the MIDI fader desk and the clock adjustment from the time code. The serial ports'
// numbers and speeds are read when they open.
struct DeviceSettings {
  // Protocol of serial port 0..2 (links 1 and 2 are ports 1 and 2): 0 "Remote1", 1 "ACS8.2".
  std::array<int32_t, 3> SWType{};
  int32_t CNTPulseMS = 0;  // HID output pulse length; 0: the outputs are levels
  int32_t USBHIDID = 0;    // the HID unit's product id; 0: no unit
  int32_t USBHIDVendorID = devices::C_HID::kDefaultUnitVendorID;
  int32_t UseMIDIF = 0;
  int32_t MidiMode = 0;
  std::string MidiInDeviceName;
  std::string MidiOutDeviceName;
  int32_t MIDIChOffset = 1;
  int32_t MIDIStereo = 0;
  int32_t UseMidiIn = 0;
  int32_t MidifReso = 14;
  devices::TimeAdjustSettings TimeAdjust;
};

// Every key with its default (USBHIDVendorID: the unit's vendor of the device class); the
// resolution is read only in MIDI mode 0.
DeviceSettings LoadDeviceSettings(SettingsReader& reader);

}  // namespace playout
