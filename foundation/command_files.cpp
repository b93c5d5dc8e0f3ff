#include "foundation/command_files.h"

#include <algorithm>
#include <cerrno>
#include <optional>

#include "foundation/debug_log.h"
#include "foundation/error_traps.h"
#include "foundation/files.h"
#include "foundation/paths.h"
#include "foundation/settings_store.h"
#include "foundation/station_settings.h"
#include "platform/ascii_text.h"
#include "platform/file_system.h"
#include "platform/native_path.h"

namespace foundation {

namespace {

constexpr const char kCommandExt[] = ".scm";
constexpr int32_t kMaxInChannel = 8;

bool LessIgnoringAsciiCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(platform::FoldAscii(x)) <
           static_cast<unsigned char>(platform::FoldAscii(y));
  });
}

ScheduleEntry ReadEntry(const std::string& file, const std::string& name) {
  // The server's command files are shared; one that is read-only is only read.
  const std::optional<platform::FileInfo> info = platform::StatPath(platform::ToNativePath(file));
  const int32_t writeBack = (info && info->readOnly) ? 0 : 1;
  const auto read = [&](const char* key) {
    return ParseSettingInt(ReadIniValue(key, 0, file, "conf", writeBack)).value_or(0);
  };
  ScheduleEntry e;
  e.Name = SplitPath(name, false, false, true, false, false);
  e.OutFade = read("OutFade");
  e.OutTime = read("OutTime");
  e.InFade = read("InFade");
  e.InTime = read("InTime");
  e.InCh = read("InCh");
  e.FOMS = read("FOMS");
  e.FIMS = read("FIMS");

  if (e.InCh > kMaxInChannel) e.InCh = 1;
  if (e.OutTime > 0) e.OutTime = 0;
  if (e.InTime < e.OutTime) e.InTime = e.OutTime;
  return e;
}

}  // namespace

std::vector<ScheduleEntry>& ScheduleList() {
  static std::vector<ScheduleEntry>* list = new std::vector<ScheduleEntry>();
  return *list;
}

void LoadScheduleList(int32_t useLocal) {
  std::vector<ScheduleEntry>& list = ScheduleList();
  list.clear();
  // An error part-way keeps the records read so far and goes to the error log.
  RunTrapped("LoadScheduleList", [&] {
    const StationSettings& s = Station();
    const std::string folder = useLocal != 0 ? s.LocalCommandFolder : s.ServerCommandFolder;
    // An unset folder would name the current folder; it holds no command files of ours.
    if (platform::TrimBlanks(folder).empty()) return;
    const std::optional<std::vector<platform::DirEntry>> entries =
        platform::ListDirectory(platform::ToNativePath(folder));
    if (!entries) {
      // A missing folder simply has no commands; one that is there but cannot be listed is
      // a failure the empty list must not hide.
      const int err = errno;
      if (err != ENOENT) {
        WriteLog("LoadScheduleList " + folder + ": " + GetWin32ErrorText(err),
                 platform::LogSeverity::kError);
      }
      return;
    }

    std::vector<std::string> names;
    for (const platform::DirEntry& entry : *entries) {
      if (entry.isDirectory || !platform::WildcardMatch("*.scm", entry.name)) continue;
      names.push_back(entry.name);
    }
    std::sort(names.begin(), names.end(), LessIgnoringAsciiCase);

    const std::string base = SetTrailingSeparator(folder);
    for (const std::string& name : names) {
      const std::string file = base + name;
      if (FileExists(file) == 0) continue;  // a folder behind a link, or gone meanwhile
      list.push_back(ReadEntry(file, name));
    }
  });
}

int32_t FindScheduleIndex(const std::string& name) {
  return FindScheduleIndex(ScheduleList(), name);
}

int32_t FindScheduleIndex(const std::vector<ScheduleEntry>& list, const std::string& name) {
  const std::string withExt = name + kCommandExt;
  for (size_t i = 0; i < list.size(); ++i) {
    const std::string& entry = list[i].Name;
    if (platform::FileNamesEqualIgnoringCase(name, entry) ||
        platform::FileNamesEqualIgnoringCase(name, entry + kCommandExt) ||
        platform::FileNamesEqualIgnoringCase(withExt, entry))
      return static_cast<int32_t>(i);
  }
  return -1;
}

}  // namespace foundation
