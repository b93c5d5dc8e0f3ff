#include "foundation/date_text.h"

#include <gtest/gtest.h>

namespace {

using foundation::FormatDateJapanese;
using foundation::IsDateText;
using foundation::ParseDateText;
using foundation::WeekdayKanji;

TEST(DateTextTest, ParseDateTextAcceptsTheDocumentedForms) {
  struct Case {
    const char* text;
    int32_t mode;
    int32_t dayOffset;
    const char* expected;
  } cases[] = {
      {"2026/12/31", 0, 1, "2027/01/01"},
      {"20261207", 1, 0, "2026-12-07"},
      {"261207", 2, 0, "20261207"},
      {"20261207101500", 0, 0, "2026/12/07"},
      {"2026.01.05", 0, -5, "2025/12/31"},
      {"26/1/5", 0, 0, "2026/01/05"},
      {"2026年12月7日 10:15", 0, 0, "2026/12/07"},
      {"2026年12月7日10:15:30", 0, 0, "2026/12/07"},
      {" 2026/12/07 23:59:59 ", 0, 0, "2026/12/07"},
      {"2024/02/29", 0, 0, "2024/02/29"},
      {"2026/12/07", 3, 0, ""},
      {"2026/02/30", 0, 0, ""},
      {"2025/02/29", 0, 0, ""},
      {"2026/12-07", 0, 0, ""},
      {"2026/12/07 24:00", 0, 0, ""},
      {"2026/12/07 10:60", 0, 0, ""},
      {"2026/12/0710:00", 0, 0, ""},
      {"226/12/07", 0, 0, ""},
      {"２０２６/12/07", 0, 0, ""},
      {"20261207271520", 0, 0, ""},  // a broadcast hour is no clock time
      {"9999/12/31", 0, 1, ""},
      {"", 0, 0, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseDateText(c.text, c.mode, c.dayOffset), c.expected)
        << c.text << " mode " << c.mode << " offset " << c.dayOffset;
  }
  EXPECT_EQ(ParseDateText("2026/12/07", 0, 2147483647), "");
}

TEST(DateTextTest, IsDateTextNeedsEightCharactersAndNoPlainNumber) {
  EXPECT_EQ(IsDateText("2026/12/07"), 1);
  EXPECT_EQ(IsDateText("2026年1月1日"), 1);
  EXPECT_EQ(IsDateText("26年1月1日"), 0);  // 7 characters
  EXPECT_EQ(IsDateText("20261207"), 0);
  EXPECT_EQ(IsDateText("2026/13/45"), 0);
  EXPECT_EQ(IsDateText("2026/12/07 99:00"), 0);
}

TEST(DateTextTest, FormatDateJapaneseCutsDigitStrings) {
  struct Case {
    const char* digits;
    int32_t mode;
    int32_t parts;
    const char* expected;
  } cases[] = {
      {"20261207", 0, 3, "2026/12/07"},
      {"20261207", 1, 0, "2026年12月07日"},
      {"20261207", 9, 3, "20261207"},
      {"20261207271520", 0, 3, "2026/12/07 27:15:20"},
      {"20261207271520", 1, 3, "2026年12月07日 27時15分20秒"},
      {"20261207271520", 2, 3, "2026-12-07  27_15_20"},
      {"20261207271520", 0, 2, "27:15:20"},
      {"20261207271520", 0, 0, ""},
      {"2026120", 0, 3, ""},
      {"２６１２０７", 0, 3, ""},
      {"26120a", 0, 3, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatDateJapanese(c.digits, c.mode, c.parts), c.expected)
        << c.digits << " mode " << c.mode << " parts " << c.parts;
  }
}

TEST(DateTextTest, WeekdayKanjiByDateOrColumn) {
  EXPECT_EQ(WeekdayKanji("2026/12/06"), "日");
  EXPECT_EQ(WeekdayKanji("2026/12/08"), "火");
  EXPECT_EQ(WeekdayKanji("1970/01/01"), "木");
  EXPECT_EQ(WeekdayKanji("2026/02/30"), "");
  EXPECT_EQ(WeekdayKanji("", 1, 1), "日");
  EXPECT_EQ(WeekdayKanji("", 14, 1), "土");
  EXPECT_EQ(WeekdayKanji("", 15, 1), "");
  EXPECT_EQ(WeekdayKanji("", 2147483647, 32767), "");
}

}  // namespace
