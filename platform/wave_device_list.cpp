#include "platform/wave_device_list.h"

#include <alsa/asoundlib.h>

#include <cstdlib>

namespace platform {

namespace {

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

std::string HintValue(const void* hint, const char* id) {
  char* value = snd_device_name_get_hint(hint, id);
  if (value == nullptr) return {};
  std::string text(value);
  std::free(value);
  return text;
}

}  // namespace

std::vector<WaveDeviceEntry> SelectWaveDevices(const std::vector<WavePcmHint>& hints,
                                               WaveDirection direction) {
  const char* wanted = direction == WaveDirection::kPlayback ? "Output" : "Input";
  std::vector<WaveDeviceEntry> devices;
  devices.push_back({"default", "default"});
  for (const WavePcmHint& hint : hints) {
    if (hint.name.empty() || hint.name == "default" || hint.name == "null") continue;
    if (StartsWith(hint.name, "hw:")) continue;
    if (!hint.ioid.empty() && hint.ioid != wanted) continue;
    bool seen = false;
    for (const WaveDeviceEntry& d : devices) seen = seen || d.name == hint.name;
    if (seen) continue;
    // Mixing plugins accept only their own fixed format; a converter in front lets any file
    // format through.
    const bool mixer = StartsWith(hint.name, "dmix:") || StartsWith(hint.name, "dsnoop:");
    devices.push_back({hint.name, mixer ? "plug:'" + hint.name + "'" : hint.name});
  }
  return devices;
}

std::vector<WavePcmHint> ReadAlsaPcmHints() {
  std::vector<WavePcmHint> hints;
  void** list = nullptr;
  if (snd_device_name_hint(-1, "pcm", &list) < 0 || list == nullptr) return hints;
  for (void** h = list; *h != nullptr; ++h) {
    hints.push_back({HintValue(*h, "NAME"), HintValue(*h, "DESC"), HintValue(*h, "IOID")});
  }
  snd_device_name_free_hint(list);
  return hints;
}

std::vector<WaveDeviceEntry> AlsaPlaybackDevices() {
  return SelectWaveDevices(ReadAlsaPcmHints(), WaveDirection::kPlayback);
}

std::vector<WaveDeviceEntry> AlsaCaptureDevices() {
  return SelectWaveDevices(ReadAlsaPcmHints(), WaveDirection::kCapture);
}

bool HasSoundCard() {
  int card = -1;
  return snd_card_next(&card) == 0 && card >= 0;
}

}  // namespace platform
