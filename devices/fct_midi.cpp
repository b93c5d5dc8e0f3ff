#include "devices/fct_midi.h"

#include <algorithm>

#include "foundation/app_globals.h"
#include "foundation/device_names.h"
#include "foundation/setting_value.h"
#include "foundation/user_dialogs.h"

namespace devices {

namespace {

// Status byte of each kind of short message, and how many data bytes it carries.
struct KindBase {
  uint8_t status;
  size_t dataBytes;
};
constexpr KindBase kKinds[] = {{0xB0, 2}, {0xC0, 1}, {0x80, 2}, {0x90, 2},
                               {0xA0, 2}, {0xD0, 1}, {0xE0, 2}};

// A critical message box, as the settings' device look-ups show it.
constexpr int32_t kCriticalBox = 16;

uint8_t DataByte(int32_t value) { return static_cast<uint8_t>(std::clamp(value, 0, 127)); }

}  // namespace

void MidiPorts::SetOutDeviceID(int32_t port, int32_t id) {
  if (ValidPort(port)) outDevice_[static_cast<size_t>(port)] = id;
}

void MidiPorts::SetInDeviceID(int32_t port, int32_t id) {
  if (ValidPort(port)) inDevice_[static_cast<size_t>(port)] = id;
}

int32_t MidiPorts::MidiOutOpenPort(int32_t port) {
  if (!ValidPort(port)) return 0;
  MidiOutClosePort(port);
  const int32_t device = outDevice_[static_cast<size_t>(port)];
  out_[static_cast<size_t>(port)] = system_.OpenOutput(device);
  if (out_[static_cast<size_t>(port)]) return 1;
  log_.Write(
      "MidiOutOpenPort Failed port=" + std::to_string(port) + " device=" + std::to_string(device),
      platform::LogSeverity::kError);
  return 0;
}

int32_t MidiPorts::MidiInOpenPort(int32_t port) {
  if (!ValidPort(port)) return 0;
  MidiInClosePort(port);
  const int32_t device = inDevice_[static_cast<size_t>(port)];
  in_[static_cast<size_t>(port)] = system_.OpenInput(device);
  if (in_[static_cast<size_t>(port)]) return 1;
  log_.Write(
      "MidiInOpenPort Failed port=" + std::to_string(port) + " device=" + std::to_string(device),
      platform::LogSeverity::kError);
  return 0;
}

void MidiPorts::MidiOutClosePort(int32_t port) {
  if (ValidPort(port)) out_[static_cast<size_t>(port)].reset();
}

void MidiPorts::MidiInClosePort(int32_t port) {
  if (ValidPort(port)) in_[static_cast<size_t>(port)].reset();
}

bool MidiPorts::OutOpen(int32_t port) const {
  return ValidPort(port) && out_[static_cast<size_t>(port)] != nullptr;
}

bool MidiPorts::InOpen(int32_t port) const {
  return ValidPort(port) && in_[static_cast<size_t>(port)] != nullptr;
}

int32_t MidiPorts::MidiOutSend(int32_t port, int32_t kind, int32_t channel, int32_t d1,
                               int32_t d2) {
  if (!OutOpen(port)) return 0;
  if (kind < 0 || kind >= static_cast<int32_t>(std::size(kKinds)) || channel < 0 || channel > 15) {
    log_.Write(
        "MidiOutSend refused kind=" + std::to_string(kind) + " channel=" + std::to_string(channel),
        platform::LogSeverity::kError);
    return 0;
  }
  const KindBase& k = kKinds[static_cast<size_t>(kind)];
  const uint8_t bytes[] = {static_cast<uint8_t>(k.status + channel), DataByte(d1), DataByte(d2)};
  return out_[static_cast<size_t>(port)]->Send(std::span<const uint8_t>(bytes, 1 + k.dataBytes))
             ? 1
             : 0;
}

int32_t MidiPorts::MidiInRead(int32_t port, std::vector<uint32_t>& messages) {
  if (!InOpen(port)) return 0;
  const size_t before = messages.size();
  in_[static_cast<size_t>(port)]->Drain(messages);
  return static_cast<int32_t>(messages.size() - before);
}

int32_t MidiPorts::MidiPortsOpen(int32_t port) const {
  return ValidPort(port) ? portsOpen_[static_cast<size_t>(port)] : 0;
}

void MidiPorts::SetMidiPortsOpen(int32_t port, int32_t value) {
  if (ValidPort(port)) portsOpen_[static_cast<size_t>(port)] = value;
}

std::string MidiPorts::GetMidiDeviceName(int32_t input, int32_t id) const {
  const std::vector<std::string> names = DeviceNames(input);
  if (id < 0 || static_cast<size_t>(id) >= names.size()) return "";
  return names[static_cast<size_t>(id)];
}

int32_t MidiPorts::SelectedDeviceIndex(const std::vector<std::string>& names,
                                       const std::string& name) {
  return foundation::FindDeviceNameInList(names, name);
}

int32_t MidiPorts::FindMidiDeviceByName(int32_t input, const std::string& name,
                                        int32_t showMsg) const {
  if (const std::optional<int32_t> number = foundation::ParseSettingInt(name)) return *number;
  const int32_t found = SelectedDeviceIndex(DeviceNames(input), name);
  if (found >= 0 || name.empty()) return found;
  if (showMsg == 1) {
    foundation::MsgBoxCentered(std::string(kNotFoundText) + "\n" + name, kCriticalBox,
                               foundation::Globals().ProgramTitle, nullptr);
  }
  log_.Write(std::string(kNotFoundText) + " " + name, platform::LogSeverity::kInfo);
  return -1;
}

}  // namespace devices
