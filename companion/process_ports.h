#pragma once

#include <cstdint>
#include <string>

#include "companion/companion_ports.h"

namespace companion {

// The program's own outside world, put together in one place: the foundation's debug log and
// server check, the window registry and its messages, the volume's free space, and the waits
// that let the window's pending work run. The window brings the view and its two transfer
// panels.

class FoundationLogSink final : public LogSink {
 public:
  void Write(const std::string& text, int32_t kind) override;
};

// The station's server 1, checked by the foundation (its answer cached for a while).
class StationServerProbe final : public ServerProbe {
 public:
  int32_t CheckServerAlive() override;
};

// The per-user window registry; messages wait for the receiver up to the channel's 5 seconds.
class RegistryWindowLink final : public WindowLink {
 public:
  int64_t FindExact(const std::string& caption) override;
  int64_t SendCopyData(const std::string& caption, const std::string& payload) override;
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
  ProcessPorts(transfer::FileHand& fh0, transfer::FileHand& fh1, CompanionView& view);
  ProcessPorts(const ProcessPorts&) = delete;
  ProcessPorts& operator=(const ProcessPorts&) = delete;

  const CompanionPorts& Ports() const { return ports_; }

 private:
  FoundationLogSink log_;
  StationServerProbe server_;
  RegistryWindowLink windows_;
  VolumeDiskSpace disk_;
  PendingWorkPauses pauses_;
  CompanionPorts ports_;
};

}  // namespace companion
