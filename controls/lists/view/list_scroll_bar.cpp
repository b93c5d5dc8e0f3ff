#include "controls/lists/view/list_scroll_bar.h"

#include <QScrollBar>
#include <algorithm>
#include <cmath>

#include "controls/widgets/view/uc_slider.h"
#include "foundation/conversions.h"
#include "platform/twips.h"

namespace lists {

namespace {

class SliderScrollBar final : public ListScrollBar {
 public:
  SliderScrollBar(QWidget* frame, bool vertical, int32_t tpp, int borderPx)
      : ListScrollBar(tpp, borderPx), slider_(new widgets::UC_Slider(frame)) {
    slider_->SetNoGrad(1);
    if (vertical) slider_->SetIsVertical(1);
    slider_->Init();
    connect(slider_, &widgets::UC_Slider::MouseUD, this, [this] { emit Changed(); });
    connect(slider_, &widgets::UC_Slider::Scrolled, this, [this] { emit Changed(); });
    connect(slider_, &widgets::UC_Slider::DblClicked, this, [this] { emit Changed(); });
  }
  int32_t Value() const override { return slider_ ? slider_->Value() : 0; }
  void SetValue(int32_t value) override {
    if (slider_) slider_->SetValue(value);
  }
  int32_t Max() const override { return slider_ ? slider_->Max() : 0; }
  void SetMax(int32_t max) override {
    if (slider_) slider_->SetMax(max);
  }
  int32_t Min() const override { return slider_ ? slider_->Min() : 0; }
  int32_t LargeChange() const override { return slider_ ? slider_->LargeChange() : 0; }
  void SetLargeChange(int32_t step) override {
    if (slider_) slider_->SetLargeChange(step);
  }
  void SetSmallChange(int32_t step) override {
    if (slider_) slider_->SetSmallChange(step);
  }
  bool Visible() const override { return slider_ && slider_->Visible(); }
  void SetVisible(bool visible) override {
    if (slider_) slider_->SetVisible(visible);
  }
  bool IsSlider() const override { return true; }
  void Relayout(float pointerRate) override {
    if (!slider_) return;
    slider_->Init();
    slider_->SetPointerSize(pointerRate);
    // Set again to itself: held to the new range and the pointer drawn where it now belongs.
    slider_->SetValue(slider_->Value());
  }
  QWidget* Widget() const override { return slider_; }

 private:
  QPointer<widgets::UC_Slider> slider_;
};

class StandardScrollBar final : public ListScrollBar {
 public:
  StandardScrollBar(QWidget* frame, bool vertical, int32_t tpp, int borderPx)
      : ListScrollBar(tpp, borderPx),
        bar_(new QScrollBar(vertical ? Qt::Vertical : Qt::Horizontal, frame)) {
    bar_->setFocusPolicy(Qt::NoFocus);
    bar_->setRange(0, 32767);
    connect(bar_, &QScrollBar::valueChanged, this, [this] { emit Changed(); });
  }
  int32_t Value() const override { return bar_ ? bar_->value() : 0; }
  void SetValue(int32_t value) override {
    if (bar_) bar_->setValue(value);
  }
  int32_t Max() const override { return bar_ ? bar_->maximum() : 0; }
  void SetMax(int32_t max) override {
    if (bar_) bar_->setMaximum(std::max(max, bar_->minimum()));
  }
  int32_t Min() const override { return bar_ ? bar_->minimum() : 0; }
  int32_t LargeChange() const override { return bar_ ? bar_->pageStep() : 0; }
  void SetLargeChange(int32_t step) override {
    if (bar_) bar_->setPageStep(step);
  }
  void SetSmallChange(int32_t step) override {
    if (bar_) bar_->setSingleStep(step);
  }
  bool Visible() const override { return bar_ && !bar_->isHidden(); }
  void SetVisible(bool visible) override {
    if (bar_) bar_->setVisible(visible);
  }
  bool IsSlider() const override { return false; }
  void Relayout(float) override {}
  QWidget* Widget() const override { return bar_; }

 private:
  QPointer<QScrollBar> bar_;
};

}  // namespace

double ListScrollBar::Left() const {
  const QWidget* w = Widget();
  return w ? double(w->x() - borderPx_) * twipsPerPixel_ : 0.0;
}
double ListScrollBar::Top() const {
  const QWidget* w = Widget();
  return w ? double(w->y() - borderPx_) * twipsPerPixel_ : 0.0;
}
double ListScrollBar::Width() const {
  const QWidget* w = Widget();
  return w ? double(w->width()) * twipsPerPixel_ : 0.0;
}
double ListScrollBar::Height() const {
  const QWidget* w = Widget();
  return w ? double(w->height()) * twipsPerPixel_ : 0.0;
}
void ListScrollBar::SetLeft(double twips) { Place(twips, Top(), Width(), Height()); }
void ListScrollBar::SetTop(double twips) { Place(Left(), twips, Width(), Height()); }
void ListScrollBar::SetWidth(double twips) { Place(Left(), Top(), twips, Height()); }
void ListScrollBar::SetHeight(double twips) { Place(Left(), Top(), Width(), twips); }

void ListScrollBar::Place(double left, double top, double width, double height) {
  QWidget* w = Widget();
  if (w == nullptr) return;
  const int32_t tpp = twipsPerPixel_;
  w->setGeometry(borderPx_ + platform::TwipsToPixels(left, tpp),
                 borderPx_ + platform::TwipsToPixels(top, tpp),
                 std::max(0, platform::TwipsToPixels(width, tpp)),
                 std::max(0, platform::TwipsToPixels(height, tpp)));
}

ListScrollBar* MakeSliderScrollBar(QWidget* frame, bool vertical, int32_t twipsPerPixel,
                                   int borderPx) {
  return new SliderScrollBar(frame, vertical, twipsPerPixel, borderPx);
}

ListScrollBar* MakeStandardScrollBar(QWidget* frame, bool vertical, int32_t twipsPerPixel,
                                     int borderPx) {
  return new StandardScrollBar(frame, vertical, twipsPerPixel, borderPx);
}

}  // namespace lists
