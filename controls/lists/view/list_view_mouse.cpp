// The rows area under the mouse: selection by press, click events, tooltips, drag-scrolling,
// dragging the selection out, drops and the auto-scroll while something rests over the rows;
// the wheel.
#include <QMimeData>
#include <QWheelEvent>
#include <cmath>

#include "controls/lists/list_scroll.h"
#include "controls/lists/view/uc_list_view.h"
#include "foundation/conversions.h"
#include "foundation/error_traps.h"
#include "platform/clock.h"
#include "platform/twips.h"

namespace lists {

void UC_ListView::ListMouseDown(int32_t button, int32_t shift, double x, double y) {
  if (clickDisabled_ == 1 || oneHeight_ == 0) return;
  pressed_ = true;
  emit MouseDown(static_cast<int16_t>(button), static_cast<int16_t>(shift), static_cast<float>(x),
                 static_cast<float>(y));
  if (button != 1) return;
  dragOrigin_.Set(x, y);
  vbarAtPress_ = vbar_ != nullptr ? vbar_->Value() : 0;
  hbarAtPress_ = hbar_ != nullptr ? hbar_->Value() : 0;
  ListModel& m = *model_;
  if (m.ItemCount() < 1) {
    m.SetSelectedItem(-1);
    return;
  }
  const int32_t tpp = pictureList_->Surface().TwipsPerPixel();
  const int32_t row = PressedRow(y, oneHeight_, m.TopItem(), m.ItemCount(), tpp);
  m.PressSelect(row, static_cast<int16_t>(shift), noMultiSelect_ != 0);
  m.SetSelectedData(TabAtX(x));
  ReDraw();
}

void UC_ListView::ListMouseMove(int32_t button, double x, double y) {
  if (clickDisabled_ == 1) return;
  const ListModel& m = *model_;
  const int32_t tpp = pictureList_->Surface().TwipsPerPixel();
  if (showToolTip_ != 0) {
    const int32_t row = PressedRow(y, oneHeight_, m.TopItem(), m.ItemCount(), tpp);
    const std::string text = m.Value(row, TabAtX(x)).Text();
    pictureList_->setToolTip(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  }
  if (button == 1) {
    if (useScroll_ != 0) {
      if (vbar_->Visible() && oneHeight_ > 0) {
        const int64_t rows = foundation::NearestInt32Saturated(dragOrigin_.Y() - y) / oneHeight_;
        const int64_t top = std::clamp<int64_t>(vbarAtPress_ + rows, INT32_MIN, INT32_MAX);
        if (top != m.TopItem()) SetTopItem(static_cast<int32_t>(top), 1, 0);
      }
      if (hbar_->Visible()) {
        hbar_->SetValue(StepBarValue(hbarAtPress_,
                                     foundation::NearestInt32Saturated(dragOrigin_.X() - x),
                                     hbar_->Min(), hbar_->Max()));
        if (hbar_->IsSlider()) HBarValueChanged();
      }
    } else if (m.ItemCount() > 0 && dragOrigin_.TakeDragAt(x, y, tpp)) {
      StartDrag();
    }
  }
  if (pointer_ == 9) SetPointer(0);
}

void UC_ListView::StartDrag() {
  if (clickDisabled_ == 1 || model_->ItemCount() < 1) return;
  const auto effect = dragDrop_->Drag(
      [this](QMimeData* data, int32_t* allowed) { emit OLEStartDrag(data, allowed); });
  // Nothing to drag: the gesture stays a click, and its release raises Clicked.
  if (!effect) return;
  // The drag took the button's release.
  pressed_ = false;
  emit OLECompleteDrag(*effect);
}

void UC_ListView::ListMouseUp(int32_t button, double x, double y) {
  if (clickDisabled_ == 1 || !pressed_) return;
  pressed_ = false;
  if (button == 2) {
    emit RightClicked(static_cast<float>(x), static_cast<float>(y));
  } else {
    emit Clicked(static_cast<float>(x), static_cast<float>(y));
    ReDraw();
  }
  dragOrigin_.Clear();
}

void UC_ListView::ListDblClick() {
  if (clickDisabled_ == 1 || model_->ItemCount() <= 0) return;
  emit DblClicked();
}

void UC_ListView::DragOverAt(double x, double y) {
  emit OLEDragOver();
  if (noOleScroll_ != 0 || vbar_ == nullptr || !vbar_->Visible()) return;
  DragOverArea area;
  area.oneHeight = oneHeight_;
  area.listHeight = pictureList_->Surface().ScaleHeight();
  area.value = vbar_->Value();
  area.largeChange = vbar_->LargeChange();
  area.min = vbar_->Min();
  area.max = vbar_->Max();
  const double now = static_cast<double>(platform::CurrentClock().MonotonicMs()) / 1000.0;
  const auto value = dragOver_.Over(x, y, now, area);
  if (!value) return;
  vbar_->SetValue(*value);
  // A slider reports no change for a value set by code.
  if (vbar_->IsSlider()) VBarValueChanged();
}

void UC_ListView::Dropped(RowsDrop& drop) {
  emit OLEDragDrop(drop.data, &drop.effect, drop.button, drop.shift, drop.x, drop.y);
}

bool UC_ListView::eventFilter(QObject* watched, QEvent* event) {
  bool handled = false;
  foundation::RunTrapped("UC_ListView.TextComboKeyAction",
                         [&] { handled = EditorKey(watched, event); });
  return handled;
}

void UC_ListView::wheelEvent(QWheelEvent* event) {
  // One notch is 120; finer wheels add up to whole notches.
  wheelRest_ += event->angleDelta().y();
  const int notches = wheelRest_ / 120;
  wheelRest_ -= notches * 120;
  event->accept();
  if (notches != 0) {
    foundation::RunTrapped("UC_ListView.MouseWheel", [&] { VBarScroll(-notches); });
  }
}

}  // namespace lists
