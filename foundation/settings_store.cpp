#include "foundation/settings_store.h"

#include <unistd.h>

#include <exception>
#include <mutex>

#include "foundation/app_globals.h"
#include "foundation/files.h"
#include "foundation/paths.h"
#include "foundation/text_fields.h"
#include "platform/ini_file.h"
#include "platform/native_path.h"
#include "platform/user_registry.h"

namespace foundation {

namespace {

// An INI value is one line of at most 254 bytes in the file's code page.
constexpr size_t kMaxIniValueBytes = 254;
constexpr const char kDefaultSection[] = "conf";

std::string IniFileOrDefault(const std::string& file) {
  if (!file.empty()) return file;
  return GetAppFolder() + Globals().ProgramTitle + ".ini";
}

std::string SectionOrDefault(const std::string& section) {
  return section.empty() ? std::string(kDefaultSection) : section;
}

// The registry key a call addresses; nullopt for a root other than the current user's.
std::optional<std::string> RegistryKeyPath(const std::string& name, uint32_t root,
                                           const std::string& keyPath) {
  if (!keyPath.empty()) {
    if (root != 0 && root != kHkeyCurrentUser) return std::nullopt;
    return keyPath;
  }
  const AppGlobals& app = Globals();
  const std::string& settingsName = name.empty() ? app.ProgramTitle : name;
  return "Software\\" + LowerAscii(app.CompanyName + "\\" + settingsName);
}

std::string StoredText(const SettingValue& value) {
  std::string text = value.Text();
  return text.empty() ? std::string(kEmptyValueMark) : text;
}

std::string ReadText(const std::string& text) { return text == kEmptyValueMark ? "" : text; }

}  // namespace

std::string ResolveSettingsStore(const std::string& name, int32_t mode, int32_t& kind) {
  kind = kStoreUnresolved;
  try {
    const AppGlobals& app = Globals();
    if (!name.empty()) {
      const std::string ini = GetAppFolder() + name + ".ini";
      if (FileExists(ini)) {
        kind = kStoreIni;
        return ini;
      }
      kind = kStoreRegistry;
      return name;
    }
    if (mode != 1) {
      if (!app.IniPath.empty()) {
        kind = kStoreIni;
        return app.IniPath;
      }
      kind = kStoreRegistry;
      return app.SettingsName;
    }
    const std::string ini = GetAppFolder() + app.ProgramTitle + ".ini";
    if (FileExists(ini)) {
      kind = kStoreIni;
      return ini;
    }
    kind = kStoreRegistry;
    return "";
  } catch (const std::exception&) {
    kind = kStoreUnresolved;
    return "";
  }
}

std::string LoadSettingValue(const std::string& key, const SettingValue& defaultValue, int32_t mode,
                             const std::string& name) {
  int32_t kind = kStoreUnresolved;
  const std::string store = ResolveSettingsStore(name, mode, kind);
  if (kind == kStoreRegistry) return ReadRegValue(key, defaultValue, store, 0, "");
  if (kind == kStoreIni) return ReadIniValue(key, defaultValue, store, "", 1);
  return "";
}

void SaveSettingValue(const std::string& key, const SettingValue& value, int32_t mode,
                      const std::string& name) {
  int32_t kind = kStoreUnresolved;
  const std::string store = ResolveSettingsStore(name, mode, kind);
  if (kind == kStoreRegistry) WriteRegValue(key, value, store, 0, "");
  if (kind == kStoreIni) WriteIniValue(key, value, store, "");
}

std::string LoadSettingText(const std::string& key, const std::string& defaultValue,
                            const std::string& name) {
  return LoadSettingValue(key, SettingValue(defaultValue), 0, name);
}

int32_t LoadSettingInt(const std::string& key, int32_t defaultValue, const std::string& name) {
  return ParseSettingInt(LoadSettingValue(key, SettingValue(defaultValue), 0, name))
      .value_or(defaultValue);
}

double LoadSettingDouble(const std::string& key, double defaultValue, const std::string& name) {
  return ParseSettingNumber(LoadSettingValue(key, SettingValue(defaultValue), 0, name))
      .value_or(defaultValue);
}

std::string ReadIniValue(const std::string& key, const SettingValue& defaultValue,
                         const std::string& file, const std::string& section, int32_t writeBack) {
  try {
    const std::string path = IniFileOrDefault(file);
    const std::string sect = SectionOrDefault(section);
    std::optional<std::string> stored =
        platform::ReadIniString(platform::ToNativePath(path), sect, key, kMaxIniValueBytes);
    if (!stored || *stored == kMissingIniMark) {
      if (writeBack == 1) WriteIniValue(key, defaultValue, path, sect);
      return ReadText(defaultValue.Text());
    }
    return ReadText(*stored);
  } catch (const std::exception&) {
    return "";
  }
}

void WriteIniValue(const std::string& key, const SettingValue& value, const std::string& file,
                   const std::string& section) {
  try {
    const std::string path = IniFileOrDefault(file);
    platform::WriteIniString(platform::ToNativePath(path), SectionOrDefault(section), key,
                             StoredText(value));
  } catch (const std::exception&) {
  }
}

std::string ReadRegValue(const std::string& valueName, const SettingValue& defaultValue,
                         const std::string& name, uint32_t root, const std::string& keyPath) {
  try {
    std::string result = defaultValue.Text();
    if (const std::optional<std::string> path = RegistryKeyPath(name, root, keyPath)) {
      const platform::UserRegistry registry(Globals().CompanyName);
      if (std::optional<std::string> stored = registry.ReadValue(*path, valueName))
        result = TrimBlanks(*stored);
    }
    return ReadText(result);
  } catch (const std::exception&) {
    return "";
  }
}

int32_t WriteRegValue(const std::string& valueName, const SettingValue& value,
                      const std::string& name, uint32_t root, const std::string& keyPath) {
  try {
    const std::optional<std::string> path = RegistryKeyPath(name, root, keyPath);
    if (!path) return 0;
    const platform::UserRegistry registry(Globals().CompanyName);
    return registry.WriteValue(*path, valueName, StoredText(value)) == 0 ? 1 : 0;
  } catch (const std::exception&) {
    return 0;
  }
}

void DeleteRegValue(const std::string& valueName, const std::string& name, uint32_t root,
                    const std::string& keyPath) {
  try {
    const std::optional<std::string> path = RegistryKeyPath(name, root, keyPath);
    if (!path) return;
    const platform::UserRegistry registry(Globals().CompanyName);
    registry.DeleteValue(*path, valueName);
  } catch (const std::exception&) {
  }
}

std::string GetComputerNameText() {
  // Asked from any thread (the debug log); the name is read once and then kept.
  static std::mutex mutex;
  static std::string cached;
  const std::lock_guard<std::mutex> lock(mutex);
  if (cached.empty()) {
    char buf[256] = {};
    if (::gethostname(buf, sizeof buf - 1) == 0) cached = TrimNulls(std::string(buf, sizeof buf));
  }
  return cached;
}

}  // namespace foundation
