#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "foundation/server_config.h"
#include "foundation/station_settings.h"

namespace settings {

// What the settings dialog reaches outside itself. The dialog sits beside the playout and does
// not know its engine: the playout hands it these small interfaces.

// The running values the dialog shows or sets: the settings the playout took in at start-up and
// reads on every pass. OK sets some of them at once.
struct RunningValues {
  std::string AirID = "A";
  int32_t SelectedAir = 0;  // 0-based
  int32_t StopAdjMS = 0;
  int32_t OverSec = 0;
  int32_t ForceLoad = 0;
  int32_t ForceOA = 0;
  int32_t NoTimeSkip = 0;
  int32_t NoCNTSkip = 0;
  std::array<int32_t, 3> CueActive{};
  int32_t AMinute = 0;  // the hourly clock correction
  int32_t ASecond = 0;
  int32_t CancelCNT = 0;
  int32_t CommandMargin = 0;
  int32_t NoPlayMS = 0;
  std::array<int32_t, 3> SWType{};  // the switcher protocol of serial port 0..2
  int32_t CNTPulseMS = 0;
  // The devices of MIDI port 0 (-1: none).
  int32_t MidiOutDeviceID = -1;
  int32_t MidiInDeviceID = -1;
  // The function of contact input g + 4 * (n - 1): group g 0..3, input n 1..8.
  std::array<int32_t, 32> CNTFunction{};
};

// The running values, read and set as a whole. Apply sets every value it is given, so a caller
// reads them first and changes only what it means to change.
class RunningSettings {
 public:
  virtual ~RunningSettings() = default;
  virtual RunningValues Read() const = 0;
  virtual void Apply(const RunningValues& values) = 0;
};

// The instance's settings store.
class SettingsStorePort {
 public:
  virtual ~SettingsStorePort() = default;
  // The stored text of `key`, or `defaultText` when it is missing (which the store may write
  // back).
  virtual std::string Load(const std::string& key, const std::string& defaultText) = 0;
  virtual void Save(const std::string& key, const std::string& text) = 0;
  // The station settings (server table and LocalPath) changed: they are saved, and the local
  // work folders that are missing are made.
  virtual void SaveStation() = 0;
};

// The devices the pickers list.
class DeviceLists {
 public:
  virtual ~DeviceLists() = default;
  // Wave output devices; device i is entry i.
  virtual std::vector<std::string> WaveOutNames() = 0;
  // MIDI devices of one direction (input non-zero: inputs); device i is entry i.
  virtual std::vector<std::string> MidiNames(int32_t input) = 0;
  // The MIDI device a name picks, -1 when none does (logged, no message box).
  virtual int32_t FindMidiDevice(int32_t input, const std::string& name) = 0;
};

// Everything the dialog is built from; every pointer set and outliving the dialog.
struct DialogPorts {
  SettingsStorePort* store = nullptr;
  RunningSettings* running = nullptr;
  DeviceLists* devices = nullptr;
  const foundation::ConfTables* conf = nullptr;
  foundation::StationSettings* station = nullptr;
};

}  // namespace settings
