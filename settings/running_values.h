#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "settings/cnt_functions.h"

namespace settings {

// The settings the playout engine runs with: the play rules and the timing of contacts and
// commands (the settings dialog changes some of them while the program runs), and the window's
// fade, player and colour settings. Which key each comes from, with its default and the rule it
// is read by, is the instance settings table (settings/setting_table.h).
struct PlayoutSettings {
  std::string AirID = "A";
  int32_t SelectedAir = 0;  // 0-based
  int32_t StopAdjMS = 0;
  int32_t OverSec = 0;  // seconds, never negative
  int32_t NoTimeSkip = 0;
  int32_t ForceLoad = 0;
  int32_t ForceOA = 0;
  int32_t NoCNTSkip = 0;
  std::array<int32_t, 3> CueActive{};  // "BC$STANDBY", "BC$END", "BC$STOP"
  int32_t CancelCNT = 0;               // seconds
  int32_t CommandMargin = 0;           // ms
  int32_t NoPlayMS = 0;
  int32_t CNTPulseMS = 0;
  // The function of each contact input, at its ContactInput::FunctionIndex(): 0 "コマンド",
  // 1 "START", 2 "STOP", 3 "FO", 4 "時刻較正".
  std::array<int32_t, kContactInputCount> CNTFunction{};
  // The minute and second of every hour at which the clock is synchronised.
  int32_t AMinute = 0;
  int32_t ASecond = 0;

  int32_t ColorMode = 0;   // on-air list and queue: 0 dark, else white background
  int32_t ColorModeR = 0;  // load list
  int32_t LVFontSize = 20;
  int32_t UseFade = 0;
  int32_t FadeTime = 6000;  // ms
  int32_t FadeMargin = 3000;
  int32_t PlayerType = 0;  // 0 waveOut, 1 graph
  std::string WaveDeviceName;
  // The count-down bar's warning threshold in seconds.
  int32_t CountDown = 10;
};

// The running values the settings dialog shows or sets: the playout's running settings and
// what its devices hold of theirs.
struct RunningValues : PlayoutSettings {
  std::array<int32_t, 3> SWType{};  // the switcher protocol of serial port 0..2
  // The devices of MIDI port 0 (-1: none).
  int32_t MidiOutDeviceID = -1;
  int32_t MidiInDeviceID = -1;
};

}  // namespace settings
