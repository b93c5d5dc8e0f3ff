#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "devices/alsa_midi_system.h"
#include "devices/c_hid.h"
#include "devices/hidraw.h"
#include "devices/serial_clock_adjust.h"
#include "platform/clock.h"
#include "platform/clock_setter.h"
#include "playout/device_settings.h"
#include "playout/engine_ports.h"
#include "playout/midi_fader_link.h"
#include "playout/serial_links.h"

namespace playout {

// What the external equipment is reached through.
struct DeviceSystems {
  platform::Clock* clock = nullptr;
  platform::ClockSetter* clockSetter = nullptr;
  devices::HidrawSystem* hidraw = nullptr;
  devices::MidiSystem* midi = nullptr;
  platform::LogSink* log = nullptr;
};

// The machine's own: the kernel's HID nodes, the ALSA sequencer, the system clock and its
// setter (which only reports under a dry run).
class SystemDeviceSystems {
 public:
  explicit SystemDeviceSystems(platform::LogSink& log);
  const DeviceSystems& Systems() const { return systems_; }

 private:
  platform::SystemClock clock_;
  platform::SystemClockSetter setter_;
  devices::LinuxHidraw hidraw_;
  devices::AlsaMidiSystem midi_;
  DeviceSystems systems_;
};

// The playout's external equipment as the engine sees it: the serial links with the switcher
// protocols and contacts, the HID unit, the MIDI fader desk and the serial time code, behind
// the engine's device link and contact sources. Open at start-up, Close at shutdown; UI
// thread only.
class ExternalDevices final : public DeviceLink, public ContactSources {
 public:
  explicit ExternalDevices(const DeviceSystems& systems);
  ~ExternalDevices() override;
  ExternalDevices(const ExternalDevices&) = delete;
  ExternalDevices& operator=(const ExternalDevices&) = delete;

  // Start-up's device steps: the clock adjustment's settings, the serial links, the HID unit
  // (a unit that does not initialise is reported in a message box and left out), the MIDI
  // fader desk.
  void Open(const DeviceSettings& settings);
  void Close();
  // Where trace lines go (the window's trace), and the channel button to select (-1: none).
  void SetTrace(std::function<void(const std::string&)> trace) { trace_ = std::move(trace); }
  void SetButtonSelector(std::function<void(int32_t)> select) { select_ = std::move(select); }

  // 1 until a serial link or the HID unit is open.
  int32_t NoRemoteDevice() const;
  int32_t SelectedButton() const { return selectedButton_; }
  SerialLinks& Serial() { return serial_; }
  MidiFaderLink& Midi() { return midi_; }
  devices::SerialClockAdjust& ClockAdjust() { return clockAdjust_; }

  // SetRelayOutput: the relay commands for a channel that goes live (before CurSWCh moves).
  void SetRelayOutput(int32_t channel, const SwitcherState& state);

  // DeviceLink
  bool TimeCodeOpen() const override { return serial_.ComOpen(0); }
  bool HidOK() const override { return hidOK_ != 0; }
  bool MidiPortsOpen() const override { return midi_.Active(); }
  int32_t MidiMode() const override { return midi_.MidiMode(); }
  int32_t FaderLevel() const override { return midi_.FaderLevel(); }
  void ParseSerialTime() override;
  void AdjustClockFromSerial() override;
  void SwitchChannel(int32_t pIsOff, int32_t pFadeOn, int32_t pNextCh,
                     SwitcherState& state) override;
  void SendMidiFader(int32_t channel, int32_t level) override;
  void EndHidPulse(int32_t port) override;

  // ContactSources: group 0 the desk's fader buttons, 1 and 2 the serial links, 3 the HID unit.
  bool IsOpen(int32_t group) const override;
  int32_t Poll(int32_t group, SwitcherState& state) override;

 private:
  void Trace(const std::string& text) const;
  void SelectButton(int32_t index);
  void SwitchOff(int32_t pFadeOn, SwitcherState& state);
  void SwitchOn(int32_t pFadeOn, int32_t channel, SwitcherState& state);
  int32_t PollSerial(int32_t port, SwitcherState& state);
  int32_t PollHidInput();

  DeviceSystems systems_;
  std::function<void(const std::string&)> trace_;
  std::function<void(int32_t)> select_;
  SerialLinks serial_;
  MidiFaderLink midi_;
  devices::SerialClockAdjust clockAdjust_;
  std::unique_ptr<devices::C_HID> hid_;
  int32_t hidOK_ = 0;
  int32_t cntPulseMS_ = 0;
  int32_t selectedButton_ = -1;
};

}  // namespace playout
