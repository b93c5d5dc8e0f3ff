#include "controls/widgets/view/uc_check.h"

#include "foundation/app_globals.h"
#include "foundation/error_traps.h"
#include "foundation/font_table.h"
#include "foundation/view/design_painter.h"
#include "platform/system_colors.h"
#include "platform/twips.h"
#include "platform/view/raster_ops.h"

namespace widgets {

namespace {

constexpr int32_t kFaceRef = platform::SystemColorRef(platform::COLOR_BTNFACE);
constexpr int32_t kTextRef = platform::SystemColorRef(platform::COLOR_BTNTEXT);
constexpr int32_t kGrayTextRef = platform::SystemColorRef(platform::COLOR_GRAYTEXT);
constexpr int32_t kShadowRef = platform::SystemColorRef(platform::COLOR_BTNSHADOW);
constexpr int32_t kHighlightRef = platform::SystemColorRef(platform::COLOR_3DHIGHLIGHT);
constexpr int32_t kLightRef = platform::SystemColorRef(platform::COLOR_3DLIGHT);

}  // namespace

UC_Check::UC_Check(QWidget* parent)
    : platform::PictureBox(parent, foundation::Globals().TwipsPerPixel), fontWindow_(this) {
  connect(this, &platform::PictureBox::MouseUp, this, [this](int32_t, int32_t, double, double) {
    foundation::RunTrapped("UC_Check.MouseUp", [this] { MouseReleased(); });
  });
}

UC_Check::~UC_Check() = default;

void UC_Check::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Draw();
}

void UC_Check::SetCaption(const std::string& caption) {
  caption_ = caption;
  Layout();
  Draw();
}

void UC_Check::SetValue(int32_t value) {
  value_ = value;
  Draw();
}

void UC_Check::SetGradhdc(int32_t handle) {
  if (handle == 0) return;
  gradhdc_ = handle;
}

void UC_Check::SetBGPic(int32_t pX, int32_t pY, platform::PictureBox& pObj) {
  background_.Set(pX, pY, pObj);
}

void UC_Check::SetBGPic(int32_t pX, int32_t pY, const platform::PictureSurface& pObj) {
  background_.Set(pX, pY, pObj);
}

void UC_Check::CloseBGObj() { background_.Close(); }

bool UC_Check::Layout() {
  platform::PictureSurface& s = Surface();
  const int32_t tpp = s.TwipsPerPixel();
  if (tpp <= 0) return false;
  const int32_t index =
      foundation::SetControlFont(&fontWindow_, -2, nullptr, fontSize_, 0, 0, std::string());
  // Without a font table (no toolkit factory installed) the surface keeps its default font.
  if (index >= 0) s.SetFont(foundation::FontOfEntry(index));
  s.SetBackColor(kFaceRef);
  const double lineHeight = s.TextHeight("漢");
  boxSize_ = CheckBoxSize(sizeRate_);
  const CheckTops tops = CheckLayoutTops(lineHeight, boxSize_);
  boxTop_ = tops.box;
  textTop_ = tops.text;
  // The control's own box image serves when no picture was given, and follows the box size.
  const bool ownImage = pbNameHandle_ != nullptr && gradhdc_ == pbNameHandle_->handle();
  if (gradhdc_ == 0 || ownImage) PaintOwnBoxImage();
  laidOut_ = true;
  return true;
}

void UC_Check::PaintOwnBoxImage() {
  const int32_t tpp = Surface().TwipsPerPixel();
  const int side = platform::TwipsToPixels(boxSize_, tpp);
  if (!pbName_) {
    pbName_ = std::make_unique<platform::PictureSurface>(side, side, tpp);
    pbNameHandle_ = std::make_unique<SurfaceHandle>(pbName_.get());
  }
  platform::PictureSurface& box = *pbName_;
  box.Resize(side, side);
  box.Cls();
  // A raised face: light at the top, the shadow at the bottom, in a shadow frame.
  foundation::PaintPictureDesign(box, 5, kHighlightRef, kLightRef, kShadowRef);
  const double w = box.ScaleWidth();
  const double h = box.ScaleHeight();
  box.Line(0, 0, w, 0, kShadowRef);
  box.Line(0, 0, 0, h, kShadowRef);
  box.Line(0, h - tpp, w, h - tpp, kShadowRef);
  box.Line(w - tpp, 0, w - tpp, h, kShadowRef);
  gradhdc_ = pbNameHandle_->handle();
}

void UC_Check::Draw() {
  if (!laidOut_ && !Layout()) return;
  platform::PictureSurface& s = Surface();
  const int32_t tpp = s.TwipsPerPixel();
  if (tpp <= 0) return;
  s.SetForeColor(enabled_ ? kTextRef : kGrayTextRef);

  if (!background_.CopyTo(s)) s.Cls();

  s.SetCurrentX(boxSize_ + 4.0 * tpp);
  s.SetCurrentY(textTop_);
  s.Print(caption_);

  const int side = platform::TwipsToPixels(boxSize_, tpp);
  const int boxTopPx = platform::TwipsToPixels(boxTop_, tpp);
  if (const platform::PictureSurface* image = SurfaceOfHandle(gradhdc_)) {
    s.BitBlt(0, boxTopPx, side, side, *image, 0, 0, platform::SRCCOPY);
  }

  if (value_ == 1) {
    if (isOption_ != 0) {
      const CheckDot dot = OptionDot(sizeRate_, boxTop_);
      const int32_t oldStyle = s.FillStyle();
      const int32_t oldFill = s.FillColor();
      s.SetFillStyle(platform::PictureSurface::kFillSolid);
      s.SetFillColor(s.ForeColor());
      s.Circle(dot.x, dot.y, dot.radius);
      s.SetFillStyle(oldStyle);
      s.SetFillColor(oldFill);
    } else {
      const auto points = CheckTickPoints(sizeRate_, tpp, boxTopPx);
      s.MoveTo(points[0].x, points[0].y);
      for (size_t i = 1; i < points.size(); ++i) s.LineTo(points[i].x, points[i].y);
    }
  }
  Refresh();
}

void UC_Check::MouseReleased() {
  if (!enabled_) return;
  value_ = ClickedCheckValue(isOption_, value_);
  Draw();
  emit Click();
}

}  // namespace widgets
