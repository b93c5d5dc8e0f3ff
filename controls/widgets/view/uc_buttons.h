#pragma once

#include <cstdint>
#include <string>

#include "controls/widgets/button_strip_model.h"
#include "controls/widgets/view/surface_handles.h"
#include "foundation/view/qt_font_factory.h"
#include "platform/view/picture_box.h"
#include "platform/view/picture_surface.h"

namespace widgets {

// The owner-drawn strip of equal push buttons: each shows a caption or an 18 × 18 picture of
// the built-in library on a shared gradient face, with optional ears at both ends. The playout
// window's load, delete, operator and channel strips, the settings dialog's OK/Cancel pair and
// the file transfer panel's cancel button are strips.
//
// Owners set NumButtons (or a preset), MimiWidth, DesignType, fonts and captions, then call
// Init, which also narrows the control to a whole number of buttons. All geometry is pixels.
//
// Events (Qt signals), numbered as the owner knows them, with the button index:
//   1 ButtonClicked: a left press and release on the same enabled button without Shift, Ctrl or
//     Alt; 2 RightClicked: the same with the right button; 3 ShiftClicked(index, Shift): a left
//     click with a modifier held; 4 ButtonDown: the left press, as the button is drawn pressed;
//   5 Hover: the mouse moved onto another button, or off the buttons (-1).
// A release away from the pressed button raises nothing; a button drawn pressed is then drawn
// released again. Ears, edges and disabled buttons raise nothing.
class UC_Buttons : public platform::PictureBox {
  Q_OBJECT

 public:
  // The scale is the process's TwipsPerPixel at creation.
  explicit UC_Buttons(QWidget* parent = nullptr);
  ~UC_Buttons() override;

  // Handle (see surface_handles.h) of the picture library.
  int32_t PiclibHdc() const { return iconsHandle_.handle(); }
  int32_t NumButtons() const { return model_.NumButtons(); }
  // Every button's settings start afresh.
  void SetNumButtons(int32_t count) { model_.SetNumButtons(count); }
  void SetMimiWidth(int32_t pixels) { model_.MimiWidth = pixels; }
  void SetDesignType(int32_t value) { model_.SetDesignType(value); }
  // Lays out and draws the strip (see the class comment).
  void Init();
  // Every button in its normal state.
  void DrawAll();
  // pMode 0 normal, 1 pressed (one pixel down, lit), 2 lit; nothing for a button that does not
  // exist.
  void DrawButton(int32_t pIndex, int32_t pMode);
  int32_t GetButtonDisable(int32_t pIndex, int32_t pTemp = 0) const {
    return model_.Disabled(pIndex, pTemp);
  }
  void SetButtonDisable(int32_t pIndex, int32_t pValue, int32_t pDraw = 0, int32_t pTemp = 0);
  // Redraws the buttons without an active picture.
  void SetButtonDisableAll(int32_t pValue, int32_t pTemp = 0);
  void SetNoGrayAtDisabled(int32_t value) { model_.NoGrayAtDisabled = value; }
  void SetButtonState(int32_t pIndex, int32_t pMode) { DrawButton(pIndex, pMode); }
  void SetToolTip(const std::string& text);
  void SetPicIndexa(int32_t pIndex, int32_t pValue) { model_.SetPicIndexa(pIndex, pValue); }
  void SetPicIndexn(int32_t pIndex, int32_t pValue) { model_.SetPicIndexn(pIndex, pValue); }
  // The player presets; each sets NumButtons, so it comes before Init.
  void SetButtonsMCI();
  void SetButtonsVornplay();
  void SetButtonsEditorCtrl();
  void SetButtonsEditorPlay();
  void SetDisable3D(int32_t value) { model_.Disable3D = value; }
  // "キャンセル" and "OK" (swapped with pOKIsZero) in design pType; 2400 × 330 twips unless
  // pNoSize; then Init.
  void SetOKCancel(int32_t pOKIsZero = 0, int32_t pNoSize = 0, int32_t pType = 0);
  // The caption font; each is applied to the surface at once.
  void SetFontSize(float size);
  void SetFontFace(const std::string& face);
  void SetFontBold(bool bold);
  void SetSelectedColor(int32_t colour) { model_.SetSelectedColor(colour); }
  int32_t SelectedButton() const { return model_.SelectedButton(); }
  // Redraws the old and the new selection; a value that is neither -1 nor a button is ignored.
  void SetSelectedButton(int32_t index);
  // A caption (re-centred after Init; no redraw); the button's pictures are dropped.
  void SetButtonChar(int32_t pIndex, const std::string& text);
  std::string GetButtonChar(int32_t pIndex) const { return model_.Caption(pIndex); }
  void SetButtonOn(int32_t pIndex, int32_t pValue, int32_t pDraw = 0);
  int32_t GetButtonOn(int32_t pIndex) const { return model_.On(pIndex); }
  void SetButtonCharNum();

  // For the owner's tests and for looking at.
  const ButtonStripModel& Model() const { return model_; }
  const platform::PictureSurface& PictureGrad() const { return face_; }
  const platform::PictureSurface& PictureIcons() const { return icons_; }
  bool IconsTinted() const { return iconsTinted_; }

 signals:
  void ButtonClicked(int16_t ClickedIndex);
  void RightClicked(int16_t ClickedIndex);
  void ShiftClicked(int16_t ClickedIndex, int16_t Shift);
  void ButtonDown(int16_t ClickedIndex);
  void Hover(int16_t pButtonIndex);

 private:
  void ApplyFont();
  void TintIcons();
  void CentreContent(int32_t index);
  void Pressed(int32_t button, double x);
  void Released(int32_t button, int32_t shift, double x, double y);
  void Moved(double x);

  ButtonStripModel model_;
  platform::PictureSurface face_;
  platform::PictureSurface icons_;
  SurfaceHandle iconsHandle_;
  bool initDone_ = false;
  bool iconsTinted_ = false;
  float fontSize_ = 9.0F;
  std::string fontFace_;
  bool fontBold_ = false;
  foundation::WidgetFontWindow fontWindow_;
};

}  // namespace widgets
