#include "controls/widgets/button_strip_model.h"

#include <algorithm>
#include <cmath>

#include "foundation/colors.h"
#include "foundation/conversions.h"
#include "platform/system_colors.h"

namespace widgets {

namespace {

constexpr int32_t kHighlightRef = platform::SystemColorRef(platform::COLOR_BTNHIGHLIGHT);

// Pixel of a twips coordinate: CLng(twips) \ tpp.
int32_t PixelOf(double twips, int32_t tpp) {
  return tpp > 0 ? foundation::NearestInt32Saturated(twips) / tpp : 0;
}

}  // namespace

ButtonLook LookOfMode(int32_t pMode) {
  if (pMode == 1) return {1, true};
  if (pMode == 2) return {0, true};
  return {0, false};
}

void ButtonStripModel::SetNumButtons(int32_t count) {
  buttons_.assign(static_cast<size_t>(std::clamp(count, 1, kMaxButtons)), StripButton{});
}

const StripButton* ButtonStripModel::Button(int32_t index) const {
  if (index < 0 || index >= NumButtons()) return nullptr;
  return &buttons_[static_cast<size_t>(index)];
}

StripButton* ButtonStripModel::Button(int32_t index) {
  if (index < 0 || index >= NumButtons()) return nullptr;
  return &buttons_[static_cast<size_t>(index)];
}

void ButtonStripModel::SetDesignType(int32_t value) {
  DesignType = value;
  if (value == 1) SetSelectedColor(0xFFFFFF);
}

void ButtonStripModel::SetSelectedColor(int32_t colour) {
  selectedColor_ = colour;
  selectedDark_ = foundation::BlendColor(colour, -70, -70, -70, -1);
}

std::optional<std::vector<int32_t>> ButtonStripModel::SetSelectedButton(int32_t index) {
  if (index != -1 && Button(index) == nullptr) return std::nullopt;
  std::vector<int32_t> redraw;
  if (selectedButton_ != -1) redraw.push_back(selectedButton_);
  selectedButton_ = index;
  if (index != -1) redraw.push_back(index);
  return redraw;
}

bool ButtonStripModel::SetCaption(int32_t index, const std::string& caption) {
  StripButton* b = Button(index);
  if (b == nullptr) return false;
  b->Caption = caption;
  b->PicIndexa = -1;
  b->PicIndexn = -1;
  return true;
}

std::string ButtonStripModel::Caption(int32_t index) const {
  const StripButton* b = Button(index);
  return b != nullptr ? b->Caption : std::string();
}

void ButtonStripModel::SetPicIndexa(int32_t index, int32_t cell) {
  if (StripButton* b = Button(index)) {
    b->PicIndexa = cell;
    b->HasActiveImage = 1;
    b->Caption.clear();
  }
}

void ButtonStripModel::SetPicIndexn(int32_t index, int32_t cell) {
  if (StripButton* b = Button(index)) {
    b->PicIndexn = cell;
    b->Caption.clear();
  }
}

bool ButtonStripModel::SetDisabled(int32_t index, int32_t value, int32_t pTemp) {
  StripButton* b = Button(index);
  if (b == nullptr) return false;
  (pTemp != 0 ? b->DisabledTemp : b->Disabled) = value;
  return true;
}

int32_t ButtonStripModel::Disabled(int32_t index, int32_t pTemp) const {
  const StripButton* b = Button(index);
  if (b == nullptr) return 0;
  return pTemp != 0 ? b->DisabledTemp : b->Disabled;
}

bool ButtonStripModel::SetOn(int32_t index, int32_t value) {
  StripButton* b = Button(index);
  if (b == nullptr) return false;
  b->ButtonOn = value;
  return true;
}

int32_t ButtonStripModel::On(int32_t index) const {
  const StripButton* b = Button(index);
  return b != nullptr ? b->ButtonOn : 0;
}

void ButtonStripModel::NumberCaptions() {
  for (int32_t i = 0; i < NumButtons(); ++i) SetCaption(i, std::to_string(i + 1));
}

void ButtonStripModel::SetPictures(const std::vector<std::pair<int32_t, int32_t>>& cells,
                                   int32_t hasActive) {
  SetNumButtons(static_cast<int32_t>(cells.size()));
  for (size_t i = 0; i < cells.size() && i < buttons_.size(); ++i) {
    buttons_[i].PicIndexn = cells[i].first;
    buttons_[i].PicIndexa = cells[i].second;
    buttons_[i].HasActiveImage = hasActive;
  }
}

void ButtonStripModel::SetOKCancel(int32_t okIsZero, int32_t pType) {
  SetNumButtons(2);
  SetCaption(0, okIsZero != 0 ? "OK" : "キャンセル");
  SetCaption(1, okIsZero != 0 ? "キャンセル" : "OK");
  SetDesignType(pType);
}

void ButtonStripModel::Layout(int32_t widthPx, int32_t heightPx) {
  if (MimiWidth == -1) {
    if (DesignType == 0) {
      MimiWidth = 8;
    } else if (DesignType >= 1 && DesignType <= 4) {
      MimiWidth = 0;
    }
  }
  const int64_t ears = 2 * static_cast<int64_t>(Ear()) + 2;
  const int64_t width = (static_cast<int64_t>(widthPx) - ears) / NumButtons();
  buttonWidth_ = static_cast<int32_t>(std::clamp<int64_t>(width, 0, 1 << 20));
  controlWidth_ = static_cast<int32_t>(
      std::min<int64_t>(static_cast<int64_t>(buttonWidth_) * NumButtons() + ears, INT32_MAX));
  buttonHeight_ = std::max(heightPx, 0);
  for (int32_t i = 0; i < NumButtons(); ++i) {
    buttons_[static_cast<size_t>(i)].ButtonX = buttonWidth_ * i + Ear() + 1;
  }
}

void ButtonStripModel::CentreContent(int32_t index, double textWidth, double textHeight) {
  StripButton* b = Button(index);
  if (b == nullptr) return;
  const double half = buttonWidth_ / 2.0;
  if (b->IsPicture()) {
    b->ContentY = foundation::NearestInt32Saturated(buttonHeight_ / 2.0 - kPictureCellPx / 2);
    b->ContentX = foundation::NearestInt32Saturated(b->ButtonX + half - kPictureCellPx / 2);
  } else {
    b->ContentY = foundation::NearestInt32Saturated(buttonHeight_ / 2.0 - textHeight / 2);
    b->ContentX = foundation::NearestInt32Saturated(b->ButtonX + half - textWidth / 2);
  }
}

int32_t ButtonStripModel::HitTest(double x, int32_t tpp) const {
  if (tpp <= 0 || !std::isfinite(x)) return -1;
  const int32_t px = PixelOf(x, tpp);
  if (px < buttons_.front().ButtonX || px > buttons_.back().ButtonX + buttonWidth_) return -1;
  for (int32_t i = 0; i < NumButtons(); ++i) {
    if (px < buttons_[static_cast<size_t>(i)].ButtonX + buttonWidth_) return i;
  }
  return -1;
}

int32_t ButtonStripModel::PictureCell(int32_t index, bool lit) const {
  const StripButton* b = Button(index);
  if (b == nullptr) return -1;
  return b->HasActiveImage == 1 && lit ? b->PicIndexa : b->PicIndexn;
}

CaptionColours ButtonStripModel::CaptionLook(int32_t index, bool lit) const {
  CaptionColours look;
  const StripButton* b = Button(index);
  if (b == nullptr) return look;
  const bool on = b->ButtonOn == 1 || lit || index == selectedButton_;
  const bool disabled = b->IsDisabled();
  const int32_t darkest = foundation::SysColorToRgb(3);
  if (Disable3D == 0) look.shadow = disabled ? kHighlightRef : on ? selectedDark_ : darkest;
  if (disabled && NoGrayAtDisabled == 0) {
    look.main = kHighlightRef;
  } else if (on) {
    look.main = selectedColor_;
  } else {
    look.main = Disable3D != 0 ? darkest : kHighlightRef;
  }
  return look;
}

int32_t ButtonStripModel::Press(int32_t button, double x, int32_t tpp) {
  LastPressX = x;
  PressedButton = HitTest(x, tpp);
  const StripButton* b = Button(PressedButton);
  if (b == nullptr || b->IsDisabled() || button != 1) return -1;
  drawnPressed_ = PressedButton;
  return PressedButton;
}

StripRelease ButtonStripModel::Release(int32_t button, int32_t shift, double x, double y,
                                       int32_t tpp) {
  StripRelease r;
  const StripButton* b = Button(PressedButton);
  if (b != nullptr && !b->IsDisabled() && tpp > 0) {
    const int32_t px = PixelOf(x, tpp);
    const int32_t py = PixelOf(y, tpp);
    const bool over =
        px >= b->ButtonX && px <= b->ButtonX + buttonWidth_ && py >= 0 && py <= buttonHeight_;
    if (over && button == 1) {
      r.redraw = PressedButton;
      r.event = shift == 0 ? StripRelease::Event::Clicked : StripRelease::Event::ShiftClicked;
    } else if (over && button == 2) {
      r.event = StripRelease::Event::RightClicked;
    }
    if (r.event != StripRelease::Event::None) {
      r.index = PressedButton;
      r.shift = shift;
    }
  }
  // A button drawn pressed never stays so: released elsewhere it is redrawn without an event.
  if (r.redraw == -1 && drawnPressed_ != -1) r.redraw = drawnPressed_;
  drawnPressed_ = -1;
  PressedButton = -1;
  return r;
}

std::optional<int32_t> ButtonStripModel::Move(double x, int32_t tpp) {
  const int32_t index = HitTest(x, tpp);
  if (index == HoverButton) return std::nullopt;
  HoverButton = index;
  return index;
}

bool IsTintedCell(int32_t cell) {
  static constexpr int32_t kKept[] = {8, 9, 10, 11, 13, 18, 19, 20, 23, 24};
  if (cell < 0 || cell >= kPictureCellCount) return false;
  return std::find(std::begin(kKept), std::end(kKept), cell) == std::end(kKept);
}

int32_t TintChannel(int32_t channel, int32_t face) {
  return std::clamp(foundation::NearestInt32Saturated(channel * (face / 210.0)), 0, 255);
}

}  // namespace widgets
