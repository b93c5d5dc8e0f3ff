#pragma once

#include <cstdint>

#include "controls/widgets/month_calendar_model.h"
#include "foundation/view/qt_font_factory.h"
#include "platform/view/picture_box.h"

namespace widgets {

// The owner-drawn month calendar: weekday headings, up to six rows of day numbers and a bar
// with the year, month and day and an arrow button for the previous and the next month; a
// click in the middle of the bar asks for a date in an input box (the dialog service). The
// owner can have single days highlighted and can let the calendar show a month without a
// chosen day. Everything scales with SizeRate.
//
// Events (Qt signals), numbered as the owner knows them:
//   1 DblClicked: a double click anywhere but on the arrows (there it steps once more);
//   2 Clicked(pButton): a left release;
//   3 MouseDown(pStage, pButton, pShift): stage 0 for every press, then, for a left press that
//     was not dropped, stage 1 before and stage 2 after the redraw;
//   4 HiliteDay(pDate): asked once per day of the shown month after a change of month, of
//     UseHilite or of HiliteDayClear; the owner answers through SetHilited from its handler.
// The owner is asked before the drawing starts, never while the calendar paints.
class UC_DatePicker : public platform::PictureBox {
  Q_OBJECT

 public:
  // The scale is the process's TwipsPerPixel at creation; the control takes the size of its
  // drawing at size rate 1.
  explicit UC_DatePicker(QWidget* parent = nullptr);
  ~UC_DatePicker() override;

  // The drawing's size and font at this rate (2010 × rate by 2130 × rate twips, 9 × rate
  // points), then DrawAll. A rate that is not a positive number is ignored.
  void SetSizeRate(float value);
  // Redraws; another month asks for the highlights again.
  void SetValue(const foundation::CalendarDate& value);
  // The chosen date; reading it marks the day as chosen again (HasNoDay 0).
  foundation::CalendarDate Value();
  void SetHiliteDayClear(int32_t value) { model_.HiliteDayClear = value; }
  void SetRefuseInput(int32_t value) { model_.RefuseInput = value; }
  // Takes effect at the next drawing.
  void SetFirstDayWeek(int16_t value) { model_.FirstDayWeek = value; }
  void SetHilited(int32_t value) { model_.Hilited = value; }
  void SetUseHilite(int32_t value) { model_.SetUseHilite(value); }
  void SetAllowNoDay(int32_t value) { model_.AllowNoDay = value; }
  int32_t HasNoDay() const { return model_.HasNoDay; }
  void SetHasNoDay(int32_t value) { model_.HasNoDay = value; }
  // Asks the owner for highlights when due, then draws the calendar.
  void DrawAll();
  static int32_t DefWidth() { return kCalendarDefWidth; }
  static int32_t DefHeight() { return kCalendarDefHeight; }

  // For the owner's tests and for looking at.
  const MonthCalendarModel& Model() const { return model_; }

 signals:
  void DblClicked();
  void Clicked(int16_t pButton);
  void MouseDown(int32_t pStage, int16_t pButton, int16_t pShift);
  void HiliteDay(const foundation::CalendarDate& pDate);

 private:
  void AskHilites(const MonthLayout& layout);
  void DrawArrowButton(double left, bool pointsLeft);
  void Pressed(int32_t button, int32_t shift, double x, double y);
  void Released(int32_t button);
  void DoubleClicked();

  MonthCalendarModel model_;
  bool drawing_ = false;
  foundation::WidgetFontWindow fontWindow_;
};

}  // namespace widgets
