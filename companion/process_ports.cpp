#include "companion/process_ports.h"

#include <unistd.h>

#include <optional>
#include <vector>

#include "foundation/station_settings.h"
#include "foundation/waits.h"
#include "platform/file_system.h"
#include "platform/message_channel.h"
#include "platform/native_path.h"
#include "platform/window_registry.h"

namespace companion {

int32_t StationServerProbe::CheckServerAlive() {
  foundation::CheckServerAlive();
  return foundation::Station().ServerAlive;
}

int64_t RegistryWindowLink::FindExact(const std::string& caption) {
  const auto window = platform::FindWindowExact(caption);
  return window ? window->handle : 0;
}

int64_t RegistryWindowLink::SendCopyData(const std::string& caption, const std::string& payload) {
  std::optional<platform::WindowInfo> target = platform::FindWindowExact(caption);
  if (!target) target = platform::FindWindowByPrefix(caption);
  if (!target) return 0;
  const platform::SendOutcome sent = platform::SendWindowMessage(*target, 0, payload);
  if (!sent.delivered) {
    log_.Write("SendCopyData Failed " + target->caption + " " + sent.error,
               platform::LogSeverity::kError);
    return 0;
  }
  return target->handle;
}

int64_t VolumeDiskSpace::FreeBytes(const std::string& folder) {
  std::string path = platform::ToNativePath(folder);
  if (path.empty()) return -1;
  if (path[0] != '/') {
    std::vector<char> cwd(4096);
    if (::getcwd(cwd.data(), cwd.size()) == nullptr) return -1;
    path = std::string(cwd.data()) + "/" + path;
  }
  const auto space = platform::GetDiskSpace(path);
  return space ? space->freeBytes : -1;
}

void PendingWorkPauses::Wait(int32_t ms) { foundation::WaitMilliseconds(ms, 10); }

void PendingWorkPauses::Pump() { foundation::RunPendingWork(); }

ProcessPorts::ProcessPorts(platform::LogSink& log, transfer::FileHand& fh0, transfer::FileHand& fh1,
                           CompanionView& view)
    : windows_(log) {
  ports_.clock = &platform::CurrentClock();
  ports_.log = &log;
  ports_.server = &server_;
  ports_.windows = &windows_;
  ports_.disk = &disk_;
  ports_.pauses = &pauses_;
  ports_.fh0 = &fh0;
  ports_.fh1 = &fh1;
  ports_.view = &view;
}

}  // namespace companion
