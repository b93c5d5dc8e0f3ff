#include "foundation/settings_store.h"

#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <optional>
#include <string>

#include "foundation/app_globals.h"
#include "foundation/debug_log.h"
#include "foundation/error_traps.h"
#include "foundation/files.h"
#include "foundation/paths.h"
#include "foundation/text_fields.h"
#include "platform/ascii_text.h"
#include "platform/atomic_file_update.h"
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
  return "Software\\" + platform::LowerAscii(app.CompanyName + "\\" + settingsName);
}

std::string StoredText(const SettingValue& value) {
  std::string text = value.Text();
  return text.empty() ? std::string(kEmptyValueMark) : text;
}

std::string ReadText(const std::string& text) { return text == kEmptyValueMark ? "" : text; }

// A store that failed keeps its documented result for the caller; the reason goes to the error
// log so that a setting that never sticks can be traced.
void LogFailure(const std::string& what, int err) {
  WriteLog(what + ": " + GetWin32ErrorText(err), platform::LogSeverity::kError);
}

// Why a file that gave no value could not be read: 0 when it is simply not there (a missing
// file is a missing key), else the errno value (a folder, a FIFO, no permission, too large).
int ReadFailure(const std::string& nativePath) {
  int err = 0;
  platform::ReadFileBounded(nativePath, platform::kMaxUpdatableFileBytes, &err);
  return err == ENOENT ? 0 : err;
}

}  // namespace

std::string ResolveSettingsStore(const std::string& name, int32_t mode, int32_t& kind) {
  kind = kStoreUnresolved;
  int32_t found = kStoreRegistry;
  std::string store;
  const bool resolved = RunTrapped("ResolveSettingsStore", [&] {
    const AppGlobals& app = Globals();
    if (!name.empty()) {
      const std::string ini = GetAppFolder() + name + ".ini";
      if (FileExists(ini)) {
        found = kStoreIni;
        store = ini;
      } else {
        store = name;
      }
    } else if (mode != 1) {
      if (!app.IniPath.empty()) {
        found = kStoreIni;
        store = app.IniPath;
      } else {
        store = app.SettingsName;
      }
    } else {
      const std::string ini = GetAppFolder() + app.ProgramTitle + ".ini";
      if (FileExists(ini)) {
        found = kStoreIni;
        store = ini;
      }
    }
  });
  if (!resolved) return "";
  kind = found;
  return store;
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
  std::string result;
  RunTrapped("ReadIniValue", [&] {
    const std::string path = IniFileOrDefault(file);
    const std::string sect = SectionOrDefault(section);
    const std::string native = platform::ToNativePath(path);
    const std::optional<std::string> stored =
        platform::ReadIniString(native, sect, key, kMaxIniValueBytes);
    if (stored && *stored != kMissingIniMark) {
      result = ReadText(*stored);
      return;
    }
    result = ReadText(defaultValue.Text());
    // A file that is there but cannot be read is no missing key: nothing is written into it.
    if (!stored) {
      if (const int err = ReadFailure(native)) {
        LogFailure("ReadIniValue " + path, err);
        return;
      }
    }
    if (writeBack == 1) WriteIniValue(key, defaultValue, path, sect);
  });
  return result;
}

void WriteIniValue(const std::string& key, const SettingValue& value, const std::string& file,
                   const std::string& section) {
  RunTrapped("WriteIniValue", [&] {
    const std::string path = IniFileOrDefault(file);
    const std::string sect = SectionOrDefault(section);
    if (const int err =
            platform::WriteIniString(platform::ToNativePath(path), sect, key, StoredText(value)))
      LogFailure("WriteIniValue " + path + " [" + sect + "] " + key, err);
  });
}

std::string ReadRegValue(const std::string& valueName, const SettingValue& defaultValue,
                         const std::string& name, uint32_t root, const std::string& keyPath) {
  std::string result;
  RunTrapped("ReadRegValue", [&] {
    std::string text = defaultValue.Text();
    if (const std::optional<std::string> path = RegistryKeyPath(name, root, keyPath)) {
      const platform::UserRegistry registry(Globals().CompanyName);
      if (std::optional<std::string> stored = registry.ReadValue(*path, valueName)) {
        text = platform::TrimBlanks(*stored);
      } else if (const std::optional<std::string> keyFile = registry.KeyFilePath(*path)) {
        if (const int err = ReadFailure(*keyFile)) LogFailure("ReadRegValue " + *path, err);
      }
    }
    result = ReadText(text);
  });
  return result;
}

int32_t WriteRegValue(const std::string& valueName, const SettingValue& value,
                      const std::string& name, uint32_t root, const std::string& keyPath) {
  int32_t written = 0;
  RunTrapped("WriteRegValue", [&] {
    const std::optional<std::string> path = RegistryKeyPath(name, root, keyPath);
    if (!path) return;
    const platform::UserRegistry registry(Globals().CompanyName);
    if (const int err = registry.WriteValue(*path, valueName, StoredText(value))) {
      LogFailure("WriteRegValue " + *path + " " + valueName, err);
      return;
    }
    written = 1;
  });
  return written;
}

void DeleteRegValue(const std::string& valueName, const std::string& name, uint32_t root,
                    const std::string& keyPath) {
  RunTrapped("DeleteRegValue", [&] {
    const std::optional<std::string> path = RegistryKeyPath(name, root, keyPath);
    if (!path) return;
    const platform::UserRegistry registry(Globals().CompanyName);
    if (const int err = registry.DeleteValue(*path, valueName))
      LogFailure("DeleteRegValue " + *path + " " + valueName, err);
  });
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
