// The trigger scan: which queue row a pass starts, and the lines it logs.
#include <gtest/gtest.h>

#include "tests/playout/engine_fixture.h"

namespace playouttest {
namespace {

// The engine on air at the given time with `queue`; each sound file exists and lasts as long as
// its entry says. The command "Sw" starts 5 s before its row's time.
void StartOnAir(EngineHarness& h, const std::vector<Entry>& queue, int hour = 10, int minute = 0,
                int second = 0) {
  h.commands.list = {{"Sw", 0, -5, 0, 0, 1}};
  h.clock.SetNow({2024, 5, 1, hour, minute, second, 0});
  h.Make();
  for (const Entry& e : queue) {
    if (!playout::IsCommandPath(e.file)) h.WriteLocal(e.file, WaveBytes(std::stoi(e.lengthMs)));
  }
  h.Queue(queue);
  h.Build().OnAir(1);
}

// The files the player started, by name.
std::vector<std::string> Played(EngineHarness& h) {
  std::vector<std::string> names;
  for (const std::string& path : h.player().plays)
    names.push_back(path.substr(path.rfind('/') + 1));
  return names;
}

// A contact row whose trigger name the table lacks, then one for contact 1.
const std::vector<Entry> kUnknownFirst = {{"", "ZZ", "0", "1000", "", "a.wav"},
                                          {"", "2", "0", "1000", "", "b.wav"}};

TEST(TriggerTest, LastDueTimeRowWinsAndEarlierOnesAreSkipped) {
  EngineHarness h;
  StartOnAir(h,
             {{"10:00:00", "0", "0", "9000", "", "a.wav"},
              {"10:00:05", "0", "0", "9000", "", "b.wav"},
              {"10:00:10", "0", "0", "9000", "", "c.wav"}},
             10, 0, 6);
  h.clock.SetNow({2024, 5, 1, 10, 0, 7, 0});
  h.engine().TimerClock_Timer();
  EXPECT_EQ(Played(h), std::vector<std::string>{"b.wav"});
  EXPECT_TRUE(h.log.Has("PlayReq=1 PlayItem=1 StartBy=1 AUX_COM=-1@36007.0"));
  EXPECT_TRUE(h.log.Has("Start From(ms)=2000@"));
  EXPECT_NE(h.PlayLog().find("\"a\",\"SKIP\"\r\n"), std::string::npos);
}

TEST(TriggerTest, SequenceRowsFollowTheRunningItem) {
  EngineHarness h;
  StartOnAir(h, {{"10:00:01", "0", "0", "1000", "", "a.wav"},
                 {"", "1", "0", "1000", "", "b.wav"},
                 {"", "1", "0", "1000", "", "c.wav"}});
  h.Pass(20);
  EXPECT_EQ(Played(h), std::vector<std::string>{"a.wav"});  // b waits while a plays
  h.Pass(60);
  EXPECT_EQ(Played(h), (std::vector<std::string>{"a.wav", "b.wav", "c.wav"}));
  EXPECT_EQ(h.log.Count("StartBy=2"), 2);
}

TEST(TriggerTest, SequenceCommandStartsOutTimeBeforeTheEnd) {
  struct Case {
    int32_t leftMs;
    bool stopTimer;
    bool due;
  } cases[] = {{4000, false, true}, {6000, false, false}, {6000, true, true}};
  for (const Case& c : cases) {
    EngineHarness h;
    StartOnAir(h, {{"10:00:01", "0", "0", std::to_string(c.leftMs + 1000), "", "a.wav"},
                   {"", "1", "0", "0", "", "Sw.scm"}});
    h.Pass(40);  // a started at 10:00:01 and has about leftMs to go
    ASSERT_EQ(h.player().plays.size(), 1u);
    if (c.stopTimer) {
      h.Build().StopTimer(h.clock.MonotonicMs(), 1, 100);
    }
    h.Pass();
    EXPECT_EQ(h.log.Has("コマンド再生@"), c.due) << c.leftMs << " " << c.stopTimer;
  }
}

TEST(TriggerTest, ContactRowsByNumberAndSkipRules) {
  struct Case {
    std::vector<Entry> queue;
    int32_t noCntSkip, noTimeSkip, contact;
    std::vector<std::string> played;
    const char* line;  // must be logged ("" : no start was requested)
  };
  const std::vector<Entry> two = {{"", "2", "0", "1000", "", "a.wav"},
                                  {"", "4", "0", "1000", "", "b.wav"}};
  const std::vector<Entry> afterTime = {{"12:00:00", "0", "0", "1000", "", "a.wav"},
                                        {"", "2", "0", "1000", "", "b.wav"}};
  const Case cases[] = {
      {two, 0, 0, 3, {"b.wav"}, "Trigger not applied1 tTrigger=2 tRetCom=3@"},
      {two, 1, 0, 3, {}, "NoCNTSkip=1@"},
      {afterTime, 0, 1, 1, {}, ""},
      // A trigger name the table lacks matches no contact.
      {kUnknownFirst, 1, 0, 1, {}, "Trigger not applied1 tTrigger=-1 tRetCom=1@"},
  };
  for (const Case& c : cases) {
    EngineHarness h;
    h.settings.NoCNTSkip = c.noCntSkip;
    h.settings.NoTimeSkip = c.noTimeSkip;
    StartOnAir(h, c.queue);
    // The message maps trigger numbers through the table, so an unknown name goes in directly.
    if (c.queue[0].trigger == "ZZ") playout::PlayRow(h.queue(), 0).SetTrigger("ZZ");
    h.Contact(1, c.contact);
    h.Pass();
    EXPECT_EQ(Played(h), c.played) << c.line;
    if (*c.line != '\0') {
      EXPECT_TRUE(h.log.Has(c.line)) << c.line << "\n" << h.log.All();
    } else {
      EXPECT_FALSE(h.log.Has("PlayReq=")) << h.log.All();
    }
  }
}

TEST(TriggerTest, OperatorCntStartsTheFirstContactRowWhateverItsName) {
  EngineHarness h;
  StartOnAir(h, kUnknownFirst);
  playout::PlayRow(h.queue(), 0).SetTrigger("ZZ");
  h.engine().OperatorFunction(playout::OpFunction::kCnt);
  h.Pass();
  EXPECT_EQ(Played(h), std::vector<std::string>{"a.wav"});
  EXPECT_TRUE(h.log.Has("PlayReq=1 PlayItem=0 StartBy=3 AUX_COM=-1@")) << h.log.All();
  EXPECT_EQ(h.state().SimCNT, 0);
}

TEST(TriggerTest, ContactsRefusedAroundTimedRowsAndRunningCommands) {
  struct Case {
    const char* timeRow;  // a queued TIME row
    bool commandRunning;
    const char* line;
  } cases[] = {
      {"10:00:08", false, "Trigger not applied2 tCancelCNT=1 tRetCom=1 TimerCom=-1.00@"},
      {"09:59:52", false, "Trigger not applied2 tCancelCNT=1 tRetCom=1 TimerCom=-1.00@"},
      {"10:00:20", true, "Trigger not applied2 tCancelCNT=0 tRetCom=1 TimerCom=36000.00@"},
  };
  for (const Case& c : cases) {
    EngineHarness h;
    h.settings.CancelCNT = 10;
    StartOnAir(h, {{"", "2", "0", "0", "", "Sw.scm"}, {c.timeRow, "0", "0", "1000", "", "t.wav"}});
    if (c.commandRunning) h.Build().ChannelTimer(h.clock.MonotonicMs(), 36000, 100);
    h.Contact(1, 1);
    h.Pass();
    EXPECT_TRUE(h.log.Has(c.line)) << c.line << "\n" << h.log.All();
    EXPECT_FALSE(h.log.Has("PlayReq="));
  }
}

TEST(TriggerTest, OperatorStartTakesRowZeroOverATimeTrigger) {
  EngineHarness h;
  StartOnAir(h, {{"12:00:00", "0", "0", "1000", "", "a.wav"},
                 {"12:00:00", "0", "0", "1000", "", "b.wav"},
                 {"10:00:01", "0", "0", "1000", "", "c.wav"}});
  h.Pass(19);
  h.engine().OperatorFunction(
      playout::OpFunction::kStart);  // in the pass where the TIME row 2 falls due
  h.Pass();
  EXPECT_EQ(Played(h), std::vector<std::string>{"a.wav"});
  EXPECT_TRUE(h.log.Has("PlayReq=1 PlayItem=0 StartBy=4"));
  EXPECT_EQ(h.queue().ItemCount(), 2);
}

}  // namespace
}  // namespace playouttest
