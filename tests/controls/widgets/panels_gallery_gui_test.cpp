#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QPixmap>
#include <QWidget>

#include "controls/widgets/view/uc_buttons.h"
#include "controls/widgets/view/uc_date_picker.h"
#include "controls/widgets/view/uc_path_text.h"
#include "controls/widgets/view/uc_tab.h"
#include "controls/widgets/view/uc_text_picture.h"
#include "foundation/view/design_painter.h"
#include "foundation/view/qt_font_factory.h"
#include "platform/view/picture_box.h"
#include "platform/view/raster_ops.h"

namespace widgets {
namespace {

// Renders the controls as the playout window and the settings dialog set them up into the build
// folder's gallery/ for a person to look at.
class PanelsGalleryGuiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    foundation::InstallQtFontFactory();
    dir_ = QCoreApplication::applicationDirPath() + "/gallery";
    ASSERT_TRUE(QDir().mkpath(dir_));
  }
  void Save(QWidget& widget, const char* name) {
    widget.show();
    const QString path = dir_ + "/" + name;
    EXPECT_TRUE(widget.grab().save(path)) << path.toStdString();
  }
  QString dir_;
};

TEST_F(PanelsGalleryGuiTest, ClockPanel) {
  UC_TextPicture clock;
  clock.Move(0, 0, 5400, 660);
  clock.AddStdColorSet(1);
  clock.AddTextSpace(11, false, false, "", 270, 75);
  clock.AddTextSpace(26, false, false, "Impact", 210, -1);
  clock.AddTextSpace(11, false, false, "", 1950, 90);
  clock.AddTextSpace(11, false, false, "", 1950, 345);
  clock.Init();
  clock.DispMes(1, "18:42:07");
  clock.DispMes(2, "2024/03/15 18:40:00");
  clock.DispMes(3, "夕方のニュース Evening news");
  Save(clock, "clock_panel.png");
}

TEST_F(PanelsGalleryGuiTest, OnAirBoxInBothColourSets) {
  QWidget page;
  page.resize(260, 50);
  page.setStyleSheet("background: #c0c0c0");
  for (int set = 0; set < 2; ++set) {
    auto* box = new UC_TextPicture(&page);
    box->Move(150 + set * 1800, 75, 1650, 600);
    box->SetDesignType(1);
    box->AddTextSpace(20, false, false, "Impact");
    box->AddColorSet(0xB0B0B0, 0x0, 0xB0B0B0);
    box->AddColorSet(0xC0C0FF, 0x202050, 0xA0A0FF);
    box->Init();
    box->DispMes(0, "ON AIR");
    box->SetColor(set, 1);
  }
  Save(page, "on_air_box.png");
}

TEST_F(PanelsGalleryGuiTest, OperatorStripAndOkCancel) {
  UC_Buttons op;
  op.Move(0, 0, 4 * 900, 345);
  op.SetFontSize(9);
  op.SetNumButtons(4);
  op.SetMimiWidth(0);
  const char* captions[] = {"CNT", "START", "STOP", "FO"};
  for (int i = 0; i < 4; ++i) op.SetButtonChar(i, captions[i]);
  op.Init();
  op.SetButtonState(1, 2);
  Save(op, "operator_strip.png");

  UC_Buttons pair;
  pair.SetDesignType(1);
  pair.SetOKCancel();
  Save(pair, "ok_cancel_strip.png");
}

TEST_F(PanelsGalleryGuiTest, PictureStrips) {
  // The four player presets, the second button of each lit, and the whole picture library.
  QWidget page;
  page.resize(480, 180);
  page.setStyleSheet("background: #c0c0c0");
  for (int preset = 0; preset < 4; ++preset) {
    auto* strip = new UC_Buttons(&page);
    strip->Move(150, 150 + preset * 450, 3000, 390);
    switch (preset) {
      case 0:
        strip->SetButtonsMCI();
        break;
      case 1:
        strip->SetButtonsVornplay();
        break;
      case 2:
        strip->SetButtonsEditorCtrl();
        break;
      default:
        strip->SetButtonsEditorPlay();
        break;
    }
    strip->Init();
    strip->SetButtonState(1, 2);
  }
  auto* library = new platform::PictureBox(&page);
  library->Move(150, 1950, 468 * 15, 36 * 15);
  const UC_Buttons sheet;
  library->Surface().BitBlt(0, 0, 468, 36, sheet.PictureIcons(), 0, 0, platform::SRCCOPY);
  Save(page, "picture_strips.png");
}

TEST_F(PanelsGalleryGuiTest, CalendarMonth) {
  UC_DatePicker calendar;
  QObject::connect(&calendar, &UC_DatePicker::HiliteDay, [&](const foundation::CalendarDate& d) {
    calendar.SetHilited(d.day == 9 || d.day == 23 ? 1 : 0);
  });
  calendar.SetSizeRate(1.5F);
  calendar.SetValue({2024, 9, 16});
  calendar.SetUseHilite(1);
  calendar.DrawAll();
  Save(calendar, "calendar_month.png");
}

TEST_F(PanelsGalleryGuiTest, PathText) {
  QWidget page;
  page.resize(300, 62);
  page.setStyleSheet("QWidget#page { background: #c0c0c0 }");
  page.setObjectName("page");
  for (int row = 0; row < 2; ++row) {
    auto* path = new UC_PathText(&page);
    path->Move(150, 150 + row * 420, 4200, 300);
    path->Init();
    path->SetText(row == 0 ? "/srv/onair/audio/夕方のニュース.wav" : "/home/air/log");
    if (row == 1) path->SetTextDisabled(1);
  }
  Save(page, "path_text.png");
}

TEST_F(PanelsGalleryGuiTest, TabStrip) {
  // The settings dialog's tabs over its textured page background.
  platform::PictureBox page;
  page.resize(330, 60);
  foundation::PaintPictureDesign(page.Surface(), 14, -1, -1, -1);
  auto* tabs = new UC_Tab(&page);
  tabs->Move(150, 150, 4500, 360);
  tabs->SetNumTab(4);
  tabs->SetUseIndpWidth(1);
  tabs->SetTabMinWidth(720);
  const char* captions[] = {"一般", "表示", "外部制御", "CNT"};
  for (int i = 0; i < 4; ++i) tabs->SetTabStr(i, captions[i]);
  tabs->SetBGPic(150, 150, page);
  tabs->SetSelectedTab(1);
  tabs->DrawAll();
  Save(page, "tab_strip.png");
}

}  // namespace
}  // namespace widgets
