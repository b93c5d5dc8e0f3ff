#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace playout {

// The settings the engine runs with: the play rules and the timing of contacts and commands
// (the settings dialog changes some of them while the program runs), and the window's fade,
// player and colour settings. Read once at start-up.
struct PlayoutSettings {
  std::string AirID = "A";
  int32_t SelectedAir = 0;  // 0-based; stored 1-based
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
  // Function of each remote input g + 4 * (n - 1): group g 0..3 (MIDI, serial 1, serial 2,
  // HID), input n 1..8; 0 "コマンド", 1 "START", 2 "STOP", 3 "FO", 4 "時刻較正".
  std::array<int32_t, 32> CNTFunction{};
  // The minute and second of every hour at which the clock is synchronised.
  int32_t AMinute = 0;
  int32_t ASecond = 0;

  int32_t ColorMode = 0;   // on-air list and queue: 0 dark, else white background
  int32_t ColorModeR = 0;  // load list
  double LVFontSize = 20;
  int32_t UseFade = 0;
  int32_t FadeTime = 6000;  // ms (DefaultFadeTime)
  int32_t FadeMargin = 3000;
  int32_t PlayerType = 0;  // 0 waveOut, 1 graph
  std::string WaveDeviceName;
  // The count-down bar's warning threshold in seconds.
  int32_t CountDown = 10;
};

// The settings store's reader, so that tests can hand the engine settings of their own.
class SettingsReader {
 public:
  virtual ~SettingsReader() = default;
  virtual std::string Text(const std::string& key, const std::string& defaultValue) = 0;
  virtual int32_t Int(const std::string& key, int32_t defaultValue) = 0;
};

// Reads through LoadSettingText / LoadSettingInt of the instance's store.
class StoreSettingsReader final : public SettingsReader {
 public:
  std::string Text(const std::string& key, const std::string& defaultValue) override;
  int32_t Int(const std::string& key, int32_t defaultValue) override;
};

// Every key of PlayoutSettings with its default; a missing key is written back by the store.
// SelectedAir is stored 1-based, OverSec becomes its absolute value and PlayerType above 1
// becomes 1 (below 0, 0).
PlayoutSettings LoadPlayoutSettings(SettingsReader& reader);

}  // namespace playout
