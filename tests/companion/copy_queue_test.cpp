// Test labels: threads (the engine's two FileHand workers)
// The copy queue, the used-file list and the upkeep of the local store.
#include <gtest/gtest.h>

#include "companion/schedule_files.h"
#include "platform/cp932.h"
#include "tests/companion/companion_fixture.h"

namespace companiontest {
namespace {

using testsupport::ReadWholeFile;

// What each queued row says, in queue order.
template <class Field>
auto Queued(CompanionEngine& e, Field field) {
  std::vector<decltype(field(companion::ConstCopyRow(e.LVCopy(), 0)))> out;
  for (int32_t r = 0; r < e.LVCopy().ItemCount(); ++r)
    out.push_back(field(companion::ConstCopyRow(e.LVCopy(), r)));
  return out;
}

class CopyQueueTest : public ::testing::Test {
 protected:
  void SetUp() override {
    h.WriteSchedule(
        "20240501050000_01.cue", "朝",
        {R"("05:00:00","0","1","1000","Music","A.WAV")",
         R"("05:01:00","1","1","1000","music","a.wav")",  // the same file
         R"("05:02:00","1","1","1000","jingle","b.wav")", R"("05:03:00","1","1","0","","cut.scm")",
         R"("05:04:00","1","1","1000","..","evil.wav")"});
    h.WriteServer("Music/A.WAV", "aaaa");
    h.WriteServer("Music/A.WAV.tip", "tip");
    h.WriteServer("jingle/b.wav", "bbbbbb");
    h.WriteLocal("jingle/b.wav.tip", "stale tip");  // its server tip is gone
    for (const char* f : {"Music/A.WAV", "Music/A.WAV.tip", "jingle/b.wav"})
      h.Age(h.Server(f), 600);
  }
  Harness h;
};

TEST_F(CopyQueueTest, ScheduledSoundsAreCopiedOnePerPass) {
  CompanionEngine& e = h.Make();
  e.Form_Load();
  // Sounds and their tips as the schedule spells them; no command file; nothing outside the
  // store.
  EXPECT_EQ(Queued(e, [](const companion::ConstCopyRow& row) { return row.Target(); }),
            (std::vector<std::string>{h.Local("Music\\A.WAV"), h.Local("Music\\A.WAV.tip"),
                                      h.Local("music\\a.wav"), h.Local("music\\a.wav.tip"),
                                      h.Local("jingle\\b.wav")}));
  EXPECT_FALSE(Exists(h.Local("jingle/b.wav.tip")));
  EXPECT_TRUE(h.log.Has("CopyRefused ..\\evil.wav"));
  h.Run(1000);
  EXPECT_EQ(Queued(e, [](const companion::ConstCopyRow& row) { return row.IsTaken(); }),
            (std::vector<bool>{true, false, false, false, false}));
  h.Run(4000);
  EXPECT_EQ(ReadWholeFile(h.Local("Music/A.WAV")), "aaaa");
  EXPECT_EQ(ReadWholeFile(h.Local("Music/A.WAV.tip")), "tip");
  EXPECT_EQ(ReadWholeFile(h.Local("jingle/b.wav")), "bbbbbb");
  // The second spelling found the file already there.
  EXPECT_EQ(h.log.Count("ファイルコピー "), 3);
  // The next full check finds every file the same: the done rows go, nothing is queued.
  e.MakeCopyList(companion::kScheduleList, companion::kAllRows);
  EXPECT_EQ(e.LVCopy().ItemCount(), 0);
  // The used list: lower case, each path once, commands left out.
  EXPECT_EQ(platform::Cp932ToUtf8(ReadWholeFile(h.Server("log/used_01A.txt"))),
            "music\\a.wav\r\njingle\\b.wav\r\n..\\evil.wav\r\n");
  EXPECT_FALSE(Exists(h.Server("log/used_01A.txt.tmp")));
}

TEST_F(CopyQueueTest, OnAirItemsAreListedAsTheFilesStored) {
  h.WriteLocal("OnAir/Y.wav", "y");
  h.WriteLocal("OnAir/Y.wav.tip", "t");
  h.WriteLocal("OnAir/Y2.wav", "y2");
  h.WriteLocal("command/news.scm", "cmd");
  // As the playout writes it: names without extensions; a command item; a file already gone;
  // a path out of the store.
  std::string snapshot;
  for (const char* folderAndName : {R"("onair","y")", R"("command","news")", R"("jingle","b")",
                                    R"("gone","z")", R"("..","evil")"}) {
    snapshot += std::string(R"("10:00:00","0","1","1000",)") + folderAndName + "\r\n";
  }
  h.WriteLocal("log/out_01A.cue", snapshot);
  CompanionEngine& e = h.Make();
  e.Form_Load();
  ASSERT_EQ(e.LVS(companion::kOnAirList).ItemCount(), 5);
  e.WriteUsedList();
  EXPECT_EQ(platform::Cp932ToUtf8(ReadWholeFile(h.Server("log/used_01A.txt"))),
            "music\\a.wav\r\njingle\\b.wav\r\n..\\evil.wav\r\nonair\\y.wav\r\n");
}

TEST_F(CopyQueueTest, TheUpkeepSparesWhatIsScheduledOrOnAir) {
  h.disk.freeBytes = int64_t{1} << 30;  // short of space
  h.WriteLocal("old/x.wav", "x");
  h.WriteLocal("old/x.wav.tip", "x");
  h.WriteLocal("onair/y.wav", "y");
  h.WriteLocal("log/keep.txt", "log");
  h.WriteLocal("jingle/b.wav", "bbbbbb");
  // The snapshot names the file on air without its extension.
  h.WriteLocal("log/out_01A.cue", "\"10:00:00\",\"0\",\"1\",\"1000\",\"onair\",\"y\"\r\n");
  CompanionEngine& e = h.Make();
  // Before the snapshot was read nothing may go.
  EXPECT_FALSE(e.PurgeLocalFolder());
  EXPECT_TRUE(Exists(h.Local("old/x.wav")));
  e.Form_Load();
  ASSERT_EQ(e.LVS(companion::kOnAirList).ItemCount(), 1);
  EXPECT_EQ(e.IsFileScheduled("onair\\y.wav", companion::kOnAirList), 1);
  EXPECT_EQ(e.IsFileScheduled("ONAIR/Y.WAV.tip", companion::kBothLists), 1);
  EXPECT_EQ(e.IsFileScheduled("onair\\z.wav", companion::kOnAirList), 0);
  h.Run(3000);  // the first queued file runs the upkeep
  EXPECT_FALSE(Exists(h.Local("old/x.wav")));
  EXPECT_FALSE(Exists(h.Local("old/x.wav.tip")));
  EXPECT_TRUE(h.log.Has("ファイル削除 " + h.Local("old/x.wav")));
  for (const char* kept : {"onair/y.wav", "log/keep.txt", "jingle/b.wav", "log/out_01A.cue"})
    EXPECT_TRUE(Exists(h.Local(kept))) << kept;
  EXPECT_GT(e.CopiedBytes(), 0);
}

TEST_F(CopyQueueTest, PlentyOfSpaceKeepsUnusedFiles) {
  h.WriteLocal("old/x.wav", "x");
  CompanionEngine& e = h.Make();
  e.Form_Load();
  h.Run(3000);
  EXPECT_TRUE(Exists(h.Local("old/x.wav")));
  h.disk.freeBytes = -1;  // a volume that cannot be measured is not emptied either
  EXPECT_TRUE(e.PurgeLocalFolder());
  EXPECT_TRUE(Exists(h.Local("old/x.wav")));
}

}  // namespace
}  // namespace companiontest
