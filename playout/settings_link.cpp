#include "playout/settings_link.h"

namespace playout {

settings::RunningValues EngineRunningSettings::Read() const {
  const PlayoutSettings& s = engine_.Settings();
  settings::RunningValues v;
  v.AirID = s.AirID;
  v.SelectedAir = s.SelectedAir;
  v.StopAdjMS = s.StopAdjMS;
  v.OverSec = s.OverSec;
  v.ForceLoad = s.ForceLoad;
  v.ForceOA = s.ForceOA;
  v.NoTimeSkip = s.NoTimeSkip;
  v.NoCNTSkip = s.NoCNTSkip;
  v.CueActive = s.CueActive;
  v.AMinute = s.AMinute;
  v.ASecond = s.ASecond;
  v.CancelCNT = s.CancelCNT;
  v.CommandMargin = s.CommandMargin;
  v.NoPlayMS = s.NoPlayMS;
  v.CNTPulseMS = s.CNTPulseMS;
  v.CNTFunction = s.CNTFunction;
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
  PlayoutSettings& s = engine_.Settings();
  s.AirID = v.AirID;
  s.SelectedAir = v.SelectedAir;
  s.StopAdjMS = v.StopAdjMS;
  s.OverSec = v.OverSec;
  s.ForceLoad = v.ForceLoad;
  s.ForceOA = v.ForceOA;
  s.NoTimeSkip = v.NoTimeSkip;
  s.NoCNTSkip = v.NoCNTSkip;
  s.CueActive = v.CueActive;
  s.AMinute = v.AMinute;
  s.ASecond = v.ASecond;
  s.CancelCNT = v.CancelCNT;
  s.CommandMargin = v.CommandMargin;
  s.NoPlayMS = v.NoPlayMS;
  s.CNTPulseMS = v.CNTPulseMS;
  s.CNTFunction = v.CNTFunction;
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
