#include "controls/widgets/view/surface_handles.h"

#include <limits>
#include <map>

namespace widgets {

namespace {

struct HandleTable {
  std::map<int32_t, const platform::PictureSurface*> surfaces;
  // Handles start well away from 0 and small numbers, so a stray count or index is never taken
  // for a handle.
  int32_t next = 0x10000;
};

HandleTable& Table() {
  static HandleTable table;
  return table;
}

}  // namespace

int32_t RegisterSurfaceHandle(const platform::PictureSurface* surface) {
  if (surface == nullptr) return 0;
  HandleTable& table = Table();
  if (table.next == std::numeric_limits<int32_t>::max()) return 0;
  const int32_t handle = table.next++;
  table.surfaces[handle] = surface;
  return handle;
}

void ReleaseSurfaceHandle(int32_t handle) {
  if (handle != 0) Table().surfaces.erase(handle);
}

const platform::PictureSurface* SurfaceOfHandle(int32_t handle) {
  if (handle == 0) return nullptr;
  const HandleTable& table = Table();
  const auto it = table.surfaces.find(handle);
  return it == table.surfaces.end() ? nullptr : it->second;
}

}  // namespace widgets
