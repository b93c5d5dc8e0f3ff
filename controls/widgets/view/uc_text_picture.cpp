#include "controls/widgets/view/uc_text_picture.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMetaMethod>

#include "foundation/app_globals.h"
#include "foundation/colors.h"
#include "foundation/conversions.h"
#include "foundation/error_traps.h"
#include "foundation/font_table.h"
#include "foundation/text_fields.h"
#include "foundation/view/design_painter.h"
#include "platform/view/edge_3d.h"
#include "platform/view/raster_ops.h"

namespace widgets {

UC_TextPicture::UC_TextPicture(QWidget* parent)
    : platform::PictureBox(parent, foundation::Globals().TwipsPerPixel),
      strip_(0, 0, foundation::Globals().TwipsPerPixel),
      fontWindow_(this) {
  connect(this, &platform::PictureBox::MouseDown, this,
          [this](int32_t button, int32_t, double x, double y) {
            foundation::RunTrapped("UC_TextPicture.MouseDown", [&] { Pressed(button, x, y); });
          });
  connect(this, &platform::PictureBox::MouseUp, this,
          [this](int32_t button, int32_t, double x, double y) {
            foundation::RunTrapped("UC_TextPicture.MouseUp", [&] { Released(button, x, y); });
          });
  connect(this, &platform::PictureBox::DblClick, this, [this] {
    foundation::RunTrapped("UC_TextPicture.DblClick", [this] { DoubleClicked(); });
  });
  // A resized panel keeps its edge on its border and its backgrounds the size of the surface.
  connect(this, &platform::PictureBox::Resized, this, [this] {
    foundation::RunTrapped("UC_TextPicture.Resize", [this] {
      FitEdge();
      if (!initialised_) return;
      BuildBackgrounds();
      Draw(-1);
    });
  });
  setAcceptDrops(true);
  FitEdge();
}

UC_TextPicture::~UC_TextPicture() = default;

void UC_TextPicture::FitEdge() {
  const platform::PictureSurface& s = Surface();
  edgeRight_ = s.PixelWidth();
  edgeBottom_ = s.PixelHeight();
}

void UC_TextPicture::Init(int32_t pWakuWidth, int32_t pNoGrad) {
  wakuWidth_ = pWakuWidth;
  noGrad_ = pNoGrad;
  FitEdge();
  BuildBackgrounds();
  initialised_ = true;
  Draw(-1);
}

void UC_TextPicture::BuildBackgrounds() {
  if (!model_.UsesColorSets()) {
    strip_.Resize(0, 0);
    return;
  }
  platform::PictureSurface& s = Surface();
  const int w = s.PixelWidth();
  const int h = s.PixelHeight();
  const auto& sets = model_.ColorSets();
  strip_.Resize(static_cast<int>(sets.size()) * w, h);
  for (size_t i = 0; i < sets.size(); ++i) {
    // Each background starts from its set's first colour: the diagonal ramp leaves the top row
    // as it finds it, and a background without the ramp is that colour.
    s.SetBackColor(sets[i].Color1);
    foundation::DrawBorderLines(s, sets[i].Color1, sets[i].Color2, noGrad_, wakuWidth_);
    strip_.BitBlt(static_cast<int>(i) * w, 0, w, h, s, 0, 0, platform::SRCCOPY);
  }
}

void UC_TextPicture::ResetMe() {
  model_.Reset();
  strip_.Resize(0, 0);
}

void UC_TextPicture::SetColor(int32_t pType, int32_t pDraw) {
  if (model_.UsesColorSets()) {
    model_.SelectColorSet(pType);
  } else {
    foundation::SetDesignColors(Surface(), pType, 0, 0);
  }
  if (pDraw != 0) Draw(-1);
}

void UC_TextPicture::SetColorEx(int32_t pForeColor, int32_t pBackColor, int32_t pDraw) {
  platform::PictureSurface& s = Surface();
  s.SetBackColor(pBackColor);
  s.SetForeColor(pForeColor);
  if (pDraw != 0) Draw(-1);
}

void UC_TextPicture::AddStdColorSet(int32_t pType) { model_.AddStdColorSet(pType); }

void UC_TextPicture::AddColorSet(int32_t pFontColor, int32_t pColor1, int32_t pColor2,
                                 int32_t pColor3) {
  model_.AddColorSet({pFontColor, pColor1, pColor2, pColor3});
}

void UC_TextPicture::AddTextSpace(float pSize, bool pBold, bool pItalic, const std::string& pFace,
                                  int32_t pLeft, int32_t pTop) {
  platform::PictureSurface& s = Surface();
  const int32_t tpp = s.TwipsPerPixel();
  TextSpace cell;
  cell.FontIndex = foundation::SetControlFont(&fontWindow_, -2, nullptr, pSize, pBold ? -1 : 0,
                                              pItalic ? -1 : 0, pFace);
  // Without a font table (no toolkit factory) the surface keeps its own font.
  if (cell.FontIndex >= 0) s.SetFont(foundation::FontOfEntry(cell.FontIndex));
  cell.Left = pLeft;
  const double lineHeight = s.TextHeight("漢");
  if (pTop != -1) {
    cell.Top = CellTopFor(pTop, lineHeight, foundation::FontHeightFactor(cell.FontIndex), tpp);
  } else {
    const std::string& face = pFace.empty() ? foundation::UiFontFace() : pFace;
    const bool oneLower = foundation::Globals().IsCompanion || face == foundation::kLargeCellFace;
    cell.Top = CentredCellTop(s.ScaleHeight(), lineHeight, oneLower, tpp);
  }
  model_.AddCell(cell);
}

void UC_TextPicture::DispMes(int32_t pIndex, const std::string& pStr, int32_t DontDraw) {
  if (model_.DispMes(pIndex, pStr) && DontDraw == 0) Draw(-1);
}

void UC_TextPicture::Draw(int32_t plite) {
  platform::PictureSurface& s = Surface();
  const int32_t tpp = s.TwipsPerPixel();
  if (tpp <= 0) return;
  const bool colourSets = model_.UsesColorSets();
  if (colourSets) {
    const ColorSet* set = model_.ShownSet();
    if (set == nullptr) return;
    const int w = s.PixelWidth();
    s.BitBlt(0, 0, w, s.PixelHeight(), strip_, model_.CurrentSet * w, 0, platform::SRCCOPY);
    s.SetForeColor(set->FontColor);
  } else {
    s.Cls();
  }
  const int32_t base = s.ForeColor();
  const double margin = PanelMargin(model_.IsFlat, colourSets, tpp);
  const auto& cells = model_.Cells();
  for (size_t i = 0; i < cells.size(); ++i) {
    const TextSpace& cell = cells[i];
    if (cell.FontIndex >= 0) s.SetFont(foundation::FontOfEntry(cell.FontIndex));
    const double x = CellTextX(cell.Left, s.TextWidth(cell.Text), s.ScaleWidth(), margin);
    s.SetCurrentX(x);
    s.SetCurrentY(cell.Top);
    if (static_cast<int32_t>(i) == plite) {
      s.SetForeColor(LitTextColor(base));
    } else if (plite != -1 && s.ForeColor() != base) {
      s.SetForeColor(base);
    }
    const int32_t room = foundation::NearestInt32Saturated(s.ScaleWidth() - x - margin);
    s.Print(foundation::FitTextToWidth(cell.Text, s, room));
  }
  // The lit colour is this drawing's only: the next drawing starts from the panel's own colour.
  s.SetForeColor(base);
  if (!colourSets && model_.IsFlat == 0) {
    s.DrawEdge(0, 0, edgeRight_, edgeBottom_, platform::EDGE_SUNKEN, platform::BF_RECT);
  }
}

void UC_TextPicture::Pressed(int32_t button, double x, double y) {
  const auto press = model_.Press(x, y);
  if (!press) return;
  if (press->redraw) Draw(press->index);
  emit MouseUD(static_cast<int16_t>(button), true, press->index);
}

void UC_TextPicture::Released(int32_t button, double x, double y) {
  const auto release = model_.Release(x, y);
  if (!release) return;
  if (release->redraw) Draw(-1);
  emit MouseUD(static_cast<int16_t>(button), false, release->index);
}

void UC_TextPicture::DoubleClicked() {
  if (model_.UseDblClick != 0) {
    emit DblClicked();
    return;
  }
  Pressed(1, 0, 0);
}

bool UC_TextPicture::ListensForDrops() const {
  return isSignalConnected(QMetaMethod::fromSignal(&UC_TextPicture::OLEDragDrop));
}

void UC_TextPicture::dragEnterEvent(QDragEnterEvent* event) {
  if (model_.Locked == 0 && ListensForDrops()) event->acceptProposedAction();
}

void UC_TextPicture::dropEvent(QDropEvent* event) {
  if (model_.Locked != 0) return;
  const int b = BorderPixels();
  const QPoint pos = event->position().toPoint();
  const platform::PictureSurface& s = Surface();
  const int32_t effect = static_cast<int32_t>(event->dropAction());
  foundation::RunTrapped("UC_TextPicture.OLEDragDrop", [&] {
    emit OLEDragDrop(event->mimeData(), effect,
                     static_cast<int16_t>(platform::MouseButtonCode(event->buttons())),
                     static_cast<int16_t>(platform::ShiftCode(event->modifiers())),
                     s.ToTwips(pos.x() - b), s.ToTwips(pos.y() - b));
  });
  event->acceptProposedAction();
}

}  // namespace widgets
