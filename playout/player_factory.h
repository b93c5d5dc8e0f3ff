#pragma once

#include <functional>
#include <memory>

#include "platform/log_sink.h"
#include "platform/wave_out_device.h"
#include "playout/engine_ports.h"

namespace audio {
class C_FGraph;
}  // namespace audio

namespace playout {

// The players as the main window sets them up: the waveOut player with 2000 ms pages, five of
// them, the device named by WaveDeviceName, the device volume as attenuation, a 50 ms closing
// silence and outputs kept open between items; the graph player on the preferred sink (or the
// named device) with a floor of -10000.
class StandardPlayerFactory final : public PlayerFactory {
 public:
  // Makes the graph player, writing to the log given, before its set-up; unset, a C_FGraph on
  // the system's sinks.
  using GraphMaker = std::function<std::unique_ptr<audio::C_FGraph>(platform::LogSink& log)>;

  // The players write their lines to `log`. `device` replaces the process's wave output for
  // the waveOut player and `makeGraph` the graph player (tests, benchmarks).
  explicit StandardPlayerFactory(platform::LogSink& log,
                                 std::shared_ptr<platform::WaveOutDevice> device = nullptr,
                                 GraphMaker makeGraph = {});

  PlayerSlot Create(int32_t playerType, const std::string& waveDeviceName) override;

 private:
  platform::LogSink& log_;
  std::shared_ptr<platform::WaveOutDevice> device_;
  GraphMaker makeGraph_;
};

}  // namespace playout
