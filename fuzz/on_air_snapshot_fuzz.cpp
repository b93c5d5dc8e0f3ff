// Feeds arbitrary bytes to the companion as the playout's on-air snapshot: the server copy read
// and merged into the on-air monitor list. The input holds two snapshots, the one before and
// the current one, split at the first NUL NUL. Merging the same snapshot again must keep every
// row and add none.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "companion/companion_engine.h"
#include "companion/companion_files.h"
#include "companion/schedule_files.h"
#include "controls/lists/list_model.h"
#include "fuzz/fuzz_files.h"

namespace {

std::vector<std::string> Lines(const std::string& path, std::string_view bytes) {
  fuzzfiles::WriteFile(path, bytes);
  std::vector<std::string> lines;
  if (!companion::ReadTextLines(path, lines)) std::abort();
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = fuzzfiles::SubFolder("log") + "out_air01.cue";
  const std::vector<std::string_view> parts = fuzzfiles::Split(
      std::string_view(reinterpret_cast<const char*>(data), size), std::string_view("\0\0", 2), 2);

  lists::ListModel list;
  list.SetNumData(static_cast<int32_t>(
      companion::CompanionColumnNames(companion::CompanionList::kOnAir).size()));
  list.SetNumAux(1);
  list.Init();
  companion::MergeSnapshotRows(Lines(path, parts.front()), list);
  const std::vector<std::string> current = Lines(path, parts.back());
  companion::MergeSnapshotRows(current, list);
  const int32_t rows = list.ItemCount();
  companion::MergeSnapshotRows(current, list);
  if (list.ItemCount() != rows) std::abort();
  for (int32_t row = 0; row < rows; ++row) {
    const companion::ConstScheduleRow seen(list, row);
    if (seen.Checked() != companion::CheckMark::kUnchanged) std::abort();
  }
  return 0;
}
