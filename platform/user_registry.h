#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The current user's registry (HKEY_CURRENT_USER, string values) kept in plain files:
//
//   <config folder>/<company lower-cased>/<key file>
//
// where the config folder is $XDG_CONFIG_HOME when it is set to an absolute path, else
// $HOME/.config. Each key path has one file. Key paths use '\' between their components
// ("Software\tarnwick\ondrakeb"); like registry keys they ignore ASCII case, so the file name is
// the lower-cased components joined with '.', every byte other than a-z, 0-9, '_' and '-' written
// as %XX (upper-case hex) — "Software\tarnwick\ondrakeb" lives in
// "software.tarnwick.ondrakeb.key". An empty component, "." or ".." makes the key path invalid,
// and since '/' and '.' are always escaped a key path can never reach outside the folder.
//
// A key file is UTF-8 text, one value per line: name=value followed by LF. In name and value a
// backslash is written "\\", CR "\r", LF "\n", NUL "\0" and '=' "\=", so the first unescaped '='
// splits the line and any text round-trips. Value names ignore ASCII case, the first line of a
// name wins and lines that do not parse are kept as they are. Values have no length limit
// (a key file is bounded at kMaxUpdatableFileBytes).
//
// Writes go through the same locked read-modify-write as the INI files (atomic_file_update.h):
// two programs setting values of one key at once never lose one.
class UserRegistry {
 public:
  // `company` names the folder (lower-cased); the config folder is taken from the environment
  // now.
  explicit UserRegistry(std::string_view company);
  // Same with an explicit base folder instead of the environment's config folder (tests).
  UserRegistry(std::string_view company, std::string configFolder);

  // The folder holding the key files, without a trailing '/'.
  const std::string& folder() const { return folder_; }

  // The file that holds `keyPath`, or nullopt when the key path is invalid.
  std::optional<std::string> KeyFilePath(std::string_view keyPath) const;

  // The whole value `name` under `keyPath`; nullopt when the key, the value or the file is
  // missing, the key path is invalid or the file cannot be read.
  std::optional<std::string> ReadValue(std::string_view keyPath, std::string_view name) const;

  // Sets value `name` under `keyPath`, creating the folder and the key file as needed.
  // 0 or an errno value (EINVAL for an invalid key path); on failure nothing changes.
  int WriteValue(std::string_view keyPath, std::string_view name, std::string_view value) const;

  // Removes value `name` under `keyPath`. A missing key or value is not an error (0); else 0 or
  // an errno value. The key file stays, as an emptied registry key does.
  int DeleteValue(std::string_view keyPath, std::string_view name) const;

 private:
  std::string folder_;
};

// The base folder for per-user configuration: $XDG_CONFIG_HOME when set to an absolute path,
// else $HOME/.config (the home folder from the password database when HOME is unset).
std::string UserConfigFolder();

}  // namespace platform
