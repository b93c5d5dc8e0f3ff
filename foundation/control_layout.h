#pragma once

#include <cstdint>

#include "foundation/font_table.h"
#include "foundation/twips_rect.h"

namespace foundation {

// Laying controls out at run time: placing one beside another, scaling by the user-interface
// size rate, and adding further elements to a control array. The routines see a control only
// through LayoutControl, so they work for any control (the widget adapter is in
// view/widget_layout_control.h). Positions and sizes are twips.

class LayoutControl : public TwipsRect {
 public:
  // The control's own visibility flag (it may still be hidden by a hidden container).
  virtual bool Visible() const = 0;
  virtual void SetVisible(bool visible) = 0;

  // Position in its container's tab order.
  virtual int32_t TabIndex() const = 0;
  virtual void SetTabIndex(int32_t index) = 0;

  // Moves the control into the container that `other` lies in. False when that cannot be done
  // (`other` is a control of another kind).
  virtual bool SetContainerFrom(const LayoutControl& other) = 0;

  // The control's window as the font table sees it; null when it takes no font.
  virtual FontWindow* FontTarget() = 0;
};

// Sides for PlaceControlBeside.
inline constexpr int32_t kPlaceBelow = 0;
inline constexpr int32_t kPlaceRight = 1;
inline constexpr int32_t kPlaceCentredLevel = 2;
inline constexpr int32_t kPlaceRightEdgesTogether = 3;

// Places `control` beside `reference`. A gap of -1 is two pixels (2 x TwipsPerPixel).
//   side 0, below:       Top = ref Top + ref Height + gap;        align 1: Left = ref Left
//   side 1, right:       Left = ref Left + ref Width + gap;       align 1: Top = ref Top
//   side 2, centred:     Top = ref Top + ref Height/2 - Height/2; align 1: Left = ref Left
//   side 3, right edges: Left = ref Left + ref Width - Width + gap;
//                                                 align 1: Top = ref Top + ref Height + gap
// Align mode 2 sets the second position to alignValue instead; align mode 0 (or any other)
// leaves it. A side outside 0..3 changes nothing.
void PlaceControlBeside(LayoutControl& control, const LayoutControl& reference, int32_t side,
                        int32_t gap, int32_t alignMode, int32_t alignValue);

// Scales the control by the user-interface size rate. When the rate is not exactly 1, each
// selected dimension (Width unless keepWidth, Height unless keepHeight, Left and Top when
// moveToo) becomes value x rate to the nearest twip (halves to even), cut down to whole pixels
// (toward zero). When fontSize is not 0 the control gets the user-interface face at
// rate x fontSize points, plain, also when the rate is 1.
void ScaleControl(float rate, LayoutControl& control, bool keepWidth, bool keepHeight, bool moveToo,
                  float fontSize);

// A control array whose elements are made at run time.
class ControlArray {
 public:
  virtual ~ControlArray() = default;
  // Element `index`, or null when it is not loaded.
  virtual LayoutControl* Element(int32_t index) = 0;
  // Makes element `index` (hidden) and returns it; null when that fails or it already exists.
  virtual LayoutControl* Load(int32_t index) = 0;
};

// Adds element `index` (1 or more) next to element index - 1: it goes into that element's
// container with the next tab index; when applyFont is set it gets the user-interface font (and
// element 0 too when index is 1); when side is 0 or more it is placed beside element index - 1
// (PlaceControlBeside with that side and gap, align mode 1); finally it is shown when visible is
// non-zero. Does nothing when index is below 1, element index - 1 is missing or element index
// cannot be made; stops at a step that fails, keeping what it had already set.
void LoadControlInstance(ControlArray& array, int32_t index, int32_t side, int32_t visible,
                         int32_t applyFont, int32_t gap);

}  // namespace foundation
