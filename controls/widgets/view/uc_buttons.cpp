#include "controls/widgets/view/uc_buttons.h"

#include "controls/widgets/view/button_picture_sheet.h"
#include "foundation/app_globals.h"
#include "foundation/colors.h"
#include "foundation/error_traps.h"
#include "foundation/font_table.h"
#include "foundation/view/design_painter.h"
#include "platform/system_colors.h"
#include "platform/view/raster_ops.h"

namespace widgets {

namespace {

constexpr int32_t kDarkShadowRef = platform::SystemColorRef(platform::COLOR_3DDKSHADOW);
constexpr int32_t kFaceRef = platform::SystemColorRef(platform::COLOR_BTNFACE);

// The face design of each strip design; other designs keep the plain face.
int32_t FaceDesign(int32_t designType) {
  switch (designType) {
    case 0:
      return 7;
    case 1:
      return 12;
    case 2:
      return 13;
    case 3:
      return 14;
    default:
      return -2;
  }
}

}  // namespace

UC_Buttons::UC_Buttons(QWidget* parent)
    : platform::PictureBox(parent, foundation::Globals().TwipsPerPixel),
      face_(0, 0, foundation::Globals().TwipsPerPixel),
      icons_(kPictureCellPx * kPictureCellCount, 2 * kPictureCellPx,
             foundation::Globals().TwipsPerPixel),
      iconsHandle_(&icons_),
      fontWindow_(this) {
  const QImage sheet = ButtonPictureSheet();
  icons_.BitBlt(0, 0, sheet.width(), sheet.height(), sheet, 0, 0, platform::SRCCOPY);
  // Hovering is reported without a button held.
  setMouseTracking(true);
  connect(this, &platform::PictureBox::MouseDown, this,
          [this](int32_t button, int32_t, double x, double) {
            foundation::RunTrapped("UC_Buttons.MouseDown", [&] { Pressed(button, x); });
          });
  connect(this, &platform::PictureBox::MouseUp, this,
          [this](int32_t button, int32_t shift, double x, double y) {
            foundation::RunTrapped("UC_Buttons.MouseUp", [&] { Released(button, shift, x, y); });
          });
  connect(this, &platform::PictureBox::MouseMove, this, [this](int32_t, int32_t, double x, double) {
    foundation::RunTrapped("UC_Buttons.MouseMove", [&] { Moved(x); });
  });
  // A double click is one more left press where the last press was; its release clicks.
  connect(this, &platform::PictureBox::DblClick, this, [this] {
    foundation::RunTrapped("UC_Buttons.DblClick", [this] { Pressed(1, model_.LastPressX); });
  });
}

UC_Buttons::~UC_Buttons() = default;

void UC_Buttons::ApplyFont() {
  const int32_t index = foundation::SetControlFont(&fontWindow_, -2, nullptr, fontSize_,
                                                   fontBold_ ? -1 : 0, 0, fontFace_);
  if (index >= 0) Surface().SetFont(foundation::FontOfEntry(index));
}

void UC_Buttons::SetFontSize(float size) {
  fontSize_ = size;
  ApplyFont();
}

void UC_Buttons::SetFontFace(const std::string& face) {
  fontFace_ = face;
  ApplyFont();
}

void UC_Buttons::SetFontBold(bool bold) {
  fontBold_ = bold;
  ApplyFont();
}

void UC_Buttons::TintIcons() {
  const int32_t face = platform::ResolveColor(kFaceRef);
  const int32_t red = face & 0xFF;
  const int32_t green = (face >> 8) & 0xFF;
  const int32_t blue = (face >> 16) & 0xFF;
  for (int32_t cell = 0; cell < kPictureCellCount; ++cell) {
    if (!IsTintedCell(cell)) continue;
    for (int y = 0; y < kPictureCellPx; ++y) {
      for (int x = cell * kPictureCellPx; x < (cell + 1) * kPictureCellPx; ++x) {
        const int32_t c = icons_.GetPixelPx(x, y);
        if (c == 0) continue;
        icons_.SetPixelPx(
            x, y,
            foundation::MakeRgb(TintChannel(c & 0xFF, red), TintChannel((c >> 8) & 0xFF, green),
                                TintChannel((c >> 16) & 0xFF, blue)));
      }
    }
  }
}

void UC_Buttons::Init() {
  platform::PictureSurface& s = Surface();
  const int32_t tpp = s.TwipsPerPixel();
  if (tpp <= 0) return;
  s.Cls();
  face_.Cls();
  model_.SetSelectedColor(model_.SelectedColor());
  ApplyFont();
  if (!initDone_) {
    initDone_ = true;
    bool pictures = false;
    for (const StripButton& b : model_.Buttons()) pictures = pictures || b.IsPicture();
    if (pictures) {
      TintIcons();
      iconsTinted_ = true;
    }
  }

  model_.Layout(width(), height());
  resize(model_.ControlWidth(), height());
  const int bw = model_.ButtonWidth();
  const int bh = model_.ButtonHeight();
  face_.Resize(bw, bh);
  foundation::PaintPictureDesign(face_, -2, -1, -1, -1);
  foundation::PaintPictureDesign(Surface(), -2, -1, -1, -1);
  const int32_t design = FaceDesign(model_.DesignType);
  if (design != -2) foundation::PaintPictureDesign(face_, design, -1, -1, -1);

  const int ear = model_.Ear();
  if (ear > 0) {
    platform::PictureSurface& strip = Surface();
    strip.BitBlt(0, 0, ear, bh, face_, 0, 0, platform::SRCCOPY);
    strip.BitBlt(bw * model_.NumButtons() + ear + 1, 0, ear, bh, face_, 0, 0, platform::SRCCOPY);
    strip.FillRectPx(ear, 0, ear + 1, bh, kDarkShadowRef);
    strip.FillRectPx(strip.PixelWidth() - 1, 0, strip.PixelWidth(), bh, kDarkShadowRef);
  }
  for (int32_t i = 0; i < model_.NumButtons(); ++i) {
    CentreContent(i);
    DrawButton(i, 0);
  }
}

void UC_Buttons::CentreContent(int32_t index) {
  const platform::PictureSurface& s = Surface();
  const double tpp = s.TwipsPerPixel();
  if (tpp <= 0) return;
  const std::string caption = model_.Caption(index);
  model_.CentreContent(index, s.TextWidth(caption) / tpp, s.TextHeight(caption) / tpp);
}

void UC_Buttons::DrawAll() {
  for (int32_t i = 0; i < model_.NumButtons(); ++i) DrawButton(i, 0);
}

void UC_Buttons::DrawButton(int32_t pIndex, int32_t pMode) {
  const StripButton* b = model_.Button(pIndex);
  platform::PictureSurface& s = Surface();
  const int32_t tpp = s.TwipsPerPixel();
  if (b == nullptr || tpp <= 0) return;
  const ButtonLook look = LookOfMode(pMode);
  const int bw = model_.ButtonWidth();
  const int bh = model_.ButtonHeight();
  s.FillRectPx(b->ButtonX, 0, b->ButtonX + bw, bh, s.BackColor());
  s.BitBlt(b->ButtonX, look.offset, bw, bh, face_, 0, 0, platform::SRCCOPY);
  if (b->IsPicture()) {
    const int32_t cell = model_.PictureCell(pIndex, look.lit);
    if (cell >= 0 && cell < kPictureCellCount) {
      const int x = b->ContentX;
      const int y = b->ContentY + look.offset;
      const int sx = cell * kPictureCellPx;
      s.BitBlt(x, y, kPictureCellPx, kPictureCellPx, icons_, sx, kPictureCellPx, platform::SRCAND);
      s.BitBlt(x, y, kPictureCellPx, kPictureCellPx, icons_, sx, 0, platform::SRCINVERT);
    }
    Refresh();
    return;
  }
  if (b->Caption.empty()) return;
  const CaptionColours colours = model_.CaptionLook(pIndex, look.lit);
  if (colours.shadow) {
    s.SetForeColor(*colours.shadow);
    s.SetCurrentX(static_cast<double>(b->ContentX + 1) * tpp);
    s.SetCurrentY(static_cast<double>(b->ContentY + look.offset + 1) * tpp);
    s.Print(b->Caption);
  }
  s.SetForeColor(colours.main);
  s.SetCurrentX(static_cast<double>(b->ContentX) * tpp);
  s.SetCurrentY(static_cast<double>(b->ContentY + look.offset) * tpp);
  s.Print(b->Caption);
}

void UC_Buttons::SetButtonDisable(int32_t pIndex, int32_t pValue, int32_t pDraw, int32_t pTemp) {
  if (model_.SetDisabled(pIndex, pValue, pTemp) && pDraw != 0) DrawButton(pIndex, 0);
}

void UC_Buttons::SetButtonDisableAll(int32_t pValue, int32_t pTemp) {
  for (int32_t i = 0; i < model_.NumButtons(); ++i) {
    model_.SetDisabled(i, pValue, pTemp);
    if (model_.Button(i)->HasActiveImage == 0) DrawButton(i, 0);
  }
}

void UC_Buttons::SetToolTip(const std::string& text) { setToolTip(QString::fromStdString(text)); }

void UC_Buttons::SetButtonsMCI() { model_.SetPictures({{1, 9}, {2, 10}, {3, 11}}, 1); }
void UC_Buttons::SetButtonsVornplay() {
  model_.SetPictures({{15, 18}, {16, 19}, {1, 9}, {3, 11}, {17, 20}}, 1);
}
void UC_Buttons::SetButtonsEditorCtrl() { model_.SetPictures({{4, 4}, {5, 5}, {6, 6}, {7, 7}}, 0); }
void UC_Buttons::SetButtonsEditorPlay() {
  model_.SetPictures({{0, 8}, {1, 9}, {2, 10}, {3, 11}}, 1);
}

void UC_Buttons::SetOKCancel(int32_t pOKIsZero, int32_t pNoSize, int32_t pType) {
  model_.SetOKCancel(pOKIsZero, pType);
  if (pNoSize == 0) Move(Left(), Top(), 2400, 330);
  Init();
}

void UC_Buttons::SetSelectedButton(int32_t index) {
  const auto redraw = model_.SetSelectedButton(index);
  if (!redraw) return;
  for (int32_t i : *redraw) DrawButton(i, 0);
}

void UC_Buttons::SetButtonChar(int32_t pIndex, const std::string& text) {
  if (model_.SetCaption(pIndex, text) && initDone_) CentreContent(pIndex);
}

void UC_Buttons::SetButtonOn(int32_t pIndex, int32_t pValue, int32_t pDraw) {
  if (model_.SetOn(pIndex, pValue) && pDraw != 0) DrawButton(pIndex, 0);
}

void UC_Buttons::SetButtonCharNum() {
  for (int32_t i = 0; i < model_.NumButtons(); ++i) SetButtonChar(i, std::to_string(i + 1));
}

void UC_Buttons::Pressed(int32_t button, double x) {
  const int32_t down = model_.Press(button, x, Surface().TwipsPerPixel());
  if (down < 0) return;
  DrawButton(down, 1);
  emit ButtonDown(static_cast<int16_t>(down));
}

void UC_Buttons::Released(int32_t button, int32_t shift, double x, double y) {
  const StripRelease r = model_.Release(button, shift, x, y, Surface().TwipsPerPixel());
  if (r.redraw >= 0) DrawButton(r.redraw, 0);
  const auto index = static_cast<int16_t>(r.index);
  switch (r.event) {
    case StripRelease::Event::Clicked:
      emit ButtonClicked(index);
      break;
    case StripRelease::Event::ShiftClicked:
      emit ShiftClicked(index, static_cast<int16_t>(r.shift));
      break;
    case StripRelease::Event::RightClicked:
      emit RightClicked(index);
      break;
    case StripRelease::Event::None:
      break;
  }
}

void UC_Buttons::Moved(double x) {
  if (const auto hover = model_.Move(x, Surface().TwipsPerPixel())) {
    emit Hover(static_cast<int16_t>(*hover));
  }
}

}  // namespace widgets
