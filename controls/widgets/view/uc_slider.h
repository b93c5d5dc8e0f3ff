#pragma once

#include <QImage>
#include <QTimer>
#include <cstdint>

#include "controls/widgets/slider_model.h"
#include "platform/view/picture_box.h"
#include "platform/view/picture_surface.h"

namespace widgets {

// The owner-drawn scroll bar: a sunken track box with a sliding pointer and, unless NoArrow, an
// arrow button at each end. The list view creates two of them as its scroll bars and drives them
// through the members below; positions are twips of the control's scale.
//
// Events (Qt signals), numbered as the owner knows them:
//   1 MouseUD(IsDown, nButton): a press on the track, a release on the track or an arrow;
//   2 Scrolled(nButton): user input moved (or tried to move) the value: a press, drag or release
//     of the left button on the track, each arrow step, a double click on the track;
//   3 DblClicked: a double click on the track, followed by Scrolled(1).
// A value set by code (SetValue, Draw) raises nothing. With RefuseInput the mouse raises
// nothing at all. Holding the left button on an arrow steps the value by SmallChange at once and
// then on every tick of TimerCheck (200 ms) until the release.
//
// Drawing stops quietly at any step that has no scale or no room (TwipsPerPixel 0, a control
// smaller than its parts, a pointer longer than the track); the control keeps its values.
class UC_Slider : public platform::PictureBox {
  Q_OBJECT

 public:
  // The scale is the process's TwipsPerPixel at creation.
  explicit UC_Slider(QWidget* parent = nullptr);
  ~UC_Slider() override;

  // Lays the parts out for the current size and orientation and draws the arrows and the pointer
  // image. The value is kept; the pointer moves at the next value assignment.
  void Init();
  // Recomputes the pointer's travel and repaints the pointer image (not the track).
  void Init2();

  int32_t IsVertical() const { return model_.IsVertical; }
  void SetIsVertical(int32_t vertical) { model_.IsVertical = vertical; }
  // Also makes the arrows inert (Disabletrim).
  void SetNoArrow(int32_t noArrow);
  void SetNoGrad(int32_t noGrad) { model_.NoGrad = noGrad; }
  void SetDisabletrim(bool disable) { model_.Disabletrim = disable; }
  void SetRefuseInput(bool refuse) { model_.RefuseInput = refuse; }
  void SetCenterLined(bool centre) { model_.CenterLined = centre; }
  int32_t SmallChange() const { return model_.SmallChange; }
  void SetSmallChange(int32_t step) { model_.SmallChange = step; }
  int32_t LargeChange() const { return model_.LargeChange; }
  void SetLargeChange(int32_t step) { model_.LargeChange = step; }
  // The PointerSize assignment: length in twips and the new travel; repaints nothing.
  void LetPointerSize(int32_t twips) { model_.LetPointerSize(twips); }
  int32_t Max() const { return model_.Max(); }
  void SetMax(int32_t max) { model_.SetMax(max); }
  int32_t Min() const { return model_.Min(); }
  void SetMin(int32_t min) { model_.SetMin(min); }
  bool Clicked() const { return model_.Clicked; }
  int32_t Value() const { return model_.Value(); }
  // Limits the value to Min .. Max and moves the pointer to it; nothing happens when Max = Min.
  // Raises no event.
  void SetValue(int32_t value);
  // The pointer covers `pRate` of the inner length (1 or more counts as 0.95), at least 8 pixels;
  // then Init2.
  void SetPointerSize(float pRate);
  // Moves the pointer to `position` twips from the track start and takes the value from it.
  // Raises no event.
  void Draw(int32_t position);

  // Extender geometry, twips (pixels times TwipsPerPixel; written values truncate to pixels).
  void SetLeft(double twips);
  void SetTop(double twips);
  void SetWidth(double twips);
  void SetHeight(double twips);
  bool Visible() const { return !isHidden(); }
  void SetVisible(bool visible) { setVisible(visible); }

  // One tick of the arrow repeat (also run at once by an arrow press): steps the value for the
  // arrow held and raises Scrolled(1); nothing while no arrow is held or the arrows are inert.
  void TimerCheck_Timer();

  // The parts, for the owner's tests and for looking at.
  const SliderModel& Model() const { return model_; }
  const SliderLayout& Parts() const { return layout_; }
  platform::PictureBox& PictureSlider() { return *pictureSlider_; }
  platform::PictureBox& PictureArrow(int index) { return *pictureArrow_[index != 0 ? 1 : 0]; }
  const platform::PictureSurface& PictureGrad() const { return pictureGrad_; }
  QTimer& TimerCheck() { return timerCheck_; }

 signals:
  void MouseUD(bool IsDown, int16_t nButton);
  void Scrolled(int16_t nButton);
  void DblClicked();

 private:
  void PaintArrowButton(int index);
  void DrawArrow(int index, bool pressed);
  void DrawPointer(double position);
  double AlongAxis(double x, double y) const { return model_.IsVertical != 0 ? y : x; }

  void TrackDown(int32_t button, double x, double y);
  void TrackMove(int32_t button, double x, double y);
  void TrackUp(int32_t button);
  void TrackDblClick();
  void ArrowDown(int index, int32_t button);
  void ArrowUp(int index, int32_t button);

  SliderModel model_;
  SliderLayout layout_;
  bool laidOut_ = false;
  platform::PictureBox* pictureSlider_ = nullptr;
  platform::PictureBox* pictureArrow_[2] = {nullptr, nullptr};
  platform::PictureSurface pictureGrad_;
  QImage pictureSrc_[2];
  QTimer timerCheck_;
  int32_t gradColor_[3] = {0, 0, 0};
};

}  // namespace widgets
