#include "controls/widgets/month_calendar_model.h"

#include <gtest/gtest.h>

#include <set>

namespace widgets {
namespace {

using foundation::CalendarDate;

bool Same(const CalendarDate& a, const CalendarDate& b) {
  return a.year == b.year && a.month == b.month && a.day == b.day;
}

TEST(MonthCalendarModelTest, MonthsStartingOnEachWeekday) {
  struct Case {
    int year, month;
    int32_t firstDayWeek;
    int32_t firstCell;  // cell of day 1
    int32_t lastCell;   // cell of the month's last day
    size_t rows;
  } const cases[] = {
      {2024, 9, 1, 0, 29, 5},   // starts on Sunday
      {2024, 4, 1, 1, 30, 5},   // Monday
      {2024, 10, 1, 2, 32, 5},  // Tuesday
      {2024, 5, 1, 3, 33, 5},   // Wednesday
      {2024, 8, 1, 4, 34, 5},   // Thursday
      {2024, 3, 1, 5, 35, 6},   // Friday
      {2024, 6, 1, 6, 35, 6},   // Saturday, 30 days
      {2023, 7, 1, 6, 36, 6},   // Saturday, 31 days: the sixth row, never a seventh
      {2024, 9, 2, 6, 35, 6},   // Monday first: a Sunday is the seventh column
      {2024, 4, 2, 0, 29, 5},  {2024, 6, 7, 0, 29, 5},  // Saturday first
      {2024, 9, 0, 0, 29, 5},                           // no such first day: Sunday
      {2024, 2, 1, 4, 32, 5},                           // February of a leap year: 29 days
      {2023, 2, 1, 3, 30, 5},                           // 28 days
      {2015, 2, 1, 0, 27, 4},                           // 28 days from a Sunday: four rows exactly
      {2000, 2, 1, 2, 30, 5},                           // a leap year by the 400-year rule
      {2100, 2, 1, 1, 28, 5},                           // not a leap year by the 100-year rule
  };
  for (const Case& c : cases) {
    const MonthLayout layout = LayOutMonth(c.year, c.month, c.firstDayWeek, 1.0F);
    const std::string what = std::to_string(c.year) + "/" + std::to_string(c.month) + " first " +
                             std::to_string(c.firstDayWeek);
    ASSERT_FALSE(layout.days.empty()) << what;
    EXPECT_EQ(layout.days.back().day, c.lastCell - c.firstCell + 1) << what;
    EXPECT_EQ(layout.days.size(), static_cast<size_t>(c.lastCell - c.firstCell + 1)) << what;
    std::set<int32_t> rows;
    for (const CalendarDay& d : layout.days) rows.insert(d.rowY);
    EXPECT_EQ(rows.size(), c.rows) << what;
    // Cells hold consecutive days, and nothing is in the cells before and after them.
    for (int32_t cell = 0; cell < kCalendarCells; ++cell) {
      const int32_t expected =
          cell >= c.firstCell && cell <= c.lastCell ? cell - c.firstCell + 1 : 0;
      EXPECT_EQ(layout.grid[static_cast<size_t>(cell)], expected) << what << " cell " << cell;
    }
  }
  // Rows start at 360 twips and are 240 apart, scaled (rounded to whole twips).
  const MonthLayout scaled = LayOutMonth(2024, 9, 1, 1.5F);
  EXPECT_EQ(scaled.days.front().rowY, 540);
  EXPECT_EQ(scaled.days[7].rowY, 900);
  EXPECT_TRUE(LayOutMonth(2024, 13, 1, 1.0F).days.empty());
  EXPECT_EQ(WeekdayColumn(1, 2), 7);
  EXPECT_EQ(WeekdayColumn(7, 7), 1);
}

TEST(MonthCalendarModelTest, ZonesAndCells) {
  MonthCalendarModel m;
  struct Zone {
    double x, y;
    CalendarZone zone;
  } const zones[] = {
      {100, 1900, CalendarZone::PreviousMonth}, {1700, 1900, CalendarZone::NextMonth},
      {1000, 1900, CalendarZone::InputBox},     {270, 1900, CalendarZone::Other},
      {1950, 1900, CalendarZone::Other},        {1000, 1800, CalendarZone::Other},
      {1000, 500, CalendarZone::DayGrid},       {1000, 200, CalendarZone::Other},
  };
  for (const Zone& z : zones) EXPECT_EQ(m.ZoneAt(z.x, z.y), z.zone) << z.x << "," << z.y;
  m.SizeRate = 2.0F;
  EXPECT_EQ(m.ZoneAt(200, 3700), CalendarZone::PreviousMonth);
  EXPECT_EQ(m.ZoneAt(1000, 1900), CalendarZone::DayGrid);
  m.SizeRate = 1.0F;

  struct Cell {
    double x, y;
    std::optional<int32_t> cell;
  } const cells[] = {
      {130, 370, 0},
      {1570, 370, 6},
      {1570, 1790, 41},
      {370, 610, 8},
      {100, 370, 0},              // left of the first column: truncated into column 0
      {1800, 370, std::nullopt},  // past the last column: no cell, not the next row's first
      {2000, 1790, std::nullopt},
  };
  for (const Cell& c : cells) EXPECT_EQ(m.CellAt(c.x, c.y), c.cell) << c.x << "," << c.y;
  m.SizeRate = 0.001F;  // no pitch left
  EXPECT_FALSE(m.CellAt(130, 370).has_value());
}

TEST(MonthCalendarModelTest, ChoosingDaysAndMonths) {
  MonthCalendarModel m;
  m.SetValue({2024, 1, 20});
  EXPECT_EQ(m.HiliteDayClear, 1);
  m.HiliteDayClear = 0;
  m.SetValue({2024, 1, 5});  // same month: no new asking
  EXPECT_EQ(m.HiliteDayClear, 0);
  EXPECT_EQ(m.BarText(), "2024年01月05日");
  EXPECT_EQ(m.InputDefault(), "2024/01/05");

  m.StepMonth(-1);
  EXPECT_TRUE(Same(m.Value, {2023, 12, 1}));
  EXPECT_EQ(m.HiliteDayClear, 1);
  EXPECT_EQ(m.HasNoDay, 0);
  m.AllowNoDay = 1;
  m.StepMonth(1);
  EXPECT_TRUE(Same(m.Value, {2024, 1, 1}));
  EXPECT_EQ(m.HasNoDay, 1);
  EXPECT_EQ(m.BarText(), "2024年01月");
  m.Value = {1, 1, 15};
  m.StepMonth(-1);  // before the first year: nothing
  EXPECT_TRUE(Same(m.Value, {1, 1, 15}));

  // Picking a cell takes the day the last drawing put there.
  m.Value = {2024, 9, 10};
  m.DayGrid = LayOutMonth(2024, 9, 1, 1.0F).grid;
  EXPECT_TRUE(m.PickCell(29));
  EXPECT_TRUE(Same(m.Value, {2024, 9, 30}));
  EXPECT_EQ(m.HasNoDay, 0);
  for (int32_t cell : {30, 41, -1, 42}) EXPECT_FALSE(m.PickCell(cell)) << cell;
  m.DayGrid = LayOutMonth(2024, 8, 1, 1.0F).grid;  // a grid with a 31st in a 30-day month
  EXPECT_FALSE(m.PickCell(34));
  EXPECT_TRUE(Same(m.Value, {2024, 9, 30}));

  m.HasNoDay = 1;
  m.HiliteDayClear = 0;
  EXPECT_FALSE(m.ApplyInput("no date"));
  EXPECT_EQ(m.HasNoDay, 1);
  EXPECT_TRUE(m.ApplyInput("2024"));
  EXPECT_TRUE(Same(m.Value, {2024, 1, 1}));
  EXPECT_EQ(m.HasNoDay, 0);
  EXPECT_EQ(m.HiliteDayClear, 1);

  m.SetUseHilite(1);
  EXPECT_EQ(m.HiliteColor, 0x9E9E9E);  // the workspace grey lightened by 30
}

TEST(MonthCalendarModelTest, InputTexts) {
  struct Case {
    const char* text;
    std::optional<CalendarDate> date;
  } const cases[] = {
      {"2024", CalendarDate{2024, 1, 1}},
      {"20240315", CalendarDate{2024, 3, 15}},
      {"2024/03/15", CalendarDate{2024, 3, 15}},
      {"2024/3/5", CalendarDate{2024, 3, 5}},
      {"20240230", std::nullopt},
      {"2024/02/30", std::nullopt},
      {"12345678", std::nullopt},
      {"0000", std::nullopt},
      {"20241", std::nullopt},
      {"abc", std::nullopt},
      {"", std::nullopt},
      {"２０２４", std::nullopt},
  };
  for (const Case& c : cases) {
    const auto date = DateOfInput(c.text);
    ASSERT_EQ(date.has_value(), c.date.has_value()) << c.text;
    if (date) {
      EXPECT_TRUE(Same(*date, *c.date)) << c.text;
    }
  }
}

}  // namespace
}  // namespace widgets
