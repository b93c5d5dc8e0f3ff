#pragma once

#include <cstdint>
#include <string>

#include "foundation/setting_value.h"

namespace foundation {

// The settings store: every persistent per-instance setting goes through LoadSettingValue and
// SaveSettingValue. A settings set lives in the INI file <program folder><name>.ini when that file
// exists, else in the current user's registry under Software\<company>\<name> (lower-cased).
// The choice is made afresh on every call. Values are texts; an empty text is stored as "***".
// No routine here throws: a failure reads as the default (or empty) and writes nothing, and its
// reason goes to the error (.err) debug log. A missing file, key or value is no failure.

// Store kinds reported by ResolveSettingsStore.
inline constexpr int32_t kStoreUnresolved = 0;
inline constexpr int32_t kStoreRegistry = 1;
inline constexpr int32_t kStoreIni = 2;

// The registry root this system uses (HKEY_CURRENT_USER); 0 stands for it too.
inline constexpr uint32_t kHkeyCurrentUser = 0x80000001u;

// The stored form of an empty value, and the marker of a missing INI key.
inline constexpr const char kEmptyValueMark[] = "***";
inline constexpr const char kMissingIniMark[] = "ISDEFAULT";

// Which store holds the settings set: with a name, <program folder><name>.ini when it exists
// (kind 2, result the path), else the registry (kind 1, result the name). Without a name and
// mode not 1: IniPath when set (kind 2), else the registry under SettingsName (kind 1, result
// possibly empty). Mode 1 (the program's own title): <program folder><title>.ini when it exists,
// else the registry with an empty name.
std::string ResolveSettingsStore(const std::string& name, int32_t mode, int32_t& kind);

// The stored text of `key`, or the default's text form when it is missing. A missing INI key is
// written back with the default (a missing registry value is not). "***" reads as "".
std::string LoadSettingValue(const std::string& key, const SettingValue& defaultValue,
                             int32_t mode = 0, const std::string& name = "");

// Stores the value's text form ("***" for an empty one). A failed write is not reported to the
// caller (the store logs it).
void SaveSettingValue(const std::string& key, const SettingValue& value, int32_t mode = 0,
                      const std::string& name = "");

// Typed readers over LoadSettingValue: the stored text converted, or the default (which is
// also what a missing key writes back) when the stored text does not convert. Integers are
// rounded to the nearest whole number, halves to even.
std::string LoadSettingText(const std::string& key, const std::string& defaultValue,
                            const std::string& name = "");
int32_t LoadSettingInt(const std::string& key, int32_t defaultValue, const std::string& name = "");
double LoadSettingDouble(const std::string& key, double defaultValue, const std::string& name = "");

// The INI reader and writer of settings files, conf.ini and the command files. An empty file
// means <program folder><program title>.ini, an empty section "conf". A value is read cut to 254
// CP932 bytes, never in the middle of a double-byte character. With writeBack 1 a missing key
// (or one holding "ISDEFAULT") is written with the default. "***" reads as "". A file that exists
// but cannot be read (a folder, no permission, too large) gives the default, is logged and is not
// written.
std::string ReadIniValue(const std::string& key, const SettingValue& defaultValue,
                         const std::string& file = "", const std::string& section = "",
                         int32_t writeBack = 0);
// Writes the value's text form, "***" for an empty one. A failed write (a read-only file, a missing
// folder, a name that cannot be stored) is logged, not reported to the caller.
void WriteIniValue(const std::string& key, const SettingValue& value, const std::string& file = "",
                   const std::string& section = "");

// The user registry. With an empty key path the key is Software\<company>\<name> lower-cased
// (an empty name meaning the program title) under HKEY_CURRENT_USER; a given key path is used
// as it stands under `root` (0 or kHkeyCurrentUser; no other root exists here).
//
// The whole stored value with surrounding blanks removed, or the default's text form when the key
// or value is missing. "***" reads as "". Never writes.
std::string ReadRegValue(const std::string& valueName, const SettingValue& defaultValue,
                         const std::string& name = "", uint32_t root = 0,
                         const std::string& keyPath = "");
// 1 when written, 0 when not (key not creatable, invalid path or root); a failed write is logged.
int32_t WriteRegValue(const std::string& valueName, const SettingValue& value,
                      const std::string& name = "", uint32_t root = 0,
                      const std::string& keyPath = "");
// Removes the value; a missing key or value is ignored, another failure is logged.
void DeleteRegValue(const std::string& valueName, const std::string& name = "", uint32_t root = 0,
                    const std::string& keyPath = "");

// This computer's name (the host name), read once per process; "" when the system cannot tell.
std::string GetComputerNameText();

}  // namespace foundation
