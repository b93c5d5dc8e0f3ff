#include "playout/player_factory.h"

#include "audio/c_fgraph.h"
#include "audio/wave_devices.h"
#include "audio/wave_out.h"

namespace playout {

namespace {

class WaveOutMembersOf final : public WaveOutMembers {
 public:
  explicit WaveOutMembersOf(audio::C_WaveOut& player) : player_(player) {}
  void SetFromSample(int32_t value) override { player_.SetFromSample(value); }
  void SetToSample(int32_t value) override { player_.SetToSample(value); }
  int32_t ProgressionPlay() override { return player_.ProgressionPlay(); }

 private:
  audio::C_WaveOut& player_;
};

}  // namespace

StandardPlayerFactory::StandardPlayerFactory(platform::LogSink& log,
                                             std::shared_ptr<platform::WaveOutDevice> device,
                                             GraphMaker makeGraph)
    : log_(log), device_(std::move(device)), makeGraph_(std::move(makeGraph)) {}

PlayerSlot StandardPlayerFactory::Create(int32_t playerType, const std::string& waveDeviceName) {
  PlayerSlot slot;
  if (playerType == kPlayerWaveOut) {
    auto player = std::make_unique<audio::C_WaveOut>(log_, device_);
    player->SetBufferPagemsec(2000);
    player->SetNumBufferPages(5);
    player->SetDeviceID(audio::FindWaveDeviceByName(log_, 0, waveDeviceName, 0));
    player->SetUseMixer(1);
    player->SetMuteMS(50);
    player->SetNoClose(1);
    player->Init();
    player->SetAttenuation(0);
    slot.waveOut = std::make_unique<WaveOutMembersOf>(*player);
    slot.player = std::move(player);
  } else {
    std::unique_ptr<audio::C_FGraph> player =
        makeGraph_ ? makeGraph_(log_) : std::make_unique<audio::C_FGraph>(log_);
    player->SetDevMode(1);
    player->SetDevName(waveDeviceName);
    player->SetVolMinLevel(-10000);
    player->Init();
    slot.player = std::move(player);
  }
  return slot;
}

}  // namespace playout
