#include "controls/widgets/month_calendar_model.h"

#include "foundation/colors.h"
#include "foundation/conversions.h"
#include "foundation/date_text.h"
#include "foundation/text_fields.h"
#include "platform/system_colors.h"

namespace widgets {

namespace {

bool ValidFirstDay(int32_t firstDayWeek) { return firstDayWeek >= 1 && firstDayWeek <= 7; }

}  // namespace

int32_t WeekdayColumn(int32_t weekday, int32_t firstDayWeek) {
  if (!ValidFirstDay(firstDayWeek)) firstDayWeek = 1;
  return static_cast<int32_t>(foundation::FloorMod(weekday - firstDayWeek, 7)) + 1;
}

MonthLayout LayOutMonth(int year, int month, int32_t firstDayWeek, float sizeRate) {
  MonthLayout layout;
  if (!foundation::IsValidDate(year, month, 1)) return layout;
  const double s = sizeRate;
  const int64_t first = foundation::DayNumber({year, month, 1});
  int32_t rowY = foundation::NearestInt32Saturated(360 * s);
  int32_t row = 0;
  for (int day = 1; foundation::IsValidDate(year, month, day); ++day) {
    const int32_t column =
        WeekdayColumn(foundation::WeekdayOfDayNumber(first + day - 1), firstDayWeek);
    const int32_t cell = row * 7 + column - 1;
    if (cell >= 0 && cell < kCalendarCells) layout.grid[static_cast<size_t>(cell)] = day;
    layout.days.push_back({day, column, rowY});
    const int32_t next = WeekdayColumn(foundation::WeekdayOfDayNumber(first + day), firstDayWeek);
    if (next == 1) {
      rowY = foundation::NearestInt32Saturated(rowY + 240 * s);
      ++row;
    }
  }
  return layout;
}

std::optional<foundation::CalendarDate> DateOfInput(const std::string& text) {
  std::string date = text;
  if (foundation::IsPlainNumber(text)) {
    const size_t length = foundation::CharCount(text);
    if (length == 4) date = text + "/01/01";
    if (length == 8) date = foundation::FormatDateJapanese(text, 0);
  }
  if (foundation::IsDateText(date) == 0) return std::nullopt;
  const std::string ymd = foundation::ParseDateText(date, 0);
  foundation::CalendarDate result;
  if (ymd.size() != 10 || !foundation::ReadDigits(ymd, 0, 4, result.year) ||
      !foundation::ReadDigits(ymd, 5, 2, result.month) ||
      !foundation::ReadDigits(ymd, 8, 2, result.day) ||
      !foundation::IsValidDate(result.year, result.month, result.day)) {
    return std::nullopt;
  }
  return result;
}

void MonthCalendarModel::SetValue(const foundation::CalendarDate& date) {
  if (date.year != Value.year || date.month != Value.month) HiliteDayClear = 1;
  Value = date;
}

void MonthCalendarModel::SetUseHilite(int32_t value) {
  UseHilite = value;
  HiliteDayClear = 1;
  HiliteColor = foundation::BlendColor(platform::SystemColorRef(platform::COLOR_APPWORKSPACE), 30,
                                       30, 30, -1);
}

CalendarZone MonthCalendarModel::ZoneAt(double x, double y) const {
  if (y > S(1800) && y < S(1980)) {
    if (x > S(90) && x < S(270)) return CalendarZone::PreviousMonth;
    if (x > S(1695) && x < S(1875)) return CalendarZone::NextMonth;
    if (x > S(270) && x < S(1695)) return CalendarZone::InputBox;
    return CalendarZone::Other;
  }
  if (y > S(360) && y < S(1800)) return CalendarZone::DayGrid;
  return CalendarZone::Other;
}

std::optional<int32_t> MonthCalendarModel::CellAt(double x, double y) const {
  const int32_t pitch = foundation::NearestInt32Saturated(S(240));
  if (pitch <= 0) return std::nullopt;
  const int32_t row = foundation::NearestInt32Saturated(y - S(360)) / pitch;
  const int32_t column = foundation::NearestInt32Saturated(x - S(120)) / pitch;
  if (column < 0 || column > 6) return std::nullopt;
  const int32_t cell = row * 7 + column;
  if (cell < 0 || cell >= kCalendarCells) return std::nullopt;
  return cell;
}

void MonthCalendarModel::StepMonth(int32_t delta) {
  int year = Value.year;
  int month = Value.month + delta;
  if (month < 1) {
    month = 12;
    --year;
  } else if (month > 12) {
    month = 1;
    ++year;
  }
  if (!foundation::IsValidDate(year, month, 1)) return;
  Value = {year, month, 1};
  HiliteDayClear = 1;
  if (AllowNoDay != 0) HasNoDay = 1;
}

bool MonthCalendarModel::PickCell(int32_t cell) {
  if (cell < 0 || cell >= kCalendarCells) return false;
  const int32_t day = DayGrid[static_cast<size_t>(cell)];
  if (day < 1 || day > 32 || !foundation::IsValidDate(Value.year, Value.month, day)) return false;
  Value.day = day;
  HasNoDay = 0;
  return true;
}

bool MonthCalendarModel::ApplyInput(const std::string& text) {
  const auto date = DateOfInput(text);
  if (!date) return false;
  Value = *date;
  HiliteDayClear = 1;
  HasNoDay = 0;
  return true;
}

std::string MonthCalendarModel::BarText() const {
  std::string text =
      foundation::PadNumber(Value.year, 4) + "年" + foundation::PadNumber(Value.month, 2) + "月";
  if (HasNoDay == 0) text += foundation::PadNumber(Value.day, 2) + "日";
  return text;
}

std::string MonthCalendarModel::InputDefault() const {
  return foundation::PadNumber(Value.year, 4) + "/" + foundation::PadNumber(Value.month, 2) + "/" +
         foundation::PadNumber(Value.day, 2);
}

}  // namespace widgets
