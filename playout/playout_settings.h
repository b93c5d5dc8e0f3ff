#pragma once

#include <cstdint>
#include <string>

#include "settings/running_values.h"

namespace playout {

// The settings the engine runs with. Read once at start-up.
using PlayoutSettings = settings::PlayoutSettings;

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

// Every setting of the instance settings table that start-up reads into the engine's settings,
// in start-up's order, with its default and by its reading rule; a missing key is written back
// by the store.
PlayoutSettings LoadPlayoutSettings(SettingsReader& reader);

// One setting of the table with the table's default, for what start-up reads into the window
// and the devices.
int32_t ReadSettingInt(SettingsReader& reader, const std::string& key);
std::string ReadSettingText(SettingsReader& reader, const std::string& key);

}  // namespace playout
