#include "playout/playout_settings.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "foundation/settings_store.h"
#include "settings/setting_table.h"

namespace playout {

namespace {

// The settings start-up reads into the engine's, in its order.
std::vector<const settings::Setting*> StartUpOrder() {
  std::vector<const settings::Setting*> order;
  for (const settings::Setting& s : settings::InstanceSettings()) {
    if (s.startUp > 0) order.push_back(&s);
  }
  std::stable_sort(order.begin(), order.end(),
                   [](const settings::Setting* a, const settings::Setting* b) {
                     return a->startUp < b->startUp;
                   });
  return order;
}

int32_t ReadNumber(SettingsReader& reader, const settings::Setting& s) {
  const int32_t stored = reader.Int(s.key, settings::DefaultNumber(s));
  switch (s.reading) {
    case settings::Reading::kOneBased:
      // The lowest number names no air either way; it stays the lowest.
      return stored == INT32_MIN ? INT32_MIN : stored - 1;
    case settings::Reading::kAbsolute:
      // INT32_MIN has no absolute value; it stands for the largest tolerance.
      return stored == INT32_MIN ? INT32_MAX : std::abs(stored);
    case settings::Reading::kBinary:
      return std::clamp(stored, 0, 1);
    default:
      return stored;
  }
}

}  // namespace

std::string StoreSettingsReader::Text(const std::string& key, const std::string& defaultValue) {
  return foundation::LoadSettingText(key, defaultValue);
}

int32_t StoreSettingsReader::Int(const std::string& key, int32_t defaultValue) {
  return foundation::LoadSettingInt(key, defaultValue);
}

PlayoutSettings LoadPlayoutSettings(SettingsReader& reader) {
  static const std::vector<const settings::Setting*> order = StartUpOrder();
  settings::RunningValues values;
  for (const settings::Setting* s : order) {
    const settings::RunningRef value = settings::RunningOf(*s, values);
    if (std::string* const* text = std::get_if<std::string*>(&value)) {
      **text = reader.Text(s->key, s->defaultText);
    } else if (int32_t* const* number = std::get_if<int32_t*>(&value)) {
      **number = ReadNumber(reader, *s);
    }
  }
  return values;
}

int32_t ReadSettingInt(SettingsReader& reader, const std::string& key) {
  return reader.Int(key, settings::DefaultNumber(key));
}

std::string ReadSettingText(SettingsReader& reader, const std::string& key) {
  return reader.Text(key, settings::SettingOf(key).defaultText);
}

}  // namespace playout
