#pragma once

#include <QMimeData>
#include <cstdint>
#include <string>

#include "controls/widgets/text_panel_model.h"
#include "foundation/view/qt_font_factory.h"
#include "platform/view/picture_box.h"
#include "platform/view/picture_surface.h"

namespace widgets {

// The owner-drawn text panel: text cells, each with its own font and place, on a plain surface
// with a sunken edge or on one of several pre-rendered gradient backgrounds (colour sets) that
// the owner switches between. The playout window's clock, ON AIR box and message line and the
// file transfer panel's message are panels.
//
// Owners add the colour sets (or set a plain design), then the cells, then call Init; afterwards
// DispMes changes a text (redrawing only when it changed) and SetColor switches the set shown.
// In the companion program (foundation::Globals().IsCompanion) every vertically centred cell sits
// one pixel lower, whatever its face; in the playout only cells in the face "メイリオ" do.
//
// Events (Qt signals), numbered as the owner knows them:
//   1 MouseUD(Button, IsDown, pIndex): a press, and the release that ends it, with the cell under
//     the mouse; a cell with UseClick lights while pressed;
//   2 DblClicked: a double click when UseDblClick is set (otherwise a double click is a left
//     press at (0, 0));
//   3 OLEDragDrop(Data, Effect, Button, Shift, X, Y): something dropped on the panel; drops are
//     accepted only while an owner listens.
// While Locked, presses, releases and drops raise nothing.
class UC_TextPicture : public platform::PictureBox {
  Q_OBJECT

 public:
  // The scale is the process's TwipsPerPixel at creation.
  explicit UC_TextPicture(QWidget* parent = nullptr);
  ~UC_TextPicture() override;

  // Renders one background per colour set (DrawBorderLines with Color1, Color2, pNoGrad and
  // pWakuWidth frames) into the hidden strip, or notes the sunken edge of a plain panel, then
  // draws. A panel marked for colour sets without any set is drawn plain.
  void Init(int32_t pWakuWidth = 0, int32_t pNoGrad = 0);
  // No cells, no colour sets, plain design.
  void ResetMe();
  // Plain panel: the text and back colours of design pType (foundation::SetDesignColors).
  // Colour-set panel: shows set pType when it exists. Redraws when pDraw is non-zero.
  void SetColor(int32_t pType, int32_t pDraw = 0);
  void SetColorEx(int32_t pForeColor, int32_t pBackColor, int32_t pDraw = 0);
  void AddStdColorSet(int32_t pType);
  void SetDesignType(int32_t pValue) { model_.DesignType = pValue; }
  void SetUseClick(int32_t pIndex, int32_t pValue) { model_.SetUseClick(pIndex, pValue); }
  void SetUseDblClick(int32_t pValue) { model_.UseDblClick = pValue; }
  void SetLocked(int32_t pValue) { model_.Locked = pValue; }
  void AddColorSet(int32_t pFontColor, int32_t pColor1 = 0, int32_t pColor2 = 0,
                   int32_t pColor3 = 0);
  // Appends a cell in the font asked for (made or reused in the shared font table). pLeft -1
  // centres the text across the panel, pTop -1 centres the cell vertically.
  void AddTextSpace(float pSize, bool pBold, bool pItalic, const std::string& pFace,
                    int32_t pLeft = -1, int32_t pTop = -1);
  // Sets a cell's text; an unchanged text or a cell that does not exist draws nothing.
  void DispMes(int32_t pIndex = 0, const std::string& pStr = std::string(), int32_t DontDraw = 0);
  // Draws the background and every cell; cell plite is lit, -1 none.
  void Draw(int32_t plite);
  std::string TextMes(int32_t pIndex) const { return model_.TextMes(pIndex); }
  void SetIsFlat(int32_t pValue) { model_.IsFlat = pValue; }

  // For the owner's tests and for looking at.
  const TextPanelModel& Model() const { return model_; }
  // The hidden strip of colour-set backgrounds, side by side; empty before Init.
  const platform::PictureSurface& PicStrip() const { return strip_; }
  // The sunken edge of a plain panel, pixels: right and bottom follow the surface's size.
  int EdgeRight() const { return edgeRight_; }
  int EdgeBottom() const { return edgeBottom_; }

 signals:
  void MouseUD(int16_t Button, bool IsDown, int32_t pIndex);
  void DblClicked();
  void OLEDragDrop(const QMimeData* Data, int32_t Effect, int16_t Button, int16_t Shift, double X,
                   double Y);

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildBackgrounds();
  void FitEdge();
  void Pressed(int32_t button, double x, double y);
  void Released(int32_t button, double x, double y);
  void DoubleClicked();
  bool ListensForDrops() const;

  TextPanelModel model_;
  platform::PictureSurface strip_;
  bool initialised_ = false;
  int32_t wakuWidth_ = 0;
  int32_t noGrad_ = 0;
  int edgeRight_ = 0;
  int edgeBottom_ = 0;
  foundation::WidgetFontWindow fontWindow_;
};

}  // namespace widgets
