#include "controls/widgets/view/uc_path_text.h"

#include <QEvent>
#include <algorithm>

#include "foundation/app_globals.h"
#include "foundation/conversions.h"
#include "foundation/error_traps.h"
#include "foundation/font_table.h"
#include "platform/system_colors.h"

namespace widgets {

namespace {

constexpr int32_t kFaceRef = platform::SystemColorRef(platform::COLOR_BTNFACE);
constexpr int32_t kWindowRef = platform::SystemColorRef(platform::COLOR_WINDOW);
constexpr int32_t kHighlightRef = platform::SystemColorRef(platform::COLOR_3DHIGHLIGHT);
constexpr int32_t kShadowRef = platform::SystemColorRef(platform::COLOR_BTNSHADOW);
constexpr int32_t kTextRef = platform::SystemColorRef(platform::COLOR_BTNTEXT);
constexpr char kDots[] = "...";

}  // namespace

UC_PathText::UC_PathText(QWidget* parent)
    : platform::PictureBox(parent, foundation::Globals().TwipsPerPixel),
      TextPath(new QLineEdit(this)),
      fontWindow_(this),
      boxFontWindow_(TextPath) {
  TextPath->setFrame(true);
  TextPath->installEventFilter(this);
  connect(TextPath, &QLineEdit::textChanged, this, [this] {
    foundation::RunTrapped("UC_PathText.TextChange", [this] { emit TextChange(); });
  });
  connect(this, &platform::PictureBox::MouseDown, this,
          [this](int32_t button, int32_t, double, double) {
            foundation::RunTrapped("UC_PathText.MouseDown", [&] { Pressed(button); });
          });
  connect(this, &platform::PictureBox::MouseUp, this,
          [this](int32_t button, int32_t, double, double) {
            foundation::RunTrapped("UC_PathText.MouseUp", [&] { Released(button); });
          });
  // A double click on the button is one more press; its release runs the picker again.
  connect(this, &platform::PictureBox::DblClick, this,
          [this] { foundation::RunTrapped("UC_PathText.DblClick", [this] { Pressed(1); }); });
  connect(this, &platform::PictureBox::Resized, this, [this] {
    foundation::RunTrapped("UC_PathText.Resize", [this] {
      LayOut();
      if (fontsSet_) Draw();
    });
  });
  LayOut();
}

UC_PathText::~UC_PathText() { TextPath->removeEventFilter(this); }

void UC_PathText::Init() {
  const float size = static_cast<float>(model_.FontSize);
  const int32_t own = foundation::SetControlFont(&fontWindow_, -2, nullptr, size, 0, 0, "");
  const int32_t box = foundation::SetControlFont(&boxFontWindow_, -2, nullptr, size, 0, 0, "");
  if (own >= 0) Surface().SetFont(foundation::FontOfEntry(own));
  fontsSet_ = own >= 0 && box >= 0;
  LayOut();
  Draw();
}

void UC_PathText::LayOut() {
  const int32_t tpp = Surface().TwipsPerPixel();
  const int side = tpp > 0 ? std::max(0, model_.TextHeight / tpp) : 0;
  TextPath->setGeometry(0, 0, std::max(0, width() - side), side);
}

void UC_PathText::Draw() {
  platform::PictureSurface& s = Surface();
  const int32_t tpp = s.TwipsPerPixel();
  if (tpp <= 0) return;
  s.Cls();
  const int side = TextPath->height();
  const int left = std::max(0, width() - side);
  const int right = left + side;
  const bool pressed = model_.Pressed();
  s.FillRectPx(left, 0, right, side, kFaceRef);
  const int shift = pressed ? 1 : 0;
  s.SetForeColor(kTextRef);
  s.SetCurrentX(left * tpp + (side * tpp - s.TextWidth(kDots)) / 2 + shift * tpp);
  s.SetCurrentY((side * tpp - s.TextHeight(kDots)) / 2 + shift * tpp);
  s.Print(kDots);
  // Lit top and left, shaded bottom and right; a pressed button the other way round.
  const int32_t lit = pressed ? kShadowRef : kHighlightRef;
  const int32_t shaded = pressed ? kHighlightRef : kShadowRef;
  s.FillRectPx(left, 0, right, 1, lit);
  s.FillRectPx(left, 0, left + 1, side, lit);
  s.FillRectPx(left, side - 1, right, side, shaded);
  s.FillRectPx(right - 1, 0, right, side, shaded);
}

void UC_PathText::ApplyTextLock() {
  if (!fontsSet_) Init();
  const bool locked = model_.TextLocked();
  TextPath->setReadOnly(locked);
  QPalette palette = TextPath->palette();
  palette.setColor(QPalette::Base,
                   QColor::fromRgb(platform::ColorToArgb(locked ? kFaceRef : kWindowRef)));
  TextPath->setPalette(palette);
  Draw();
}

void UC_PathText::SetEnabled(bool pEnabled) {
  model_.Enabled = pEnabled;
  ApplyTextLock();
}

void UC_PathText::SetTextDisabled(int32_t value) {
  model_.TextDisabled = value;
  ApplyTextLock();
}

void UC_PathText::SetFontSize(float pSize) {
  model_.FontSize = foundation::NearestInt32Saturated(pSize);
}

void UC_PathText::SetTextHeight(float pSize) {
  model_.TextHeight = foundation::NearestInt32Saturated(pSize);
}

void UC_PathText::SetTextIMEMode(int16_t pMode) {
  TextPath->setAttribute(Qt::WA_InputMethodEnabled, pMode != 3);
}

void UC_PathText::SelectButtonClick() {
  const PathTextModel::Selection selection = model_.Select(Text(), this);
  if (selection.text) SetText(*selection.text);
  if (selection.raise) emit SelectButtonClicked();
}

void UC_PathText::Pressed(int32_t button) {
  if (model_.Press(button)) Draw();
}

void UC_PathText::Released(int32_t button) {
  const PathTextModel::Release release = model_.Up(button);
  if (release.redraw) Draw();
  if (release.select) SelectButtonClick();
}

bool UC_PathText::eventFilter(QObject* watched, QEvent* event) {
  if (watched == TextPath && event->type() == QEvent::MouseButtonDblClick) {
    foundation::RunTrapped("UC_PathText.TextDblClick", [this] { emit TextDblClicked(); });
  }
  return platform::PictureBox::eventFilter(watched, event);
}

}  // namespace widgets
