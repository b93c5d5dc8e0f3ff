// Test labels: threads (the engine's two FileHand workers)
// The companion window over an engine with its lists filled: the lists one below the other with
// their captions, every list showing rows, and a picture of it in the gallery.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>

#include "companion/schedule_files.h"
#include "companion/view/frm_main.h"
#include "foundation/font_table.h"
#include "foundation/settings_store.h"
#include "foundation/view/qt_font_factory.h"
#include "platform/cp932.h"
#include "tests/companion/companion_fixture.h"
#include "tests/support/app_test_env.h"

namespace companiontest {
namespace {

TEST(FrmMainGuiTest, ListsFilledAndDrawn) {
  testsupport::AppTestEnv env;
  foundation::InstallQtFontFactory();
  // Widths saved by an earlier run, wide enough to read the texts.
  const std::pair<const char*, int> widths[] = {
      {"TabWidth_LVmes_2", 6000}, {"TabWidth_LVS_1_1", 3000}, {"TabWidth_LVS_1_2", 1500},
      {"TabWidth_LVS_1_5", 3900}, {"TabWidth_LVS_1_6", 3600}, {"TabWidth_LVcue_1", 3000},
      {"TabWidth_LVcue_2", 2800}, {"TabWidth_LVcue_3", 1800}, {"TabWidth_LVCopy_2", 4800},
      {"TabWidth_LVCopy_3", 4800}};
  for (const auto& [key, width] : widths) foundation::WriteRegValue(key, width);
  Harness h;
  h.WriteSchedule("20240501050000_01.cue", "朝のニュース",
                  {R"("05:00:00","0","1","300000","news","朝のニュース第一部.wav")",
                   R"("05:05:00","1","2","30000","cm\2024春","スポット山田製菓.wav")",
                   R"("05:05:30","1","3","225000","music","春の歌.wav")"});
  h.WriteSchedule("20240501060000_01.tmc", "昼の音楽",
                  {R"("06:00:00","0","3","240000","music","さくら通りの午後.wav")"});
  for (const char* f :
       {"news/朝のニュース第一部.wav", "cm/2024春/スポット山田製菓.wav", "music/春の歌.wav"})
    h.WriteServer(f, "RIFF");
  h.WriteLocal("log/out_01A.cue", platform::Utf8ToCp932("\"05:00:00\",\"0\",\"1\",\"300000\","
                                                        "\"news\",\"朝のニュース第一部\"\r\n"));
  companion::CompanionPorts ports = h.Ports();
  companion::FrmMain window(h.settings, h.log, &ports);
  ASSERT_TRUE(window.HasCaption());
  window.Form_Load(false);
  h.clock.Advance(1000);
  window.Engine().RunDueTimers();  // one queued copy taken
  window.RedrawAll();
  QCoreApplication::processEvents();

  companion::CompanionEngine& e = window.Engine();
  EXPECT_EQ(e.LVS(companion::kScheduleList).ItemCount(), 4);
  EXPECT_EQ(e.LVS(companion::kOnAirList).ItemCount(), 1);
  EXPECT_EQ(e.LVCopy().ItemCount(), 3);
  EXPECT_EQ(e.LVcue().ItemCount(), 2);
  using companion::CompanionList;
  int previousBottom = 0;
  for (CompanionList list :
       {CompanionList::kMessages, CompanionList::kServerFiles, CompanionList::kSchedule,
        CompanionList::kOnAir, CompanionList::kCopy}) {
    lists::UC_ListView& lv = window.View(list);
    // Every list has a row height, so its rows show; the lists stack with room for a caption.
    EXPECT_GT(lv.OneHeight(), 0);
    EXPECT_GT(lv.VisibleRows(), 0);
    EXPECT_GE(lv.geometry().top(), previousBottom);
    EXPECT_LE(lv.geometry().right(), window.width());
    previousBottom = lv.geometry().bottom() + 10;
  }

  const QString gallery = QCoreApplication::applicationDirPath() + "/gallery";
  QDir().mkpath(gallery);
  EXPECT_TRUE(window.grab().save(gallery + "/ferlune_main.png"));
  // The engine lets the window close: nothing is under way.
  EXPECT_TRUE(window.close());
}

}  // namespace
}  // namespace companiontest
