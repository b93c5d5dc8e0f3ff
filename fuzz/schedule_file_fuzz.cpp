// Feeds arbitrary bytes to the companion as a schedule file on the server: its title and lines
// read, the schedule-contents rows made of them and sorted by ID, and the message the playout
// is sent. A sound path the companion accepts as relative must stay inside the folder it is
// joined to once it becomes a native path.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "companion/companion_engine.h"
#include "companion/companion_files.h"
#include "companion/schedule_files.h"
#include "companion/schedule_message.h"
#include "controls/lists/list_model.h"
#include "fuzz/fuzz_files.h"
#include "platform/native_path.h"

namespace {

// Whether `native` names `base` itself or something below it, as the system sees the path: up
// to its first NUL, "." and ".." resolved.
bool StaysBelow(const std::string& base, const std::string& native) {
  const std::filesystem::path root = std::filesystem::path(base).lexically_normal();
  const std::filesystem::path full =
      std::filesystem::path(native.substr(0, native.find('\0'))).lexically_normal();
  auto r = root.begin();
  auto f = full.begin();
  for (; r != root.end() && !r->empty(); ++r, ++f) {
    if (f == full.end() || *r != *f) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string sched = fuzzfiles::SubFolder("sched");
  static const std::string local = fuzzfiles::SubFolder("local");
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  // The last bit of the size picks the kind: both are read alike, only ".cue" rows are sent.
  const std::string name = (size & 1) != 0 ? "20240401120000_01.cue" : "20240401120000_01.tmc";
  const std::string path = sched + name;
  fuzzfiles::WriteFile(path, input);

  (void)companion::ReadTextFile(path);
  companion::ScheduleFile file;
  if (!companion::ReadScheduleFile(path, file)) std::abort();

  lists::ListModel list;
  list.SetNumData(static_cast<int32_t>(
      companion::CompanionColumnNames(companion::CompanionList::kSchedule).size()));
  list.SetNumAux(companion::ScheduleRow::kFields);
  list.Init();
  companion::AddScheduleFileRows(list, name, file, companion::CheckMark::kNew);
  companion::AddScheduleFileRows(list, "20240401000000_01.cue", file,
                                 companion::CheckMark::kUnchanged);
  if (static_cast<size_t>(list.ItemCount()) != 2 * file.lines.size()) std::abort();
  companion::SortRowsById(list);
  const std::string text = companion::ScheduleMessageText(list);
  (void)companion::ScheduleMessagePayload(text);

  for (int32_t row = 0; row < list.ItemCount(); ++row) {
    const std::string sound = companion::ConstScheduleRow(list, row).Sound();
    if (!companion::IsContainedRelativePath(sound)) continue;
    if (!StaysBelow(local, platform::ToNativePath(local + sound, {}))) std::abort();
  }
  return 0;
}
