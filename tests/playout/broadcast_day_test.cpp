// Test labels: long (a whole simulated day)
// A whole broadcast day, 05:00 to 29:00, of 1,000 TIME, SEQ and command items on a simulated
// clock whose passes come every 50 ms plus the pass's own few milliseconds, as the window's
// re-armed single-shot timer gives them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

#include "platform/cp932.h"
#include "tests/playout/engine_fixture.h"
#include "tests/support/temp_dir.h"

namespace playouttest {
namespace {

constexpr int kBlocks = 250;    // four items each
constexpr int kBlockSec = 345;  // from one TIME item to the next
constexpr int kDayStartSec = 18000;

std::string ClockText(int seconds) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60,
                seconds % 60);
  return text;
}

TEST(BroadcastDayTest, EveryTimeItemOnItsSecondNothingLostOrRepeated) {
  EngineHarness h;
  // Even blocks: TIME sound, SEQ sound, SEQ command, SEQ sound. Odd blocks: a TIME command
  // (starting two seconds ahead of its time), then three SEQ sounds. Sounds last 60 s.
  h.commands.list = {{"Early", 0, -2, 0, 0, 2}, {"Cut", 0, 0, 0, 0, 1}};
  std::vector<Entry> entries;
  std::map<std::string, int> due;  // TIME item -> second it falls due (since 05/01 00:00)
  for (int b = 0; b < kBlocks; ++b) {
    const int at = kDayStartSec + b * kBlockSec;
    const std::string cue = "20240501" + ClockText(at).substr(0, 2) + "0000_01.cue";
    for (int k = 0; k < 4; ++k) {
      Entry e;
      e.time = ClockText(at + k * 61);
      e.trigger = k == 0 ? "0" : "1";
      e.cue = cue;
      const bool command = (b % 2 == 0 && k == 2) || (b % 2 == 1 && k == 0);
      e.file =
          command ? (k == 0 ? "Early.scm" : "Cut.scm") : "s" + std::to_string(b * 4 + k) + ".mp2";
      if (!command) h.WriteLocal(e.file, "not a wave file");
      if (k == 0) due[e.file + "@" + e.time] = at - (command ? 2 : 0);
      entries.push_back(e);
    }
  }
  h.clock.SetNow({2024, 5, 1, 4, 59, 50, 0});
  h.Make();
  h.player().defaultLengthMs = 60000;
  h.Build().OnAir(1);
  h.inbox.messages.push_back(Message(entries));

  const int64_t midnight = platform::WallTimeToLocalMs({2024, 5, 1, 0, 0, 0, 0});
  const int64_t end = platform::WallTimeToLocalMs({2024, 5, 2, 5, 0, 0, 0});
  uint32_t jitter = 12345;
  std::string onAir;
  std::vector<int64_t> lateness;
  std::map<std::string, int> starts;
  while (platform::WallTimeToLocalMs(h.clock.Now()) < end) {
    jitter = jitter * 1103515245u + 12345u;
    h.Pass(1, 50 + (jitter >> 16) % 8);
    if (h.onAir().ItemCount() == 0) continue;
    const playout::ConstPlayRow item(h.onAir(), 0);
    const std::string id = item.ScheduleFile() + "#" + item.Seq().Text();
    if (id == onAir) continue;
    onAir = id;
    ++starts[id];
    const std::string key = item.Path() + "@" + item.StartTime();
    if (due.count(key) != 0)
      lateness.push_back(platform::WallTimeToLocalMs(h.clock.Now()) - midnight -
                         int64_t{due[key]} * 1000);
  }

  EXPECT_EQ(starts.size(), 1000u);
  for (const auto& [id, count] : starts) EXPECT_EQ(count, 1) << id;
  ASSERT_EQ(lateness.size(), due.size());
  std::map<int64_t, int> histogram;  // by 10 ms
  for (int64_t ms : lateness) {
    EXPECT_GE(ms, 0);
    EXPECT_LT(ms, 58);  // within the one pass that reaches the second
    ++histogram[ms / 10 * 10];
  }
  std::sort(lateness.begin(), lateness.end());
  std::printf("TIME item lateness over %zu items: min %lld ms, median %lld ms, max %lld ms\n",
              lateness.size(), static_cast<long long>(lateness.front()),
              static_cast<long long>(lateness[lateness.size() / 2]),
              static_cast<long long>(lateness.back()));
  for (const auto& [from, count] : histogram)
    std::printf("  %2lld-%2lld ms: %d\n", static_cast<long long>(from),
                static_cast<long long>(from + 9), count);

  EXPECT_EQ(h.player().plays.size(), 750u);
  EXPECT_EQ(std::set<std::string>(h.player().plays.begin(), h.player().plays.end()).size(), 750u);
  EXPECT_EQ(h.log.Count("OutCommand Started"), 250);
  const std::string playLog = platform::Cp932ToUtf8(
      testsupport::ReadWholeFile(h.station.LocalLogFolder + "20240501_01A.txt"));
  EXPECT_EQ(std::count(playLog.begin(), playLog.end(), '\n'), 1000);
  EXPECT_EQ(playLog.find("SKIP"), std::string::npos);
}

}  // namespace
}  // namespace playouttest
