#pragma once

#include <QWidget>
#include <cstdint>
#include <string>

#include "platform/view/picture_box.h"
#include "platform/view/picture_surface.h"

namespace lists {

// The count-down bar: a band of vertical colour gradient whose left end is eaten away as the
// value runs down, with a text centred over it. At a value of CountDown or more the whole bar
// shows the gradient with black text; below it the elapsed share from the left is inverted
// (black with white text); at 0 the whole bar is. Raises no events, takes no input.
//
// Set up with SetFontStyle, CountDown, Init, SetColorType; then Draw with the remaining time.
// Init must follow any change of size: the width used and the gradient's size are taken there.
class UC_apsbar : public QWidget {
  Q_OBJECT

 public:
  explicit UC_apsbar(QWidget* parent = nullptr);

  int32_t CountDown() const { return countDown_; }
  // In the unit Draw is given; draws nothing. 0 or less shows the whole gradient always.
  void SetCountDown(int32_t total) { countDown_ = total; }
  // The bar's font (empty name: the user-interface face).
  void SetFontStyle(float pSize, bool pBold, const std::string& pName);
  void Init();
  // 0 grey, 1 blue, 2 red; anything else changes nothing.
  void SetColorType(int32_t pType);
  // Paints the gradient (edges Color1, middle Color2) unless it is the pair painted last.
  void SetColor(int32_t Color1, int32_t Color2);
  // Redraws for the value and text unless both are what was drawn last.
  void Draw(int32_t value, const std::string& pStr);

  platform::PictureBox& PictureBar() { return *pictureBar_; }
  const platform::PictureSurface& PictureGrad() const { return pictureGrad_; }
  // The bar width Init took, twips.
  int32_t BarWidth() const { return width_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  platform::PictureBox* pictureBar_;
  platform::PictureSurface pictureGrad_;
  int32_t countDown_ = 0;
  int32_t width_ = 0;
  int32_t lastValue_ = 0;
  std::string lastText_;
  int32_t lastColor_[2] = {0, 0};
};

}  // namespace lists
