#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "foundation/server_config.h"
#include "foundation/station_settings.h"
#include "playout/engine_ports.h"
#include "playout/process_ports.h"

// What the playout engine talks to in a benchmark, where no window, server, device unit or
// command list is: silent stand-ins, a station under one folder, and an inbox that hands out
// one schedule message.
namespace benchrig {

class NullLog final : public platform::LogSink {
 public:
  void Write(const std::string&, platform::LogSeverity) override {}
};
class NullView final : public playout::ViewNotifications {
 public:
  void ClockCell(int32_t, const std::string&) override {}
  void CountDown(int32_t, int32_t, const std::string&) override {}
  void OnAirBox(int32_t) override {}
  void ListChanged(int32_t) override {}
  void OnAirStyle(int32_t, int32_t) override {}
  void Trace(const std::string&) override {}
  void LoadPanelText(const std::string&) override {}
  void BlockCaptionClick(int32_t) override {}
};
class NullNotices final : public playout::MessageNotices {
 public:
  void Post(const std::string&, const std::string&) override {}
};
class AnsweringServer final : public playout::ServerProbe {
 public:
  int32_t CheckServerAlive() override { return 1; }
};
class NoSync final : public playout::TimeSync {
 public:
  void Start() override {}
};
class OneMessage final : public playout::ScheduleInbox {
 public:
  std::string Take() override { return std::exchange(text, std::string()); }
  std::string text;
};
// No serial, HID or MIDI unit: a channel going live still becomes the live channel.
class NoDevices final : public playout::DeviceLink {
 public:
  bool TimeCodeOpen() const override { return false; }
  bool HidOK() const override { return false; }
  bool MidiPortsOpen() const override { return false; }
  int32_t MidiMode() const override { return 0; }
  int32_t FaderLevel() const override { return 0; }
  void ParseSerialTime() override {}
  void AdjustClockFromSerial() override {}
  void SwitchChannel(int32_t pIsOff, int32_t, int32_t pNextCh,
                     playout::SwitcherState& state) override {
    if (pIsOff == 0) state.CurSWCh = pNextCh;
  }
  void SendMidiFader(int32_t, int32_t) override {}
  void EndHidPulse(int32_t) override {}
};
class NoCommands final : public playout::CommandSchedules {
 public:
  const std::vector<foundation::ScheduleEntry>& List() const override { return list_; }
  void ReloadLocal() override {}

 private:
  std::vector<foundation::ScheduleEntry> list_;
};

// Everything but the clock and the players, for a station whose sound files and logs are under
// `folder` (ending in '/'). Messages name triggers by the default table (0 TIME, 1 SEQ, 2.. CNT)
// and the broadcast day starts at 05:00.
struct EngineStandIns {
  explicit EngineStandIns(const std::string& folder) {
    conf.TriggerString = {"TIME", "SEQ",  "CNT1", "CNT2", "CNT3",
                          "CNT4", "CNT5", "CNT6", "CNT7", "CNT8"};
    conf.HourAdjust = 18000;
    station.LocalPath = folder;
    station.LocalLogFolder = folder + "log/";
  }
  EngineStandIns(const EngineStandIns&) = delete;
  EngineStandIns& operator=(const EngineStandIns&) = delete;

  playout::PlayoutPorts Ports(platform::Clock* clock, playout::PlayerFactory* players) {
    return playout::PlayoutPorts{clock,  &log,      &conf,    &station, &commands, players, &server,
                                 &inbox, &contacts, &devices, &sync,    &notices,  &view};
  }

  foundation::ConfTables conf;
  foundation::StationSettings station;
  NullLog log;
  NullView view;
  NullNotices notices;
  AnsweringServer server;
  NoSync sync;
  OneMessage inbox;
  NoCommands commands;
  playout::NoContactSources contacts;
  NoDevices devices;
};

}  // namespace benchrig
