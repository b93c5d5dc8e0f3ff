#pragma once

#include <QPointer>
#include <cstdint>

#include "platform/view/picture_box.h"
#include "platform/view/picture_surface.h"

namespace widgets {

// The picture a control copies its background from (SetBGPic) and where the control lies on it,
// twips. A picture box is followed for as long as it exists; a bare surface must outlive its
// use (until Close or the next Set).
class BackgroundPicture {
 public:
  void Set(int32_t pX, int32_t pY, platform::PictureBox& picture);
  void Set(int32_t pX, int32_t pY, const platform::PictureSurface& picture);
  void Close();
  // The picture, or null when none is set or its box has gone.
  const platform::PictureSurface* Picture() const;
  int32_t X() const { return x_; }
  int32_t Y() const { return y_; }
  // Copies the picture's part under the control over the whole of `target` (pixels: the
  // offsets divided by the target's twips per pixel); false, with nothing drawn, without a
  // picture or a scale.
  bool CopyTo(platform::PictureSurface& target) const;

 private:
  int32_t x_ = 0;
  int32_t y_ = 0;
  QPointer<platform::PictureBox> box_;
  const platform::PictureSurface* surface_ = nullptr;
};

}  // namespace widgets
