// Test labels: threads (the real-time virtual wave device's ticker)
// Pictures of the main window for a person to look at: a loaded queue with the load panel
// open, at two display scales.
#include <QDir>

#include "controls/lists/view/uc_list_view.h"
#include "controls/widgets/view/uc_text_picture.h"
#include "platform/view/picture_box.h"
#include "tests/playout/engine_fixture.h"
#include "tests/playout/frm_main_rig.h"

namespace playouttest {
namespace {

// The schedule the companion would send: a morning block of three files.
std::string MorningSchedule() {
  const std::string a = "20240501230000_01A.cue", b = "20240501231500_01A.cue",
                    c = "20240501233000_01A.cue";
  return Message({
      {"23:00:00", "0", "1", "300000", "news", "朝のニュース.wav", a, "朝のニュース"},
      {"23:05:00", "1", "2", "30000", "cm\\2024春", "スポット　山田製菓.wav", a, "朝のニュース"},
      {"23:05:30", "1", "3", "225000", "music", "春の歌.wav", a, "朝のニュース"},
      {"23:15:00", "0", "1", "120000", "news", "天気予報と交通情報.wav", b, "天気と交通"},
      {"23:17:00", "2", "3", "331000", "music", "弦楽のための小夜曲.wav", b, "天気と交通"},
      {"23:22:31", "1", "2", "15000", "cm\\2024春", "スポット　ひまわり保険.wav", b, "天気と交通"},
      {"23:30:00", "0", "1", "300000", "news", "夜のニュース.wav", c, "夜のニュース"},
  });
}

void Render(const char* sizeRate, const QString& name) {
  FrmMainRig rig;
  // Column widths that fit the titles; the load list's last column is narrower.
  std::string ini = std::string("SizeRate=") + sizeRate + "\r\n";
  for (int list = 1; list <= 3; ++list) {
    const int widths[] = {1200, 750, 1050, 750, 1500, list == 3 ? 3600 : 4650};
    for (int col = 1; col <= 6; ++col) {
      ini += "TabWidth_LVS_" + std::to_string(list) + "_" + std::to_string(col) + "=" +
             std::to_string(widths[col - 1]) + "\r\n";
    }
  }
  rig.Ini(ini);
  playout::FrmMain& w = rig.Start();
  rig.Show();
  rig.Deliver(MorningSchedule());
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return w.Engine().LVS(playout::kListQueue).ItemCount() == 7; }));
  const playout::FrmMainControls& c = w.Controls();
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return !c.TextClock->TextMes(1).empty(); }));  // the time, from the first new second on
  w.MenuLoad_Click();
  w.Engine().LVS(playout::kListLoad).SetSelectedItem(3);
  w.LVS_Clicked(playout::kListLoad);
  c.LVS[playout::kListLoad]->Refresh();
  QCoreApplication::processEvents();
  EXPECT_TRUE(c.PictureLoad->isVisible());
  EXPECT_EQ(c.TextMes->TextMes(0), " 2024/05/01 23:15:00天気と交通 (2024/05/01)");
  const QString dir = QCoreApplication::applicationDirPath() + "/gallery";
  QDir().mkpath(dir);
  EXPECT_TRUE(w.grab().save(dir + "/" + name));
}

TEST(FrmMainGalleryGuiTest, LoadedQueueWithTheLoadPanelOpen) {
  Render("1.0", "ondrake_main.png");
  Render("1.5", "ondrake_main_1.5.png");
}

}  // namespace
}  // namespace playouttest
