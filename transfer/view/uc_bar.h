#pragma once

#include <cstdint>

#include "platform/view/picture_box.h"

namespace transfer {

// The progress bar of the transfer panel's mode 1: a sunken track filled from the left in the
// active-caption colour, Value 0 (empty) to 1000 (full).
class UC_Bar : public platform::PictureBox {
  Q_OBJECT

 public:
  // The scale is the process's TwipsPerPixel at creation.
  explicit UC_Bar(QWidget* parent = nullptr);

  // Draws the bar at its current value.
  void Init();
  float Value() const { return value_; }
  // Held within 0 to 1000 (NaN counts as 0); redraws.
  void SetValue(float pValue);

 private:
  void Draw();

  float value_ = 0;
};

}  // namespace transfer
