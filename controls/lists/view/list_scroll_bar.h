#pragma once

#include <QObject>
#include <QPointer>
#include <cstdint>

class QScrollBar;
class QWidget;

namespace widgets {
class UC_Slider;
}

namespace lists {

// One scroll bar of a list view, whichever kind it is: the list's own slider (UseUCBar) or the
// platform's standard scroll bar. The list reads and writes both through the same members;
// geometry is twips inside the frame that holds the bar (its border already allowed for).
//
// Changed is raised for every event of the bar that may have moved its value. A standard bar
// raises it also when code sets a different value, as the platform's bar does; a slider raises
// it only for user input, so the list applies a value it set on a slider itself.
class ListScrollBar : public QObject {
  Q_OBJECT

 public:
  virtual int32_t Value() const = 0;
  virtual void SetValue(int32_t value) = 0;
  virtual int32_t Max() const = 0;
  virtual void SetMax(int32_t max) = 0;
  virtual int32_t Min() const = 0;
  virtual int32_t LargeChange() const = 0;
  virtual void SetLargeChange(int32_t step) = 0;
  virtual void SetSmallChange(int32_t step) = 0;
  virtual bool Visible() const = 0;
  virtual void SetVisible(bool visible) = 0;
  // True for the list's own slider bar.
  virtual bool IsSlider() const = 0;
  // The slider's layout for its present size and its pointer's share; nothing for a standard
  // bar, which lays itself out.
  virtual void Relayout(float pointerRate) = 0;
  virtual QWidget* Widget() const = 0;

  double Left() const;
  double Top() const;
  double Width() const;
  double Height() const;
  void SetLeft(double twips);
  void SetTop(double twips);
  void SetWidth(double twips);
  void SetHeight(double twips);

 signals:
  void Changed();

 protected:
  ListScrollBar(int32_t twipsPerPixel, int borderPx)
      : twipsPerPixel_(twipsPerPixel), borderPx_(borderPx) {}

 private:
  void Place(double left, double top, double width, double height);

  int32_t twipsPerPixel_;
  int borderPx_;
};

// A slider bar made in `frame`: NoGrad, vertical when asked, laid out once.
ListScrollBar* MakeSliderScrollBar(QWidget* frame, bool vertical, int32_t twipsPerPixel,
                                   int borderPx);
// A standard scroll bar made in `frame`, left out of the tab order.
ListScrollBar* MakeStandardScrollBar(QWidget* frame, bool vertical, int32_t twipsPerPixel,
                                     int borderPx);

}  // namespace lists
