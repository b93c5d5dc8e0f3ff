#pragma once

#include <cstdint>
#include <memory>

#include "playout/engine_ports.h"
#include "playout/external_devices.h"
#include "playout/player_factory.h"
#include "playout/server_probe.h"

namespace playout {

// The payload the window subclassing kept for window `hWnd` (GetCopyDataText).
class CopyDataInbox final : public ScheduleInbox {
 public:
  explicit CopyDataInbox(int32_t hWnd) : hWnd_(hWnd) {}
  std::string Take() override;

 private:
  int32_t hWnd_;
};

// No contact device is open.
class NoContactSources final : public ContactSources {
 public:
  bool IsOpen(int32_t) const override { return false; }
  int32_t Poll(int32_t, SwitcherState&) override { return 0; }
};

// The foundation's time sync, which runs on a worker thread of its own.
class ServerTimeSync final : public TimeSync {
 public:
  void Start() override;
};

// The process-wide command list and its reload from the local command folder.
class ProcessCommandSchedules final : public CommandSchedules {
 public:
  const std::vector<foundation::ScheduleEntry>& List() const override;
  void ReloadLocal() override;
};

// The one place the engine's outside world is put together: the program's process-wide
// objects (clock, conf.ini tables, station settings, command list, players, server probe,
// message receipt, time sync) and the machine's external equipment as both the contact
// sources and the device link. The equipment is built closed: the window opens it at start-up
// and closes it at unload. The window brings the program's log and what it shows (view and
// notices).
class ProcessPorts {
 public:
  // `hWnd` is the main window's handle in the message table; every part writes to `log`.
  ProcessPorts(int32_t hWnd, platform::LogSink& log, ViewNotifications& view,
               MessageNotices& notices);
  ProcessPorts(const ProcessPorts&) = delete;
  ProcessPorts& operator=(const ProcessPorts&) = delete;

  const PlayoutPorts& Ports() const { return ports_; }
  ExternalDevices& Devices() { return devices_; }

 private:
  ProcessCommandSchedules commands_;
  StandardPlayerFactory players_;
  CachedServerProbe server_;
  CopyDataInbox inbox_;
  SystemDeviceSystems deviceSystems_;
  ExternalDevices devices_;
  ServerTimeSync timeSync_;
  PlayoutPorts ports_;
};

}  // namespace playout
