#include "controls/widgets/view/uc_slider.h"

#include "controls/widgets/view/slider_arrow_sheet.h"
#include "foundation/app_globals.h"
#include "foundation/colors.h"
#include "foundation/error_traps.h"
#include "foundation/view/design_painter.h"
#include "platform/system_colors.h"
#include "platform/twips.h"
#include "platform/view/raster_ops.h"

namespace widgets {

namespace {

constexpr int32_t kFaceRef = platform::SystemColorRef(platform::COLOR_BTNFACE);
constexpr int32_t kShadowRef = platform::SystemColorRef(platform::COLOR_BTNSHADOW);
constexpr int32_t kDarkShadowRef = platform::SystemColorRef(platform::COLOR_3DDKSHADOW);
constexpr int32_t kTrackRef = platform::SystemColorRef(platform::COLOR_SCROLLBAR);

}  // namespace

UC_Slider::UC_Slider(QWidget* parent)
    : platform::PictureBox(parent, foundation::Globals().TwipsPerPixel),
      pictureGrad_(0, 0, foundation::Globals().TwipsPerPixel) {
  model_.SetTwipsPerPixel(Surface().TwipsPerPixel());
  const int32_t tpp = Surface().TwipsPerPixel();
  pictureSlider_ = new platform::PictureBox(this, tpp);
  pictureSlider_->SetBorderStyle(platform::PictureBox::kBorderFixed3D);
  pictureSlider_->Surface().SetBackColor(kTrackRef);
  for (int i = 0; i < 2; ++i) {
    pictureArrow_[i] = new platform::PictureBox(this, tpp);
    pictureArrow_[i]->Move(0, 0, kSliderArrowTwips, kSliderArrowTwips);
  }
  pictureSrc_[0] = SliderArrowSheet(0);
  pictureSrc_[1] = SliderArrowSheet(1);
  timerCheck_.setInterval(kSliderRepeatMs);
  timerCheck_.setSingleShot(false);

  connect(&timerCheck_, &QTimer::timeout, this, [this] {
    foundation::RunTrapped("UC_Slider.TimerCheck", [this] { TimerCheck_Timer(); });
  });
  connect(pictureSlider_, &platform::PictureBox::MouseDown, this,
          [this](int32_t button, int32_t, double x, double y) {
            foundation::RunTrapped("UC_Slider.MouseDown", [&] { TrackDown(button, x, y); });
          });
  connect(pictureSlider_, &platform::PictureBox::MouseMove, this,
          [this](int32_t button, int32_t, double x, double y) {
            foundation::RunTrapped("UC_Slider.MouseMove", [&] { TrackMove(button, x, y); });
          });
  connect(pictureSlider_, &platform::PictureBox::MouseUp, this,
          [this](int32_t button, int32_t, double, double) {
            foundation::RunTrapped("UC_Slider.MouseUp", [&] { TrackUp(button); });
          });
  connect(pictureSlider_, &platform::PictureBox::DblClick, this,
          [this] { foundation::RunTrapped("UC_Slider.DblClick", [this] { TrackDblClick(); }); });
  for (int i = 0; i < 2; ++i) {
    connect(pictureArrow_[i], &platform::PictureBox::MouseDown, this,
            [this, i](int32_t button, int32_t, double, double) {
              foundation::RunTrapped("UC_Slider.ArrowDown", [&] { ArrowDown(i, button); });
            });
    connect(pictureArrow_[i], &platform::PictureBox::MouseUp, this,
            [this, i](int32_t button, int32_t, double, double) {
              foundation::RunTrapped("UC_Slider.ArrowUp", [&] { ArrowUp(i, button); });
            });
    // A double click on an arrow is one more press; the release that follows ends it.
    connect(pictureArrow_[i], &platform::PictureBox::DblClick, this, [this, i] {
      foundation::RunTrapped("UC_Slider.ArrowDblClick", [&] { ArrowDown(i, 1); });
    });
  }
}

UC_Slider::~UC_Slider() { timerCheck_.stop(); }

void UC_Slider::SetNoArrow(int32_t noArrow) {
  model_.NoArrow = noArrow;
  model_.Disabletrim = true;
}

void UC_Slider::Init() {
  SliderLayout layout;
  if (!model_.Layout(Width(), Height(), &layout)) return;
  layout_ = layout;
  laidOut_ = true;
  const TwipsRect& t = layout_.track;
  pictureSlider_->Move(t.left, t.top, t.width, t.height);
  for (int i = 0; i < 2; ++i) {
    const TwipsRect& a = layout_.arrow[i];
    pictureArrow_[i]->Move(a.left, a.top, a.width, a.height);
    pictureArrow_[i]->setVisible(layout_.arrowsVisible);
  }
  const int32_t tpp = model_.TwipsPerPixel();
  pictureGrad_.Resize(platform::TwipsToPixels(model_.InnerWidth(), tpp),
                      platform::TwipsToPixels(model_.InnerHeight(), tpp));

  gradColor_[0] = foundation::BlendColor(kShadowRef, 0, 0, 0, 1.2F);
  gradColor_[1] = foundation::BlendColor(kFaceRef, 0, 0, 0, 1.1F);
  gradColor_[2] = foundation::BlendColor(kShadowRef, 0, 0, 0, 0.9F);
  PaintArrowButton(0);
  PaintArrowButton(1);
  if (!model_.Disabletrim) {
    DrawArrow(0, false);
    DrawArrow(1, false);
  }
  Init2();
}

void UC_Slider::PaintArrowButton(int index) {
  platform::PictureSurface& s = pictureArrow_[index]->Surface();
  s.Cls();
  if (model_.NoGrad != 0) {
    foundation::PaintPictureDesign(s, 1, -1, -1, -1);
  } else {
    foundation::PaintPictureDesign(s, model_.IsVertical != 0 ? 6 : 5, gradColor_[0], gradColor_[1],
                                   gradColor_[2]);
  }
  const int32_t tpp = s.TwipsPerPixel();
  if (tpp <= 0) return;
  const double w = s.ScaleWidth();
  const double h = s.ScaleHeight();
  s.Line(0, h - tpp, w, h - tpp, kDarkShadowRef);
  s.Line(w - tpp, 0, w - tpp, h, kDarkShadowRef);
}

void UC_Slider::DrawArrow(int index, bool pressed) {
  const QImage& sheet = pictureSrc_[model_.IsVertical != 0 ? 1 : 0];
  const ArrowCell& cell = layout_.cell;
  const int sx = SliderArrowCellIndex(index, pressed) * cell.width;
  platform::PictureSurface& s = pictureArrow_[index]->Surface();
  const int x = layout_.arrowImageX[index];
  const int y = layout_.arrowImageY[index];
  s.BitBlt(x, y, cell.width, cell.height, sheet, sx, cell.maskRow, platform::SRCAND);
  s.BitBlt(x, y, cell.width, cell.height, sheet, sx, 0, platform::SRCINVERT);
  pictureArrow_[index]->Refresh();
}

void UC_Slider::Init2() {
  if (!model_.FitPointer(layout_.track)) return;
  const int32_t tpp = model_.TwipsPerPixel();
  const bool vertical = model_.IsVertical != 0;
  const int length = platform::TwipsToPixels(model_.PointerSize(), tpp);
  const int across = platform::TwipsToPixels(model_.InnerThickness(), tpp);
  if (vertical) {
    pictureGrad_.Resize(across, length);
  } else {
    pictureGrad_.Resize(length, across);
  }
  pictureGrad_.Cls();
  if (model_.NoGrad != 0) {
    foundation::PaintPictureDesign(pictureGrad_, 1, -1, -1, -1);
  } else {
    foundation::PaintPictureDesign(pictureGrad_, vertical ? 6 : 5, gradColor_[0], gradColor_[1],
                                   gradColor_[2]);
  }
  // Grip and end lines run across the pointer: horizontal lines on a vertical slider.
  const double thickness = model_.InnerThickness();
  const auto across_line = [&](double at, int32_t colour) {
    if (vertical) {
      pictureGrad_.Line(0, at, thickness, at, colour);
    } else {
      pictureGrad_.Line(at, 0, at, thickness, colour);
    }
  };
  for (double at : model_.GripLines()) across_line(at, kShadowRef);
  if (const auto end = model_.EndLine()) across_line(*end, kDarkShadowRef);
}

void UC_Slider::SetPointerSize(float pRate) {
  if (!model_.SetPointerRate(pRate)) return;
  Init2();
}

void UC_Slider::SetValue(int32_t value) {
  if (const auto position = model_.SetSliderValue(value)) DrawPointer(*position);
}

void UC_Slider::Draw(int32_t position) {
  if (const auto drawn = model_.PositionToValue(position)) DrawPointer(*drawn);
}

void UC_Slider::DrawPointer(double position) {
  const int32_t tpp = model_.TwipsPerPixel();
  if (tpp <= 0) return;
  platform::PictureSurface& track = pictureSlider_->Surface();
  track.Cls();
  // Only the pointer image itself is copied: it is PointerSize long, not the whole track.
  const int at = platform::TwipsToPixels(position, tpp);
  const int w = pictureGrad_.PixelWidth();
  const int h = pictureGrad_.PixelHeight();
  if (model_.IsVertical != 0) {
    track.BitBlt(0, at, w, h, pictureGrad_, 0, 0, platform::SRCCOPY);
  } else {
    track.BitBlt(at, 0, w, h, pictureGrad_, 0, 0, platform::SRCCOPY);
  }
  pictureSlider_->Refresh();
  model_.SetPointerPos(position);
}

void UC_Slider::SetLeft(double twips) { Move(twips, Top(), Width(), Height()); }
void UC_Slider::SetTop(double twips) { Move(Left(), twips, Width(), Height()); }
void UC_Slider::SetWidth(double twips) { Move(Left(), Top(), twips, Height()); }
void UC_Slider::SetHeight(double twips) { Move(Left(), Top(), Width(), twips); }

void UC_Slider::TrackDown(int32_t button, double x, double y) {
  if (model_.RefuseInput) return;
  if (button == 1) Draw(model_.PressAt(AlongAxis(x, y)));
  model_.Clicked = true;
  emit MouseUD(true, static_cast<int16_t>(button));
  if (button == 1) emit Scrolled(1);
}

void UC_Slider::TrackMove(int32_t button, double x, double y) {
  if (model_.RefuseInput || (button & 1) == 0) return;
  const auto position = model_.DragTo(AlongAxis(x, y));
  if (!position) return;
  Draw(*position);
  emit Scrolled(static_cast<int16_t>(button));
}

void UC_Slider::TrackUp(int32_t button) {
  if (model_.RefuseInput) return;
  model_.Clicked = false;
  emit MouseUD(false, static_cast<int16_t>(button));
  if (button == 1) emit Scrolled(1);
}

void UC_Slider::TrackDblClick() {
  if (model_.RefuseInput) return;
  emit DblClicked();
  emit Scrolled(1);
}

void UC_Slider::ArrowDown(int index, int32_t button) {
  if (model_.RefuseInput || model_.Disabletrim || button != 1) return;
  model_.ArrowPressed[index] = 1;
  DrawArrow(index, true);
  TimerCheck_Timer();
  timerCheck_.start();
  model_.Clicked = true;
}

void UC_Slider::ArrowUp(int index, int32_t button) {
  if (model_.RefuseInput || model_.Disabletrim) return;
  if (button == 1) {
    model_.ArrowPressed[index] = 0;
    DrawArrow(index, false);
    timerCheck_.stop();
    model_.Clicked = false;
  }
  emit MouseUD(false, static_cast<int16_t>(button));
}

void UC_Slider::TimerCheck_Timer() {
  if (model_.Disabletrim) return;
  std::optional<double> position;
  if (model_.ArrowStep(&position) < 0) return;
  const double at = position.value_or(-1.0);
  if (position.has_value()) DrawPointer(at);
  emit Scrolled(1);
}

}  // namespace widgets
