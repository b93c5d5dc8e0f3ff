#include "controls/lists/view/uc_apsbar.h"

#include "controls/lists/count_down_bar.h"
#include "foundation/app_globals.h"
#include "foundation/conversions.h"
#include "foundation/font_table.h"
#include "foundation/view/qt_font_factory.h"
#include "platform/twips.h"
#include "platform/view/raster_ops.h"

namespace lists {

using foundation::NearestInt32Saturated;

UC_apsbar::UC_apsbar(QWidget* parent)
    : QWidget(parent),
      pictureBar_(new platform::PictureBox(this, foundation::Globals().TwipsPerPixel)),
      pictureGrad_(0, 0, foundation::Globals().TwipsPerPixel) {
  pictureBar_->SetBorderStyle(platform::PictureBox::kBorderFixed3D);
  pictureBar_->Surface().SetBackColor(0xFFFFFF);
  pictureBar_->Surface().SetForeColor(0);
}

void UC_apsbar::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  pictureBar_->resize(pictureBar_->width(), height());
  pictureBar_->resize(width(), height());
}

void UC_apsbar::SetFontStyle(float pSize, bool pBold, const std::string& pName) {
  const int32_t slot =
      foundation::SetControlFont(nullptr, -2, nullptr, pSize, pBold ? -1 : 0, 0, pName);
  if (slot >= 0) pictureBar_->Surface().SetFont(foundation::FontOfEntry(slot));
}

void UC_apsbar::Init() {
  // A hidden control gets its resize event only when shown: the bar is fitted here too.
  pictureBar_->resize(size());
  const platform::PictureSurface& bar = pictureBar_->Surface();
  pictureGrad_.Resize(bar.PixelWidth(), pictureGrad_.PixelHeight());
  pictureGrad_.Resize(bar.PixelWidth(), bar.PixelHeight());
  width_ = NearestInt32Saturated(bar.ScaleWidth());
}

void UC_apsbar::SetColorType(int32_t pType) {
  if (const auto colours = CountDownColorType(pType)) SetColor(colours->edge, colours->middle);
}

void UC_apsbar::SetColor(int32_t Color1, int32_t Color2) {
  if (Color1 == lastColor_[0] && Color2 == lastColor_[1]) return;
  lastColor_[0] = Color1;
  lastColor_[1] = Color2;
  const double width = pictureGrad_.ScaleWidth();
  for (const GradientLine& line : CountDownGradient(Color1, Color2, pictureGrad_.ScaleHeight(),
                                                    pictureGrad_.TwipsPerPixel())) {
    pictureGrad_.Line(0, line.y, width, line.y, line.colour);
  }
}

void UC_apsbar::Draw(int32_t value, const std::string& pStr) {
  if (pStr == lastText_ && value == lastValue_) return;
  lastText_ = pStr;
  lastValue_ = value;
  platform::PictureSurface& bar = pictureBar_->Surface();
  const int32_t tpp = bar.TwipsPerPixel();
  if (tpp <= 0) return;
  bar.Cls();
  const int heightPx = NearestInt32Saturated(bar.ScaleHeight() / tpp);
  const auto filled = CountDownFilled(countDown_, value, width_);
  const int from = filled ? NearestInt32Saturated(double(*filled) / tpp) : 0;
  bar.BitBlt(from, 0, bar.PixelWidth() - from, heightPx, pictureGrad_, 0, 0, platform::SRCCOPY);
  bar.SetCurrentY(NearestInt32Saturated(bar.ScaleHeight() - bar.TextHeight(pStr)) / 2);
  bar.SetCurrentX(NearestInt32Saturated(width_ - bar.TextWidth(pStr)) / 2);
  bar.Print(pStr);
  if (filled && *filled >= tpp) {
    bar.SetDrawMode(platform::R2_NOT);
    bar.Box(0, 0, *filled - tpp, bar.ScaleHeight());
    bar.SetDrawMode(platform::R2_COPYPEN);
  }
}

}  // namespace lists
