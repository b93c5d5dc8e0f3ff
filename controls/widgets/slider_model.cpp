#include "controls/widgets/slider_model.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "foundation/conversions.h"
#include "platform/twips.h"

namespace widgets {

namespace {

int32_t ClampToLong(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

// CLng(centre \ (2 × tpp) − cell / 2): an image of `cell` pixels centred in a button of `side`
// twips.
int32_t CentredImage(double side, int32_t cell, int32_t tpp) {
  const int32_t whole = foundation::NearestInt32Saturated(side) / (2 * tpp);
  return foundation::NearestInt32Saturated(whole - cell / 2.0);
}

}  // namespace

void SliderModel::SetTwipsPerPixel(int32_t twipsPerPixel) {
  twipsPerPixel_ = std::clamp(twipsPerPixel, 0, 1440);
}

void SliderModel::SetMax(int32_t max) {
  max_ = max;
  range_ = static_cast<int64_t>(max_) - min_;
}

void SliderModel::SetMin(int32_t min) {
  min_ = min;
  range_ = static_cast<int64_t>(max_) - min_;
}

std::optional<double> SliderModel::SetSliderValue(int32_t value) {
  if (range_ == 0) return std::nullopt;
  value_ = std::max(std::min(value, max_), min_);
  if (trackLength_ <= 0) return 0.0;
  const double offset = static_cast<double>(value_) - min_;
  return static_cast<double>(foundation::NearestInt32Saturated(
      static_cast<double>(trackLength_) / static_cast<double>(range_) * offset));
}

std::optional<double> SliderModel::PositionToValue(int32_t position) {
  if (range_ == 0 || trackLength_ <= 0) return std::nullopt;
  const double raw =
      static_cast<double>(range_) / static_cast<double>(trackLength_) * position + min_;
  const int32_t value = foundation::NearestInt32Saturated(raw);
  double drawn = position;
  if (value > max_) {
    value_ = max_;
    drawn = trackLength_;
  } else if (value < min_) {
    value_ = min_;
    drawn = 0;
  } else {
    value_ = value;
  }
  return drawn;
}

void SliderModel::LetPointerSize(int32_t twips) {
  pointerSize_ = twips;
  trackLength_ = foundation::NearestInt32Saturated(InnerLength() - pointerSize_);
}

bool SliderModel::SetPointerRate(float rate) {
  if (twipsPerPixel_ <= 0) return false;
  float share = std::isnan(rate) ? 0.0F : rate;
  if (share >= 1.0F) share = 0.95F;
  // Single precision, as the rate and the inner length are.
  const float product = share * static_cast<float>(InnerLength());
  int32_t size = foundation::NearestInt32Saturated(product);
  const int32_t smallest = 8 * twipsPerPixel_;
  if (size < smallest) size = smallest;
  pointerSize_ = size;
  return true;
}

bool SliderModel::Layout(double width, double height, SliderLayout* layout) {
  if (twipsPerPixel_ <= 0 || layout == nullptr) return false;
  const int32_t tpp = twipsPerPixel_;
  const double px = tpp;
  // The arrow buttons keep their designed side in whole pixels.
  const double arrowSide =
      static_cast<double>(platform::TwipsToPixels(kSliderArrowTwips, tpp)) * tpp;
  // A control cannot be smaller than nothing.
  width = std::isfinite(width) ? std::max(width, 0.0) : 0.0;
  height = std::isfinite(height) ? std::max(height, 0.0) : 0.0;
  SliderLayout out;
  const bool arrows = NoArrow == 0;
  out.arrowsVisible = arrows;
  if (IsVertical != 0) {
    out.track = {0, 0, width, height};
    out.arrow[0] = {0, 0, width, arrowSide};
    if (arrows) {
      out.track.height = std::max<double>(
          foundation::NearestInt32Saturated(height - 2 * arrowSide - px), kSliderMinInner);
      out.track.top = arrowSide + px;
    }
    out.arrow[1] = {0, out.track.top + out.track.height, width, arrowSide};
    out.cell = {10, 6, 6};
  } else {
    out.track = {0, 0, width, height};
    out.arrow[0] = {0, 0, arrowSide, height};
    if (arrows) {
      // The same floor as the vertical track, so a narrow control never gets a negative track.
      out.track.width = std::max<double>(
          foundation::NearestInt32Saturated(width - 2 * arrowSide - px), kSliderMinInner);
      out.track.left = arrowSide + px;
    }
    out.arrow[1] = {out.track.left + out.track.width, 0, arrowSide, height};
    out.cell = {6, 10, 10};
  }
  innerHeight_ = std::max(out.track.height - Pixels(2 * kSliderTrackBorderPx), kSliderMinInner);
  innerWidth_ = std::max(out.track.width - Pixels(2 * kSliderTrackBorderPx), kSliderMinInner);
  for (int i = 0; i < 2; ++i) {
    out.arrowImageY[i] = CentredImage(out.arrow[i].height, out.cell.height, tpp);
    out.arrowImageX[i] = CentredImage(out.arrow[i].width, out.cell.width, tpp);
  }
  *layout = out;
  return true;
}

bool SliderModel::FitPointer(const TwipsRect& track) {
  if (twipsPerPixel_ <= 0) return false;
  const double border = Pixels(2 * kSliderTrackBorderPx);
  // The inner size keeps its floor here as well: a track box smaller than its own border still
  // has an inside of one pixel or so, never a negative one.
  if (IsVertical != 0) {
    innerHeight_ = std::max(track.height - border, kSliderMinInner);
  } else {
    innerWidth_ = std::max(track.width - border, kSliderMinInner);
  }
  trackLength_ = foundation::NearestInt32Saturated(InnerLength() - pointerSize_);
  return true;
}

std::vector<double> SliderModel::GripLines() const {
  std::vector<double> lines;
  if (twipsPerPixel_ <= 0) return lines;
  if (CenterLined) {
    lines.push_back((pointerSize_ / (2 * twipsPerPixel_) - 1) *
                    static_cast<double>(twipsPerPixel_));
  } else if (NoGrad == 0) {
    lines.push_back(Pixels(4));
    lines.push_back(pointerSize_ - Pixels(6));
  }
  return lines;
}

std::optional<double> SliderModel::EndLine() const {
  if (twipsPerPixel_ <= 0 || NoGrad != 0) return std::nullopt;
  return pointerSize_ - Pixels(1);
}

int32_t SliderModel::PressAt(double c) {
  if (!std::isfinite(c)) c = 0;
  if (pointerPos_ < c && c < pointerPos_ + pointerSize_) {
    grabOffset_ = static_cast<float>(c - pointerPos_);
  } else {
    grabOffset_ = static_cast<float>(pointerSize_ / 2.0);
  }
  return foundation::NearestInt32Saturated(c - grabOffset_);
}

std::optional<int32_t> SliderModel::DragTo(double c) {
  if (!std::isfinite(c)) return std::nullopt;
  const float at = static_cast<float>(c);
  if (at == lastMouse_) return std::nullopt;
  lastMouse_ = at;
  return foundation::NearestInt32Saturated(static_cast<double>(at) - grabOffset_);
}

int32_t SliderModel::ArrowStep(std::optional<double>* position) {
  int32_t arrow = -1;
  int64_t target = value_;
  if (ArrowPressed[0] == 1) {
    arrow = 0;
    target -= SmallChange;
  } else if (ArrowPressed[1] == 1) {
    arrow = 1;
    target += SmallChange;
  } else {
    return -1;
  }
  const std::optional<double> drawn = SetSliderValue(ClampToLong(target));
  if (position != nullptr) *position = drawn;
  return arrow;
}

}  // namespace widgets
