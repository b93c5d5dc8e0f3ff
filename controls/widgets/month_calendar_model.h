#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "foundation/calendar.h"

namespace widgets {

// The month calendar's drawing at size rate 1, twips: 2010 wide, 2130 high.
inline constexpr int32_t kCalendarDefWidth = 2010;
inline constexpr int32_t kCalendarDefHeight = 2130;
inline constexpr int32_t kCalendarCells = 42;

// The date a calendar starts with (the zero date of the stored date values).
inline constexpr foundation::CalendarDate kCalendarZeroDate{1899, 12, 30};

// One drawn day: its number, its column 1 .. 7 and the top of its row, twips.
struct CalendarDay {
  int32_t day = 0;
  int32_t column = 1;
  int32_t rowY = 0;
};

// The days of a month laid out from its first day: the column of each day by the first
// weekday (1 Sunday .. 7 Saturday; any other value counts as Sunday), a new row after each day
// in the last column. grid holds the day number of each of the 42 cells (row × 7 + column - 1),
// 0 for cells without a day.
struct MonthLayout {
  std::array<int32_t, kCalendarCells> grid{};
  std::vector<CalendarDay> days;
};
MonthLayout LayOutMonth(int year, int month, int32_t firstDayWeek, float sizeRate);

// Column 1 .. 7 of a weekday (1 Sunday .. 7 Saturday) when the first column is firstDayWeek.
int32_t WeekdayColumn(int32_t weekday, int32_t firstDayWeek);

// What the date typed into the calendar's input box means: four digits are a year (its 1
// January), eight digits a yyyymmdd date, anything else any date text the date routines read.
// None when it is no date.
std::optional<foundation::CalendarDate> DateOfInput(const std::string& text);

// Where a left press lands, by the calendar's zones.
enum class CalendarZone { Other, PreviousMonth, NextMonth, InputBox, DayGrid };

// The month calendar's state, free of drawing: the chosen date and the month it shows, the
// highlight answers of the owner, the grid of the last drawing and the mouse zones. All
// coordinates are twips; s is the size rate.
class MonthCalendarModel {
 public:
  foundation::CalendarDate Value = kCalendarZeroDate;
  int32_t FirstDayWeek = 1;
  float SizeRate = 1.0F;
  int32_t RefuseInput = 0;
  int32_t UseHilite = 0;
  int32_t Hilited = 0;
  int32_t HiliteDayClear = 0;
  int32_t AllowNoDay = 0;
  int32_t HasNoDay = 0;
  int32_t HiliteColor = 0;
  std::array<int32_t, 32> HiliteOfDay{};  // answers for days 1 .. 31
  std::array<int32_t, kCalendarCells> DayGrid{};
  double LastDownX = 0;
  double LastDownY = 0;

  // The Value assignment: a date in another month (or year) makes the owner be asked for the
  // highlights again.
  void SetValue(const foundation::CalendarDate& date);
  // The UseHilite assignment: asks again and sets HiliteColor (the application workspace colour
  // lightened by 30).
  void SetUseHilite(int32_t value);

  CalendarZone ZoneAt(double x, double y) const;
  // The grid cell under a point of the day zone: none outside columns 0 .. 6 or cells 0 .. 41.
  std::optional<int32_t> CellAt(double x, double y) const;
  // The first day of the month before (-1) or after (+1) the one shown; with AllowNoDay no day
  // is chosen any more.
  void StepMonth(int32_t delta);
  // Chooses the day drawn in a cell; false (nothing changed) for an empty cell or a day the
  // shown month does not have.
  bool PickCell(int32_t cell);
  // Chooses the date of an input text; false (nothing changed) when it is no date.
  bool ApplyInput(const std::string& text);

  // "yyyy年mm月dd日", without the day while no day is chosen.
  std::string BarText() const;
  // The input box's preset: the value as yyyy/mm/dd.
  std::string InputDefault() const;

 private:
  // v × SizeRate, twips.
  double S(double v) const { return v * static_cast<double>(SizeRate); }
};

}  // namespace widgets
