#pragma once

#include "playout/engine_ports.h"

namespace playout {

// The device link until the serial, HID and MIDI links exist: no device is open, and every
// request that reaches it is written to the debug log. A channel switch keeps the live channel
// as the switcher would (a channel going live becomes CurSWCh; going off leaves it).
class LoggingDeviceLink final : public DeviceLink {
 public:
  explicit LoggingDeviceLink(LogSink& log) : log_(log) {}

  bool TimeCodeOpen() const override { return false; }
  bool HidOK() const override { return false; }
  bool MidiPortsOpen() const override { return false; }
  int32_t MidiMode() const override { return 0; }
  int32_t FaderLevel() const override { return 0; }
  void ParseSerialTime() override;
  void AdjustClockFromSerial() override;
  void SwitchChannel(int32_t pIsOff, int32_t pFadeOn, int32_t pNextCh,
                     SwitcherState& state) override;
  void SendMidiFader(int32_t channel, int32_t level) override;
  void EndHidPulse(int32_t port) override;

 private:
  LogSink& log_;
};

}  // namespace playout
