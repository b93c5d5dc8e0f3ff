// Test labels: threads (the real-time virtual wave device's ticker under the main window)
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QTest>

#include "foundation/settings_store.h"
#include "playout/view/frm_main.h"
#include "settings/view/frm_conf.h"
#include "tests/playout/frm_main_rig.h"

namespace settings {
namespace {

// The settings dialog opened from the real main window's menu, over the window's engine and
// its settings INI.
class FrmConfGuiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rig_.Ini("AirID=B\r\nSelectedAir=2\r\nCNTFunction_1_1=2\r\nSWType_2=1\r\n");
    rig_.Start();
  }

  playout::FrmMain& Window() { return *rig_.window; }
  std::string Ini() const { return rig_.IniText(); }
  // The open dialog, null once it has closed and gone.
  FrmConf* Dialog() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return Window().findChild<FrmConf*>();
  }
  FrmConf& Open() {
    Window().Controls().MenuConf->trigger();
    FrmConf* d = Dialog();
    EXPECT_NE(d, nullptr);
    EXPECT_TRUE(d != nullptr && d->isModal() && d->isVisible());
    return *d;
  }
  bool Closed() { return Dialog() == nullptr; }
  static void ClickTab(FrmConf& d, int32_t tab) {
    const widgets::TabSpan span = d.TabConf().Model().Spans()[static_cast<size_t>(tab)];
    QTest::mouseClick(&d.TabConf(), Qt::LeftButton, {},
                      QPoint(static_cast<int>(span.left) / 15 + 6, 12));
  }
  static void Type(QLineEdit* box, const QString& text) {
    ASSERT_NE(box, nullptr);
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, text);
  }
  static void Click(QWidget* control) {
    ASSERT_NE(control, nullptr);
    QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(6, control->height() / 2));
  }
  // Button 0 "キャンセル", button 1 "OK".
  static void Press(FrmConf& d, int button) {
    widgets::UC_Buttons& b = d.OKCancelButtons();
    QTest::mouseClick(&b, Qt::LeftButton, {},
                      QPoint(b.width() / 4 + button * b.width() / 2, b.height() / 2));
  }

  playouttest::FrmMainRig rig_;
};

TEST_F(FrmConfGuiTest, MenuOpensTheDialogWhileThePassRunsAndOkWritesEveryBuiltPage) {
  FrmConf& d = Open();
  EXPECT_EQ(d.parentWidget(), &Window());
  const int64_t passes = Window().PassCount();
  QTRY_VERIFY(Window().PassCount() > passes + 2);

  EXPECT_EQ(d.TextOf("AirID")->text().toStdString(), "B");
  EXPECT_EQ(d.ComboOf("SelectedAir")->currentText().toStdString(), "Air2");
  Type(d.TextOf("OverSec"), "-5");
  Click(d.CheckOf("ForceOA"));
  ClickTab(d, kPageDisplay);
  ASSERT_TRUE(d.PictureTab(kPageDisplay)->isVisible());
  EXPECT_FALSE(d.PictureTab(kPageGeneral)->isVisible());
  Click(d.CheckOf("ColorMode"));
  ClickTab(d, kPageExternal);
  Type(d.TextOf("AMinute"), "15");
  QTest::keyClick(d.ComboOf("SWType_2"), Qt::Key_Up);
  EXPECT_FALSE(d.ComboOf("SWType_1")->isVisible());
  EXPECT_FALSE(d.ComboOf("ComBaud_1")->isEnabled());
  EXPECT_EQ(d.ComboOf("ComBaud_1")->currentText().toStdString(), "2400");
  ClickTab(d, kPageCnt);
  lists::UC_ListView& lvsc = *d.LVSC();
  ASSERT_EQ(lvsc.ItemCount(), 32);
  EXPECT_EQ(lvsc.Value(8, 0).Text(), "シリアル1-1");
  EXPECT_EQ(lvsc.Value(8, 1).Text(), "STOP");
  lvsc.SetSelectedItem(8);
  lvsc.ShowSelected();
  lvsc.ReDraw();
  QTest::keyClick(lvsc.ListLV(0), Qt::Key_Down);
  EXPECT_EQ(lvsc.Value(8, 1).Text(), "FO");
  EXPECT_GT(Window().PassCount(), passes + 2);

  Press(d, 1);
  ASSERT_TRUE(Closed());
  const std::string ini = Ini();
  for (const char* line :
       {"OverSec=5\r\n", "ForceOA=1\r\n", "ColorMode=1\r\n", "AMinute=15\r\n", "SWType_2=0\r\n",
        "ComBaud_1=2400\r\n", "CNTFunction_1_1=3\r\n", "AirID=B\r\n", "SelectedAir=2\r\n"})
    EXPECT_NE(ini.find(line), std::string::npos) << line << ini;
  const playout::PlayoutSettings& running = Window().Engine().Settings();
  EXPECT_EQ(running.OverSec, 5);
  EXPECT_EQ(running.ForceOA, 1);
  EXPECT_EQ(running.AMinute, 15);
  EXPECT_EQ(running.CNTFunction[1], 3);
  EXPECT_EQ(running.ColorMode, 0);  // acts at the next start
  EXPECT_EQ(Window().Devices().Serial().SWType(1), 0);
  const int64_t after = Window().PassCount();
  QTRY_VERIFY(Window().PassCount() > after);
}

TEST_F(FrmConfGuiTest, CancelWritesNothingAndARefusedIdKeepsTheDialogOpen) {
  FrmConf& first = Open();
  Type(first.TextOf("PrepDay"), "9");
  const std::string before = Ini();
  Press(first, 0);
  ASSERT_TRUE(Closed());
  EXPECT_EQ(Ini(), before);

  FrmConf& d = Open();
  Type(d.TextOf("AirID"), "a/b");
  const size_t boxes = rig_.dialogs.messageBoxes.size();
  Press(d, 1);
  ASSERT_EQ(rig_.dialogs.messageBoxes.size(), boxes + 1);
  EXPECT_EQ(rig_.dialogs.messageBoxes.back().prompt, SettingsDialogModel::kBadAirIdText);
  EXPECT_FALSE(Closed());
  EXPECT_EQ(Ini(), before);
  Type(d.TextOf("AirID"), "");
  Press(d, 1);
  ASSERT_TRUE(Closed());
  EXPECT_NE(Ini().find("AirID=A\r\n"), std::string::npos);
  EXPECT_EQ(Window().Engine().Settings().AirID, "A");
  EXPECT_EQ(Open().TextOf("AirID")->text().toStdString(), "A");
}

TEST_F(FrmConfGuiTest, PagesAsDrawnAndTheClockColourSwatch) {
  FrmConf& d = Open();
  const QString dir = QCoreApplication::applicationDirPath() + "/gallery";
  ASSERT_TRUE(QDir().mkpath(dir));
  for (int32_t tab = 0; tab < kPageCount; ++tab) {
    ClickTab(d, tab);
    ASSERT_TRUE(d.PictureTab(tab)->isVisible());
    EXPECT_EQ(d.TabConf().SelectedTab(), tab);
    const QImage shot = d.grab().toImage();
    EXPECT_TRUE(shot.save(dir + QString("/settings_page_%1.png").arg(tab)));
    // Every caption is printed left of its field: dark pixels in the 80 pixels before the
    // first field of the page's column.
    if (tab == kPageCnt) continue;
    const QWidget* first = tab == kPageGeneral   ? static_cast<QWidget*>(d.PathOf("SrvPath"))
                           : tab == kPageDisplay ? static_cast<QWidget*>(d.TextOf("SizeRate"))
                                                 : static_cast<QWidget*>(d.TextOf("AMinute"));
    const QPoint at = first->mapTo(&d, QPoint(0, 0));
    int dark = 0;
    for (int x = at.x() - 80; x < at.x() - 4; ++x)
      for (int y = at.y(); y < at.y() + first->height(); ++y) dark += qGray(shot.pixel(x, y)) < 80;
    EXPECT_GT(dark, 10) << "page " << tab;
  }
  ClickTab(d, kPageDisplay);
  rig_.dialogs.colourAnswers.push_back(0x0000FF);
  Click(d.PictureClockColor());
  ASSERT_EQ(rig_.dialogs.colourRequests.size(), 1U);
  EXPECT_EQ(d.PictureClockColor()->Surface().GetPixelPx(10, 10), 0x0000FF);
  Press(d, 1);
  ASSERT_TRUE(Closed());
  EXPECT_NE(Ini().find("ClockColor=255\r\n"), std::string::npos);
}

}  // namespace
}  // namespace settings
