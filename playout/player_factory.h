#pragma once

#include <memory>

#include "audio/fct_quartz.h"
#include "platform/wave_out_device.h"
#include "playout/engine_ports.h"

namespace playout {

// The players as the main window sets them up: the waveOut player with 2000 ms pages, five of
// them, the device named by WaveDeviceName, the device volume as attenuation, a 50 ms closing
// silence and outputs kept open between items; the graph player on the preferred sink (or the
// named device) with a floor of -10000.
class StandardPlayerFactory final : public PlayerFactory {
 public:
  // `device` replaces the process's wave output for the waveOut player and `seams` the graph
  // player's sink and filters (tests, benchmarks); defaults use the system's.
  explicit StandardPlayerFactory(std::shared_ptr<platform::WaveOutDevice> device = nullptr,
                                 audio::GraphSeams seams = {});

  PlayerSlot Create(int32_t playerType, const std::string& waveDeviceName) override;

 private:
  std::shared_ptr<platform::WaveOutDevice> device_;
  audio::GraphSeams seams_;
};

}  // namespace playout
