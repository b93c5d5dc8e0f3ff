#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace widgets {

// The picture library of the button strip: 26 cells of 18 × 18 pixels side by side, image rows
// 0 .. 17 and the matching mask rows 18 .. 35.
inline constexpr int32_t kPictureCellCount = 26;
inline constexpr int32_t kPictureCellPx = 18;

// One button of a strip. Geometry is pixels of the strip's surface.
struct StripButton {
  std::string Caption;
  int32_t PicIndexn = -1;  // picture cell in the normal state, -1 none
  int32_t PicIndexa = -1;  // picture cell while lit (with HasActiveImage), -1 none
  int32_t HasActiveImage = 0;
  int32_t ButtonOn = 0;  // 1: the caption is drawn as on
  int32_t Disabled = 0;
  int32_t DisabledTemp = 0;
  int32_t ButtonX = 0;
  int32_t ContentX = 0;
  int32_t ContentY = 0;

  bool IsPicture() const { return PicIndexn != -1 || PicIndexa != -1; }
  bool IsDisabled() const { return Disabled != 0 || DisabledTemp != 0; }
};

// How DrawButton shows a button in draw mode pMode: 0 normal, 1 pressed (one pixel down, lit),
// 2 lit; any other mode as normal.
struct ButtonLook {
  int32_t offset = 0;
  bool lit = false;
};
ButtonLook LookOfMode(int32_t pMode);

// A caption's colours: the shadow printed one pixel down and right (only when 3-D captions are
// on) and the caption itself.
struct CaptionColours {
  std::optional<int32_t> shadow;
  int32_t main = 0;
};

// What a mouse release on the strip does: the button redrawn in its normal state (-1 none) and
// the event raised.
struct StripRelease {
  enum class Event { None, Clicked, ShiftClicked, RightClicked };
  int32_t redraw = -1;
  Event event = Event::None;
  int32_t index = -1;
  int32_t shift = 0;
};

// The button strip's buttons, layout and mouse state, free of drawing. Button indices count
// from 0; an index outside the buttons is ignored by every setter, and getters give "" or 0.
class ButtonStripModel {
 public:
  // The most buttons a strip holds; larger counts are cut to it.
  static constexpr int32_t kMaxButtons = 1024;

  int32_t MimiWidth = -1;  // ear width in pixels; -1 chosen from the design at Layout
  int32_t DesignType = 0;
  int32_t Disable3D = 1;  // non-zero: captions without the one-pixel shadow
  int32_t NoGrayAtDisabled = 0;
  int32_t HoverButton = 0;
  int32_t PressedButton = -1;
  double LastPressX = 0;

  int32_t NumButtons() const { return static_cast<int32_t>(buttons_.size()); }
  // At least 1 (and at most kMaxButtons); every button's settings start afresh.
  void SetNumButtons(int32_t count);
  const StripButton* Button(int32_t index) const;
  StripButton* Button(int32_t index);
  const std::vector<StripButton>& Buttons() const { return buttons_; }

  // Design 1 also makes the selected colour white.
  void SetDesignType(int32_t value);
  int32_t SelectedColor() const { return selectedColor_; }
  int32_t SelectedDark() const { return selectedDark_; }
  // Also SelectedDark = the colour darkened by 70 per channel.
  void SetSelectedColor(int32_t colour);
  int32_t SelectedButton() const { return selectedButton_; }
  // The buttons to redraw for a new selection (the old and the new one, each when not -1); none
  // and no change for a value other than -1 or a button index.
  std::optional<std::vector<int32_t>> SetSelectedButton(int32_t index);

  // A caption button: the picture cells are dropped. False for a button that does not exist.
  bool SetCaption(int32_t index, const std::string& caption);
  std::string Caption(int32_t index) const;
  // Picture cells; the caption is dropped, and an active cell switches HasActiveImage on.
  void SetPicIndexa(int32_t index, int32_t cell);
  void SetPicIndexn(int32_t index, int32_t cell);
  // Sets the permanent (pTemp 0) or temporary disable flag; false when the button does not
  // exist.
  bool SetDisabled(int32_t index, int32_t value, int32_t pTemp);
  int32_t Disabled(int32_t index, int32_t pTemp) const;
  bool SetOn(int32_t index, int32_t value);
  int32_t On(int32_t index) const;
  // Captions "1", "2", ... on every button.
  void NumberCaptions();
  // The player presets: pairs of normal and active picture cells, one button each.
  void SetPictures(const std::vector<std::pair<int32_t, int32_t>>& cells, int32_t hasActive);
  // Two buttons "キャンセル" and "OK" (swapped when okIsZero) in design pType.
  void SetOKCancel(int32_t okIsZero, int32_t pType);

  // --- layout, pixels ---
  // Lays the buttons out for a control of widthPx × heightPx: the ear width (from the design when
  // -1: 8 for design 0, 0 for designs 1 to 4), the equal button width, and the control width that
  // drops the remainder. The buttons' ButtonX are set; their contents are placed by CentreContent.
  void Layout(int32_t widthPx, int32_t heightPx);
  int32_t Ear() const { return MimiWidth > 0 ? MimiWidth : 0; }
  int32_t ButtonWidth() const { return buttonWidth_; }
  int32_t ButtonHeight() const { return buttonHeight_; }
  int32_t ControlWidth() const { return controlWidth_; }
  // Centres the button's picture, or its caption of textWidth × textHeight pixels.
  void CentreContent(int32_t index, double textWidth, double textHeight);

  // The button under x twips (tpp twips per pixel): -1 on the ears, the edges and outside.
  int32_t HitTest(double x, int32_t tpp) const;
  int32_t PictureCell(int32_t index, bool lit) const;
  CaptionColours CaptionLook(int32_t index, bool lit) const;

  // --- mouse (codes: button 1 left, 2 right; shift non-zero with a modifier held) ---
  // A press: the button to draw pressed and report by ButtonDown, or -1.
  int32_t Press(int32_t button, double x, int32_t tpp);
  StripRelease Release(int32_t button, int32_t shift, double x, double y, int32_t tpp);
  // A move: the new hover button to report, or none while it stays the same.
  std::optional<int32_t> Move(double x, int32_t tpp);

 private:
  std::vector<StripButton> buttons_ = std::vector<StripButton>(1);
  int32_t selectedColor_ = 0x00D000;
  int32_t selectedDark_ = 0x00A000;
  int32_t selectedButton_ = -1;
  int32_t buttonWidth_ = 0;
  int32_t buttonHeight_ = 0;
  int32_t controlWidth_ = 0;
  int32_t drawnPressed_ = -1;
};

// --- the picture library's adaptation to the system colours ---

// Cells kept as designed (the coloured active pictures).
bool IsTintedCell(int32_t cell);
// One channel of a picture pixel under a button face whose channel is `face`: channel × face /
// 210, rounded and held to 0 .. 255.
int32_t TintChannel(int32_t channel, int32_t face);

}  // namespace widgets
