#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "playout/playout_settings.h"

namespace playout {

// What start-up reads for the window itself, beyond the engine's and the equipment's settings,
// with the limits it holds them to.
struct WindowSettings {
  float SizeRate = 1.0F;   // display scale, 0.7 .. 3.0
  int32_t ClockColor = 0;  // &HBBGGRR of the clock panel; 0 the standard colours
  int32_t NumSWCH = 8;     // channel buttons, 1 .. 8
  // PlayerType as stored: a value below 0 plays on the waveOut player, and start-up says so.
  int32_t StoredPlayerType = 0;
};

// SizeRate is stored as a text with '.' as the decimal point whatever the locale; one that does
// not read as a number is 1.0.
WindowSettings LoadWindowSettings(SettingsReader& reader);

float ClampSizeRate(const std::string& text);
int32_t ClampNumSWCH(int32_t value);

// Whether the hourly clock sync with the time server runs: only with a time server, never while
// the time code comes in on serial port 0, and never when a remote input whose source is open
// is set to adjust the clock (CntFunction::kClockAdjust; groups 0..2 count as open when serial port
// 0..2 is, group 3 when the HID unit is).
int32_t UseTimeSyncAtStart(const std::string& timeSrv, const std::array<bool, 3>& comOpen,
                           bool hidOK,
                           const std::array<int32_t, settings::kContactInputCount>& cntFunction);

}  // namespace playout
