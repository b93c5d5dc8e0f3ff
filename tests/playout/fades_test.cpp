// Fades, stops, the end of a play and the count-down.
#include <gtest/gtest.h>

#include "tests/playout/engine_fixture.h"

namespace playouttest {
namespace {

// Playing `file` (length `ms`) from 10:00:00, with the rest of `queue` behind it.
void PlayFrom10(EngineHarness& h, int32_t ms, const std::vector<Entry>& rest = {},
                int32_t playerType = 0) {
  h.clock.SetNow({2024, 5, 1, 9, 59, 59, 0});
  h.Make(playerType);
  h.WriteLocal("a.wav", WaveBytes(ms));
  h.WriteLocal("b.wav", WaveBytes(ms));
  std::vector<Entry> queue = {{"10:00:00"}};
  queue.insert(queue.end(), rest.begin(), rest.end());
  h.Queue(queue);
  h.Build().OnAir(1);
  h.Pass(20);
  ASSERT_EQ(h.player().mode(), 3);
}

TEST(FadesTest, OperatorFadeStepsToTheFloorAndStops) {
  EngineHarness h;
  h.settings.UseFade = 1;
  PlayFrom10(h, 60000);
  h.player().attenuations.clear();
  h.engine().OperatorFunction(playout::OpFunction::kFadeOut);
  int passes = 0;
  while (h.player().mode() == 3 && passes < 200) {
    h.Pass();
    ++passes;
  }
  const std::vector<int32_t>& att = h.player().attenuations;
  ASSERT_FALSE(att.empty());
  int32_t shortSteps = 0;
  for (size_t i = 1; i < att.size(); ++i) {
    const int32_t step = att[i - 1] - att[i];
    // 4000 / (6000 / 60) per pass, and 4000 / (6000 / 50) on the pass that measures 50 ms.
    if (step == 33) ++shortSteps;
    if (i + 1 < att.size()) {
      EXPECT_TRUE(step == 40 || step == 33) << i << ": " << step;
    }
  }
  EXPECT_GT(shortSteps, 0);
  EXPECT_EQ(att.back(), -4000);
  EXPECT_EQ(h.log.Count("Stop By FadeByOP "), 1);
}

TEST(FadesTest, FadeWithoutLengthGoesToTheFloorAtOnce) {
  EngineHarness h;
  h.settings.UseFade = 1;
  h.settings.FadeTime = 0;
  PlayFrom10(h, 60000, {}, 1);
  h.engine().OperatorFunction(playout::OpFunction::kFadeOut);
  h.Pass();
  EXPECT_EQ(h.player().attenuation, -10000);
  EXPECT_EQ(h.log.Count("Stop By FadeByOP "), 1);
  EXPECT_NE(h.player().mode(), 3);
}

TEST(FadesTest, AutomaticFadeBeforeATimedItemHoldsAtTheFloor) {
  struct Case {
    int32_t lengthMs;  // of the running item: 21 s leaves 8 s at the fade's moment
    const char* next;  // file of the TIME row at 10:00:20
    bool fades;
  } cases[] = {{60000, "b.wav", true}, {21000, "b.wav", false}, {60000, "Sw.scm", false}};
  for (const Case& c : cases) {
    EngineHarness h;
    h.settings.UseFade = 1;
    h.commands.list = {{"Sw", 0, -2, 0, 0, 1}};
    PlayFrom10(h, c.lengthMs, {{"10:00:20", "0", "0", "1000", "", c.next}});
    h.PassUntil(10, 0, 12);
    EXPECT_FALSE(h.log.Has("FadeOn@"));
    h.PassUntil(10, 0, 14);
    EXPECT_EQ(h.log.Has("FadeOn@36013.0"), c.fades) << c.lengthMs << c.next;
    if (!c.fades) continue;
    h.PassUntil(10, 0, 19);
    // It holds at the floor: the running item goes on, silent, until the timed one starts.
    EXPECT_EQ(h.player().attenuation, -4000);
    EXPECT_EQ(h.player().mode(), 3);
    h.PassUntil(10, 0, 21);
    EXPECT_EQ(h.player().plays.size(), 2u);
    EXPECT_EQ(h.player().attenuation, 0);
  }
}

TEST(FadesTest, EndOfPlayClearsTheOnAirRowOfSoundItemsOnly) {
  EngineHarness h;
  h.commands.list = {{"Sw"}};
  PlayFrom10(h, 1500, {{"", "1", "0", "0", "", "Sw.scm"}});
  h.Pass(40);
  EXPECT_EQ(h.log.Count("再生時間が1.5秒です "), 1);
  ASSERT_EQ(h.onAir().ItemCount(), 1);  // the command started and stays on air
  EXPECT_EQ(playout::ConstPlayRow(h.onAir(), 0).Path(), "Sw.scm");
  EXPECT_EQ(h.view.captionBlocked, 0);
  EXPECT_EQ(h.Snapshot(), "\"\",\"1\",\"0\",\"0\",\"\",\"Sw\"\r\n");
}

TEST(FadesTest, StopRequestsWhilePlayingOrNot) {
  EngineHarness h;
  PlayFrom10(h, 60000);
  h.Pass();
  h.engine().OperatorFunction(playout::OpFunction::kStop);
  h.Pass();
  EXPECT_TRUE(h.log.Has("Stop By StopReq "));
  EXPECT_EQ(h.onAir().ItemCount(), 0);
  h.Build().StopRequest();  // nothing plays: dropped without a word
  h.log.lines.clear();
  h.Pass();
  EXPECT_EQ(h.state().StopReq, 0);
  EXPECT_FALSE(h.log.Has("Stop By"));
}

TEST(FadesTest, CountDownToTheEndOrTheNextDatedRow) {
  EngineHarness h;
  PlayFrom10(h, 30000, {{"10:00:20", "0", "0", "1000", "", "b.wav"}});
  h.Pass();
  EXPECT_EQ(h.view.countSeconds, 19);  // the TIME row comes before the end of the item
  EXPECT_EQ(h.view.countText, "00:19");
  EXPECT_EQ(h.view.countColor, 1);
  h.PassUntil(10, 0, 11);
  EXPECT_EQ(h.view.countSeconds, 8);
  EXPECT_EQ(h.view.countColor, 2);
  h.Build().StopTimer(h.clock.MonotonicMs(), 1, 100);
  h.Pass();
  EXPECT_EQ(h.view.countSeconds, 0);
}

}  // namespace
}  // namespace playouttest
