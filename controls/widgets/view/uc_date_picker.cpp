#include "controls/widgets/view/uc_date_picker.h"

#include <algorithm>
#include <cmath>

#include "foundation/app_globals.h"
#include "foundation/date_text.h"
#include "foundation/error_traps.h"
#include "foundation/font_table.h"
#include "foundation/user_dialogs.h"
#include "platform/system_colors.h"
#include "platform/view/edge_3d.h"

namespace widgets {

namespace {

constexpr int32_t kBackRef = platform::SystemColorRef(platform::COLOR_APPWORKSPACE);
constexpr int32_t kFaceRef = platform::SystemColorRef(platform::COLOR_BTNFACE);
constexpr int32_t kCaptionTextRef = platform::SystemColorRef(platform::COLOR_CAPTIONTEXT);
constexpr int32_t kArrowRef = platform::SystemColorRef(platform::COLOR_BTNTEXT);

// Clears a flag when the scope ends, however it ends.
class Guard {
 public:
  explicit Guard(bool& flag) : flag_(flag) { flag_ = true; }
  ~Guard() { flag_ = false; }
  Guard(const Guard&) = delete;
  Guard& operator=(const Guard&) = delete;

 private:
  bool& flag_;
};

}  // namespace

UC_DatePicker::UC_DatePicker(QWidget* parent)
    : platform::PictureBox(parent, foundation::Globals().TwipsPerPixel), fontWindow_(this) {
  Surface().SetBackColor(kBackRef);
  Move(0, 0, kCalendarDefWidth, kCalendarDefHeight);
  const int32_t font = foundation::SetControlFont(&fontWindow_, -2, nullptr, 9, 0, 0, "");
  if (font >= 0) Surface().SetFont(foundation::FontOfEntry(font));
  connect(this, &platform::PictureBox::MouseDown, this,
          [this](int32_t button, int32_t shift, double x, double y) {
            foundation::RunTrapped("UC_DatePicker.MouseDown",
                                   [&] { Pressed(button, shift, x, y); });
          });
  connect(this, &platform::PictureBox::MouseUp, this,
          [this](int32_t button, int32_t, double, double) {
            foundation::RunTrapped("UC_DatePicker.MouseUp", [&] { Released(button); });
          });
  connect(this, &platform::PictureBox::DblClick, this, [this] {
    foundation::RunTrapped("UC_DatePicker.DblClick", [this] { DoubleClicked(); });
  });
}

UC_DatePicker::~UC_DatePicker() = default;

void UC_DatePicker::SetSizeRate(float value) {
  if (!std::isfinite(value) || value <= 0) return;
  model_.SizeRate = value;
  Move(Left(), Top(), kCalendarDefWidth * static_cast<double>(value),
       kCalendarDefHeight * static_cast<double>(value));
  const int32_t font = foundation::SetControlFont(&fontWindow_, -2, nullptr, 9 * value, 0, 0, "");
  if (font >= 0) Surface().SetFont(foundation::FontOfEntry(font));
  DrawAll();
}

void UC_DatePicker::SetValue(const foundation::CalendarDate& value) {
  model_.SetValue(value);
  DrawAll();
}

foundation::CalendarDate UC_DatePicker::Value() {
  model_.HasNoDay = 0;
  return model_.Value;
}

void UC_DatePicker::AskHilites(const MonthLayout& layout) {
  if (model_.UseHilite != 1 || model_.HiliteDayClear != 1) return;
  for (const CalendarDay& d : layout.days) {
    emit HiliteDay({model_.Value.year, model_.Value.month, d.day});
    model_.HiliteOfDay[static_cast<size_t>(d.day)] = model_.Hilited;
  }
}

void UC_DatePicker::DrawAll() {
  // An owner that redraws from its HiliteDay handler gets the drawing that follows the asking.
  if (drawing_) return;
  Guard guard(drawing_);
  platform::PictureSurface& surface = Surface();
  if (surface.TwipsPerPixel() <= 0) return;
  const double s = model_.SizeRate;
  const int32_t firstDay =
      model_.FirstDayWeek >= 1 && model_.FirstDayWeek <= 7 ? model_.FirstDayWeek : 1;
  const MonthLayout layout =
      LayOutMonth(model_.Value.year, model_.Value.month, firstDay, model_.SizeRate);
  model_.DayGrid = layout.grid;
  AskHilites(layout);
  model_.HiliteDayClear = 0;

  surface.Cls();
  surface.SetForeColor(kFaceRef);
  for (int32_t k = 1; k <= 7; ++k) {
    surface.SetCurrentX(240 * s * k - 90 * s);
    surface.SetCurrentY(120);
    surface.Print(foundation::WeekdayKanji("", k, static_cast<int16_t>(firstDay)));
  }
  for (const CalendarDay& d : layout.days) {
    const double column = 240 * s * d.column;
    if (model_.UseHilite == 1 && model_.HiliteOfDay[static_cast<size_t>(d.day)] == 1) {
      surface.Box(column - 142 * s, d.rowY - 24 * s, column + 85 * s, d.rowY + 195 * s,
                  model_.HiliteColor);
    }
    const bool chosen = d.day == model_.Value.day && model_.HasNoDay == 0;
    surface.SetForeColor(chosen ? 0xFFFFFF : 0x000000);
    surface.SetCurrentX(column - (d.day < 10 ? 60 : 120) * s);
    surface.SetCurrentY(d.rowY);
    surface.Print(std::to_string(d.day));
  }
  surface.SetForeColor(kCaptionTextRef);
  surface.SetCurrentX(360 * s);
  surface.SetCurrentY(1800 * s);
  surface.Print(model_.BarText());
  DrawArrowButton(90 * s, true);
  DrawArrowButton(1680 * s, false);
}

void UC_DatePicker::DrawArrowButton(double left, bool pointsLeft) {
  platform::PictureSurface& surface = Surface();
  const double s = model_.SizeRate;
  const int x1 = surface.ToPixel(left);
  const int x2 = surface.ToPixel(left + 195 * s);
  const int y1 = surface.ToPixel(1800 * s);
  const int y2 = surface.ToPixel(1980 * s);
  surface.DrawEdge(x1, y1, x2, y2, platform::EDGE_RAISED, platform::BF_RECT | platform::BF_MIDDLE);
  // A small solid arrow in the middle, its tip outwards.
  const int cx = (x1 + x2) / 2;
  const int cy = (y1 + y2) / 2;
  const int depth = std::max(2, (y2 - y1) / 4);
  for (int i = 0; i < depth; ++i) {
    const int x = pointsLeft ? cx - depth / 2 + i : cx + depth / 2 - i;
    surface.FillRectPx(x, cy - i, x + 1, cy + i + 1, kArrowRef);
  }
}

void UC_DatePicker::Pressed(int32_t button, int32_t shift, double x, double y) {
  if (model_.RefuseInput != 0) return;
  emit MouseDown(0, static_cast<int16_t>(button), static_cast<int16_t>(shift));
  if (button != 1) return;
  model_.LastDownX = x;
  model_.LastDownY = y;
  switch (model_.ZoneAt(x, y)) {
    case CalendarZone::PreviousMonth:
      model_.StepMonth(-1);
      break;
    case CalendarZone::NextMonth:
      model_.StepMonth(1);
      break;
    case CalendarZone::InputBox: {
      std::string answer;
      if (platform::DialogService* dialogs = foundation::GetDialogService()) {
        answer = dialogs->AskText({"", "日付選択", model_.InputDefault(), this}).value_or("");
      }
      if (answer.empty()) return;
      model_.ApplyInput(answer);
      break;
    }
    case CalendarZone::DayGrid: {
      const auto cell = model_.CellAt(x, y);
      if (!cell || !model_.PickCell(*cell)) return;
      break;
    }
    case CalendarZone::Other:
      break;
  }
  emit MouseDown(1, 1, static_cast<int16_t>(shift));
  DrawAll();
  emit MouseDown(2, 1, static_cast<int16_t>(shift));
}

void UC_DatePicker::Released(int32_t button) {
  if (button == 1 && model_.RefuseInput == 0) emit Clicked(1);
}

void UC_DatePicker::DoubleClicked() {
  if (model_.RefuseInput != 0) return;
  const CalendarZone zone = model_.ZoneAt(model_.LastDownX, model_.LastDownY);
  if (zone == CalendarZone::PreviousMonth || zone == CalendarZone::NextMonth) {
    Pressed(1, 0, model_.LastDownX, model_.LastDownY);
    return;
  }
  emit DblClicked();
}

}  // namespace widgets
