#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "controls/widgets/check_model.h"
#include "controls/widgets/view/background_picture.h"
#include "controls/widgets/view/surface_handles.h"
#include "foundation/view/qt_font_factory.h"
#include "platform/view/picture_box.h"
#include "platform/view/picture_surface.h"

namespace widgets {

// The owner-drawn check box or option button of the settings pages: a box image copied from a
// shared picture (Gradhdc), the caption beside it, a drawn tick (check box) or dot (option), grey
// text when disabled, and optionally the part of a background picture that lies behind the
// control, so that it blends with a patterned page. Set up in one call by
// foundation::InitCheckControl; the page reads Value.
//
// A mouse release on an enabled control toggles it (a check box between 1 and 0, an option only
// from 0 to 1), redraws it and raises Click; a disabled one does nothing.
class UC_Check : public platform::PictureBox {
  Q_OBJECT

 public:
  // The scale is the process's TwipsPerPixel at creation.
  explicit UC_Check(QWidget* parent = nullptr);
  ~UC_Check() override;

  bool Enabled() const { return enabled_; }
  // Redraws.
  void SetEnabled(bool enabled);
  const std::string& Caption() const { return caption_; }
  // Lays the control out again (font, box, own box image) and redraws.
  void SetCaption(const std::string& caption);
  float FontSize() const { return fontSize_; }
  // Used from the next layout on.
  void SetFontSize(float size) { fontSize_ = size; }
  float SizeRate() const { return sizeRate_; }
  // Used from the next layout on.
  void SetSizeRate(float rate) { sizeRate_ = rate; }
  int32_t Value() const { return value_; }
  // 0 off, 1 on (any other value shows no tick); redraws.
  void SetValue(int32_t value);
  // Handle (see surface_handles.h) of the picture holding the box image at its top-left corner;
  // the control's own image when none was given.
  int32_t Gradhdc() const { return gradhdc_; }
  // 0 is ignored (the previous handle stays). Stored only.
  void SetGradhdc(int32_t handle);
  int32_t IsOption() const { return isOption_; }
  void SetIsOption(int32_t isOption) { isOption_ = isOption; }

  // The background picture and where the control lies on it (twips): from now on the control
  // paints that part of the picture behind itself. A picture box is followed for as long as it
  // exists; a bare surface must outlive its use (until CloseBGObj or another SetBGPic). Stored
  // only, no redraw.
  void SetBGPic(int32_t pX, int32_t pY, platform::PictureBox& pObj);
  void SetBGPic(int32_t pX, int32_t pY, const platform::PictureSurface& pObj);
  // Forgets the background picture: the control clears to its back colour again.
  void CloseBGObj();

  // Paints the control (laying it out first when that has not been done).
  void Draw();

  // Layout results, twips (for the owner's tests and placement).
  double BoxTop() const { return boxTop_; }
  double TextTop() const { return textTop_; }
  int32_t BoxSize() const { return boxSize_; }

 signals:
  void Click();

 private:
  // False while there is no scale yet.
  bool Layout();
  void PaintOwnBoxImage();
  void MouseReleased();

  bool enabled_ = true;
  std::string caption_;
  int32_t value_ = 0;
  int32_t isOption_ = 0;
  double boxTop_ = 0;
  double textTop_ = 0;
  int32_t boxSize_ = 0;
  bool laidOut_ = false;
  BackgroundPicture background_;
  float fontSize_ = 9.0F;
  float sizeRate_ = 1.0F;
  int32_t gradhdc_ = 0;
  // The box image made by the layout when no Gradhdc was given ("PBName").
  std::unique_ptr<platform::PictureSurface> pbName_;
  std::unique_ptr<SurfaceHandle> pbNameHandle_;
  foundation::WidgetFontWindow fontWindow_;
};

}  // namespace widgets
