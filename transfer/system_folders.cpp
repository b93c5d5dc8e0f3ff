#include "transfer/system_folders.h"

#include <array>

#include "platform/file_system.h"

namespace transfer {

bool IsSystemFolderName(std::string_view name) {
  static constexpr std::array<std::string_view, 4> kNames = {"Recycled", "$Recycle.Bin", "RECYCLER",
                                                             "System Volume Information"};
  for (std::string_view system : kNames) {
    if (platform::FileNamesEqualIgnoringCase(name, system)) return true;
  }
  return false;
}

bool IsInSystemFolder(std::string_view path) {
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find_first_of("/\\", start);
    if (end == std::string_view::npos) end = path.size();
    if (IsSystemFolderName(path.substr(start, end - start))) return true;
    start = end + 1;
  }
  return false;
}

}  // namespace transfer
