#include "playout/schedule_intake.h"

#include <gtest/gtest.h>

#include "tests/playout/engine_fixture.h"

namespace playouttest {
namespace {

using playout::ConstPlayRow;

TEST(ScheduleIntakeTest, SplitsEntriesAtSeparatorsOutsideQuotes) {
  struct Case {
    std::string text;
    std::vector<std::string> entries;
  } cases[] = {
      {R"("a","b"\n"c","d")", {R"("a","b")", R"("c","d")"}},
      {R"("a","b"\n"c","d"\n)", {R"("a","b")", R"("c","d")"}},
      // A folder holding backslash-n stays in its entry.
      {R"("a","jingle\news"\n"c","d")", {R"("a","jingle\news")", R"("c","d")"}},
      {R"("a","b\n")", {R"("a","b\n")"}},
      {"", {""}},
      // Unquoted text between separators is a piece of its own, not glued to its neighbours.
      {R"(garbage\n"a","b"\n???\n"c")", {"garbage", R"("a","b")", "???", R"("c")"}},
      {R"("a",b\nc)", {R"("a",b)", "c"}},
      // A quote after a field's first character opens nothing; one before a separator closes.
      {R"(ab"c\n"d")", {R"(ab"c)", R"("d")"}},
      {R"("a,b\n"c"\n"d")", {R"("a,b\n"c")", R"("d")"}},
      {R"("a"\n\n"b")", {R"("a")", "", R"("b")"}},
  };
  for (const Case& c : cases) EXPECT_EQ(playout::SplitScheduleEntries(c.text), c.entries) << c.text;
}

class IntakeTest : public ::testing::Test {
 protected:
  IntakeTest() {
    h.commands.list = {{"News"}, {"Cm"}};
    h.Make();
  }
  lists::ListModel& Read(const std::vector<Entry>& entries) {
    h.inbox.messages.push_back(Message(entries));
    EXPECT_EQ(h.engine().ReceiveSchedule(), 1);
    return h.load();
  }
  EngineHarness h;
};

TEST_F(IntakeTest, RowsCarryPositionLineAndDayOfTheirFile) {
  const std::string a = "20240501080000_01.cue", b = "20240502050000_01.cue";
  const lists::ListModel& load = Read({{"23:50:00", "0", "1", "61000", "", "x.wav", a},
                                       {"23:55:00", "1", "1", "1000", "", "y.wav", a},
                                       {"00:05:00", "1", "1", "1000", "", "z.wav", a},
                                       {"23:55:00", "0", "1", "1000", "", "p.wav", b},
                                       {"00:05:00", "1", "1", "1000", "", "q.wav", b}});
  ASSERT_EQ(load.ItemCount(), 5);
  const struct {
    int32_t seq;
    int32_t line;
    const char* date;
  } want[] = {{0, 0xFFFFFF, "2024/05/01"},
              {1, 0, "2024/05/01"},
              {2, 0, "2024/05/02"},
              {0, 0xFFFFFF, "2024/05/02"},
              // The second row of a file that wraps past midnight is the next day's.
              {1, 0, "2024/05/03"}};
  for (int32_t r = 0; r < 5; ++r) {
    EXPECT_EQ(ConstPlayRow(load, r).Seq(), lists::ListValue(want[r].seq)) << r;
    EXPECT_EQ(load.HLine(r), want[r].line) << r;
    EXPECT_EQ(ConstPlayRow(load, r).BroadcastDate(), want[r].date) << r;
  }
  EXPECT_EQ(ConstPlayRow(load, 0).Length(), "01:01");
  EXPECT_EQ(ConstPlayRow(load, 1).Trigger(), "SEQ");
}

TEST_F(IntakeTest, CommandAndOddFields) {
  h.commands.onReload = {{"News"}, {"Cm"}, {"Late"}};
  const lists::ListModel& load = Read({{"10:00:00", "0", "3", "x", "cmd", "Cm.scm"},
                                       {"10:00:10", "0", "zz", "1000", "jingle", "a.wav"},
                                       {"10:00:20", "0", "2", "1000", "", "Late.SCM"},
                                       {"10:00:30", "0", "99", "1000", "", "b.wav"}});
  ASSERT_EQ(load.ItemCount(), 4);
  EXPECT_EQ(ConstPlayRow(load, 0).Type(), "コマンド");
  EXPECT_EQ(ConstPlayRow(load, 0).CommandIndex(), lists::ListValue(1));
  EXPECT_EQ(load.DispColor(0), 0xC0C0C0);
  EXPECT_EQ(ConstPlayRow(load, 0).Length(), "");  // a length that is no number
  EXPECT_EQ(ConstPlayRow(load, 1).Path(), "jingle\\a.wav");
  EXPECT_EQ(ConstPlayRow(load, 1).CommandIndex(), lists::ListValue(-1));
  // A type that is no number shows entry 0 and keeps the list's colour.
  EXPECT_EQ(ConstPlayRow(load, 1).Type(), "Type0");
  EXPECT_EQ(load.DispColor(1), 0xFFFFFF);
  // Not in the list: found after one reload.
  EXPECT_EQ(ConstPlayRow(load, 2).CommandIndex(), lists::ListValue(2));
  EXPECT_EQ(h.commands.reloads, 1);
  // A type number past the table: entry 0, the list's colour.
  EXPECT_EQ(load.DispColor(3), 0xFFFFFF);
}

TEST_F(IntakeTest, EmptyNoneShortAndTrailing) {
  Read({{"10:00:00", "0", "1", "1000", "", "a.wav"}});
  h.inbox.messages.push_back("");
  EXPECT_EQ(h.engine().ReceiveSchedule(), 0);
  EXPECT_EQ(h.load().ItemCount(), 1);  // an empty message keeps the list
  h.inbox.messages.push_back("NONE");
  EXPECT_EQ(h.engine().ReceiveSchedule(), 0);
  EXPECT_EQ(h.load().ItemCount(), 0);

  const std::vector<Entry> two = {{"10:00:00"}, {"10:00:05"}};
  h.inbox.messages.push_back(Message(two, true) + R"("short","x","y")");
  EXPECT_EQ(h.engine().ReceiveSchedule(), 1);
  EXPECT_EQ(h.load().ItemCount(), 2);
}

TEST_F(IntakeTest, StrayPiecesAreSkippedAndTheirNeighboursRead) {
  const std::string a = Message({{"10:00:00", "0", "1", "1000", "", "a.wav"}});
  const std::string b = Message({{"10:05:00", "0", "1", "1000", "", "b.wav"}});
  h.inbox.messages.push_back("garbage\\n" + a + "\\n???\\n" + b);
  EXPECT_EQ(h.engine().ReceiveSchedule(), 1);
  EXPECT_EQ(Titles(h.load()), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(ConstPlayRow(h.load(), 0).StartTime(), "10:00:00");
}

TEST_F(IntakeTest, LoadFromRowAndPickByTime) {
  Read({{"08:00:00", "0", "1", "1000", "", "a.wav", "20240501080000_01.cue"},
        {"08:10:00"},
        {"09:30:00"},
        {"10:00:00", "0", "1", "1000", "", "d.wav", "20240502080000_01.cue"},
        {"11:00:00", "0", "1", "1000", "", "e.wav", "20240502080000_01.cue"}});
  PlayoutEngine& e = h.engine();
  EXPECT_EQ(e.PickLoadRow(playout::LoadPick::kByClock), 2);  // 09:30 is the first row after 09:00
  EXPECT_EQ(e.LoadFromRow(5, ""), 0);
  ASSERT_EQ(e.LoadFromRow(2, ""), 1);
  ASSERT_EQ(h.queue().ItemCount(), 3);
  EXPECT_EQ(ConstPlayRow(h.queue(), 0).StartTime(), "09:30:00");
  EXPECT_EQ(h.queue().DispColor(0), 0x200);
  // A key replaces only the queue's rows of that date and later.
  e.LoadFromRow(3, "2024/05/02");
  EXPECT_EQ(h.queue().ItemCount(), 3);
  EXPECT_EQ(ConstPlayRow(h.queue(), 0).BroadcastDate(), "2024/05/01");
  EXPECT_EQ(h.queue().HLine(1), 0xFFFFFF);  // first row of the second file
  h.clock.Advance(3LL * 86400 * 1000);
  EXPECT_EQ(e.PickLoadRow(playout::LoadPick::kByClock), -1);  // every row in the past
}

}  // namespace
}  // namespace playouttest
