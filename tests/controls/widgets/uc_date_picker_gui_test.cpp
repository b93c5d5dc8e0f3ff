#include <gtest/gtest.h>

#include <QTest>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "controls/widgets/view/uc_date_picker.h"
#include "foundation/user_dialogs.h"
#include "foundation/view/qt_font_factory.h"
#include "signal_log.h"
#include "tests/fakes/platform/fake_dialog_service.h"

namespace widgets {
namespace {

using foundation::CalendarDate;
using Log = std::vector<std::string>;

std::string Text(const CalendarDate& d) {
  return std::to_string(d.year) + "/" + std::to_string(d.month) + "/" + std::to_string(d.day);
}

// Every event as "Down(stage,button,shift)", "Clicked(1)", "Dbl".
struct CalendarEvents : SignalLog {
  explicit CalendarEvents(UC_DatePicker& calendar) {
    Watch(&calendar, &UC_DatePicker::MouseDown, "Down");
    Watch(&calendar, &UC_DatePicker::Clicked, "Clicked");
    Watch(&calendar, &UC_DatePicker::DblClicked, "Dbl");
  }
};

// A widget point for twips of the calendar at size rate 1.
QPoint At(double x, double y) { return QPoint(static_cast<int>(x / 15), static_cast<int>(y / 15)); }

// The point of day `day` of September 2024 (starts on a Sunday) with Sunday first.
QPoint DayOfSeptember(int day) {
  const int cell = day - 1;
  return At(120 + 240 * (cell % 7) + 100, 360 + 240 * (cell / 7) + 100);
}

class UcDatePickerGuiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    foundation::InstallQtFontFactory();
    foundation::SetDialogService(&dialogs_);
  }
  void TearDown() override { foundation::SetDialogService(nullptr); }

  static std::unique_ptr<UC_DatePicker> September() {
    auto calendar = std::make_unique<UC_DatePicker>();
    calendar->SetValue({2024, 9, 10});
    calendar->show();
    return calendar;
  }
  platform::FakeDialogService dialogs_;
};

TEST_F(UcDatePickerGuiTest, SizeAndDrawing) {
  auto calendar = September();
  EXPECT_EQ(calendar->width(), 134);
  EXPECT_EQ(calendar->height(), 142);
  // The chosen day's number is white, the others black, on the workspace grey.
  const platform::PictureSurface& s = calendar->Surface();
  const auto count = [&](QPoint p, bool bright) {
    int n = 0;
    for (int y = p.y() - 6; y < p.y() + 6; ++y) {
      for (int x = p.x() - 7; x < p.x() + 5; ++x) {
        const int32_t blue = s.GetPixelPx(x, y) & 0xFF;
        n += (bright ? blue > 0xE0 : blue < 0x30) ? 1 : 0;
      }
    }
    return n;
  };
  EXPECT_GT(count(DayOfSeptember(10), true), 2);
  EXPECT_EQ(count(DayOfSeptember(10), false), 0);
  EXPECT_GT(count(DayOfSeptember(11), false), 2);
  EXPECT_EQ(count(DayOfSeptember(11), true), 0);
  EXPECT_EQ(s.GetPixelPx(2, 60), 0x808080);

  calendar->SetSizeRate(1.5F);
  EXPECT_EQ(calendar->width(), 201);
  EXPECT_EQ(calendar->height(), 213);
  calendar->SetSizeRate(0.0F);  // ignored
  EXPECT_EQ(calendar->width(), 201);
}

TEST_F(UcDatePickerGuiTest, OwnerIsAskedForHighlightsOncePerChange) {
  auto calendar = September();
  std::vector<int> asked;
  QObject::connect(calendar.get(), &UC_DatePicker::HiliteDay, [&](const CalendarDate& d) {
    asked.push_back(d.day);
    calendar->SetHilited(d.day % 2 == 0 ? 1 : 0);
    calendar->DrawAll();  // an owner redrawing from its handler draws nothing in between
  });
  calendar->SetUseHilite(1);
  calendar->DrawAll();
  ASSERT_EQ(asked.size(), 30U);
  EXPECT_EQ(asked.front(), 1);
  EXPECT_EQ(asked.back(), 30);
  asked.clear();
  calendar->DrawAll();
  calendar->SetValue({2024, 9, 12});  // same month
  calendar->repaint();                // painting never asks
  EXPECT_TRUE(calendar->grab().save("/dev/null", "PNG"));
  EXPECT_TRUE(asked.empty());
  calendar->SetHiliteDayClear(1);
  calendar->DrawAll();
  EXPECT_EQ(asked.size(), 30U);
  asked.clear();
  calendar->SetValue({2024, 2, 12});
  EXPECT_EQ(asked.size(), 29U);
  asked.clear();
  calendar->SetUseHilite(0);
  calendar->SetHiliteDayClear(1);
  calendar->DrawAll();
  EXPECT_TRUE(asked.empty());
  EXPECT_EQ(calendar->Model().HiliteDayClear, 0);

  // Answers are drawn as boxes behind the days: day 2 of February 2024 (a Friday) is marked,
  // day 1 is not.
  calendar->SetUseHilite(1);
  calendar->DrawAll();
  EXPECT_EQ(calendar->Model().HiliteOfDay[2], 1);
  EXPECT_EQ(calendar->Model().HiliteOfDay[1], 0);
  const platform::PictureSurface& s = calendar->Surface();
  EXPECT_EQ(s.GetPixelPx((240 * 6 - 130) / 15, (360 - 15) / 15), 0x9E9E9E);
  EXPECT_EQ(s.GetPixelPx((240 * 5 - 130) / 15, (360 - 15) / 15), 0x808080);
}

TEST_F(UcDatePickerGuiTest, PressingDaysArrowsAndElsewhere) {
  auto calendar = September();
  CalendarEvents events(*calendar);
  QTest::mouseClick(calendar.get(), Qt::LeftButton, {}, DayOfSeptember(20));
  EXPECT_EQ(Text(calendar->Value()), "2024/9/20");
  EXPECT_EQ(events.Take(), (Log{"Down(0,1,0)", "Down(1,1,0)", "Down(2,1,0)", "Clicked(1)"}));
  // Right of the last column, an empty cell, and the right button: nothing chosen.
  QTest::mouseClick(calendar.get(), Qt::LeftButton, {}, At(1850, 400));
  QTest::mouseClick(calendar.get(), Qt::LeftButton, {}, DayOfSeptember(33));
  EXPECT_EQ(events.Take(), (Log{"Down(0,1,0)", "Clicked(1)", "Down(0,1,0)", "Clicked(1)"}));
  QTest::mouseClick(calendar.get(), Qt::RightButton, Qt::ShiftModifier, DayOfSeptember(3));
  EXPECT_EQ(events.Take(), (Log{"Down(0,2,1)"}));
  // The headings change nothing but go through the stages.
  QTest::mouseClick(calendar.get(), Qt::LeftButton, {}, At(500, 150));
  EXPECT_EQ(events.Take(), (Log{"Down(0,1,0)", "Down(1,1,0)", "Down(2,1,0)", "Clicked(1)"}));
  EXPECT_EQ(Text(calendar->Value()), "2024/9/20");

  // The arrows step the month; a double click on one steps once more.
  calendar->SetValue({2024, 1, 20});
  calendar->SetAllowNoDay(1);
  QTest::mouseClick(calendar.get(), Qt::LeftButton, {}, At(180, 1890));
  EXPECT_EQ(calendar->Model().HasNoDay, 1);
  EXPECT_EQ(Text(calendar->Value()), "2023/12/1");
  EXPECT_EQ(calendar->HasNoDay(), 0);  // reading the value chose the day again
  QTest::mouseDClick(calendar.get(), Qt::LeftButton, {}, At(180, 1890));
  EXPECT_EQ(Text(calendar->Value()), "2023/11/1");
  QTest::mouseClick(calendar.get(), Qt::LeftButton, {}, At(1780, 1890));
  EXPECT_EQ(Text(calendar->Value()), "2023/12/1");
  events.Take();
  QTest::mouseClick(calendar.get(), Qt::LeftButton, {}, DayOfSeptember(10));
  QTest::mouseDClick(calendar.get(), Qt::LeftButton, {}, DayOfSeptember(10));
  EXPECT_EQ(events.Take().back(), "Dbl");

  // RefuseInput: nothing at all.
  calendar->SetRefuseInput(1);
  QTest::mouseClick(calendar.get(), Qt::LeftButton, {}, At(180, 1890));
  QTest::mouseDClick(calendar.get(), Qt::LeftButton, {}, At(180, 1890));
  EXPECT_TRUE(events.Take().empty());
  EXPECT_EQ(Text(calendar->Value()), "2023/12/5");  // the cell of September's 10th
}

TEST_F(UcDatePickerGuiTest, TheInputBoxAsksForADate) {
  auto calendar = September();
  CalendarEvents events(*calendar);
  const QPoint bar = At(1000, 1890);
  dialogs_.textAnswers = {std::string("2024"), std::string("20250315"), std::string("30 Feb"),
                          std::string("")};
  QTest::mouseClick(calendar.get(), Qt::LeftButton, {}, bar);
  ASSERT_EQ(dialogs_.textRequests.size(), 1U);
  EXPECT_EQ(dialogs_.textRequests[0].title, "日付選択");
  EXPECT_EQ(dialogs_.textRequests[0].prompt, "");
  EXPECT_EQ(dialogs_.textRequests[0].defaultText, "2024/09/10");
  EXPECT_EQ(Text(calendar->Value()), "2024/1/1");
  QTest::mouseClick(calendar.get(), Qt::LeftButton, {}, bar);
  EXPECT_EQ(Text(calendar->Value()), "2025/3/15");
  EXPECT_EQ(events.Take().size(), 8U);
  // No date: unchanged, but redrawn with the stage events.
  QTest::mouseClick(calendar.get(), Qt::LeftButton, {}, bar);
  EXPECT_EQ(Text(calendar->Value()), "2025/3/15");
  EXPECT_EQ(events.Take(), (Log{"Down(0,1,0)", "Down(1,1,0)", "Down(2,1,0)", "Clicked(1)"}));
  // An empty answer, and a cancel (the queue is empty), end at once.
  QTest::mouseClick(calendar.get(), Qt::LeftButton, {}, bar);
  QTest::mouseClick(calendar.get(), Qt::LeftButton, {}, bar);
  EXPECT_EQ(events.Take(), (Log{"Down(0,1,0)", "Clicked(1)", "Down(0,1,0)", "Clicked(1)"}));
}

}  // namespace
}  // namespace widgets
