#pragma once

#include <map>
#include <string>
#include <vector>

#include "settings/dialog_ports.h"

// Hand-written stand-ins for the dialog's outside world.
namespace settingstest {

// A store in memory that records what was read (with the default asked for) and, in order, what
// was written; "<station>" stands for a save of the station settings.
struct RecordingStore final : settings::SettingsStorePort {
  std::string Load(const std::string& key, const std::string& defaultText) override {
    loads[key] = defaultText;
    const auto at = values.find(key);
    return at == values.end() ? defaultText : at->second;
  }
  void Save(const std::string& key, const std::string& text) override {
    values[key] = text;
    saves.push_back(key);
  }
  void SaveStation() override { saves.push_back("<station>"); }

  std::map<std::string, std::string> values;
  std::map<std::string, std::string> loads;
  std::vector<std::string> saves;
};

struct FakeRunning final : settings::RunningSettings {
  settings::RunningValues Read() const override { return values; }
  void Apply(const settings::RunningValues& v) override {
    values = v;
    ++applies;
  }
  settings::RunningValues values;
  int applies = 0;
};

// Two wave outputs; MIDI outputs "Desk", "Synth" and inputs "Desk"; a name finds its entry.
struct FakeDevices final : settings::DeviceLists {
  std::vector<std::string> WaveOutNames() override { return wave; }
  std::vector<std::string> MidiNames(int32_t input) override { return input ? midiIn : midiOut; }
  int32_t FindMidiDevice(int32_t input, const std::string& name) override {
    const std::vector<std::string>& names = input ? midiIn : midiOut;
    for (size_t i = 0; i < names.size(); ++i)
      if (names[i] == name) return static_cast<int32_t>(i);
    return -1;
  }
  std::vector<std::string> wave{"default", "front:CARD=PCH,DEV=0"};
  std::vector<std::string> midiOut{"Desk", "Synth"};
  std::vector<std::string> midiIn{"Desk"};
};

}  // namespace settingstest
