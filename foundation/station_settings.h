#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace foundation {

// The station-wide settings both programs share: the table of file servers with the working
// folders derived from the current one, and the local working folders under LocalPath.
// Process-wide; filled at start-up, saved by the settings dialog, read on the UI thread.

inline constexpr int32_t kServerCount = 4;

struct StationSettings {
  // The server table, entries 0-3, stored under the keys <stem><index + 1> (SrvPath_1 ...).
  std::array<std::string, kServerCount> SrvPath;  // with a trailing separator when not empty
  std::array<std::string, kServerCount> SrvName;
  std::array<int32_t, kServerCount> SaveTip{};
  std::array<int32_t, kServerCount> SrvAutoFast{};
  std::array<int32_t, kServerCount> SrvRO{};
  std::array<int32_t, kServerCount> SrvExpanded{};
  std::array<int32_t, kServerCount> UseSubFolder{};
  // SrvPath + "conf/" of every entry ("conf/" alone, relative, when SrvPath is empty).
  std::array<std::string, kServerCount> ServerConfFolder;

  // The server in use. Nothing assigns it: both programs always work with server 1.
  int32_t CurrentServer = 0;
  // 1 when the last CheckServerAlive found the current server answering, else 0.
  int32_t ServerAlive = 0;

  // Folders of the current server, each with a trailing separator; set only when its SrvPath
  // is not empty, otherwise they keep what they held.
  std::string ServerSchedFolder;
  std::string ServerCommandFolder;
  std::string ServerLogFolder;

  // The local store (with a trailing separator) and its folders; the folders are set only when
  // LocalPath is not empty.
  std::string LocalPath;
  std::string LocalConfFolder;
  std::string LocalSchedFolder;
  std::string LocalLogFolder;
  std::string LocalCommandFolder;
};

// The one instance of the process (tests reset it by assigning StationSettings{}).
StationSettings& Station();

// The current server's entry index, kept inside the table.
int32_t CurrentServerIndex();

// Derives the working folders from the server table and LocalPath (each path already with its
// trailing separator): every entry's ServerConfFolder, the current server's sched, command and
// log folders and the local ones. The folders of an empty path keep what they held.
void DeriveWorkFolders(StationSettings& s);

// Creates the missing local conf, sched, log and command folders, only when LocalPath names an
// existing folder; does nothing while LocalPath is empty. One that cannot be made is logged.
void EnsureWorkFolders();

// save 0 loads the server table and LocalPath from the settings set `name` (empty: the
// instance's own store) and derives the working folders; non-zero saves them as they stand.
// Loading writes a debug-log line "SrvPath_<n>=<path>" for every entry, adds a trailing
// separator to every non-empty SrvPath and to LocalPath, forces SaveTip 1 and SrvRO 0 on the
// current server, and (in the companion) leaves UseSubFolder alone, which it does not store.
// A SrvPath or LocalPath that names a Windows drive ("D:\x") is refused with a log line and
// read as empty.
void LoadServerSettings(int32_t save, const std::string& name = "");

// Sets ServerAlive: 0 when the current server has no path; otherwise whether it answers
// (500 ms echo, an answer up to 300 s old reused), writing "サーバー迷子" to the debug log
// when it does not, and then whether its root is there (CheckServerRoot, which logs when the
// root goes missing and when it is back).
void CheckServerAlive();

}  // namespace foundation
