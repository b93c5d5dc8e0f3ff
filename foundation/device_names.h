#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace foundation {

// Device names as the system reports them, numbering repeated devices: the wave players, the MIDI
// ports and the settings dialog pick their devices by these rules.

// 1 when two device names name the same device once the numbering the system adds to
// repeated devices is taken out, else 0. Case is ignored (ASCII). Numbering 1-4 is dropped
// inside parentheses ("Speakers (2- USB Audio Device)" matches "Speakers (USB Audio Device)")
// and, for names longer than 4 characters, at the front ("1- Line Out" matches "line out").
int32_t DeviceNameMatches(const std::string& a, const std::string& b);

// The entry of a device list (device i at index i, names as the devices report them) that a
// wanted name picks: the first whose name equals it ignoring case and outer blanks, failing
// that the first that DeviceNameMatches; -1 when none does or the wanted name is blank.
int32_t FindDeviceNameInList(const std::vector<std::string>& names, const std::string& wanted);

// The device number a name from the settings gives, without messages: 0 for a blank name or
// when there are no devices; the number itself for a name that is a whole number (the
// devices are not consulted); else the list entry FindDeviceNameInList picks, nullopt when
// none does.
std::optional<int32_t> DeviceNumberForName(const std::vector<std::string>& names,
                                           const std::string& wanted);

}  // namespace foundation
