#include "playout/logging_device_link.h"

#include <string>

namespace playout {

void LoggingDeviceLink::ParseSerialTime() { log_.Write("ParseSerialTime (no time-code port)", 0); }

void LoggingDeviceLink::AdjustClockFromSerial() {
  log_.Write("AdjustClockFromSerial (no time-code port)", 0);
}

void LoggingDeviceLink::SwitchChannel(int32_t pIsOff, int32_t pFadeOn, int32_t pNextCh,
                                      SwitcherState& state) {
  log_.Write("SwitchChannel Start pIsOff=" + std::to_string(pIsOff) +
                 " pFadeOn=" + std::to_string(pFadeOn) + " pNextCh=" + std::to_string(pNextCh),
             0);
  if (pIsOff == 0) state.CurSWCh = pNextCh;
}

void LoggingDeviceLink::SendMidiFader(int32_t channel, int32_t level) {
  log_.Write("SetMidiFader ch=" + std::to_string(channel) + " level=" + std::to_string(level), 0);
}

void LoggingDeviceLink::EndHidPulse(int32_t port) {
  log_.Write("TarnWrite " + std::to_string(101 + port) + " (no HID unit)", 0);
}

}  // namespace playout
