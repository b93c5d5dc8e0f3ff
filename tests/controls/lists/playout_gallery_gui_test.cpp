#include <gtest/gtest.h>

#include "tests/controls/lists/playout_lists_fixture.h"
#include "tests/support/app_test_env.h"

namespace lists {
namespace {

using testing::GalleryDir;
using testing::PlayoutLists;

struct SampleRow {
  const char* time;
  const char* trigger;
  const char* type;
  const char* length;
  const char* folder;
  const char* title;
  const char* file;  // the schedule file the row comes from
};

const SampleRow kRows[] = {
    {"05:00:00", "TIME", "ニュース", "05:00", "news", "朝のニュース　第一部", "0500_01A.cue"},
    {"05:05:00", "SEQ", "ＣＭ", "00:30", "cm\\2024春", "スポット　山田製菓「春のいちご大福」",
     "0500_01A.cue"},
    {"05:05:30", "SEQ", "音楽", "03:45", "music", "春の歌　〜オープニングテーマ〜", "0500_01A.cue"},
    {"05:09:15", "CNT1", "コマンド", "00:00", "", "切替＿スタジオＢ", "0500_01A.cue"},
    {"05:09:15", "SEQ", "音楽", "04:12", "music", "さくら通りの午後", "0500_01A.cue"},
    {"05:13:27", "SEQ", "ＣＭ", "00:20", "cm\\2024春", "スポット　北町商店街", "0500_01A.cue"},
    {"05:15:00", "TIME", "ニュース", "02:00", "news", "天気予報と交通情報", "0515_01A.cue"},
    {"05:17:00", "SEQ", "音楽", "05:31", "music\\クラシック", "弦楽のための小夜曲　第二楽章",
     "0515_01A.cue"},
    {"05:22:31", "SEQ", "ＣＭ", "00:15", "cm\\2024春", "スポット　ひまわり保険", "0515_01A.cue"},
    {"05:22:46", "SEQ", "音楽", "03:58", "music", "夜明けのハイウェイ", "0515_01A.cue"},
    {"05:26:44", "SEQ", "音楽", "04:40", "music", "ふるさとの川（ライブ）", "0515_01A.cue"},
    {"05:30:00", "TIME", "ニュース", "05:00", "news", "朝のニュース　第二部", "0530_01A.cue"},
};

// Text colours of the item types: light on the dark scheme, dark on the white one.
int32_t TypeColour(const std::string& type, int32_t colorMode) {
  const bool white = colorMode != 0;
  if (type == "ニュース") return white ? 0xB05000 : 0xFFC080;
  if (type == "ＣＭ") return white ? 0x007080 : 0x80FFFF;
  if (type == "コマンド") return white ? 0x8000B0 : 0xC080FF;
  return white ? 0x008000 : 0x80FF80;
}

// Rows from `from` on, with separator lines where a new schedule file starts.
void Fill(UC_ListView& lv, size_t from, size_t count, int32_t colorMode) {
  const int32_t lineColour = colorMode != 0 ? 0x010101 : 0xFFFFFF;
  std::string previous;
  for (size_t i = from; i < from + count && i < std::size(kRows); ++i) {
    const SampleRow& s = kRows[i];
    lv.AddItem(1);
    const char* values[] = {s.time, s.trigger, s.type, s.length, s.folder, s.title};
    for (int32_t k = 0; k < 6; ++k) lv.SetValue(-2, k, values[k]);
    lv.SetAuxID(-2, 3, s.file);
    lv.SetDispColor(-2, TypeColour(s.type, colorMode));
    if (!previous.empty() && previous != s.file) lv.SetHLine(-2, lineColour);
    previous = s.file;
  }
}

// The playout's three lists with sample rows, in the dark (0) or white (1) scheme, saved to the
// gallery for a person to look at.
void Render(int32_t colorMode, const std::string& suffix) {
  testsupport::AppTestEnv env;
  foundation::Conf() = foundation::ConfTables{};
  foundation::SetColumnCaptions();
  foundation::Globals().IniPath = env.programFolder() + "Ondrake.ini";
  env.dir().WriteFile(
      "bin/Ondrake.ini",
      "[conf]\r\nTabWidth_LVS_1_1=1200\r\nTabWidth_LVS_1_2=750\r\n"
      "TabWidth_LVS_1_3=1050\r\nTabWidth_LVS_1_4=750\r\nTabWidth_LVS_1_5=1800\r\n"
      "TabWidth_LVS_1_6=4650\r\nTabWidth_LVS_2_1=1200\r\nTabWidth_LVS_2_2=750\r\n"
      "TabWidth_LVS_2_3=1050\r\nTabWidth_LVS_2_4=750\r\nTabWidth_LVS_2_5=1800\r\n"
      "TabWidth_LVS_2_6=4650\r\nTabWidth_LVS_3_5=1500\r\nTabWidth_LVS_3_6=3600\r\n");
  PlayoutLists p(colorMode, colorMode);
  const int32_t line = colorMode != 0 ? 0x010101 : 0xFFFFFF;
  UC_ListView& onAir = *p.lvs[0];
  UC_ListView& queue = *p.lvs[1];
  UC_ListView& load = *p.lvs[2];
  // The item on air, in the list's playing colours.
  Fill(onAir, 0, 1, colorMode);
  if (colorMode == 0) {
    onAir.SetStyle(12, true, "", 0xFFFFFF, 0x502030);
  } else {
    onAir.SetStyle(12, true, "", 0, 0x5040F0);
  }
  onAir.InitTab();
  onAir.Refresh();
  Fill(queue, 1, 11, colorMode);
  queue.SetSelectedItem(2);
  queue.Refresh();
  Fill(load, 0, 12, colorMode);
  load.SetSelectedItem(6);
  load.Refresh();
  p.window.setStyleSheet("background: #c0c0c0");
  const QString dir = GalleryDir();
  const QString tail = QString::fromStdString(suffix) + ".png";
  EXPECT_TRUE(onAir.grab().save(dir + "/playout_on_air" + tail));
  EXPECT_TRUE(queue.grab().save(dir + "/playout_queue" + tail));
  EXPECT_TRUE(load.grab().save(dir + "/playout_load_list" + tail));
  EXPECT_TRUE(p.window.grab().save(dir + "/playout_lists" + tail));
  // A few pixels that must hold: the queue's separator line where the second file starts.
  const platform::PictureSurface& rows = queue.PictureList().Surface();
  const int y = 5 * queue.OneHeight() / testing::kTpp;
  EXPECT_EQ(rows.GetPixelPx(300, y), line);
  foundation::Conf() = foundation::ConfTables{};
}

TEST(PlayoutGalleryGuiTest, RendersTheThreeListsInBothSchemes) {
  Render(0, "");
  Render(1, "_white");
}

}  // namespace
}  // namespace lists
