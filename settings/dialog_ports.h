#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/server_config.h"
#include "foundation/station_settings.h"
#include "settings/running_values.h"

namespace settings {

// What the settings dialog reaches outside itself. The dialog sits beside the playout and does
// not know its engine: the playout hands it these small interfaces.

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
