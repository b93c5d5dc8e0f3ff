#pragma once

#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>

#include "foundation/control_layout.h"
#include "foundation/view/qt_font_factory.h"

namespace foundation {

// A widget seen as a LayoutControl: positions and sizes in twips (pixels times TwipsPerPixel;
// twips written are turned into the nearest whole pixel, halves to even), Visible its own
// shown/hidden flag, the container its parent widget. TabIndex is the widget's place among its
// siblings in the focus chain (0 first); setting it moves the widget to that place. A widget
// that has been destroyed reads as 0 and ignores writes.
class WidgetLayoutControl final : public LayoutControl {
 public:
  explicit WidgetLayoutControl(QWidget* widget) : widget_(widget), font_(widget) {}

  QWidget* widget() const { return widget_; }

  double Left() const override;
  double Top() const override;
  double Width() const override;
  double Height() const override;
  void SetLeft(double twips) override;
  void SetTop(double twips) override;
  void SetWidth(double twips) override;
  void SetHeight(double twips) override;
  bool Visible() const override;
  void SetVisible(bool visible) override;
  int32_t TabIndex() const override;
  void SetTabIndex(int32_t index) override;
  // Only another widget's container can be taken.
  bool SetContainerFrom(const LayoutControl& other) override;
  FontWindow* FontTarget() override { return &font_; }

 private:
  QPointer<QWidget> widget_;
  WidgetFontWindow font_;
};

// A control array of widgets: element 0 is the designed widget, further elements are made at
// run time by a factory. Qt has no control arrays; the factory stands for the platform's
// creation of a further element: it makes a new widget of the same class as the model (element
// 0) in the model's container. The array gives the new element the model's position, size and
// font; anything else it should share with the model (texts, styles, connections) is the
// factory's to copy. Elements are owned by their parent widgets.
class WidgetControlArray final : public ControlArray {
 public:
  using Factory = std::function<QWidget*(QWidget& model)>;

  WidgetControlArray(QWidget& first, Factory factory);

  // A factory that makes a plain `W` in the model's container.
  template <typename W>
  static Factory SameClass() {
    return [](QWidget& model) -> QWidget* { return new W(model.parentWidget()); };
  }

  // The widget of element `index`, or null when it is not loaded (or was destroyed).
  QWidget* widget(int32_t index) const;

  LayoutControl* Element(int32_t index) override;
  // Makes the element hidden, at the model's place and size, in the model's container when the
  // factory left it without one.
  // Null when the element exists, the model is gone or the factory makes nothing.
  LayoutControl* Load(int32_t index) override;

 private:
  Factory factory_;
  std::map<int32_t, std::unique_ptr<WidgetLayoutControl>> elements_;
};

}  // namespace foundation
