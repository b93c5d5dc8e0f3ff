#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace widgets {

// A rectangle in twips of the slider control.
struct TwipsRect {
  double left = 0;
  double top = 0;
  double width = 0;
  double height = 0;
};

// One arrow image cell of the arrow sheets, in pixels: its size and the sheet row where its mask
// starts (the image rows are above it).
struct ArrowCell {
  int32_t width = 6;
  int32_t height = 10;
  int32_t maskRow = 10;
};

// Where Init puts the slider's parts for one control size.
struct SliderLayout {
  TwipsRect track;     // the track box, border included
  TwipsRect arrow[2];  // 0 left or top (decrease), 1 right or bottom (increase)
  bool arrowsVisible = true;
  ArrowCell cell;
  // Pixel position of each arrow image inside its button (centred).
  int32_t arrowImageX[2] = {0, 0};
  int32_t arrowImageY[2] = {0, 0};
};

// Side of an arrow button as designed, twips.
inline constexpr double kSliderArrowTwips = 270;
// Interval of the arrow repeat, milliseconds.
inline constexpr int kSliderRepeatMs = 200;
// The smallest inner length and thickness of the track, twips.
inline constexpr double kSliderMinInner = 15;
// Border of the track box on each side, pixels.
inline constexpr int32_t kSliderTrackBorderPx = 2;

// The slider's state and its arithmetic, free of drawing: value and range, the pointer's length
// and travel, the mapping between value and pointer position, grabbing and dragging, the arrow
// repeat. All lengths are twips; pixels are twips divided by TwipsPerPixel, whole-number
// division. Every step that would divide by zero (no scale, an empty range, no travel left for
// the pointer) is refused and reported, so the caller stops drawing there.
class SliderModel {
 public:
  // --- flags, stored as given and read by the layout and the mouse handlers ---
  int32_t IsVertical = 0;  // non-zero: runs top to bottom
  int32_t NoArrow = 0;     // non-zero: no arrow buttons
  int32_t NoGrad = 0;      // non-zero: plain pointer and arrows
  bool Disabletrim = false;
  bool RefuseInput = false;
  bool CenterLined = false;
  bool Clicked = false;  // a mouse button is held on the track or an arrow
  int32_t ArrowPressed[2] = {0, 0};
  int32_t SmallChange = 10;
  int32_t LargeChange = 0;  // kept for the owner; the slider itself never uses it

  int32_t TwipsPerPixel() const { return twipsPerPixel_; }
  // Negative counts as 0 (no scale: layout and drawing are refused); at most 1440.
  void SetTwipsPerPixel(int32_t twipsPerPixel);

  // --- value and range ---
  int32_t Value() const { return value_; }
  int32_t Max() const { return max_; }
  int32_t Min() const { return min_; }
  // Max - Min, recomputed by each bound's assignment (64 bits: any two Longs fit).
  int64_t Range() const { return range_; }
  void SetMax(int32_t max);
  void SetMin(int32_t min);

  // The value assignment: with Range 0 nothing changes and no value is given back. Otherwise the
  // value becomes `value` capped at Max, then raised to Min (Min wins when Min > Max), and the
  // result is the pointer position CLng(TrackLength / Range × (Value − Min)); 0 when the
  // pointer has no travel (TrackLength 0 or less).
  std::optional<double> SetSliderValue(int32_t value);
  // A pointer position to a value (the Draw member): Value = CLng(Range / TrackLength × position
  // + Min), then held at Max (the position goes to the track end) or Min (position 0). The result
  // is the position to draw the pointer at; nothing changes and no value is given back with
  // Range 0 or without travel for the pointer.
  std::optional<double> PositionToValue(int32_t position);

  // --- geometry ---
  int32_t PointerSize() const { return pointerSize_; }
  // The PointerSize assignment: stores it and TrackLength = CLng(inner length − value).
  void LetPointerSize(int32_t twips);
  // SetPointerSize: a rate of 1 or more counts as 0.95 (not a number counts as 0); pointer
  // length CLng(rate × inner length), at least 8 pixels. False without a scale (nothing changed).
  bool SetPointerRate(float rate);
  double InnerWidth() const { return innerWidth_; }
  double InnerHeight() const { return innerHeight_; }
  // Inner length along the axis and across it.
  double InnerLength() const { return IsVertical != 0 ? innerHeight_ : innerWidth_; }
  double InnerThickness() const { return IsVertical != 0 ? innerWidth_ : innerHeight_; }
  int32_t TrackLength() const { return trackLength_; }
  double PointerPos() const { return pointerPos_; }
  void SetPointerPos(double position) { pointerPos_ = position; }
  double GrabOffset() const { return grabOffset_; }

  // The parts for a control of width × height twips (Init steps 1 to 5); also sets the inner
  // size. False without a scale, when nothing is changed.
  bool Layout(double width, double height, SliderLayout* layout);
  // Init2's first step for the track box laid out: inner length and TrackLength. False without
  // a scale.
  bool FitPointer(const TwipsRect& track);

  // Grip lines of the pointer image, twips from the pointer's start along the axis: none for a
  // plain pointer without CenterLined; one centre line with CenterLined; otherwise two lines,
  // 4 pixels in from each end (the far one at PointerSize − 6 pixels). Empty without a scale.
  std::vector<double> GripLines() const;
  // The pointer's closing line, twips from its start: one pixel before its end; none for a
  // plain pointer or without a scale.
  std::optional<double> EndLine() const;

  // --- mouse and arrows ---
  // A left press at c twips along the axis: a press inside the pointer keeps the grab point,
  // elsewhere the pointer is taken by its middle. The result is the position to Draw.
  int32_t PressAt(double c);
  // A move with the left button held: the position to Draw, or none when c is where the last
  // move was (or is not a number).
  std::optional<int32_t> DragTo(double c);
  // One step of the arrow repeat: the arrow held (0 decreases, 1 increases) steps the value by
  // SmallChange. The index of the arrow that stepped, or -1 when none is held (no step, no
  // event). `position` gets what SetSliderValue gave back.
  int32_t ArrowStep(std::optional<double>* position);

 private:
  double Pixels(double count) const { return count * twipsPerPixel_; }

  int32_t twipsPerPixel_ = 15;
  int32_t value_ = 0;
  int32_t max_ = 1000;
  int32_t min_ = 0;
  int64_t range_ = 1000;
  int32_t pointerSize_ = 480;
  double innerWidth_ = kSliderMinInner;
  double innerHeight_ = kSliderMinInner;
  int32_t trackLength_ = 0;
  double pointerPos_ = 0;
  float grabOffset_ = 0;
  float lastMouse_ = 0;
};

}  // namespace widgets
