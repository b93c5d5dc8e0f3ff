// Feeds arbitrary bytes to the command list as the local command folder's .scm files: up to four
// files, cut at each 0xFF 0xFF (a pair no CP932 text holds), read in name order with their
// missing keys written back. The timing rules hold for every entry, each is found by its name,
// and a second load, after the write-back, gives the same list.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/command_files.h"
#include "foundation/station_settings.h"
#include "fuzz/fuzz_files.h"

namespace {

bool SameEntries(const std::vector<foundation::ScheduleEntry>& a,
                 const std::vector<foundation::ScheduleEntry>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const foundation::ScheduleEntry& x = a[i];
    const foundation::ScheduleEntry& y = b[i];
    if (x.Name != y.Name || x.OutFade != y.OutFade || x.OutTime != y.OutTime ||
        x.InFade != y.InFade || x.InTime != y.InTime || x.InCh != y.InCh || x.FOMS != y.FOMS ||
        x.FIMS != y.FIMS)
      return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string folder = fuzzfiles::SubFolder("command");
  foundation::Station().LocalCommandFolder = folder;
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ignored))
    std::filesystem::remove(entry.path(), ignored);

  const std::vector<std::string_view> files =
      fuzzfiles::Split(std::string_view(reinterpret_cast<const char*>(data), size), "\xff\xff", 4);
  // Names out of order and in mixed case; the last one read-only when the size is odd.
  const char* const names[] = {"Fade_B.scm", "cut.scm", "FADE_a.scm", "z.scm"};
  for (size_t i = 0; i < files.size(); ++i)
    fuzzfiles::WriteFile(folder + names[i], files[i], i + 1 == files.size() && (size & 1) != 0);

  foundation::LoadScheduleList(1);
  const std::vector<foundation::ScheduleEntry> first = foundation::ScheduleList();
  if (first.size() != files.size()) std::abort();
  for (size_t i = 0; i < first.size(); ++i) {
    const foundation::ScheduleEntry& e = first[i];
    if (e.InCh > 8 || e.OutTime > 0 || e.InTime < e.OutTime) std::abort();
    if (foundation::FindScheduleIndex(e.Name + ".SCM") != static_cast<int32_t>(i)) std::abort();
  }
  foundation::LoadScheduleList(1);
  if (!SameEntries(first, foundation::ScheduleList())) std::abort();
  return 0;
}
