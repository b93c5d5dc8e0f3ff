// The scroll bars of the list view and the visible window of rows and columns.
#include "controls/lists/list_scroll.h"
#include "controls/lists/view/uc_list_view.h"

namespace lists {

void UC_ListView::SetVbarParm() {
  if (hbar_ == nullptr || vbar_ == nullptr) return;
  ScrollFrame frame;
  frame.allWidth = pictureAll_->Width();
  frame.allHeight = pictureAll_->Height();
  frame.listTop = ListTop();
  frame.twipsPerPixel = pictureAll_->Surface().TwipsPerPixel();
  frame.oneHeight = oneHeight_;
  frame.itemCount = model_->ItemCount();
  frame.totalColumnWidth = model_->Columns().TotalWidth();
  frame.vbarDisabled = vbarDisabled_;
  frame.hbarDisabled = hbarDisabled_;
  frame.vbarWidth = vbar_->Width();
  frame.hbarHeight = hbar_->Height();
  frame.sliderBars = vbar_->IsSlider();
  const ScrollFit fit = FitScrollBars(frame, visibleRows_);
  PlaceInAll(pictureList_, 0, ListTop(), fit.listWidth, fit.listHeight);
  visibleRows_ = fit.visibleRows;
  ApplyBar(*vbar_, fit.vertical, true);
  ApplyBar(*hbar_, fit.horizontal, false);
  hScrollOffset_ = hbar_->Visible() ? hbar_->Value() : 0;
  // The first visible row is the bar's value: a slider does not report the value it was held
  // to, so without this a list cut from many rows to few would show none of them.
  const int32_t top = vbar_->Visible() ? vbar_->Value() : 0;
  model_->SetTopItem(top);
  model_->SetLastDrawnTop(top);
}

void UC_ListView::ApplyBar(ListScrollBar& bar, const BarFit& fit, bool vertical) {
  if (!fit.visible) {
    bar.SetValue(0);
    bar.SetVisible(false);
    return;
  }
  bar.SetMax(fit.max);
  bar.SetLargeChange(fit.largeChange);
  if (vertical) {
    bar.SetHeight(fit.length);
  } else {
    bar.SetWidth(fit.length);
  }
  bar.Relayout(static_cast<float>(fit.ratio));
  bar.SetVisible(true);
}

void UC_ListView::Refresh() {
  SetVbarParm();
  if (hbar_ != nullptr) {
    hbar_->SetValue(0);
    vbar_->SetValue(0);
  }
  model_->SetTopItem(0);
  model_->SetLastDrawnTop(0);
  hScrollOffset_ = 0;
  ReDraw();
  ReDrawTab(-1);
}

void UC_ListView::VBarMove(int32_t pValue) {
  if (vbar_ == nullptr || !vbar_->Visible()) return;
  vbar_->SetValue(StepBarValue(vbar_->Value(), pValue, vbar_->Min(), vbar_->Max()));
}

void UC_ListView::VBarScroll(int32_t pValue) {
  if (vbar_ == nullptr || !vbar_->Visible() || pValue == 0) return;
  VBarMove(static_cast<int32_t>(
      std::clamp<int64_t>(int64_t{numWheelScroll_} * pValue, INT32_MIN, INT32_MAX)));
  VBarValueChanged();
}

void UC_ListView::HBarMove(int32_t pValue) {
  if (hbar_ == nullptr || !hbar_->Visible()) return;
  hbar_->SetValue(StepBarValue(hbar_->Value(), pValue, hbar_->Min(), hbar_->Max()));
}

void UC_ListView::HBarScroll(int32_t pValue) {
  if (hbar_ == nullptr || !hbar_->Visible() || pValue == 0) return;
  HBarMove(pValue);
  HBarValueChanged();
}

void UC_ListView::VBarValueChanged() {
  model_->SetTopItem(vbar_->Value());
  if (model_->TopItem() == model_->LastDrawnTop()) return;
  ReDraw();
  model_->SetLastDrawnTop(model_->TopItem());
}

void UC_ListView::HBarValueChanged() {
  hScrollOffset_ = hbar_->Value();
  ReDrawTab(-1);
  ReDraw();
}

void UC_ListView::SetTopItem(int32_t pItem, int32_t pSetToTop, int32_t pIfHidden) {
  const bool barShown = vbar_ != nullptr && vbar_->Visible();
  const auto top = TopItemFor(pItem, model_->ItemCount(), barShown, barShown ? vbar_->Max() : 0,
                              visibleRows_, model_->TopItem(), pSetToTop, pIfHidden);
  if (top) {
    model_->SetTopItem(*top);
    model_->SetLastDrawnTop(*top);
    if (barShown) vbar_->SetValue(*top);
  }
  ReDraw();
}

void UC_ListView::ShowSelected(int32_t pIfHidden) {
  SetTopItem(model_->SelectedItem(), 0, pIfHidden);
}

void UC_ListView::ShowItem(int32_t pTopItem, int32_t pIfHidden) {
  SetTopItem(pTopItem, 1, pIfHidden);
}

}  // namespace lists
