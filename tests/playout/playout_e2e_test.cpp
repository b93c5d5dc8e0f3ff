// Test labels: threads (the virtual wave device's ticker; the message is sent from another thread)
// End to end over the real parts: a CP932 schedule message through the window's socket, the
// engine's passes on a simulated clock, and the waveOut player on the virtual wave device.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <chrono>
#include <cstdio>
#include <future>
#include <thread>

#include "foundation/debug_log.h"
#include "foundation/sub_class.h"
#include "foundation/sub_class_receiver.h"
#include "platform/cp932.h"
#include "platform/message_channel.h"
#include "platform/wave_out_virtual.h"
#include "platform/window_registry.h"
#include "platform/window_registry_folder.h"
#include "playout/player_factory.h"
#include "playout/process_ports.h"
#include "tests/audio/riff_fixture.h"
#include "tests/playout/engine_fixture.h"

namespace playouttest {
namespace {

// 16-bit stereo samples at 8 kHz holding no zero byte, so silence never looks like them.
std::string Frames(int32_t ms, int seed) {
  std::string bytes(static_cast<size_t>(ms) * 8 * 4, '\0');
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>((i * 7 + seed) % 250 + 1);
  return bytes;
}

// `played` is each of `parts` in order, with nothing but zero bytes (silence) between them.
bool IsPartsWithSilence(const std::string& played, const std::vector<std::string>& parts) {
  size_t at = 0;
  for (const std::string& part : parts) {
    while (at < played.size() && played[at] == '\0') ++at;
    if (played.compare(at, part.size(), part) != 0) return false;
    at += part.size();
  }
  while (at < played.size() && played[at] == '\0') ++at;
  return at == played.size();
}

TEST(PlayoutE2eTest, ScheduleMessageToAudioSnapshotAndPlayLog) {
  testsupport::TempDir windows;
  platform::SetWindowRegistryFolder(windows.Sub("windows"));
  auto window = platform::WindowRegistration::Claim("Ondrake - Tarnwick");
  ASSERT_TRUE(window);
  auto receiver = foundation::CreateSubClassReceiver(*window);
  ASSERT_TRUE(receiver);
  const int32_t hWnd = foundation::SubClassWindowHandle(*window);
  foundation::SubClassHook(hWnd);

  platform::VirtualWaveOutOptions options;
  options.clock = platform::VirtualClockMode::kManual;
  auto device = std::make_shared<platform::VirtualWaveOut>(platform::StandardErrorLog(), options);
  foundation::DebugLog debugLog;
  playout::StandardPlayerFactory players(debugLog, device);
  playout::CopyDataInbox inbox(hWnd);
  EngineHarness h;
  platform::SetCurrentClock(&h.clock);  // the player's closing silence waits on it
  h.ports.players = &players;
  h.ports.inbox = &inbox;
  const std::vector<std::string> audio = {Frames(1500, 1), Frames(1000, 2), Frames(800, 3)};
  h.WriteLocal("jingle/news/ア.wav", rifftest::PcmWave(2, 8000, 16, audio[0]));
  h.WriteLocal("b.wav", rifftest::PcmWave(2, 8000, 16, audio[1]));
  h.WriteLocal("c.wav", rifftest::PcmWave(2, 8000, 16, audio[2]));
  h.clock.SetNow({2024, 5, 1, 10, 0, 3, 20});
  PlayoutEngine& e = h.Make();
  h.Build().OnAir(1);

  // The companion's message: CP932 text and two NULs, from another thread as from its process.
  const std::string cue = "20240501100000_01.cue";
  const std::string text =
      Message({{"10:00:05", "0", "1", "1500", "jingle\\news", "ア.wav", cue, "朝の番組"},
               {"10:00:06", "1", "2", "1000", "", "b.wav", cue, "朝の番組"},
               {"10:00:07", "1", "2", "800", "", "c.wav", cue, "朝の番組"}});
  auto sent = std::async(std::launch::async, [&] {
    const auto target = platform::FindWindowExact("Ondrake - Tarnwick");
    if (!target) return false;
    return platform::SendWindowMessage(*target, 0,
                                       platform::Utf8ToCp932(text) + std::string(2, '\0'))
        .delivered;
  });
  while (sent.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready)
    QCoreApplication::processEvents();
  ASSERT_TRUE(sent.get());

  // Passes every 50 ms, 20 ms past each second; the device plays in step.
  const auto pass = [&] {
    h.clock.Advance(50);
    device->AdvanceMs(50);
    e.TimerClock_Timer();
  };
  pass();
  ASSERT_EQ(h.queue().ItemCount(), 3);
  EXPECT_TRUE(h.log.Has("LoadZero@"));
  const std::string first = h.station.LocalPath + "jingle\\news\\ア.wav";
  for (int i = 0; i < 100 && !h.log.Has("Play " + first); ++i) pass();
  // Started on the first pass of 10:00:05, not earlier.
  EXPECT_EQ(h.clock.Now().second, 5);
  EXPECT_EQ(h.clock.Now().millisecond, 20);  // the first pass of 10:00:05
  EXPECT_TRUE(h.log.Has("Play " + first));
  EXPECT_EQ(platform::Cp932ToUtf8(testsupport::ReadWholeFile(e.SnapshotPath())),
            "\"10:00:05\",\"0\",\"1\",\"1000\",\"jingle\\news\",\"ア\"\r\n"
            "\"10:00:06\",\"1\",\"2\",\"1000\",\"\",\"b\"\r\n"
            "\"10:00:07\",\"1\",\"2\",\"0\",\"\",\"c\"\r\n");

  // The SEQ items follow; each play-log line carries the moment its item started.
  const std::vector<std::string> files = {first, h.station.LocalPath + "b.wav",
                                          h.station.LocalPath + "c.wav"};
  std::vector<std::string> startedAt = {"10:00:05"};
  for (int i = 0; i < 200 && (e.Player().mode() == 3 || h.queue().ItemCount() > 0); ++i) {
    pass();
    if (startedAt.size() < 3 && h.log.Has("Play " + files[startedAt.size()])) {
      const platform::WallTime now = h.clock.Now();
      char text[16];
      std::snprintf(text, sizeof text, "%02d:%02d:%02d", now.hour, now.minute, now.second);
      startedAt.push_back(text);
    }
  }
  ASSERT_EQ(startedAt.size(), 3u) << h.log.All();
  pass();  // notices the end of the last play
  const auto line = [](const std::vector<std::string>& fields) { return Quoted(fields) + "\r\n"; };
  EXPECT_EQ(
      platform::Cp932ToUtf8(testsupport::ReadWholeFile(e.PlayLogPath())),
      line({startedAt[0], "10:00:05", "TIME", "Type1", "00:01", "jingle\\news", "ア", files[0]}) +
          line({startedAt[1], "10:00:06", "SEQ", "Type2", "00:01", "", "b", files[1]}) +
          line({startedAt[2], "10:00:07", "SEQ", "Type2", "00:00", "", "c", files[2]}));
  EXPECT_EQ(h.log.Count("再生時間が"), 3);  // every item is shorter than two seconds

  std::string played;
  for (const platform::VirtualWaveStream& stream : device->Streams())
    played.append(stream.played.begin(), stream.played.end());
  EXPECT_TRUE(IsPartsWithSilence(played, audio)) << played.size();

  platform::SetCurrentClock(nullptr);
  foundation::SubClassUnhook(hWnd);
  receiver.reset();
  window.reset();
  platform::SetWindowRegistryFolder("");
}

// Between two SEQ items the device plays the end of the first, the closing silence until the
// pass that finds it due, and the next item one pass after that: the pass that sees the end,
// the one that ends the silence, the one that starts the next item. With 50 ms passes that is
// 100 ms from the last frame of one item to the first of the next, 50 of them silence, plus the
// wait for the first pass after an end that falls between passes.
TEST(PlayoutE2eTest, SeqItemsFollowTwoPassesAfterTheEndIsSeen) {
  platform::VirtualWaveOutOptions options;
  options.clock = platform::VirtualClockMode::kManual;
  auto device = std::make_shared<platform::VirtualWaveOut>(platform::StandardErrorLog(), options);
  foundation::DebugLog debugLog;
  playout::StandardPlayerFactory players(debugLog, device);
  EngineHarness h;
  platform::SetCurrentClock(&h.clock);  // the player's closing silence waits on it
  struct RestoreClock {
    ~RestoreClock() { platform::SetCurrentClock(nullptr); }
  } restoreClock;
  h.ports.players = &players;
  struct Item {
    int32_t ms;
    double gapAfterMs;  // nothing follows the last item
  };
  // An end on a pass boundary is seen at once; one 20 ms before or after it waits for a pass.
  const Item items[] = {{1000, 100}, {1030, 120}, {980, 120}, {1000, 0}};
  std::vector<std::string> audio;
  std::vector<Entry> entries;
  for (const Item& item : items) {
    audio.push_back(Frames(item.ms, static_cast<int>(audio.size())));
    const std::string name = "s" + std::to_string(audio.size()) + ".wav";
    h.WriteLocal(name, rifftest::PcmWave(2, 8000, 16, audio.back()));
    Entry entry;
    entry.trigger = "1";
    entry.file = name;
    entries.push_back(entry);
  }
  PlayoutEngine& e = h.Make();
  h.Build().OnAir(1);
  h.Queue(entries);
  for (int i = 0; i < 200 && (e.Player().mode() == 3 || h.queue().ItemCount() > 0); ++i) {
    h.clock.Advance(50);
    device->AdvanceMs(50);
    e.TimerClock_Timer();
  }
  ASSERT_EQ(h.queue().ItemCount(), 0);
  ASSERT_NE(e.Player().mode(), 3);

  // When each frame went out (ms), from the device's runs.
  const auto streams = device->Streams();
  ASSERT_EQ(streams.size(), 1u) << "one output, kept open between items";
  const platform::VirtualWaveStream& out = streams[0];
  std::vector<double> frameMs;
  for (const platform::VirtualPlayedRun& run : out.runs) {
    for (uint64_t f = 0; f < run.frames; ++f) frameMs.push_back(run.at_us / 1000.0 + f / 8.0);
  }
  const std::string played(out.played.begin(), out.played.end());
  ASSERT_EQ(frameMs.size() * 4, played.size());
  size_t at = 0;
  double lastEndMs = 0;
  for (size_t i = 0; i < audio.size(); ++i) {
    SCOPED_TRACE(i);
    const size_t silenceFrom = at;
    while (at < played.size() && played[at] == '\0') ++at;
    ASSERT_EQ(played.compare(at, audio[i].size(), audio[i]), 0);
    if (i > 0) {
      EXPECT_DOUBLE_EQ(frameMs[at / 4] - lastEndMs, items[i - 1].gapAfterMs);
      EXPECT_EQ((at - silenceFrom) / 4, 400u) << "50 ms of closing silence";
    }
    at += audio[i].size();
    lastEndMs = frameMs[at / 4 - 1] + 1 / 8.0;
  }
}

}  // namespace
}  // namespace playouttest
