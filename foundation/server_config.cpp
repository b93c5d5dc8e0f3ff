#include "foundation/server_config.h"

#include <algorithm>
#include <cmath>
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

std::string Key(const char* stem, int32_t number) { return stem + std::to_string(number); }

// The dark-scheme variant of a type or command colour: lightened by 60 per channel.
int32_t Lightened(int32_t colour) { return BlendColor(colour, 60, 60, 60, -1); }

int32_t AltColour(int32_t colour) { return colour == 0 ? 0xFFFFFF : Lightened(colour); }

std::string WithoutBackslashes(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '\\'), text.end());
  return text;
}

// Reads conf.ini keys from one file, writing missing keys back with their defaults when the
// file may be written.
class ConfReader {
 public:
  ConfReader(std::string file, bool writeBack) : file_(std::move(file)), writeBack_(writeBack) {}

  std::string Text(const std::string& key, const std::string& defaultValue) const {
    return ReadIniValue(key, defaultValue, file_, kConfSection, writeBack_ ? 1 : 0);
  }
  int32_t Int(const std::string& key, int32_t defaultValue) const {
    return ParseSettingInt(ReadIniValue(key, defaultValue, file_, kConfSection, writeBack_ ? 1 : 0))
        .value_or(defaultValue);
  }

 private:
  std::string file_;
  bool writeBack_;
};

// A copy that exists with its write bit clear is read as it stands: writing defaults into it
// would only fail, once per key.
bool MayWriteBack(const std::string& storedPath) {
  const std::optional<platform::FileInfo> info =
      platform::StatPath(platform::ToNativePath(storedPath));
  return !(info && info->readOnly);
}

// Fills entries [first, last) from <stem><number>, numbers starting at firstKey; stops after the
// first empty value (which is kept), leaving later entries as they were.
template <size_t N>
void ReadUntilEmpty(const ConfReader& in, std::array<std::string, N>& table, size_t first,
                    const char* stem, int32_t firstKey,
                    std::string (*defaultFor)(int32_t keyNumber)) {
  for (size_t i = first; i < N; ++i) {
    const int32_t number = firstKey + static_cast<int32_t>(i - first);
    table[i] = in.Text(Key(stem, number), defaultFor(number));
    if (table[i].empty()) break;
  }
}

void ReadTables(const ConfReader& in, ConfTables& c) {
  c.TriggerString[0] = in.Text("TriggerString_1", "TIME");
  if (c.TriggerString[0].empty()) c.TriggerString[0] = "TIME";
  c.TriggerString[1] = in.Text("TriggerString_2", "SEQ");
  if (c.TriggerString[1].empty()) c.TriggerString[1] = "SEQ";
  ReadUntilEmpty(in, c.TriggerString, 2, "TriggerString_", 3,
                 [](int32_t n) { return "CNT" + std::to_string(n - 2); });
  ReadUntilEmpty(in, c.AirName, 0, "AirName_", 1,
                 [](int32_t n) { return "Air" + std::to_string(n); });

  c.NumRef = std::clamp(in.Int("NumRef", 3), 1, kMaxRefCount);
  c.RefName.assign(static_cast<size_t>(c.NumRef), std::string());
  for (int32_t i = 0; i < c.NumRef; ++i)
    c.RefName[i] = in.Text(Key("RefName_", i + 1), "参照" + std::to_string(i + 1));

  for (int32_t i = 0; i < kTypeCount; ++i)
    c.TypeName[i] = in.Text(Key("TypeName_", i + 1), "種別" + std::to_string(i + 1));
  for (int32_t i = 0; i < kTypeCount; ++i) {
    c.TypeColor[i] = in.Int(Key("TypeColor_", i + 1), 0);
    c.TypeColorAlt[i] = AltColour(c.TypeColor[i]);
  }
  c.CommandName = in.Text("CommandName", "コマンド");
  c.CommandColor = in.Int("CommandColor", kDefaultCommandColor);
  c.CommandColorAlt = Lightened(c.CommandColor);

  for (int32_t i = 0; i < kTabCount; ++i) c.TabVisible[i] = in.Int(Key("TabVisible_", i + 1), 1);
  for (int32_t i = 0; i < kColumnCaptionCount; ++i)
    c.ColumnCaption[i] = in.Text(kColumnCaptionKeys[i], c.ColumnCaption[i]);
  c.DisplayColumnCaption[2] = c.ColumnCaption[3];
  c.DisplayColumnCaption[3] = c.ColumnCaption[4];
  c.DisplayColumnCaption[4] = c.ColumnCaption[1];
  c.DisplayColumnCaption[5] = c.ColumnCaption[2];

  // A start outside the day would shift every broadcast-day stamp by whole days.
  c.HourAdjust = std::clamp(in.Int("HourAdjust", kDefaultHourAdjust), 0, kLastSecondOfDay);
  c.TimeSrv = WithoutBackslashes(in.Text("TimeSrv", ""));
  c.UseTime = in.Int("UseTime", 0);
  c.UseUser = in.Int("UseUser", 0);
  c.UserCCUF = in.Int("UserCCUF", 1);
  c.DefaultClassGB = in.Int("DefaultClassGB", 0);
}

void WriteTables(const std::string& file, const ConfTables& c) {
  const auto put = [&](const std::string& key, const SettingValue& value) {
    WriteIniValue(key, value, file, kConfSection);
  };
  for (int32_t i = 0; i < kTriggerCount; ++i) put(Key("TriggerString_", i + 1), c.TriggerString[i]);
  for (int32_t i = 0; i < kAirCount; ++i) put(Key("AirName_", i + 1), c.AirName[i]);
  put("NumRef", c.NumRef);
  for (int32_t i = 0; i < c.NumRef && i < static_cast<int32_t>(c.RefName.size()); ++i)
    put(Key("RefName_", i + 1), c.RefName[i]);
  for (int32_t i = 0; i < kTypeCount; ++i) put(Key("TypeName_", i + 1), c.TypeName[i]);
  for (int32_t i = 0; i < kTypeCount; ++i) put(Key("TypeColor_", i + 1), c.TypeColor[i]);
  put("CommandName", c.CommandName);
  put("CommandColor", c.CommandColor);
  for (int32_t i = 0; i < kTabCount; ++i) put(Key("TabVisible_", i + 1), c.TabVisible[i]);
  for (int32_t i = 0; i < kColumnCaptionCount; ++i) put(kColumnCaptionKeys[i], c.ColumnCaption[i]);
  put("HourAdjust", c.HourAdjust);
  put("TimeSrv", c.TimeSrv);
  put("UseTime", c.UseTime);
  put("UseUser", c.UseUser);
  put("UserCCUF", c.UserCCUF);
  put("DefaultClassGB", c.DefaultClassGB);
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
      WriteLog("LoadConfIni " + server + " not copied to " + local, 1);
    ReadTables(ConfReader(local, MayWriteBack(local)), c);
    return;
  }

  WriteTables(local, c);
  if (local == server) return;
  // The program folder's copy stands in only until the server has the settings: it goes once
  // the copy has arrived there, never before.
  const bool programFolderCopy = local == GetAppFolder() + kConfIniName;
  if (CopyFileOver(local, server, false) == 0) {
    WriteLog("LoadConfIni " + local + " not copied to " + server, 1);
    return;
  }
  if (programFolderCopy) DeleteFileForce(local);
}

std::string TypeNameFromIndex(const std::string& text) {
  return EntryByNumberText(Conf().TypeName, text);
}

int32_t TypeIndexFromName(const std::string& name) {
  const ConfTables& c = Conf();
  for (int32_t i = 0; i < kTypeCount; ++i)
    if (c.TypeName[i] == name) return i;
  return 0;
}

std::string TriggerNameFromIndex(const std::string& text) {
  return EntryByNumberText(Conf().TriggerString, text);
}

int32_t TriggerIndexFromName(const std::string& name) {
  if (name.empty()) return 0;
  const ConfTables& c = Conf();
  for (int32_t i = 0; i < kTriggerCount; ++i)
    if (c.TriggerString[i] == name) return i;
  return -1;
}

}  // namespace foundation
