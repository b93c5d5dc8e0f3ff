#pragma once

#include <memory>

#include "platform/wave_out_device.h"

namespace platform {

// The wave output device the whole process plays through.
//
// Chosen on first use: the environment variable ONDRAKE_AUDIO_BACKEND set to "virtual" gives
// a virtual device playing in real time without recording (one device, "virtual"); "alsa"
// gives ALSA; unset or anything else gives ALSA when the machine has a sound card and the
// virtual device otherwise.
//
// A player takes the device once, when it is made, and keeps the pointer: handles of one
// device mean nothing to another.
std::shared_ptr<WaveOutDevice> CurrentWaveOut();

// Replaces the process's device (tests); nullptr goes back to the choice above at the next
// CurrentWaveOut. Players made before keep the device they hold.
void SetCurrentWaveOut(std::shared_ptr<WaveOutDevice> device);

}  // namespace platform
