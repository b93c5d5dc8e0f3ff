#include "playout/settings_link.h"

namespace playout {

settings::RunningValues EngineRunningSettings::Read() const {
  settings::RunningValues v;
  static_cast<PlayoutSettings&>(v) = engine_.Settings();
  if (devices_ == nullptr) {
    v.SWType = swType_;
    v.MidiOutDeviceID = midiOut_;
    v.MidiInDeviceID = midiIn_;
    return v;
  }
  for (int32_t i = 0; i < 3; ++i) v.SWType[static_cast<size_t>(i)] = devices_->Serial().SWType(i);
  v.MidiOutDeviceID = devices_->Midi().Ports().OutDeviceID(0);
  v.MidiInDeviceID = devices_->Midi().Ports().InDeviceID(0);
  return v;
}

void EngineRunningSettings::Apply(const settings::RunningValues& v) {
  engine_.ApplyRunningSettings(v);
  if (devices_ == nullptr) {
    swType_ = v.SWType;
    midiOut_ = v.MidiOutDeviceID;
    midiIn_ = v.MidiInDeviceID;
    return;
  }
  for (int32_t i = 0; i < 3; ++i) devices_->Serial().SetSWType(i, v.SWType[static_cast<size_t>(i)]);
  devices_->Midi().Ports().SetOutDeviceID(0, v.MidiOutDeviceID);
  devices_->Midi().Ports().SetInDeviceID(0, v.MidiInDeviceID);
  // The time code's clock correction shares the hourly moment.
  devices::TimeAdjustSettings adjust = devices_->ClockAdjust().Settings();
  adjust.AMinute = v.AMinute;
  adjust.ASecond = v.ASecond;
  devices_->ClockAdjust().SetSettings(adjust);
}

}  // namespace playout
