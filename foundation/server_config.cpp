#include "foundation/server_config.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "foundation/colors.h"
#include "foundation/debug_log.h"
#include "foundation/files.h"
#include "foundation/folders.h"
#include "foundation/paths.h"
#include "foundation/server_reachability.h"
#include "foundation/settings_store.h"
#include "foundation/station_settings.h"
#include "platform/file_system.h"
#include "platform/native_path.h"

namespace foundation {

namespace {

constexpr const char kConfSection[] = "conf";
constexpr const char kConfIniName[] = "conf.ini";

// conf.ini is fetched with a longer echo than the clock tick's check: it happens once, at
// start-up.
constexpr int32_t kFetchTimeoutMs = 1500;
constexpr int32_t kFetchMaxAgeSec = 300;

constexpr int32_t kDefaultCommandColor = 0x606060;
constexpr int32_t kLastSecondOfDay = 86399;

// conf.ini keys of ColumnCaption entries 0-8.
constexpr const char* kColumnCaptionKeys[kColumnCaptionCount] = {
    "DriveName",     "FolderName",  "TitleName",      "TypeName",    "LengthName",
    "DateNameStart", "DateNameEnd", "UserColumnName", "FiletimeName"};

std::string Key(const char* stem, size_t index) { return stem + std::to_string(index + 1); }

// The dark-scheme variant of a type or command colour: lightened by 60 per channel.
int32_t Lightened(int32_t colour) { return BlendColor(colour, 60, 60, 60, -1); }

int32_t AltColour(int32_t colour) { return colour == 0 ? 0xFFFFFF : Lightened(colour); }

std::string WithoutBackslashes(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '\\'), text.end());
  return text;
}

// A numbered family of text keys <stem>1, <stem>2, ... filling a table from entry 0.
struct TextKeys {
  const char* stem;
  std::string (*defaultFor)(size_t index);
  // Entries before this one read an empty value as their default.
  size_t defaultWhenEmptyBelow = 0;
  // Reading stops after the first empty value that is kept, leaving later entries as they were.
  bool stopAtEmpty = false;
};

// A range of an Int key; reading keeps the value inside it.
struct IntRange {
  int32_t min = std::numeric_limits<int32_t>::min();
  int32_t max = std::numeric_limits<int32_t>::max();
};

// "TIME", "SEQ", then the contact triggers "CNT1"...
std::string TriggerDefault(size_t index) {
  if (index < 2) return index == 0 ? "TIME" : "SEQ";
  return "CNT" + std::to_string(index - 1);
}

// Every key of conf.ini, in the order the file is written, with the field it fills and its
// default: the one list that both reading and writing go through.
template <typename Visitor>
void ForEachConfKey(ConfTables& c, Visitor& v) {
  v.Texts(TextKeys{"TriggerString_", TriggerDefault, 2, true}, c.TriggerString);
  v.Texts(TextKeys{"AirName_", [](size_t i) { return "Air" + std::to_string(i + 1); }, 0, true},
          c.AirName);
  v.Int("NumRef", c.NumRef, 3, IntRange{1, kMaxRefCount});
  v.Texts(TextKeys{"RefName_", [](size_t i) { return "参照" + std::to_string(i + 1); }}, c.RefName,
          c.NumRef);
  v.Texts(TextKeys{"TypeName_", [](size_t i) { return "種別" + std::to_string(i + 1); }},
          c.TypeName);
  v.Ints("TypeColor_", c.TypeColor, 0);
  v.Text("CommandName", c.CommandName, "コマンド");
  v.Int("CommandColor", c.CommandColor, kDefaultCommandColor);
  v.Ints("TabVisible_", c.TabVisible, 1);
  // The captions set before loading are their own defaults.
  for (size_t i = 0; i < kColumnCaptionCount; ++i)
    v.Text(kColumnCaptionKeys[i], c.ColumnCaption[i], c.ColumnCaption[i]);
  // A start outside the day would shift every broadcast-day stamp by whole days.
  v.Int("HourAdjust", c.HourAdjust, kDefaultHourAdjust, IntRange{0, kLastSecondOfDay});
  v.Text("TimeSrv", c.TimeSrv, "");
  v.Int("UseTime", c.UseTime, 0);
  v.Int("UseUser", c.UseUser, 0);
  v.Int("UserCCUF", c.UserCCUF, 1);
  v.Int("DefaultClassGB", c.DefaultClassGB, 0);
}

// Reads conf.ini keys from one file, writing missing keys back with their defaults when the
// file may be written.
class ConfReader {
 public:
  ConfReader(std::string file, bool writeBack) : file_(std::move(file)), writeBack_(writeBack) {}

  void Text(const std::string& key, std::string& field, const std::string& defaultValue) const {
    field = Read(key, defaultValue);
  }
  void Int(const std::string& key, int32_t& field, int32_t defaultValue,
           IntRange range = {}) const {
    const int32_t value = ParseSettingInt(Read(key, defaultValue)).value_or(defaultValue);
    field = std::clamp(value, range.min, range.max);
  }
  template <size_t N>
  void Ints(const char* stem, std::array<int32_t, N>& table, int32_t defaultValue) const {
    for (size_t i = 0; i < N; ++i) Int(Key(stem, i), table[i], defaultValue);
  }
  template <size_t N>
  void Texts(const TextKeys& keys, std::array<std::string, N>& table) const {
    ReadTexts(keys, table.data(), N);
  }
  // A list as long as `count`, read in full.
  void Texts(const TextKeys& keys, std::vector<std::string>& list, int32_t count) const {
    list.assign(static_cast<size_t>(std::max(count, 0)), std::string());
    ReadTexts(keys, list.data(), list.size());
  }

 private:
  std::string Read(const std::string& key, const SettingValue& defaultValue) const {
    return ReadIniValue(key, defaultValue, file_, kConfSection, writeBack_ ? 1 : 0);
  }
  void ReadTexts(const TextKeys& keys, std::string* table, size_t count) const {
    for (size_t i = 0; i < count; ++i) {
      const std::string defaultValue = keys.defaultFor(i);
      table[i] = Read(Key(keys.stem, i), defaultValue);
      if (!table[i].empty()) continue;
      if (i < keys.defaultWhenEmptyBelow) {
        table[i] = defaultValue;
      } else if (keys.stopAtEmpty) {
        break;
      }
    }
  }

  std::string file_;
  bool writeBack_;
};

// Writes every conf.ini key into one file.
class ConfWriter {
 public:
  explicit ConfWriter(std::string file) : file_(std::move(file)) {}

  void Text(const std::string& key, const std::string& field, const std::string&) const {
    Write(key, field);
  }
  void Int(const std::string& key, int32_t field, int32_t, IntRange = {}) const {
    Write(key, field);
  }
  template <size_t N>
  void Ints(const char* stem, const std::array<int32_t, N>& table, int32_t) const {
    for (size_t i = 0; i < N; ++i) Write(Key(stem, i), table[i]);
  }
  template <size_t N>
  void Texts(const TextKeys& keys, const std::array<std::string, N>& table) const {
    for (size_t i = 0; i < N; ++i) Write(Key(keys.stem, i), table[i]);
  }
  // The first `count` entries that the list holds.
  void Texts(const TextKeys& keys, const std::vector<std::string>& list, int32_t count) const {
    const size_t n = std::min(list.size(), static_cast<size_t>(std::max(count, 0)));
    for (size_t i = 0; i < n; ++i) Write(Key(keys.stem, i), list[i]);
  }

 private:
  void Write(const std::string& key, const SettingValue& value) const {
    WriteIniValue(key, value, file_, kConfSection);
  }

  std::string file_;
};

// What the loaded keys imply: the dark-scheme colours, the play list's captions and a time
// server name without backslashes.
void DeriveFromKeys(ConfTables& c) {
  for (int32_t i = 0; i < kTypeCount; ++i) c.TypeColorAlt[i] = AltColour(c.TypeColor[i]);
  c.CommandColorAlt = Lightened(c.CommandColor);
  c.DisplayColumnCaption[2] = c.ColumnCaption[3];
  c.DisplayColumnCaption[3] = c.ColumnCaption[4];
  c.DisplayColumnCaption[4] = c.ColumnCaption[1];
  c.DisplayColumnCaption[5] = c.ColumnCaption[2];
  c.TimeSrv = WithoutBackslashes(std::move(c.TimeSrv));
}

// A copy that exists with its write bit clear is read as it stands: writing defaults into it
// would only fail, once per key.
bool MayWriteBack(const std::string& storedPath) {
  const std::optional<platform::FileInfo> info =
      platform::StatPath(platform::ToNativePath(storedPath));
  return !(info && info->readOnly);
}

// The entry of a table of `size` named by a number as text, or entry 0.
template <size_t N>
const std::string& EntryByNumberText(const std::array<std::string, N>& table,
                                     const std::string& text) {
  const std::optional<double> value = ParseSettingNumber(text);
  if (value && *value >= 0 && *value < static_cast<double>(N)) {
    const double index = std::nearbyint(*value);
    if (index < static_cast<double>(N)) return table[static_cast<size_t>(index)];
  }
  return table[0];
}

}  // namespace

ConfTables& Conf() {
  static ConfTables* tables = new ConfTables();  // outlives static destructors
  return *tables;
}

void SetColumnCaptions() {
  ConfTables& c = Conf();
  c.ColumnCaption = {"ドライブ", "フォルダ", "タイトル", "種別",    "再生時間",
                     "開始",     "終了",     "ユーザー", "更新日時"};
  c.DisplayColumnCaption = {
      "時刻", "Q", c.ColumnCaption[3], c.ColumnCaption[4], c.ColumnCaption[1], c.ColumnCaption[2]};
}

std::string ServerConfIniPath() {
  const StationSettings& s = Station();
  const int32_t current = CurrentServerIndex();
  const std::string& folder = s.ServerConfFolder[current];
  return (folder.empty() ? s.SrvPath[current] + "conf/" : folder) + kConfIniName;
}

std::string LocalConfIniPath() {
  const std::string& folder = Station().LocalConfFolder;
  if (!folder.empty() && FolderExists(folder) != 0) return folder + kConfIniName;
  return GetAppFolder() + kConfIniName;
}

void LoadConfIni(int32_t save) {
  const std::string server = ServerConfIniPath();
  const std::string local = LocalConfIniPath();
  ConfTables& c = Conf();

  if (save == 0) {
    // A failed copy is only logged: whatever the local copy holds is read.
    if (IsServerReachable(server, kFetchTimeoutMs, kFetchMaxAgeSec) != 0 &&
        FileExists(server) != 0 && CopyFileOver(server, local, false) == 0)
      WriteLog("LoadConfIni " + server + " not copied to " + local, platform::LogSeverity::kError);
    const ConfReader reader(local, MayWriteBack(local));
    ForEachConfKey(c, reader);
    DeriveFromKeys(c);
    return;
  }

  const ConfWriter writer(local);
  ForEachConfKey(c, writer);
  if (local == server) return;
  // The program folder's copy stands in only until the server has the settings: it goes once
  // the copy has arrived there, never before.
  const bool programFolderCopy = local == GetAppFolder() + kConfIniName;
  if (CopyFileOver(local, server, false) == 0) {
    WriteLog("LoadConfIni " + local + " not copied to " + server, platform::LogSeverity::kError);
    return;
  }
  if (programFolderCopy) DeleteFileForce(local);
}

std::string TypeNameFromIndex(const ConfTables& tables, const std::string& text) {
  return EntryByNumberText(tables.TypeName, text);
}

int32_t TypeIndexFromName(const ConfTables& tables, const std::string& name) {
  for (int32_t i = 0; i < kTypeCount; ++i)
    if (tables.TypeName[i] == name) return i;
  return 0;
}

std::string TriggerNameFromIndex(const ConfTables& tables, const std::string& text) {
  return EntryByNumberText(tables.TriggerString, text);
}

int32_t TriggerIndexFromName(const ConfTables& tables, const std::string& name) {
  if (name.empty()) return 0;
  for (int32_t i = 0; i < kTriggerCount; ++i)
    if (tables.TriggerString[i] == name) return i;
  return -1;
}

std::string TypeNameFromIndex(const std::string& text) { return TypeNameFromIndex(Conf(), text); }

int32_t TypeIndexFromName(const std::string& name) { return TypeIndexFromName(Conf(), name); }

std::string TriggerNameFromIndex(const std::string& text) {
  return TriggerNameFromIndex(Conf(), text);
}

int32_t TriggerIndexFromName(const std::string& name) { return TriggerIndexFromName(Conf(), name); }

}  // namespace foundation
