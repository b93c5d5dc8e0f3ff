#pragma once

#include <memory>

#include "platform/log_sink.h"
#include "platform/wave_out_device.h"

namespace platform {

// The wave output device this machine plays through, its streams' lines going to `log`: the
// environment variable ONDRAKE_AUDIO_BACKEND set to "virtual" gives a virtual device playing
// in real time without recording (one device, "virtual"); "alsa" gives ALSA; unset or anything
// else gives ALSA when the machine has a sound card and the virtual device otherwise.
std::shared_ptr<WaveOutDevice> ChooseWaveOut(LogSink& log);

// The wave output device the whole process plays through: the one set last, else one chosen
// on first use (ChooseWaveOut) whose lines go to standard error. A program sets its own at
// start-up so that the lines reach its debug log.
//
// A player takes the device once, when it is made, and keeps the pointer: handles of one
// device mean nothing to another.
std::shared_ptr<WaveOutDevice> CurrentWaveOut();

// Replaces the process's device (the program's start-up, tests); nullptr goes back to the
// choice above at the next CurrentWaveOut. Players made before keep the device they hold.
void SetCurrentWaveOut(std::shared_ptr<WaveOutDevice> device);

}  // namespace platform
