#pragma once

#include <cstdint>
#include <string>

#include "companion/companion_ports.h"

namespace companion {

// The program's own outside world, put together in one place: the foundation's server check,
// the window registry and its messages, the volume's free space, and the waits that let the
// window's pending work run. The window brings the program's log, the view and its two
// transfer panels.

// The station's server 1, checked by the foundation (its answer cached for a while).
class StationServerProbe final : public ServerProbe {
 public:
  int32_t CheckServerAlive() override;
};

// The per-user window registry; messages wait for the receiver up to the channel's 5 seconds.
// A message that was not delivered is written to `log`.
class RegistryWindowLink final : public WindowLink {
 public:
  explicit RegistryWindowLink(platform::LogSink& log) : log_(log) {}
  int64_t FindExact(const std::string& caption) override;
  int64_t SendCopyData(const std::string& caption, const std::string& payload) override;

 private:
  platform::LogSink& log_;
};

// statvfs of the folder made absolute.
class VolumeDiskSpace final : public DiskSpace {
 public:
  int64_t FreeBytes(const std::string& folder) override;
};

// The foundation's waits, which run the window's pending work.
class PendingWorkPauses final : public Pauses {
 public:
  void Wait(int32_t ms) override;
  void Pump() override;
};

class ProcessPorts {
 public:
  ProcessPorts(platform::LogSink& log, transfer::FileHand& fh0, transfer::FileHand& fh1,
               CompanionView& view);
  ProcessPorts(const ProcessPorts&) = delete;
  ProcessPorts& operator=(const ProcessPorts&) = delete;

  const CompanionPorts& Ports() const { return ports_; }

 private:
  StationServerProbe server_;
  RegistryWindowLink windows_;
  VolumeDiskSpace disk_;
  PendingWorkPauses pauses_;
  CompanionPorts ports_;
};

}  // namespace companion
