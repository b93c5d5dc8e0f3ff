#pragma once

#include <string>
#include <vector>

namespace platform {

// The sound devices the system offers, as ALSA PCM names.

// One entry of a device list: `name` is what the list shows and the settings match (the ALSA
// PCM name as ALSA lists it, e.g. "default", "sysdefault:CARD=PCH", "front:CARD=PCH,DEV=0");
// `pcm` is the PCM opened for it, which adds a format converter in front of the mixing
// plugins that have none ("plug:'dmix:CARD=PCH,DEV=0'").
struct WaveDeviceEntry {
  std::string name;
  std::string pcm;
};

enum class WaveDirection { kPlayback, kCapture };

// One hint as ALSA gives it: NAME, DESC and IOID ("Input", "Output" or empty for both).
struct WavePcmHint {
  std::string name;
  std::string description;
  std::string ioid;
};

// Picks the entries of a device list from ALSA's PCM hints, in hint order: the hints usable
// in `direction`, without the "null" sink and without raw "hw:" devices (they take no format
// conversion). "default" always comes first, added when the hints lack it.
std::vector<WaveDeviceEntry> SelectWaveDevices(const std::vector<WavePcmHint>& hints,
                                               WaveDirection direction);

// ALSA's PCM hints of every card and of the configuration (snd_device_name_hint).
std::vector<WavePcmHint> ReadAlsaPcmHints();

// The device lists of this machine: playback PCMs (the wave output devices) and capture PCMs
// (the wave input devices).
std::vector<WaveDeviceEntry> AlsaPlaybackDevices();
std::vector<WaveDeviceEntry> AlsaCaptureDevices();

// True when the kernel reports at least one sound card.
bool HasSoundCard();

}  // namespace platform
