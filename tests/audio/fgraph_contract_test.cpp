// One play/stop/position scenario run against both players through the interface the playout
// holds them by: whichever PlayerType the station uses, the window sees the same behaviour.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "audio/c_fgraph.h"
#include "audio/player.h"
#include "audio/wave_out.h"
#include "platform/wave_out_virtual.h"

// The playout holds either player without knowing GStreamer: no player header brings it in.
#ifdef GST_VERSION_MAJOR
#error "a player's header includes GStreamer"
#endif

#include "tests/audio/fgraph_fixture.h"
#include "tests/audio/riff_fixture.h"
#include "tests/support/debug_log_fixture.h"

namespace {

struct Subject {
  const char* name;
  std::function<std::unique_ptr<audio::Player>()> make;
  // What the playout's tick does for this player while it plays.
  std::function<void(audio::Player&)> tick;
};

void TickFor(audio::Player& player, const Subject& s, int ms) {
  for (int t = 0; t < ms; t += 20) {
    s.tick(player);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

using PlayerContract = testsupport::DebugLogTest;

TEST_F(PlayerContract, PlayStopAndPositionAlikeOnBothPlayers) {
  ASSERT_TRUE(audio::EnsureGstInit());
  // 1.5 s of silence, 16-bit stereo at 44.1 kHz.
  const std::string path = dir_.WriteFile(
      "one.wav", rifftest::PcmWave(2, 44100, 16, std::string(1500 * 441 / 10 * 4, '\0')));

  const Subject subjects[] = {
      {"C_WaveOut on the virtual device",
       [this] {
         platform::VirtualWaveOutOptions options;
         options.clock = platform::VirtualClockMode::kRealTime;
         auto player = std::make_unique<audio::C_WaveOut>(
             log_,
             std::make_shared<platform::VirtualWaveOut>(platform::StandardErrorLog(), options));
         // As the playout sets it up, with shorter pages.
         player->SetBufferPagemsec(200);
         player->SetNumBufferPages(5);
         player->SetDeviceID(0);
         player->SetUseMixer(1);
         player->SetNoClose(1);
         player->Init();
         player->SetAttenuation(0);
         return std::unique_ptr<audio::Player>(std::move(player));
       },
       [](audio::Player& p) { static_cast<audio::C_WaveOut&>(p).ProgressionPlay(); }},
      {"C_FGraph into a real-time fakesink",
       [this] {
         auto player = std::make_unique<audio::C_FGraph>(log_, fgraphtest::FakeSinkSeams(true));
         player->SetDevMode(1);
         player->SetVolMinLevel(-10000);
         player->Init();
         return std::unique_ptr<audio::Player>(std::move(player));
       },
       [](audio::Player&) {}},
  };

  for (const Subject& s : subjects) {
    SCOPED_TRACE(s.name);
    std::unique_ptr<audio::Player> player = s.make();
    EXPECT_FALSE(player->Play()) << "nothing loaded";
    EXPECT_NE(player->mode(), 3);

    player->SetFileName(path);
    ASSERT_EQ(player->FileName(), path);
    EXPECT_EQ(player->Length(), 1500);
    EXPECT_EQ(player->FromMS(), 0);
    EXPECT_EQ(player->ToMS(), 1500);
    EXPECT_NE(player->mode(), 3);

    // Start late, as a late start does: the remaining time counts from the start point.
    player->SetAttenuation(0);
    player->SetFromMS(500);
    ASSERT_TRUE(player->Play());
    EXPECT_EQ(player->mode(), 3);
    int32_t first = player->Position(2);
    EXPECT_LE(first, 1000);
    EXPECT_GT(first, 600);
    TickFor(*player, s, 200);
    int32_t later = player->Position(2);
    EXPECT_LT(later, first) << "remaining time goes down while playing";
    EXPECT_GT(later, 0);
    EXPECT_EQ(player->mode(), 3);

    player->StopIO(1);
    EXPECT_EQ(player->mode(), 1);

    // Again from near the end: it ends by itself and reads as not playing.
    player->SetFileName(path);
    EXPECT_EQ(player->ToMS(), 1500);
    player->SetFromMS(1200);
    ASSERT_TRUE(player->Play());
    int polls = 0;
    while (player->mode() == 3 && polls++ < 300) TickFor(*player, s, 20);
    EXPECT_NE(player->mode(), 3);
    EXPECT_LT(polls, 300);

    player->CloseWave();
    EXPECT_FALSE(player->Play());
  }
}

}  // namespace
