#pragma once

namespace foundation {

// Anything with a place and a size in twips: a window whose placement is stored, a control being
// laid out. The routines that move and size things see them only through this.
class TwipsRect {
 public:
  virtual ~TwipsRect() = default;
  virtual double Left() const = 0;
  virtual double Top() const = 0;
  virtual double Width() const = 0;
  virtual double Height() const = 0;
  virtual void SetLeft(double twips) = 0;
  virtual void SetTop(double twips) = 0;
  virtual void SetWidth(double twips) = 0;
  virtual void SetHeight(double twips) = 0;
};

}  // namespace foundation
