#pragma once

#include <cstdint>

#include "platform/view/picture_surface.h"

namespace widgets {

// Device-context handles for picture surfaces: a control that is handed "the picture to copy
// from" as a 32-bit number (a check box's Gradhdc) looks the surface up here. Handles are
// non-zero and never reused within a process; a released handle finds nothing. User-interface
// thread only.

// Registers `surface` (not owned; null gives 0) and returns its new handle.
int32_t RegisterSurfaceHandle(const platform::PictureSurface* surface);
// Forgets the handle; unknown handles are ignored.
void ReleaseSurfaceHandle(int32_t handle);
// The surface of a handle, or null when the handle is 0, unknown or released.
const platform::PictureSurface* SurfaceOfHandle(int32_t handle);

// A registration that ends with its owner: the surface's handle for as long as this lives.
class SurfaceHandle {
 public:
  SurfaceHandle() = default;
  explicit SurfaceHandle(const platform::PictureSurface* surface)
      : handle_(RegisterSurfaceHandle(surface)) {}
  ~SurfaceHandle() { ReleaseSurfaceHandle(handle_); }
  SurfaceHandle(const SurfaceHandle&) = delete;
  SurfaceHandle& operator=(const SurfaceHandle&) = delete;

  int32_t handle() const { return handle_; }

 private:
  int32_t handle_ = 0;
};

}  // namespace widgets
