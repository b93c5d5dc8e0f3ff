#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace foundation {

// The station configuration file conf.ini (section "conf"): names and colours of the item
// types, trigger and air names, reference names, the command type, column captions, the start
// of the broadcast day and the time server. The server's conf folder holds the master copy;
// each PC reads a local copy. Process-wide; filled at start-up, read on the UI thread.

inline constexpr int32_t kTriggerCount = 10;
inline constexpr int32_t kAirCount = 8;
inline constexpr int32_t kMaxRefCount = 8;
inline constexpr int32_t kTypeCount = 16;
inline constexpr int32_t kTabCount = 9;
inline constexpr int32_t kColumnCaptionCount = 9;
inline constexpr int32_t kDisplayColumnCaptionCount = 6;

inline constexpr int32_t kDefaultHourAdjust = 18000;  // the broadcast day starts at 05:00

struct ConfTables {
  // 0 "TIME", 1 "SEQ", 2-9 the contact triggers "CNT1"... by default.
  std::array<std::string, kTriggerCount> TriggerString;
  std::array<std::string, kAirCount> AirName;
  int32_t NumRef = 0;                // 1-8 once loaded
  std::vector<std::string> RefName;  // NumRef entries
  std::array<std::string, kTypeCount> TypeName;
  // Colours are &HBBGGRR. The Alt colours are the dark-scheme variants: white for a type without
  // a colour, else the colour lightened by 60 per channel.
  std::array<int32_t, kTypeCount> TypeColor{};
  std::array<int32_t, kTypeCount> TypeColorAlt{};
  std::string CommandName;
  int32_t CommandColor = 0;
  int32_t CommandColorAlt = 0;
  std::array<int32_t, kTabCount> TabVisible{};
  // Captions of the file-list columns: drive, folder, title, type, length, start, end, user,
  // file time.
  std::array<std::string, kColumnCaptionCount> ColumnCaption;
  // Captions of the play-list columns: time, Q, type, length, folder, title.
  std::array<std::string, kDisplayColumnCaptionCount> DisplayColumnCaption;
  // Seconds after midnight at which the broadcast day starts, 0-86399 once loaded.
  int32_t HourAdjust = 0;
  // The time server's host name, without backslashes.
  std::string TimeSrv;
  int32_t UseTime = 0;
  int32_t UseUser = 0;
  int32_t UserCCUF = 0;
  int32_t DefaultClassGB = 0;
};

// The one instance of the process (tests reset it by assigning ConfTables{}).
ConfTables& Conf();

// Fills ColumnCaption and DisplayColumnCaption with their built-in captions; called before
// LoadConfIni so that they serve as its defaults.
void SetColumnCaptions();

// The server's conf.ini (the current server's ServerConfFolder) and the local copy (the local
// conf folder's when it exists, else the program folder's).
std::string ServerConfIniPath();
std::string LocalConfIniPath();

// save 0: when the server copy's host answers (1500 ms, an answer up to 300 s old reused) and
// the file is there, it is copied over the local copy; then every key is read from the local
// copy, a missing one written into it with its default (nothing is written into a read-only
// copy; the server copy is never written by a load). A failed copy is logged. HourAdjust is kept in
// 0-86399 and TimeSrv loses every backslash. save non-zero: every key is written into the local
// copy, which then replaces the server copy (a read-only server copy is left alone, and the failed
// copy logged); a copy kept in the program folder is deleted only once it has reached the server.
void LoadConfIni(int32_t save);

// The name of a type given by its number as text ("3"): entry 0 for anything that is not a
// number from 0 to 15 (fractions round to the nearest, halves to even).
std::string TypeNameFromIndex(const std::string& text);
// The first type whose name equals `name` exactly; 0 when none does.
int32_t TypeIndexFromName(const std::string& name);
// The name of a trigger given by its number as text: entry 0 for anything but 0 to 9.
std::string TriggerNameFromIndex(const std::string& text);
// 0 for an empty name, else the first trigger whose name equals it exactly, else -1.
int32_t TriggerIndexFromName(const std::string& name);

// The same four look-ups in a given set of tables (an engine handed its tables at
// construction); the ones above read Conf().
std::string TypeNameFromIndex(const ConfTables& tables, const std::string& text);
int32_t TypeIndexFromName(const ConfTables& tables, const std::string& name);
std::string TriggerNameFromIndex(const ConfTables& tables, const std::string& text);
int32_t TriggerIndexFromName(const ConfTables& tables, const std::string& name);

}  // namespace foundation
