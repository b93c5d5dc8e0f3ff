#include "controls/widgets/view/uc_tab.h"

#include "foundation/app_globals.h"
#include "foundation/colors.h"
#include "foundation/conversions.h"
#include "foundation/error_traps.h"
#include "foundation/font_table.h"
#include "platform/system_colors.h"

namespace widgets {

namespace {

constexpr int32_t kShadowRef = platform::SystemColorRef(platform::COLOR_BTNSHADOW);
constexpr int32_t kTextRef = platform::SystemColorRef(platform::COLOR_WINDOWTEXT);

}  // namespace

UC_Tab::UC_Tab(QWidget* parent)
    : platform::PictureBox(parent, foundation::Globals().TwipsPerPixel), fontWindow_(this) {
  connect(this, &platform::PictureBox::MouseUp, this, [this](int32_t, int32_t, double x, double) {
    foundation::RunTrapped("UC_Tab.MouseUp", [&] { Released(x); });
  });
}

UC_Tab::~UC_Tab() = default;

void UC_Tab::SetFontSize(float pValue) { fontSize_ = foundation::NearestInt32Saturated(pValue); }

void UC_Tab::SetNumTab(int32_t count) {
  const int32_t font = foundation::SetControlFont(&fontWindow_, -2, nullptr,
                                                  static_cast<float>(fontSize_), 0, 0, "");
  if (font >= 0) Surface().SetFont(foundation::FontOfEntry(font));
  model_.SetNumTab(count);
}

void UC_Tab::SetTabStr(int32_t pIndex, const std::string& pValue) {
  model_.SetTabStr(pIndex, pValue, Surface().TextWidth(pValue));
}

void UC_Tab::RaiseMinTabClick() {
  const int32_t index = model_.SelectFirstVisible();
  if (index < 0) return;
  DrawAll();
  emit TabClicked(index);
}

void UC_Tab::Released(double x) {
  const int32_t index = model_.Click(x);
  if (index < 0) return;
  DrawAll();
  emit TabClicked(index);
}

void UC_Tab::DrawAll() {
  platform::PictureSurface& s = Surface();
  if (s.TwipsPerPixel() <= 0) return;
  const int32_t base = foundation::SysColorToRgb(1);
  if (s.BackColor() != base) s.SetBackColor(base);
  if (!background_.CopyTo(s)) s.Cls();
  const std::vector<TabSpan> spans = model_.Spans();
  for (const TabSpan& span : spans) DrawTab(span, base, span.index == model_.SelectedTab());
  if (!spans.empty()) {
    const int x = s.ToPixel(spans.back().right);
    s.FillRectPx(x, 0, x + 1, s.PixelHeight(), kShadowRef);
  }
}

void UC_Tab::DrawTab(const TabSpan& span, int32_t base, bool selected) {
  platform::PictureSurface& s = Surface();
  const int left = s.ToPixel(span.left);
  const int right = s.ToPixel(span.right);
  const int height = s.PixelHeight();
  s.FillRectPx(left, 0, right, height, base);
  // The band of a tab that is not selected starts one pixel lower.
  const int top = selected ? 0 : 1;
  const auto band = TabBandColours(base);
  for (int j = 0; j < kTabBandLines; ++j) {
    s.FillRectPx(left, top + j, right, top + j + 1, band[static_cast<size_t>(j)]);
  }
  s.FillRectPx(left, 0, left + 1, height, kShadowRef);
  if (!selected) s.FillRectPx(left, height - 1, right, height, kShadowRef);

  const StripTab* tab = model_.Tab(span.index);
  if (tab == nullptr) return;
  s.SetForeColor(selected ? kTextRef : DimmedTabText(kTextRef));
  s.SetCurrentX(span.left + (span.right - span.left - s.TextWidth(tab->Text)) / 2);
  s.SetCurrentY((s.ScaleHeight() - s.TextHeight(tab->Text)) / 2);
  s.Print(tab->Text);
}

}  // namespace widgets
