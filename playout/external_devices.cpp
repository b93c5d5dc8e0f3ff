#include "playout/external_devices.h"

#include "foundation/app_globals.h"
#include "foundation/calendar.h"
#include "foundation/user_dialogs.h"

namespace playout {

namespace {

// Channels the switchers' commands can name: two digits.
constexpr int32_t kMaxChannel = 99;
// Channels with a fader on the desk and an output on the HID unit.
constexpr int32_t kFaderChannels = 8;
constexpr int32_t kCriticalBox = 16;
// The unit's code bytes: the channel to switch on, 100 + the channel to switch off, 101 + a
// port to end its pulse.
constexpr int32_t kOffCode = 100;
constexpr int32_t kPulseEndCode = 101;

std::string Channel2(int32_t channel) { return foundation::PadNumber(channel, 2); }

}  // namespace

SystemDeviceSystems::SystemDeviceSystems(platform::LogSink& log)
    : midi_(foundation::Globals().ProgramTitle) {
  systems_ = {&clock_, &setter_, &hidraw_, &midi_, &log};
}

ExternalDevices::ExternalDevices(const DeviceSystems& systems)
    : systems_(systems),
      serial_(*systems.log, [this](const std::string& line) { Trace(line); }),
      midi_(*systems.log, *systems.midi),
      clockAdjust_(*systems.log, *systems.clock, *systems.clockSetter) {}

ExternalDevices::~ExternalDevices() { Close(); }

void ExternalDevices::Trace(const std::string& text) const {
  if (foundation::Globals().ErrorCatch != 0 && trace_) trace_(text);
}

void ExternalDevices::SelectButton(int32_t index) {
  selectedButton_ = index;
  if (select_) select_(index);
}

void ExternalDevices::Open(const DeviceSettings& settings) {
  cntPulseMS_ = settings.CNTPulseMS;
  clockAdjust_.SetSettings(settings.TimeAdjust);
  serial_.InitSerial(settings.SWType);
  if (settings.USBHIDID > 0) {
    hid_ = std::make_unique<devices::C_HID>(*systems_.log, *systems_.hidraw);
    hid_->SetVendorID(settings.USBHIDVendorID);
    hid_->SetLogError(1);
    hidOK_ = hid_->HidInit(64, settings.USBHIDID, 1);
    if (hidOK_ != 1) {
      hidOK_ = 0;
      foundation::MsgBoxCentered("TarnwickHIDを初期化できませんでした", kCriticalBox,
                                 foundation::Globals().ProgramTitle, nullptr);
    }
  }
  midi_.Open(settings);
}

void ExternalDevices::Close() {
  // The unload's order: the serial ports, the HID unit, the MIDI ports.
  serial_.CloseAll();
  if (hid_) hid_->HidClose();
  hidOK_ = 0;
  midi_.Close();
}

int32_t ExternalDevices::NoRemoteDevice() const {
  return serial_.ComOpen(1) || serial_.ComOpen(2) || hidOK_ != 0 ? 0 : 1;
}

void ExternalDevices::ParseSerialTime() {
  if (devices::C_Com* port = serial_.Com(0); port != nullptr && serial_.ComOpen(0))
    clockAdjust_.ParseSerialTime(*port);
}

void ExternalDevices::AdjustClockFromSerial() { clockAdjust_.AdjustClockFromSerial(); }

void ExternalDevices::SendMidiFader(int32_t channel, int32_t level) {
  if (midi_.Active()) midi_.SendLevel(channel, level);
}

void ExternalDevices::EndHidPulse(int32_t port) {
  if (hidOK_ != 0 && port >= 0 && port < kFaderChannels)
    hid_->TarnWrite(static_cast<uint8_t>(kPulseEndCode + port));
}

void ExternalDevices::SetRelayOutput(int32_t channel, const SwitcherState& state) {
  if (state.CurSWCh > 0) serial_.ACSSerialOut("*0OR" + std::to_string(state.CurSWCh) + "F");
  serial_.ACSSerialOut("*0OR" + std::to_string(channel) + "L");
}

void ExternalDevices::SwitchChannel(int32_t pIsOff, int32_t pFadeOn, int32_t pNextCh,
                                    SwitcherState& state) {
  systems_.log->Write("SwitchChannel Start pIsOff=" + std::to_string(pIsOff) + " pFadeOn=" +
                          std::to_string(pFadeOn) + " pNextCh=" + std::to_string(pNextCh),
                      platform::LogSeverity::kInfo);
  if (pIsOff != 0) {
    SwitchOff(pFadeOn, state);
    return;
  }
  if (pNextCh > kMaxChannel) {
    systems_.log->Write("SwitchChannel refused pNextCh=" + std::to_string(pNextCh),
                        platform::LogSeverity::kError);
    return;
  }
  if (pNextCh < 1) {
    SelectButton(-1);
  } else {
    SwitchOn(pFadeOn, pNextCh, state);
  }
  state.CurSWCh = pNextCh;
}

void ExternalDevices::SwitchOff(int32_t pFadeOn, SwitcherState& state) {
  const int32_t c = state.CurSWCh;
  if (c <= 0 || c > kMaxChannel) return;
  serial_.SendRemote1(static_cast<uint8_t>(kOffCode + c));
  // With pulses the pass ends the output itself.
  if (hidOK_ != 0 && cntPulseMS_ == 0) hid_->TarnWrite(static_cast<uint8_t>(kOffCode + c));
  if (midi_.Active() && c <= kFaderChannels && (pFadeOn == 0 || pFadeOn == 1)) {
    MidiFaderState& fader = state.MidiFader[static_cast<size_t>(c - 1)];
    if (pFadeOn == 0) {
      midi_.SetMidiFader(c - 1, 0, state.MidiFader);
    } else {
      fader.FadeOut = 1;
    }
    fader.FadeIn = 0;
  }
  std::string command;
  if (pFadeOn == 0) command = "*0" + Channel2(c) + "5";
  if (pFadeOn == 1) command = "*0FD" + Channel2(c);
  serial_.ACSSerialOut(command);
}

void ExternalDevices::SwitchOn(int32_t pFadeOn, int32_t n, SwitcherState& state) {
  serial_.SendRemote1(static_cast<uint8_t>(n));
  if (hidOK_ != 0) {
    hid_->TarnWrite(static_cast<uint8_t>(n));
    if (n <= kFaderChannels) state.HidPulse[static_cast<size_t>(n - 1)] = cntPulseMS_;
  }
  if (midi_.Active() && n <= kFaderChannels && (pFadeOn == 0 || pFadeOn == 1)) {
    MidiFaderState& fader = state.MidiFader[static_cast<size_t>(n - 1)];
    if (pFadeOn == 0) {
      midi_.SetMidiFader(n - 1, midi_.FaderLevel(), state.MidiFader);
    } else {
      fader.FadeIn = 1;
    }
    fader.FadeOut = 0;
  }
  SetRelayOutput(n, state);
  std::string command;
  if (pFadeOn == 0) command = "*0" + Channel2(n) + "3";
  if (pFadeOn == 1) command = "*0FU" + Channel2(n);
  serial_.ACSSerialOut(command);
  SelectButton(n - 1);
}

bool ExternalDevices::IsOpen(int32_t group) const {
  switch (group) {
    case kContactMidi:
      return midi_.InputActive();
    case kContactSerial1:
    case kContactSerial2:
      return serial_.ComOpen(group);
    case kContactHid:
      return hidOK_ != 0;
    default:
      return false;
  }
}

int32_t ExternalDevices::Poll(int32_t group, SwitcherState& state) {
  switch (group) {
    case kContactMidi:
      return midi_.PollMidiFaders(state.MidiFader);
    case kContactSerial1:
    case kContactSerial2:
      return PollSerial(group, state);
    case kContactHid:
      return PollHidInput();
    default:
      return 0;
  }
}

int32_t ExternalDevices::PollSerial(int32_t port, SwitcherState& state) {
  const SerialLinks::Poll p = serial_.PollSerialInputs(port);
  // A switcher reporting its live channel moves the program's idea of it.
  if (p.channel != 0 && p.channel != state.CurSWCh) {
    SetRelayOutput(p.channel, state);
    state.CurSWCh = p.channel;
    SelectButton(p.channel - 1);
    const std::string line = "Set PreSWCh To " + std::to_string(p.channel);
    Trace(line);
    systems_.log->Write(line + " " + p.channelText, platform::LogSeverity::kInfo);
  }
  return p.contact;
}

int32_t ExternalDevices::PollHidInput() {
  if (hidOK_ == 0) return 0;
  const int32_t v = hid_->TarnRead();
  if (v != 0) Trace("CNT HID=" + std::to_string(v));
  return v;
}

}  // namespace playout
