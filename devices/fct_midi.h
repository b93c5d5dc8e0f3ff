#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "devices/midi_system.h"
#include "platform/log_sink.h"

namespace devices {

// The program's MIDI ports: up to four outputs and four inputs (port 0..3), each connected to
// the device chosen for it by name. Short messages go out one at a time; input waits in the
// system until drained, oldest first. Only port 0 is used by the playout.
class MidiPorts {
 public:
  static constexpr int32_t kPorts = 4;
  // Shown when a device named in the settings is not there.
  static constexpr const char* kNotFoundText = "この名前のデバイスを検出できませんでした";

  // Ports on `system`; refusals and devices not found are written to `log`.
  MidiPorts(platform::LogSink& log, MidiSystem& system) : log_(log), system_(system) {}

  // Device numbers chosen for each port (-1: none found; also for a port outside 0..3).
  void SetOutDeviceID(int32_t port, int32_t id);
  void SetInDeviceID(int32_t port, int32_t id);
  int32_t OutDeviceID(int32_t port) const {
    return ValidPort(port) ? outDevice_[static_cast<size_t>(port)] : -1;
  }
  int32_t InDeviceID(int32_t port) const {
    return ValidPort(port) ? inDevice_[static_cast<size_t>(port)] : -1;
  }

  // Closes the port if open, then connects it to its device: 1 opened, 0 not (a port outside
  // 0..3, no device chosen, or a device that would not open; logged).
  int32_t MidiOutOpenPort(int32_t port);
  int32_t MidiInOpenPort(int32_t port);
  void MidiOutClosePort(int32_t port);
  void MidiInClosePort(int32_t port);
  bool OutOpen(int32_t port) const;
  bool InOpen(int32_t port) const;

  // Sends one short message on an open output: kind 0 control change, 1 program change,
  // 2 note off, 3 note on, 4 polyphonic pressure, 5 channel pressure, 6 pitch bend, on MIDI
  // channel 0..15; d1 and d2 are clamped to 0..127 (program change and channel pressure carry
  // d1 only). 1 sent; 0 for a closed port, a kind or channel outside those (logged) or a
  // refusal of the system.
  int32_t MidiOutSend(int32_t port, int32_t kind, int32_t channel, int32_t d1, int32_t d2);
  // Appends the messages the input received since the last call, oldest first; their count.
  int32_t MidiInRead(int32_t port, std::vector<uint32_t>& messages);

  // The link flag of a port: 1 once the playout's fader link on it is up.
  int32_t MidiPortsOpen(int32_t port) const;
  void SetMidiPortsOpen(int32_t port, int32_t value);

  // Device names of one direction (input non-zero: inputs), device i at index i.
  std::vector<std::string> DeviceNames(int32_t input) const {
    return system_.DeviceNames(input != 0);
  }
  // That device's name, "" when there is no such device.
  std::string GetMidiDeviceName(int32_t input, int32_t id) const;
  // The device a name from the settings picks: a numeric name is the number itself, else the
  // first whose name equals it (case and outer blanks ignored), else the first that matches it
  // without the system's numbering; -1 when none does (a non-empty name not found is logged
  // with kNotFoundText, and shown in a message box when showMsg is 1).
  int32_t FindMidiDeviceByName(int32_t input, const std::string& name, int32_t showMsg) const;
  // The entry of `names` that a name from the settings selects in a device list, -1 for none.
  static int32_t SelectedDeviceIndex(const std::vector<std::string>& names,
                                     const std::string& name);

 private:
  static bool ValidPort(int32_t port) { return port >= 0 && port < kPorts; }

  platform::LogSink& log_;
  MidiSystem& system_;
  std::array<int32_t, kPorts> outDevice_{-1, -1, -1, -1};
  std::array<int32_t, kPorts> inDevice_{-1, -1, -1, -1};
  std::array<std::unique_ptr<MidiOutConnection>, kPorts> out_;
  std::array<std::unique_ptr<MidiInConnection>, kPorts> in_;
  std::array<int32_t, kPorts> portsOpen_{};
};

}  // namespace devices
