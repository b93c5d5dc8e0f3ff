// Feeds arbitrary bytes to the INI readers and writers as a settings file or conf.ini. The input
// is a section, a key and a value, each ended by a NUL, then the file's bytes. The last bit of
// the size makes the file read-only. Four readers take the file in turn:
//   - the profile engine: a write that succeeds reads back as written and leaves the other keys
//     probed as they were; a write that fails leaves the file as it was;
//   - the settings store: a missing key is written back with the default, so a second load with
//     another default reads the first one, unless nothing could be written;
//   - conf.ini as the playout loads it: the tables stay inside their documented ranges.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/app_globals.h"
#include "foundation/server_config.h"
#include "foundation/server_reachability.h"
#include "foundation/settings_store.h"
#include "foundation/station_settings.h"
#include "fuzz/fuzz_files.h"
#include "platform/ascii_text.h"
#include "platform/cp932.h"
#include "platform/ini_file.h"

namespace {

constexpr size_t kWholeValue = size_t{1} << 20;

struct Input {
  std::string section, key, value;
  std::string_view file;
  bool readOnly = false;
};

std::optional<Input> Parse(const uint8_t* data, size_t size) {
  const std::vector<std::string_view> parts = fuzzfiles::Split(
      std::string_view(reinterpret_cast<const char*>(data), size), std::string_view("\0", 1), 4);
  if (parts.size() < 4) return std::nullopt;
  return Input{std::string(parts[0]), std::string(parts[1]), std::string(parts[2]), parts[3],
               (size & 1) != 0};
}

// Whether two names could be the same entry to the profile engine (ASCII case folded on every
// byte: never unequal where the engine finds them equal).
bool MayBeSameName(std::string_view a, std::string_view b) {
  return platform::LowerAscii(platform::Utf8ToCp932(a)) ==
         platform::LowerAscii(platform::Utf8ToCp932(b));
}

void ProfileEngine(const Input& in, const std::string& path) {
  struct Probe {
    std::string section, key;
    std::optional<std::string> before;
  };
  std::vector<Probe> probes = {{in.section, "Other", std::nullopt},
                               {"conf", in.key, std::nullopt},
                               {"conf", "NumRef", std::nullopt}};
  for (Probe& p : probes) p.before = platform::ReadIniString(path, p.section, p.key, kWholeValue);
  (void)platform::ReadIniString(path, in.section, in.key, in.value.size() % 300);

  const std::string bytes = fuzzfiles::ReadFile(path);
  if (platform::WriteIniString(path, in.section, in.key, in.value) != 0) {
    if (fuzzfiles::ReadFile(path) != bytes) std::abort();
    return;
  }
  const std::optional<std::string> read =
      platform::ReadIniString(path, in.section, in.key, kWholeValue);
  if (!read) std::abort();
  // What was stored reads back unless reading trims it or takes its quotes off.
  const std::string stored = platform::Utf8ToCp932(in.value);
  const bool plain = platform::TrimWhiteSpace(stored).size() == stored.size() &&
                     (stored.empty() || (stored.front() != '"' && stored.front() != '\''));
  if (plain && *read != platform::Cp932ToUtf8(stored)) std::abort();
  for (const Probe& p : probes) {
    if (MayBeSameName(p.section, in.section) && MayBeSameName(p.key, in.key)) continue;
    if (platform::ReadIniString(path, p.section, p.key, kWholeValue) != p.before) std::abort();
  }
}

void SettingsStore(const Input& in, const std::string& folder) {
  const std::string bytes = fuzzfiles::ReadFile(folder + "Station.ini");
  const std::string first = foundation::LoadSettingText(in.key, "default", "Station");
  const bool unchanged = fuzzfiles::ReadFile(folder + "Station.ini") == bytes;
  const std::string second = foundation::LoadSettingText(in.key, "other", "Station");
  if (first != second && !unchanged) std::abort();
  (void)foundation::LoadSettingInt(in.key, 7, "Station");
  (void)foundation::LoadSettingDouble(in.key, 0.5, "Station");
  (void)foundation::ReadIniValue(in.key, in.value, folder + "Station.ini", in.section, 0);
}

void ConfIni() {
  foundation::Conf() = foundation::ConfTables{};
  foundation::SetColumnCaptions();
  foundation::LoadConfIni(0);
  const foundation::ConfTables& c = foundation::Conf();
  if (c.NumRef < 1 || c.NumRef > foundation::kMaxRefCount) std::abort();
  if (c.RefName.size() != static_cast<size_t>(c.NumRef)) std::abort();
  if (c.HourAdjust < 0 || c.HourAdjust > 86399) std::abort();
  if (c.TimeSrv.find('\\') != std::string::npos) std::abort();
  if (c.TriggerString[0].empty() || c.TriggerString[1].empty()) std::abort();
  (void)foundation::TypeNameFromIndex("15");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string folder = [] {
    const std::string program = fuzzfiles::SubFolder("program");
    foundation::Globals().ProgramFolderOverride = program;
    // No mount table: every path is local, so reaching the server needs no echo.
    foundation::SetMountTableSource([] { return std::vector<platform::MountEntry>{}; });
    foundation::StationSettings& s = foundation::Station();
    s.LocalConfFolder = program;
    for (std::string& f : s.ServerConfFolder) f = program + "absent/";
    return program;
  }();
  const std::optional<Input> in = Parse(data, size);
  if (!in) return 0;

  fuzzfiles::WriteFile(folder + "Station.ini", in->file, in->readOnly);
  ProfileEngine(*in, folder + "Station.ini");
  fuzzfiles::WriteFile(folder + "Station.ini", in->file, in->readOnly);
  SettingsStore(*in, folder);
  fuzzfiles::WriteFile(folder + "conf.ini", in->file, in->readOnly);
  ConfIni();
  return 0;
}
