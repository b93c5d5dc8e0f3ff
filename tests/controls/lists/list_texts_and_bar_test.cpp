#include <gtest/gtest.h>

#include "controls/lists/count_down_bar.h"
#include "controls/lists/list_value.h"
#include "controls/lists/time_entry.h"

namespace lists {
namespace {

TEST(TimeEntryTest, OnlySixAsciiDigitsBecomeATime) {
  const std::pair<const char*, const char*> cases[] = {
      {"123456", "12:34:56"}, {"253000", "25:30:00"},    {"300000", "30:00:00"},
      {"000000", "00:00:00"}, {"310000", nullptr},       {"126000", nullptr},
      {"123460", nullptr},    {"12345", nullptr},        {"1234567", nullptr},
      {" 12345", nullptr},    {"-12345", nullptr},       {"1.2345", nullptr},
      {"12e345", nullptr},    {"１２３４５６", nullptr}, {"12:34:56", nullptr},
      {"", nullptr},
  };
  for (const auto& [typed, time] : cases) {
    SCOPED_TRACE(typed);
    const auto result = TimeFromSixDigits(typed);
    if (time == nullptr) {
      EXPECT_FALSE(result.has_value());
    } else {
      EXPECT_EQ(result, std::string(time));
    }
  }
}

TEST(ListValueTest, TextsAndNumbers) {
  EXPECT_EQ(ListValue().Text(), "");
  EXPECT_EQ(ListValue(-1).Text(), "-1");
  EXPECT_EQ(ListValue(2.5).Text(), "2.5");
  EXPECT_EQ(ListValue("ＣＭ").Text(), "ＣＭ");
  EXPECT_EQ(ListValue("&H10").Number(), 16.0);
  EXPECT_EQ(ListValue(" 7 ").Number(), 7.0);
  EXPECT_FALSE(ListValue("7x").Number().has_value());
  EXPECT_FALSE(ListValue().Number().has_value());
  EXPECT_NE(ListValue(1), ListValue("1"));
  EXPECT_EQ(ListValue("a"), ListValue(std::string("a")));
}

TEST(CountDownBarTest, FilledShareAndGradient) {
  // A 10 s threshold on a bar 3000 twips wide.
  EXPECT_EQ(CountDownFilled(10, 10, 3000), std::nullopt);
  EXPECT_EQ(CountDownFilled(10, 12, 3000), std::nullopt);
  EXPECT_EQ(CountDownFilled(10, 5, 3000), 1500);
  EXPECT_EQ(CountDownFilled(10, 0, 3000), 3000);
  EXPECT_EQ(CountDownFilled(10, -5, 3000), 4500);
  // No threshold: the whole gradient, never a division by zero.
  EXPECT_EQ(CountDownFilled(0, -5, 3000), std::nullopt);
  EXPECT_EQ(CountDownFilled(-10, -20, 3000), std::nullopt);

  // 20 pixels high: N = 10, edge at the top and bottom rows, the middle at row 10.
  const auto lines = CountDownGradient(0x808080, 0xD0D0D0, 300, 15);
  ASSERT_EQ(lines.size(), 22u);
  EXPECT_EQ(lines.front().colour, 0x808080);
  EXPECT_DOUBLE_EQ(lines.front().y, 0);
  EXPECT_EQ(lines[10].colour, 0xD0D0D0);
  EXPECT_EQ(lines[11].colour, 0xD0D0D0);
  EXPECT_DOUBLE_EQ(lines[11].y, 150);
  EXPECT_EQ(lines[5].colour, 0xA8A8A8);  // 0x80 + 8 x 5 per channel
  EXPECT_EQ(lines.back().colour, 0x808080);
  EXPECT_DOUBLE_EQ(lines.back().y, 300);
  // Less than two pixels: colour 1 alone; no scale: nothing.
  const auto flat = CountDownGradient(0x7070A0, 0xC0C0F0, 15, 15);
  ASSERT_EQ(flat.size(), 1u);
  EXPECT_EQ(flat[0].colour, 0x7070A0);
  EXPECT_TRUE(CountDownGradient(1, 2, 300, 0).empty());

  EXPECT_EQ(CountDownColorType(2)->middle, 0xC0C0F0);
  EXPECT_FALSE(CountDownColorType(3).has_value());
  EXPECT_FALSE(CountDownColorType(-1).has_value());
}

}  // namespace
}  // namespace lists
