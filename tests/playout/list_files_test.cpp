// The on-air snapshot and the play log, byte for byte.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/cp932.h"
#include "playout/cue_snapshot.h"
#include "tests/playout/engine_fixture.h"
#include "tests/support/temp_dir.h"

namespace playouttest {
namespace {

class ListFilesTest : public ::testing::Test {
 protected:
  ListFilesTest() { h.Make(); }
  EngineHarness h;
};

TEST_F(ListFilesTest, SnapshotHoldsOnAirThenQueueRows) {
  PlayoutEngine& e = h.engine();
  e.SaveCueSnapshot();
  EXPECT_TRUE(std::filesystem::exists(e.SnapshotPath()));
  EXPECT_EQ(h.Snapshot(), "");

  h.Queue({{"10:00:00", "0", "2", "205000", "", "曲.wav"},
           {"10:05:00", "9", "1", "1000", "", "b.wav"},
           {"10:06:00", "1", "15", "1000", "", "c.wav"}});
  // The first row goes on air as a start would put it there.
  lists::ListModel& onAir = h.onAir();
  onAir.AddItem(1);
  playout::PlayRow(onAir, 0).CopyFrom(playout::ConstPlayRow(h.queue(), 0));
  h.queue().DeleteItem(0);
  playout::PlayRow(onAir, 0).SetFolder("音楽,\"A\"");
  e.SaveCueSnapshot();
  const std::string want =
      "\"10:00:00\",\"0\",\"2\",\"205000\",\"音楽.”A”\",\"曲\"\r\n"
      "\"10:05:00\",\"9\",\"1\",\"1000\",\"\",\"b\"\r\n"
      "\"10:06:00\",\"1\",\"15\",\"1000\",\"\",\"c\"\r\n";
  EXPECT_EQ(testsupport::ReadWholeFile(e.SnapshotPath()), platform::Utf8ToCp932(want));
  EXPECT_EQ(e.SnapshotPath(), h.station.LocalLogFolder + "out_01A.cue");
  EXPECT_FALSE(std::filesystem::exists(e.SnapshotPath() + ".tmp"));
}

TEST_F(ListFilesTest, SnapshotReplaceKeepsOldFileOnFailure) {
  const std::string path = h.dir.WriteFile("snap.cue", "old");
  EXPECT_TRUE(playout::ReplaceFileAtomically(path, "new"));
  EXPECT_EQ(testsupport::ReadWholeFile(path), "new");
  // A folder in the way of the temporary file: nothing is renamed, the old file stays.
  h.dir.WriteFile("snap.cue.tmp/x", "");
  EXPECT_FALSE(playout::ReplaceFileAtomically(path, "newer"));
  EXPECT_EQ(testsupport::ReadWholeFile(path), "new");
}

TEST_F(ListFilesTest, PlayLogLinesByBroadcastDay) {
  h.settings.SelectedAir = 1;
  h.settings.AirID = "B";
  h.clock.SetNow({2024, 5, 2, 2, 10, 0, 0});
  PlayoutEngine& e = h.Make();
  h.Queue({{"26:10:00", "0", "1", "1000", "", "a.wav"}});
  playout::PlayRow(h.queue(), 0).SetFolder("fo,lder");
  e.WritePlayLog("SKIP", playout::kListQueue, 0);
  e.WritePlayLog("say \"hi\", ok", playout::kListQueue, 0);
  EXPECT_EQ(e.PlayLogPath(), h.station.LocalLogFolder + "20240501_02B.txt");
  EXPECT_EQ(h.PlayLog(),
            "\"26:10:00\",\"26:10:00\",\"TIME\",\"Type1\",\"00:01\",\"fo.lder\",\"a\",\"SKIP\"\r\n"
            "\"26:10:00\",\"26:10:00\",\"TIME\",\"Type1\",\"00:01\",\"fo.lder\",\"a\","
            "\"say ”hi”. ok\"\r\n");

  // A log folder that cannot be written: the line is lost and the error logged.
  h.station.LocalLogFolder = h.dir.Sub("missing") + "/";
  e.WritePlayLog("SKIP", playout::kListQueue, 0);
  EXPECT_TRUE(h.log.Has("ログ出力err="));
}

}  // namespace
}  // namespace playouttest
