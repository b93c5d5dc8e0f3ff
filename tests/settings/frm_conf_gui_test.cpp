#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QTest>

#include "foundation/app_globals.h"
#include "foundation/server_config.h"
#include "foundation/settings_store.h"
#include "foundation/station_settings.h"
#include "foundation/user_dialogs.h"
#include "foundation/view/qt_font_factory.h"
#include "platform/cp932.h"
#include "platform/fake_dialog_service.h"
#include "tests/settings/dialog_host_fixture.h"
#include "tests/support/app_test_env.h"

namespace settings {
namespace {

using settingstest::DialogHost;

class FrmConfGuiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    foundation::InstallQtFontFactory();
    foundation::SetDialogService(&dialogs_);
    foundation::Globals().IniPath = env_.programFolder() + "Ondrake.ini";
    env_.dir().WriteFile("bin/Ondrake.ini",
                         platform::Utf8ToCp932("[conf]\r\nAirID=B\r\nSelectedAir=2\r\nComNo_2=9\r\n"
                                               "CNTFunction_1_1=2\r\nSWType_2=1\r\n"));
    foundation::Conf() = foundation::ConfTables{};
    foundation::SetColumnCaptions();
    foundation::Conf().AirName = {"本線", "サブ"};
    foundation::StationSettings& s = foundation::Station();
    s = foundation::StationSettings{};
    s.LocalPath = env_.dir().Sub("local") + "/";
    s.SrvPath[0] = env_.dir().Sub("server") + "/";
    foundation::DeriveWorkFolders(s);
    host_ = std::make_unique<DialogHost>();
    host_->show();
  }
  void TearDown() override {
    host_.reset();
    foundation::SetDialogService(nullptr);
    foundation::Station() = foundation::StationSettings{};
    foundation::Conf() = foundation::ConfTables{};
  }

  std::string Ini() const {
    return platform::Cp932ToUtf8(testsupport::ReadWholeFile(foundation::Globals().IniPath));
  }
  FrmConf& Open() {
    host_->MenuConf->trigger();
    EXPECT_NE(host_->Dialog(), nullptr);
    EXPECT_TRUE(host_->Dialog()->isModal());
    return *host_->Dialog();
  }
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
  // The dialog went: closed and deleted.
  bool Closed() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return host_->Dialog() == nullptr;
  }

  testsupport::AppTestEnv env_;
  platform::FakeDialogService dialogs_;
  std::unique_ptr<DialogHost> host_;
};

TEST_F(FrmConfGuiTest, MenuOpensTheDialogWhileThePassRunsAndOkWritesEveryBuiltPage) {
  FrmConf& d = Open();
  EXPECT_EQ(d.windowTitle().toStdString(), "アプリケーション設定");
  const int passes = host_->passes;
  QTRY_VERIFY(host_->passes > passes + 2);

  EXPECT_EQ(d.TextOf("AirID")->text().toStdString(), "B");
  EXPECT_EQ(d.ComboOf("SelectedAir")->currentText().toStdString(), "サブ");
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
  EXPECT_EQ(d.ComboOf("ComNo_2")->currentText().toStdString(), "NA");
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
  EXPECT_GT(host_->passes, passes + 2);

  Press(d, 1);
  ASSERT_TRUE(Closed());
  const std::string ini = Ini();
  for (const char* line : {"OverSec=5\r\n", "ForceOA=1\r\n", "ColorMode=1\r\n", "AMinute=15\r\n",
                           "SWType_2=0\r\n", "ComNo_2=0\r\n", "ComBaud_1=2400\r\n",
                           "CNTFunction_1_1=3\r\n", "AirID=B\r\n", "SelectedAir=2\r\n"})
    EXPECT_NE(ini.find(line), std::string::npos) << line << ini;
  const playout::PlayoutSettings& running = host_->Engine().Settings();
  EXPECT_EQ(running.OverSec, 5);
  EXPECT_EQ(running.ForceOA, 1);
  EXPECT_EQ(running.AMinute, 15);
  EXPECT_EQ(running.CNTFunction[1], 3);
  EXPECT_EQ(running.ColorMode, 0);  // acts at the next start
  EXPECT_EQ(host_->Running().Read().SWType[1], 0);
  const int after = host_->passes;
  QTRY_VERIFY(host_->passes > after);
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
  Press(d, 1);
  ASSERT_EQ(dialogs_.messageBoxes.size(), 1U);
  EXPECT_EQ(dialogs_.messageBoxes[0].prompt, SettingsDialogModel::kBadAirIdText);
  EXPECT_FALSE(Closed());
  EXPECT_EQ(Ini(), before);
  Type(d.TextOf("AirID"), "");
  Press(d, 1);
  ASSERT_TRUE(Closed());
  EXPECT_NE(Ini().find("AirID=A\r\n"), std::string::npos);
  EXPECT_EQ(host_->Engine().Settings().AirID, "A");
  EXPECT_EQ(Open().TextOf("AirID")->text().toStdString(), "A");
}

TEST_F(FrmConfGuiTest, PagesAsDrawnAndTheClockColourSwatch) {
  RunningValues running = host_->Running().Read();
  running.MidiOutDeviceID = 1;
  running.MidiInDeviceID = 0;
  host_->Running().Apply(running);
  foundation::SaveSettingValue("WaveDeviceName", "default");
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
  EXPECT_EQ(d.ComboOf("MidiOutDeviceName")->currentText().toStdString(), "Synth");
  EXPECT_EQ(d.ComboOf("WaveDeviceName")->currentText().toStdString(), "default");
  ClickTab(d, kPageDisplay);
  dialogs_.colourAnswers.push_back(0x0000FF);
  Click(d.PictureClockColor());
  ASSERT_EQ(dialogs_.colourRequests.size(), 1U);
  EXPECT_EQ(d.PictureClockColor()->Surface().GetPixelPx(10, 10), 0x0000FF);
  Press(d, 1);
  ASSERT_TRUE(Closed());
  EXPECT_NE(Ini().find("ClockColor=255\r\n"), std::string::npos);
}

}  // namespace
}  // namespace settings
