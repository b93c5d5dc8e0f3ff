#include "foundation/view/widget_layout_control.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "foundation/app_globals.h"

namespace foundation {

namespace {

int32_t TwipsPerPixel() { return std::max(1, Globals().TwipsPerPixel); }

// Twips to whole pixels, halves to even, held within a widget's range.
int ToPixels(double twips) {
  const double pixels = std::nearbyint(twips / TwipsPerPixel());
  if (std::isnan(pixels)) return 0;
  constexpr double kLimit = 1 << 24;  // QWIDGETSIZE_MAX
  return static_cast<int>(std::clamp(pixels, -kLimit, kLimit));
}

double ToTwips(int pixels) { return static_cast<double>(pixels) * TwipsPerPixel(); }

bool TakesFocus(const QWidget* widget) { return widget->focusPolicy() != Qt::NoFocus; }

// Visits the widgets of the focus chain from `parent` on, until the chain comes back to it or
// `visit` returns false. The chain is a ring through the whole window; the walk is bounded in
// case a broken chain never comes back.
template <typename Visit>
void WalkFocusChain(QWidget* parent, Visit visit) {
  constexpr int kMaxSteps = 1000000;
  QWidget* w = parent->nextInFocusChain();
  for (int steps = 0; w != nullptr && w != parent && steps < kMaxSteps; ++steps) {
    if (!visit(w)) return;
    w = w->nextInFocusChain();
  }
}

// A child of `parent` that has a place in its tab order.
bool IsTabSibling(const QWidget* w, const QWidget* parent) {
  return w->parentWidget() == parent && !w->isWindow() && TakesFocus(w);
}

}  // namespace

double WidgetLayoutControl::Left() const { return widget_ ? ToTwips(widget_->x()) : 0; }
double WidgetLayoutControl::Top() const { return widget_ ? ToTwips(widget_->y()) : 0; }
double WidgetLayoutControl::Width() const { return widget_ ? ToTwips(widget_->width()) : 0; }
double WidgetLayoutControl::Height() const { return widget_ ? ToTwips(widget_->height()) : 0; }

void WidgetLayoutControl::SetLeft(double twips) {
  if (widget_) widget_->move(ToPixels(twips), widget_->y());
}
void WidgetLayoutControl::SetTop(double twips) {
  if (widget_) widget_->move(widget_->x(), ToPixels(twips));
}
void WidgetLayoutControl::SetWidth(double twips) {
  if (widget_) widget_->resize(std::max(0, ToPixels(twips)), widget_->height());
}
void WidgetLayoutControl::SetHeight(double twips) {
  if (widget_) widget_->resize(widget_->width(), std::max(0, ToPixels(twips)));
}

bool WidgetLayoutControl::Visible() const { return widget_ && !widget_->isHidden(); }
void WidgetLayoutControl::SetVisible(bool visible) {
  if (widget_) widget_->setVisible(visible);
}

int32_t WidgetLayoutControl::TabIndex() const {
  if (!widget_ || widget_->parentWidget() == nullptr) return 0;
  QWidget* parent = widget_->parentWidget();
  int32_t before = 0;
  WalkFocusChain(parent, [&](QWidget* w) {
    if (w == widget_) return false;
    if (IsTabSibling(w, parent)) ++before;
    return true;
  });
  return before;
}

void WidgetLayoutControl::SetTabIndex(int32_t index) {
  if (!widget_ || widget_->parentWidget() == nullptr || !TakesFocus(widget_)) return;
  QWidget* parent = widget_->parentWidget();
  std::vector<QWidget*> order;
  WalkFocusChain(parent, [&](QWidget* w) {
    if (w != widget_ && IsTabSibling(w, parent)) order.push_back(w);
    return true;
  });
  const size_t at = static_cast<size_t>(std::clamp<int64_t>(index, 0, order.size()));
  order.insert(order.begin() + static_cast<std::ptrdiff_t>(at), widget_.data());
  for (size_t i = 0; i + 1 < order.size(); ++i) QWidget::setTabOrder(order[i], order[i + 1]);
}

bool WidgetLayoutControl::SetContainerFrom(const LayoutControl& other) {
  const auto* peer = dynamic_cast<const WidgetLayoutControl*>(&other);
  if (peer == nullptr || !widget_ || peer->widget() == nullptr) return false;
  QWidget* container = peer->widget()->parentWidget();
  if (widget_->parentWidget() != container) widget_->setParent(container);
  return true;
}

WidgetControlArray::WidgetControlArray(QWidget& first, Factory factory)
    : factory_(std::move(factory)) {
  elements_[0] = std::make_unique<WidgetLayoutControl>(&first);
}

QWidget* WidgetControlArray::widget(int32_t index) const {
  const auto it = elements_.find(index);
  return it == elements_.end() ? nullptr : it->second->widget();
}

LayoutControl* WidgetControlArray::Element(int32_t index) {
  const auto it = elements_.find(index);
  if (it == elements_.end() || it->second->widget() == nullptr) return nullptr;
  return it->second.get();
}

LayoutControl* WidgetControlArray::Load(int32_t index) {
  if (widget(index) != nullptr || !factory_) return nullptr;
  QWidget* model = widget(0);
  if (model == nullptr) return nullptr;
  QWidget* made = factory_(*model);
  if (made == nullptr) return nullptr;
  if (made->parentWidget() == nullptr && model->parentWidget() != nullptr) {
    made->setParent(model->parentWidget());
  }
  made->setGeometry(model->geometry());
  made->setFont(model->font());
  made->hide();
  auto& slot = elements_[index];
  slot = std::make_unique<WidgetLayoutControl>(made);
  return slot.get();
}

}  // namespace foundation
