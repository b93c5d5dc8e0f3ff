#include "controls/widgets/view/background_picture.h"

#include "platform/twips.h"
#include "platform/view/raster_ops.h"

namespace widgets {

void BackgroundPicture::Set(int32_t pX, int32_t pY, platform::PictureBox& picture) {
  x_ = pX;
  y_ = pY;
  box_ = &picture;
  surface_ = nullptr;
}

void BackgroundPicture::Set(int32_t pX, int32_t pY, const platform::PictureSurface& picture) {
  x_ = pX;
  y_ = pY;
  box_ = nullptr;
  surface_ = &picture;
}

void BackgroundPicture::Close() {
  box_ = nullptr;
  surface_ = nullptr;
}

const platform::PictureSurface* BackgroundPicture::Picture() const {
  if (surface_ != nullptr) return surface_;
  if (!box_.isNull()) return &box_->Surface();
  return nullptr;
}

bool BackgroundPicture::CopyTo(platform::PictureSurface& target) const {
  const platform::PictureSurface* picture = Picture();
  const int32_t tpp = target.TwipsPerPixel();
  if (picture == nullptr || tpp <= 0) return false;
  target.BitBlt(0, 0, target.PixelWidth(), target.PixelHeight(), *picture,
                platform::TwipsToPixels(x_, tpp), platform::TwipsToPixels(y_, tpp),
                platform::SRCCOPY);
  return true;
}

}  // namespace widgets
