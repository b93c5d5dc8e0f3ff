// Test labels: threads (the engine's two FileHand workers)
// The on-air monitor and the logs carried to the server.
#include <gtest/gtest.h>
#include <stdio.h>

#include "companion/schedule_files.h"
#include "tests/companion/companion_fixture.h"

namespace companiontest {
namespace {

using testsupport::ReadWholeFile;

TEST(OnAirMonitorTest, TheSnapshotBecomesTheOnAirList) {
  Harness h;
  const std::string snapshot =
      h.WriteLocal("log/out_01A.cue",
                   "\"10:00:00\",\"0\",\"1\",\"1000\",\"news\",\"a\"\r\n"
                   "\"10:01:00\",\"1\",\"1\",\"1000\",\"news\",\"a\"\r\n"  // the same sound again
                   "\"10:02:00\",\"1\",\"1\",\"1000\",\"\",\"b\"\r\n"
                   "\"10:03:00\",\"1\",\"1\",\"1000\",\"c\"\r\n");  // 5 fields
  CompanionEngine& e = h.Make();
  EXPECT_EQ(e.InputSchedMon(), 1);
  const lists::ListModel& monitor = e.LVS(companion::kOnAirList);
  ASSERT_EQ(monitor.ItemCount(), 2);
  EXPECT_EQ(companion::ConstScheduleRow(monitor, 0).Sound(), "news\\a");
  EXPECT_EQ(companion::ConstScheduleRow(monitor, 1).Id(), "mon_002");
  EXPECT_EQ(ReadWholeFile(h.Server("log/out_01A.cue")), ReadWholeFile(snapshot));
  // The same stamp is not taken in again; a new one is, rows it no longer names go.
  EXPECT_EQ(e.InputSchedMon(), 0);
  h.WriteLocal("log/out_01A.cue", "\"10:02:00\",\"1\",\"1\",\"1000\",\"\",\"b\"\r\n");
  h.Age(snapshot, -5);
  EXPECT_EQ(e.InputSchedMon(), 1);
  ASSERT_EQ(monitor.ItemCount(), 1);
  EXPECT_EQ(companion::ConstScheduleRow(monitor, 0).Checked(), companion::CheckMark::kUnchanged);
  EXPECT_EQ(companion::ConstScheduleRow(monitor, 0).Id(), "mon_002");
}

TEST(OnAirMonitorTest, PlayLogsReachTheServerBeforeLocalOnesArePurged) {
  Harness h;
  h.clock.SetNow({2024, 5, 2, 2, 10, 0, 0});  // before the day start: the log of 05-01
  const std::string today = h.WriteLocal("log/20240501_01A.txt", "\"26:00:00\",\"a\"\r\n");
  const std::string old = h.WriteLocal("log/20240425_01A.txt", "old\r\n");
  const std::string unsaved = h.WriteLocal("log/20240424_01A.txt", "no server copy\r\n");
  h.WriteServer("log/20240424_01A.txt/x", "");  // the server cannot take this one
  for (const std::string& f : {old, unsaved}) h.Age(f, 6 * 86400);
  h.WriteServer("log/20240425_01A.txt", "ol");
  CompanionEngine& e = h.Make();
  e.Form_Load();
  // Start-up carried every local log to the server, then purged what the server holds whole.
  EXPECT_EQ(ReadWholeFile(h.Server("log/20240501_01A.txt")), ReadWholeFile(today));
  EXPECT_FALSE(Exists(old));
  EXPECT_EQ(ReadWholeFile(h.Server("log/20240425_01A.txt")), "old\r\n");
  EXPECT_TRUE(Exists(unsaved));
  // The first change after start: a full synchronisation; later ones append the tail.
  h.WriteLocal("log/20240501_01A.txt", "\"26:00:00\",\"a\"\r\n\"26:01:00\",\"b\"\r\n");
  e.CheckLog();
  EXPECT_EQ(h.log.Count("ログ追記転送"), 0);
  EXPECT_EQ(ReadWholeFile(h.Server("log/20240501_01A.txt")), ReadWholeFile(today));
  h.WriteLocal("log/20240501_01A.txt",
               "\"26:00:00\",\"a\"\r\n\"26:01:00\",\"b\"\r\n\"26:02:00\",\"c\"\r\n");
  h.Age(today, -3);
  e.CheckLog();
  EXPECT_TRUE(h.log.Has("ログ追記転送 r=1 Size=32 - 48"));
  EXPECT_EQ(ReadWholeFile(h.Server("log/20240501_01A.txt")), ReadWholeFile(today));
  // A line written within the same second as the last transfer keeps the stamp; it is carried
  // all the same.
  h.WriteLocal("log/20240501_01A.txt", ReadWholeFile(today) + "\"26:02:01\",\"d\"\r\n");
  h.Age(today, -3);
  e.CheckLog();
  EXPECT_EQ(ReadWholeFile(h.Server("log/20240501_01A.txt")), ReadWholeFile(today));
}

TEST(OnAirMonitorTest, ATailTheServerDidNotTakeIsSentAgainUnchanged) {
  Harness h;
  const std::string log = h.WriteLocal("log/20240501_01A.txt", "\"10:00:00\",\"a\"\r\n");
  CompanionEngine& e = h.Make();
  e.Form_Load();
  h.WriteLocal("log/20240501_01A.txt", "\"10:00:00\",\"a\"\r\n\"10:01:00\",\"b\"\r\n");
  h.Age(log, -3);
  e.CheckLog();  // the first change: everything synchronised
  ASSERT_EQ(ReadWholeFile(h.Server("log/20240501_01A.txt")), ReadWholeFile(log));
  // The server's log folder goes away while a line is carried over, and comes back.
  const std::string folder = h.Server("log");
  ASSERT_EQ(::rename(folder.c_str(), (folder + ".away").c_str()), 0);
  h.WriteLocal("log/20240501_01A.txt",
               "\"10:00:00\",\"a\"\r\n\"10:01:00\",\"b\"\r\n\"10:02:00\",\"c\"\r\n");
  h.Age(log, -6);
  e.CheckLog();
  EXPECT_TRUE(h.log.Has("ログ追記転送 r=0"));
  EXPECT_FALSE(Exists(folder));
  ASSERT_EQ(::rename((folder + ".away").c_str(), folder.c_str()), 0);
  e.CheckLog();
  EXPECT_EQ(ReadWholeFile(h.Server("log/20240501_01A.txt")), ReadWholeFile(log));
}

TEST(OnAirMonitorTest, DebugLogPurgeTakesOnlyOldLogFiles) {
  Harness h;
  h.clock.SetNow({2024, 5, 1, 23, 59, 55, 0});
  std::vector<std::string> files;
  for (const char* f : {"dbg/a.log", "dbg/a.err", "dbg/a.txt", "dbg/new.log"})
    files.push_back(h.dir.WriteFile(f, "x"));
  for (size_t i = 0; i < 3; ++i) h.Age(files[i], 100 * 86400);
  CompanionEngine& e = h.Make();
  platform::SetCurrentClock(&h.clock);  // the purge's cutoff is read from the process clock
  e.Form_Load();
  platform::SetCurrentClock(nullptr);
  EXPECT_FALSE(Exists(files[0]));
  EXPECT_FALSE(Exists(files[1]));
  EXPECT_TRUE(Exists(files[2]));
  EXPECT_TRUE(Exists(files[3]));
  EXPECT_TRUE(Exists(h.dir.Sub("dbg")));
}

}  // namespace
}  // namespace companiontest
